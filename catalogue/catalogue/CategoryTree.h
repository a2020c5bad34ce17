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

// Categories with a fixed task: files of no bytes, and the special folders, whose lists are
// filled from their folders at every start and never written to the database.
constexpr int kZeroByteId = 31;
constexpr int kInternetCacheId = 37;
constexpr int kCookiesId = 38;
constexpr int kOperaCacheId = 39;
constexpr int kNetscapeCacheId = 41;
constexpr int kRecentId = 42;
constexpr int kTempId = 43;

// The designed nodes, each before its children.
const DesignedNode* Nodes();
std::size_t NodeCount();

// The English name of a built-in category, or nullptr when it keeps its German name.
const wchar_t* EnglishName(int categoryId);

} // namespace CategoryTree
