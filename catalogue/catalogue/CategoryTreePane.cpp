#include "CategoryTreePane.h"

#include "../../common/Controls.h"
#include "../../common/Log.h"
#include "../../common/WindowFit.h"
#include "../options/EndingsEditor.h"
#include "CatalogueIds.h"
#include "CatalogueTexts.h"
#include "CategoryTree.h"
#include "ProgramIds.h"

#include <shellapi.h>

#include <algorithm>

bool CategoryTreePane::Create(HWND parent, int dpi, std::function<void()> onSelect)
{
    m_onSelect = std::move(onSelect);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_menu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TREE_MENU)));
    if (!m_menu)
        return Log::LastError(L"tree", L"LoadMenuW");

    m_headerPicture = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 0, 0, 0,
                                      parent, ControlId(IDC_TREE_HEADER_PICTURE), instance, nullptr);
    m_headerLabel = CreateWindowExW(0, L"STATIC", m_program.Text(IDS_FOLDER_LABEL).c_str(),
                                    WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0, parent,
                                    ControlId(IDC_TREE_HEADER_LABEL), instance, nullptr);
    // The window text is not shown: it is the name screen readers say.
    m_tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, m_program.Text(IDS_TREE_NAME).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_SHOWSELALWAYS |
                                 TVS_FULLROWSELECT | TVS_DISABLEDRAGDROP,
                             0, 0, 0, 0, parent, ControlId(IDC_TREE), instance, nullptr);
    if (!m_tree)
        return Log::LastError(L"tree", L"CreateWindowExW");
    SendMessageW(m_tree, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetDpi(dpi);

    HTREEITEM parents[8] = {TVI_ROOT};
    const DesignedNode* nodes = CategoryTree::Nodes();
    for (size_t i = 0; i < CategoryTree::NodeCount(); ++i) {
        const DesignedNode& node = nodes[i];
        HTREEITEM item = InsertNode(parents[node.depth], CategoryName(node.categoryId), node.categoryId);
        if (node.depth + 1 < static_cast<int>(ARRAYSIZE(parents)))
            parents[node.depth + 1] = item;
    }
    return true;
}

void CategoryTreePane::SetDpi(int dpi)
{
    // The pictures are drawn at 16, 20, 24 and 32 pixels for the tree and at 32, 40, 48 and 64
    // for the header and the group view: scaled ones would be blurred.
    m_smallSize = BestPictureSize(ScaleToDpi(16, dpi), {16, 20, 24, 32});
    m_largeSize = BestPictureSize(ScaleToDpi(32, dpi), {32, 40, 48, 64});
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // User categories append their pictures later.
    m_imagesSmall.Reset(
        ImageList_Create(m_smallSize, m_smallSize, ILC_COLOR32 | ILC_MASK, CategoryTree::kBuiltInCount, 8));
    m_imagesLarge.Reset(
        ImageList_Create(m_largeSize, m_largeSize, ILC_COLOR32 | ILC_MASK, CategoryTree::kBuiltInCount, 8));
    for (int i = 0; i < CategoryTree::kBuiltInCount; ++i)
        for (bool large : {false, true}) {
            const int size = large ? m_largeSize : m_smallSize;
            UniqueHIcon icon(static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(IDI_CATEGORY_BASE + i), IMAGE_ICON, size, size, 0)));
            ImageList_AddIcon(Images(large), icon.Get());
        }
    for (size_t k = 0; k < m_userIcons.size(); ++k)
        AddUserPicture(CategoryTree::kBuiltInCount + static_cast<int>(k), m_userIcons[k]);
    TreeView_SetImageList(m_tree, m_imagesSmall.Get(), TVSIL_NORMAL);
    TreeView_SetIndent(m_tree, ScaleToDpi(19, dpi));

    // The control shows the old icon until it has the new one.
    UniqueHIcon headerIcon(ImageList_GetIcon(m_imagesLarge.Get(), CategoryTree::kRootId, ILD_NORMAL));
    SendMessageW(m_headerPicture, STM_SETICON, reinterpret_cast<WPARAM>(headerIcon.Get()), 0);
    m_headerIcon = std::move(headerIcon);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(10, dpi, 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Comic Sans MS", LF_FACESIZE);
    m_headerFont.Reset(CreateFontIndirectW(&lf));
    SendMessageW(m_headerLabel, WM_SETFONT, reinterpret_cast<WPARAM>(m_headerFont.Get()), TRUE);
    if (TreeView_GetCount(m_tree) > 0)
        ShowSelectionInHeader();
}

void CategoryTreePane::AddUserPicture(int id, const std::wstring& iconSource)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (bool large : {false, true}) {
        const int size = large ? m_largeSize : m_smallSize;
        UniqueHIcon icon;
        if (iconSource == L"Default") {
            icon.Reset(
                static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, size, size, 0)));
        } else {
            // The shell's own sizes; the image list scales them to its own.
            SHFILEINFOW info{};
            if (SHGetFileInfoW(iconSource.c_str(), 0, &info, sizeof(info),
                               SHGFI_ICON | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON)))
                icon.Reset(info.hIcon);
        }
        // The picture's index must equal the category id, also when the icon cannot be read:
        // then a blank picture holds its place.
        HIMAGELIST list = Images(large);
        if (ImageList_GetImageCount(list) != id)
            ImageList_SetImageCount(list, id);
        if (!icon || ImageList_ReplaceIcon(list, -1, icon.Get()) < 0)
            ImageList_SetImageCount(list, id + 1);
    }
}

void CategoryTreePane::AddCommands(CommandTable& commands)
{
    commands.Add({IDM_TREE_EXPAND_ALL, [this] { ExpandAll(); }, {}, {}});
    commands.Add({IDM_TREE_COLLAPSE_ALL, [this] { CollapseAll(); }, {}, {}});
    commands.Add({IDM_TREE_COLLAPSE_NODE, [this] { CollapseNode(); }, {}, {}});
    commands.Add({IDM_TREE_EDIT_ENDINGS, [this] { Dateiendungenbearbeiten1Click(m_program, Category(Selected())); },
                  [this] { return CanEditEndings(); }, {}});
}

bool CategoryTreePane::OnNotify(const NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case NM_RCLICK:
        ShowContextMenu();
        result = TRUE;
        return true;
    case TVN_SELCHANGEDW:
        if (m_onSelect)
            m_onSelect();
        result = 0;
        return true;
    default:
        return false;
    }
}

std::wstring CategoryTreePane::CategoryName(int categoryId) const
{
    if (m_program.English())
        if (const wchar_t* english = CategoryTree::EnglishName(categoryId))
            return english;
    return m_program.Text(IDS_CATEGORY_BASE + categoryId);
}

int CategoryTreePane::Category(HTREEITEM node) const
{
    return TreeItemImage(m_tree, node);
}

std::wstring CategoryTreePane::NodeText(HTREEITEM node) const
{
    return TreeItemText(m_tree, node);
}

std::vector<HTREEITEM> CategoryTreePane::Children(HTREEITEM node) const
{
    return node ? TreeChildren(m_tree, node) : std::vector<HTREEITEM>();
}

std::vector<int> CategoryTreePane::LeafCategories() const
{
    std::vector<int> ids;
    for (HTREEITEM node : TreeItemsInOrder(m_tree))
        if (!IsGroup(node))
            ids.push_back(Category(node));
    return ids;
}

void CategoryTreePane::Select(HTREEITEM node)
{
    TreeView_SelectItem(m_tree, node);
}

void CategoryTreePane::SelectRoot()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    TreeView_SelectItem(m_tree, root);
    TreeView_Expand(m_tree, root, TVE_EXPAND);
}

void CategoryTreePane::ShowSelectionInHeader()
{
    HTREEITEM node = Selected();
    if (!node)
        return;
    SetWindowTextW(m_headerLabel, NodeText(node).c_str());
    const int category = Category(node);
    if (category < 0 || category >= ImageList_GetImageCount(m_imagesLarge.Get()))
        return;
    UniqueHIcon icon(ImageList_GetIcon(m_imagesLarge.Get(), category, ILD_NORMAL));
    if (!icon)
        return;
    SendMessageW(m_headerPicture, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    m_headerIcon = std::move(icon);
}

HTREEITEM CategoryTreePane::InsertNode(HTREEITEM parent, const std::wstring& text, int categoryId)
{
    std::wstring buffer = text;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = &buffer[0];
    insert.item.iImage = insert.item.iSelectedImage = categoryId;
    insert.item.lParam = categoryId;
    return TreeView_InsertItem(m_tree, &insert);
}

void CategoryTreePane::DeleteNodesAfterSearch()
{
    // The designed tree ends at the search node; whatever follows it in tree order was added at
    // run time and goes.
    const std::wstring searchText = CategoryName(CategoryTree::kSearchId);
    const std::vector<HTREEITEM> order = TreeItemsInOrder(m_tree);
    size_t search = order.size();
    for (size_t i = 0; i < order.size() && search == order.size(); ++i)
        if (NodeText(order[i]) == searchText)
            search = i;
    // Later nodes in tree order are never ancestors of earlier ones, so deleting from the end
    // never deletes a node twice.
    for (size_t i = order.size(); i-- > search + 1;)
        TreeView_DeleteItem(m_tree, order[i]);
}

size_t CategoryTreePane::AppendUserCategoryNodes(const std::vector<UserCategory>& categories)
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    const size_t limit = CategoryTree::kCategoryCount - CategoryTree::kBuiltInCount;
    // The ids end at 99: categories beyond the 53rd are refused, and the user is told which.
    if (categories.size() > limit) {
        std::wstring refused;
        for (size_t k = limit; k < categories.size(); ++k)
            refused += L"\n" + categories[k].name;
        MessageBoxW(GetForegroundWindow(), (m_program.Text(IDS_TOO_MANY_CATEGORIES) + refused).c_str(),
                    m_program.Text(IDS_NOTE_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
    }
    const size_t count = std::min(categories.size(), limit);
    m_userIcons.clear();
    for (size_t k = 0; k < count; ++k) {
        const int id = CategoryTree::kBuiltInCount + static_cast<int>(k);
        m_userIcons.push_back(SplitUserDefinition(categories[k].definition).icon);
        AddUserPicture(id, m_userIcons.back());
        InsertNode(root, categories[k].name, id);
    }
    return count;
}

void CategoryTreePane::ApplyEnglish()
{
    // Nodes without an English name keep their text.
    for (HTREEITEM node : TreeItemsInOrder(m_tree)) {
        const int category = Category(node);
        if (category < 0 || category >= CategoryTree::kBuiltInCount)
            continue;
        if (const wchar_t* english = CategoryTree::EnglishName(category))
            SetTreeItemText(m_tree, node, english);
    }
    ApplyMenuTexts(m_menu.Get(), CatalogueTexts::kTreeMenu);
    SetWindowTextW(m_headerLabel, m_program.Text(IDS_FOLDER_LABEL).c_str());
    SetWindowTextW(m_tree, m_program.Text(IDS_TREE_NAME).c_str());
}

void CategoryTreePane::ShowContextMenu()
{
    POINT screen;
    GetCursorPos(&screen);
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(m_tree, &hit.pt);
    HTREEITEM item = TreeView_HitTest(m_tree, &hit);
    if (!item || !(hit.flags & TVHT_ONITEM)) {
        TreeView_SelectItem(m_tree, nullptr);
        return;
    }
    TreeView_SelectItem(m_tree, item);
    m_program.TrackMenu(Menu(), screen);
}

void CategoryTreePane::ExpandAll()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    if (!root)
        return;
    RedrawGuard redraw(m_tree);
    TreeView_SelectItem(m_tree, root);
    for (HTREEITEM item : TreeItemsInOrder(m_tree))
        TreeView_Expand(m_tree, item, TVE_EXPAND);
}

void CategoryTreePane::CollapseAll()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    if (!root)
        return;
    RedrawGuard redraw(m_tree);
    TreeView_SelectItem(m_tree, root);
    // The root alone: the nodes below keep their state for the root's next expansion.
    if (TreeItemExpanded(m_tree, root))
        TreeView_Expand(m_tree, root, TVE_COLLAPSE);
}

void CategoryTreePane::CollapseNode()
{
    HTREEITEM item = Selected();
    if (!item)
        return;
    RedrawGuard redraw(m_tree);
    if (TreeItemExpanded(m_tree, item))
        TreeView_Expand(m_tree, item, TVE_COLLAPSE);
}

bool CategoryTreePane::CanEditEndings() const
{
    // Built-in leaves only: not the groups, not the user-defined categories.
    HTREEITEM item = Selected();
    if (!item || IsGroup(item))
        return false;
    const int category = Category(item);
    return category >= 0 && category < CategoryTree::kBuiltInCount;
}
