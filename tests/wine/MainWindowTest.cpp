#include "AppFixture.h"
#include "catalogue/preview/PreviewPane.h"
#include "catalogue/shell/resource.h"

#include <shellapi.h>

using WineTest::GetOption;
using WineTest::WindowText;

namespace {

using MainWindowTest = AppTest;

RECT Bounds(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return rc;
}

TEST_F(MainWindowTest, LayoutAsDesigned)
{
    StartToMainWindow(true);
    EXPECT_EQ(WindowText(main->Hwnd()), L"Sortaro");
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(main->List().Hwnd())), 6);
    EXPECT_TRUE(GetWindowLongPtrW(main->List().Hwnd(), GWL_STYLE) & LVS_OWNERDATA);
    // The root is selected: its 17 child categories are the rows, and its text is the caption.
    EXPECT_EQ(ListView_GetItemCount(main->List().Hwnd()), 17);
    EXPECT_EQ(SendMessageW(main->Status().Hwnd(), SB_GETPARTS, 0, 0), 4);
    EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), L"Sortaro");
    EXPECT_FALSE(main->PreviewVisible());
    EXPECT_FALSE(IsWindowVisible(main->Preview()->Hwnd()));
    // Sixteen buttons: nine commands and seven separators.
    EXPECT_EQ(SendMessageW(main->ToolBar(), TB_BUTTONCOUNT, 0, 0), 16);
    // The designed tree: the root expanded one level, "Suchen" last.
    std::vector<std::wstring> top = ChildTexts();
    ASSERT_EQ(top.size(), 17u);
    EXPECT_EQ(top.front(), L"Archivdateien");
    EXPECT_EQ(top.back(), L"Suchen");
    HTREEITEM root = TreeView_GetRoot(main->Tree().Hwnd());
    EXPECT_EQ(TreeView_GetSelection(main->Tree().Hwnd()), root);
    EXPECT_TRUE(TreeView_GetItemState(main->Tree().Hwnd(), root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_FALSE(TreeView_GetItemState(main->Tree().Hwnd(), FindNode(L"Clip-Art"), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(ChildTexts(FindNode(L"InternetExplorer")),
              (std::vector<std::wstring>{L"Cookies", L"Temporary Internet Files"}));
}

TEST_F(MainWindowTest, CloseStoresTheLayoutAndTheNextStartRestoresIt)
{
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    SetWindowPos(main->Hwnd(), nullptr, 100, 120, 700, 500, SWP_NOZORDER);
    main->ExecuteCommand(IDM_PREVIEW);
    main->ExecuteCommand(IDM_GRID_LINES);
    EXPECT_TRUE(main->PreviewVisible());
    SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
    WineTest::Flush();
    EXPECT_TRUE(MessagePump::QuitSeen()) << "closing the main window ends the program";

    EXPECT_EQ(GetOption(L"ScreenSettings", L"left"), L"100");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"top"), L"120");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"width"), L"700");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"height"), L"500");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"raster"), L"1");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"rowselect"), L"0");
    EXPECT_EQ(GetOption(L"ScreenSettings", L"treewidthmain"), std::to_wstring(main->TreeWidth()));
    EXPECT_EQ(GetOption(L"ScreenSettings", L"treewidthpreview"), std::to_wstring(main->PreviewWidth()));
    EXPECT_EQ(GetOption(L"Vorschau", L"Enabled"), L"1");

    WineTest::SetOption(L"ScreenSettings", L"treewidthmain", L"200");
    StartToMainWindow(true);
    RECT rc = Bounds(main->Hwnd());
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 120);
    EXPECT_EQ(rc.right - rc.left, 700);
    EXPECT_EQ(rc.bottom - rc.top, 500);
    EXPECT_EQ(main->TreeWidth(), 200);
    EXPECT_TRUE(main->List().GridLines());
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(main->List().Hwnd()) & LVS_EX_GRIDLINES);
    EXPECT_TRUE(main->PreviewVisible());
}

TEST_F(MainWindowTest, WithoutSaveSettingsCloseStoresNoLayoutAndShowsNoWaitDialog)
{
    WineTest::ShowRecorder shown;
    StartToMainWindow(true);
    int before = static_cast<int>(shown.Shown().size());
    SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
    WineTest::Flush();
    EXPECT_FALSE(IsWindow(main->Hwnd()));
    EXPECT_FALSE(WineTest::KeyExists(L"ScreenSettings"));
    EXPECT_FALSE(WineTest::KeyExists(L"Vorschau"));
    EXPECT_EQ(static_cast<int>(shown.Shown().size()), before) << "no wait dialog at close";
}

TEST_F(MainWindowTest, WithTheDatabaseOptionCloseShowsTheSaveDialog)
{
    WineTest::SetOption(L"", L"database", L"1");
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring install = std::wstring(temp) + L"sortaro-close-test";
    CreateDirectoryW(install.c_str(), nullptr);
    WineTest::SetOption(L"", L"InstallDir", install);
    WineTest::ShowRecorder shown;
    StartToMainWindow(true);
    int loading = shown.IndexOf(L"Bitte warten");
    SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
    WineTest::Flush();
    int saving = -1;
    for (size_t i = loading + 1; i < shown.Shown().size(); ++i)
        if (shown.Shown()[i] == L"Bitte warten")
            saving = static_cast<int>(i);
    EXPECT_GT(saving, loading);
    EXPECT_FALSE(IsWindow(main->Hwnd()));
    // The catalogue went into the installation folder's Data.
    EXPECT_NE(GetFileAttributesW((install + L"\\Data\\46.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    SHFILEOPSTRUCTW remove{};
    std::wstring from = install + L'\0';
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationW(&remove);
}

TEST_F(MainWindowTest, EndOfTheWindowsSessionStoresLikeAClose)
{
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    SendMessageW(main->Hwnd(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main->Hwnd(), WM_ENDSESSION, TRUE, 0);
    WineTest::Flush();
    EXPECT_NE(GetOption(L"ScreenSettings", L"width"), L"<missing>");
    EXPECT_EQ(GetOption(L"Vorschau", L"Enabled"), L"0");
}

TEST_F(MainWindowTest, ExitCommandClosesTheMainWindow)
{
    StartToMainWindow(false);
    main->ExecuteCommand(IDM_EXIT);
    WineTest::Flush();
    EXPECT_FALSE(IsWindow(main->Hwnd()));
    EXPECT_TRUE(MessagePump::QuitSeen());
}

TEST_F(MainWindowTest, ColumnWidthsAreStoredWhenADividerDragEnds)
{
    StartToMainWindow(true);
    HWND list = main->List().Hwnd();
    HWND header = ListView_GetHeader(list);
    ListView_SetColumnWidth(list, 1, 222);
    NMHEADERW end{};
    end.hdr.hwndFrom = header;
    end.hdr.idFrom = GetDlgCtrlID(header);
    end.hdr.code = HDN_ENDTRACKW;
    end.iItem = 1;
    SendMessageW(list, WM_NOTIFY, end.hdr.idFrom, reinterpret_cast<LPARAM>(&end));
    WineTest::Flush();
    EXPECT_EQ(WineTest::ValueNames(L"ColumnsMain").size(), 6u) << "every column, not only the dragged one";
    EXPECT_EQ(GetOption(L"ColumnsMain", L"1"), L"222");
    EXPECT_EQ(GetOption(L"ColumnsMain", L"0"), std::to_wstring(ListView_GetColumnWidth(list, 0)));
    EXPECT_FALSE(WineTest::KeyExists(L"ScreenSettings")) << "stored even though SaveSettings is off";

    // Restored only when the layout is to be restored.
    StartToMainWindow(true);
    EXPECT_NE(ListView_GetColumnWidth(main->List().Hwnd(), 1), 222);
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    EXPECT_EQ(ListView_GetColumnWidth(main->List().Hwnd(), 1), 222);
}

TEST_F(MainWindowTest, EnglishTextsOfTheMainWindow)
{
    WineTest::SetOption(L"", L"language", L"0");
    StartToMainWindow(true);
    std::vector<std::wstring> top = ChildTexts();
    EXPECT_EQ(top.front(), L"Archiv-Files");
    EXPECT_EQ(top.back(), L"Search");
    EXPECT_NE(FindNode(L"Cursor&Symbols"), nullptr);
    EXPECT_NE(FindNode(L"Clip-Art"), nullptr) << "no English name: the German text stays";
    EXPECT_EQ(ItemText(TreeView_GetRoot(main->Tree().Hwnd())), L"Sortaro");

    struct Case {
        int menu;
        int command;
        const wchar_t* text;
    };
    const Case cases[] = {
        {IDR_LIST_MENU, IDM_PRINT, L"Drucken"},
        {IDR_LIST_MENU, IDM_PROPERTIES, L"Properties."},
        {IDR_LIST_MENU, IDM_OPEN_WITH, L"Open with..."},
        {IDR_FILE_MENU, IDM_PRINT, L"Print list"},
        {IDR_FILE_MENU, IDM_EXIT, L"End program"},
        {IDR_VIEW_MENU, IDM_SORT_NAME, L"name"},
        {IDR_VIEW_MENU, IDM_SORT_POPUP, L"Arrange Icons"},
        {IDR_VIEW_MENU, IDM_GRID_LINES, L"GridLines"},
        {IDR_LIST_BACKGROUND_MENU, IDM_SORT_NAME, L"By name"},
        {IDR_LIST_BACKGROUND_MENU, IDM_VIEW_POPUP, L"View"},
        {IDR_TREE_MENU, IDM_TREE_COLLAPSE_ALL, L"close all nodes "},
        {IDR_TREE_MENU, IDM_TREE_EDIT_ENDINGS, L"change file ending"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuText(c.menu, c.command), c.text) << "command " << c.command;

    wchar_t caption[64] = L"";
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 64;
    const wchar_t* captions[] = {L"File", L"Path", L"Type", L"Size(KB)", L"Date", L"Attributes"};
    for (int i = 0; i < 6; ++i) {
        ListView_GetColumn(main->List().Hwnd(), i, &column);
        EXPECT_EQ(std::wstring(caption), captions[i]);
    }
    EXPECT_EQ(main->Preview()->Heading(), L"Preview");
}

TEST_F(MainWindowTest, GermanMenusAsDesigned)
{
    StartToMainWindow(true);
    EXPECT_EQ(MenuText(IDR_VIEW_MENU, IDM_SORT_NAME), L"&Nach Na&men");
    EXPECT_EQ(MenuText(IDR_LIST_BACKGROUND_MENU, IDM_SORT_NAME), L"Nach &Namen");
    EXPECT_EQ(MenuText(IDR_LIST_BACKGROUND_MENU, IDM_SORT_POPUP), L"&Symbole anorden");
    EXPECT_EQ(MenuText(IDR_LIST_MENU, IDM_PRINT), L"Drucken");
    EXPECT_EQ(MenuText(IDR_FILE_MENU, IDM_PRINT), L"&Drucken");
    EXPECT_EQ(main->Preview()->Heading(), L"Vorschau       ");
}

TEST_F(MainWindowTest, ToolBarHintsFollowTheLanguage)
{
    struct Case {
        const wchar_t* language;
        int command;
        const wchar_t* hint;
    };
    const Case cases[] = {
        {L"1", IDM_SEARCH, L"Suchen"}, {L"1", IDM_CLEAN_INTERNET_FILES, L"TemporaryInternetFiles löschen"},
        {L"1", IDM_DELETE, L"Delete"}, {L"0", IDM_SEARCH, L"Search "},
        {L"0", IDM_TB_FILE, L"File"},  {L"0", IDM_CLEAN_INTERNET_FILES, L"Empty folder 'Temporary Internet Files'"},
        {L"0", IDM_INFO, L"Info"},
    };
    for (const Case& c : cases) {
        WineTest::ClearSettings();
        WineTest::SetOption(L"", L"language", c.language);
        StartToMainWindow(true);
        NMTTDISPINFOW info{};
        info.hdr.code = TTN_GETDISPINFOW;
        info.hdr.idFrom = c.command;
        info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(main->ToolBar(), TB_GETTOOLTIPS, 0, 0));
        SendMessageW(main->Hwnd(), WM_NOTIFY, c.command, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(std::wstring(info.lpszText ? info.lpszText : L"(none)"), c.hint);
    }
}

TEST_F(MainWindowTest, DropDownButtonsOpenTheirMenus)
{
    StartToMainWindow(true);
    WineTest::ShowRecorder recorder;
    recorder.CloseMenusWhenOpened(true);
    const struct {
        int button;
        int menu;
    } cases[] = {{IDM_TB_FILE, IDR_FILE_MENU}, {IDM_TB_EDIT, IDR_EDIT_MENU}, {IDM_TB_VIEW, IDR_VIEW_MENU}};
    for (const auto& c : cases) {
        // As the tool bar reports a click on a drop-down button.
        NMTOOLBARW click{};
        click.hdr.hwndFrom = main->ToolBar();
        click.hdr.idFrom = GetDlgCtrlID(main->ToolBar());
        click.hdr.code = TBN_DROPDOWN;
        click.iItem = c.button;
        SendMessageW(main->Hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        ASSERT_FALSE(recorder.MenusOpened().empty());
        EXPECT_EQ(recorder.MenusOpened().back(), main->Menu(c.menu)) << "button " << c.button;
    }
    // The keyboard way: Alt with the button's mnemonic.
    SendMessageW(main->Hwnd(), WM_COMMAND, IDM_TB_VIEW, 0);
    EXPECT_EQ(recorder.MenusOpened().back(), main->Menu(IDR_VIEW_MENU));
    // Opening a menu sets its check marks from the program's state.
    HMENU view = main->Menu(IDR_VIEW_MENU);
    EXPECT_TRUE(GetMenuState(view, IDM_VIEW_DETAILS, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(view, IDM_VIEW_LIST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(view, IDM_GRID_LINES, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MainWindowTest, TreeCommandsExpandAndCollapse)
{
    StartToMainWindow(true);
    HWND tree = main->Tree().Hwnd();
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM clipArt = FindNode(L"Clip-Art");
    main->ExecuteCommand(IDM_TREE_EXPAND_ALL);
    EXPECT_TRUE(TreeView_GetItemState(tree, clipArt, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(TreeView_GetItemState(tree, FindNode(L"InternetExplorer"), TVIS_EXPANDED) & TVIS_EXPANDED);

    main->ExecuteCommand(IDM_TREE_COLLAPSE_ALL);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_FALSE(TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED);
    // The groups below keep their state for the root's next expansion.
    TreeView_Expand(tree, root, TVE_EXPAND);
    EXPECT_TRUE(TreeView_GetItemState(tree, clipArt, TVIS_EXPANDED) & TVIS_EXPANDED);

    TreeView_SelectItem(tree, clipArt);
    main->ExecuteCommand(IDM_TREE_COLLAPSE_NODE);
    EXPECT_FALSE(TreeView_GetItemState(tree, clipArt, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(MainWindowTest, ExtensionEditorOnlyForBuiltInLeaves)
{
    WineTest::SetOption(L"UserFiles", L"Bilder", L".JPG+.PNG|Default");
    StartToMainWindow(true);
    struct Case {
        const wchar_t* node;
        bool enabled;
    };
    const Case cases[] = {
        {L"Clip-Art", false}, {L"BMP (Bitmap)", true}, {L"Temp", true},      {L"Suchen", true},
        {L"Sortaro", false},  {L"Bilder", false},      {L"Internet", false},
    };
    for (const Case& c : cases) {
        HTREEITEM item = FindNode(c.node);
        ASSERT_NE(item, nullptr) << c.node;
        TreeView_SelectItem(main->Tree().Hwnd(), item);
        EXPECT_EQ(main->IsCommandEnabled(IDM_TREE_EDIT_ENDINGS), c.enabled) << c.node;
    }
}

TEST_F(MainWindowTest, ViewCommandsCheckOneStyle)
{
    StartToMainWindow(true);
    EXPECT_TRUE(main->IsCommandChecked(IDM_VIEW_DETAILS));
    main->ExecuteCommand(IDM_VIEW_LARGE);
    EXPECT_EQ(main->List().CurrentViewStyle(), ViewStyle::LargeIcons);
    EXPECT_EQ(ListView_GetView(main->List().Hwnd()), static_cast<DWORD>(LV_VIEW_ICON));
    for (int id : {IDM_VIEW_SMALL, IDM_VIEW_LIST, IDM_VIEW_DETAILS})
        EXPECT_FALSE(main->IsCommandChecked(id));
    EXPECT_TRUE(main->IsCommandChecked(IDM_VIEW_LARGE));
    main->ExecuteCommand(IDM_ROW_SELECT);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(main->List().Hwnd()) & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(main->IsCommandChecked(IDM_ROW_SELECT));
}

} // namespace
