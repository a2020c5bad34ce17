#include "ScreenDpi.h"

#include "UniqueHandle.h"

#include <shellapi.h>

#include <cstdlib>

namespace {

// The shell's image list kinds (SHIL_*), and the interface SHGetImageList answers with, which
// is also the image list handle.
constexpr int kShellLarge = 0;
constexpr int kShellSmall = 1;
constexpr int kShellExtraLarge = 2;
const GUID kImageListInterface = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

template <typename F> F Lookup(const wchar_t* module, const char* name)
{
    HMODULE handle = GetModuleHandleW(module);
    return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

} // namespace

int SystemDpi()
{
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Dc(), LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd))
            return static_cast<int>(dpi);
    return SystemDpi();
}

ScreenRect ToScreenRect(const RECT& rc)
{
    return {static_cast<int>(rc.left), static_cast<int>(rc.top), static_cast<int>(rc.right - rc.left),
            static_cast<int>(rc.bottom - rc.top)};
}

ScreenRect WorkAreaNear(const ScreenRect& rc)
{
    const RECT wanted{rc.left, rc.top, rc.left + rc.width, rc.top + rc.height};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info))
        return ToScreenRect(info.rcWork);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return ToScreenRect(work);
}

bool FitWindowInWorkArea(HWND hwnd, Overflow overflow)
{
    RECT rc{};
    // A minimised or maximised window is placed by Windows, a child window by its parent.
    if (!hwnd || IsIconic(hwnd) || IsZoomed(hwnd) || (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) ||
        !GetWindowRect(hwnd, &rc))
        return false;
    const ScreenRect now = ToScreenRect(rc);
    const ScreenRect fitted = FitInWorkArea(now, WorkAreaNear(now), overflow);
    if (fitted == now)
        return false;
    SetWindowPos(hwnd, nullptr, fitted.left, fitted.top, fitted.width, fitted.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return true;
}

HIMAGELIST SystemImageList(int size)
{
    using GetImageListFn = HRESULT(WINAPI*)(int, REFIID, void**);
    // Exported by name from XP SP1 on; XP without a service pack has it only by its ordinal.
    static const GetImageListFn getImageList = [] {
        HMODULE shell = GetModuleHandleW(L"shell32.dll");
        if (!shell)
            return GetImageListFn(nullptr);
        FARPROC proc = GetProcAddress(shell, "SHGetImageList");
        if (!proc)
            proc = GetProcAddress(shell, MAKEINTRESOURCEA(727));
        return reinterpret_cast<GetImageListFn>(reinterpret_cast<void*>(proc));
    }();
    HIMAGELIST best = nullptr;
    int bestSize = 0;
    if (getImageList)
        for (int kind : {kShellSmall, kShellLarge, kShellExtraLarge}) {
            void* list = nullptr;
            int cx = 0, cy = 0;
            if (FAILED(getImageList(kind, kImageListInterface, &list)) || !list ||
                !ImageList_GetIconSize(static_cast<HIMAGELIST>(list), &cx, &cy))
                continue;
            // The image list is the interface itself; the shell keeps it for the whole process.
            static_cast<IUnknown*>(list)->Release();
            if (!best || (cx != bestSize && BestPictureSize(size, {bestSize, cx}) == cx)) {
                best = static_cast<HIMAGELIST>(list);
                bestSize = cx;
            }
        }
    if (best)
        return best;
    SHFILEINFOW info{};
    const bool small = std::abs(size - GetSystemMetrics(SM_CXSMICON)) <= std::abs(size - GetSystemMetrics(SM_CXICON));
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}
