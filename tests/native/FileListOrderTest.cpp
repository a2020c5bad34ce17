#include "catalogue/filelist/FileListOrder.h"
#include "TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// ASCII letters and the German umlauts, the way a German locale upper-cases them.
void GermanUpper(wchar_t* text, size_t length)
{
    for (wchar_t* c = text; c < text + length; ++c)
        if ((*c >= L'a' && *c <= L'z') || *c == L'\x00E4' || *c == L'\x00F6' || *c == L'\x00FC')
            *c = static_cast<wchar_t>(*c - 32);
}

const UpperCaseTable& Upper()
{
    static const UpperCaseTable upper(GermanUpper);
    return upper;
}

// A category with the entries in this order.
struct Fixture {
    Catalogue catalogue;
    Catalogue::List& list = catalogue[5];

    explicit Fixture(const std::vector<TestRecord>& entries) { AddTestRecords(catalogue, 5, entries); }

    std::vector<std::wstring> Paths() const
    {
        std::vector<std::wstring> paths;
        for (const FileRecord& record : list)
            paths.push_back(catalogue.Path(record));
        return paths;
    }
};

TEST(FileListOrder, SizeColumnRoundsHalfAwayFromZero)
{
    const std::pair<uint64_t, const wchar_t*> sizes[] = {
        {511, L"0"}, {512, L"1"}, {1535, L"1"}, {1536, L"2"}, {1048576, L"1024"}, {(5ull << 30) + 511, L"5242880"},
        {~0ull, L"18014398509481984"},
    };
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(KilobyteText(bytes), text) << bytes;
}

TEST(FileListOrder, MegabytesWithThreeDecimalsAndTheLocalesSeparator)
{
    EXPECT_EQ(ThreeDecimals(1234.5, L"."), L"1234.500");
    EXPECT_EQ(ThreeDecimals(0.0004999, L"."), L"0.000");
    EXPECT_EQ(ThreeDecimals(2.0, L""), L"2000");
}

TEST(FileListOrder, TextsCompareByUpperCasedCodeUnits)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } cases[] = {
        {L"abc", L"ABC", 0}, {L"", L"", 0},    {L"", L"a", -1},
        {L"\x00E4rger", L"\x00C4RGER", 0},        // the locale's upper-casing, not ASCII's only
        {L"a", L"ab", -1},                        // a text that starts the other is the smaller
        {L"_", L"a", 1},                          // '_' lies after the upper-case letters
        {L"\x00C4", L"Z", 1},                     // code units, not the dictionary
        {L"a\xD83D\xDE00", L"A\xD83D\xDE01", -1}, // surrogate halves stay as they are
    };
    for (const auto& c : cases) {
        const int order = CompareUpper(c.a, c.b, Upper());
        EXPECT_EQ((order > 0) - (order < 0), c.expected) << c.a << L" / " << c.b;
        const int reverse = CompareUpper(c.b, c.a, Upper());
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.expected) << c.a << L" / " << c.b;
    }
}

const std::vector<TestRecord> kSample = {
    // path, size, write time, attributes, type
    {L"C:\\b\\Zebra.txt", 1536, 300, 0x20, L"Textdokument"},
    {L"C:\\a\\apfel.doc", 511, 100, 0x01 | 0x20, L"Word"},
    {L"C:\\a\\Birne.txt", 4096, 0, 0x00, L"textdokument"},
    {L"C:\\c\\\x00C4rger.bmp", 0, 200, 0x02, L""},
};

TEST(FileListOrder, EveryKeyInBothDirections)
{
    const wchar_t* zebra = L"C:\\b\\Zebra.txt";
    const wchar_t* apfel = L"C:\\a\\apfel.doc";
    const wchar_t* birne = L"C:\\a\\Birne.txt";
    const wchar_t* aerger = L"C:\\c\\\x00C4rger.bmp";
    const struct {
        SortKey key;
        bool flag;
        std::vector<std::wstring> order;
    } cases[] = {
        // Names run from A with the flag clear; the umlaut's code lies after Z.
        {SortKey::Name, false, {apfel, birne, zebra, aerger}},
        {SortKey::Name, true, {aerger, zebra, birne, apfel}},
        // Every other key runs from the largest, newest or last with the flag clear.
        {SortKey::Path, false, {aerger, zebra, birne, apfel}},
        {SortKey::Path, true, {apfel, birne, zebra, aerger}},
        {SortKey::Size, false, {birne, zebra, apfel, aerger}},
        {SortKey::Size, true, {aerger, apfel, zebra, birne}},
        // No date is the oldest.
        {SortKey::Date, false, {zebra, aerger, apfel, birne}},
        {SortKey::Date, true, {birne, apfel, aerger, zebra}},
        // Types differing in case are equal and keep the order they had, in both directions; the
        // empty type is the least.
        {SortKey::Type, false, {apfel, zebra, birne, aerger}},
        {SortKey::Type, true, {aerger, zebra, birne, apfel}},
        // Letters: "A" > "H" > "RA" > "" in code units, largest first.
        {SortKey::Attributes, false, {apfel, aerger, zebra, birne}},
        {SortKey::Attributes, true, {birne, zebra, aerger, apfel}},
    };
    for (const auto& c : cases) {
        Fixture f(kSample);
        SortRecords(f.catalogue, f.list, c.key, c.flag, Upper());
        EXPECT_EQ(f.Paths(), c.order) << "key " << static_cast<int>(c.key) << " flag " << c.flag;
    }
}

TEST(FileListOrder, PathOrderIsTheOrderOfTheWholePathTexts)
{
    // Folders that start one another and names that run on like folders, at random: the order
    // of the split records must be that of their joined paths.
    const wchar_t* pieces[] = {L"a", L"A", L"ab", L"b", L"\\", L"a\\", L"_", L"\x00E4", L"z"};
    std::mt19937 random(11);
    std::vector<TestRecord> entries;
    std::vector<std::wstring> texts;
    for (int i = 0; i < 300; ++i) {
        std::wstring folder = L"C:\\";
        for (int n = random() % 4; n > 0; --n)
            folder += std::wstring(pieces[random() % std::size(pieces)]) + L"\\";
        std::wstring name;
        for (int n = 1 + random() % 3; n > 0; --n)
            name += pieces[random() % 4];
        texts.push_back(folder + name);
    }
    for (const std::wstring& text : texts)
        entries.push_back({text.c_str(), 0, 0, 0, L""});
    Fixture f(entries);
    RecordOrder order(f.catalogue, SortKey::Path, true, Upper());
    for (size_t i = 0; i < f.list.size(); ++i)
        for (size_t j = 0; j < f.list.size(); j += 7) {
            const int expected = CompareUpper(texts[i], texts[j], Upper());
            const int got = order.Compare(f.list[i], f.list[j]);
            ASSERT_EQ((got > 0) - (got < 0), (expected > 0) - (expected < 0)) << texts[i] << L" / " << texts[j];
        }
}

TEST(FileListOrder, KeyedSortKeepsTheComparisonsOrderAndTheEarlierOfEqualRows)
{
    // Enough rows for every way the sort takes (insertion and radix passes), texts that
    // agree beyond 16 and 32 units and differ only there or in letter case, units that fold
    // (the umlaut) and units beyond a byte, and many equal sizes, dates, types and attributes.
    const wchar_t* pieces[] = {L"a", L"A", L"b", L"_", L"\x00E4", L"\x00C4", L"\x0100", L"\x0101", L"0123456789abcdef"};
    const wchar_t* types[] = {L"", L"Text", L"TEXT", L"Bild"};
    std::mt19937 random(5);
    std::vector<std::wstring> texts;
    std::vector<TestRecord> entries;
    for (int i = 0; i < 3000; ++i) {
        std::wstring path = L"C:\\";
        for (int n = random() % 3; n > 0; --n)
            path += std::wstring(pieces[random() % std::size(pieces)]) + L"\\";
        for (int n = 1 + random() % 4; n > 0; --n)
            path += pieces[random() % std::size(pieces)];
        // Each file once: equal rows are files whose paths differ in letter case only.
        if (std::find(texts.begin(), texts.end(), path) == texts.end())
            texts.push_back(path);
    }
    for (const std::wstring& text : texts)
        entries.push_back({text.c_str(), random() % 4 * 1000ull, random() % 3 * 10000000ull,
                           static_cast<uint32_t>(random() % 2 ? 0x20 : 0x21), types[random() % std::size(types)]});
    for (int key = 0; key < kSortKeyCount; ++key)
        for (bool flag : {false, true}) {
            SCOPED_TRACE(testing::Message() << "key " << key << " flag " << flag);
            // The list's order differs from the order the records were made in.
            Fixture f(entries);
            std::shuffle(f.list.Entries().begin(), f.list.Entries().end(), random);
            const std::vector<uint32_t> before = f.list.Entries();
            SortRecords(f.catalogue, f.list, static_cast<SortKey>(key), flag, Upper());
            const std::vector<uint32_t>& after = f.list.Entries();
            ASSERT_TRUE(std::is_permutation(after.begin(), after.end(), before.begin()));
            RecordOrder order(f.catalogue, static_cast<SortKey>(key), flag, Upper());
            auto place = [&](uint32_t entry) { return std::find(before.begin(), before.end(), entry) - before.begin(); };
            for (size_t i = 1; i < after.size(); ++i) {
                const int compared = order.Compare(f.catalogue.Entry(after[i - 1]), f.catalogue.Entry(after[i]));
                ASSERT_LE(compared, 0) << testing::PrintToString(f.catalogue.Path(f.catalogue.Entry(after[i])));
                if (compared == 0) {
                    ASSERT_LT(place(after[i - 1]), place(after[i])) << i;
                }
            }
        }
}

TEST(FileListOrder, ListSumsCountEachRowOnceWhateverTheOrder)
{
    Fixture f({{L"C:\\a", 1, 0, 0}, {L"C:\\b", 20, 0, 0}, {L"C:\\c", 300, 0, 0}, {L"C:\\d", 4000, 0, 0}});
    std::vector<uint32_t>& entries = f.list.Entries();
    f.catalogue.Entry(entries[2]).marks = FileRecord::kOffline;
    std::reverse(entries.begin(), entries.end());
    entries.erase(entries.begin()); // d
    entries.push_back(entries[0]);  // c twice
    const ListSums sums = SumList(f.catalogue, f.list);
    EXPECT_EQ(sums.bytes, 300u + 20 + 1 + 300);
    EXPECT_TRUE(sums.anyOffline);
    entries.pop_back();
    entries.erase(entries.begin());
    EXPECT_FALSE(SumList(f.catalogue, f.list).anyOffline);
}

} // namespace
