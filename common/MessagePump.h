#pragma once
// Letting pending window messages be processed from inside long loops, so that dialogs repaint
// and their cancel buttons work while the loop runs on the user-interface thread.

#include <windows.h>

namespace MessagePump {

// Dispatches every pending message now. A WM_QUIT met here is posted again so that the main
// loop still ends; QuitSeen() tells a running loop about it.
void ProcessMessages();

// For loops that run per item: processes pending messages only when intervalMs have passed
// since the last time, so that a loop over many items does not spend its time asking the queue.
// Returns whether it processed them.
bool ProcessMessagesEvery(DWORD intervalMs = 40);

bool QuitSeen();

// Clears QuitSeen (for tests that run several flows in one process).
void ResetQuitSeen();

// The main message loop; accel may be null. Returns the WM_QUIT exit code.
int Run(HWND mainWindow, HACCEL accel);

} // namespace MessagePump
