#include "PrintLayout.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// All positions are whole millimetres; working in them keeps the 0.3 cm line steps
// exact, where sums of 0.3 in floating point fall just below a whole pixel now and then.
constexpr int kLeftMm = 10;
constexpr int kColumnMm[] = {100, 134, 158, 186}; // type, size, date, attributes
constexpr int kHeadingsMm = 20;
constexpr int kFirstLineMm = 25;
constexpr int kLineStepMm = 3;
// Lines end 3 cm above the page's lower edge.
constexpr int kBottomMarginCm = 3;
constexpr int64_t kLongestPageCm = 10000;

constexpr PrintFont kTitleFont{14, true};
constexpr PrintFont kSmallFont{8, false};
constexpr PrintFont kProgramFont{12, true};
constexpr PrintFont kHeadingFont{8, true};

// Whole pixels per centimetre: the truncated dots per inch / 2.54, exactly.
int PixelsPerCentimetre(int dotsPerInch)
{
    return static_cast<int>(static_cast<int64_t>(dotsPerInch) * 50 / 127);
}

} // namespace

std::wstring CutText(std::wstring_view text, size_t length)
{
    if (text.size() <= length)
        return std::wstring(text);
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    return std::wstring(text.substr(0, length));
}

PrintLayout::PrintLayout(const PrintDevice& device, PrintTexts texts) : m_texts(std::move(texts))
{
    m_usable = device.dotsPerInchX > 0 && device.dotsPerInchY > 0 && device.pageHeight > 0;
    if (!m_usable)
        return;
    m_pixelsPerCentimetreX = PixelsPerCentimetre(device.dotsPerInchX);
    m_pixelsPerCentimetreY = PixelsPerCentimetre(device.dotsPerInchY);
    m_dotsPerInchY = device.dotsPerInchY;
    // The height in whole millimetres, then in whole centimetres.
    const int64_t millimetres =
        static_cast<int64_t>(device.pageHeight) * 254 / (static_cast<int64_t>(device.dotsPerInchY) * 10);
    // Beyond any paper (a driver's nonsense): kept in range of the pixel arithmetic.
    m_pageCentimetres = static_cast<int>(std::min<int64_t>(millimetres / 10, kLongestPageCm));
    // The lines n with 2.5 + 0.3 n cm above the bottom margin: 79 on A4 (29 cm).
    const int64_t room = (static_cast<int64_t>(m_pageCentimetres) - kBottomMarginCm) * 10 - kFirstLineMm;
    // A page with room for no line at all still takes one per page: counting none, every row
    // would be followed by a page of headings.
    m_linesPerPage = room > 0 ? static_cast<int>((room + kLineStepMm - 1) / kLineStepMm) : 1;
}

void PrintLayout::Add(std::vector<PrintedText>& page, PrintFont font, int xMm, int yMm, std::wstring text) const
{
    if (!text.empty())
        page.push_back({font, X(xMm), Y(yMm), std::move(text)});
}

std::vector<PrintedText> PrintLayout::Page(int page, const ListRows& rows) const
{
    std::vector<PrintedText> texts;
    if (!m_usable || page < 0 || page >= PageCount(rows.count))
        return texts;
    Add(texts, kTitleFont, 10, 10, m_texts.title);
    Add(texts, kSmallFont, 65, 12, m_texts.madeBy);
    Add(texts, kProgramFont, 87, 10, m_texts.program);
    Add(texts, kSmallFont, 140, 12, m_texts.page + std::to_wstring(page + 1) + L")");
    Add(texts, kHeadingFont, kLeftMm, kHeadingsMm, m_texts.file);
    for (size_t i = 0; i < m_texts.columns.size(); ++i)
        Add(texts, kHeadingFont, kColumnMm[i], kHeadingsMm, m_texts.columns[i]);
    const size_t first = static_cast<size_t>(page) * static_cast<size_t>(m_linesPerPage);
    for (size_t row = first; row < rows.count && row < first + static_cast<size_t>(m_linesPerPage); ++row) {
        const RowTexts shown = rows.at(row);
        const int y = kFirstLineMm + kLineStepMm * static_cast<int>(row - first);
        Add(texts, kSmallFont, kLeftMm, y, CutText(shown[1], kPathLength));
        Add(texts, kSmallFont, kColumnMm[0], y, CutText(shown[2], kTypeLength));
        for (int column = 3; column < 6; ++column)
            Add(texts, kSmallFont, kColumnMm[column - 2], y, shown[column]);
    }
    return texts;
}
