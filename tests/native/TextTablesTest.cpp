#include "catalogue/catalogue/CategoryTree.h"
#include "catalogue/catalogue/CatalogueTexts.h"
#include "catalogue/filelist/FileListTexts.h"
#include "catalogue/shell/EnglishTexts.h"
#include "catalogue/shell/resource.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(EnglishTexts, NoTableNamesAnIdTwice)
{
    // The string tables are searched one after the other: an id in two of them would be shown
    // with whichever text comes first.
    const TextTable tables[] = {
        EnglishTexts::kStartupDialog,  EnglishTexts::kDriveDialog,        EnglishTexts::kScanProgressDialog,
        EnglishTexts::kWaitDialogAtStart, EnglishTexts::kWaitDialogAtClose, EnglishTexts::kFileMenu,
        EnglishTexts::kEditMenu,       EnglishTexts::kViewMenu,           FileListTexts::kListMenu,
        CatalogueTexts::kTreeMenu,     FileListTexts::kListBackgroundMenu,
    };
    const TextTable strings[] = {EnglishTexts::kStrings, CatalogueTexts::kStrings, FileListTexts::kStrings};
    std::set<int> stringIds;
    for (const TextTable& table : strings)
        for (const ControlText& t : table)
            EXPECT_TRUE(stringIds.insert(t.id).second) << "string " << t.id << " twice";
    for (const TextTable& table : tables) {
        std::set<int> seen;
        for (const ControlText& t : table) {
            EXPECT_TRUE(seen.insert(t.id).second) << "id " << t.id << " twice";
            EXPECT_NE(std::wstring(t.text), L"");
        }
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
