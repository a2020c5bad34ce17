#include "FileOperations.h"

#include "../../common/Controls.h"
#include "../catalogue/CatalogueEdit.h"
#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/ProgramIds.h"
#include "../catalogue/SettingsKeys.h"
#include "FileListTexts.h"
#include "FolderPickers.h"

#include <shellapi.h>

#include <utility>

namespace {

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The text with "%1" and "%2" replaced.
std::wstring Fill(std::wstring text, const std::wstring& first, const std::wstring& second = {})
{
    for (const auto& [mark, value] : {std::pair{L"%1", &first}, std::pair{L"%2", &second}}) {
        const size_t at = text.find(mark);
        if (at != std::wstring::npos)
            text.replace(at, 2, *value);
    }
    return text;
}

std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

struct ShellResult {
    int code;
    bool aborted;
};

// The shell's file operation: its lists hold each path followed by a NUL, and one more NUL.
ShellResult RunShellOperation(HWND parent, UINT operation, const std::vector<std::wstring>& sources,
                              const std::wstring& target, FILEOP_FLAGS flags)
{
    std::wstring from;
    for (const std::wstring& source : sources) {
        from += source;
        from += L'\0';
    }
    from += L'\0';
    std::wstring to = target;
    to += L'\0';
    to += L'\0';
    SHFILEOPSTRUCTW request{};
    request.hwnd = parent;
    request.wFunc = operation;
    request.pFrom = from.c_str();
    request.pTo = target.empty() ? nullptr : to.c_str();
    request.fFlags = flags;
    const int code = SHFileOperationW(&request);
    return {code, request.fAnyOperationsAborted != FALSE};
}

void CentreOnOwner(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT outer{}, box{};
    if (!owner || !GetWindowRect(owner, &outer) || !GetWindowRect(dialog, &box))
        return;
    const int width = box.right - box.left, height = box.bottom - box.top;
    SetWindowPos(dialog, nullptr, outer.left + (outer.right - outer.left - width) / 2,
                 outer.top + (outer.bottom - outer.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The part of a file name before its extension, and the extension with its dot (from the last
// dot; empty when there is none).
std::pair<std::wstring, std::wstring> SplitExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return {name, L""};
    return {name.substr(0, dot), name.substr(dot)};
}

} // namespace

std::wstring GetBrowseDir(Registry& settings)
{
    RegistryKeyScope key(settings, SettingsKeys::kOptions, KeyAccess::Read);
    if (!key)
        return {};
    return settings.ReadString(L"browsedir").value_or(L"");
}

void WriteBrowseDir(Registry& settings, const std::wstring& destination)
{
    RegistryKeyScope key(settings, SettingsKeys::kOptions, KeyAccess::Create);
    if (key)
        settings.WriteString(L"browsedir", destination);
}

// The copy/move dialog ---------------------------------------------------------------------------

CopyMoveDialog::CopyMoveDialog(Program& program, const Selection& files, std::wstring destination, bool move,
                               Confirm confirm)
    : Dialog(IDD_COPY_MOVE), m_program(program), m_files(files), m_destination(std::move(destination)),
      m_move(move), m_confirm(std::move(confirm))
{
}

bool CopyMoveDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(FileListTexts::kCopyDialog);
    CentreOnOwner(Hwnd());
    SetItemText(IDC_COPY_DESTINATION, m_destination.c_str());
    CheckRadioButton(Hwnd(), IDC_COPY_COPY, IDC_COPY_MOVE, m_move ? IDC_COPY_MOVE : IDC_COPY_COPY);

    HWND list = Item(IDC_COPY_FILES);
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(list, images, LVSIL_SMALL);
    std::wstring caption = m_program.Text(IDS_COPY_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = 290;
    column.pszText = &caption[0];
    ListView_InsertColumn(list, 0, &column);
    for (const SelectedFile& file : m_files.files) {
        std::wstring name = file.name;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = &name[0];
        item.iImage = file.iconIndex;
        if (item.iImage < 0) {
            SHGetFileInfoW(file.name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            item.iImage = info.iIcon;
        }
        ListView_InsertItem(list, &item);
    }
    return true;
}

bool CopyMoveDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_COPY_BROWSE && code == BN_CLICKED) {
        BitBtn3Click();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void CopyMoveDialog::BitBtn3Click()
{
    // A cancelled picker leaves the destination as it was.
    std::wstring folder = Destination();
    FolderPickers::BrowseFolders(m_program.English(), folder);
    SetItemText(IDC_COPY_DESTINATION, folder.c_str());
}

void CopyMoveDialog::OnOk()
{
    if (!m_confirm(Destination(), MoveChecked(), Hwnd())) {
        SetFocus(Item(IDC_COPY_DESTINATION));
        return;
    }
    FormClose();
    Close(IDOK);
}

void CopyMoveDialog::OnCancel()
{
    FormClose();
    Close(IDCANCEL);
}

void CopyMoveDialog::FormClose()
{
    WriteBrowseDir(m_program.Settings(), Destination());
}

// The rename dialog ------------------------------------------------------------------------------

RenameDialog::RenameDialog(Program& program, std::wstring oldName, Confirm confirm)
    : Dialog(IDD_RENAME), m_program(program), m_oldName(std::move(oldName)), m_confirm(std::move(confirm))
{
}

bool RenameDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(FileListTexts::kRenameDialog);
    CentreOnOwner(Hwnd());
    SetItemText(IDC_RENAME_OLD, m_oldName.c_str());
    SetFocus(Item(IDC_RENAME_NEW));
    return false; // the focus is set
}

void RenameDialog::OnOk()
{
    if (m_confirm(ItemText(IDC_RENAME_NEW), Hwnd())) {
        Close(IDOK);
        return;
    }
    SetFocus(Item(IDC_RENAME_NEW));
    SendMessageW(Item(IDC_RENAME_NEW), EM_SETSEL, 0, -1);
}

// The commands -----------------------------------------------------------------------------------

FileOperations::FileOperations(Program& program, CatalogueModel& model, FileListPane& list)
    : m_program(program), m_model(model), m_list(list)
{
}

void FileOperations::AddCommands(CommandTable& commands)
{
    commands.Add({IDM_OPEN, [this] { ffnen2Click(); }, {}, {}});
    commands.Add({IDM_OPEN_WITH, [this] { ffnenmit1Click(); }, {}, {}});
    commands.Add({IDM_MOVE, [this] { Verschiebennach1Click(); }, {}, {}});
    commands.Add({IDM_COPY, [this] { Kopierennach2Click(); }, {}, {}});
    commands.Add({IDM_DELETE, [this] { Lschen2Click(); }, {}, {}});
    commands.Add({IDM_DELETE_FOR_GOOD, [this] { DeleteForGood(); }, {}, {}});
    commands.Add({IDM_RENAME, [this] { Umbennenen1Click(); }, {}, {}});
    commands.Add({IDM_PROPERTIES, [this] { Eigenschaften2Click(); }, {}, {}});
    commands.Add({IDM_FILE_PROPERTIES, [this] { Eigenschaften2Click(); }, {}, {}});
}

Selection FileOperations::Take()
{
    Selection files = m_list.GetSelItems();
    if (files.category < 0)
        files.files.clear();
    return files;
}

const FileRecord* FileOperations::RecordOf(const Selection& files, const SelectedFile& file) const
{
    const Catalogue& catalogue = m_model.Lists();
    const Catalogue::List& list = catalogue[files.category];
    if (file.row >= 0 && file.row < static_cast<int>(list.size()) && catalogue.Path(list[file.row]) == file.path)
        return &list[file.row];
    for (const FileRecord& record : list)
        if (catalogue.Path(record) == file.path)
            return &record;
    return nullptr;
}

void FileOperations::Message(HWND parent, const std::wstring& text) const
{
    MessageBoxW(parent, text.c_str(), m_program.Text(IDS_NOTE_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool FileOperations::RefuseOffline(const Selection& files)
{
    for (const SelectedFile& file : files.files) {
        const FileRecord* record = RecordOf(files, file);
        if (record && record->Offline()) {
            Message(m_program.Owner(),
                    Fill(m_program.Text(IDS_OFFLINE_REFUSED), m_list.OfflineNoteOf(*record), file.path));
            return true;
        }
    }
    return false;
}

void FileOperations::ffnen2Click()
{
    const Selection files = Take();
    if (files.Empty() || RefuseOffline(files))
        return;
    ShellExecuteW(m_program.Owner(), L"open", files.files[0].path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void FileOperations::ffnenmit1Click()
{
    const Selection files = Take();
    if (files.Empty() || RefuseOffline(files))
        return;
    // The system's "open with" dialog takes the rest of its command line as the path.
    const std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + files.files[0].path;
    ShellExecuteW(m_program.Owner(), L"open", L"rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void FileOperations::Eigenschaften2Click()
{
    const Selection files = Take();
    if (files.Empty() || RefuseOffline(files))
        return;
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_INVOKEIDLIST;
    execute.hwnd = m_program.Owner();
    execute.lpVerb = L"properties";
    execute.lpFile = files.files[0].path.c_str();
    execute.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&execute);
}

void FileOperations::OpenCopyDialog(bool move)
{
    Selection files;
    std::wstring destination;
    {
        WaitCursor wait;
        files = Take();
        if (files.Empty() || RefuseOffline(files))
            return;
        destination = GetBrowseDir(m_program.Settings());
        if (destination.empty()) {
            wchar_t windows[MAX_PATH] = L"";
            GetWindowsDirectoryW(windows, MAX_PATH);
            destination = windows;
        }
    }
    CopyMoveDialog dialog(m_program, files, destination, move,
                          [&](const std::wstring& typed, bool moving, HWND parent) {
                              return Kopieren(files, typed, moving, parent);
                          });
    m_dialog = &dialog;
    dialog.Run(m_program.Owner());
    m_dialog = nullptr;
}

bool FileOperations::Kopieren(const Selection& files, const std::wstring& typed, bool move, HWND parent)
{
    std::wstring destination = Trimmed(typed);
    // "D:" alone is the current folder of drive D: to the system; the root is meant.
    if (destination.size() == 2 && destination[1] == L':')
        destination += L'\\';
    if (!IsAbsolutePath(destination) || !IsFolder(destination)) {
        Message(parent, Fill(m_program.Text(IDS_NO_DESTINATION), destination));
        return false;
    }
    if (files.Empty())
        return true;
    WaitCursor wait;
    std::vector<std::wstring> sources;
    for (const SelectedFile& file : files.files)
        sources.push_back(file.path);
    RunShellOperation(parent, move ? FO_MOVE : FO_COPY, sources, destination, FOF_ALLOWUNDO);

    // What is on disk now decides, whatever the shell reported.
    Catalogue& catalogue = m_model.Lists();
    for (const SelectedFile& file : files.files) {
        const std::wstring target = CatalogueEdit::JoinPath(destination, file.name);
        if (move) {
            CatalogueEdit::Move(catalogue, file.path, target, Exists);
        } else if (const FileRecord* source = RecordOf(files, file)) {
            // A copy, as the lists may grow meanwhile.
            const FileRecord record = *source;
            CatalogueEdit::AddCopy(catalogue, m_model.Extensions(), record, target, Exists);
        }
    }
    m_list.RefreshList();
    return true;
}

void FileOperations::Loeschen(bool forGood)
{
    const Selection files = Take();
    if (files.Empty() || RefuseOffline(files))
        return;
    WaitCursor wait;
    std::vector<std::wstring> sources;
    for (const SelectedFile& file : files.files)
        sources.push_back(file.path);
    // No flag keeps the shell from asking first.
    RunShellOperation(m_program.Owner(), FO_DELETE, sources, L"", forGood ? 0 : FOF_ALLOWUNDO);
    CatalogueEdit::Touched touched;
    for (const SelectedFile& file : files.files)
        touched |= CatalogueEdit::RemoveGone(m_model.Lists(), file.path, Exists);
    // Declined: the rows and their selection stay as they were.
    if (touched.any())
        m_list.RefreshList();
}

void FileOperations::Umbennenen1Click()
{
    const Selection files = Take();
    if (files.Empty() || RefuseOffline(files))
        return;
    RenameDialog dialog(m_program, SplitExtension(files.files[0].name).first,
                        [&](const std::wstring& newName, HWND parent) { return RenameFile(files, newName, parent); });
    m_dialog = &dialog;
    dialog.Run(m_program.Owner());
    m_dialog = nullptr;
}

bool FileOperations::RenameFile(const Selection& files, const std::wstring& newName, HWND parent)
{
    if (files.Empty())
        return true;
    // An empty name would leave the file its extension alone.
    if (!CatalogueEdit::ValidFileName(newName)) {
        Message(parent, m_program.Text(IDS_RENAME_INVALID));
        return false;
    }
    const SelectedFile& file = files.files[0];
    const std::wstring target = std::wstring(SplitPath(file.path).folder) + newName + SplitExtension(file.name).second;
    if (target == file.path)
        return true;
    if (!CatalogueEdit::SamePath(target, file.path) && Exists(target)) {
        Message(parent, Fill(m_program.Text(IDS_RENAME_EXISTS), target));
        return false;
    }
    RunShellOperation(parent, FO_RENAME, {file.path}, target, FOF_ALLOWUNDO | FOF_RENAMEONCOLLISION);
    if (CatalogueEdit::Move(m_model.Lists(), file.path, target, Exists).any())
        m_list.RefreshList();
    return true;
}
