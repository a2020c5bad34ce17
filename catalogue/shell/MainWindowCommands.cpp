#include "MainWindow.h"

#include "../../common/Log.h"
#include "../catalogue/CategoryTree.h"
#include "../preview/PreviewPane.h"
#include "EnglishTexts.h"
#include "resource.h"

#include <commctrl.h>

namespace {

const int kMenuIds[] = {IDR_FILE_MENU, IDR_EDIT_MENU, IDR_VIEW_MENU,
                        IDR_LIST_MENU, IDR_TREE_MENU, IDR_LIST_BACKGROUND_MENU};

} // namespace

// One row per command: what it does, when it is enabled and when it carries a check mark.
// WM_COMMAND, the menus and the tool bar all read this table. A null handler marks a command
// whose feature is not there yet: it is listed and does nothing.
struct MainWindow::CommandEntry {
    int id;
    void (MainWindow::*handler)();
    bool (MainWindow::*enabled)() const; // null: always enabled
    bool (MainWindow::*checked)() const; // null: never checked
};

const MainWindow::CommandEntry* MainWindow::FindCommand(int id)
{
    using M = MainWindow;
    static const CommandEntry kCommands[] = {
        {IDM_OPEN, nullptr, nullptr, nullptr},
        {IDM_OPEN_WITH, nullptr, nullptr, nullptr},
        {IDM_MOVE, nullptr, nullptr, nullptr},
        {IDM_COPY, nullptr, nullptr, nullptr},
        {IDM_DELETE, nullptr, nullptr, nullptr},
        {IDM_RENAME, nullptr, nullptr, nullptr},
        {IDM_PROPERTIES, nullptr, nullptr, nullptr},
        {IDM_FILE_PROPERTIES, nullptr, nullptr, nullptr}, // no action in the file menu, by design
        {IDM_PRINT, nullptr, nullptr, nullptr},
        {IDM_EXIT, &M::Beenden3Click, nullptr, nullptr},
        {IDM_SELECT_ALL, &M::Alleauswhlen2Click, nullptr, nullptr},
        {IDM_INVERT_SELECTION, &M::Auswahlumkehren2Click, nullptr, nullptr},
        {IDM_GRID_LINES, &M::Rasterlinien1Click, nullptr, &M::GridLines},
        {IDM_ROW_SELECT, &M::ganzeZeielmarkieren1Click, nullptr, &M::RowSelect},
        {IDM_VIEW_LARGE, &M::GroeSymbole2Click, nullptr, &M::IsLargeIconView},
        {IDM_VIEW_SMALL, &M::KleineSymbole2Click, nullptr, &M::IsSmallIconView},
        {IDM_VIEW_LIST, &M::Liste2Click, nullptr, &M::IsListView},
        {IDM_VIEW_DETAILS, &M::Details2Click, nullptr, &M::IsDetailsView},
        {IDM_SORT_NAME, &M::NachName1Click, nullptr, &M::IsSortedByName},
        {IDM_SORT_TYPE, &M::NachTyp2Click, nullptr, &M::IsSortedByType},
        {IDM_SORT_SIZE, &M::NachGre1Click, nullptr, &M::IsSortedBySize},
        {IDM_SORT_DATE, &M::NachDatum2Click, nullptr, &M::IsSortedByDate},
        {IDM_SORT_PATH, &M::NachPfad1Click, nullptr, &M::IsSortedByPath},
        {IDM_SORT_NONE, nullptr, nullptr, nullptr},
        {IDM_SORT_ATTRIBUTES, &M::NachAttributen1Click, nullptr, &M::IsSortedByAttributes},
        {IDM_REFRESH, &M::RefreshList, nullptr, nullptr},
        {IDM_TREE_EXPAND_ALL, &M::ExpandAllNodes, nullptr, nullptr},
        {IDM_TREE_COLLAPSE_ALL, &M::CollapseAllNodes, nullptr, nullptr},
        {IDM_TREE_COLLAPSE_NODE, &M::CollapseNode, nullptr, nullptr},
        {IDM_TREE_EDIT_ENDINGS, nullptr, &M::CanEditEndings, nullptr},
        {IDM_SEARCH, nullptr, nullptr, nullptr},
        {IDM_PREVIEW, &M::TogglePreview, nullptr, &M::PreviewVisible},
        {IDM_OPTIONS, nullptr, nullptr, nullptr},
        {IDM_CLEAN_INTERNET_FILES, nullptr, nullptr, nullptr},
        {IDM_INFO, nullptr, nullptr, nullptr},
    };
    for (const CommandEntry& entry : kCommands)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

void MainWindow::OnCommand(int id)
{
    switch (id) {
    case IDM_TB_FILE:
    case IDM_TB_EDIT:
    case IDM_TB_VIEW:
        ShowToolbarMenu(id);
        return;
    default:
        ExecuteCommand(id);
    }
}

void MainWindow::ExecuteCommand(int id)
{
    const CommandEntry* entry = FindCommand(id);
    if (!entry || !IsCommandEnabled(id))
        return;
    if (entry->handler)
        (this->*entry->handler)();
    UpdateToolBar();
}

bool MainWindow::IsCommandEnabled(int id) const
{
    const CommandEntry* entry = FindCommand(id);
    return entry && (!entry->enabled || (this->*entry->enabled)());
}

bool MainWindow::IsCommandChecked(int id) const
{
    const CommandEntry* entry = FindCommand(id);
    return entry && entry->checked && (this->*entry->checked)();
}

void MainWindow::UpdateToolBar()
{
    int count = static_cast<int>(SendMessageW(m_toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(m_toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP || !FindCommand(button.idCommand))
            continue;
        SendMessageW(m_toolbar, TB_ENABLEBUTTON, button.idCommand, MAKELPARAM(IsCommandEnabled(button.idCommand), 0));
        SendMessageW(m_toolbar, TB_CHECKBUTTON, button.idCommand, MAKELPARAM(IsCommandChecked(button.idCommand), 0));
    }
}

void MainWindow::OnInitMenuPopup(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info) || (info.fType & MFT_SEPARATOR) || info.hSubMenu)
            continue;
        int id = static_cast<int>(info.wID);
        EnableMenuItem(menu, i, MF_BYPOSITION | (IsCommandEnabled(id) ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, i, MF_BYPOSITION | (IsCommandChecked(id) ? MF_CHECKED : MF_UNCHECKED));
    }
}

HMENU MainWindow::Menu(int menuId) const
{
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(kMenuIds)); ++i)
        if (kMenuIds[i] == menuId)
            return GetSubMenu(m_menus[i].Get(), 0);
    return nullptr;
}

void MainWindow::TrackMenu(int menuId, POINT screen)
{
    HMENU menu = Menu(menuId);
    if (!menu)
        return;
    // TPM_RETURNCMD keeps the command on this stack, so a test can close the menu safely.
    int command = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                 screen.y, 0, Hwnd(), nullptr);
    if (command)
        ExecuteCommand(command);
}

void MainWindow::ShowToolbarMenu(int commandId)
{
    int menuId = commandId == IDM_TB_FILE ? IDR_FILE_MENU : commandId == IDM_TB_EDIT ? IDR_EDIT_MENU : IDR_VIEW_MENU;
    // Below the button's lower left corner, where a drop-down menu belongs.
    RECT button{};
    SendMessageW(m_toolbar, TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(m_toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    SendMessageW(m_toolbar, TB_PRESSBUTTON, commandId, MAKELPARAM(TRUE, 0));
    TrackMenu(menuId, POINT{button.left, button.bottom});
    SendMessageW(m_toolbar, TB_PRESSBUTTON, commandId, MAKELPARAM(FALSE, 0));
}

void MainWindow::Beenden3Click()
{
    PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::TogglePreview()
{
    ShowPreviewPane(!m_previewVisible);
}

void MainWindow::Rasterlinien1Click()
{
    SetGridLines(!m_gridLines);
}

void MainWindow::ganzeZeielmarkieren1Click()
{
    SetRowSelect(!m_rowSelect);
}

void MainWindow::GroeSymbole2Click()
{
    SetViewStyle(ViewStyle::LargeIcons);
}

void MainWindow::KleineSymbole2Click()
{
    SetViewStyle(ViewStyle::SmallIcons);
}

void MainWindow::Liste2Click()
{
    SetViewStyle(ViewStyle::List);
}

void MainWindow::Details2Click()
{
    SetViewStyle(ViewStyle::Details);
}

void MainWindow::ExpandAllNodes()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    if (!root)
        return;
    RedrawGuard redraw(m_tree);
    TreeView_SelectItem(m_tree, root);
    for (HTREEITEM item : NodesInTreeOrder())
        TreeView_Expand(m_tree, item, TVE_EXPAND);
}

void MainWindow::CollapseAllNodes()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    if (!root)
        return;
    RedrawGuard redraw(m_tree);
    TreeView_SelectItem(m_tree, root);
    // The root alone: the nodes below keep their state for the root's next expansion.
    if (TreeView_GetItemState(m_tree, root, TVIS_EXPANDED) & TVIS_EXPANDED)
        TreeView_Expand(m_tree, root, TVE_COLLAPSE);
}

void MainWindow::CollapseNode()
{
    HTREEITEM item = TreeView_GetSelection(m_tree);
    if (!item)
        return;
    RedrawGuard redraw(m_tree);
    if (TreeView_GetItemState(m_tree, item, TVIS_EXPANDED) & TVIS_EXPANDED)
        TreeView_Expand(m_tree, item, TVE_COLLAPSE);
}

bool MainWindow::CanEditEndings() const
{
    // Built-in leaves only: not the groups, not the user-defined categories.
    HTREEITEM item = TreeView_GetSelection(m_tree);
    if (!item || TreeView_GetChild(m_tree, item))
        return false;
    int category = NodeCategory(item);
    return category >= 0 && category < CategoryTree::kBuiltInCount;
}

void MainWindow::ApplyMenuTexts(int menuId, const TextTable& table)
{
    // Walks the whole menu, submenus included, matching items by their ids: the popups of the
    // resource carry ids of their own for this.
    std::vector<HMENU> pending{Menu(menuId)};
    while (!pending.empty()) {
        HMENU menu = pending.back();
        pending.pop_back();
        int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_SUBMENU;
            if (!GetMenuItemInfoW(menu, i, TRUE, &info))
                continue;
            if (info.hSubMenu)
                pending.push_back(info.hSubMenu);
            if (const wchar_t* text = table.Find(static_cast<int>(info.wID))) {
                MENUITEMINFOW set{};
                set.cbSize = sizeof(set);
                set.fMask = MIIM_STRING;
                set.dwTypeData = const_cast<wchar_t*>(text);
                SetMenuItemInfoW(menu, i, TRUE, &set);
            }
        }
    }
}

void MainWindow::LanguageE()
{
    // Tree nodes in index order; nodes without an English name keep their text.
    for (HTREEITEM item : NodesInTreeOrder()) {
        int category = NodeCategory(item);
        if (category < 0 || category >= CategoryTree::kBuiltInCount)
            continue;
        if (const wchar_t* english = CategoryTree::EnglishName(category)) {
            TVITEMW tv{};
            tv.mask = TVIF_TEXT;
            tv.hItem = item;
            tv.pszText = const_cast<wchar_t*>(english);
            TreeView_SetItem(m_tree, &tv);
        }
    }

    ApplyMenuTexts(IDR_FILE_MENU, EnglishTexts::kFileMenu);
    ApplyMenuTexts(IDR_EDIT_MENU, EnglishTexts::kEditMenu);
    ApplyMenuTexts(IDR_VIEW_MENU, EnglishTexts::kViewMenu);
    ApplyMenuTexts(IDR_LIST_MENU, EnglishTexts::kListMenu);
    ApplyMenuTexts(IDR_TREE_MENU, EnglishTexts::kTreeMenu);
    ApplyMenuTexts(IDR_LIST_BACKGROUND_MENU, EnglishTexts::kListBackgroundMenu);

    SetWindowTextW(m_headerLabel, Text(IDS_FOLDER_LABEL).c_str());
    SetWindowTextW(m_tree, Text(IDS_TREE_NAME).c_str());
    SetWindowTextW(m_list, Text(IDS_LIST_NAME).c_str());
    m_preview->SetHeading(Text(IDS_PREVIEW_HEADING));
    // The tool bar hints are looked up in the current language when they are shown.
}

void MainWindow::NewListView1()
{
    static const struct {
        int format;
        int width;
    } kColumns[kColumnCount] = {
        {LVCFMT_LEFT, 170}, {LVCFMT_LEFT, 120}, {LVCFMT_RIGHT, 77},
        {LVCFMT_RIGHT, 71}, {LVCFMT_RIGHT, 76}, {LVCFMT_RIGHT, 65},
    };
    // Called again after the options dialog: start from no columns rather than add six more.
    while (ListView_DeleteColumn(m_list, 0)) {
    }
    for (int i = 0; i < kColumnCount; ++i) {
        std::wstring caption = Text(IDS_COLUMN_BASE + i);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = Scale(kColumns[i].width);
        column.pszText = &caption[0];
        column.iSubItem = i;
        ListView_InsertColumn(m_list, i, &column);
    }
    if (m_markerShown)
        ShowSortMarker();
}
