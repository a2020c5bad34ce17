#pragma once
// For tests that drive real windows in their own process: dispatches messages until the queue
// has been empty for a moment or ms have passed. A WM_QUIT is recorded (MessagePump::QuitSeen)
// and left in the queue.

#include "common/MessagePump.h"

#include <windows.h>

inline void FlushMessages(DWORD ms)
{
    for (DWORD start = GetTickCount(), quiet = start; GetTickCount() - start < ms;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            MessagePump::ProcessMessages();
            if (msg.message == WM_QUIT)
                return;
            quiet = GetTickCount();
        } else if (GetTickCount() - quiet > 50) {
            return;
        } else {
            Sleep(5);
        }
    }
}
