// The main window's catalogue: the extension map, the drive dialog's list, the scan, the
// special folders, and the database at start and at close.

#include "MainWindow.h"

#include "../../common/Log.h"
#include "../../common/MessagePump.h"
#include "../catalogue/CategoryTree.h"
#include "../catalogue/DatabaseText.h"
#include "../catalogue/DriveDialog.h"
#include "../catalogue/DriveScan.h"
#include "../filelist/FolderPickers.h"
#include "../options/BrowserCaches.h"
#include "ScanProgressDialog.h"
#include "SettingsKeys.h"
#include "SettingsText.h"
#include "WaitDialog.h"
#include "resource.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>

namespace {

// The special-folder categories: filled from their folders, never written to the database.
constexpr int kSpecialFolderIds[] = {37, 38, 39, 41, 42, 43};

bool IsSpecialFolderId(int id)
{
    for (int special : kSpecialFolderIds)
        if (special == id)
            return true;
    return false;
}

} // namespace

std::wstring MainWindow::DataFolder() const
{
    std::wstring folder = m_options.installDir;
    if (folder.empty()) {
        // Without an installation folder the catalogue lives beside the program.
        wchar_t module[MAX_PATH] = L"";
        DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
        folder.assign(module, length < MAX_PATH ? length : 0);
        size_t slash = folder.rfind(L'\\');
        folder.resize(slash == std::wstring::npos ? 0 : slash);
    }
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder + L"\\Data";
}

void MainWindow::LoadExtensionMap()
{
    m_extensionMap.clear();
    RegistryKeyScope key(m_registry, SettingsKeys::kFileEnding, false);
    if (!key)
        return;
    for (const std::wstring& name : m_registry.GetValueNames()) {
        std::optional<int> id = SettingsText::ParseDecimal(name);
        // A value whose name is no category id has no list to fill.
        if (!id || *id < 0 || *id >= Catalogue::kListCount) {
            Log::Write(LogLevel::Warning, L"catalogue", L"FileEnding value %ls is no category id", name.c_str());
            continue;
        }
        AppendExtensionList(m_extensionMap, m_registry.ReadString(name).value_or(L""), *id);
    }
}

const FileRecord& MainWindow::GetShellItem(int index) const
{
    return m_catalogue[m_currentCategory][index];
}

// The drive dialog ------------------------------------------------------------------------------

void MainWindow::FillDriveList()
{
    if (!m_drives)
        return;
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return;
    CoTaskMemPtr<ITEMIDLIST_ABSOLUTE> drivesId;
    ComPtr<IShellFolder> drives;
    ComPtr<IEnumIDList> items;
    if (FAILED(SHGetSpecialFolderLocation(Hwnd(), CSIDL_DRIVES, drivesId.Put())) ||
        FAILED(
            desktop->BindToObject(drivesId.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(drives.Put()))) ||
        drives->EnumObjects(Hwnd(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Put()) != S_OK || !items)
        return;
    for (;;) {
        CoTaskMemPtr<ITEMID_CHILD> item;
        if (items->Next(1, item.Put(), nullptr) != S_OK)
            break;
        const std::wstring parsing = FolderPickers::DisplayNameOf(drives.Get(), item.Get(), true);
        if (parsing.find(L':') == std::wstring::npos || parsing.size() < 2)
            continue;
        const std::wstring root = parsing.substr(0, 2) + L"\\";
        int mark;
        switch (GetDriveTypeW(root.c_str())) {
        case DRIVE_REMOVABLE:
            mark = 0;
            break;
        case DRIVE_FIXED:
            mark = 1;
            break;
        case DRIVE_CDROM:
            mark = 2;
            break;
        case DRIVE_RAMDISK:
            mark = 3;
            break;
        default:
            continue; // network and unknown drives are never listed
        }
        if (!m_driveTypeMarks[mark])
            continue;
        SHFILEINFOW info{};
        SHGetFileInfoW(root.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        AddDriveEntry(FolderPickers::DisplayNameOf(drives.Get(), item.Get(), false), info.iIcon, root, true, false);
    }
}

void MainWindow::AddDriveEntry(const std::wstring& caption, int icon, const std::wstring& path, bool checked,
                               bool addedByUser)
{
    if (!m_drives || m_drives->AddRow(caption, icon, checked) < 0)
        return;
    PathParts parts = SplitPath(path);
    FileRecord entry;
    entry.folder = m_catalogue.FindOrAddFolder(parts.folder);
    entry.name = m_catalogue.StoreText(parts.name);
    entry.rootMark = addedByUser ? 1 : 0;
    m_catalogue[0].push_back(entry);
}

void MainWindow::RemoveDriveEntry(int row)
{
    auto& entries = m_catalogue[0];
    if (row >= 0 && row < static_cast<int>(entries.size()))
        entries.erase(entries.begin() + row);
}

void MainWindow::Hinzufgen1Click()
{
    std::wstring folder;
    FolderPickers::BrowseDirectory(English(), folder);
    if (folder.empty())
        return;
    m_addedFolders.push_back(folder);
    FindPidlShellFolder(folder, true);
}

bool MainWindow::FindPidlShellFolder(const std::wstring& path, bool checked)
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) {
        MessageBoxW(GetForegroundWindow(), L"Failed to get Desktop folder.", Text(IDS_APP_TITLE).c_str(), MB_OK);
        return false;
    }
    // The folder part keeps its backslash only for a drive's root ("C:\").
    size_t slash = path.rfind(L'\\');
    std::wstring folderPart = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    if (folderPart.size() > 3)
        folderPart.pop_back();
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);

    CoTaskMemPtr<ITEMIDLIST_RELATIVE> folderId;
    ComPtr<IShellFolder> folder;
    if (folderPart.empty() ||
        FAILED(desktop->ParseDisplayName(Hwnd(), nullptr, &folderPart[0], nullptr, folderId.Put(), nullptr)) ||
        FAILED(
            desktop->BindToObject(folderId.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.Put())))) {
        MessageBoxW(GetForegroundWindow(), L"Invalid file name.", Text(IDS_APP_TITLE).c_str(), MB_OK);
        return false;
    }
    std::wstring parsingPath = path;
    if (!name.empty()) {
        std::wstring itemName = name;
        CoTaskMemPtr<ITEMIDLIST_RELATIVE> itemId;
        if (FAILED(folder->ParseDisplayName(Hwnd(), nullptr, &itemName[0], nullptr, itemId.Put(), nullptr))) {
            MessageBoxW(GetForegroundWindow(), L"Invalid file name.", Text(IDS_APP_TITLE).c_str(), MB_OK);
            return false;
        }
        std::wstring shellPath =
            FolderPickers::DisplayNameOf(folder.Get(), reinterpret_cast<PCUITEMID_CHILD>(itemId.Get()), true);
        if (IsAbsolutePath(shellPath))
            parsingPath = shellPath;
    }
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    AddDriveEntry(path, info.iIcon, parsingPath, checked, true);
    return true;
}

// The scan ----------------------------------------------------------------------------------------

void MainWindow::ScanDrive()
{
    m_scanProgress = std::make_unique<ScanProgressDialog>(*this);
    if (m_scanProgress->CreateModeless(Hwnd())) {
        ShowWindow(m_scanProgress->Hwnd(), SW_SHOW);
        UpdateWindow(m_scanProgress->Hwnd());
    }
    CancelRequested = 0;
    DriveScan scan(m_catalogue, m_extensionMap, CancelRequested);
    scan.SetIncludeHidden(m_options.includeHiddenFiles == 1);
    scan.SetProgress([this](int percent) {
        if (m_scanProgress)
            m_scanProgress->SetPercent(percent);
    });
    const int rows = m_drives ? m_drives->RowCount() : 0;
    // First the bytes to expect: the used space of each checked row's drive.
    for (int row = 0; row < rows && !CancelRequested; ++row) {
        if (!m_drives->RowChecked(row))
            continue;
        const std::wstring caption = m_drives->RowCaption(row);
        std::wstring drive = caption.substr(0, 2);
        size_t open = caption.find(L'(');
        if (open != std::wstring::npos) {
            size_t close = caption.find(L')', open + 1);
            drive = caption.substr(open + 1, close == std::wstring::npos ? std::wstring::npos : close - open - 1);
        }
        scan.AddToTotal(DriveScan::UsedSpace(GetNumber(drive)));
    }
    // Then the walk of each checked row.
    for (int row = 0; row < rows && !CancelRequested; ++row) {
        if (!m_drives->RowChecked(row) || row >= static_cast<int>(m_catalogue[0].size()))
            continue;
        scan.ShowFolder(m_catalogue.Path(m_catalogue[0][row]));
    }
    MessagePump::ProcessMessages();
    if (CancelRequested || m_ended) {
        EndApplication();
        return;
    }
    m_scanProgress->SetPercent(100);
    if (English())
        LanguageE();
    if (m_options.saveSettings) {
        GetSettings();
        GetColumnWidth();
    }
    ShowMainWindow();
    m_scanProgress.reset();
    Retire(m_drives);
    TreeView1Change();
}

std::wstring MainWindow::SpecialFolder(int csidl) const
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

void MainWindow::FillFolderIDS()
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) {
        MessageBoxW(GetForegroundWindow(), L"Fehler Desktop folder.", Text(IDS_APP_TITLE).c_str(), MB_OK);
        MessagePump::ProcessMessages();
        return;
    }
    DriveScan walk(m_catalogue, m_extensionMap, CancelRequested);
    const struct {
        int id;
        int csidl;
    } systemFolders[] = {{37, CSIDL_INTERNET_CACHE}, {38, CSIDL_COOKIES}, {42, CSIDL_RECENT}};
    for (const auto& special : systemFolders) {
        std::wstring path = SpecialFolder(special.csidl);
        if (!path.empty())
            walk.ShowSpecialFolder(path, special.id);
    }
    m_operaPath = GetOperaPath(m_registry);
    m_netscapePath = GetNetscapePath(m_registry);
    if (!m_netscapePath.empty())
        walk.ShowSpecialFolder(m_netscapePath, 41);
    if (!m_operaPath.empty())
        walk.ShowSpecialFolder(m_operaPath, 39);
    wchar_t temp[MAX_PATH + 1] = L"";
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length > 0 && length <= MAX_PATH)
        walk.ShowSpecialFolder(temp, 43);
    MessagePump::ProcessMessages();
}

// The database -------------------------------------------------------------------------------------

void MainWindow::FillNodes(int categoryId, const std::wstring& path)
{
    // A file or folder that is gone is left out without a word.
    m_loader.Add(categoryId, path);
}

void MainWindow::ReadDatenBank()
{
    const std::wstring folder = DataFolder();
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) {
        MessagePump::ProcessMessages();
        return;
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring name = data.cFileName;
        if (ExtensionOf(name) != L".DAT")
            continue;
        MessagePump::ProcessMessages();
        // Files whose name is no category id are not the catalogue's.
        std::optional<int> id = DatabaseText::CategoryIdOfFileName(name);
        if (!id)
            continue;
        if (m_wait)
            m_wait->SetStatus(Text(IDS_READING) + name);
        MessagePump::ProcessMessages();
        ReadCategoryFile(folder + L"\\" + name, CancelRequested, [&](const std::wstring& line) {
            FillNodes(*id, line);
            MessagePump::ProcessMessagesEvery();
        });
    } while (!CancelRequested && FindNextFileW(find.Get(), &data));
    MessagePump::ProcessMessages();
}

void MainWindow::WriteDatenBank()
{
    const std::wstring folder = DataFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring failed;
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failed = folder;
    } else {
        for (HTREEITEM node : NodesInTreeOrder()) {
            if (CancelRequested)
                break;
            const int id = NodeCategory(node);
            if (TreeView_GetChild(m_tree, node) || IsSpecialFolderId(id) || id < 0 || id >= Catalogue::kListCount)
                continue;
            m_currentCategory = id;
            const std::wstring file = std::to_wstring(id) + L".dat";
            if (m_wait)
                m_wait->SetStatus(Text(IDS_SAVING) + file);
            MessagePump::ProcessMessages();
            WriteResult result = WriteCategoryFile(folder, id, m_catalogue, m_catalogue[id], CancelRequested,
                                                   [] { MessagePump::ProcessMessagesEvery(); });
            if (result == WriteResult::Failed)
                failed += L"\n" + folder + L"\\" + file;
            MessagePump::ProcessMessages();
        }
    }
    if (!failed.empty())
        MessageBoxW(m_wait ? m_wait->Hwnd() : nullptr, (Text(IDS_DATABASE_NOT_SAVED) + L"\n" + failed).c_str(),
                    Text(IDS_ERROR_TITLE).c_str(), MB_OK | MB_ICONERROR);
}
