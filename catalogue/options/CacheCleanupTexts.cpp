#include "CacheCleanupTexts.h"

#include "CacheCleanupIds.h"

namespace CacheCleanupTexts {

namespace {

// The dialog manager's button ids (IDOK, IDCANCEL), without pulling in the platform headers.
constexpr int kOk = 1;
constexpr int kCancel = 2;

const ControlText dialog[] = {
    {0, L"Delete Temporary Internet Files"},
    {IDC_CLEANUP_TEXT, L"Delete contents of folder 'Temporary Internet Files'"},
    {IDC_CLEANUP_KEEP_COOKIES, L"Don't delete 'cookies'"},
    {kOk, L"Delete"},
    {kCancel, L"Cancel"},
};

const ControlText strings[] = {
    {IDS_CLEANUP_REMOVED, L"Entries deleted: "},
    {IDS_CLEANUP_FAILED, L"Entries that could not be deleted: "},
    {IDS_CLEANUP_KEPT, L"Cookies kept: "},
    {IDS_CLEANUP_INCOMPLETE, L"The cache could not be read to its end. Error "},
};

} // namespace

const TextTable kDialog = MakeTable(dialog);
const TextTable kStrings = MakeTable(strings);

} // namespace CacheCleanupTexts
