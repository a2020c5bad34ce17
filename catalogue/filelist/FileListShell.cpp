// The file list and the shell: the right-click menus, the shell's own context menu of the
// selected files, the clipboard keys and dragging rows out of the list.

#include "FileListPane.h"

#include "../../common/Log.h"
#include "../catalogue/ProgramIds.h"
#include "FileDataObject.h"
#include "FileListIds.h"
#include "ShellContextMenu.h"
#include "ShellFolderItems.h"

namespace {

// The selected files, split into folder and names when they all lie in one folder, compared
// without regard to case as the file system does.
struct OneFolder {
    std::wstring folder;
    std::vector<std::wstring> names;
    bool holds = true;
};

OneFolder FolderOf(const Selection& selection)
{
    OneFolder one;
    for (const SelectedFile& file : selection.files) {
        const PathParts parts = SplitPath(file.path);
        const std::wstring folder(parts.folder);
        if (one.names.empty())
            one.folder = folder;
        else if (lstrcmpiW(folder.c_str(), one.folder.c_str()) != 0)
            one.holds = false;
        one.names.emplace_back(parts.name);
    }
    one.holds &= !one.names.empty() && !one.folder.empty();
    return one;
}

} // namespace

void FileListPane::ListView1ContextPopup()
{
    POINT screen;
    GetCursorPos(&screen);
    if (ListView_GetSelectedCount(m_list) == 0) {
        m_program.TrackMenu(Menu(IDR_LIST_BACKGROUND_MENU), screen);
        return;
    }
    // Rows of a group are categories: they have no menu.
    if (GroupView())
        return;
    Selection selection;
    OneFolder one;
    bool offline = false;
    {
        WaitCursor wait;
        selection = GetSelItems();
        if (selection.Empty())
            return;
        const auto& list = m_model.Lists()[selection.category];
        for (const SelectedFile& file : selection.files)
            offline |= list[file.row].Offline();
        one = FolderOf(selection);
    }
    // The shell's menu needs the files: for offline ones, and for files of several folders, the
    // program's file menu stands instead; as well for files the shell cannot find any more.
    if (!offline && one.holds) {
        ShellFolderItems items;
        if (SUCCEEDED(items.Bind(one.folder, one.names, m_list))) {
            DoTheMenuThing(items, m_program.Owner(), screen);
            return;
        }
    }
    m_program.TrackMenu(Menu(IDR_LIST_MENU), screen);
}

bool FileListPane::DoTheMenuThing(const ShellFolderItems& items, HWND owner, POINT point)
{
    if (ListView_GetSelectedCount(m_list) == 0 || items.Count() == 0)
        return false;
    ShellContextMenu menu(m_program);
    if (!menu.Create(items, owner))
        return false;
    if (!menu.Fill())
        return true;
    m_openShellMenu = &menu;
    const int chosen =
        TrackPopupMenu(menu.Menu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr);
    m_openShellMenu = nullptr;
    menu.Dispatch(chosen, owner, point);
    return true;
}

bool FileListPane::OnMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return m_openShellMenu && m_openShellMenu->HandleMenuMessage(msg, wParam, lParam, result);
}

IDataObject* FileListPane::NewSelectionData()
{
    const Selection selection = GetSelItems();
    if (selection.Empty())
        return nullptr;
    const auto& list = m_model.Lists()[selection.category];
    std::vector<std::wstring> paths;
    for (const SelectedFile& file : selection.files) {
        // The file is not there to be pasted or dropped: say where it is.
        if (list[file.row].Offline()) {
            MessageBoxW(m_program.Owner(), OfflineNoteOf(list[file.row]).c_str(), m_program.Text(IDS_APP_TITLE).c_str(),
                        MB_OK | MB_ICONINFORMATION);
            return nullptr;
        }
        paths.push_back(file.path);
    }
    // Files of one folder go as the shell gives them, with all it offers; others as a plain
    // list of paths, which every program that takes files understands.
    ComPtr<IDataObject> shellData;
    const OneFolder one = FolderOf(selection);
    ShellFolderItems items;
    if (one.holds && SUCCEEDED(items.Bind(one.folder, one.names, m_list)))
        items.GetUIObjectOf(m_list, IID_IDataObject, reinterpret_cast<void**>(shellData.Put()));
    return NewFileDataObject(shellData.Get(), paths);
}

void FileListPane::CopyToClipboard(bool cut)
{
    IDataObject* data = NewSelectionData();
    if (!data)
        return;
    HRESULT hr = SetPreferredDropEffect(*data, cut ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
    if (SUCCEEDED(hr))
        hr = OleSetClipboard(data);
    // Rendered now, so that the files stay on the clipboard when the program ends.
    if (SUCCEEDED(hr))
        hr = OleFlushClipboard();
    data->Release();
    if (FAILED(hr)) {
        Log::Failed(L"data", L"clipboard", hr);
        MessageBoxW(m_program.Owner(), m_program.Text(IDS_CLIPBOARD_FAILED).c_str(),
                    m_program.Text(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONERROR);
    }
}

void FileListPane::DragSelectedFiles()
{
    IDataObject* data = NewSelectionData();
    if (!data)
        return;
    // A move would take the files from where the catalogue has them, behind its back.
    DragFiles(*data, DROPEFFECT_COPY | DROPEFFECT_LINK);
    data->Release();
}
