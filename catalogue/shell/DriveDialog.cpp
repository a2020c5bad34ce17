#include "DriveDialog.h"

#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/SettingsKeys.h"
#include "../filelist/FolderPickers.h"
#include "EnglishTexts.h"
#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

DriveDialog::DriveDialog(Program& program, Catalogue& catalogue, std::function<void()> onOk)
    : Dialog(IDD_DRIVES), m_program(program), m_catalogue(catalogue), m_onOk(std::move(onOk))
{
}

bool DriveDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(EnglishTexts::kDriveDialog);

    MakeCheckList(IDC_DRIVES_LIST);
    HWND list = Item(IDC_DRIVES_LIST);
    SHFILEINFOW info{};
    // The shell's small system image list: shared (LVS_SHAREIMAGELISTS), the list must not destroy it.
    ListView_SetImageList(list,
                          reinterpret_cast<HIMAGELIST>(
                              SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
                          LVSIL_SMALL);

    // The two links look like links.
    m_linkFont.Reset(CreateDerivedFont(false, true));
    for (int id : {IDC_DRIVES_ADD, IDC_DRIVES_REMOVE})
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), FALSE);
    return true;
}

int DriveDialog::RowCount() const
{
    return ListView_GetItemCount(Item(IDC_DRIVES_LIST));
}

std::wstring DriveDialog::RowCaption(int row) const
{
    wchar_t text[MAX_PATH * 2] = L"";
    ListView_GetItemText(Item(IDC_DRIVES_LIST), row, 0, text, ARRAYSIZE(text));
    return text;
}

std::wstring DriveDialog::RowDrive(int row) const
{
    // From the path, not the caption: a volume label or a folder name may hold brackets of its
    // own ("C:\Program Files (x86)\X").
    const auto& entries = m_catalogue[0];
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return {};
    const std::wstring root = VolumeRootOf(m_catalogue.Path(entries[row]));
    return root.size() == 3 ? root.substr(0, 2) : std::wstring();
}

bool DriveDialog::RowChecked(int row) const
{
    return ListView_GetCheckState(Item(IDC_DRIVES_LIST), row) != 0;
}

void DriveDialog::SetRowChecked(int row, bool checked)
{
    ListView_SetCheckState(Item(IDC_DRIVES_LIST), row, checked ? TRUE : FALSE);
}

int DriveDialog::AddRow(const std::wstring& caption, int icon, bool checked)
{
    std::wstring text = caption;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = RowCount();
    item.pszText = &text[0];
    item.iImage = icon;
    int row = ListView_InsertItem(Item(IDC_DRIVES_LIST), &item);
    if (row >= 0)
        SetRowChecked(row, checked);
    return row;
}

int DriveDialog::SelectedRow() const
{
    return ListView_GetNextItem(Item(IDC_DRIVES_LIST), -1, LVNI_SELECTED);
}

void DriveDialog::RemoveSelectedRow()
{
    int row = SelectedRow();
    if (row < 0)
        return;
    const std::wstring caption = RowCaption(row);
    auto found = std::find_if(m_addedFolders.begin(), m_addedFolders.end(), [&](const std::wstring& folder) {
        return folder == caption || MissingCaption(folder) == caption;
    });
    if (found != m_addedFolders.end())
        m_addedFolders.erase(found);
    ListView_DeleteItem(Item(IDC_DRIVES_LIST), row);
    auto& entries = m_catalogue[0];
    if (row < static_cast<int>(entries.size()))
        entries.Entries().erase(entries.Entries().begin() + row);
}

bool DriveDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_DRIVES_REMOVE && code == STN_CLICKED) {
        RemoveSelectedRow();
        return true;
    }
    if (id == IDC_DRIVES_ADD && code == STN_CLICKED) {
        Hinzufgen1Click();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void DriveDialog::OnOk()
{
    ShowWindow(Hwnd(), SW_HIDE);
    WriteHDwahl();
    if (m_onOk)
        m_onOk();
}

void DriveDialog::OnCancel()
{
    m_program.EndApplication();
}

bool DriveDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    HWND control = reinterpret_cast<HWND>(msg == WM_SETCURSOR ? wParam : lParam);
    bool isLink = control == Item(IDC_DRIVES_ADD) || control == Item(IDC_DRIVES_REMOVE);
    if (msg == WM_CTLCOLORSTATIC && isLink) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, RGB(0, 102, 204));
        SetBkMode(hdc, TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    if (msg == WM_SETCURSOR && isLink) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    return false;
}

// Rows ------------------------------------------------------------------------------------------

namespace {

// The drive type marks of the start-up dialog, by GetDriveTypeW; -1 for types never listed
// (network and unknown drives).
int DriveTypeRow(UINT type)
{
    switch (type) {
    case DRIVE_REMOVABLE:
        return 0;
    case DRIVE_FIXED:
        return 1;
    case DRIVE_CDROM:
        return 2;
    case DRIVE_RAMDISK:
        return 3;
    default:
        return -1;
    }
}

} // namespace

void DriveDialog::FillDriveList(const bool driveTypes[kDriveTypeCount])
{
    for (const FolderPickers::ComputerDrive& drive : FolderPickers::ComputerDrives(Hwnd())) {
        const int type = DriveTypeRow(GetDriveTypeW(drive.root.c_str()));
        if (type < 0 || !driveTypes[type])
            continue;
        SHFILEINFOW info{};
        SHGetFileInfoW(drive.root.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        AddDriveEntry(drive.caption, info.iIcon, drive.root, true, false);
    }
}

void DriveDialog::AddDriveEntry(const std::wstring& caption, int icon, const std::wstring& path, bool checked,
                                bool addedByUser)
{
    if (AddRow(caption, icon, checked) < 0)
        return;
    PathParts parts = SplitPath(path);
    FileRecord entry;
    entry.folder = m_catalogue.FindOrAddFolder(parts.folder);
    entry.name = m_catalogue.StoreText(parts.name);
    entry.marks = addedByUser ? FileRecord::kRootMark : 0;
    m_catalogue[0].push_back(entry);
}

void DriveDialog::Hinzufgen1Click()
{
    std::wstring folder;
    FolderPickers::BrowseDirectory(m_program.English(), folder);
    if (folder.empty())
        return;
    m_addedFolders.push_back(folder);
    FindPidlShellFolder(folder, true);
}

const wchar_t* DriveDialog::ResolveFolder(const std::wstring& path, std::wstring& parsingPath) const
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop)
        return L"Failed to get Desktop folder.";
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
            desktop->BindToObject(folderId.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.Put()))))
        return L"Invalid file name.";
    parsingPath = path;
    if (!name.empty()) {
        std::wstring itemName = name;
        CoTaskMemPtr<ITEMIDLIST_RELATIVE> itemId;
        if (FAILED(folder->ParseDisplayName(Hwnd(), nullptr, &itemName[0], nullptr, itemId.Put(), nullptr)))
            return L"Invalid file name.";
        std::wstring shellPath =
            FolderPickers::DisplayNameOf(folder.Get(), reinterpret_cast<PCUITEMID_CHILD>(itemId.Get()), true);
        if (IsAbsolutePath(shellPath))
            parsingPath = shellPath;
    }
    return nullptr;
}

bool DriveDialog::FindPidlShellFolder(const std::wstring& path, bool checked)
{
    std::wstring parsingPath;
    if (const wchar_t* failure = ResolveFolder(path, parsingPath)) {
        MessageBoxW(GetForegroundWindow(), failure, m_program.Text(IDS_APP_TITLE).c_str(), MB_OK);
        return false;
    }
    AddFolderRow(path, parsingPath, checked);
    return true;
}

void DriveDialog::AddFolderRow(const std::wstring& folder, const std::wstring& parsingPath, bool checked)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(folder.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    AddDriveEntry(folder, info.iIcon, parsingPath, checked, true);
}

void DriveDialog::AddMissingFolderRow(const std::wstring& folder)
{
    // The icon of a folder by its kind alone: the folder itself is not there to ask.
    SHFILEINFOW info{};
    SHGetFileInfoW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    AddDriveEntry(MissingCaption(folder), info.iIcon, folder, false, true);
}

std::wstring DriveDialog::MissingCaption(const std::wstring& folder) const
{
    return folder + L" " + m_program.Text(IDS_FOLDER_MISSING);
}

// Settings --------------------------------------------------------------------------------------

void DriveDialog::GetHDwahl()
{
    Registry& settings = m_program.Settings();
    {
        RegistryKeyScope key(settings, SettingsKeys::kOptions, KeyAccess::Read);
        if (key)
            if (auto text = settings.ReadString(L"hddata"))
                ApplyCheckFlags(IDC_DRIVES_LIST, *text);
    }
    {
        RegistryKeyScope key(settings, SettingsKeys::kAddedDirs, KeyAccess::Read);
        if (!key)
            return;
        m_addedFolders = settings.GetValueNames();
    }
    // Resolved through the shell like a folder added now. One that is gone (deleted, or on a
    // medium not inserted) is no message at every start: it gets an unchecked row marked as
    // missing, stays stored, and "Entfernen" can take it out.
    for (const std::wstring& folder : m_addedFolders) {
        std::wstring parsingPath;
        if (ResolveFolder(folder, parsingPath))
            AddMissingFolderRow(folder);
        else
            AddFolderRow(folder, parsingPath, true);
    }
}

void DriveDialog::WriteHDwahl()
{
    Registry& settings = m_program.Settings();
    {
        RegistryKeyScope key(settings, SettingsKeys::kOptions, KeyAccess::Create);
        if (key)
            settings.WriteString(L"hddata", CheckFlags(IDC_DRIVES_LIST));
    }
    settings.DeleteKey(SettingsKeys::kAddedDirs);
    RegistryKeyScope key(settings, SettingsKeys::kAddedDirs, KeyAccess::Create);
    if (!key)
        return;
    for (const std::wstring& folder : m_addedFolders)
        settings.WriteString(folder, L"");
}
