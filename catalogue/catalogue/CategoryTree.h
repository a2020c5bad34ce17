#pragma once
// The category tree as designed: its nodes in tree order with their category ids and depths,
// and the English names of the categories. Portable.

#include <cstddef>

struct DesignedNode {
    int categoryId;
    int depth; // 0 = the root
};

namespace CategoryTree {

constexpr int kRootId = 0;
constexpr int kSearchId = 46;
// Ids below this are built in; user-defined categories take the ids from here on.
constexpr int kBuiltInCount = 47;
constexpr int kCategoryCount = 100;

// The designed nodes, each before its children.
const DesignedNode* Nodes();
std::size_t NodeCount();

// The English name of a built-in category, or nullptr when it keeps its German name.
const wchar_t* EnglishName(int categoryId);

} // namespace CategoryTree
