#include "catalogue/catalogue/CategoryTree.h"
#include "catalogue/shell/EnglishTexts.h"
#include "catalogue/shell/resource.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(EnglishTexts, NoTableNamesAnIdTwice)
{
    const TextTable tables[] = {
        EnglishTexts::kStartupDialog,     EnglishTexts::kDriveDialog,        EnglishTexts::kScanProgressDialog,
        EnglishTexts::kWaitDialogAtStart, EnglishTexts::kWaitDialogAtClose,  EnglishTexts::kFileMenu,
        EnglishTexts::kEditMenu,          EnglishTexts::kViewMenu,           EnglishTexts::kListMenu,
        EnglishTexts::kTreeMenu,          EnglishTexts::kListBackgroundMenu, EnglishTexts::kStrings,
    };
    for (const TextTable& table : tables) {
        std::set<int> seen;
        for (const ControlText& t : table) {
            EXPECT_TRUE(seen.insert(t.id).second) << "id " << t.id << " twice";
            EXPECT_NE(std::wstring(t.text), L"");
        }
    }
}

struct TextCase {
    const TextTable* table;
    int id;
    const wchar_t* expected; // nullptr: the German text stays
};

TEST(EnglishTexts, TextsAsTheyMustAppear)
{
    // Blanks and odd spellings are part of the texts users know.
    const TextCase cases[] = {
        {&EnglishTexts::kStartupDialog, 0, L"Select DriveType"},
        {&EnglishTexts::kStartupDialog, IDC_STARTUP_GROUP, L"Scan selected DriveTypes "},
        {&EnglishTexts::kDriveDialog, 0, L"Select Drives"},
        {&EnglishTexts::kScanProgressDialog, IDC_SCAN_NOTE, L"This might take several minutes "},
        {&EnglishTexts::kWaitDialogAtStart, IDC_WAIT_LOWER, L"Loading fileinformation"},
        {&EnglishTexts::kWaitDialogAtClose, IDC_WAIT_TITLE, L"Save Settings "},
        {&EnglishTexts::kWaitDialogAtClose, IDC_WAIT_LOWER, nullptr},
        {&EnglishTexts::kTreeMenu, IDM_TREE_COLLAPSE_ALL, L"close all nodes "},
        {&EnglishTexts::kListMenu, IDM_PROPERTIES, L"Properties."},
        {&EnglishTexts::kFileMenu, IDM_FILE_PROPERTIES, L"Properties "},
        {&EnglishTexts::kListMenu, IDM_PRINT, nullptr}, // "Drucken" in both languages
        {&EnglishTexts::kFileMenu, IDM_PRINT, L"Print list"},
        {&EnglishTexts::kViewMenu, IDM_SORT_NAME, L"name"},
        {&EnglishTexts::kListBackgroundMenu, IDM_SORT_NAME, L"By name"},
        {&EnglishTexts::kViewMenu, IDM_ROW_SELECT, L"RowSelect "},
        {&EnglishTexts::kStrings, IDS_TIP_SEARCH, L"Search "},
        {&EnglishTexts::kStrings, IDS_TIP_CLEAN, L"Empty folder 'Temporary Internet Files'"},
        {&EnglishTexts::kStrings, IDS_TIP_INFO, nullptr},
        {&EnglishTexts::kStrings, IDS_TIP_DELETE, nullptr},
        {&EnglishTexts::kStrings, IDS_PREVIEW_HEADING, L"Preview"},
        {&EnglishTexts::kStrings, IDS_COLUMN_BASE + 3, L"Size(KB)"},
        {&EnglishTexts::kStrings, IDS_DRIVE_TYPE_BASE + 2, L"Drive CDrom"},
    };
    for (const TextCase& c : cases) {
        const wchar_t* found = c.table->Find(c.id);
        if (!c.expected)
            EXPECT_EQ(found, nullptr) << "id " << c.id;
        else
            EXPECT_EQ(std::wstring(found ? found : L"(none)"), c.expected) << "id " << c.id;
    }
}

TEST(CategoryTree, DesignedTreeShape)
{
    const DesignedNode* nodes = CategoryTree::Nodes();
    const size_t count = CategoryTree::NodeCount();
    ASSERT_EQ(count, 43u) << "47 pictures, of which ids 19, 32, 33 and 40 have no node";
    EXPECT_EQ(nodes[0].categoryId, CategoryTree::kRootId);
    EXPECT_EQ(nodes[0].depth, 0);
    EXPECT_EQ(nodes[count - 1].categoryId, CategoryTree::kSearchId) << "the search node ends the designed tree";
    std::set<int> ids;
    for (size_t i = 0; i < count; ++i) {
        EXPECT_TRUE(ids.insert(nodes[i].categoryId).second) << "id " << nodes[i].categoryId << " twice";
        EXPECT_LT(nodes[i].categoryId, CategoryTree::kBuiltInCount);
        if (i > 0) {
            EXPECT_GE(nodes[i].depth, 1);
            EXPECT_LE(nodes[i].depth, nodes[i - 1].depth + 1) << "a child follows its parent";
        }
    }
    for (int unused : {19, 32, 33, 40})
        EXPECT_EQ(ids.count(unused), 0u);
}

TEST(CategoryTree, GroupsHoldTheirChildren)
{
    // Parent of each node: the nearest earlier node one level up.
    const DesignedNode* nodes = CategoryTree::Nodes();
    auto parentOf = [&](int id) {
        for (size_t i = 0; i < CategoryTree::NodeCount(); ++i)
            if (nodes[i].categoryId == id)
                for (size_t j = i; j-- > 0;)
                    if (nodes[j].depth == nodes[i].depth - 1)
                        return nodes[j].categoryId;
        return -1;
    };
    const int pairs[][2] = {{3, 2},   {15, 2},  {17, 16}, {18, 16}, {36, 35}, {37, 36}, {38, 36},
                            {39, 35}, {41, 35}, {23, 22}, {45, 22}, {46, 0},  {31, 0},  {1, 0}};
    for (const auto& pair : pairs)
        EXPECT_EQ(parentOf(pair[0]), pair[1]) << "category " << pair[0];
}

TEST(CategoryTree, EnglishNamesOnlyWhereTheyDiffer)
{
    const int english[] = {1, 5, 10, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 34, 44, 45, 46};
    std::set<int> withName(std::begin(english), std::end(english));
    for (int id = 0; id < CategoryTree::kBuiltInCount; ++id)
        EXPECT_EQ(CategoryTree::EnglishName(id) != nullptr, withName.count(id) == 1) << "category " << id;
    EXPECT_EQ(std::wstring(CategoryTree::EnglishName(46)), L"Search");
    EXPECT_EQ(std::wstring(CategoryTree::EnglishName(16)), L"Cursor&Symbols");
    EXPECT_EQ(CategoryTree::EnglishName(47), nullptr);
}

} // namespace
