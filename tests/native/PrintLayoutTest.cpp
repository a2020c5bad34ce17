#include "catalogue/filelist/PrintLayout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// How a failure shows a placed text (found by argument-dependent lookup, so in its namespace).
static void PrintTo(const PrintedText& t, std::ostream* os)
{
    *os << t.font.points << (t.font.bold ? "b" : "") << " (" << t.x << "," << t.y << ") "
        << testing::PrintToString(t.text);
}

namespace {

const PrintTexts kGerman{L"Dateiinformationen",
                         L"von",
                         L"Sortaro",
                         L"(Seite ",
                         L"Datei",
                         {L"Typ", L"Groesse(KB)", L"Geändert am", L"Attribute"}};

// n rows; the path of row k ends in its number, the type is long.
ListRows Rows(size_t n)
{
    return {n, [](size_t k) {
                return RowTexts{L"name",
                                L"C:\\Ordner\\" + std::to_wstring(k) +
                                    L"\\Ein sehr langer Dateiname, der nicht passt.txt",
                                L"Eine sehr lange Typbezeichnung",
                                L"12",
                                L"1.2.2001",
                                L"RA"};
            }};
}

// A4 at 600 by 300 dots per inch: 297 mm high, 236 pixels per centimetre across, 118 down.
const PrintDevice kA4Wide{600, 300, 3508};

TEST(PrintLayout, LinesAndPagesFollowThePageHeight)
{
    const struct {
        PrintDevice device;
        int centimetres;
        int lines;
        size_t rows;
        int pages;
    } cases[] = {
        {{600, 600, 7016}, 29, 79, 0, 1},                           // no row: the headings alone
        {kA4Wide, 29, 79, 78, 1},         {kA4Wide, 29, 79, 79, 2}, // the last line filled: a page of headings follows
        {kA4Wide, 29, 79, 159, 3},        {{300, 300, 3300}, 27, 72, 72, 2}, // Letter: 279.4 mm
        {{96, 96, 190}, 5, 1, 2, 3},                                         // no room for a line: still one per page
    };
    for (const auto& c : cases) {
        const PrintLayout layout(c.device, kGerman);
        SCOPED_TRACE(testing::Message() << c.device.dotsPerInchY << " dpi, height " << c.device.pageHeight);
        ASSERT_TRUE(layout.Usable());
        EXPECT_EQ(layout.PageCentimetres(), c.centimetres);
        EXPECT_EQ(layout.LinesPerPage(), c.lines);
        EXPECT_EQ(layout.PageCount(c.rows), c.pages) << c.rows << " rows";
        EXPECT_FALSE(layout.Page(c.pages - 1, Rows(c.rows)).empty());
        EXPECT_TRUE(layout.Page(c.pages, Rows(c.rows)).empty()) << "no page beyond the last";
    }
    for (const PrintDevice& none : {PrintDevice{0, 300, 3508}, PrintDevice{300, 0, 3508}, PrintDevice{300, 300, 0}})
        EXPECT_FALSE(PrintLayout(none, kGerman).Usable());
}

TEST(PrintLayout, PageTextsUseEachResolutionForItsDirection)
{
    const PrintLayout layout(kA4Wide, kGerman);
    // 80 rows: the second page holds the last one, on its first line.
    const std::vector<PrintedText> expected = {
        {{14, true}, 236, 118, L"Dateiinformationen"},
        {{8, false}, 1534, 141, L"von"},
        {{12, true}, 2053, 118, L"Sortaro"},
        {{8, false}, 3304, 141, L"(Seite 2)"},
        {{8, true}, 236, 236, L"Datei"},
        {{8, true}, 2360, 236, L"Typ"},
        {{8, true}, 3162, 236, L"Groesse(KB)"},
        {{8, true}, 3728, 236, L"Geändert am"},
        {{8, true}, 4389, 236, L"Attribute"},
        {{8, false}, 236, 295, L"C:\\Ordner\\79\\Ein sehr langer Dateiname, der nicht pa"}, // 52 characters
        {{8, false}, 2360, 295, L"Eine sehr lange Typbez"},
        {{8, false}, 3162, 295, L"12"},
        {{8, false}, 3728, 295, L"1.2.2001"},
        {{8, false}, 4389, 295, L"RA"},
    };
    EXPECT_EQ(layout.Page(1, Rows(80)), expected);
    EXPECT_EQ(layout.FontPixels({8, false}), 33);
    EXPECT_EQ(layout.FontPixels({14, true}), 58);

    // Line n at 2.5 + 0.3 n cm: exact where the sum of tenths in floating point is not.
    const struct {
        int dotsPerInch;
        size_t line;
        int y;
    } lines[] = {{300, 78, 3056}, {254, 20, 850}, {96, 1, 103}};
    for (const auto& l : lines) {
        const PrintLayout tall({l.dotsPerInch, l.dotsPerInch, 100 * l.dotsPerInch}, kGerman);
        EXPECT_EQ(tall.Page(0, Rows(l.line + 1)).back().y, l.y) << l.dotsPerInch << " dpi, line " << l.line;
    }
}

TEST(PrintLayout, CutsKeepCharactersWhole)
{
    const std::wstring smile{wchar_t(0xD83D), wchar_t(0xDE00)};
    const struct {
        std::wstring text;
        size_t length;
        std::wstring cut;
    } cases[] = {
        {L"abc", 3, L"abc"},
        {L"abcd", 3, L"abc"},
        {L"ab" + smile, 3, L"ab"}, // the pair's first half would end the text
        {L"a" + smile + L"b", 3, L"a" + smile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutText(c.text, c.length), c.cut) << testing::PrintToString(c.text);
}

} // namespace
