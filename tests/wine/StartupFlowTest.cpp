// The start-up flow: the start-up dialog, then the catalogue read from the database or the
// drive dialog and a scan, then the main window; a cancel at any step before it ends the program.
// And the settings read at start.

#include "AppFixture.h"
#include "catalogue/shell/ScanProgressDialog.h"
#include "catalogue/shell/WaitDialog.h"
#include "catalogue/shell/resource.h"

#include <algorithm>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;
using StartupFlow = AppTest;
using SettingsTest = AppTest;

// A dialog's caption and the texts of its items.
Texts DialogTexts(HWND dialog, std::initializer_list<int> ids)
{
    Texts texts{WindowText(dialog)};
    for (int id : ids)
        texts.push_back(WindowText(GetDlgItem(dialog, id)));
    return texts;
}

std::vector<bool> RowChecks(HWND list)
{
    std::vector<bool> checks;
    for (int i = 0; i < ListView_GetItemCount(list); ++i)
        checks.push_back(ListView_GetCheckState(list, i) != 0);
    return checks;
}

// The start-up dialog, and its cancel: the program ends, the main window never shows, and
// nothing is written.
TEST_F(StartupFlow, StartupDialogInBothLanguagesAndItsCancel)
{
    const Texts german = {L"Sortaro Auswahl der Datenträger", L"Alle Daten neu einlesen ",
                          L"Alle Daten aus der Datenbank einlesen",
                          L"Markierte Datenträger beim Scan berücksichtigen", L"&Weiter", L"&Abbrechen"};
    const struct {
        const wchar_t* language; // nullptr: no value
        Texts dialog;
        Texts driveTypes;
        const wchar_t* treeLabel; // above the tree, until a node is selected
    } cases[] = {
        {nullptr, german, {L"Diskette", L"Festplatte", L"CD-ROM", L"RAM-Disk"}, L"Ordner"},
        {L"2", german, {L"Diskette", L"Festplatte", L"CD-ROM", L"RAM-Disk"}, L"Ordner"}, // all but 0 is German
        {L"0",
         {L"Select DriveType", L"File Scan", L"Read Data from database", L"Scan selected DriveTypes ", L"&OK",
          L"&Cancel"},
         {L"Drive removable", L"Drive fixed", L"Drive CDrom", L"Drive ramdisk"},
         L"Folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << (c.language ? c.language : L"(none)"));
        ClearSettings();
        if (c.language)
            SetOption(L"", L"language", c.language);
        ShowRecorder shown;
        Start();
        HWND dialog = StartupHwnd();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(DialogTexts(dialog, {IDC_STARTUP_RESCAN, IDC_STARTUP_DATABASE, IDC_STARTUP_GROUP, IDOK, IDCANCEL}),
                  c.dialog);
        EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_STARTUP_DRIVE_TYPES)), c.driveTypes);
        EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), c.treeLabel);

        Click(dialog, IDCANCEL);
        EXPECT_TRUE(MessagePump::QuitSeen());
        EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
        EXPECT_EQ(ValueNames(L""), Texts(c.language ? 1 : 0, L"language")) << "nothing written";
        EXPECT_EQ(GetOption(L"", L"language"), c.language ? c.language : L"<missing>");
        for (const wchar_t* subKey : {L"ScreenSettings", L"Vorschau", L"AddedDirs", L"ColumnsMain"})
            EXPECT_TRUE(ValueNames(subKey).empty()) << subKey;
        Stop();
    }
}

TEST_F(StartupFlow, StartupButtonsWaitForTheMainWindow)
{
    Start();
    // A second dialog from the same template, before the main window enables its buttons.
    StartupDialog fresh(*main, nullptr);
    ASSERT_TRUE(fresh.CreateModeless(main->Hwnd()));
    EXPECT_FALSE(IsWindowEnabled(fresh.Item(IDOK)));
    EXPECT_FALSE(IsWindowEnabled(fresh.Item(IDCANCEL)));
    // Enter and Esc do nothing while the buttons are disabled.
    SendMessageW(fresh.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    Flush();
    EXPECT_FALSE(MessagePump::QuitSeen());
    fresh.EnableButtons();
    EXPECT_TRUE(IsWindowEnabled(fresh.Item(IDCANCEL)));
    EXPECT_FALSE(GetWindowLongPtrW(fresh.Hwnd(), GWL_STYLE) & WS_SYSMENU) << "no border icons";
}

TEST_F(StartupFlow, ACancelLaterBeforeTheMainWindowEndsToo)
{
    const struct {
        const wchar_t* step;
        const wchar_t* scannewdata;
        int drivesButton;             // 0: no drive dialog
        const wchar_t* cancelOnShow; // the title of the dialog whose cancel button is pressed
    } cases[] = {
        {L"drive dialog", L"0", IDCANCEL, nullptr},
        {L"scan", L"0", IDOK, L"Analyse"},
        {L"database read", L"1", 0, L"Bitte warten"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        ClearSettings();
        NoDrives();
        SetOption(L"", L"SaveSettings", L"1");
        SetOption(L"", L"scannewdata", c.scannewdata);
        ShowRecorder shown;
        if (c.cancelOnShow)
            shown.ClickWhenShown(c.cancelOnShow, IDCANCEL);
        Start();
        Click(StartupHwnd(), IDOK);
        if (c.drivesButton)
            Click(DrivesHwnd(), c.drivesButton);
        if (c.cancelOnShow) {
            EXPECT_GE(shown.IndexOf(c.cancelOnShow), 0);
        }
        EXPECT_TRUE(MessagePump::QuitSeen());
        EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
        EXPECT_TRUE(ValueNames(L"ScreenSettings").empty());
        EXPECT_EQ(GetOption(L"", L"hddata") != L"<missing>", c.drivesButton == IDOK) << "the drive dialog's choice";
        Stop();
    }
}

TEST_F(StartupFlow, LastChoicesAreRestored)
{
    const struct {
        const wchar_t* datafrom; // nullptr: no value
        const wchar_t* scannewdata;
        std::vector<bool> rows;
        bool rescan;
    } cases[] = {
        {nullptr, nullptr, {true, true, true, true}, true},
        {L"0101", L"0", {false, true, false, true}, true},
        {L"10", L"2", {true, false, true, true}, false}, // short text: the rest stay checked
        {L"000011", L"x", {false, false, false, false}, false},
        {nullptr, L"", {true, true, true, true}, false}, // any text but "0" means the database
    };
    for (const auto& c : cases) {
        ClearSettings();
        if (c.datafrom)
            SetOption(L"", L"datafrom", c.datafrom);
        if (c.scannewdata)
            SetOption(L"", L"scannewdata", c.scannewdata);
        Start();
        HWND dialog = StartupHwnd();
        EXPECT_EQ(RowChecks(GetDlgItem(dialog, IDC_STARTUP_DRIVE_TYPES)), c.rows)
            << "datafrom " << (c.datafrom ? c.datafrom : L"(none)");
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP_RESCAN) == BST_CHECKED, c.rescan)
            << "scannewdata " << (c.scannewdata ? c.scannewdata : L"(none)");
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP_DATABASE) == BST_CHECKED, !c.rescan);
    }
}

TEST_F(StartupFlow, DatabasePathShowsTheWaitDialogThenTheMainWindow)
{
    SetOption(L"", L"scannewdata", L"1");
    ShowRecorder shown;
    Start();
    ListView_SetCheckState(GetDlgItem(StartupHwnd(), IDC_STARTUP_DRIVE_TYPES), 2, FALSE);
    Click(StartupHwnd(), IDOK);

    const int wait = shown.IndexOf(L"Bitte warten");
    EXPECT_GE(wait, 0);
    EXPECT_GT(shown.IndexOf(L"Sortaro"), wait) << "the main window appears only after the catalogue is read";
    EXPECT_FALSE(IsWindowVisible(FindWindowW(nullptr, L"Bitte warten")));
    EXPECT_EQ(GetOption(L"", L"datafrom"), L"1101");
    EXPECT_EQ(GetOption(L"", L"scannewdata"), L"1");
}

TEST_F(StartupFlow, ScanPathShowsDrivesThenProgressThenTheMainWindow)
{
    const struct {
        const wchar_t* language;
        Texts drives; // the drive dialog's caption, label, links and buttons
        const wchar_t* progress;
        const wchar_t* search; // the search node's text after the scan
    } cases[] = {
        {L"1",
         {L"Sortaro Auswahl der Laufwerke", L"Bitte wählen Sie die zu scannenden Laufwerke", L"Hinzufügen",
          L"Entfernen", L"&Weiter>", L"&Abbrechen"},
         L"Analyse", L"Suchen"},
        {L"0",
         {L"Select Drives", L"Select drives to scan", L"Add", L"Remove", L"&OK", L"&Cancel"},
         L"Analysing", L"Search"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << c.language);
        NoDrives();
        SetOption(L"", L"language", c.language);
        ShowRecorder shown;
        Start();
        Click(StartupHwnd(), IDOK);
        HWND drives = DrivesHwnd();
        ASSERT_NE(drives, nullptr);
        EXPECT_EQ(DialogTexts(drives, {IDC_DRIVES_LABEL, IDC_DRIVES_ADD, IDC_DRIVES_REMOVE, IDOK, IDCANCEL}),
                  c.drives);
        EXPECT_EQ(GetOption(L"", L"scannewdata"), L"0");

        Click(drives, IDOK);
        const int progress = shown.IndexOf(c.progress);
        EXPECT_GT(progress, shown.IndexOf(c.drives[0]));
        EXPECT_GT(shown.IndexOf(L"Sortaro"), progress);
        for (const wchar_t* title : {c.progress, c.drives[0].c_str()})
            EXPECT_FALSE(IsWindowVisible(FindWindowW(nullptr, title))) << title;
        EXPECT_FALSE(MessagePump::QuitSeen());
        EXPECT_EQ(ChildTexts().back(), c.search) << "the tree's texts after the scan";
        Stop();
    }
}

TEST_F(StartupFlow, WaitAndProgressDialogTextsInBothLanguages)
{
    const struct {
        const wchar_t* language;
        WaitDialog::Use use;
        Texts wait;     // caption, title, the lower and the right texts, button
        Texts progress; // caption, title, note, button
    } cases[] = {
        {L"1", WaitDialog::Use::Load,
         {L"Bitte warten", L"Initialisiere Daten", L"Laden von Dateiinformationen ", L"Bitte warten", L"&Abbrechen"},
         {L"Analyse", L"Initialisiere Datenbank ", L"Dieser Vorgang kann mehrere Minuten dauern", L"&Abbrechen"}},
        {L"1", WaitDialog::Use::Save,
         {L"Bitte warten", L"Einstellungen speichern ", L"Laden von Dateiinformationen ", L"Bitte warten",
          L"&Abbrechen"},
         {}},
        {L"0", WaitDialog::Use::Load,
         {L"Please wait", L"Initialising database", L"Loading fileinformation", L"Please wait", L"Cancel"},
         {L"Analysing", L"Initialising database ", L"This might take several minutes ", L"Cancel"}},
        {L"0", WaitDialog::Use::Save,
         {L"Please wait", L"Save Settings ", L"Laden von Dateiinformationen ", L"Please wait", L"Cancel"},
         {}},
    };
    for (const auto& c : cases) {
        SetOption(L"", L"language", c.language);
        Start();
        WaitDialog wait(*main, c.use);
        ASSERT_TRUE(wait.CreateModeless(main->Hwnd()));
        EXPECT_EQ(DialogTexts(wait.Hwnd(), {IDC_WAIT_TITLE, IDC_WAIT_LOWER, IDC_WAIT_RIGHT, IDCANCEL}), c.wait);
        EXPECT_TRUE(GetWindowLongPtrW(wait.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongPtrW(wait.Hwnd(), GWL_STYLE) & WS_SYSMENU) << "no border icons";
        if (c.progress.empty())
            continue;
        ScanProgressDialog progress(*main);
        ASSERT_TRUE(progress.CreateModeless(main->Hwnd()));
        EXPECT_EQ(DialogTexts(progress.Hwnd(), {IDC_SCAN_TITLE, IDC_SCAN_NOTE, IDCANCEL}), c.progress);
    }
}

TEST_F(SettingsTest, ValuesThatAreNoNumbersKeepTheirDefaults)
{
    SetOption(L"", L"SaveSettings", L"1");
    SetOption(L"", L"language", L"deutsch");
    SetOption(L"", L"database", L"ja");
    SetOption(L"", L"includehiddenfiles", L"");
    SetOption(L"ScreenSettings", L"left", L"abc");
    SetOption(L"ScreenSettings", L"width", L"-");
    SetOption(L"ScreenSettings", L"treewidthmain", L"breit");
    SetOption(L"ScreenSettings", L"raster", L"x");
    SetOption(L"Vorschau", L"Enabled", L"?");
    NoDrives();
    Start();
    EXPECT_EQ(WindowText(StartupHwnd()), L"Sortaro Auswahl der Datenträger") << "still German";
    RECT before;
    GetWindowRect(main->Hwnd(), &before);
    const int treeBefore = main->TreeWidth();
    Click(StartupHwnd(), IDOK);
    Click(DrivesHwnd(), IDOK);
    ASSERT_TRUE(IsWindowVisible(main->Hwnd())) << "start-up completes";
    RECT after;
    GetWindowRect(main->Hwnd(), &after);
    EXPECT_TRUE(EqualRect(&after, &before));
    EXPECT_EQ(main->TreeWidth(), treeBefore);
    EXPECT_FALSE(ListView_GetExtendedListViewStyle(main->List().Hwnd()) & LVS_EX_GRIDLINES);
    EXPECT_FALSE(main->PreviewVisible());
    EXPECT_EQ(main->Options().database, 0);
    EXPECT_EQ(main->Options().includeHiddenFiles, 0);
}

TEST_F(SettingsTest, UserCategoriesFollowTheSearchNodeUpToTheLastId)
{
    auto name = [](int i) { return std::wstring(i < 10 ? L"U0" : L"U") + std::to_wstring(i); };
    // Fifty-five definitions, for fifty-three free ids. The first three name an icon: a
    // program's, a file that is not there, and the program's own; the others have no bar, so
    // that all of the text is the extension list.
    const wchar_t* icons[] = {L"|C:\\windows\\notepad.exe", L"|C:\\no such file.exe", L"|Default"};
    for (int i = 0; i < 55; ++i)
        SetOption(L"UserFiles", name(i), L".u" + std::to_wstring(i) + (i < 3 ? icons[i] : L""));
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    StartToMainWindow(true);
    ASSERT_EQ(shown.messages.size(), 1u) << "the categories refused are named";
    EXPECT_NE(shown.messages[0].find(L"U53"), std::wstring::npos);
    EXPECT_NE(shown.messages[0].find(L"U54"), std::wstring::npos);
    EXPECT_EQ(shown.messages[0].find(L"U52"), std::wstring::npos);

    // In the registry's order (Wine lists value names sorted), each with its id as picture.
    const std::vector<HTREEITEM> top = TreeChildren(Tree(), TreeView_GetRoot(Tree()));
    ASSERT_EQ(top.size(), 17u + 53u);
    EXPECT_EQ(TreeItemText(Tree(), top[16]), L"Suchen");
    for (int k = 0; k < 53; ++k) {
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = top[17 + k];
        TreeView_GetItem(Tree(), &tv);
        EXPECT_EQ(TreeItemText(Tree(), tv.hItem), name(k));
        EXPECT_EQ(tv.iImage, 47 + k);
        EXPECT_EQ(tv.iSelectedImage, 47 + k);
    }
    EXPECT_EQ(ImageList_GetImageCount(TreeView_GetImageList(Tree(), TVSIL_NORMAL)), 100)
        << "a picture per category, blank where the icon is unreadable";
    const ExtensionMap& map = main->Model().Extensions();
    EXPECT_NE(std::find_if(map.begin(), map.end(),
                           [](const ExtensionEntry& e) { return e.extension == L".U3" && e.categoryId == 50; }),
              map.end());
}

} // namespace
