#pragma once
// Resource ids of the dialog that empties the internet cache.

#define IDD_CACHE_CLEANUP 411

#define IDC_CLEANUP_HEADING 1720
#define IDC_CLEANUP_TEXT 1721
#define IDC_CLEANUP_FOLDER 1722
#define IDC_CLEANUP_KEEP_COOKIES 1723

// The report after a cleanup: one line each, the number follows.
#define IDS_CLEANUP_REMOVED 2500
#define IDS_CLEANUP_FAILED 2501
#define IDS_CLEANUP_KEPT 2502
#define IDS_CLEANUP_INCOMPLETE 2503
