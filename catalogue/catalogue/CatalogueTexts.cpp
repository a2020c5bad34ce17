#include "CatalogueTexts.h"

#include "CatalogueIds.h"

namespace CatalogueTexts {

namespace {

const ControlText treeMenu[] = {
    {IDM_TREE_EXPAND_ALL, L"open all nodes"},
    {IDM_TREE_COLLAPSE_ALL, L"close all nodes "},
    {IDM_TREE_COLLAPSE_NODE, L"close node"},
    {IDM_TREE_EDIT_ENDINGS, L"change file ending"},
};

const ControlText strings[] = {
    {IDS_FOLDER_LABEL, L"Folder"},
    {IDS_TOO_MANY_CATEGORIES, L"At most 53 user-defined categories can be kept. These categories are left out:"},
    {IDS_TREE_NAME, L"Categories"},
};

} // namespace

const TextTable kTreeMenu = MakeTable(treeMenu);
const TextTable kStrings = MakeTable(strings);

} // namespace CatalogueTexts
