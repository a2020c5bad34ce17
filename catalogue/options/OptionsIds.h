#pragma once
// Resource ids of the options dialog, the new-category dialog and the extension editor of a
// tree category, within the program's ranges (see ../shell/resource.h).

#define IDD_OPTIONS 408
#define IDD_NEW_CATEGORY 409
#define IDD_EDIT_ENDINGS 410

// Options dialog: the page tabs, then each page's controls.
#define IDC_OPT_TABS 1650
#define IDC_OPT_HEADING 1651
#define IDC_OPT_CATEGORIES_HINT 1652
#define IDC_OPT_CATEGORIES 1653
#define IDC_OPT_ADD 1654
#define IDC_OPT_CHANGE 1655
#define IDC_OPT_REMOVE 1656
#define IDC_OPT_HIDDEN_FILES 1657
#define IDC_OPT_PREVIEW_GROUP 1660
#define IDC_OPT_PREVIEW_HINT 1661
#define IDC_OPT_PREVIEW_LABEL_BASE 1662 // + preview list, 0..5
#define IDC_OPT_PREVIEW_FIELD_BASE 1668 // + preview list, 0..5
#define IDC_OPT_PREVIEW_AT_START 1675
#define IDC_OPT_SAVE_DESKTOP 1676
#define IDC_OPT_NETSCAPE_LABEL 1677
#define IDC_OPT_NETSCAPE_PATH 1678
#define IDC_OPT_NETSCAPE_BROWSE 1679
#define IDC_OPT_OPERA_LABEL 1680
#define IDC_OPT_OPERA_PATH 1681
#define IDC_OPT_OPERA_BROWSE 1682
#define IDC_OPT_PREVIEW_OPTIONS_HINT 1683
#define IDC_OPT_DATABASE 1685
#define IDC_OPT_DATABASE_HINT 1686

// New-category dialog.
#define IDC_NEWCAT_NAME_LABEL 1690
#define IDC_NEWCAT_NAME 1691
#define IDC_NEWCAT_ENDINGS_LABEL 1692
#define IDC_NEWCAT_ENDINGS 1693
#define IDC_NEWCAT_ICON_LABEL 1694
#define IDC_NEWCAT_ICON 1695
#define IDC_NEWCAT_PICTURE 1696
#define IDC_NEWCAT_BROWSE 1697

// Extension editor of a tree category.
#define IDC_ENDINGS_TEXT 1700
#define IDC_ENDINGS_FIELD 1701

// Strings.
#define IDS_OPT_TAB_BASE 2230    // + page, 0..3
#define IDS_OPT_COLUMN_BASE 2234 // + column of the user category list, 0..2
#define IDS_OPT_REMOVE_QUESTION 2240
#define IDS_OPT_REMOVE_TITLE 2241
#define IDS_OPT_SAVED 2242
#define IDS_OPT_RENAME_FAILED 2243
#define IDS_OPT_PICTURE_FILTER 2244
#define IDS_ENDINGS_NONE 2250
#define IDS_ENDINGS_APPLY_QUESTION 2251
#define IDS_ENDINGS_APPLY_TITLE 2252
