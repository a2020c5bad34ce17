#pragma once
// Resource ids of the preview pane: its strings and the controls of its title strip and
// viewers.

#define IDS_PREVIEW_HEADING 2003
#define IDS_PREVIEW_CLOSE_HINT 2350
#define IDS_PREVIEW_TEXT_CUT 2351
#define IDS_ARCHIVE_COLUMN_BASE 2360 // + column, 0..4
#define IDS_ARCHIVE_EXTRACTING 2365
#define IDS_ARCHIVE_OF 2366
#define IDS_PREVIEW_CONVERT_FAILED 2450 // German in both languages

#define IDC_PREVIEW_CLOSE 1350
#define IDC_PREVIEW_CAPTION 1351
#define IDC_PREVIEW_NOTE 1352
#define IDC_PREVIEW_TEXT 1353
#define IDC_PREVIEW_ICONS 1354
#define IDC_PREVIEW_ARCHIVE 1355
