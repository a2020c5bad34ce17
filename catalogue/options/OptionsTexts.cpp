#include "OptionsTexts.h"

#include "OptionsIds.h"

namespace OptionsTexts {

namespace {

// The dialog manager's button ids (IDOK, IDCANCEL), without pulling in the platform headers.
constexpr int kOk = 1;
constexpr int kCancel = 2;

// The "&OK " button keeps its text in English.
const ControlText optionsDialog[] = {
    {0, L"Options"},
    {IDC_OPT_HEADING, L"User defind"},
    {IDC_OPT_CATEGORIES_HINT,
     L"Here you can add nodes to the tree. Define a categorie und enter the file extensions to be concidered, i.e. "
     L"Categorie  : Exe-Files ; Endings : .EXE or Categorie : Picturesr ; Endings :  .BMP+.JPG+.GIF"},
    {IDC_OPT_REMOVE, L"Delete"},
    {IDC_OPT_CHANGE, L"Change"},
    {IDC_OPT_ADD, L"Add"},
    {IDC_OPT_HIDDEN_FILES, L"Include Hidden and System Files during Scan"},
    {IDC_OPT_PREVIEW_GROUP, L"Consider following categories with file extentions during preview"},
    {IDC_OPT_PREVIEW_HINT, L"You can add or emove file endings. Look at the syntax"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 0, L"Textfiles"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 1, L"Picture files"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 2, L"Icon files"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 3, L"Sound files"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 4, L"Movie files"},
    {IDC_OPT_PREVIEW_LABEL_BASE + 5, L"Compressed files"},
    {IDC_OPT_NETSCAPE_LABEL, L"Path Netscape-Cache"},
    {IDC_OPT_OPERA_LABEL, L"Path Opera-Cache"},
    {IDC_OPT_PREVIEW_OPTIONS_HINT,
     L"HINT : To concider i.e.. XLS-Files for preview Excel must be installed. The Explorer-Contextmenu can only be "
     L"displayed by files in the same folder"},
    {IDC_OPT_PREVIEW_AT_START, L"Start Preview with program start"},
    {IDC_OPT_SAVE_DESKTOP, L"Save desktop settings"},
    {IDC_OPT_DATABASE_HINT, L"To avoid scanning your hard drive, you can store files in a database."},
    {IDC_OPT_DATABASE, L"Store information in folder 'Data'"},
    {kCancel, L"Cancel"},
};

const ControlText newCategoryDialog[] = {
    {0, L"Create new categorie"},
    {IDC_NEWCAT_NAME_LABEL, L"Name of categorie"},
    {IDC_NEWCAT_ICON_LABEL, L"Icon of categorie"},
    {IDC_NEWCAT_ENDINGS_LABEL, L"Enter file extentions i.e. '.TXT+.DOC'"},
    {kOk, L"OK"},
    {kCancel, L"Cancel"},
};

const ControlText endingsEditor[] = {
    {0, L"Modify file extensions"},
    {IDC_ENDINGS_TEXT, L"Following extension belong to that group. You can modify them. Take care of the syntax, "
                       L"i.e. Picturegroup '.BMP+.GIF+.JPG'"},
    {kOk, L"OK"},
    {kCancel, L"Cancel"},
};

const ControlText strings[] = {
    {IDS_OPT_TAB_BASE + 0, L"File extensions"},
    {IDS_OPT_TAB_BASE + 1, L"Preview files"},
    {IDS_OPT_TAB_BASE + 2, L"Preview options"},
    {IDS_OPT_TAB_BASE + 3, L"Database"},
    {IDS_OPT_COLUMN_BASE + 0, L"Categorie"},
    {IDS_OPT_COLUMN_BASE + 1, L"File ending"},
    {IDS_OPT_COLUMN_BASE + 2, L"Icon file"},
    {IDS_OPT_REMOVE_QUESTION, L"Remove ?"},
    {IDS_OPT_REMOVE_TITLE, L"Conf\u00EDrm"},
    {IDS_OPT_SAVED, L"Some changes will take effect after\nredo scanning is done!"},
    {IDS_OPT_RENAME_FAILED, L"The catalogue files of the user-defined categories in the folder 'Data' could not be "
                            L"renamed. The user-defined categories are left as they were."},
    {IDS_OPT_PICTURE_FILTER, L"Icons and programs (*.ico;*.exe;*.dll)|*.ico;*.exe;*.dll|All files (*.*)|*.*|"},
    {IDS_ENDINGS_NONE, L"This node has no file endings"},
    {IDS_ENDINGS_APPLY_QUESTION, L"Apply changes ?"},
    {IDS_ENDINGS_APPLY_TITLE, L"Question"},
};

} // namespace

const TextTable kOptionsDialog = MakeTable(optionsDialog);
const TextTable kNewCategoryDialog = MakeTable(newCategoryDialog);
const TextTable kEndingsEditor = MakeTable(endingsEditor);
const TextTable kStrings = MakeTable(strings);

} // namespace OptionsTexts
