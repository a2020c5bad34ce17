// The catalogue search in the search dialog: the hits follow the typing, the case box, offline
// files are found, and the tool button's command opens the dialog on the Search node and puts
// the hits into it when the dialog closes.

#include "SearchFixture.h"
#include "catalogue/shell/resource.h"
#include "tests/native/TestRecords.h"

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

class CatalogueSearchDialogTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        SetOption(L"", L"InstallDir", L"C:\\sortaro-no-catalogue");
        StartToMainWindow(true);
        // "Brief.txt" in two categories; a file of a disc not inserted.
        Catalogue& catalogue = main->Model().Lists();
        AddTestRecords(catalogue, 30, {{L"C:\\Post\\Brief.txt", 10, 0, 0}, {L"C:\\Post\\Notiz.txt", 20, 0, 0}});
        AddTestRecords(catalogue, 9, {{L"C:\\Post\\Brief.txt", 10, 0, 0}});
        AddTestRecords(catalogue, 12, {{L"E:\\Fotos\\Briefmarke.jpg", 30, 0, 0}});
        catalogue[12].back().marks = FileRecord::kOffline;
    }

    void Type(const wchar_t* text)
    {
        SetWindowTextW(Item(IDC_SEARCH_NAME), text);
        Flush(150);
    }
};

TEST_F(CatalogueSearchDialogTest, HitsFollowTheTyping)
{
    OpenDialog();
    ASSERT_TRUE(dialog->CatalogueMode());
    const struct {
        const wchar_t* text;
        bool matchCase;
        Texts shown;
    } rows[] = {
        {L"brief", false, {L"C:\\Post\\Brief.txt", L"E:\\Fotos\\Briefmarke.jpg"}},
        {L"briefm", false, {L"E:\\Fotos\\Briefmarke.jpg"}},
        {L"briefm", true, {}},
        {L"*\\Post\\*.txt", true, {L"C:\\Post\\Brief.txt", L"C:\\Post\\Notiz.txt"}},
        {L"", true, {}},
    };
    for (const auto& row : rows) {
        if (dialog->MatchCase() != row.matchCase)
            SendMessageW(Item(IDC_SEARCH_MATCH_CASE), BM_CLICK, 0, 0);
        Type(row.text);
        EXPECT_EQ(Shown(), row.shown) << row.text;
        EXPECT_EQ(WindowText(Item(IDC_SEARCH_STATUS)), std::to_wstring(row.shown.size()));
    }
    Type(L"marke");
    EXPECT_EQ(ListTexts(Item(IDC_SEARCH_RESULTS), 0), Texts{L"Briefmarke.jpg"});
    EXPECT_TRUE(dialog->ResultAt(0).Offline());
}

// Runs in the dialog's modal loop: types, then closes the dialog once the hits are shown.
int g_shownRows = -1;
void CALLBACK DriveModalDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND found = FindWindowW(L"#32770", L"Suchen nach Dateien");
    if (!found)
        return;
    HWND name = GetDlgItem(found, IDC_SEARCH_NAME);
    if (WindowText(name).empty()) {
        SetWindowTextW(name, L"brief");
        return;
    }
    g_shownRows = ListView_GetItemCount(GetDlgItem(found, IDC_SEARCH_RESULTS));
    KillTimer(nullptr, timer);
    PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(CatalogueSearchDialogTest, ToolButtonOpensTheDialogAndInsertsIntoSearch)
{
    main->Tree().SelectRoot();
    Flush(50);
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, DriveModalDialog);
    main->ExecuteCommand(IDM_SEARCH);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_shownRows, 2);
    EXPECT_EQ(TreeItemText(Tree(), main->Tree().Selected()), L"Suchen");
    EXPECT_EQ(SearchCategory().size(), 2u);
    EXPECT_EQ(ListTexts(main->List().Hwnd(), 1), (Texts{L"C:\\Post\\Brief.txt", L"E:\\Fotos\\Briefmarke.jpg"}));
}

} // namespace
