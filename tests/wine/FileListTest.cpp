// The file list of the real main window: rows of a category and of a group, status texts,
// view styles, sorting from the headers and the menus, the selection commands, and the
// list's mouse and keyboard.

#include "AppFixture.h"
#include "catalogue/catalogue/CatalogueFiles.h"
#include "catalogue/shell/resource.h"
#include "tests/native/TestRecords.h"

#include <oleacc.h>

#include <algorithm>

using WineTest::SetOption;

namespace {

const std::wstring kBase = L"C:\\sortaro-filelist";

using Entry = TestRecord;

class FileListTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kBase.c_str(), nullptr);
        // An empty folder for the database: nothing is read at start, nothing lands elsewhere.
        SetOption(L"", L"InstallDir", kBase);
    }

    void TearDown() override
    {
        RestoreDecimalSeparator();
        AppTest::TearDown();
        DeleteFileW((kBase + L"\\opened.txt").c_str());
        DeleteFileW((kBase + L"\\open me.cmd").c_str());
        RemoveDirectoryW((kBase + L"\\Data").c_str());
        RemoveDirectoryW(kBase.c_str());
    }

    // Starts in German, or English, and puts the entries into category id.
    void StartWith(int id, const std::vector<Entry>& entries, bool english = false)
    {
        SetOption(L"", L"language", english ? L"0" : L"1");
        StartToMainWindow(true);
        AddTestRecords(main->Model().Lists(), id, entries);
    }

    HTREEITEM NodeOf(int id) const
    {
        HWND tree = main->Tree().Hwnd();
        std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
        while (!pending.empty()) {
            HTREEITEM item = pending.back();
            pending.pop_back();
            TVITEMW tv{};
            tv.mask = TVIF_IMAGE;
            tv.hItem = item;
            if (TreeView_GetItem(tree, &tv) && tv.iImage == id)
                return item;
            for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c))
                pending.push_back(c);
        }
        return nullptr;
    }

    void Select(HTREEITEM node)
    {
        ASSERT_NE(node, nullptr);
        TreeView_SelectItem(main->Tree().Hwnd(), node);
        WineTest::Flush(50);
    }

    std::wstring Cell(int row, int column) const
    {
        wchar_t text[1024] = L"";
        ListView_GetItemText(main->List().Hwnd(), row, column, text, 1024);
        return text;
    }

    std::vector<std::wstring> Column(int column) const
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < ListView_GetItemCount(main->List().Hwnd()); ++row)
            texts.push_back(Cell(row, column));
        return texts;
    }

    std::wstring Panel(int index) const
    {
        wchar_t text[256] = L"";
        SendMessageW(main->Status().Hwnd(), SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // A click on a column header as the mouse makes it.
    void ClickHeader(int column)
    {
        HWND header = ListView_GetHeader(main->List().Hwnd());
        RECT rc{};
        Header_GetItemRect(header, column, &rc);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
        WineTest::Flush(50);
    }

    // The header's marker: 1 the upward triangle, -1 the downward one, 0 none.
    int Marker(int column) const
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        Header_GetItem(ListView_GetHeader(main->List().Hwnd()), column, &item);
        if (!(item.fmt & HDF_BITMAP))
            return 0;
        return item.hbm == main->List().SortMarker(true) ? 1 : item.hbm == main->List().SortMarker(false) ? -1 : 99;
    }

    // Selects the rows as clicks would; the last one has the focus.
    void SelectRows(std::initializer_list<int> rows)
    {
        ListView_SetItemState(main->List().Hwnd(), -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(main->List().Hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    // Sets the user's decimal separator for the test's duration, as the control panel would.
    void UseDecimalSeparator(const wchar_t* separator)
    {
        OriginalSeparator();
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator);
        m_separatorChanged = true;
    }

    void RestoreDecimalSeparator()
    {
        if (m_separatorChanged)
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, OriginalSeparator().c_str());
        m_separatorChanged = false;
    }

    // The separator before any test changed it: Wine answers an earlier change from a cache
    // for the rest of the process.
    static const std::wstring& OriginalSeparator()
    {
        static const std::wstring original = [] {
            wchar_t text[8] = L".";
            GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
            return std::wstring(text);
        }();
        return original;
    }

    bool m_separatorChanged = false;
};

// Leaf categories and a group of the designed tree.
const int kText = 30;     // "Textdateien"
const int kBitmaps = 9;   // a picture category
const int kEmpty = 12;
const uint64_t kDay = 864000000000ull; // in 100 ns units
const uint64_t k2001 = 126227808000000000ull;

TEST_F(FileListTest, RowsAndStatusOfACategory)
{
    StartWith(kText, {
                         {L"C:\\Daten\\Brief.txt", 1536, k2001, 0x20 | 0x1},
                         {L"C:\\Daten\\alt\\leer.txt", 0, 0, 0},
                         {L"C:\\knapp.txt", 511, k2001 + kDay, 0x2 | 0x4},
                         {L"D:\\gross.txt", 5ull << 30, k2001, 0x20},
                     });
    HTREEITEM node = NodeOf(kText);
    Select(node);
    HWND list = main->List().Hwnd();
    ASSERT_EQ(ListView_GetItemCount(list), 4);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Brief.txt", L"leer.txt", L"knapp.txt", L"gross.txt"}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"C:\\Daten\\Brief.txt", L"C:\\Daten\\alt\\leer.txt",
                                                    L"C:\\knapp.txt", L"D:\\gross.txt"}));
    EXPECT_EQ(Column(3), (std::vector<std::wstring>{L"2", L"0", L"0", L"5242880"}));
    EXPECT_EQ(Column(5), (std::vector<std::wstring>{L"RA", L"", L"HS", L"A"}));
    const Catalogue& catalogue = main->Model().Lists();
    EXPECT_EQ(Cell(0, 4), FormatRecordDate(catalogue[kText][0]));
    EXPECT_NE(Cell(0, 4), L"");
    EXPECT_EQ(Cell(1, 4), L""); // no date
    // The shell was asked for icon and type once and the answer is kept in the record.
    EXPECT_GE(catalogue[kText][0].iconIndex, 0);
    EXPECT_EQ(Cell(0, 2), catalogue.TypeName(catalogue[kText][0]));
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    ListView_GetItem(list, &item);
    EXPECT_EQ(item.iImage, catalogue[kText][0].iconIndex);

    wchar_t separator[8] = L".";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    EXPECT_EQ(Panel(1), L"4 Objekt(e) ");
    EXPECT_EQ(Panel(2), std::wstring(L"5120") + separator + L"002 MB");
    EXPECT_EQ(Panel(3), L"");
    EXPECT_EQ(WineTest::WindowText(main->Tree().HeaderLabel()), ItemText(node));
    EXPECT_EQ(main->List().CurrentCategory(), kText);

    Select(NodeOf(kEmpty));
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    EXPECT_EQ(Panel(1), L"0 Objekt(e) ");
    EXPECT_EQ(Panel(2), std::wstring(L"0") + separator + L"000 MB");
}

TEST_F(FileListTest, EnglishStatusAndTheLocalesSeparator)
{
    UseDecimalSeparator(L",");
    StartWith(kBitmaps, {{L"C:\\a.bmp", 1024, k2001, 0}, {L"C:\\b.bmp", 2048, k2001, 0}, {L"C:\\c.bmp", 1048576, 0, 0}},
              true);
    Select(NodeOf(kBitmaps));
    EXPECT_EQ(Panel(1), L"3 Object(s) ");
    EXPECT_EQ(Panel(2), L"1,003 MB");
    main->ExecuteCommand(IDM_SELECT_ALL);
    EXPECT_EQ(Panel(1), L"3 Object(s) selected");
}

TEST_F(FileListTest, GroupRowsAreTheDirectChildrenAndOpenOnDoubleClick)
{
    StartWith(kText, {{L"C:\\x.txt", 3 * 1048576, 0, 0}});
    Select(NodeOf(kText));
    const std::wstring total = Panel(2);
    HTREEITEM root = TreeView_GetRoot(main->Tree().Hwnd());
    Select(root);
    EXPECT_TRUE(main->List().GroupView());
    HWND list = main->List().Hwnd();
    const std::vector<std::wstring> children = ChildTexts(root);
    ASSERT_FALSE(children.empty());
    EXPECT_EQ(Column(0), children); // direct children only, in tree order
    EXPECT_EQ(Panel(1), std::to_wstring(children.size()) + L" Objekt(e) ");
    EXPECT_EQ(Panel(2), total); // a group has no size: the last total stays
    // Each row shows its category's picture.
    HTREEITEM child = TreeView_GetChild(main->Tree().Hwnd(), root);
    for (int row = 0; child; ++row, child = TreeView_GetNextSibling(main->Tree().Hwnd(), child)) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(list, &item);
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE;
        tv.hItem = child;
        TreeView_GetItem(main->Tree().Hwnd(), &tv);
        EXPECT_EQ(item.iImage, tv.iImage) << row;
    }

    // A row whose category has children: selected and opened one level.
    HTREEITEM group = nullptr;
    int groupRow = 0;
    for (child = TreeView_GetChild(main->Tree().Hwnd(), root); child;
         child = TreeView_GetNextSibling(main->Tree().Hwnd(), child), ++groupRow)
        if (TreeView_GetChild(main->Tree().Hwnd(), child)) {
            group = child;
            break;
        }
    ASSERT_NE(group, nullptr);
    TreeView_Expand(main->Tree().Hwnd(), group, TVE_COLLAPSE);
    SelectRows({groupRow});
    RECT rc{};
    ListView_GetItemRect(list, groupRow, &rc, LVIR_LABEL);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.left + 2, (rc.top + rc.bottom) / 2));
    WineTest::Flush(50);
    EXPECT_EQ(TreeView_GetSelection(main->Tree().Hwnd()), group);
    EXPECT_TRUE(TreeView_GetItemState(main->Tree().Hwnd(), group, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(Column(0), ChildTexts(group));

    // A category row by Enter: selected, and its files shown.
    HTREEITEM textParent = TreeView_GetParent(main->Tree().Hwnd(), NodeOf(kText));
    Select(textParent);
    const std::vector<std::wstring> rows = Column(0);
    auto at = std::find(rows.begin(), rows.end(), ItemText(NodeOf(kText)));
    ASSERT_NE(at, rows.end());
    SelectRows({static_cast<int>(at - rows.begin())});
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    WineTest::Flush(50);
    EXPECT_EQ(TreeView_GetSelection(main->Tree().Hwnd()), NodeOf(kText));
    EXPECT_FALSE(main->List().GroupView());
    EXPECT_EQ(Column(0), std::vector<std::wstring>{L"x.txt"});
}

TEST_F(FileListTest, ViewStylesAttachTheImagesOfTheRowsShown)
{
    StartWith(kText, {{L"C:\\x.txt", 1, 0, 0}});
    HWND list = main->List().Hwnd();
    struct Case {
        int command;
        DWORD view;
        int iconSize; // of the image list shown: 16 small, 32 large
    };
    const Case cases[] = {
        {IDM_VIEW_LARGE, LV_VIEW_ICON, 32},
        {IDM_VIEW_SMALL, LV_VIEW_SMALLICON, 16},
        {IDM_VIEW_LIST, LV_VIEW_LIST, 16},
        {IDM_VIEW_DETAILS, LV_VIEW_DETAILS, 16},
    };
    SHFILEINFOW info{};
    auto systemLarge = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    auto systemSmall = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    for (bool group : {true, false}) {
        Select(group ? TreeView_GetRoot(main->Tree().Hwnd()) : NodeOf(kText));
        for (const Case& c : cases) {
            main->ExecuteCommand(c.command);
            EXPECT_EQ(ListView_GetView(list), c.view);
            HIMAGELIST shown = ListView_GetImageList(list, c.iconSize == 32 ? LVSIL_NORMAL : LVSIL_SMALL);
            int cx = 0, cy = 0;
            ImageList_GetIconSize(shown, &cx, &cy);
            EXPECT_EQ(cx, c.iconSize) << c.command;
            if (group)
                EXPECT_TRUE(shown != systemLarge && shown != systemSmall) << c.command;
            else
                EXPECT_EQ(shown, c.iconSize == 32 ? systemLarge : systemSmall) << c.command;
            // One style checked, in both menus that offer the styles.
            for (HMENU menu : {main->Menu(IDR_VIEW_MENU), main->Menu(IDR_LIST_BACKGROUND_MENU)}) {
                SendMessageW(main->Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
                HMENU styles = menu == main->Menu(IDR_VIEW_MENU) ? menu : GetSubMenu(menu, 0);
                SendMessageW(main->Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(styles), 0);
                for (const Case& other : cases)
                    EXPECT_EQ((GetMenuState(styles, other.command, MF_BYCOMMAND) & MF_CHECKED) != 0,
                              other.command == c.command);
            }
        }
    }
    // Grid lines and full-row selection switch with their check marks.
    for (int command : {IDM_GRID_LINES, IDM_ROW_SELECT}) {
        const DWORD style = command == IDM_GRID_LINES ? LVS_EX_GRIDLINES : LVS_EX_FULLROWSELECT;
        const bool before = (ListView_GetExtendedListViewStyle(list) & style) != 0;
        main->ExecuteCommand(command);
        EXPECT_NE((ListView_GetExtendedListViewStyle(list) & style) != 0, before);
        EXPECT_EQ(main->IsCommandChecked(command), !before);
    }
}

const std::vector<Entry> kFiles = {
    {L"C:\\m\\Mitte.txt", 2048, k2001 + 2 * kDay, 0x20},
    {L"C:\\a\\zebra.txt", 100, k2001, 0x1},
    {L"C:\\z\\Apfel.txt", 9000, 0, 0x20},
};

TEST_F(FileListTest, HeaderClicksFollowTheDirectionRules)
{
    StartWith(kText, kFiles);
    Select(NodeOf(kText));
    const std::vector<std::wstring> ascending = {L"Apfel.txt", L"Mitte.txt", L"zebra.txt"};
    const std::vector<std::wstring> descending = {L"zebra.txt", L"Mitte.txt", L"Apfel.txt"};
    const std::vector<std::wstring> largest = {L"Apfel.txt", L"Mitte.txt", L"zebra.txt"};
    const std::vector<std::wstring> smallest = {L"zebra.txt", L"Mitte.txt", L"Apfel.txt"};
    const std::vector<std::wstring> newest = {L"Mitte.txt", L"zebra.txt", L"Apfel.txt"};
    const std::vector<std::wstring> byPath = {L"zebra.txt", L"Mitte.txt", L"Apfel.txt"};
    struct Step {
        int column;
        int marker; // of the clicked column
        std::vector<std::wstring> names;
    };
    const Step steps[] = {
        {0, 1, descending}, // the first click on the name header turns the flag: Z to A
        {0, -1, ascending},
        {3, -1, largest}, // another column keeps the flag: largest first
        {3, 1, smallest},
        {4, 1, {L"Apfel.txt", L"zebra.txt", L"Mitte.txt"}}, // oldest first; no date is oldest
        {4, -1, newest},
        {1, -1, {L"Apfel.txt", L"Mitte.txt", L"zebra.txt"}}, // paths from the last
    };
    // At start the name column shows the mark of the flag, clear: the downward triangle.
    EXPECT_EQ(Marker(0), -1);
    EXPECT_EQ(Marker(1), 0);
    for (const Step& s : steps) {
        ClickHeader(s.column);
        EXPECT_EQ(Column(0), s.names) << "column " << s.column;
        for (int column = 0; column < FileListPane::kColumnCount; ++column)
            EXPECT_EQ(Marker(column), column == s.column ? s.marker : 0) << "column " << column;
    }

    // A sort command keeps the flag: after the name header was clicked once, sizes run from
    // the smallest. The command's item is checked in both menus, the others are not.
    ClickHeader(0);
    ClickHeader(0);
    EXPECT_TRUE(main->List().SortFlag());
    main->ExecuteCommand(IDM_SORT_SIZE);
    EXPECT_EQ(Column(0), smallest);
    EXPECT_EQ(Marker(0), 1); // the header shows what was clicked, not the command
    for (HMENU menu : {main->Menu(IDR_VIEW_MENU), main->Menu(IDR_LIST_BACKGROUND_MENU)}) {
        HMENU sorts = GetSubMenu(menu, GetMenuItemCount(menu) - (menu == main->Menu(IDR_VIEW_MENU) ? 1 : 4));
        ASSERT_NE(sorts, nullptr);
        SendMessageW(main->Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sorts), 0);
        for (int command : {IDM_SORT_NAME, IDM_SORT_PATH, IDM_SORT_TYPE, IDM_SORT_SIZE, IDM_SORT_DATE,
                            IDM_SORT_ATTRIBUTES})
            EXPECT_EQ((GetMenuState(sorts, command, MF_BYCOMMAND) & MF_CHECKED) != 0, command == IDM_SORT_SIZE)
                << command;
    }
    main->ExecuteCommand(IDM_SORT_ATTRIBUTES); // with the flag set: "A" before "R"
    EXPECT_EQ(Column(5), (std::vector<std::wstring>{L"A", L"A", L"R"}));

    // The order stays with the category.
    Select(TreeView_GetRoot(main->Tree().Hwnd()));
    Select(NodeOf(kText));
    EXPECT_EQ(Column(5), (std::vector<std::wstring>{L"A", L"A", L"R"}));

    // In a group only the header changes.
    const std::vector<std::wstring> before = Column(0);
    Select(TreeView_GetRoot(main->Tree().Hwnd()));
    ClickHeader(2);
    EXPECT_EQ(Marker(2), 1);
    EXPECT_EQ(Marker(0), 0);
    EXPECT_EQ(main->List().CurrentSortKey(), SortKey::Type);
    Select(NodeOf(kText));
    EXPECT_EQ(Column(0), before);
}

TEST_F(FileListTest, SelectionCommandsCountAndAddUp)
{
    UseDecimalSeparator(L",");
    StartWith(kBitmaps, {{L"C:\\a.bmp", 1024, k2001, 0}, {L"C:\\b.bmp", 2048, k2001, 0}, {L"C:\\c.bmp", 1048576, 0, 0}});
    Select(NodeOf(kBitmaps));
    HWND list = main->List().Hwnd();
    struct Step {
        std::vector<int> selectedBefore; // empty: leave the selection as it is
        int command;                     // 0: unselect all
        const wchar_t* panel1;
        const wchar_t* panel2;
        std::vector<int> selectedAfter;
    };
    const Step steps[] = {
        {{}, IDM_SELECT_ALL, L"3 Objekt(e) markiert", L"1,003 MB", {0, 1, 2}},
        {{}, IDM_INVERT_SELECTION, L"0 Objekt(e) markiert", L"0,000 MB", {}},
        {{}, IDM_INVERT_SELECTION, L"3 Objekt(e) markiert", L"1,003 MB", {0, 1, 2}}, // as select all
        {{2}, IDM_INVERT_SELECTION, L"2 Objekt(e) markiert", L"0,003 MB", {0, 1}},
        {{}, 0, L"0 Objekt(e) markiert", L"0,003 MB", {}}, // panel 2 stays
    };
    for (const Step& s : steps) {
        if (!s.selectedBefore.empty()) {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            for (int row : s.selectedBefore)
                ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        if (s.command)
            main->ExecuteCommand(s.command);
        else
            main->List().UnselectAll();
        EXPECT_EQ(Panel(1), s.panel1) << s.command;
        EXPECT_EQ(Panel(2), s.panel2) << s.command;
        std::vector<int> selected;
        for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(list, row, LVNI_SELECTED))
            selected.push_back(row);
        EXPECT_EQ(selected, s.selectedAfter) << s.command;
        EXPECT_EQ(GetFocus(), list);
    }

    // The selection is taken from the list whenever it is asked for: the rows in order with their
    // paths, and nothing once they are unselected (never the files selected before).
    SelectRows({2, 0});
    Selection selection = main->List().GetSelItems();
    EXPECT_EQ(selection.category, kBitmaps);
    ASSERT_EQ(selection.files.size(), 2u);
    EXPECT_EQ(selection.files[0].path, L"C:\\a.bmp");
    EXPECT_EQ(selection.files[0].row, 0);
    EXPECT_EQ(selection.files[1].name, L"c.bmp");
    EXPECT_EQ(selection.files[1].row, 2);
    main->List().UnselectAll();
    EXPECT_TRUE(main->List().GetSelItems().Empty());

    // A tree selection clears the selection and leaves the new count standing.
    Select(TreeView_GetRoot(main->Tree().Hwnd()));
    Select(NodeOf(kBitmaps));
    EXPECT_EQ(ListView_GetSelectedCount(list), 0u);
    EXPECT_EQ(Panel(1), L"3 Objekt(e) ");

    // In a group the rows are categories: counted, but no size.
    Select(TreeView_GetRoot(main->Tree().Hwnd()));
    main->ExecuteCommand(IDM_SELECT_ALL);
    EXPECT_EQ(Panel(1), std::to_wstring(ListView_GetItemCount(list)) + L" Objekt(e) markiert");
    EXPECT_EQ(Panel(2), L"");
    EXPECT_TRUE(main->List().GetSelItems().Empty()) << "the rows of a group are no files";
}

TEST_F(FileListTest, KeysAndCursor)
{
    StartWith(kText, kFiles);
    Select(NodeOf(kText));
    HWND list = main->List().Hwnd();

    // Ctrl+A selects every row.
    SetFocus(list);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, 'A', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(ListView_GetSelectedCount(list), 3u);
    EXPECT_EQ(Panel(1), L"3 Objekt(e) markiert");

    // F5 shows what the catalogue holds now.
    main->Model().Lists()[kText].pop_back();
    HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG f5{list, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(TranslateAcceleratorW(main->Hwnd(), accelerators, &f5));
    WineTest::Flush(50);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(Panel(1), L"2 Objekt(e) ");

    // The hand over a row, the arrow beside the rows; it stays while the pointer rests.
    RECT row{};
    ListView_GetItemRect(list, 0, &row, LVIR_LABEL);
    RECT client{};
    GetClientRect(list, &client);
    for (bool onRow : {true, false, true}) {
        const POINT at = onRow ? POINT{row.left + 3, (row.top + row.bottom) / 2} : POINT{client.right - 3, client.bottom - 3};
        SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_HAND), onRow);
        SendMessageW(list, WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_HAND), onRow);
    }
}

// The name a screen reader says for a window.
std::wstring AccessibleName(HWND hwnd)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible))))
        return L"<none>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text = L"<none>";
    if (accessible->get_accName(self, &name) == S_OK && name)
        text = name;
    SysFreeString(name);
    accessible->Release();
    return text;
}

TEST_F(FileListTest, NamesForScreenReadersInBothLanguages)
{
    for (bool english : {false, true}) {
        StartWith(kText, {}, english);
        EXPECT_EQ(AccessibleName(main->Tree().Hwnd()), english ? L"Categories" : L"Kategorien");
        EXPECT_EQ(AccessibleName(main->List().Hwnd()), english ? L"Files" : L"Dateien");
    }
}

TEST_F(FileListTest, DoubleClickOpensTheFile)
{
    // A command script that leaves a mark when the shell opens it.
    const std::wstring script = kBase + L"\\open me.cmd";
    const std::wstring mark = kBase + L"\\opened.txt";
    HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string text = "@echo opened> \"" + std::string(mark.begin(), mark.end()) + "\"\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    DeleteFileW(mark.c_str());

    StartWith(kText, {{script.c_str(), text.size(), k2001, 0x20}});
    Select(NodeOf(kText));
    HWND list = main->List().Hwnd();
    // Nothing selected: nothing opens.
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 200));
    SelectRows({0});
    RECT rc{};
    ListView_GetItemRect(list, 0, &rc, LVIR_LABEL);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.left + 2, (rc.top + rc.bottom) / 2));
    for (int i = 0; i < 100 && GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        WineTest::Flush(100);
    EXPECT_NE(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "the script did not run";
}

} // namespace
