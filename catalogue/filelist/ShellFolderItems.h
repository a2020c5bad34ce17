#pragma once
// Files of one folder as the shell knows them: the folder bound as an IShellFolder and each
// file's item id in it, for the shell's context menu and data object of these files.

#include "../../common/UniqueHandle.h"

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

class ShellFolderItems {
public:
    ShellFolderItems() = default;
    ~ShellFolderItems();
    ShellFolderItems(const ShellFolderItems&) = delete;
    ShellFolderItems& operator=(const ShellFolderItems&) = delete;

    // Binds the folder and parses each file name in it. The records hold no item ids: a file's
    // name is parsed anew, so that a file copied or moved since the scan is found where it is
    // now. Fails when the folder or one of the files is not there.
    HRESULT Bind(const std::wstring& folder, const std::vector<std::wstring>& names, HWND owner);
    // One of the shell's interfaces for all the files at once (IContextMenu, IDataObject).
    HRESULT GetUIObjectOf(HWND owner, REFIID riid, void** out) const;
    size_t Count() const { return m_items.size(); }

private:
    void Clear();

    ComPtr<IShellFolder> m_folder;
    std::vector<PITEMID_CHILD> m_items; // shell memory, freed by Clear
};
