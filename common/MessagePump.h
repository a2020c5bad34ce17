#pragma once
// Letting pending window messages be processed from inside long loops, so that dialogs repaint
// and their cancel buttons work while the loop runs on the user-interface thread.

#include <windows.h>

namespace MessagePump {

// Dispatches every pending message now. A WM_QUIT met here is posted again so that the main
// loop still ends; QuitSeen() tells a running loop about it.
void ProcessMessages();

bool QuitSeen();

// Clears QuitSeen (for tests that run several flows in one process).
void ResetQuitSeen();

// The main message loop; accel may be null. Returns the WM_QUIT exit code.
int Run(HWND mainWindow, HACCEL accel);

} // namespace MessagePump
