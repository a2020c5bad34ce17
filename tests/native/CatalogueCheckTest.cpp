#include "catalogue/catalogue/CatalogueCheck.h"
#include "tests/native/TestRecords.h"

#include <gtest/gtest.h>

namespace {

using CatalogueEdit::FileFacts;
using CatalogueEdit::FileUpdate;

TEST(CheckList, TakesEachOnlineFileOfTheMarkedCategoriesOnce)
{
    Catalogue catalogue;
    AddTestRecords(catalogue, 0, {{L"C:\\Daten", 0, 0, 0x10}});
    AddTestRecords(catalogue, 23, {{L"C:\\Musik\\a.mp3", 1, 5, 0}, {L"C:\\Musik\\b.mp3", 2, 5, 0}});
    AddTestRecords(catalogue, 45, {{L"C:\\Musik\\b.mp3", 2, 5, 0}, {L"C:\\Musik\\B.mp3", 2, 5, 0}});
    AddTestRecords(catalogue, 30, {{L"E:\\cd\\x.txt", 3, 5, 0}, {L"C:\\Texte\\y.txt", 4, 5, 0}});
    catalogue[30][0].marks = FileRecord::kOffline;
    AddTestRecords(catalogue, 31, {{L"C:\\leer.txt", 0, 5, 0}});
    std::bitset<Catalogue::kListCount> marked;
    marked.set(0).set(23).set(45).set(30);
    CheckList files;
    files.Collect(catalogue, marked);
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < files.Size(); ++i)
        paths.push_back(files.Path(i));
    // Category by category, in id order.
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\Musik\\a.mp3", L"C:\\Musik\\b.mp3", L"C:\\Texte\\y.txt",
                                                 L"C:\\Musik\\B.mp3"}));
    EXPECT_EQ(files.Root(2), L"C:\\");
    EXPECT_EQ(files.Serial(2), 0u);
}

TEST(CheckList, ReportsWhatDiffersFromTheCatalogue)
{
    Catalogue catalogue;
    AddTestRecords(catalogue, 30, {{L"C:\\t\\a.txt", 10, 500, 0x20}});
    CheckList files;
    files.Collect(catalogue, std::bitset<Catalogue::kListCount>().set(30));
    ASSERT_EQ(files.Size(), 1u);
    const struct {
        const char* what;
        bool found;
        FileFacts facts;
        bool differs;
    } cases[] = {
        {"same", true, {10, 500, 0x20}, false},    {"gone", false, {}, true},
        {"size", true, {11, 500, 0x20}, true},     {"written", true, {10, 501, 0x20}, true},
        {"attributes", true, {10, 500, 0x21}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FileUpdate update;
        ASSERT_EQ(files.Compare(0, c.found ? &c.facts : nullptr, update), c.differs);
        if (!c.differs)
            continue;
        EXPECT_EQ(update.path, L"C:\\t\\a.txt");
        EXPECT_EQ(update.gone, !c.found);
        EXPECT_EQ(update.facts.size, c.found ? c.facts.size : 10u);
    }
}

} // namespace
