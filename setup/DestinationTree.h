#pragma once
// The destination page's folder tree: the shell namespace from the desktop, folders only
// (hidden ones too), read when a node is expanded and forgotten when it is collapsed.

#include <windows.h>
#include <commctrl.h>

#include <string>

class DestinationTree {
public:
    DestinationTree() = default;
    ~DestinationTree();
    DestinationTree(const DestinationTree&) = delete;
    DestinationTree& operator=(const DestinationTree&) = delete;

    // Takes the tree control and gives it the shell's small icons; FillTreeView then reads
    // the top level.
    void InitTree(HWND tree);
    void FillTreeView();

    // Handles the tree's notifications: expanding, collapsing, deleting items.
    void OnNotify(const NMHDR& header);

    // The parse name of a node's folder: a file system path, or a shell name such as
    // "::{20D04FE0-...}" for My Computer.
    std::wstring PathOf(HTREEITEM item) const;
    // The node with this caption among the children of parent (the top level for null).
    HTREEITEM FindChild(HTREEITEM parent, const std::wstring& caption) const;

private:
    void AddChildren(HTREEITEM parent);

    HWND m_tree = nullptr;
};
