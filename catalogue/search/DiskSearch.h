#pragma once
// The search of the disk: walks a folder and its subfolders and collects the files whose full
// path holds a text, as it is, case and all.
//
// The walk reads the file system (FindFirstFileEx), as the scan does, and finds what the shell's
// enumeration of the same folders would: hidden files and folders are neither found nor
// entered, shortcut files (the types the shell marks as links) are never results, and folders
// never are. Junctions and folder links are not entered, so that no folder is walked twice or
// in a circle.

#include "../catalogue/Catalogue.h"

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class DiskSearch {
public:
    // The records' folders and names go into catalogue's texts; idle is called for every item,
    // so that the caller can keep its windows alive; the walk stops when cancel is set.
    DiskSearch(Catalogue& catalogue, const int& cancel, std::function<void()> idle);

    // Appends the files below folder whose full path holds pattern to results, depth first in
    // the order the file system lists the items. An empty pattern finds nothing.
    void SearchFolder(const std::wstring& folder, const std::wstring& pattern, std::vector<FileRecord>& results);

    // Files of the types the shell shows as links (.lnk, .pif, .url and what else is registered
    // with "IsShortcut").
    bool IsShortcut(const wchar_t* name);

private:
    Catalogue& m_catalogue;
    const int& m_cancel;
    std::function<void()> m_idle;
    std::unordered_map<std::wstring, bool> m_shortcutByExtension;
};
