#pragma once
// Move-only owners for Win32 handles and the small guards that go with them.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : m_handle(h) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_handle); }

    Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

    void Reset(Handle h = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(m_handle, h);
        if (Traits::IsValid(old))
            Traits::Close(old);
    }

    // For out-parameters: frees what is held and hands out the slot.
    Handle* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = Traits::Invalid();
};

namespace HandleTraits {

// Handles for which null means "none".
template <typename H, auto CloseFn> struct NullInvalid {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

// Kernel handles whose "none" is INVALID_HANDLE_VALUE (files, find handles); null is not
// owned either.
template <auto CloseFn> struct InvalidValue {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

} // namespace HandleTraits

using UniqueFile = UniqueHandle<HandleTraits::InvalidValue<CloseHandle>>;
using UniqueFindHandle = UniqueHandle<HandleTraits::InvalidValue<FindClose>>;
using UniqueHKey = UniqueHandle<HandleTraits::NullInvalid<HKEY, RegCloseKey>>;
using UniqueHMenu = UniqueHandle<HandleTraits::NullInvalid<HMENU, DestroyMenu>>;
using UniqueHIcon = UniqueHandle<HandleTraits::NullInvalid<HICON, DestroyIcon>>;
using UniqueHFont = UniqueHandle<HandleTraits::NullInvalid<HFONT, DeleteObject>>;
using UniqueHdc = UniqueHandle<HandleTraits::NullInvalid<HDC, DeleteDC>>;
using UniqueHBitmap = UniqueHandle<HandleTraits::NullInvalid<HBITMAP, DeleteObject>>;
using UniqueHBrush = UniqueHandle<HandleTraits::NullInvalid<HBRUSH, DeleteObject>>;
using UniqueHPen = UniqueHandle<HandleTraits::NullInvalid<HPEN, DeleteObject>>;
using UniqueImageList = UniqueHandle<HandleTraits::NullInvalid<HIMAGELIST, ImageList_Destroy>>;
using UniquePidl = UniqueHandle<HandleTraits::NullInvalid<PIDLIST_ABSOLUTE, CoTaskMemFree>>;

// Selects a GDI object into a DC for the guard's lifetime.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC hdc, HGDIOBJ obj) noexcept : m_hdc(hdc), m_old(SelectObject(hdc, obj)) {}
    ~SelectObjectGuard()
    {
        if (m_old)
            SelectObject(m_hdc, m_old);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// BeginPaint/EndPaint bracket for WM_PAINT.
class PaintGuard {
public:
    explicit PaintGuard(HWND hwnd) noexcept : m_hwnd(hwnd) { m_hdc = BeginPaint(hwnd, &m_ps); }
    ~PaintGuard() { EndPaint(m_hwnd, &m_ps); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    HDC Dc() const noexcept { return m_hdc; }
    const RECT& Area() const noexcept { return m_ps.rcPaint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// GetDC/ReleaseDC bracket.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_hdc)
            ReleaseDC(m_hwnd, m_hdc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Dc() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Turns a window's redrawing off for the guard's lifetime and repaints it once at the end.
class RedrawGuard {
public:
    explicit RedrawGuard(HWND hwnd) noexcept : m_hwnd(hwnd) { SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0); }
    ~RedrawGuard()
    {
        SendMessageW(m_hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

private:
    HWND m_hwnd;
};

// The hourglass for the guard's lifetime; the cursor before it comes back at the end.
class WaitCursor {
public:
    WaitCursor() noexcept : m_old(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_old); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_old;
};

// OleInitialize/OleUninitialize scope. OLE, not just COM: the shell's clipboard verbs need it.
class OleScope {
public:
    OleScope() noexcept : m_hr(OleInitialize(nullptr)) {}
    ~OleScope()
    {
        if (SUCCEEDED(m_hr))
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

    HRESULT Result() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

// Owner of memory from CoTaskMemAlloc.
template <typename T> class CoTaskMemPtr {
public:
    CoTaskMemPtr() noexcept = default;
    explicit CoTaskMemPtr(T* p) noexcept : m_p(p) {}
    ~CoTaskMemPtr() { CoTaskMemFree(m_p); }
    CoTaskMemPtr(CoTaskMemPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CoTaskMemPtr& operator=(CoTaskMemPtr&& other) noexcept
    {
        if (this != &other) {
            CoTaskMemFree(m_p);
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    CoTaskMemPtr(const CoTaskMemPtr&) = delete;
    CoTaskMemPtr& operator=(const CoTaskMemPtr&) = delete;

    T* Get() const noexcept { return m_p; }
    T** Put() noexcept
    {
        CoTaskMemFree(m_p);
        m_p = nullptr;
        return &m_p;
    }

private:
    T* m_p = nullptr;
};

// An interface pointer that is released when it goes.
template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr()
    {
        if (m_p)
            m_p->Release();
    }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            if (m_p)
                m_p->Release();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    T** Put() noexcept
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
        return &m_p;
    }

private:
    T* m_p = nullptr;
};
