// The file list and the shell: the right-click menus and the shell's own context menu of the
// selected files.

#include "FileListPane.h"

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
