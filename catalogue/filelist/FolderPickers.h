#pragma once
// The shell's folder dialog as the program's folder pickers, and the display names of shell
// items.

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace FolderPickers {

// The picker of the copy, options and search dialogs ("Ordner bestimmen" / "Select folder").
// Writes the chosen folder into result; leaves it unchanged when the user cancels.
void BrowseFolders(bool english, std::wstring& result);

// The picker of the drive dialog's "Hinzufügen" ("Ordner bestimmen" / "Search folder").
void BrowseDirectory(bool english, std::wstring& result);

// The display name of an item of folder: for parsing (a full path) or as shown.
std::wstring DisplayNameOf(IShellFolder* folder, PCUITEMID_CHILD item, bool forParsing);

// The drives of the computer, in the shell's order: the root of each ("C:\\") and its caption
// as the shell shows it. Items of the computer folder without a drive letter are left out.
struct ComputerDrive {
    std::wstring root;
    std::wstring caption;
};
std::vector<ComputerDrive> ComputerDrives(HWND owner);

} // namespace FolderPickers
