#include "AppFixture.h"
#include "catalogue/shell/ScanProgressDialog.h"
#include "catalogue/shell/WaitDialog.h"
#include "catalogue/shell/resource.h"

using WineTest::FindShownWindow;
using WineTest::GetOption;
using WineTest::ValueNames;
using WineTest::WindowText;

namespace {

std::wstring DialogItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::wstring> RowTexts(HWND list)
{
    std::vector<std::wstring> rows;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t text[256] = L"";
        ListView_GetItemText(list, i, 0, text, 256);
        rows.push_back(text);
    }
    return rows;
}

std::vector<bool> RowChecks(HWND list)
{
    std::vector<bool> checks;
    for (int i = 0; i < ListView_GetItemCount(list); ++i)
        checks.push_back(ListView_GetCheckState(list, i) != 0);
    return checks;
}

using StartupFlow = AppTest;

TEST_F(StartupFlow, FreshStartShowsTheGermanStartupDialog)
{
    Start();
    HWND dialog = StartupHwnd();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WindowText(dialog), L"Sortaro Auswahl der Datenträger");
    EXPECT_FALSE(IsWindowVisible(main->Hwnd())) << "the main window waits for the catalogue";
    EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), L"Ordner") << "until a node is selected";
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP_RESCAN), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP_DATABASE), BST_UNCHECKED);
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_RESCAN), L"Alle Daten neu einlesen ");
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_DATABASE), L"Alle Daten aus der Datenbank einlesen");
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_GROUP), L"Markierte Datenträger beim Scan berücksichtigen");
    HWND list = GetDlgItem(dialog, IDC_STARTUP_DRIVE_TYPES);
    EXPECT_EQ(RowTexts(list), (std::vector<std::wstring>{L"Diskette", L"Festplatte", L"CD-ROM", L"RAM-Disk"}));
    EXPECT_EQ(RowChecks(list), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(DialogItemText(dialog, IDOK), L"&Weiter");
    EXPECT_EQ(DialogItemText(dialog, IDCANCEL), L"&Abbrechen");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "enabled once the main window is set up";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    // The start-up read creates the Options key and writes nothing into it.
    EXPECT_TRUE(WineTest::KeyExists(L""));
    EXPECT_TRUE(ValueNames(L"").empty());
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
    WineTest::Flush();
    EXPECT_FALSE(MessagePump::QuitSeen());
    EXPECT_FALSE(main->ApplicationEnded());
    fresh.EnableButtons();
    EXPECT_TRUE(IsWindowEnabled(fresh.Item(IDOK)));
    EXPECT_FALSE(GetWindowLongPtrW(fresh.Hwnd(), GWL_STYLE) & WS_SYSMENU) << "no border icons";
}

TEST_F(StartupFlow, CancelInTheStartupDialogEndsWithoutWriting)
{
    WineTest::ShowRecorder shown;
    Start();
    Click(StartupHwnd(), IDCANCEL);
    EXPECT_TRUE(MessagePump::QuitSeen());
    EXPECT_TRUE(main->ApplicationEnded());
    EXPECT_EQ(main->CancelRequested, 1);
    EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
    EXPECT_TRUE(ValueNames(L"").empty());
    for (const wchar_t* subKey : {L"ScreenSettings", L"Vorschau", L"AddedDirs", L"ColumnsMain"})
        EXPECT_FALSE(WineTest::KeyExists(subKey)) << subKey;
}

TEST_F(StartupFlow, EnglishStartupDialog)
{
    WineTest::SetOption(L"", L"language", L"0");
    Start();
    HWND dialog = StartupHwnd();
    EXPECT_EQ(WindowText(dialog), L"Select DriveType");
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_DATABASE), L"Read Data from database");
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_RESCAN), L"File Scan");
    EXPECT_EQ(DialogItemText(dialog, IDC_STARTUP_GROUP), L"Scan selected DriveTypes ");
    EXPECT_EQ(RowTexts(GetDlgItem(dialog, IDC_STARTUP_DRIVE_TYPES)),
              (std::vector<std::wstring>{L"Drive removable", L"Drive fixed", L"Drive CDrom", L"Drive ramdisk"}));
    EXPECT_EQ(DialogItemText(dialog, IDOK), L"&OK");
    EXPECT_EQ(DialogItemText(dialog, IDCANCEL), L"&Cancel");
}

TEST_F(StartupFlow, LastChoicesAreRestored)
{
    struct Case {
        const wchar_t* datafrom;
        const wchar_t* scannewdata;
        std::vector<bool> rows;
        bool rescan;
    };
    const Case cases[] = {
        {L"0101", L"0", {false, true, false, true}, true},
        {L"1111", L"1", {true, true, true, true}, false},
        {L"10", L"2", {true, false, true, true}, false}, // short text: the rest stay checked
        {L"000011", L"x", {false, false, false, false}, false},
        {nullptr, L"", {true, true, true, true}, false}, // any text but "0" means the database
        {L"0", nullptr, {false, true, true, true}, true},
    };
    for (const Case& c : cases) {
        WineTest::ClearSettings();
        if (c.datafrom)
            WineTest::SetOption(L"", L"datafrom", c.datafrom);
        if (c.scannewdata)
            WineTest::SetOption(L"", L"scannewdata", c.scannewdata);
        Start();
        HWND dialog = StartupHwnd();
        EXPECT_EQ(RowChecks(GetDlgItem(dialog, IDC_STARTUP_DRIVE_TYPES)), c.rows) << "datafrom " << c.datafrom;
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP_RESCAN) == BST_CHECKED, c.rescan)
            << "scannewdata " << (c.scannewdata ? c.scannewdata : L"(none)");
    }
}

TEST_F(StartupFlow, DatabasePathShowsTheWaitDialogThenTheMainWindow)
{
    WineTest::SetOption(L"", L"scannewdata", L"1");
    WineTest::ShowRecorder shown;
    Start();
    HWND list = GetDlgItem(StartupHwnd(), IDC_STARTUP_DRIVE_TYPES);
    ListView_SetCheckState(list, 2, FALSE);
    Click(StartupHwnd(), IDOK);

    int wait = shown.IndexOf(L"Bitte warten");
    int mainWindow = shown.IndexOf(L"Sortaro");
    EXPECT_GE(wait, 0);
    EXPECT_GT(mainWindow, wait) << "the main window appears only after the catalogue is read";
    EXPECT_TRUE(IsWindowVisible(main->Hwnd()));
    EXPECT_EQ(main->Startup(), nullptr);
    EXPECT_EQ(FindShownWindow(L"Bitte warten"), nullptr);
    EXPECT_EQ(main->StartupSource(), 1);
    EXPECT_FALSE(main->DriveTypeMark(2));
    EXPECT_TRUE(main->DriveTypeMark(3));
    EXPECT_EQ(GetOption(L"", L"datafrom"), L"1101");
    EXPECT_EQ(GetOption(L"", L"scannewdata"), L"1");
}

TEST_F(StartupFlow, ScanPathShowsDrivesThenProgressThenTheMainWindow)
{
    NoDrives();
    WineTest::ShowRecorder shown;
    Start();
    Click(StartupHwnd(), IDOK);
    HWND drives = DrivesHwnd();
    ASSERT_NE(drives, nullptr);
    EXPECT_TRUE(IsWindowVisible(drives));
    EXPECT_EQ(WindowText(drives), L"Sortaro Auswahl der Laufwerke");
    EXPECT_EQ(DialogItemText(drives, IDC_DRIVES_LABEL), L"Bitte wählen Sie die zu scannenden Laufwerke");
    EXPECT_EQ(DialogItemText(drives, IDOK), L"&Weiter>");
    EXPECT_FALSE(IsWindowVisible(main->Hwnd()));
    EXPECT_EQ(GetOption(L"", L"scannewdata"), L"0");

    Click(drives, IDOK);
    int drivesShown = shown.IndexOf(L"Sortaro Auswahl der Laufwerke");
    int progress = shown.IndexOf(L"Analyse");
    int mainWindow = shown.IndexOf(L"Sortaro");
    EXPECT_GE(drivesShown, 0);
    EXPECT_GT(progress, drivesShown);
    EXPECT_GT(mainWindow, progress);
    EXPECT_TRUE(IsWindowVisible(main->Hwnd()));
    EXPECT_EQ(FindShownWindow(L"Analyse"), nullptr);
    EXPECT_EQ(FindShownWindow(L"Sortaro Auswahl der Laufwerke"), nullptr);
    EXPECT_FALSE(MessagePump::QuitSeen());
}

TEST_F(StartupFlow, CancelInTheDriveDialogEnds)
{
    NoDrives();
    WineTest::ShowRecorder shown;
    Start();
    Click(StartupHwnd(), IDOK);
    Click(DrivesHwnd(), IDCANCEL);
    EXPECT_TRUE(MessagePump::QuitSeen());
    EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
    EXPECT_EQ(GetOption(L"", L"hddata"), L"<missing>");
}

TEST_F(StartupFlow, CancelDuringTheScanEndsAndNeverShowsTheMainWindow)
{
    NoDrives();
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    WineTest::ShowRecorder shown;
    shown.ClickWhenShown(L"Analyse", IDCANCEL);
    Start();
    Click(StartupHwnd(), IDOK);
    Click(DrivesHwnd(), IDOK);
    EXPECT_GE(shown.IndexOf(L"Analyse"), 0);
    EXPECT_TRUE(MessagePump::QuitSeen());
    EXPECT_EQ(main->CancelRequested, 1);
    EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
    EXPECT_FALSE(IsWindowVisible(main->Hwnd()));
    EXPECT_FALSE(WineTest::KeyExists(L"ScreenSettings"));
}

TEST_F(StartupFlow, CancelWhileTheDatabaseIsReadEnds)
{
    WineTest::SetOption(L"", L"scannewdata", L"1");
    WineTest::ShowRecorder shown;
    shown.ClickWhenShown(L"Bitte warten", IDCANCEL);
    Start();
    Click(StartupHwnd(), IDOK);
    EXPECT_GE(shown.IndexOf(L"Bitte warten"), 0);
    EXPECT_TRUE(MessagePump::QuitSeen());
    EXPECT_EQ(shown.IndexOf(L"Sortaro"), -1);
}

TEST_F(StartupFlow, EnglishScanPathDialogs)
{
    NoDrives();
    WineTest::SetOption(L"", L"language", L"0");
    WineTest::ShowRecorder shown;
    Start();
    EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), L"Folder");
    Click(StartupHwnd(), IDOK);
    HWND drives = DrivesHwnd();
    EXPECT_EQ(WindowText(drives), L"Select Drives");
    EXPECT_EQ(DialogItemText(drives, IDC_DRIVES_LABEL), L"Select drives to scan");
    EXPECT_EQ(DialogItemText(drives, IDC_DRIVES_ADD), L"Add");
    EXPECT_EQ(DialogItemText(drives, IDC_DRIVES_REMOVE), L"Remove");
    EXPECT_EQ(DialogItemText(drives, IDOK), L"&OK");
    EXPECT_EQ(DialogItemText(drives, IDCANCEL), L"&Cancel");
    Click(drives, IDOK);
    EXPECT_GE(shown.IndexOf(L"Analysing"), 0);
    EXPECT_TRUE(IsWindowVisible(main->Hwnd()));
    EXPECT_EQ(ChildTexts().back(), L"Search") << "English names again after the scan";
    EXPECT_EQ(WindowText(main->Tree().HeaderLabel()), L"Sortaro");
}

TEST_F(StartupFlow, WaitAndProgressDialogTextsInBothLanguages)
{
    struct Case {
        const wchar_t* language;
        WaitDialog::Use use;
        const wchar_t* caption;
        const wchar_t* title;
        const wchar_t* lower;
        const wchar_t* right;
        const wchar_t* button;
    };
    const Case cases[] = {
        {L"1", WaitDialog::Use::Load, L"Bitte warten", L"Initialisiere Daten", L"Laden von Dateiinformationen ",
         L"Bitte warten", L"&Abbrechen"},
        {L"1", WaitDialog::Use::Save, L"Bitte warten", L"Einstellungen speichern ", L"Laden von Dateiinformationen ",
         L"Bitte warten", L"&Abbrechen"},
        {L"0", WaitDialog::Use::Load, L"Please wait", L"Initialising database", L"Loading fileinformation",
         L"Please wait", L"Cancel"},
        {L"0", WaitDialog::Use::Save, L"Please wait", L"Save Settings ", L"Laden von Dateiinformationen ",
         L"Please wait", L"Cancel"},
    };
    for (const Case& c : cases) {
        WineTest::ClearSettings();
        WineTest::SetOption(L"", L"language", c.language);
        Start();
        WaitDialog wait(*main, c.use);
        ASSERT_TRUE(wait.CreateModeless(main->Hwnd()));
        EXPECT_EQ(WindowText(wait.Hwnd()), c.caption);
        EXPECT_EQ(DialogItemText(wait.Hwnd(), IDC_WAIT_TITLE), c.title);
        EXPECT_EQ(DialogItemText(wait.Hwnd(), IDC_WAIT_LOWER), c.lower);
        EXPECT_EQ(DialogItemText(wait.Hwnd(), IDC_WAIT_RIGHT), c.right);
        EXPECT_EQ(DialogItemText(wait.Hwnd(), IDCANCEL), c.button);
        EXPECT_TRUE(GetWindowLongPtrW(wait.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongPtrW(wait.Hwnd(), GWL_STYLE) & WS_SYSMENU) << "no border icons";

        ScanProgressDialog progress(*main);
        ASSERT_TRUE(progress.CreateModeless(main->Hwnd()));
        bool english = c.language[0] == L'0';
        EXPECT_EQ(WindowText(progress.Hwnd()), english ? L"Analysing" : L"Analyse");
        EXPECT_EQ(DialogItemText(progress.Hwnd(), IDC_SCAN_TITLE),
                  english ? L"Initialising database " : L"Initialisiere Datenbank ");
        EXPECT_EQ(DialogItemText(progress.Hwnd(), IDC_SCAN_NOTE),
                  english ? L"This might take several minutes " : L"Dieser Vorgang kann mehrere Minuten dauern");
        EXPECT_EQ(DialogItemText(progress.Hwnd(), IDCANCEL), english ? L"Cancel" : L"&Abbrechen");
        progress.SetPercent(250);
        EXPECT_EQ(progress.Percent(), 100);
        progress.SetPercent(-3);
        EXPECT_EQ(progress.Percent(), 0);
    }
}

TEST_F(StartupFlow, AddedFoldersAreListedAndTheRemovalIsStored)
{
    NoDrives();
    WineTest::SetOption(L"AddedDirs", L"C:\\windows", L"");
    WineTest::SetOption(L"AddedDirs", L"C:\\users", L"");
    Start();
    Click(StartupHwnd(), IDOK);
    HWND drives = DrivesHwnd();
    HWND list = GetDlgItem(drives, IDC_DRIVES_LIST);
    std::vector<std::wstring> rows = RowTexts(list);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"C:\\users", L"C:\\windows"}));
    EXPECT_EQ(RowChecks(list), (std::vector<bool>{true, true}));

    int usersRow = RowTexts(list)[0] == L"C:\\users" ? 0 : 1;
    ListView_SetItemState(list, usersRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(drives, WM_COMMAND, MAKEWPARAM(IDC_DRIVES_REMOVE, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(drives, IDC_DRIVES_REMOVE)));
    EXPECT_EQ(RowTexts(list), (std::vector<std::wstring>{L"C:\\windows"}));
    Click(drives, IDOK);
    EXPECT_EQ(ValueNames(L"AddedDirs"), (std::vector<std::wstring>{L"C:\\windows"}));
    EXPECT_EQ(GetOption(L"", L"hddata"), L"1");
}

} // namespace
