#include "DestinationTree.h"

#include "common/Log.h"
#include "common/UniqueHandle.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

constexpr const wchar_t* kMyComputer = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

struct Child {
    std::wstring caption;
    PIDLIST_ABSOLUTE pidl;
    bool hasSubfolders;
};

PIDLIST_ABSOLUTE ItemPidl(HWND tree, HTREEITEM item)
{
    TVITEMW tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!item || !TreeView_GetItem(tree, &tv))
        return nullptr;
    return reinterpret_cast<PIDLIST_ABSOLUTE>(tv.lParam);
}

int IconOf(PCIDLIST_ABSOLUTE pidl, bool open)
{
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof(info), flags);
    return info.iIcon;
}

// The folder object of a node, or the desktop for the top level.
ComPtr<IShellFolder> FolderOf(PCIDLIST_ABSOLUTE pidl)
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return {};
    if (!pidl)
        return desktop;
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(reinterpret_cast<PCUIDLIST_RELATIVE>(pidl), nullptr, IID_PPV_ARGS(folder.Put()))))
        return {};
    return folder;
}

} // namespace

DestinationTree::~DestinationTree()
{
    // Items still in the tree own their PIDLs; the tree may already be gone with its page.
    if (m_tree && IsWindow(m_tree))
        TreeView_DeleteAllItems(m_tree);
}

void DestinationTree::InitTree(HWND tree)
{
    m_tree = tree;
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    // The system image list is shared; the tree must not destroy it (it never does for
    // TVSIL_NORMAL lists set by the parent).
    TreeView_SetImageList(tree, images, TVSIL_NORMAL);
}

void DestinationTree::FillTreeView()
{
    TreeView_DeleteAllItems(m_tree);
    AddChildren(TVI_ROOT);
}

void DestinationTree::AddChildren(HTREEITEM parent)
{
    PIDLIST_ABSOLUTE parentPidl = parent == TVI_ROOT ? nullptr : ItemPidl(m_tree, parent);
    ComPtr<IShellFolder> folder = FolderOf(parentPidl);
    if (!folder)
        return;
    ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(GetParent(m_tree), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.Put()) != S_OK)
        return;
    std::vector<Child> children;
    PITEMID_CHILD child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
        PCUITEMID_CHILD one[] = {child};
        folder->GetAttributesOf(1, one, &attributes);
        STRRET name{};
        wchar_t caption[MAX_PATH] = L"";
        if (SUCCEEDED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER, &name)))
            StrRetToBufW(&name, child, caption, MAX_PATH);
        if (attributes & SFGAO_FOLDER) {
            children.push_back({caption, ILCombine(parentPidl, child), (attributes & SFGAO_HASSUBFOLDER) != 0});
        }
        CoTaskMemFree(child);
    }
    // Sorted by caption, except right below My Computer, where the shell's order (the drives
    // in order) is kept. My Computer is found by its shell name: once the top level is sorted
    // it need not be the first node.
    bool keepOrder = parent != TVI_ROOT && lstrcmpiW(PathOf(parent).c_str(), kMyComputer) == 0;
    if (!keepOrder) {
        std::stable_sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
            return lstrcmpiW(a.caption.c_str(), b.caption.c_str()) < 0;
        });
    }
    for (Child& c : children) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
        insert.item.pszText = &c.caption[0];
        insert.item.lParam = reinterpret_cast<LPARAM>(c.pidl);
        insert.item.iImage = IconOf(c.pidl, false);
        insert.item.iSelectedImage = IconOf(c.pidl, true);
        insert.item.cChildren = c.hasSubfolders ? 1 : 0;
        if (!TreeView_InsertItem(m_tree, &insert))
            CoTaskMemFree(c.pidl);
    }
}

void DestinationTree::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != m_tree)
        return;
    const auto& view = reinterpret_cast<const NMTREEVIEWW&>(header);
    switch (header.code) {
    case TVN_ITEMEXPANDINGW:
        if (view.action == TVE_EXPAND && !TreeView_GetChild(m_tree, view.itemNew.hItem))
            AddChildren(view.itemNew.hItem);
        break;
    case TVN_ITEMEXPANDEDW:
        // Collapsing forgets the children; the next expand reads them again.
        if (view.action == TVE_COLLAPSE) {
            TreeView_Expand(m_tree, view.itemNew.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
            TVITEMW tv{};
            tv.mask = TVIF_CHILDREN;
            tv.hItem = view.itemNew.hItem;
            tv.cChildren = 1;
            TreeView_SetItem(m_tree, &tv);
        }
        break;
    case TVN_DELETEITEMW:
        CoTaskMemFree(reinterpret_cast<void*>(view.itemOld.lParam));
        break;
    default:
        break;
    }
}

std::wstring DestinationTree::PathOf(HTREEITEM item) const
{
    PIDLIST_ABSOLUTE pidl = ItemPidl(m_tree, item);
    ComPtr<IShellFolder> desktop;
    if (!pidl || FAILED(SHGetDesktopFolder(desktop.Put())))
        return L"";
    STRRET name{};
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(desktop->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(pidl), SHGDN_FORPARSING, &name)))
        return L"";
    StrRetToBufW(&name, reinterpret_cast<PCUITEMID_CHILD>(pidl), path, MAX_PATH);
    return path;
}

HTREEITEM DestinationTree::FindChild(HTREEITEM parent, const std::wstring& caption) const
{
    HTREEITEM item = parent ? TreeView_GetChild(m_tree, parent) : TreeView_GetRoot(m_tree);
    for (; item; item = TreeView_GetNextSibling(m_tree, item)) {
        wchar_t text[MAX_PATH] = L"";
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = MAX_PATH;
        TreeView_GetItem(m_tree, &tv);
        if (caption == text)
            return item;
    }
    return nullptr;
}
