#pragma once
// Resource ids of the file list pane and its commands, within the program's ranges (see
// ../shell/resource.h).

#define IDR_LIST_MENU 503
#define IDR_LIST_BACKGROUND_MENU 505
#define IDC_FILE_LIST 1007
#define IDS_COLUMN_BASE 2030 // + column index, 0..5
#define IDS_OBJECTS 2062
#define IDS_SELECTED 2067
#define IDS_LIST_NAME 2069
// Where an offline record's volume is: one sentence per kind of drive.
#define IDS_OFFLINE_CDROM 2070
#define IDS_OFFLINE_REMOVABLE 2071
#define IDS_OFFLINE_NETWORK 2072
#define IDS_OFFLINE_DRIVE 2073
#define IDM_OPEN 40001
#define IDM_OPEN_WITH 40002
#define IDM_MOVE 40003
#define IDM_COPY 40004
#define IDM_DELETE 40005
#define IDM_RENAME 40006
#define IDM_PROPERTIES 40007
#define IDM_FILE_PROPERTIES 40008
#define IDM_PRINT 40009
#define IDM_SELECT_ALL 40011
#define IDM_INVERT_SELECTION 40012
#define IDM_GRID_LINES 40013
#define IDM_ROW_SELECT 40014
#define IDM_VIEW_LARGE 40015
#define IDM_VIEW_SMALL 40016
#define IDM_VIEW_LIST 40017
#define IDM_VIEW_DETAILS 40018
#define IDM_SORT_NAME 40019
#define IDM_SORT_TYPE 40020
#define IDM_SORT_SIZE 40021
#define IDM_SORT_DATE 40022
#define IDM_SORT_PATH 40023
#define IDM_SORT_NONE 40024
#define IDM_SORT_ATTRIBUTES 40025
#define IDM_SORT_POPUP 40026
#define IDM_VIEW_POPUP 40027
#define IDM_REFRESH 40040
// The file operations: their dialogs, controls, texts and the delete past the recycle bin.
#define IDD_COPY_MOVE 404
#define IDD_RENAME 405
#define IDC_COPY_LABEL 1500
#define IDC_COPY_DESTINATION 1501
#define IDC_COPY_FILES 1502
#define IDC_COPY_BROWSE 1503
#define IDC_COPY_ACTION 1504
#define IDC_COPY_COPY 1505
#define IDC_COPY_MOVE 1506
#define IDC_RENAME_OLD_LABEL 1510
#define IDC_RENAME_OLD 1511
#define IDC_RENAME_NEW_LABEL 1512
#define IDC_RENAME_NEW 1513
#define IDS_COPY_COLUMN 2100
#define IDS_NO_DESTINATION 2101
#define IDS_RENAME_INVALID 2102
#define IDS_RENAME_EXISTS 2103
#define IDS_OFFLINE_REFUSED 2104
#define IDM_DELETE_FOR_GOOD 40041
