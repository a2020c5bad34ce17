// The user categories' catalogue files follow their categories' new ids when a category is
// removed in the options dialog, and a renumbering cut short is finished or undone at the next
// start.

#include "AppFixture.h"
#include "catalogue/options/DataRenumbering.h"
#include "catalogue/options/OptionsDialog.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace WineTest;
namespace fs = std::filesystem;
using Files = std::map<std::wstring, std::string>;

const std::wstring kInstall = L"C:\\sortaro-renumber";
const std::wstring kData = kInstall + L"\\Data";

void Write(const std::wstring& path, const std::string& content)
{
    std::ofstream(fs::path(path), std::ios::binary) << content;
}

// The files of a folder by name, with their contents.
Files Contents(const std::wstring& folder)
{
    Files files;
    for (const auto& entry : fs::directory_iterator(fs::path(folder))) {
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        files[entry.path().filename().wstring()] = bytes.str();
    }
    return files;
}

// Data holds the files of three user categories, 47 to 49.
Files ThreeCategories()
{
    return {{L"47.dat", "A"}, {L"47.facts", "a"}, {L"48.dat", "B"},
            {L"48.facts", "b"}, {L"49.dat", "C"}, {L"49.facts", "c"}};
}

class DataRenumberingTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        fs::remove_all(fs::path(kInstall));
        fs::create_directories(fs::path(kData));
    }
    void TearDown() override
    {
        AppTest::TearDown();
        fs::remove_all(fs::path(kInstall));
    }
    static void Fill(const Files& files)
    {
        for (const auto& file : files)
            Write(kData + L"\\" + file.first, file.second);
    }
};

// Three user categories, the middle one removed and OK pressed: the third's files and list
// become the second's, the removed one's files are put aside, nothing is lost.
TEST_F(DataRenumberingTest, RemovingTheMiddleCategoryMovesTheThirdsFiles)
{
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        Write(kInstall + L"\\" + name, "x");
    const Files paths = {{L"47.dat", "C:\\sortaro-renumber\\a.txt\r\n"},
                         {L"48.dat", "C:\\sortaro-renumber\\b.txt\r\n"},
                         {L"49.dat", "C:\\sortaro-renumber\\c.txt\r\n"}};
    Fill(paths);
    SetOption(L"", L"InstallDir", kInstall);
    SetOption(L"UserFiles", L"Alpha", L".A|Default");
    SetOption(L"UserFiles", L"Beta", L".B|Default");
    SetOption(L"UserFiles", L"Gamma", L".C|Default");
    StartToMainWindow(true);
    ASSERT_EQ(main->Model().Lists()[49].size(), 1u);

    auto dialog = main->MakeOptionsDialog();
    ASSERT_TRUE(dialog->CreateModeless(main->Hwnd()));
    ASSERT_EQ(dialog->Row(1).name, L"Beta");
    dialog->RemoveRow(1);
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    dialog->Confirm();
    Flush();

    EXPECT_EQ(Contents(kData), (Files{{L"47.dat", paths.at(L"47.dat")},
                                      {L"48.dat", paths.at(L"49.dat")},
                                      {L"48.dat.removed", paths.at(L"48.dat")}}));
    EXPECT_EQ(ValueNames(L"UserFiles"), (std::vector<std::wstring>{L"Alpha", L"Gamma"}));
    const Catalogue& lists = main->Model().Lists();
    ASSERT_EQ(lists[48].size(), 1u);
    EXPECT_EQ(lists.Path(lists[48][0]), L"C:\\sortaro-renumber\\c.txt");
    EXPECT_TRUE(lists[49].empty());
    // The tree's user nodes show the lists of their new ids.
    HTREEITEM gamma = FindNode(L"Gamma");
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(main->Tree().Category(gamma), 48);
    EXPECT_EQ(FindNode(L"Beta"), nullptr);
}

TEST_F(DataRenumberingTest, ACutShortRenumberingIsFinishedOrUndoneAtStart)
{
    const CategoryRenumbering::Origins removeBeta = {{L"Alpha", 47}, {L"Gamma", 49}};
    const std::vector<std::wstring> before = {L"Alpha", L"Beta", L"Gamma"}, after = {L"Alpha", L"Gamma"};
    const Files finished = {{L"47.dat", "A"},        {L"47.facts", "a"},        {L"48.dat", "C"},
                            {L"48.facts", "c"},      {L"48.dat.removed", "B"}, {L"48.facts.removed", "b"}};
    const struct {
        const char* what;
        bool journal;                            // the journal is kept
        std::vector<std::wstring> originalsBack; // files the first phase had not moved yet
        Files laterFiles;                        // files written after the cut
        std::vector<std::wstring> settings;      // the names the settings hold at the next start
        Files expected;
    } cases[] = {
        {"cut in the first phase", true, {L"49.dat", L"49.facts"}, {}, before, ThreeCategories()},
        {"cut before the settings were written", true, {}, {}, before, ThreeCategories()},
        {"cut after the settings were written", true, {}, {}, after, finished},
        {"finished, and 48 written anew since: the files that were to come are put aside", true, {},
         {{L"48.dat", "new"}}, after,
         {{L"47.dat", "A"}, {L"47.facts", "a"}, {L"48.dat", "new"}, {L"48.dat.removed", "B"},
          {L"48.facts.removed", "b"}, {L"49.dat.removed", "C"}, {L"49.facts.removed", "c"}}},
        {"temporary files without a journal go back; those whose name is taken are put aside", false, {},
         {{L"47.dat", "new"}}, after,
         {{L"47.dat", "new"}, {L"47.dat.removed", "A"}, {L"47.facts.removed", "a"}, {L"48.dat", "B"},
          {L"48.facts", "b"}, {L"49.dat", "C"}, {L"49.facts", "c"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(fs::path(kData));
        fs::create_directories(fs::path(kData));
        Fill(ThreeCategories());
        ASSERT_TRUE(DataRenumbering::Begin(kData, removeBeta));
        for (const std::wstring& name : c.originalsBack)
            fs::rename(fs::path(kData + L"\\" + name + L".renumbering"), fs::path(kData + L"\\" + name));
        if (!c.journal)
            fs::remove(fs::path(kData + L"\\UserCategories.journal"));
        Fill(c.laterFiles);
        DataRenumbering::Recover(kData, c.settings);
        EXPECT_EQ(Contents(kData), c.expected);
    }
}

TEST_F(DataRenumberingTest, AFileThatCannotBeMovedLeavesEverythingAsItWas)
{
    Fill(ThreeCategories());
    // Open without leave to delete: the file cannot be renamed while it is open.
    UniqueFile busy(CreateFileW((kData + L"\\49.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    ASSERT_TRUE(busy);
    EXPECT_FALSE(DataRenumbering::Begin(kData, {{L"Alpha", 47}}));
    busy.Reset();
    EXPECT_EQ(Contents(kData), ThreeCategories());
}

} // namespace
