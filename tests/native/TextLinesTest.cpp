#include "catalogue/preview/TextLines.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> LinesOf(const TextLines& lines)
{
    std::vector<std::wstring> out;
    for (uint32_t i = 0; i < lines.Count(); ++i)
        out.emplace_back(lines.Line(i));
    return out;
}

} // namespace

TEST(TextLinesTest, SplitsAtEveryKindOfLineBreak)
{
    const std::wstring longLine(TextLines::kMaxLineChars * 2 + 5, L'x');
    const struct {
        std::wstring text;
        std::vector<std::wstring> lines;
        uint32_t longest;
    } cases[] = {
        {L"", {L""}, 0},
        {L"eins\r\nzwei\ndrei\rvier", {L"eins", L"zwei", L"drei", L"vier"}, 0},
        {L"a\r\r\nb\n", {L"a", L"", L"b", L""}, 0},
        {L"\n\nlang", {L"", L"", L"lang"}, 2},
        // A line too long to draw at once goes on over several lines; no character is lost.
        {L"kurz\r\n" + longLine, {L"kurz", std::wstring(TextLines::kMaxLineChars, L'x'),
                                   std::wstring(TextLines::kMaxLineChars, L'x'), L"xxxxx"}, 1},
    };
    for (const auto& c : cases) {
        TextLines lines;
        lines.Assign(c.text);
        EXPECT_EQ(LinesOf(lines), c.lines) << c.text.size();
        EXPECT_EQ(lines.LongestLine(), c.longest) << c.text.size();
        for (uint32_t i = 0; i < lines.Count(); ++i) {
            EXPECT_EQ(lines.LineOf(lines.Start(i)), i);
            const uint32_t end = lines.Start(i) + lines.Length(i);
            if (i + 1 == lines.Count() || end < lines.Start(i + 1)) {
                EXPECT_EQ(lines.LineOf(end), i) << "its line break belongs to it";
            }
        }
    }
}

TEST(TextLinesTest, ClipboardTextAndEncoding)
{
    EXPECT_EQ(ClipboardText(L"a\nb\r\nc\rd", 0, 100), L"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(ClipboardText(L"eins\r\nzwei", 2, 7), L"ns\r\nz");
    EXPECT_EQ(ClipboardText(L"eins", 3, 1), L"");
    const struct {
        std::string_view bytes;
        TextEncoding encoding;
        size_t mark;
    } cases[] = {
        {"\xEF\xBB\xBFtext", TextEncoding::Utf8, 3},
        {std::string_view("\xFF\xFEt\0", 4), TextEncoding::Utf16, 2},
        {"\xEF\xBB", TextEncoding::Ansi, 0},
        {"", TextEncoding::Ansi, 0},
    };
    for (const auto& c : cases) {
        const TextStart start = DetectTextEncoding(c.bytes);
        EXPECT_EQ(start.encoding, c.encoding);
        EXPECT_EQ(start.markSize, c.mark);
    }
}
