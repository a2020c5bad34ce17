#pragma once
// Resource ids of the category tree pane, within the program's ranges
// (see ../shell/resource.h).

#define IDI_CATEGORY_BASE 200 // + category id, 0..46
#define IDR_TREE_MENU 504
#define IDC_TREE_HEADER_PICTURE 1003
#define IDC_TREE_HEADER_LABEL 1004
#define IDC_TREE 1005
#define IDS_FOLDER_LABEL 2002
#define IDS_TOO_MANY_CATEGORIES 2063
#define IDS_TREE_NAME 2068
#define IDS_CATEGORY_BASE 3000   // + category id, 0..46
#define IDM_TREE_EXPAND_ALL 40028
#define IDM_TREE_COLLAPSE_ALL 40029
#define IDM_TREE_COLLAPSE_NODE 40030
#define IDM_TREE_EDIT_ENDINGS 40031
