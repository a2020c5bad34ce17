#pragma once
// What a pane or dialog needs from the program it belongs to: the interface language, its
// texts, the settings store, the cancel flag of long operations and the window that owns the
// dialogs. The main window provides it; the parts never see the main window itself.

#include "Registry.h"

#include <windows.h>

#include <string>

class Program {
public:
    virtual ~Program() = default;

    virtual bool English() const = 0;
    // A string of the string table in the interface language.
    virtual std::wstring Text(unsigned stringId) const = 0;
    virtual Registry& Settings() = 0;
    // Set by every cancel button of a wait or progress dialog and by a click in the file list;
    // long loops stop when it is set.
    virtual int& CancelFlag() = 0;
    // The owner of dialogs and message boxes.
    virtual HWND Owner() const = 0;
    // A cancel before the main window is up: the program ends at once, writing nothing.
    virtual void EndApplication() = 0;
    // Runs a command of the program's command table, when it is enabled.
    virtual void ExecuteCommand(int id) = 0;
    // Shows a context menu at a point of the screen and runs the command chosen.
    virtual void TrackMenu(HMENU menu, POINT screen) = 0;
};
