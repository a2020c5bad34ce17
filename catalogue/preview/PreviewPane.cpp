#include "PreviewPane.h"

namespace {
const wchar_t kClassName[] = L"SortaroPreviewPane";
const int kHeadingHeight = 20;
} // namespace

bool PreviewPane::Create(HWND parent, int id, const std::wstring& heading)
{
    WNDCLASSEXW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (!Register(wc) || !Window::Create(kClassName, WS_EX_CLIENTEDGE, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    m_heading = CreateWindowExW(0, L"STATIC", heading.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 4, 2, 0,
                                0, Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_heading, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return m_heading != nullptr;
}

void PreviewPane::SetHeading(const std::wstring& heading)
{
    SetWindowTextW(m_heading, heading.c_str());
}

std::wstring PreviewPane::Heading() const
{
    wchar_t text[128] = L"";
    GetWindowTextW(m_heading, text, ARRAYSIZE(text));
    return text;
}

LRESULT PreviewPane::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        MoveWindow(m_heading, 4, 2, LOWORD(lParam) - 8, kHeadingHeight, TRUE);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
        return Window::HandleMessage(msg, wParam, lParam);
    }
}
