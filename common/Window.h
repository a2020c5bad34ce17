#pragma once
// Base of every window the program registers itself: one C++ object per window.

#include <windows.h>

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const noexcept { return m_hwnd; }

    // Registers a class whose window procedure forwards to the object passed at creation.
    static bool Register(WNDCLASSEXW wc);

protected:
    bool Create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId);

    // Every message of the window after WM_NCCREATE; the default is DefWindowProcW.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};
