// The main window as a frame: its layout and designed tree, the settings it stores at the end
// and restores at the next start, its texts in both languages, the tool bar and tree commands.

#include "AppFixture.h"
#include "catalogue/preview/PreviewPane.h"
#include "catalogue/shell/resource.h"

namespace {

using namespace WineTest;
using MainWindowTest = AppTest;

TEST_F(MainWindowTest, LayoutAndTheTreeAsDesigned)
{
    StartToMainWindow(true);
    EXPECT_EQ(WindowText(main->Hwnd()), L"Sortaro");
    // The root is selected: its 17 child categories are the rows, and its text is the caption.
    EXPECT_EQ(ListView_GetItemCount(main->List().Hwnd()), 17);
    EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), L"Sortaro");
    EXPECT_FALSE(IsWindowVisible(main->Preview()->Hwnd()));

    // Every node in tree order: its depth in dots, its text and its picture, the category id.
    std::vector<std::wstring> nodes;
    for (HTREEITEM item : TreeItemsInOrder(Tree())) {
        std::wstring depth;
        for (HTREEITEM up = TreeView_GetParent(Tree(), item); up; up = TreeView_GetParent(Tree(), up))
            depth += L'.';
        nodes.push_back(depth + TreeItemText(Tree(), item) + L" " + std::to_wstring(TreeItemImage(Tree(), item)));
    }
    EXPECT_EQ(nodes, (std::vector<std::wstring>{
                         L"Sortaro 0", L".Archivdateien 1", L".Bildschirmschoner 27", L".Clip-Art 2",
                         L"..BMP (Bitmap) 3", L"..CDR (CorelDraw) 4", L"..CGM (CGM Metadatei) 5", L"..DIP (Bitmap) 6",
                         L"..EPS (PostScript) 7", L"..GIF (CompuServe) 8", L"..JPG (JPEG) 9", L"..PCD (Foto-CD) 10",
                         L"..PCT (Macintosh PICT) 11", L"..PCX (PC Paintbrush) 12", L"..TGA (Targa) 13",
                         L"..TIF (TIFF) 14", L"..WMF (Windows-Metadatei) 15", L".Cursor und Symbole 16", L"..Cursor 17",
                         L"..Symbole 18", L".Einrichtungsdateien 28", L".Hilfedateien 21", L".HTML-Dateien 44",
                         L".Internet 35", L"..InternetExplorer 36", L"...Cookies 38", L"...Temporary Internet Files 37",
                         L"..Netscape Cache 41", L"..Opera Cache 39", L".Mulitimediadateien 22",
                         L"..Alle Mulitmediadateien 23", L"..Film-und Animationsdateien 25", L"..Midi-Dateien 24",
                         L"..Wave-Dateien 26", L"..MP3-Dateien 45", L".Schriftarten 20", L".Sicherungsdateien 34",
                         L".Temporäre Dateien 29", L".Textdateien 30", L".0-Byte Dateien 31", L".Recent 42",
                         L".Temp 43", L".Suchen 46"}));
    // The root is selected and expanded one level.
    EXPECT_EQ(TreeView_GetSelection(Tree()), TreeView_GetRoot(Tree()));
    EXPECT_TRUE(TreeItemExpanded(Tree(), TreeView_GetRoot(Tree())));
    EXPECT_FALSE(TreeItemExpanded(Tree(), FindNode(L"Clip-Art")));
}

TEST_F(MainWindowTest, CloseStoresTheLayoutAndTheNextStartRestoresIt)
{
    SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    SetWindowPos(main->Hwnd(), nullptr, 100, 120, 700, 500, SWP_NOZORDER);
    main->ExecuteCommand(IDM_PREVIEW);
    main->ExecuteCommand(IDM_GRID_LINES);
    SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
    Flush();
    const std::pair<const wchar_t*, std::wstring> stored[] = {
        {L"left", L"100"},  {L"top", L"120"},      {L"width", L"700"},
        {L"height", L"500"}, {L"raster", L"1"},    {L"rowselect", L"0"},
        {L"treewidthmain", std::to_wstring(main->TreeWidth())},
        {L"treewidthpreview", std::to_wstring(main->PreviewWidth())}};
    for (const auto& [name, value] : stored)
        EXPECT_EQ(GetOption(L"ScreenSettings", name), value) << name;
    EXPECT_EQ(GetOption(L"Vorschau", L"Enabled"), L"1");

    SetOption(L"ScreenSettings", L"treewidthmain", L"200");
    StartToMainWindow(true);
    RECT rc;
    GetWindowRect(main->Hwnd(), &rc);
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<LONG>{100, 120, 800, 620}));
    EXPECT_EQ(main->TreeWidth(), 200);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(main->List().Hwnd()) & LVS_EX_GRIDLINES);
    EXPECT_TRUE(IsWindowVisible(main->Preview()->Hwnd()));
}

TEST_F(MainWindowTest, WithoutSaveSettingsExitStoresNoLayoutAndShowsNoWaitDialog)
{
    ShowRecorder shown;
    StartToMainWindow(false);
    const size_t before = shown.shown.size();
    main->ExecuteCommand(IDM_EXIT);
    Flush();
    EXPECT_TRUE(MessagePump::QuitSeen());
    EXPECT_TRUE(ValueNames(L"ScreenSettings").empty());
    EXPECT_TRUE(ValueNames(L"Vorschau").empty());
    EXPECT_EQ(shown.shown.size(), before) << "no wait dialog at the end";
}

TEST_F(MainWindowTest, EndOfTheWindowsSessionStoresLikeAClose)
{
    SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    SendMessageW(main->Hwnd(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main->Hwnd(), WM_ENDSESSION, TRUE, 0);
    Flush();
    EXPECT_NE(GetOption(L"ScreenSettings", L"width"), L"<missing>");
    EXPECT_EQ(GetOption(L"Vorschau", L"Enabled"), L"0");
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
    Flush();
    EXPECT_EQ(ValueNames(L"ColumnsMain").size(), 6u) << "every column, not only the dragged one";
    EXPECT_EQ(GetOption(L"ColumnsMain", L"1"), L"222");
    EXPECT_EQ(GetOption(L"ColumnsMain", L"0"), std::to_wstring(ListView_GetColumnWidth(list, 0)));
    EXPECT_TRUE(ValueNames(L"ScreenSettings").empty()) << "stored even though SaveSettings is off";

    // Restored only when the layout is to be restored.
    StartToMainWindow(true);
    EXPECT_NE(ListView_GetColumnWidth(main->List().Hwnd(), 1), 222);
    SetOption(L"", L"SaveSettings", L"1");
    StartToMainWindow(true);
    EXPECT_EQ(ListView_GetColumnWidth(main->List().Hwnd(), 1), 222);
}

TEST_F(MainWindowTest, TextsFollowTheLanguage)
{
    struct Text {
        int menu; // 0: the hint of a tool bar button
        int id;
        const wchar_t* text;
    };
    const struct {
        const wchar_t* language;
        std::vector<Text> texts;
        std::vector<std::wstring> columns;
        const wchar_t* preview;
    } languages[] = {
        {L"1",
         {{IDR_VIEW_MENU, IDM_SORT_NAME, L"&Nach Na&men"}, {IDR_LIST_BACKGROUND_MENU, IDM_SORT_NAME, L"Nach &Namen"},
          {IDR_LIST_BACKGROUND_MENU, IDM_SORT_POPUP, L"&Symbole anorden"}, {IDR_LIST_MENU, IDM_PRINT, L"Drucken"},
          {IDR_FILE_MENU, IDM_PRINT, L"&Drucken"}, {0, IDM_SEARCH, L"Suchen"}, {0, IDM_DELETE, L"Delete"},
          {0, IDM_CLEAN_INTERNET_FILES, L"TemporaryInternetFiles löschen"}},
         {L"Dateiname", L"Pfad", L"Typ", L"Groesse(KB)", L"Geändert am", L"Attribute"},
         L"Vorschau       "},
        {L"0",
         {{IDR_LIST_MENU, IDM_PRINT, L"Drucken"}, {IDR_LIST_MENU, IDM_PROPERTIES, L"Properties."},
          {IDR_LIST_MENU, IDM_OPEN_WITH, L"Open with..."}, {IDR_FILE_MENU, IDM_PRINT, L"Print list"},
          {IDR_FILE_MENU, IDM_EXIT, L"End program"}, {IDR_VIEW_MENU, IDM_SORT_NAME, L"name"},
          {IDR_VIEW_MENU, IDM_SORT_POPUP, L"Arrange Icons"}, {IDR_VIEW_MENU, IDM_GRID_LINES, L"GridLines"},
          {IDR_LIST_BACKGROUND_MENU, IDM_SORT_NAME, L"By name"}, {IDR_LIST_BACKGROUND_MENU, IDM_VIEW_POPUP, L"View"},
          {IDR_TREE_MENU, IDM_TREE_COLLAPSE_ALL, L"close all nodes "},
          {IDR_TREE_MENU, IDM_TREE_EDIT_ENDINGS, L"change file ending"}, {0, IDM_SEARCH, L"Search "},
          {0, IDM_TB_FILE, L"File"}, {0, IDM_CLEAN_INTERNET_FILES, L"Empty folder 'Temporary Internet Files'"},
          {0, IDM_INFO, L"Info"}},
         {L"File", L"Path", L"Type", L"Size(KB)", L"Date", L"Attributes"},
         L"Preview"},
    };
    for (const auto& l : languages) {
        SetOption(L"", L"language", l.language);
        StartToMainWindow(true);
        for (const Text& t : l.texts) {
            std::wstring text = L"(none)";
            if (t.menu) {
                text = MenuText(t.menu, t.id);
            } else {
                // As the tool tip asks for the hint of a button.
                NMTTDISPINFOW info{};
                info.hdr.code = TTN_GETDISPINFOW;
                info.hdr.idFrom = t.id;
                info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(main->ToolBar(), TB_GETTOOLTIPS, 0, 0));
                SendMessageW(main->Hwnd(), WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&info));
                if (info.lpszText)
                    text = info.lpszText;
            }
            EXPECT_EQ(text, t.text) << "language " << l.language << ", id " << t.id;
        }
        HWND header = ListView_GetHeader(main->List().Hwnd());
        std::vector<std::wstring> columns;
        for (int i = 0; i < Header_GetItemCount(header); ++i) {
            wchar_t caption[64] = L"";
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = caption;
            item.cchTextMax = 64;
            Header_GetItem(header, i, &item);
            columns.push_back(caption);
        }
        EXPECT_EQ(columns, l.columns);
        EXPECT_EQ(main->Preview()->Heading(), l.preview);
    }
    // The tree in English; a category without an English name keeps its German one.
    const std::vector<std::wstring> top = ChildTexts();
    EXPECT_EQ(top.front(), L"Archiv-Files");
    EXPECT_EQ(top.back(), L"Search");
    EXPECT_NE(FindNode(L"Cursor&Symbols"), nullptr);
    EXPECT_NE(FindNode(L"Clip-Art"), nullptr);
    EXPECT_EQ(TreeItemText(Tree(), TreeView_GetRoot(Tree())), L"Sortaro");
}

TEST_F(MainWindowTest, DropDownButtonsOpenTheirMenus)
{
    StartToMainWindow(true);
    ShowRecorder recorder;
    recorder.closeMenus = true;
    const std::pair<int, int> buttons[] = {
        {IDM_TB_FILE, IDR_FILE_MENU}, {IDM_TB_EDIT, IDR_EDIT_MENU}, {IDM_TB_VIEW, IDR_VIEW_MENU}};
    for (const auto& [button, menu] : buttons) {
        // As the tool bar reports a click on a drop-down button.
        NMTOOLBARW click{};
        click.hdr.hwndFrom = main->ToolBar();
        click.hdr.idFrom = GetDlgCtrlID(main->ToolBar());
        click.hdr.code = TBN_DROPDOWN;
        click.iItem = button;
        SendMessageW(main->Hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        ASSERT_FALSE(recorder.menus.empty());
        EXPECT_EQ(recorder.menus.back(), main->Menu(menu)) << "button " << button;
    }
    // An opened menu shows the check marks of the command table.
    EXPECT_TRUE(GetMenuState(main->Menu(IDR_VIEW_MENU), IDM_VIEW_DETAILS, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(main->Menu(IDR_VIEW_MENU), IDM_VIEW_LIST, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MainWindowTest, TreeCommands)
{
    SetOption(L"UserFiles", L"Bilder", L".JPG+.PNG|Default");
    StartToMainWindow(true);
    HTREEITEM root = TreeView_GetRoot(Tree());
    HTREEITEM clipArt = FindNode(L"Clip-Art");
    main->ExecuteCommand(IDM_TREE_EXPAND_ALL);
    EXPECT_TRUE(TreeItemExpanded(Tree(), clipArt));
    EXPECT_TRUE(TreeItemExpanded(Tree(), FindNode(L"InternetExplorer")));

    main->ExecuteCommand(IDM_TREE_COLLAPSE_ALL);
    EXPECT_EQ(TreeView_GetSelection(Tree()), root);
    EXPECT_FALSE(TreeItemExpanded(Tree(), root));
    // The groups below keep their state for the root's next expansion.
    TreeView_Expand(Tree(), root, TVE_EXPAND);
    EXPECT_TRUE(TreeItemExpanded(Tree(), clipArt));

    TreeView_SelectItem(Tree(), clipArt);
    main->ExecuteCommand(IDM_TREE_COLLAPSE_NODE);
    EXPECT_FALSE(TreeItemExpanded(Tree(), clipArt));

    // The extension editor is for the built-in leaves only.
    const std::pair<const wchar_t*, bool> nodes[] = {
        {L"Clip-Art", false}, {L"BMP (Bitmap)", true}, {L"Temp", true},     {L"Suchen", true},
        {L"Sortaro", false},  {L"Bilder", false},      {L"Internet", false}};
    for (const auto& [node, enabled] : nodes) {
        HTREEITEM item = FindNode(node);
        ASSERT_NE(item, nullptr) << node;
        TreeView_SelectItem(Tree(), item);
        EXPECT_EQ(main->IsCommandEnabled(IDM_TREE_EDIT_ENDINGS), enabled) << node;
    }
}

} // namespace
