#pragma once
// The scale of the screen a window is on, and windows kept inside the work area of their
// monitor. Functions newer than XP are looked up at run time.

#include "WindowFit.h"

#include <windows.h>

#include <commctrl.h>

// The dots per inch of the system, as GDI reports them (96 at 100 %).
int SystemDpi();
// The dots per inch of the monitor the window is on where Windows tells it (Windows 10 1607
// and later), else the system's.
int WindowDpi(HWND hwnd);

// The work area of the monitor nearest to the rectangle (the primary one where monitors are
// not known).
ScreenRect WorkAreaNear(const ScreenRect& rc);
ScreenRect ToScreenRect(const RECT& rc);

// Moves and shrinks a top-level window so that it lies wholly inside the work area of the
// monitor it is (mostly) on. Returns true when it had to be changed.
bool FitWindowInWorkArea(HWND hwnd, Overflow overflow);

// The shell's system image list whose pictures are nearest to size pixels: small (16 at
// 100 %), large (32) or extra large (48). Shared with the shell: never destroy it.
HIMAGELIST SystemImageList(int size);
