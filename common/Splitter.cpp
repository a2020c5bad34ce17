#include "Splitter.h"

#include <windowsx.h>

namespace {
const wchar_t kClassName[] = L"SortaroSplitter";
}

bool Splitter::Create(HWND parent, int id, MoveHandler onMove)
{
    m_onMove = std::move(onMove);
    WNDCLASSEXW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_SIZEWE);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return Register(wc) && Window::Create(kClassName, 0, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        m_grabX = GET_X_LPARAM(lParam);
        SetCapture(Hwnd());
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    default:
        return Window::HandleMessage(msg, wParam, lParam);
    }
}

void Splitter::OnMouseMove(LPARAM lParam)
{
    if (GetCapture() != Hwnd() || !m_onMove)
        return;
    POINT pt{GET_X_LPARAM(lParam) - m_grabX, 0};
    MapWindowPoints(Hwnd(), GetParent(Hwnd()), &pt, 1);
    m_onMove(pt.x);
}
