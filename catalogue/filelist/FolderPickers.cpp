#include "FolderPickers.h"

#include "../../common/UniqueHandle.h"

#include <shlwapi.h>

namespace {

// BFFM_INITIALIZED: preselect the folder passed as lParam of the dialog.
int CALLBACK PreselectFolder(HWND dialog, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

void Browse(const wchar_t* title, UINT flags, const wchar_t* mallocError, std::wstring& result)
{
    wchar_t initial[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, initial);

    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || !malloc) {
        MessageBoxW(GetForegroundWindow(), mallocError, L"Sortaro", MB_OK | MB_ICONERROR);
        return;
    }
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info{};
    info.hwndOwner = GetForegroundWindow();
    info.pidlRoot = nullptr; // the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = flags;
    info.lpfn = PreselectFolder;
    info.lParam = reinterpret_cast<LPARAM>(initial);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen) {
        wchar_t path[MAX_PATH] = L"";
        if (SHGetPathFromIDListW(chosen, path))
            result = path;
        malloc->Free(chosen);
    }
    malloc->Release();
}

} // namespace

namespace FolderPickers {

void BrowseFolders(bool english, std::wstring& result)
{
    Browse(english ? L"Select folder" : L"Ordner bestimmen", BIF_RETURNONLYFSDIRS, L" MALLOC Fehler!", result);
}

void BrowseDirectory(bool english, std::wstring& result)
{
    Browse(english ? L"Search folder" : L"Ordner bestimmen", BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS,
           L"MALLOC function failure!", result);
}

std::wstring DisplayNameOf(IShellFolder* folder, PCUITEMID_CHILD item, bool forParsing)
{
    STRRET answer{};
    if (!folder || FAILED(folder->GetDisplayNameOf(item, forParsing ? SHGDN_FORPARSING : SHGDN_NORMAL, &answer)))
        return {};
    // StrRetToStrW reads all three forms of the answer (wide text, offset into the item id,
    // 8-bit text) and frees the wide one.
    CoTaskMemPtr<wchar_t> text;
    if (FAILED(StrRetToStrW(&answer, item, text.Put())) || !text.Get())
        return {};
    return text.Get();
}

std::vector<ComputerDrive> ComputerDrives(HWND owner)
{
    std::vector<ComputerDrive> found;
    ComPtr<IShellFolder> desktop;
    CoTaskMemPtr<ITEMIDLIST_ABSOLUTE> drivesId;
    ComPtr<IShellFolder> drives;
    ComPtr<IEnumIDList> items;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) ||
        FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, drivesId.Put())) ||
        FAILED(
            desktop->BindToObject(drivesId.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(drives.Put()))) ||
        drives->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Put()) != S_OK || !items)
        return found;
    for (;;) {
        CoTaskMemPtr<ITEMID_CHILD> item;
        if (items->Next(1, item.Put(), nullptr) != S_OK)
            break;
        const std::wstring parsing = DisplayNameOf(drives.Get(), item.Get(), true);
        if (parsing.find(L':') == std::wstring::npos || parsing.size() < 2)
            continue;
        found.push_back({parsing.substr(0, 2) + L"\\", DisplayNameOf(drives.Get(), item.Get(), false)});
    }
    return found;
}

} // namespace FolderPickers
