#include "catalogue/catalogue/CatalogueTexts.h"
#include "catalogue/filelist/FileListTexts.h"
#include "catalogue/shell/EnglishTexts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(EnglishTexts, NoStringIdIsInTwoTables)
{
    // The string tables are searched one after the other: an id in two of them would be shown
    // with whichever text comes first. (The texts of windows and menus are checked where they
    // are shown.)
    std::set<int> ids;
    for (const TextTable& table : {EnglishTexts::kStrings, CatalogueTexts::kStrings, FileListTexts::kStrings})
        for (const ControlText& t : table)
            EXPECT_TRUE(ids.insert(t.id).second) << "string " << t.id << " twice";
}

} // namespace
