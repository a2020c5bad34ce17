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

} // namespace
