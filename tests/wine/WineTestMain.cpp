#include "AppFixture.h"

#include <algorithm>

namespace WineTest {

namespace {

HHOOK g_hook = nullptr;
ShowRecorder* g_recorder = nullptr;

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool child = GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD;
    if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam && !child) {
        std::wstring title = WindowText(msg->hwnd);
        g_recorder->shown.push_back(title);
        // A message box's text is its static control 0xFFFF.
        if (HWND text = GetDlgItem(msg->hwnd, 0xFFFF))
            g_recorder->messages.push_back(WindowText(text));
        for (const auto& click : g_recorder->clicks)
            if (click.first == title)
                if (HWND button = GetDlgItem(msg->hwnd, click.second))
                    PostMessageW(button, BM_CLICK, 0, 0);
    }
    if (code == HC_ACTION && msg->message == WM_SETTEXT && msg->lParam && child)
        g_recorder->textsSet.emplace_back(reinterpret_cast<const wchar_t*>(msg->lParam));
    if (code == HC_ACTION && msg->message == WM_INITMENUPOPUP && !HIWORD(msg->lParam)) {
        g_recorder->menus.push_back(reinterpret_cast<HMENU>(msg->wParam));
        // Ends the modal menu loop once it runs.
        if (g_recorder->closeMenus)
            PostMessageW(msg->hwnd, WM_CANCELMODE, 0, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

ShowRecorder::ShowRecorder()
{
    g_recorder = this;
    g_hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
}

ShowRecorder::~ShowRecorder()
{
    UnhookWindowsHookEx(g_hook);
    g_recorder = nullptr;
}

int ShowRecorder::IndexOf(const std::wstring& title) const
{
    const auto at = std::find(shown.begin(), shown.end(), title);
    return at == shown.end() ? -1 : static_cast<int>(at - shown.begin());
}

} // namespace WineTest

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
