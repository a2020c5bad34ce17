#include "catalogue/catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Catalogue, PathsSplitAndJoinWithoutLoss)
{
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\autoexec.bat", L"C:\\", L"autoexec.bat"}, {L"C:\\Daten\\Brief.doc", L"C:\\Daten\\", L"Brief.doc"},
        {L"C:\\", L"C:\\", L""},                          {L"C:\\a\\\\b", L"C:\\a\\\\", L"b"},
        {L"\\\\server\\share\\x.txt", L"\\\\server\\share\\", L"x.txt"}, {L"name-only", L"", L"name-only"},
    };
    Catalogue catalogue;
    for (const auto& c : cases) {
        PathParts parts = SplitPath(c.path);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        FileRecord record;
        record.folder = catalogue.FindOrAddFolder(parts.folder);
        record.name = catalogue.StoreText(parts.name);
        catalogue[7].push_back(record);
        EXPECT_EQ(catalogue.Path(catalogue[7].back()), c.path);
    }
    EXPECT_EQ(catalogue.RecordCount(), std::size(cases));
}

TEST(Catalogue, LongTextsAndManyTextsStayIntact)
{
    Catalogue catalogue;
    const std::wstring deep = L"C:\\" + std::wstring(40000, L'x') + L"\\";
    uint32_t folder = catalogue.AddFolder(deep);
    std::vector<const wchar_t*> names;
    for (int i = 0; i < 20000; ++i)
        names.push_back(catalogue.StoreText(L"file" + std::to_wstring(i) + L".txt"));
    EXPECT_EQ(catalogue.Folder(folder), deep);
    EXPECT_EQ(catalogue.FindOrAddFolder(deep), folder);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(std::wstring(names[i]), L"file" + std::to_wstring(i) + L".txt");
}

TEST(Catalogue, RecordFieldsAndTypeNames)
{
    Catalogue catalogue;
    FileRecord record;
    EXPECT_FALSE(record.HasWriteTime());
    EXPECT_EQ(catalogue.TypeName(record), L"");
    record.SetSize(5ull * 1024 * 1024 * 1024 + 3);
    EXPECT_EQ(record.Size(), 5ull * 1024 * 1024 * 1024 + 3) << "4 GiB and more stays whole";
    // A type name is kept once, however many records carry it.
    record.typeName = catalogue.InternTypeName(L"Textdokument");
    EXPECT_NE(catalogue.InternTypeName(L"Bitmap"), record.typeName);
    EXPECT_EQ(catalogue.InternTypeName(L"Textdokument"), record.typeName);
    EXPECT_EQ(catalogue.TypeName(record), L"Textdokument");
    // The list shows the letters R, H, S and A in this order, nothing for the other bits.
    EXPECT_EQ(AttributeLetters(0x27), L"RHSA");
    EXPECT_EQ(AttributeLetters(0x10 | 0x80), L"");
}

TEST(Catalogue, AFileIsOneEntrySharedByItsCategories)
{
    Catalogue catalogue;
    FileRecord record;
    record.folder = catalogue.FindOrAddFolder(L"C:\\Musik\\");
    record.name = catalogue.StoreText(L"song.mp3");
    for (int id : {3, 7, 9})
        catalogue[id].push_back(record);
    // The drive dialog's rows are entries of their own.
    catalogue[0].push_back(record);
    EXPECT_EQ(catalogue.EntryCount(), 2u);
    EXPECT_EQ(catalogue.RecordCount(), 4u);
    const uint32_t entry = catalogue.FindEntry(record.folder, L"song.mp3");
    ASSERT_NE(entry, Catalogue::kNoEntry);
    // A change is seen in every category, and a category that lets the file go leaves it in
    // the others.
    catalogue[7].back().SetSize(4711);
    catalogue[7].pop_back();
    EXPECT_EQ(catalogue[3].back().Size(), 4711u);
    EXPECT_EQ(catalogue[9].Entries(), std::vector<uint32_t>{entry});
    EXPECT_EQ(catalogue[0].back().Size(), 0u);
    // A moved file is found at its new place only.
    catalogue.MoveEntry(entry, record.folder, catalogue.StoreText(L"lied.mp3"));
    EXPECT_EQ(catalogue.FindEntry(record.folder, L"song.mp3"), Catalogue::kNoEntry);
    EXPECT_EQ(catalogue.FindEntry(record.folder, L"lied.mp3"), entry);
    EXPECT_EQ(catalogue.Path(catalogue[3].back()), L"C:\\Musik\\lied.mp3");
}

TEST(Catalogue, AGuessedEntryIsTakenOnlyWhenItIsTheFilesOwn)
{
    Catalogue catalogue;
    FileRecord record;
    record.folder = catalogue.FindOrAddFolder(L"C:\\Musik\\");
    record.name = catalogue.StoreText(L"song.mp3");
    catalogue[3].push_back(record); // entry 0
    catalogue[0].push_back(record); // entry 1: a row of the drive dialog, the same path
    record.name = catalogue.StoreText(L"lied.mp3");
    catalogue[3].push_back(record); // entry 2
    constexpr uint32_t kNone = Catalogue::kNoEntry;
    const struct {
        const wchar_t* name;
        uint32_t guess;
        uint32_t found;
    } cases[] = {
        {L"song.mp3", 0, 0}, {L"song.mp3", 1, 0}, {L"song.mp3", 2, 0},   {L"song.mp3", kNone, 0},
        {L"lied.mp3", 2, 2}, {L"song.mp", 0, kNone}, {L"song.mp33", 0, kNone}, {L"neu.mp3", 2, kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(catalogue.FindEntry(record.folder, c.name, c.guess), c.found) << c.name << " " << c.guess;
}

TEST(Catalogue, EntriesAreFoundAmongManyAfterMovesAndRemovals)
{
    // The lookup table grows and closes its gaps: every file stays findable.
    Catalogue catalogue;
    const uint32_t folder = catalogue.FindOrAddFolder(L"D:\\x\\");
    std::vector<uint32_t> entries;
    for (int i = 0; i < 5000; ++i) {
        FileRecord record;
        record.folder = folder;
        entries.push_back(catalogue.AddEntry(record, std::to_wstring(i)));
    }
    for (int i = 0; i < 5000; i += 2)
        catalogue.MoveEntry(entries[i], folder, catalogue.StoreText(L"m" + std::to_wstring(i)));
    for (int i = 0; i < 5000; ++i) {
        const std::wstring now = (i % 2 ? L"" : L"m") + std::to_wstring(i);
        ASSERT_EQ(catalogue.FindEntry(folder, now), entries[i]) << i;
        if (i % 2 == 0) {
            ASSERT_EQ(catalogue.FindEntry(folder, std::to_wstring(i)), Catalogue::kNoEntry) << i;
        }
    }
}

} // namespace
