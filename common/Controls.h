#pragma once
// Thin wrappers for the common controls: the calls the program makes in many places, each
// written once.

#include "ControlText.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// A child window's id, in the menu parameter of CreateWindowExW.
inline HMENU ControlId(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// A status bar with parts of fixed widths.
class StatusBar {
public:
    // widths: the part widths in pixels, left to right.
    bool Create(HWND parent, int id, const std::vector<int>& widths);
    void SetWidths(const std::vector<int>& widths) const;
    HWND Hwnd() const { return m_hwnd; }
    void SetText(int part, const std::wstring& text) const;
    // A part the parent draws (WM_DRAWITEM).
    void SetOwnerDrawn(int part) const;
    std::wstring Text(int part) const;

private:
    HWND m_hwnd = nullptr;
};

// Tree view items.
std::wstring TreeItemText(HWND tree, HTREEITEM item);
int TreeItemImage(HWND tree, HTREEITEM item); // -1 when the item is gone
void SetTreeItemText(HWND tree, HTREEITEM item, const std::wstring& text);
// The children of item (of the root when item is null), in order.
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM item);
// Every item of the tree, each before its children, siblings in order.
std::vector<HTREEITEM> TreeItemsInOrder(HWND tree);
bool TreeItemExpanded(HWND tree, HTREEITEM item);

// List view rows.
std::vector<int> SelectedRows(HWND list); // ascending
// Selects (or unselects) every row at once.
void SelectAllRows(HWND list, bool selected);

// Puts each text of the table into the item of menu (submenus included) with the same id; the
// popups of a menu resource carry ids of their own for this.
void ApplyMenuTexts(HMENU menu, const TextTable& table);
