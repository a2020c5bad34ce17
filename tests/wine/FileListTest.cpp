// The file list of the real main window: rows of a category and of a group, status texts,
// view styles, sorting from the headers and the menus, the selection commands, the list's
// mouse and keyboard, and rows whose volume is offline.

#include "AppFixture.h"
#include "catalogue/catalogue/CatalogueFiles.h"
#include "catalogue/shell/resource.h"
#include "tests/native/TestRecords.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

const std::wstring kBase = L"C:\\sortaro-filelist";
// Leaf categories of the designed tree.
const int kText = 30; // "Textdateien"
const int kBitmaps = 9;
const int kEmpty = 12;
const uint64_t kDay = 864000000000ull; // in 100 ns units
const uint64_t k2001 = 126227808000000000ull;

class FileListTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kBase.c_str(), nullptr);
        // An empty folder for the database: nothing is read at start, nothing lands elsewhere.
        SetOption(L"", L"InstallDir", kBase);
        // The user's decimal separator becomes a comma, as the control panel would set it: the
        // status texts must follow it.
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_separator, ARRAYSIZE(m_separator));
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
    }

    void TearDown() override
    {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_separator);
        AppTest::TearDown();
        DeleteFileW((kBase + L"\\opened.txt").c_str());
        DeleteFileW((kBase + L"\\open me.cmd").c_str());
        RemoveDirectoryW(kBase.c_str());
    }

    // Starts in German, or English, puts the records into a category and selects its node.
    void StartWith(int id, const std::vector<TestRecord>& records, bool english = false)
    {
        SetOption(L"", L"language", english ? L"0" : L"1");
        StartToMainWindow(true);
        AddTestRecords(main->Model().Lists(), id, records);
        Select(NodeOf(id));
    }

    // The node of a category: its picture is the category id.
    HTREEITEM NodeOf(int id) const
    {
        for (HTREEITEM item : TreeItemsInOrder(Tree()))
            if (TreeItemImage(Tree(), item) == id)
                return item;
        return nullptr;
    }

    void Select(HTREEITEM node)
    {
        TreeView_SelectItem(Tree(), node);
        Flush(50);
    }

    HWND List() const { return main->List().Hwnd(); }
    Texts Column(int column) const { return ListTexts(List(), column); }
    std::wstring Panel(int part) const { return main->Status().Text(part); }

    int RowImage(int row) const
    {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(List(), &item);
        return item.iImage;
    }

    // A click on a column header as the mouse makes it.
    void ClickHeader(int column)
    {
        RECT rc{};
        Header_GetItemRect(ListView_GetHeader(List()), column, &rc);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageW(ListView_GetHeader(List()), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(ListView_GetHeader(List()), WM_LBUTTONUP, 0, at);
        Flush(50);
    }

    // The header's marker: 1 the upward triangle, -1 the downward one, 0 none.
    int Marker(int column) const
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        Header_GetItem(ListView_GetHeader(List()), column, &item);
        if (!(item.fmt & HDF_BITMAP))
            return 0;
        return item.hbm == main->List().SortMarker(true) ? 1 : item.hbm == main->List().SortMarker(false) ? -1 : 99;
    }

    // Selects the rows as clicks would; the last one has the focus.
    void SelectRows(const std::vector<int>& rows)
    {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    // A point on the label of a row.
    POINT OnRow(int row) const
    {
        RECT rc{};
        ListView_GetItemRect(List(), row, &rc, LVIR_LABEL);
        return {rc.left + 2, (rc.top + rc.bottom) / 2};
    }

    void DoubleClick(POINT at)
    {
        SendMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        Flush(50);
    }

    wchar_t m_separator[8] = L".";
};

// The name a screen reader says for a window.
std::wstring AccessibleName(HWND hwnd)
{
    Microsoft::WRL::ComPtr<IAccessible> accessible;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_PPV_ARGS(&accessible))) ||
        accessible->get_accName(self, &name) != S_OK || !name)
        return L"<none>";
    const std::wstring text = name;
    SysFreeString(name);
    return text;
}

TEST_F(FileListTest, RowsStatusAndNamesInBothLanguages)
{
    const struct {
        bool english;
        const wchar_t* category; // the label above the tree
        const wchar_t* count;
        const wchar_t* selected;
        const wchar_t* none;
        const wchar_t* tree; // the names screen readers say
        const wchar_t* list;
    } languages[] = {
        {false, L"Textdateien", L"4 Objekt(e) ", L"4 Objekt(e) markiert", L"0 Objekt(e) ", L"Kategorien", L"Dateien"},
        {true, L"Textfiles", L"4 Object(s) ", L"4 Object(s) selected", L"0 Object(s) ", L"Categories", L"Files"},
    };
    for (const auto& l : languages) {
        SCOPED_TRACE(l.english ? "English" : "German");
        StartWith(kText,
                  {{L"C:\\Daten\\Brief.txt", 1536, k2001, 0x20 | 0x1},
                   {L"C:\\Daten\\alt\\leer.txt", 0, 0, 0},
                   {L"C:\\knapp.txt", 511, k2001 + kDay, 0x2 | 0x4},
                   {L"D:\\gross.txt", 5ull << 30, k2001, 0x20}},
                  l.english);
        ASSERT_EQ(Column(0), (Texts{L"Brief.txt", L"leer.txt", L"knapp.txt", L"gross.txt"}));
        EXPECT_EQ(Column(1),
                  (Texts{L"C:\\Daten\\Brief.txt", L"C:\\Daten\\alt\\leer.txt", L"C:\\knapp.txt", L"D:\\gross.txt"}));
        EXPECT_EQ(Column(3), (Texts{L"2", L"0", L"0", L"5242880"}));
        EXPECT_EQ(Column(5), (Texts{L"RA", L"", L"HS", L"A"}));
        const Catalogue& catalogue = main->Model().Lists();
        const Texts dates = Column(4);
        EXPECT_EQ(dates[0], FormatRecordDate(catalogue[kText][0]));
        EXPECT_NE(dates[0], L"");
        EXPECT_EQ(dates[1], L""); // no date
        // The shell was asked for icon and type once and the answer is kept in the record.
        EXPECT_GE(catalogue[kText][0].iconIndex, 0);
        EXPECT_EQ(Column(2)[0], catalogue.TypeName(catalogue[kText][0]));
        EXPECT_EQ(RowImage(0), catalogue[kText][0].iconIndex);

        EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), l.category);
        EXPECT_EQ(Panel(1), l.count);
        EXPECT_EQ(Panel(2), L"5120,002 MB");
        main->ExecuteCommand(IDM_SELECT_ALL);
        EXPECT_EQ(Panel(1), l.selected);
        Select(NodeOf(kEmpty));
        EXPECT_EQ(ListView_GetItemCount(List()), 0);
        EXPECT_EQ(Panel(1), l.none);
        EXPECT_EQ(Panel(2), L"0,000 MB");
        EXPECT_EQ(AccessibleName(Tree()), l.tree);
        EXPECT_EQ(AccessibleName(List()), l.list);
    }
}

TEST_F(FileListTest, GroupRowsAreTheDirectChildrenAndRowsOpenOnDoubleClickOrEnter)
{
    // A command script that leaves a mark when the shell opens it.
    const std::wstring script = kBase + L"\\open me.cmd";
    const std::wstring mark = kBase + L"\\opened.txt";
    std::ofstream(std::filesystem::path(script)) << "@echo opened> \"" + std::string(mark.begin(), mark.end()) + "\"\n";
    StartWith(kText, {{script.c_str(), 3 * 1048576, 0, 0}});
    const std::wstring total = Panel(2);
    HTREEITEM root = TreeView_GetRoot(Tree());
    Select(root);
    const std::vector<HTREEITEM> children = TreeChildren(Tree(), root);
    EXPECT_EQ(Column(0), ChildTexts(root)); // direct children only, in tree order
    EXPECT_EQ(Panel(1), std::to_wstring(children.size()) + L" Objekt(e) ");
    EXPECT_EQ(Panel(2), total); // a group has no size: the last total stays
    for (size_t row = 0; row < children.size(); ++row)
        EXPECT_EQ(RowImage(static_cast<int>(row)), TreeItemImage(Tree(), children[row])) << "picture of row " << row;

    // The first row whose category has children, collapsed.
    const auto group = std::find_if(children.begin(), children.end(),
                                    [&](HTREEITEM child) { return TreeView_GetChild(Tree(), child) != nullptr; });
    ASSERT_NE(group, children.end());
    const int groupRow = static_cast<int>(group - children.begin());
    TreeView_Expand(Tree(), *group, TVE_COLLAPSE);

    // A double click below the rows with nothing selected, though the group's row has the
    // focus: nothing opens, the tree and the list stay as they are.
    SelectRows({});
    ListView_SetItemState(List(), groupRow, LVIS_FOCUSED, LVIS_FOCUSED);
    RECT last{};
    RECT client{};
    ListView_GetItemRect(List(), static_cast<int>(children.size()) - 1, &last, LVIR_BOUNDS);
    GetClientRect(List(), &client);
    ASSERT_LT(last.bottom + 4, client.bottom) << "no room below the rows";
    DoubleClick({4, last.bottom + 4});
    EXPECT_EQ(TreeView_GetSelection(Tree()), root);
    EXPECT_FALSE(TreeItemExpanded(Tree(), *group));
    EXPECT_EQ(Column(0), ChildTexts(root));

    // A double click on the group's row: it is selected and opened one level.
    SelectRows({groupRow});
    DoubleClick(OnRow(groupRow));
    EXPECT_EQ(TreeView_GetSelection(Tree()), *group);
    EXPECT_TRUE(TreeItemExpanded(Tree(), *group));
    EXPECT_EQ(Column(0), ChildTexts(*group));

    // A category's row by Enter: selected, and its files shown.
    Select(root);
    const Texts rows = Column(0);
    SelectRows({static_cast<int>(std::find(rows.begin(), rows.end(), L"Textdateien") - rows.begin())});
    SendMessageW(List(), WM_KEYDOWN, VK_RETURN, 0);
    Flush(50);
    EXPECT_EQ(TreeView_GetSelection(Tree()), NodeOf(kText));
    EXPECT_EQ(Column(0), Texts{L"open me.cmd"});

    // A file's row by a double click: the shell opens the file.
    SelectRows({0});
    DoubleClick(OnRow(0));
    for (int i = 0; i < 100 && GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Flush(100);
    EXPECT_NE(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "the script did not run";
}

TEST_F(FileListTest, ViewStylesAttachTheImagesOfTheRowsShown)
{
    StartWith(kText, {{L"C:\\x.txt", 1, 0, 0}});
    EXPECT_EQ(ListView_GetView(List()), static_cast<DWORD>(LV_VIEW_DETAILS)) << "at start";
    // A file's row shows the shell's icon; a group's rows show the category pictures.
    SHFILEINFOW info{};
    auto systemImages = [&](bool large) {
        const UINT size = large ? SHGFI_LARGEICON : SHGFI_SMALLICON;
        return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | size));
    };
    const struct {
        int command;
        DWORD view;
        bool large; // the image list of 32 pixels is shown, not the one of 16
    } cases[] = {{IDM_VIEW_LARGE, LV_VIEW_ICON, true},
                 {IDM_VIEW_SMALL, LV_VIEW_SMALLICON, false},
                 {IDM_VIEW_LIST, LV_VIEW_LIST, false},
                 {IDM_VIEW_DETAILS, LV_VIEW_DETAILS, false}};
    for (bool group : {true, false}) {
        Select(group ? TreeView_GetRoot(Tree()) : NodeOf(kText));
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "command " << c.command << (group ? " in a group" : " in a category"));
            main->ExecuteCommand(c.command);
            EXPECT_EQ(ListView_GetView(List()), c.view);
            HIMAGELIST shown = ListView_GetImageList(List(), c.large ? LVSIL_NORMAL : LVSIL_SMALL);
            int cx = 0, cy = 0;
            ImageList_GetIconSize(shown, &cx, &cy);
            EXPECT_EQ(cx, c.large ? 32 : 16);
            EXPECT_EQ(shown == systemImages(c.large), !group);
            for (const auto& other : cases)
                EXPECT_EQ(main->IsCommandChecked(other.command), other.command == c.command) << "one style checked";
        }
    }
    // Grid lines and full-row selection switch with their check marks.
    for (int command : {IDM_GRID_LINES, IDM_ROW_SELECT}) {
        const DWORD style = command == IDM_GRID_LINES ? LVS_EX_GRIDLINES : LVS_EX_FULLROWSELECT;
        const bool before = (ListView_GetExtendedListViewStyle(List()) & style) != 0;
        main->ExecuteCommand(command);
        EXPECT_NE((ListView_GetExtendedListViewStyle(List()) & style) != 0, before);
        EXPECT_EQ(main->IsCommandChecked(command), !before);
    }
}

const std::vector<TestRecord> kFiles = {
    {L"C:\\m\\Mitte.txt", 2048, k2001 + 2 * kDay, 0x20},
    {L"C:\\a\\zebra.txt", 100, k2001, 0x1},
    {L"C:\\z\\Apfel.txt", 9000, 0, 0x20},
};

TEST_F(FileListTest, HeaderClicksFollowTheDirectionRules)
{
    StartWith(kText, kFiles);
    const Texts apfelFirst = {L"Apfel.txt", L"Mitte.txt", L"zebra.txt"};
    const Texts zebraFirst = {L"zebra.txt", L"Mitte.txt", L"Apfel.txt"};
    const struct {
        int column;
        int marker; // of the clicked column
        Texts names;
    } steps[] = {
        {0, 1, zebraFirst}, // the first click on the name header turns the flag: Z to A
        {0, -1, apfelFirst},
        {3, -1, apfelFirst}, // another column keeps the flag: largest first
        {3, 1, zebraFirst},
        {4, 1, {L"Apfel.txt", L"zebra.txt", L"Mitte.txt"}}, // oldest first; no date is oldest
        {4, -1, {L"Mitte.txt", L"zebra.txt", L"Apfel.txt"}},
        {1, -1, apfelFirst}, // paths from the last
    };
    // At start the name column shows the mark of the flag, clear: the downward triangle.
    EXPECT_EQ(Marker(0), -1);
    for (const auto& s : steps) {
        ClickHeader(s.column);
        EXPECT_EQ(Column(0), s.names) << "column " << s.column;
        for (int column = 0; column < FileListPane::kColumnCount; ++column)
            EXPECT_EQ(Marker(column), column == s.column ? s.marker : 0) << "column " << column;
    }

    // A sort command keeps the flag: after the name header was clicked once, sizes run from
    // the smallest. The command alone is checked.
    ClickHeader(0);
    ClickHeader(0);
    main->ExecuteCommand(IDM_SORT_SIZE);
    EXPECT_EQ(Column(0), zebraFirst);
    EXPECT_EQ(Marker(0), 1); // the header shows what was clicked, not the command
    for (int command : {IDM_SORT_NAME, IDM_SORT_PATH, IDM_SORT_TYPE, IDM_SORT_SIZE, IDM_SORT_DATE, IDM_SORT_ATTRIBUTES})
        EXPECT_EQ(main->IsCommandChecked(command), command == IDM_SORT_SIZE) << command;
    main->ExecuteCommand(IDM_SORT_ATTRIBUTES); // with the flag set: "A" before "R"
    EXPECT_EQ(Column(5), (Texts{L"A", L"A", L"R"}));

    // The order stays with the category; in a group only the header changes.
    Select(TreeView_GetRoot(Tree()));
    ClickHeader(2);
    EXPECT_EQ(Marker(2), 1);
    EXPECT_EQ(Marker(0), 0);
    Select(NodeOf(kText));
    EXPECT_EQ(Column(5), (Texts{L"A", L"A", L"R"}));
}

TEST_F(FileListTest, SelectionCommandsCountAndAddUp)
{
    StartWith(kBitmaps,
              {{L"C:\\a.bmp", 1024, k2001, 0}, {L"C:\\b.bmp", 2048, k2001, 0}, {L"C:\\c.bmp", 1048576, 0, 0}});
    const struct {
        std::vector<int> selectedBefore; // empty: leave the selection as it is
        int command;                     // 0: unselect all
        const wchar_t* panel1;
        const wchar_t* panel2;
        std::vector<int> selectedAfter;
    } steps[] = {
        {{}, IDM_SELECT_ALL, L"3 Objekt(e) markiert", L"1,003 MB", {0, 1, 2}},
        {{}, IDM_INVERT_SELECTION, L"0 Objekt(e) markiert", L"0,000 MB", {}},
        {{}, IDM_INVERT_SELECTION, L"3 Objekt(e) markiert", L"1,003 MB", {0, 1, 2}}, // as select all
        {{2}, IDM_INVERT_SELECTION, L"2 Objekt(e) markiert", L"0,003 MB", {0, 1}},
        {{}, 0, L"0 Objekt(e) markiert", L"0,003 MB", {}}, // panel 2 stays
    };
    for (const auto& s : steps) {
        if (!s.selectedBefore.empty())
            SelectRows(s.selectedBefore);
        if (s.command)
            main->ExecuteCommand(s.command);
        else
            main->List().UnselectAll();
        EXPECT_EQ(Panel(1), s.panel1) << s.command;
        EXPECT_EQ(Panel(2), s.panel2) << s.command;
        EXPECT_EQ(SelectedRows(List()), s.selectedAfter) << s.command;
        EXPECT_EQ(GetFocus(), List());
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
    Select(TreeView_GetRoot(Tree()));
    Select(NodeOf(kBitmaps));
    EXPECT_EQ(ListView_GetSelectedCount(List()), 0u);
    EXPECT_EQ(Panel(1), L"3 Objekt(e) ");

    // In a group the rows are categories: counted, but no size, and no files selected.
    Select(TreeView_GetRoot(Tree()));
    main->ExecuteCommand(IDM_SELECT_ALL);
    EXPECT_EQ(Panel(1), std::to_wstring(ListView_GetItemCount(List())) + L" Objekt(e) markiert");
    EXPECT_EQ(Panel(2), L"");
    EXPECT_TRUE(main->List().GetSelItems().Empty());
}

TEST_F(FileListTest, KeysAndCursor)
{
    StartWith(kText, kFiles);
    // Ctrl+A selects every row.
    SetFocus(List());
    SendControlKey(List(), 'A');
    EXPECT_EQ(Panel(1), L"3 Objekt(e) markiert");

    // F5 shows what the catalogue holds now.
    main->Model().Lists()[kText].pop_back();
    HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG f5{List(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(TranslateAcceleratorW(main->Hwnd(), accelerators, &f5));
    Flush(50);
    EXPECT_EQ(Panel(1), L"2 Objekt(e) ");

    // The hand over a row, the arrow beside the rows; it stays while the pointer rests.
    RECT client{};
    GetClientRect(List(), &client);
    for (bool onRow : {true, false, true}) {
        const POINT at = onRow ? OnRow(0) : POINT{client.right - 3, client.bottom - 3};
        SendMessageW(List(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_HAND), onRow);
        SendMessageW(List(), WM_SETCURSOR, reinterpret_cast<WPARAM>(List()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_HAND), onRow);
    }
}

TEST_F(FileListTest, OfflineRowsAreGreyAndNameTheirVolume)
{
    const struct {
        const wchar_t* path;
        VolumeIdentity volume; // root, label, serial, drive type
        const wchar_t* german;
        const wchar_t* english;
    } cases[] = {
        {L"E:\\Fotos\\a.jpg",
         {L"E:\\", L"FOTOS 2019", 0x1234, 5},
         L"CD-ROM 'FOTOS 2019' (E:) ist nicht eingelegt",
         L"CD-ROM 'FOTOS 2019' (E:) is not in the drive"},
        {L"F:\\b.exe",
         {L"F:\\", L"", 7, 2},
         L"Wechseldatenträger (F:) ist nicht verfügbar",
         L"Removable disk (F:) is not available"},
        {L"\\\\nas\\daten\\c.txt",
         {L"\\\\nas\\daten\\", L"DATEN", 9, 4},
         L"Netzlaufwerk \\\\nas\\daten ist nicht erreichbar",
         L"Network share \\\\nas\\daten is not available"},
        {L"G:\\d.txt", {}, L"Laufwerk (G:) ist nicht verfügbar", L"Drive (G:) is not available"}, // volume not known
    };
    const int online = ARRAYSIZE(cases);
    std::vector<TestRecord> records;
    for (const auto& c : cases)
        records.push_back({c.path, 1, 0, 0});
    records.push_back({L"C:\\da.txt", 1, 0, 0});
    auto send = [&](NMHDR& header, UINT code) {
        header = {List(), IDC_FILE_LIST, code};
        return SendMessageW(main->Hwnd(), WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&header));
    };
    for (bool english : {false, true}) {
        StartWith(kText, records, english);
        Catalogue& catalogue = main->Model().Lists();
        for (int row = 0; row < online; ++row) {
            FileRecord& record = catalogue[kText][row];
            record.marks |= FileRecord::kOffline;
            catalogue.SetFolderVolume(record.folder, catalogue.AddVolume(cases[row].volume));
        }
        main->List().RefreshList();
        for (int row = 0; row <= online; ++row) {
            SelectRows({row});
            EXPECT_EQ(Panel(3), row == online ? L"" : english ? cases[row].english : cases[row].german) << row;
        }
    }
    // Offline rows are drawn grey with a mark over the icon; the others as the list draws them.
    // Their tip names the volume.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(send(draw.nmcd.hdr, NM_CUSTOMDRAW), CDRF_NOTIFYITEMDRAW);
    for (int row : {0, online}) {
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = row;
        draw.clrText = CLR_DEFAULT;
        EXPECT_EQ(send(draw.nmcd.hdr, NM_CUSTOMDRAW), row == online ? CDRF_DODEFAULT : CDRF_NOTIFYPOSTPAINT);
        EXPECT_EQ(draw.clrText, row == online ? CLR_DEFAULT : GetSysColor(COLOR_GRAYTEXT));
        wchar_t text[200] = L"";
        NMLVGETINFOTIPW tip{};
        tip.dwFlags = LVGIT_UNFOLDED;
        tip.pszText = text;
        tip.cchTextMax = ARRAYSIZE(text);
        tip.iItem = row;
        send(tip.hdr, LVN_GETINFOTIPW);
        EXPECT_STREQ(text, row == online ? L"" : cases[0].english);
    }
}

} // namespace
