#pragma once
// The category tree pane: the header strip with the selected node's picture and text, and the
// tree of categories with its pictures, context menu and commands. A node's category id is its
// picture index.

#include "../../common/CommandTable.h"
#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "CatalogueModel.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class CategoryTreePane {
public:
    explicit CategoryTreePane(Program& program) : m_program(program) {}

    // onSelect is called when the user selects another node.
    bool Create(HWND parent, int dpi, std::function<void()> onSelect);
    void AddCommands(CommandTable& commands);
    // WM_NOTIFY from the tree; true when handled, with the result in result.
    bool OnNotify(const NMHDR& header, LRESULT& result);

    HWND Hwnd() const { return m_tree; }
    HWND HeaderPicture() const { return m_headerPicture; }
    HWND HeaderLabel() const { return m_headerLabel; }
    // The pictures, the header's font and the indent drawn anew for another scale.
    void SetDpi(int dpi);
    // The category pictures, small (16 pixels at 100 %) or large (32), numbered like the
    // categories.
    HIMAGELIST Images(bool large) const { return large ? m_imagesLarge.Get() : m_imagesSmall.Get(); }
    HMENU Menu() const { return GetSubMenu(m_menu.Get(), 0); }

    std::wstring CategoryName(int categoryId) const;
    HTREEITEM Selected() const { return TreeView_GetSelection(m_tree); }
    // A group is a node with children; its list shows the child categories.
    bool IsGroup(HTREEITEM node) const { return node && TreeView_GetChild(m_tree, node); }
    int Category(HTREEITEM node) const;
    std::wstring NodeText(HTREEITEM node) const;
    std::vector<HTREEITEM> Children(HTREEITEM node) const;
    // The categories of the leaves, in tree order.
    std::vector<int> LeafCategories() const;
    void Select(HTREEITEM node);
    void SelectRoot();
    // The selected node's picture and text in the header strip.
    void ShowSelectionInHeader();

    // Nodes added at run time (after the search node) go; the user categories come after it.
    void DeleteNodesAfterSearch();
    // One node per user category, up to the free ids; the user is told which were left out.
    // Returns how many were added.
    size_t AppendUserCategoryNodes(const std::vector<UserCategory>& categories);
    void ApplyEnglish();

private:
    HTREEITEM InsertNode(HTREEITEM parent, const std::wstring& text, int categoryId);
    void ShowContextMenu();
    void ExpandAll();
    void CollapseAll();
    void CollapseNode();
    bool CanEditEndings() const;
    // The two pictures of the user category id: its icon file's, or the program's for "Default".
    void AddUserPicture(int id, const std::wstring& iconSource);

    Program& m_program;
    std::function<void()> m_onSelect;
    HWND m_headerPicture = nullptr;
    HWND m_headerLabel = nullptr;
    HWND m_tree = nullptr;
    UniqueImageList m_imagesSmall;
    UniqueImageList m_imagesLarge;
    int m_smallSize = 16;
    int m_largeSize = 32;
    std::vector<std::wstring> m_userIcons; // of the user categories shown, in id order
    UniqueHFont m_headerFont;
    UniqueHIcon m_headerIcon;
    UniqueHMenu m_menu;
};
