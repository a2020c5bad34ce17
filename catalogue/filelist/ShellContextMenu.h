#pragma once
// The shell's own context menu of files of one folder, with the program's entries "Rename",
// "Select all" and "Invert selection" appended. The entries that change files are run by the
// program's commands, found by their verbs; every other entry is the shell's to run. While the
// menu is open its host passes on the menu messages the shell's drawn submenus ("Send to",
// "Open with") need.

#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "ShellFolderItems.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

class ShellContextMenu {
public:
    explicit ShellContextMenu(Program& program) : m_program(program) {}
    ShellContextMenu(const ShellContextMenu&) = delete;
    ShellContextMenu& operator=(const ShellContextMenu&) = delete;

    // Asks the shell for the files' context menu; when it gives none the two error boxes are
    // shown and false returned.
    bool Create(const ShellFolderItems& items, HWND owner);
    // Builds the popup: the shell's entries first, the program's at the end. False when the
    // shell could not fill it.
    bool Fill();
    HMENU Menu() const { return m_popup.Get(); }
    // The canonical verb of the shell's entry with this id; empty when it has none.
    std::wstring Verb(int id) const;
    // Runs the entry chosen (0: the menu was dismissed).
    void Dispatch(int id, HWND owner, POINT at);
    // WM_INITMENUPOPUP, WM_DRAWITEM, WM_MEASUREITEM and WM_MENUCHAR of the open menu; true when
    // the shell has handled the message, with its answer in result.
    bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void ShowFailure(unsigned textId, unsigned captionId, HRESULT hr, HWND owner) const;

    Program& m_program;
    ComPtr<IContextMenu> m_menu;
    ComPtr<IContextMenu2> m_menu2;
    ComPtr<IContextMenu3> m_menu3; // not every shell extension has it
    UniqueHMenu m_popup;
};
