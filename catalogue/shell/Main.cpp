// Program entry of Sortaro.exe.

#include "../../common/Log.h"
#include "../../common/MessagePump.h"
#include "MainWindow.h"
#include "resource.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // An empty floppy or CD drive, or a drive letter whose medium is gone, would otherwise stop
    // the drive list and the scan on the system's "There is no disk in the drive" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);

    int exitCode = 0;
    {
        MainWindow main;
        if (!main.Create()) {
            Log::Write(LogLevel::Error, L"main", L"the main window could not be created");
            return 1;
        }
        HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
        exitCode = MessagePump::Run(main.Hwnd(), accelerators);
    }
    return exitCode;
}
