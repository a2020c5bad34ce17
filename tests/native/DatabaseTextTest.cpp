#include "catalogue/catalogue/DatabaseText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace DatabaseText;

namespace {

std::vector<std::wstring> ReadLines(const std::string& bytes, size_t pieceSize)
{
    Latin1CodePage ansi;
    std::vector<std::wstring> lines;
    LineReader reader(ansi, [&](const std::wstring& line) { lines.push_back(line); });
    for (size_t i = 0; i < bytes.size(); i += pieceSize)
        reader.Feed(std::string_view(bytes).substr(i, pieceSize));
    reader.Finish();
    return lines;
}

// A file in memory; counts the pieces it was handed.
struct MemorySink : ByteSink {
    std::string bytes;
    int pieces = 0;
    int restarts = 0;
    bool Write(std::string_view piece) override
    {
        bytes += piece;
        ++pieces;
        return true;
    }
    bool Restart() override
    {
        bytes.clear();
        ++restarts;
        return true;
    }
};

// Writes the paths as the catalogue does, into sink where one is given.
std::string WriteFile(const std::vector<std::wstring>& paths, MemorySink* given = nullptr)
{
    MemorySink own;
    MemorySink& sink = given ? *given : own;
    Latin1CodePage ansi;
    const WrittenText written =
        WriteLines(paths.size(), [&](size_t k) { return paths[k]; }, ansi, sink, [] { return true; });
    EXPECT_EQ(written.outcome, WriteOutcome::Written);
    EXPECT_EQ(written.size, sink.bytes.size());
    EXPECT_EQ(written.check, Crc32(0, sink.bytes.data(), sink.bytes.size()));
    return sink.bytes;
}

TEST(DatabaseText, FileNamesOfCategories)
{
    const struct {
        const wchar_t* name;
        int id; // -1: not a database file
    } cases[] = {
        {L"7.dat", 7},    {L"7.DAT", 7},   {L"30.Dat", 30},  {L"0.dat", 0},    {L"99.dat", 99}, {L"07.dat", 7},
        {L"100.dat", -1}, {L"-1.dat", -1}, {L"abc.dat", -1}, {L".dat", -1},    {L"7.txt", -1},  {L"7.dat.bak", -1},
        {L"7 .dat", -1},  {L"7.dat ", -1}, {L"", -1},        {L"1e1.dat", -1}, {L"7.datx", -1},
    };
    for (const auto& c : cases) {
        auto id = CategoryIdOfFileName(c.name);
        EXPECT_EQ(id ? *id : -1, c.id) << c.name;
    }
}

TEST(DatabaseText, AnsiWhenEveryPathFitsElseUtf8WithBom)
{
    const std::string ansi = WriteFile({L"C:\\Müll\\a.txt", L"C:\\b.txt"});
    EXPECT_EQ(ansi, "C:\\M\xFCll\\a.txt\r\nC:\\b.txt\r\n");

    const std::string utf8 = WriteFile({L"C:\\a.txt", L"C:\\Ελλάδα\\b.txt", L"C:\\😀.txt"});
    EXPECT_EQ(
        utf8,
        "\xEF\xBB\xBF"
        "C:\\a.txt\r\nC:\\\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1\\b.txt\r\nC:\\\xF0\x9F\x98\x80.txt\r\n");
    EXPECT_EQ(WriteFile({}), "") << "an empty category gives an empty file";

    // A path beyond the code page after the first pieces went out: the file starts again.
    std::vector<std::wstring> paths(3000, L"C:\\" + std::wstring(100, L'a'));
    paths.push_back(L"C:\\Ελλάδα");
    MemorySink sink;
    const std::string again = WriteFile(paths, &sink);
    EXPECT_EQ(again.compare(0, 3, kUtf8Bom), 0);
    EXPECT_EQ(ReadLines(again, 4096), paths);
    EXPECT_EQ(sink.restarts, 1);
    EXPECT_EQ(sink.pieces, 3) << "one ANSI piece went out before the restart";
}

TEST(DatabaseText, Crc32OfKnownBytes)
{
    EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(Crc32(0, "1234", 4), "56789", 5), 0xCBF43926u) << "continued";
    EXPECT_EQ(Crc32(0, "", 0), 0u);
}

TEST(DatabaseText, WrittenLinesReadBackWholeInAnyPieces)
{
    const std::vector<std::vector<std::wstring>> files = {
        {L"C:\\Müll\\a.txt", L"C:\\b.txt"},
        {L"C:\\Ελλάδα\\b.txt", L"C:\\😀.txt", L"D:\\x"},
        {L"C:\\" + std::wstring(6000, L'd') + L"\\long name.txt", L"C:\\short"}, // longer than any fixed buffer
        {L"C:\\same.txt", L"C:\\same.txt"},
    };
    for (const auto& paths : files) {
        const std::string bytes = WriteFile(paths);
        for (size_t piece : {size_t(1), size_t(2), size_t(3), size_t(7), bytes.size() + 1})
            EXPECT_EQ(ReadLines(bytes, piece), paths) << "piece size " << piece;
    }
}

TEST(DatabaseText, ReaderToleratesOtherLineBreaksEmptyLinesAndJunk)
{
    const struct {
        std::string bytes;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"", {}},
        {"\r\n\r\n\n", {}},
        {"C:\\a\nC:\\b\rC:\\c\r\nC:\\d", {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB", {L"\xEF\xBB"}}, // too short for a byte order mark: ANSI text
        {"\xEF\xBB\xBF\xFF\xFEx\r\n", {L"\xFFFD\xFFFDx"}},
        // UTF-8 cut short, overlong, a surrogate, beyond U+10FFFF: one mark per byte not taken.
        {"\xEF\xBB\xBF\xC3\r\n\xC0\xAF\r\n\xED\xA0\x80\r\n\xF4\x90\x80\x80",
         {L"\xFFFD", L"\xFFFD\xFFFD", L"\xFFFD\xFFFD\xFFFD", L"\xFFFD\xFFFD\xFFFD\xFFFD"}},
        {std::string("a\0b\r\n", 5), {std::wstring(L"a\0b", 3)}},
    };
    for (const auto& c : cases)
        for (size_t piece : {size_t(1), size_t(4096)})
            EXPECT_EQ(ReadLines(c.bytes, piece), c.lines);
}

} // namespace
