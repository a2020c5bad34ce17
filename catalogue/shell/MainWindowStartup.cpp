// The main window's start-up and shutdown: the start-up and drive dialogs, the scan, the
// special folders, and the database at start and at close.

#include "MainWindow.h"

#include "../../common/Log.h"
#include "../../common/MessagePump.h"
#include "../../common/ScreenDpi.h"
#include "../catalogue/CatalogueChecker.h"
#include "../catalogue/CatalogueEdit.h"
#include "../catalogue/CategoryTree.h"
#include "../catalogue/DriveScan.h"
#include "../catalogue/SettingsKeys.h"
#include "../preview/PreviewPane.h"
#include "ScanProgressDialog.h"
#include "StartupDialog.h"
#include "WaitDialog.h"
#include "resource.h"

#include <shellapi.h>
#include <shlobj.h>

template <typename T> void MainWindow::Retire(std::unique_ptr<T>& dialog)
{
    if (!dialog)
        return;
    dialog->Close(IDOK);
    m_dialogs.retired.push_back(std::move(dialog));
    PostMessageW(Hwnd(), WM_APP_RELEASE_DIALOGS, 0, 0);
}

void MainWindow::FormCreate()
{
    m_options.language = 1;
    NeuEinlesen();
    // The special folders' categories, filled while the start-up dialog waits for an answer.
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop)
        MessageBoxW(GetForegroundWindow(), L"Fehler Desktop folder.", Text(IDS_APP_TITLE).c_str(), MB_OK);
    else
        m_model.FillSpecialFolders(m_registry, CancelRequested, [] { MessagePump::ProcessMessagesEvery(); });
    MessagePump::ProcessMessages();
    if (m_dialogs.startup)
        m_dialogs.startup->EnableButtons();
    // The sort mark of the name column, which the first header click turns round.
    m_list->ShowSortMarker();
}

void MainWindow::NeuEinlesen()
{
    for (bool& mark : m_startup.driveTypes)
        mark = false;

    GetUserFiles();
    RecoverUserCategoryFiles();
    m_model.LoadExtensionMap(m_registry);
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, KeyAccess::Create);
        if (key)
            m_registry.ReadNumber(L"includehiddenfiles", m_options.includeHiddenFiles);
    }
    wchar_t windows[MAX_PATH] = L"";
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    m_options.windowsFolder.assign(windows, length < MAX_PATH ? length : 0);
    CancelRequested = 0;

    auto& startup = m_dialogs.startup;
    startup = std::make_unique<StartupDialog>(*this, [this] { StartupContinue(); });
    if (!startup->CreateModeless(Hwnd())) {
        startup.reset();
        return;
    }
    for (int row = 0; row < DriveDialog::kDriveTypeCount; ++row)
        startup->SetRowChecked(row, true);
    GetDatenwahl();
    ShowWindow(startup->Hwnd(), SW_SHOW);
    UpdateWindow(startup->Hwnd());
    SetForegroundWindow(startup->Hwnd());
}

void MainWindow::StartupContinue()
{
    if (!m_dialogs.startup)
        return;
    m_startup.source = m_dialogs.startup->RescanSelected() ? 0 : 1;
    for (int row = 0; row < DriveDialog::kDriveTypeCount; ++row)
        m_startup.driveTypes[row] = m_dialogs.startup->RowChecked(row);
    WriteDatenwahl();
    InitData();
}

void MainWindow::InitData()
{
    Retire(m_dialogs.startup);
    m_tree->DeleteNodesAfterSearch();

    // The shell's system image lists in the sizes of the window's scale, shared with the
    // shell: the list must not destroy them.
    m_list->SetSystemImages(SystemImageList(Scale(16)), SystemImageList(Scale(32)));
    if (m_startup.source == 0) {
        auto& drives = m_dialogs.drives;
        drives = std::make_unique<DriveDialog>(*this, m_model.Lists(), [this] { ScanDrive(); });
        if (drives->CreateModeless(Hwnd())) {
            drives->FillDriveList(m_startup.driveTypes);
            drives->GetHDwahl();
            ShowWindow(drives->Hwnd(), SW_SHOW);
            SetForegroundWindow(drives->Hwnd());
        }
    } else {
        m_dialogs.wait = std::make_unique<WaitDialog>(*this, WaitDialog::Use::Load);
        if (m_dialogs.wait->CreateModeless(Hwnd())) {
            ShowWindow(m_dialogs.wait->Hwnd(), SW_SHOW);
            UpdateWindow(m_dialogs.wait->Hwnd());
        }
        ReadDatenBank();
        if (CancelRequested || ApplicationEnded())
            return;
        m_dialogs.wait.reset();
        if (m_options.saveSettings) {
            GetSettings();
            m_list->ReadColumnWidths();
        }
        ShowMainWindow();
    }

    AppendUserCategories();
    m_tree->SelectRoot();
    m_preview->GetVorschau();
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kVorschau, KeyAccess::Read);
        if (key)
            m_registry.ReadNumber(L"Enabled", m_options.previewShown);
    }
    if (m_options.previewShown && !m_previewVisible)
        Vorschau1Click();
    if (m_startup.source == 1) {
        m_list->TreeView1Change();
        StartCatalogueCheck();
    }
}

void MainWindow::AppendUserCategories()
{
    m_model.AddUserExtensions(m_tree->AppendUserCategoryNodes(m_model.UserCategories()));
}

// The scan ----------------------------------------------------------------------------------------

void MainWindow::ScanDrive()
{
    auto& progress = m_dialogs.scanProgress;
    progress = std::make_unique<ScanProgressDialog>(*this);
    if (progress->CreateModeless(Hwnd())) {
        ShowWindow(progress->Hwnd(), SW_SHOW);
        UpdateWindow(progress->Hwnd());
    }
    CancelRequested = 0;
    Catalogue& catalogue = m_model.Lists();
    DriveScan scan(catalogue, m_model.Extensions(), CancelRequested);
    scan.SetIncludeHidden(m_options.includeHiddenFiles == 1);
    scan.SetIdle([] { MessagePump::ProcessMessagesEvery(); });
    scan.SetProgress([this](int percent) {
        if (m_dialogs.scanProgress)
            m_dialogs.scanProgress->SetPercent(percent);
    });
    DriveDialog* drives = m_dialogs.drives.get();
    const int rows = drives ? drives->RowCount() : 0;
    // First the bytes to expect: the used space of each checked row's drive, each drive once
    // however many of its folders are checked.
    bool counted[27] = {};
    for (int row = 0; row < rows && !CancelRequested; ++row) {
        if (!drives->RowChecked(row))
            continue;
        const int drive = GetNumber(drives->RowDrive(row));
        if (drive > 0 && !counted[drive]) {
            counted[drive] = true;
            scan.AddToTotal(DriveScan::UsedSpace(drive));
        }
    }
    // Then the walk of each checked row.
    for (int row = 0; row < rows && !CancelRequested; ++row) {
        if (!drives->RowChecked(row) || row >= static_cast<int>(catalogue[0].size()))
            continue;
        scan.ShowFolder(catalogue.Path(catalogue[0][row]));
    }
    // The discs and drives that were not there keep their records from the catalogue.
    if (m_options.database && !CancelRequested) {
        DatabaseProgress keep;
        keep.idle = [] { MessagePump::ProcessMessagesEvery(); };
        m_model.KeepOfflineRecords(CatalogueModel::DataFolder(m_options.installDir), CancelRequested, keep);
    }
    MessagePump::ProcessMessages();
    if (CancelRequested || ApplicationEnded()) {
        EndApplication();
        return;
    }
    // The messages pumped during the walk may have released the progress dialog already.
    if (m_dialogs.scanProgress)
        m_dialogs.scanProgress->SetPercent(100);
    m_model.Lists().Compact();
    if (English())
        LanguageE();
    if (m_options.saveSettings) {
        GetSettings();
        m_list->ReadColumnWidths();
    }
    ShowMainWindow();
    progress.reset();
    Retire(m_dialogs.drives);
    m_list->TreeView1Change();
}

// The database -------------------------------------------------------------------------------------

void MainWindow::ShowWaitStatus(const std::wstring& text)
{
    if (m_dialogs.wait)
        m_dialogs.wait->SetStatus(text);
    MessagePump::ProcessMessages();
}

void MainWindow::ReadDatenBank()
{
    DatabaseProgress progress;
    progress.file = [this](const std::wstring& name) { ShowWaitStatus(Text(IDS_READING) + name); };
    progress.idle = [] { MessagePump::ProcessMessagesEvery(); };
    m_model.ReadDatabase(CatalogueModel::DataFolder(m_options.installDir), CancelRequested, progress);
    MessagePump::ProcessMessages();
}

void MainWindow::StartCatalogueCheck()
{
    if (m_model.Unchecked().none())
        return;
    // The window is painted first: taking the files to check takes a moment on a large catalogue.
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CheckList files;
    files.Collect(m_model.Lists(), m_model.Unchecked());
    if (files.Size() == 0) {
        m_model.SetChecked();
        return;
    }
    m_check = std::make_unique<CatalogueChecker>();
    m_check->Start(std::move(files), Hwnd(), WM_APP_CATALOGUE_CHECKED);
}

void MainWindow::ApplyCatalogueCheck(bool closing)
{
    if (!m_check)
        return;
    // A dialog of this window (it is disabled meanwhile) or a menu may hold records of the lists
    // or their rows: the updates wait until it is closed.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    const bool inMenu = GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE);
    if (!closing && (!IsWindowEnabled(Hwnd()) || inMenu)) {
        SetTimer(Hwnd(), kCheckRetryTimer, 250, nullptr);
        return;
    }
    const bool finished = m_check->Finished();
    const std::vector<CatalogueEdit::FileUpdate> updates = m_check->Take();
    const int shown = m_list->GroupView() ? -1 : m_list->CurrentCategory();
    std::vector<size_t> removedRows;
    const CatalogueEdit::Touched touched = CatalogueEdit::ApplyUpdates(m_model.Lists(), updates, shown, &removedRows);
    if (!closing && shown >= 0 && touched.test(static_cast<size_t>(shown)))
        m_list->ShowUpdatedRows(removedRows);
    if (finished) {
        Log::Write(LogLevel::Info, L"catalogue", L"the %lu files read from their stored facts are checked",
                   static_cast<unsigned long>(m_check->Total()));
        m_check.reset();
        m_model.SetChecked();
    }
}

void MainWindow::StopCatalogueCheck()
{
    if (!m_check)
        return;
    m_check->Stop();
    // What it found is applied; the files it did not reach keep their records as they were.
    ApplyCatalogueCheck(true);
    m_check.reset();
}

void MainWindow::WriteDatenBank()
{
    DatabaseProgress progress;
    progress.file = [this](const std::wstring& name) { ShowWaitStatus(Text(IDS_SAVING) + name); };
    progress.idle = [] { MessagePump::ProcessMessagesEvery(); };
    const CatalogueModel::WriteReport report = m_model.WriteDatabase(
        CatalogueModel::DataFolder(m_options.installDir), m_tree->LeafCategories(), CancelRequested, progress);
    std::wstring message;
    if (!report.failed.empty())
        message = Text(IDS_DATABASE_NOT_SAVED) + L"\n\n" + report.failed;
    if (!report.leftUnread.empty())
        message += (message.empty() ? L"" : L"\n\n") + Text(IDS_DATABASE_LEFT_UNREAD) + L"\n\n" + report.leftUnread;
    if (!message.empty())
        MessageBoxW(m_dialogs.wait ? m_dialogs.wait->Hwnd() : nullptr, message.c_str(), Text(IDS_ERROR_TITLE).c_str(),
                    MB_OK | MB_ICONERROR);
}

void MainWindow::EndApplication()
{
    CancelRequested = 1;
    if (m_phase != Phase::Ended) {
        m_phase = Phase::Ended;
        PostQuitMessage(0);
    }
}

void MainWindow::FormClose()
{
    if (m_phase == Phase::Closing || m_phase == Phase::Ended)
        return;
    m_phase = Phase::Closing;
    StopCatalogueCheck();
    if (m_options.saveSettings)
        SaveSettings();
    ShowWindow(Hwnd(), SW_HIDE);
    CancelRequested = 0;
    MessagePump::ProcessMessages();
    if (m_options.database && !CancelRequested) {
        auto& wait = m_dialogs.wait;
        wait = std::make_unique<WaitDialog>(*this, WaitDialog::Use::Save);
        if (wait->CreateModeless(Hwnd())) {
            MessagePump::ProcessMessages();
            ShowWindow(wait->Hwnd(), SW_SHOW);
            UpdateWindow(wait->Hwnd());
            MessagePump::ProcessMessages();
            wait->HideLowerLabel();
        }
        WriteDatenBank();
        MessagePump::ProcessMessages();
        wait.reset();
    }
    DestroyWindow(Hwnd());
}
