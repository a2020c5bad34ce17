#include "MessagePump.h"

#include "Dialog.h"

namespace {

bool g_quitSeen = false;
DWORD g_lastProcessed = 0;

void Dispatch(MSG& msg, HWND mainWindow, HACCEL accel)
{
    // Dialogs first: their own mnemonics (Alt+A for "&Abbrechen") win over the main window's.
    if (HWND dialog = Dialog::DialogOf(msg.hwnd)) {
        if (IsDialogMessageW(dialog, &msg))
            return;
    } else if (accel && mainWindow && TranslateAcceleratorW(mainWindow, accel, &msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

namespace MessagePump {

void ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            g_quitSeen = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg, nullptr, nullptr);
    }
}

bool ProcessMessagesEvery(DWORD intervalMs)
{
    const DWORD now = GetTickCount();
    if (now - g_lastProcessed < intervalMs)
        return false;
    ProcessMessages();
    g_lastProcessed = GetTickCount();
    return true;
}

bool QuitSeen()
{
    return g_quitSeen;
}

void ResetQuitSeen()
{
    g_quitSeen = false;
}

int Run(HWND mainWindow, HACCEL accel)
{
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            break;
        Dispatch(msg, mainWindow, accel);
    }
    g_quitSeen = true;
    return static_cast<int>(msg.wParam);
}

} // namespace MessagePump
