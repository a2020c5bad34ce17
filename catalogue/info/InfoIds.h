#pragma once
// Resource ids of the information dialog.

#define IDD_INFO 412

#define IDC_INFO_TOP 1740
#define IDC_INFO_CLOSE 1741
#define IDC_INFO_PICTURE 1742
#define IDC_INFO_NAME 1743
#define IDC_INFO_VERSION 1744
#define IDC_INFO_PLATFORMS 1745
#define IDC_INFO_MAKER 1746
#define IDC_INFO_MAIL 1747
#define IDC_INFO_WEB 1748
#define IDC_INFO_PRODUCT 1749
#define IDC_INFO_SYSTEM_VERSION 1750
#define IDC_INFO_MEMORY 1751
#define IDC_INFO_BOTTOM 1752

// The same in both languages.
#define IDS_INFO_MEMORY 2520
#define IDS_INFO_KB 2521
#define IDS_INFO_CLOSE_HINT 2522
#define IDS_INFO_OK_HINT 2523
