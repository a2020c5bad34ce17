#pragma once
// The pages of the printed file list: which text goes where on which page, in the pixels of a
// device known by its resolutions and page height. Positions are given in centimetres from
// the top left corner of the printable area. Portable: ListPrinter draws what this places.

#include "ListRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PrintDevice {
    int dotsPerInchX = 0; // LOGPIXELSX
    int dotsPerInchY = 0; // LOGPIXELSY
    int pageHeight = 0;   // PHYSICALHEIGHT, in device pixels
};

// "MS Sans Serif" in every size.
struct PrintFont {
    int points = 8;
    bool bold = false;
    bool operator==(const PrintFont& other) const { return points == other.points && bold == other.bold; }
};

struct PrintedText {
    PrintFont font;
    int x = 0; // device pixels
    int y = 0;
    std::wstring text;
    bool operator==(const PrintedText& other) const
    {
        return font == other.font && x == other.x && y == other.y && text == other.text;
    }
};

// The texts of the page header and of the column headings, in the interface language.
struct PrintTexts {
    std::wstring title;                  // "Dateiinformationen"
    std::wstring madeBy;                 // "von"
    std::wstring program;                // "Sortaro"
    std::wstring page;                   // "(Seite ": the number and ")" follow
    std::wstring file;                   // heading of the path column
    std::array<std::wstring, 4> columns; // captions of the type, size, date and attribute columns
};

class PrintLayout {
public:
    static constexpr size_t kPathLength = 52;
    static constexpr size_t kTypeLength = 22;

    PrintLayout(const PrintDevice& device, PrintTexts texts);
    // False when the device gave no resolution or no page height: nothing can be placed.
    bool Usable() const { return m_usable; }
    // The page height in whole centimetres.
    int PageCentimetres() const { return m_pageCentimetres; }
    int LinesPerPage() const { return m_linesPerPage; }
    // A font's character height in pixels of the vertical resolution.
    int FontPixels(PrintFont font) const
    {
        return static_cast<int>((static_cast<int64_t>(font.points) * m_dotsPerInchY + 36) / 72);
    }
    // A page follows every full page, even the last: a job whose last page is full ends with a
    // page holding only the headings. No row at all still makes one page.
    int PageCount(size_t rows) const { return static_cast<int>(rows / static_cast<size_t>(m_linesPerPage)) + 1; }
    // The texts of page (from 0) of a job printing rows, in drawing order; empty texts are left
    // out.
    std::vector<PrintedText> Page(int page, const ListRows& rows) const;

private:
    // Millimetres to device pixels, through whole pixels per centimetre.
    int X(int millimetres) const { return Pixels(m_pixelsPerCentimetreX, millimetres); }
    int Y(int millimetres) const { return Pixels(m_pixelsPerCentimetreY, millimetres); }
    static int Pixels(int perCentimetre, int millimetres)
    {
        return static_cast<int>(static_cast<int64_t>(perCentimetre) * millimetres / 10);
    }
    void Add(std::vector<PrintedText>& page, PrintFont font, int xMm, int yMm, std::wstring text) const;

    PrintTexts m_texts;
    bool m_usable = false;
    int m_dotsPerInchY = 0;
    int m_pixelsPerCentimetreX = 0;
    int m_pixelsPerCentimetreY = 0;
    int m_pageCentimetres = 0;
    int m_linesPerPage = 1;
};

// The first length characters of text; a character of two UTF-16 units is not split.
std::wstring CutText(std::wstring_view text, size_t length);
