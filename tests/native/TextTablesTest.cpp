#include "catalogue/catalogue/CatalogueTexts.h"
#include "catalogue/filelist/FileListTexts.h"
#include "catalogue/options/CacheCleanupTexts.h"
#include "catalogue/options/OptionsTexts.h"
#include "catalogue/preview/PreviewTexts.h"
#include "catalogue/search/SearchTexts.h"
#include "catalogue/shell/EnglishTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// The program looks a string up in the shell's, the tree's, the file list's, the preview's, the
// search's, the options' and the cache cleanup's tables one after the other: an id in two of
// them would be shown with whichever text comes first. Within any table an id twice would hide its second text.
TEST(EnglishTexts, EveryIdHasOneText)
{
    const TextTable strings[] = {EnglishTexts::kStrings, CatalogueTexts::kStrings, FileListTexts::kStrings,
                                 PreviewTexts::kStrings, SearchTexts::kStrings, OptionsTexts::kStrings,
                                 CacheCleanupTexts::kStrings};
    const TextTable others[] = {
        EnglishTexts::kStartupDialog,     EnglishTexts::kDriveDialog,       EnglishTexts::kScanProgressDialog,
        EnglishTexts::kWaitDialogAtStart, EnglishTexts::kWaitDialogAtClose, EnglishTexts::kFileMenu,
        EnglishTexts::kEditMenu,          EnglishTexts::kViewMenu,          FileListTexts::kListMenu,
        FileListTexts::kListBackgroundMenu, CatalogueTexts::kTreeMenu,
        FileListTexts::kCopyDialog,       FileListTexts::kRenameDialog,
        SearchTexts::kSearchDialog,       OptionsTexts::kOptionsDialog,
        OptionsTexts::kNewCategoryDialog, OptionsTexts::kEndingsEditor, CacheCleanupTexts::kDialog,
    };
    std::set<int> stringIds;
    for (const TextTable& table : strings)
        for (const ControlText& t : table)
            EXPECT_TRUE(stringIds.insert(t.id).second) << "string " << t.id << " twice";
    for (const TextTable& table : others) {
        std::set<int> ids;
        for (const ControlText& t : table) {
            EXPECT_TRUE(ids.insert(t.id).second) << "id " << t.id << " twice";
            EXPECT_NE(std::wstring(t.text), L"");
        }
    }
}

} // namespace
