#include "EnglishTexts.h"

#include "resource.h"

namespace EnglishTexts {

namespace {

// The dialog manager's button ids (IDOK, IDCANCEL), without pulling in the platform headers.
constexpr int kOk = 1;
constexpr int kCancel = 2;

const ControlText startupDialog[] = {
    {0, L"Select DriveType"},
    {IDC_STARTUP_DATABASE, L"Read Data from database"},
    {IDC_STARTUP_RESCAN, L"File Scan"},
    {IDC_STARTUP_GROUP, L"Scan selected DriveTypes "},
    {kOk, L"&OK"},
    {kCancel, L"&Cancel"},
};

const ControlText driveDialog[] = {
    {0, L"Select Drives"},
    {IDC_DRIVES_LABEL, L"Select drives to scan"},
    {IDC_DRIVES_ADD, L"Add"},
    {IDC_DRIVES_REMOVE, L"Remove"},
    {kOk, L"&OK"},
    {kCancel, L"&Cancel"},
};

const ControlText scanProgressDialog[] = {
    {0, L"Analysing"},
    {IDC_SCAN_TITLE, L"Initialising database "},
    {IDC_SCAN_NOTE, L"This might take several minutes "},
    {kCancel, L"Cancel"},
};

const ControlText waitDialogAtStart[] = {
    {0, L"Please wait"},
    {kCancel, L"Cancel"},
    {IDC_WAIT_TITLE, L"Initialising database"},
    {IDC_WAIT_LOWER, L"Loading fileinformation"},
    {IDC_WAIT_RIGHT, L"Please wait"},
};

const ControlText waitDialogAtClose[] = {
    {0, L"Please wait"},
    {kCancel, L"Cancel"},
    {IDC_WAIT_RIGHT, L"Please wait"},
    {IDC_WAIT_TITLE, L"Save Settings "},
};

const ControlText fileMenu[] = {
    {IDM_OPEN, L"Open"},        {IDM_MOVE, L"Move..."},     {IDM_COPY, L"Copy..."},
    {IDM_DELETE, L"Delete"},    {IDM_RENAME, L"Rename"},    {IDM_FILE_PROPERTIES, L"Properties "},
    {IDM_PRINT, L"Print list"}, {IDM_EXPORT_LIST, L"Export list..."}, {IDM_EXIT, L"End program"},
};

const ControlText editMenu[] = {
    {IDM_SELECT_ALL, L"Select all"},
    {IDM_INVERT_SELECTION, L"Invert selection"},
};

const ControlText viewMenu[] = {
    {IDM_GRID_LINES, L"GridLines"},     {IDM_ROW_SELECT, L"RowSelect "},
    {IDM_VIEW_LARGE, L"Big symbols"},   {IDM_VIEW_SMALL, L"Small symbols"},
    {IDM_VIEW_LIST, L"List"},           {IDM_VIEW_DETAILS, L"Details"},
    {IDM_SORT_POPUP, L"Arrange Icons"}, {IDM_SORT_NAME, L"name"},
    {IDM_SORT_TYPE, L"type"},           {IDM_SORT_SIZE, L"size"},
    {IDM_SORT_DATE, L"date"},           {IDM_SORT_PATH, L"path"},
    {IDM_SORT_NONE, L"No sorting"},     {IDM_SORT_ATTRIBUTES, L"attributes"},
};

const ControlText strings[] = {
    {IDS_PREVIEW_HEADING, L"Preview"},
    {IDS_TIP_FILE, L"File"},
    {IDS_TIP_EDIT, L"Edit"},
    {IDS_TIP_VIEW, L"View"},
    {IDS_TIP_SEARCH, L"Search "},
    {IDS_TIP_PREVIEW, L"Preview "},
    {IDS_TIP_OPTIONS, L"Options"},
    {IDS_TIP_CLEAN, L"Empty folder 'Temporary Internet Files'"},
    {IDS_WAIT_TITLE_LOAD, L"Initialising database"},
    {IDS_WAIT_TITLE_SAVE, L"Save Settings "},
    {IDS_WAIT_LOWER_LOAD, L"Loading fileinformation"},
    {IDS_DRIVE_TYPE_BASE + 0, L"Drive removable"},
    {IDS_DRIVE_TYPE_BASE + 1, L"Drive fixed"},
    {IDS_DRIVE_TYPE_BASE + 2, L"Drive CDrom"},
    {IDS_DRIVE_TYPE_BASE + 3, L"Drive ramdisk"},
    {IDS_FOLDER_MISSING, L"(not found)"},
    {IDS_SAVING, L"Saving "},
    {IDS_READING, L"Read database "},
    {IDS_DATABASE_NOT_SAVED, L"The database could not be saved completely. The files saved before are kept:"},
    {IDS_DATABASE_LEFT_UNREAD, L"These files could not be read completely at start and are left unchanged:"},
    {IDS_NOTE_TITLE, L"Note"},
    {IDS_ERROR_TITLE, L"Error"},
};

} // namespace

const TextTable kStartupDialog = MakeTable(startupDialog);
const TextTable kDriveDialog = MakeTable(driveDialog);
const TextTable kScanProgressDialog = MakeTable(scanProgressDialog);
const TextTable kWaitDialogAtStart = MakeTable(waitDialogAtStart);
const TextTable kWaitDialogAtClose = MakeTable(waitDialogAtClose);
const TextTable kFileMenu = MakeTable(fileMenu);
const TextTable kEditMenu = MakeTable(editMenu);
const TextTable kViewMenu = MakeTable(viewMenu);
const TextTable kStrings = MakeTable(strings);

} // namespace EnglishTexts
