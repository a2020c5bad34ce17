#include "catalogue/search/CatalogueSearch.h"
#include "catalogue/search/SearchTexts.h"
#include "tests/native/TestRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Latin-1 upper-casing, as a locale would give it for these texts.
const UpperCaseTable& Upper()
{
    static const UpperCaseTable table([](wchar_t* text, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            const wchar_t c = text[i];
            if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
                text[i] = static_cast<wchar_t>(c - 0x20);
        }
    });
    return table;
}

TEST(SearchPattern, MatchesPathOrName)
{
    const struct {
        const wchar_t* pattern;
        bool matchCase;
        const wchar_t* folder;
        const wchar_t* name;
        bool found;
    } rows[] = {
        // Literal texts: anywhere in the full path, case ignored unless asked for.
        {L"brief", false, L"C:\\Post\\", L"Brief.txt", true},
        {L"brief", true, L"C:\\Post\\", L"Brief.txt", false},
        {L"Brief", true, L"C:\\Post\\", L"Brief.txt", true},
        {L"ÄRGER", false, L"C:\\Post\\", L"ärger.doc", true},
        {L"post", false, L"C:\\Post\\", L"x.txt", true},         // in the folder: every file of it
        {L"st\\bri", false, L"C:\\Post\\", L"Brief.txt", true},  // across the last backslash
        {L"st\\bri", false, L"C:\\Post\\", L"Abrief.txt", false},
        {L"c:\\post\\", false, L"C:\\Post\\", L"a", true},
        {L"Post\\Brief.txt\\", false, L"C:\\Post\\", L"Brief.txt", false},
        {L"txt.", false, L"C:\\Post\\", L"Brief.txt", false},
        {L"", false, L"C:\\Post\\", L"Brief.txt", false},
        // Wildcards: the whole name, or the whole path with a backslash in the text.
        {L"*.txt", false, L"C:\\Post\\", L"Brief.TXT", true},
        {L"*.txt", true, L"C:\\Post\\", L"Brief.TXT", false},
        {L"*.txt", false, L"C:\\Post\\", L"Brief.txt.bak", false},
        {L"b?ief*", false, L"C:\\Post\\", L"Brief.txt", true},
        {L"b?ief", false, L"C:\\Post\\", L"Brief.txt", false},
        {L"Post*", false, L"C:\\Post\\", L"Brief.txt", false}, // the folder is no part of the name
        {L"c:\\*\\*.txt", false, L"C:\\Post\\Alt\\", L"Brief.txt", true},
        {L"c:\\post\\*", false, L"C:\\Post\\Alt\\", L"Brief.txt", true},
        {L"*\\alt\\b*", false, L"C:\\Post\\Alt\\", L"Brief.txt", true},
        {L"*\\alt\\b*", false, L"C:\\Post\\", L"Brief.txt", false},
        {L"c:\\p*t", false, L"C:\\Post\\Alt\\", L"Brief.txt", true},       // a star across folder and name
        {L"c:\\post?brief.txt", false, L"C:\\Post\\", L"Brief.txt", true}, // "?" on the folder's backslash
        {L"*\\*_der_name_ist_laenger_als_32_zeichen.txt", false, L"C:\\Post\\",
         L"Ein_der_name_ist_laenger_als_32_zeichen.txt", true},
        {L"*", false, L"C:\\", L"a", true},
        {L"**a*", false, L"C:\\", L"a", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SearchPattern(row.pattern, row.matchCase, Upper()).Matches(row.folder, row.name), row.found)
            << row.pattern << " in " << row.folder << row.name;
}

TEST(SearchPattern, NarrowsOnlyALongerLiteralOfTheSameCase)
{
    const struct {
        const wchar_t* previous;
        const wchar_t* next;
        bool matchCaseNext;
        bool narrows;
    } rows[] = {
        {L"bri", L"brie", false, true}, {L"bri", L"abri", false, true},  {L"bri", L"br", false, false},
        {L"bri", L"brie", true, false}, {L"bri", L"bri*", false, false}, {L"", L"b", false, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SearchPattern(row.next, row.matchCaseNext, Upper()).Narrows(SearchPattern(row.previous, false, Upper())),
                  row.narrows)
            << row.previous << " -> " << row.next;
}

class CatalogueSearchTest : public testing::Test {
protected:
    void SetUp() override
    {
        // One file in three categories, its name stored anew in each as the database loader
        // does; a second folder with the same text (a folder scanned twice); an offline file;
        // the drive dialog's entries, which are no files.
        AddTestRecords(catalogue, 30, {{L"C:\\Post\\Brief.txt", 1, 0, 0}, {L"C:\\Post\\Notiz.txt", 2, 0, 0}});
        AddTestRecords(catalogue, 9, {{L"C:\\Post\\Brief.txt", 1, 0, 0}});
        AddTestRecords(catalogue, 46, {{L"C:\\Post\\Brief.txt", 1, 0, 0}});
        FileRecord again = catalogue[30][1];
        again.folder = catalogue.AddFolder(L"C:\\Post\\", 0);
        catalogue[12].push_back(again);
        AddTestRecords(catalogue, 12, {{L"E:\\Fotos\\Brief-Urlaub.jpg", 3, 0, 0}});
        catalogue[12].back().marks = FileRecord::kOffline;
        AddTestRecords(catalogue, 0, {{L"C:\\Briefe", 0, 0, 0}});
        index.Build(catalogue);
    }

    std::set<std::wstring> Paths(const CatalogueQuery& query) const
    {
        std::set<std::wstring> paths;
        for (uint32_t hit : query.Hits())
            EXPECT_TRUE(paths.insert(catalogue.Path(index.Record(hit))).second) << "found twice";
        return paths;
    }

    Catalogue catalogue;
    CatalogueIndex index;
};

TEST_F(CatalogueSearchTest, FindsEachFileOnceWithTheOfflineOnes)
{
    EXPECT_EQ(index.Size(), 3u);
    CatalogueQuery query(index);
    const struct {
        const wchar_t* pattern;
        std::set<std::wstring> paths;
    } rows[] = {
        {L"brief", {L"C:\\Post\\Brief.txt", L"E:\\Fotos\\Brief-Urlaub.jpg"}},
        {L"*.txt", {L"C:\\Post\\Brief.txt", L"C:\\Post\\Notiz.txt"}},
        {L"Post\\N", {L"C:\\Post\\Notiz.txt"}},
        {L"xyz", {}},
    };
    for (const auto& row : rows) {
        query.Start(SearchPattern(row.pattern, false, Upper()));
        EXPECT_TRUE(query.Step(1000));
        EXPECT_EQ(Paths(query), row.paths) << row.pattern;
    }
    query.Start(SearchPattern(L"urlaub", false, Upper()));
    query.Step(1000);
    ASSERT_EQ(query.Hits().size(), 1u);
    EXPECT_TRUE(index.Record(query.Hits()[0]).Offline());
}

TEST_F(CatalogueSearchTest, StepsAndNarrowingFindWhatOneRunFinds)
{
    // Typing "t", "tx", "txt" with one file searched per step; then the text shortened again.
    CatalogueQuery query(index);
    for (const wchar_t* text : {L"t", L"tx", L"txt", L"o", L"brief"}) {
        query.Start(SearchPattern(text, false, Upper()));
        int steps = 0;
        while (!query.Step(1))
            ++steps;
        EXPECT_LE(steps, 3);
        CatalogueQuery fresh(index);
        fresh.Start(SearchPattern(text, false, Upper()));
        fresh.Step(1000);
        EXPECT_EQ(query.Hits(), fresh.Hits()) << text;
    }
}

TEST(SearchTexts, LocalDrivesCaption)
{
    EXPECT_EQ(SearchTexts::LocalDrivesCaption(L"Local drives ", {L"System (C:)", L"Daten (D:)"}),
              L"Local drives (C:); (D:);");
    EXPECT_EQ(SearchTexts::LocalDrivesCaption(L"Lokale Datenträger ", {L"Floppy"}), L"Lokale Datenträger Floppy;");
    EXPECT_EQ(SearchTexts::LocalDrivesCaption(L"Local drives ", {}), L"Local drives ");
}

} // namespace
