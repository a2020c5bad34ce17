#pragma once
// Resource ids of Sortaro.exe, in fixed ranges:
//   100-299 icons, 300-399 bitmaps, 400-499 dialogs, 500-599 menus and accelerators,
//   1000-1999 controls, 2000-3999 strings, 40000-40999 commands.
// The panes keep their own ids in their folders, in the same ranges.

#include "../catalogue/CatalogueIds.h"
#include "../catalogue/ProgramIds.h"
#include "../filelist/FileListIds.h"
#include "../info/InfoIds.h"
#include "../options/CacheCleanupIds.h"
#include "../options/OptionsIds.h"
#include "../preview/PreviewIds.h"
#include "../search/SearchIds.h"

// Icons
#define IDI_STARTUP 101
#define IDI_WAIT 102
#define IDI_SCAN 103

// Bitmaps
#define IDB_TOOLBAR 300
#define IDB_TOOLBAR_40 301
#define IDB_TOOLBAR_48 302
#define IDB_TOOLBAR_64 303

// Dialogs
#define IDD_STARTUP 400
#define IDD_DRIVES 401
#define IDD_SCAN_PROGRESS 402
#define IDD_WAIT 403

// Menus and accelerators
#define IDR_FILE_MENU 500
#define IDR_EDIT_MENU 501
#define IDR_VIEW_MENU 502
#define IDR_ACCELERATORS 510

// Controls of the main window
#define IDC_REBAR 1001
#define IDC_TOOLBAR 1002
#define IDC_TREE_SPLITTER 1006
#define IDC_PREVIEW_SPLITTER 1008
#define IDC_PREVIEW 1009
#define IDC_PREVIEW_HEADING 1010
#define IDC_STATUS 1011

// Start-up dialog
#define IDC_STARTUP_PICTURE 1100
#define IDC_STARTUP_DATABASE 1101
#define IDC_STARTUP_RESCAN 1102
#define IDC_STARTUP_GROUP 1103
#define IDC_STARTUP_DRIVE_TYPES 1104

// Drive dialog
#define IDC_DRIVES_PICTURE 1200
#define IDC_DRIVES_LABEL 1201
#define IDC_DRIVES_LIST 1202
#define IDC_DRIVES_ADD 1203
#define IDC_DRIVES_REMOVE 1204

// Scan progress dialog
#define IDC_SCAN_PICTURE 1300
#define IDC_SCAN_TITLE 1301
#define IDC_SCAN_NOTE 1302
#define IDC_SCAN_GAUGE 1303

// Wait dialog
#define IDC_WAIT_PICTURE 1400
#define IDC_WAIT_TITLE 1401
#define IDC_WAIT_STATUS 1402
#define IDC_WAIT_LOWER 1403
#define IDC_WAIT_RIGHT 1404

// Strings
#define IDS_OLE_INIT_FAILED 2001
#define IDS_TIP_FILE 2010
#define IDS_TIP_EDIT 2011
#define IDS_TIP_VIEW 2012
#define IDS_TIP_DELETE 2013
#define IDS_TIP_SEARCH 2014
#define IDS_TIP_PREVIEW 2015
#define IDS_TIP_OPTIONS 2016
#define IDS_TIP_CLEAN 2017
#define IDS_TIP_INFO 2018
#define IDS_WAIT_TITLE_LOAD 2040
#define IDS_WAIT_TITLE_SAVE 2041
#define IDS_WAIT_LOWER_LOAD 2042
#define IDS_DRIVE_TYPE_BASE 2050 // + row, 0..3
#define IDS_FOLDER_MISSING 2054  // after an added folder that is gone, in the drive dialog
#define IDS_SAVING 2060
#define IDS_READING 2061
#define IDS_DATABASE_NOT_SAVED 2064
#define IDS_DATABASE_LEFT_UNREAD 2090

// Commands
#define IDM_EXIT 40010
#define IDM_TB_FILE 40032
#define IDM_TB_EDIT 40033
#define IDM_TB_VIEW 40034
#define IDM_SEARCH 40035
#define IDM_PREVIEW 40036
#define IDM_OPTIONS 40037
#define IDM_CLEAN_INTERNET_FILES 40038
#define IDM_INFO 40039
