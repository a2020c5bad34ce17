#include "catalogue/catalogue/CatalogueEdit.h"
#include "tests/native/TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Paths = std::vector<std::wstring>;
using namespace CatalogueEdit;

// Categories of the tests: an .MP3 is in both multimedia lists; the search results hold any file.
const int kMultimedia = 23, kMp3 = 45, kText = 30, kEmpty = 31, kSearch = 46;

Paths PathsOf(const Catalogue& catalogue, int id)
{
    Paths paths;
    for (const FileRecord& record : catalogue[id])
        paths.push_back(catalogue.Path(record));
    return paths;
}

// The disk after the operation: these paths exist, nothing else.
Exists On(std::set<std::wstring> disk)
{
    return [disk](const std::wstring& path) { return disk.count(path) != 0; };
}

void Fill(Catalogue& catalogue)
{
    AddTestRecords(catalogue, kMultimedia, {{L"C:\\Musik\\song.mp3", 4, 0, 0}, {L"C:\\Musik\\Alt\\old.mp3", 4, 0, 0}});
    AddTestRecords(catalogue, kMp3, {{L"C:\\Musik\\Alt\\old.mp3", 4, 0, 0}, {L"C:\\Musik\\song.mp3", 4, 0, 0}});
    AddTestRecords(catalogue, kSearch, {{L"C:\\Musik\\song.mp3", 4, 0, 0}, {L"C:\\Musik\\song.mp3x", 4, 0, 0}});
    AddTestRecords(catalogue, kText, {{L"D:\\song.mp3.txt", 4, 0, 0}});
}

TEST(CatalogueEdit, JoinPathPutsOneBackslashBeforeTheName)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* path;
    } cases[] = {
        {L"D:\\", L"D:\\a.txt"},       {L"D:", L"D:\\a.txt"},
        {L"D:\\x\\", L"D:\\x\\a.txt"}, {L"D:\\x", L"D:\\x\\a.txt"},
        {L"D:\\x\\\\", L"D:\\x\\a.txt"}, {L"\\\\nas\\share\\", L"\\\\nas\\share\\a.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.folder, L"a.txt"), c.path) << c.folder;
}

TEST(CatalogueEdit, ValidFileNames)
{
    for (const wchar_t* name : {L"foto", L"Brief 2", L".profile", L"a.b", L"Ärger"})
        EXPECT_TRUE(ValidFileName(name)) << name;
    for (const wchar_t* name : {L"", L" ", L"..", L"a\\b", L"a/b", L"c:", L"*", L"wer?", L"\"x\"", L"<", L"a|b", L"\t"})
        EXPECT_FALSE(ValidFileName(name)) << name;
}

TEST(CatalogueEdit, DeleteRemovesTheFileFromEveryCategoryOnlyWhenItIsGone)
{
    const struct {
        const wchar_t* path;
        bool stillThere;
        Paths multimedia, mp3, search;
    } cases[] = {
        {L"C:\\Musik\\song.mp3", false, {L"C:\\Musik\\Alt\\old.mp3"}, {L"C:\\Musik\\Alt\\old.mp3"},
         {L"C:\\Musik\\song.mp3x"}},
        {L"C:\\Musik\\song.mp3", true, {L"C:\\Musik\\song.mp3", L"C:\\Musik\\Alt\\old.mp3"},
         {L"C:\\Musik\\Alt\\old.mp3", L"C:\\Musik\\song.mp3"}, {L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x"}},
        // A folder takes the files below it along, whatever the letter case.
        {L"c:\\musik\\alt", false, {L"C:\\Musik\\song.mp3"}, {L"C:\\Musik\\song.mp3"},
         {L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Catalogue catalogue;
        Fill(catalogue);
        const Touched touched = RemoveGone(catalogue, c.path, On(c.stillThere ? std::set<std::wstring>{c.path}
                                                                                : std::set<std::wstring>{}));
        EXPECT_EQ(PathsOf(catalogue, kMultimedia), c.multimedia);
        EXPECT_EQ(PathsOf(catalogue, kMp3), c.mp3);
        EXPECT_EQ(PathsOf(catalogue, kSearch), c.search);
        EXPECT_EQ(PathsOf(catalogue, kText), Paths{L"D:\\song.mp3.txt"});
        EXPECT_EQ(touched.test(kMp3), !c.stillThere);
        EXPECT_FALSE(touched.test(kText));
    }
}

TEST(CatalogueEdit, MoveAndRenamePointEveryRecordOfTheFileAtItsNewPlace)
{
    const struct {
        const char* what;
        const wchar_t* from;
        const wchar_t* to;
        std::set<std::wstring> disk;
        Paths multimedia, search;
    } cases[] = {
        {"moved", L"C:\\Musik\\song.mp3", L"E:\\song.mp3", {L"E:\\song.mp3"},
         {L"E:\\song.mp3", L"C:\\Musik\\Alt\\old.mp3"}, {L"E:\\song.mp3", L"C:\\Musik\\song.mp3x"}},
        {"renamed", L"C:\\Musik\\song.mp3", L"C:\\Musik\\lied.mp3", {L"C:\\Musik\\lied.mp3"},
         {L"C:\\Musik\\lied.mp3", L"C:\\Musik\\Alt\\old.mp3"}, {L"C:\\Musik\\lied.mp3", L"C:\\Musik\\song.mp3x"}},
        {"letter case only", L"C:\\Musik\\song.mp3", L"C:\\Musik\\Song.mp3", {L"C:\\Musik\\Song.mp3"},
         {L"C:\\Musik\\Song.mp3", L"C:\\Musik\\Alt\\old.mp3"}, {L"C:\\Musik\\Song.mp3", L"C:\\Musik\\song.mp3x"}},
        // The shell left the file where it was: the other file at the target is not this one.
        {"not moved", L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x",
         {L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x"},
         {L"C:\\Musik\\song.mp3", L"C:\\Musik\\Alt\\old.mp3"}, {L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x"}},
        // The target was catalogued already: that record stays, the moved one goes.
        {"over a catalogued file", L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x", {L"C:\\Musik\\song.mp3x"},
         {L"C:\\Musik\\song.mp3x", L"C:\\Musik\\Alt\\old.mp3"}, {L"C:\\Musik\\song.mp3x"}},
        {"folder", L"C:\\Musik\\Alt", L"C:\\Archiv", {L"C:\\Archiv"},
         {L"C:\\Musik\\song.mp3", L"C:\\Archiv\\old.mp3"}, {L"C:\\Musik\\song.mp3", L"C:\\Musik\\song.mp3x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Catalogue catalogue;
        Fill(catalogue);
        Move(catalogue, c.from, c.to, On(c.disk));
        EXPECT_EQ(PathsOf(catalogue, kMultimedia), c.multimedia);
        EXPECT_EQ(PathsOf(catalogue, kSearch), c.search);
        // The same file in the other category, kept in its own order.
        Paths mp3 = PathsOf(catalogue, kMp3);
        std::reverse(mp3.begin(), mp3.end());
        EXPECT_EQ(mp3, c.multimedia);
    }
}

TEST(CatalogueEdit, CopyIsFiledByTheExtensionRules)
{
    ExtensionMap rules;
    AppendExtensionList(rules, L".MP3+.WAV", kMultimedia);
    AppendExtensionList(rules, L".MP3", kMp3);
    AppendExtensionList(rules, L".TXT", kText);
    const struct {
        const wchar_t* to;
        uint64_t size;
        bool exists;
        std::set<int> categories;
    } cases[] = {
        {L"D:\\copy.mp3", 4, true, {kMultimedia, kMp3}},
        {L"D:\\copy.mp3", 4, false, {}},
        {L"D:\\x\\leer.txt", 0, true, {kText, kEmpty}},
        {L"D:\\x\\plain.dat", 4, true, {}},
        // Held by both lists already (the copy went over it): not twice.
        {L"C:\\Musik\\song.mp3", 4, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        Catalogue catalogue;
        Fill(catalogue);
        FileRecord source = catalogue[kText][0];
        source.SetSize(c.size);
        source.marks = FileRecord::kOffline;
        const size_t before = catalogue.RecordCount();
        const Touched touched = AddCopy(catalogue, rules, source, c.to, On(c.exists ? std::set<std::wstring>{c.to}
                                                                                    : std::set<std::wstring>{}));
        EXPECT_EQ(catalogue.RecordCount(), before + c.categories.size());
        EXPECT_EQ(touched.count(), c.categories.size());
        for (int id : c.categories) {
            EXPECT_EQ(catalogue.Path(catalogue[id].back()), c.to) << id;
            EXPECT_EQ(catalogue[id].back().Size(), c.size);
            EXPECT_FALSE(catalogue[id].back().Offline());
        }
    }
}

} // namespace

TEST(CatalogueEdit, UpdatesFromTheDiskReachEveryCategoryButOfflineRecords)
{
    Catalogue catalogue;
    Fill(catalogue);
    // The same path on a disc that is not in its drive: another volume, another file.
    FileRecord offline;
    offline.folder = catalogue.FindOrAddFolder(L"C:\\Musik\\", catalogue.AddVolume({L"C:\\", L"", 5, 5}));
    offline.name = catalogue.StoreText(L"song.mp3");
    offline.SetSize(9);
    offline.marks = FileRecord::kOffline;
    catalogue[kText].push_back(offline);
    std::vector<size_t> removed;
    const Touched touched =
        ApplyUpdates(catalogue,
                     {{L"C:\\Musik\\song.mp3", true, {}}, {L"C:\\Musik\\Alt\\old.mp3", false, {7, 1234, 0x20}},
                      {L"C:\\Sonst\\none.mp3", true, {}}},
                     kMultimedia, &removed);
    EXPECT_EQ(PathsOf(catalogue, kMultimedia), Paths{L"C:\\Musik\\Alt\\old.mp3"});
    EXPECT_EQ(PathsOf(catalogue, kMp3), Paths{L"C:\\Musik\\Alt\\old.mp3"});
    EXPECT_EQ(PathsOf(catalogue, kSearch), Paths{L"C:\\Musik\\song.mp3x"});
    EXPECT_EQ(removed, std::vector<size_t>{0});
    for (int id : {kMultimedia, kMp3}) {
        const FileRecord& record = catalogue[id][0];
        EXPECT_EQ(record.Size(), 7u);
        EXPECT_EQ(record.writeTimeLow, 1234u);
        EXPECT_EQ(record.attributes, 0x20u);
    }
    ASSERT_EQ(catalogue[kText].size(), 2u);
    EXPECT_EQ(catalogue[kText].back().Size(), 9u);
    EXPECT_EQ(touched, Touched().set(kMultimedia).set(kMp3).set(kSearch));
}
