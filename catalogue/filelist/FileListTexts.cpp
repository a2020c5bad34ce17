#include "FileListTexts.h"

#include "FileListIds.h"

namespace FileListTexts {

namespace {

// The dialog manager's button ids (IDOK, IDCANCEL), without pulling in the platform headers.
constexpr int kOk = 1;
constexpr int kCancel = 2;

// The print entry of this menu stays German in both languages.
const ControlText listMenu[] = {
    {IDM_OPEN, L"Open"},
    {IDM_OPEN_WITH, L"Open with..."},
    {IDM_MOVE, L"Move..."},
    {IDM_COPY, L"Copy..."},
    {IDM_DELETE, L"Delete"},
    {IDM_RENAME, L"Rename"},
    {IDM_PROPERTIES, L"Properties."},
    {IDM_EXPORT_LIST, L"Export list..."},
    {IDM_SELECT_ALL, L"Select all"},
    {IDM_INVERT_SELECTION, L"Invert selection"},
};

const ControlText listBackgroundMenu[] = {
    {IDM_VIEW_POPUP, L"View"},          {IDM_VIEW_LARGE, L"Big symbols"},
    {IDM_VIEW_SMALL, L"Small symbols"}, {IDM_VIEW_LIST, L"List"},
    {IDM_VIEW_DETAILS, L"Details"},     {IDM_SORT_POPUP, L"Arrange Icons"},
    {IDM_SORT_NAME, L"By name"},        {IDM_SORT_TYPE, L"type"},
    {IDM_SORT_SIZE, L"size"},           {IDM_SORT_DATE, L"date"},
    {IDM_SORT_PATH, L"path"},           {IDM_SORT_ATTRIBUTES, L"attributes"},
    {IDM_SELECT_ALL, L"Select all"},    {IDM_INVERT_SELECTION, L"Invert selection"},
};

const ControlText strings[] = {
    {IDS_COLUMN_BASE + 0, L"File"},
    {IDS_COLUMN_BASE + 1, L"Path"},
    {IDS_COLUMN_BASE + 2, L"Type"},
    {IDS_COLUMN_BASE + 3, L"Size(KB)"},
    {IDS_COLUMN_BASE + 4, L"Date"},
    {IDS_COLUMN_BASE + 5, L"Attributes"},
    {IDS_OBJECTS, L" Object(s) "},
    {IDS_SELECTED, L" Object(s) selected"},
    {IDS_LIST_NAME, L"Files"},
    {IDS_OFFLINE_CDROM, L"CD-ROM %1 is not in the drive"},
    {IDS_OFFLINE_REMOVABLE, L"Removable disk %1 is not available"},
    {IDS_OFFLINE_NETWORK, L"Network share %1 is not available"},
    {IDS_OFFLINE_DRIVE, L"Drive %1 is not available"},
    {IDS_COPY_COLUMN, L"Selected Files"},
    {IDS_NO_DESTINATION, L"The destination folder %1 does not exist. Please enter an existing folder with its drive."},
    {IDS_RENAME_INVALID, L"Please enter a new filename. It must not contain any of the characters \\ / : * ? \" < > |."},
    {IDS_RENAME_EXISTS, L"The file %1 already exists."},
    {IDS_OFFLINE_REFUSED, L"%1.\nThe file %2 cannot be reached now."},
    {IDS_PRINT_QUESTION, L"                 Print selected Files ?                           \n"},
    {IDS_QUESTION_TITLE, L"Frage"},
    {IDS_PRINT_DOCUMENT, L"Sortaro Print Fileinformation"},
    {IDS_PRINT_TITLE, L"Fileinformation"},
    {IDS_PRINT_MADE_BY, L"made by"},
    {IDS_PRINT_PAGE, L"(Page "},
    {IDS_PRINT_FILE, L"File"},
    {IDS_NO_PRINTER, L"No printer is set up. Set up a printer in the Control Panel to print the list."},
    {IDS_PRINT_FAILED, L"The list could not be printed."},
    {IDS_EXPORT_ALL, L"Export list"},
    {IDS_EXPORT_SELECTED, L"Export selected files"},
    {IDS_EXPORT_FILTER, L"CSV files (*.csv)|*.csv|All files (*.*)|*.*"},
    {IDS_EXPORT_FAILED, L"The list could not be saved to %1."},
};

const ControlText copyDialog[] = {
    {0, L"Copy/Move Files"}, {IDC_COPY_LABEL, L"Destination folder"}, {IDC_COPY_BROWSE, L"Search"},
    {IDC_COPY_ACTION, L"Action"}, {IDC_COPY_COPY, L"Copy"}, {IDC_COPY_MOVE, L"Move"},
    {kOk, L"OK"}, {kCancel, L"Cancel"},
};

const ControlText renameDialog[] = {
    {0, L"Rename File"}, {IDC_RENAME_OLD_LABEL, L"Old filename"},
    {IDC_RENAME_NEW_LABEL, L"New filename without extension"}, {kOk, L"OK"}, {kCancel, L"Cancel"},
};

} // namespace

const TextTable kListMenu = MakeTable(listMenu);
const TextTable kListBackgroundMenu = MakeTable(listBackgroundMenu);
const TextTable kStrings = MakeTable(strings);
const TextTable kCopyDialog = MakeTable(copyDialog);
const TextTable kRenameDialog = MakeTable(renameDialog);

} // namespace FileListTexts
