// The search of the disk in the search dialog, on a folder tree of the test prefix: the literal,
// case-sensitive text on the full path, shortcut files and hidden items left out, the cancel
// button, and the insert options with a search made twice.

#include "SearchFixture.h"

#include <filesystem>
#include <fstream>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

const std::wstring kBase = L"C:\\sortaro-search";

class DiskSearchTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        std::filesystem::remove_all(kBase);
        for (const wchar_t* file : {L"Post\\Brief.txt", L"Post\\brief-klein.txt", L"Post\\Brief.lnk",
                                    L"Post\\Brief-versteckt.txt", L"Geheim\\Brief.txt", L"Alt\\Brief.doc"}) {
            const std::filesystem::path path = kBase + L"\\" + file;
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path) << "x";
        }
        for (int i = 0; i < 30; ++i)
            std::ofstream(std::filesystem::path(kBase + L"\\Alt\\Brief" + std::to_wstring(i) + L".txt")) << "x";
        SetFileAttributesW((kBase + L"\\Post\\Brief-versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((kBase + L"\\Geheim").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
        SetOption(L"", L"InstallDir", kBase + L"\\Data");
        StartToMainWindow(true);
        OpenDialog();
        // An empty catalogue: the dialog offers the disk search.
        ASSERT_FALSE(dialog->CatalogueMode());
    }

    void TearDown() override
    {
        dialog.reset();
        SearchTest::TearDown();
        SetFileAttributesW((kBase + L"\\Geheim").c_str(), FILE_ATTRIBUTE_DIRECTORY);
        std::filesystem::remove_all(kBase);
    }

    // The user-defined entry with the test's folder, the text, and "Jetzt suchen".
    Texts Search(const std::wstring& text)
    {
        const int userEntry = dialog->DriveCount() + 1;
        ListView_SetItemState(Item(IDC_SEARCH_DRIVES), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(Item(IDC_SEARCH_DRIVES), userEntry, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(WindowText(Item(IDC_SEARCH_IN)), L"Benutzerdefiniert");
        SetWindowTextW(Item(IDC_SEARCH_IN), kBase.c_str());
        SetWindowTextW(Item(IDC_SEARCH_NAME), text.c_str());
        SendMessageW(Item(IDC_SEARCH_START), BM_CLICK, 0, 0);
        Flush(50);
        Texts shown = Shown();
        std::sort(shown.begin(), shown.end());
        return shown;
    }
};

TEST_F(DiskSearchTest, FindsTheLiteralTextInTheFullPathWithCase)
{
    Texts alt;
    for (int i = 0; i < 30; ++i)
        alt.push_back(kBase + L"\\Alt\\Brief" + std::to_wstring(i) + L".txt");
    alt.push_back(kBase + L"\\Alt\\Brief.doc");
    std::sort(alt.begin(), alt.end());
    Texts brief = alt;
    brief.push_back(kBase + L"\\Post\\Brief.txt");
    std::sort(brief.begin(), brief.end());
    const struct {
        const wchar_t* text;
        Texts found;
    } rows[] = {
        // No shortcut, no hidden file, nothing in a hidden folder, and case counts.
        {L"Brief", brief},
        {L"brief", {kBase + L"\\Post\\brief-klein.txt"}},
        {L"\\Alt\\", alt}, // a folder's name finds every file below it
        {L"*.txt", {}},    // no wildcards
        {L"", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Search(row.text), row.found) << row.text;
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SEARCH_START)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SEARCH_CANCEL)));
}

TEST_F(DiskSearchTest, CancelStopsTheSearchAndKeepsItsResults)
{
    // The cancel button's command waits in the queue until the search first lets messages
    // through, after its first item.
    Sleep(60);
    PostMessageW(dialog->Hwnd(), WM_COMMAND, IDC_SEARCH_CANCEL, 0);
    const Texts found = Search(L"Brief");
    EXPECT_LT(found.size(), 31u);
    EXPECT_EQ(found.size(), dialog->ResultCount());
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SEARCH_START)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SEARCH_CANCEL)));
    EXPECT_EQ(Search(L"Brief").size(), 32u); // the next search starts afresh
}

TEST_F(DiskSearchTest, InsertOptionsAndSearchingTwice)
{
    // Appending twice lists each file twice; replacing leaves one search's files; "nicht
    // einfügen" leaves the category as it is. The main list shows the category after each.
    const struct {
        int option;
        const wchar_t* text;
        size_t inCategory;
    } rows[] = {
        {IDC_SEARCH_INSERT_APPEND, L"brief", 1},   {IDC_SEARCH_INSERT_APPEND, L"brief", 2},
        {IDC_SEARCH_INSERT_NOT, L"Brief", 2},      {IDC_SEARCH_INSERT_REPLACE, L"Alt\\Brief.doc", 1},
    };
    main->Tree().Select(FindNode(L"Suchen"));
    for (const auto& row : rows) {
        if (!dialog)
            OpenDialog();
        const size_t before = SearchCategory().size();
        Search(row.text);
        EXPECT_EQ(SearchCategory().size(), before); // a search alone changes nothing there
        CloseWith(row.option);
        EXPECT_EQ(SearchCategory().size(), row.inCategory) << row.text;
        EXPECT_EQ(ListView_GetItemCount(main->List().Hwnd()), static_cast<int>(row.inCategory));
    }
    EXPECT_EQ(main->Model().Lists().Path(SearchCategory()[0]), kBase + L"\\Alt\\Brief.doc");
}

} // namespace
