#include "Controls.h"

bool StatusBar::Create(HWND parent, int id, const std::vector<int>& widths)
{
    m_hwnd = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                             ControlId(id), GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd)
        return false;
    SetWidths(widths);
    return true;
}

void StatusBar::SetWidths(const std::vector<int>& widths) const
{
    std::vector<int> edges;
    int right = 0;
    for (int width : widths)
        edges.push_back(right += width);
    SendMessageW(m_hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetText(int part, const std::wstring& text) const
{
    SendMessageW(m_hwnd, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::SetOwnerDrawn(int part) const
{
    SendMessageW(m_hwnd, SB_SETTEXTW, part | SBT_OWNERDRAW, 0);
}

std::wstring StatusBar::Text(int part) const
{
    const int length = LOWORD(SendMessageW(m_hwnd, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(m_hwnd, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

std::wstring TreeItemText(HWND tree, HTREEITEM item)
{
    wchar_t text[256] = L"";
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = ARRAYSIZE(text);
    TreeView_GetItem(tree, &tv);
    return text;
}

int TreeItemImage(HWND tree, HTREEITEM item)
{
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    return TreeView_GetItem(tree, &tv) ? tv.iImage : -1;
}

void SetTreeItemText(HWND tree, HTREEITEM item, const std::wstring& text)
{
    std::wstring buffer = text;
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = &buffer[0];
    TreeView_SetItem(tree, &tv);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM item)
{
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = item ? TreeView_GetChild(tree, item) : TreeView_GetRoot(tree); child;
         child = TreeView_GetNextSibling(tree, child))
        children.push_back(child);
    return children;
}

std::vector<HTREEITEM> TreeItemsInOrder(HWND tree)
{
    std::vector<HTREEITEM> order;
    std::vector<HTREEITEM> pending; // a stack: the next item to visit is at the back
    auto pushChildren = [&](HTREEITEM parent) {
        std::vector<HTREEITEM> children = TreeChildren(tree, parent);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    };
    pushChildren(nullptr);
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        order.push_back(item);
        pushChildren(item);
    }
    return order;
}

bool TreeItemExpanded(HWND tree, HTREEITEM item)
{
    return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

std::vector<int> SelectedRows(HWND list)
{
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(ListView_GetSelectedCount(list)));
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void SelectAllRows(HWND list, bool selected)
{
    ListView_SetItemState(list, -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void ApplyMenuTexts(HMENU menu, const TextTable& table)
{
    std::vector<HMENU> pending{menu};
    while (!pending.empty()) {
        HMENU current = pending.back();
        pending.pop_back();
        const int count = GetMenuItemCount(current);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_SUBMENU;
            if (!GetMenuItemInfoW(current, i, TRUE, &info))
                continue;
            if (info.hSubMenu)
                pending.push_back(info.hSubMenu);
            if (const wchar_t* text = table.Find(static_cast<int>(info.wID))) {
                MENUITEMINFOW set{};
                set.cbSize = sizeof(set);
                set.fMask = MIIM_STRING;
                set.dwTypeData = const_cast<wchar_t*>(text);
                SetMenuItemInfoW(current, i, TRUE, &set);
            }
        }
    }
}
