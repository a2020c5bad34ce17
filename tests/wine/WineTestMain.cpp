#include "WineTestSupport.h"
#include "MessageFlush.h"

#include "catalogue/catalogue/SettingsKeys.h"
#include "common/MessagePump.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

namespace WineTest {

namespace {

HHOOK g_hook = nullptr;
std::vector<std::wstring> g_shown;
std::vector<std::pair<std::wstring, int>> g_clicks;
std::vector<std::wstring> g_messages;
std::vector<std::wstring> g_textsSet;
std::vector<HMENU> g_menus;
bool g_closeMenus = false;

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam &&
        !(GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD)) {
        std::wstring title = WindowText(msg->hwnd);
        g_shown.push_back(title);
        // A message box's text is its static control 0xFFFF.
        if (HWND text = GetDlgItem(msg->hwnd, 0xFFFF))
            g_messages.push_back(WindowText(text));
        for (const auto& click : g_clicks)
            if (click.first == title)
                if (HWND button = GetDlgItem(msg->hwnd, click.second))
                    PostMessageW(button, BM_CLICK, 0, 0);
    }
    if (code == HC_ACTION && msg->message == WM_SETTEXT && msg->lParam &&
        (GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD))
        g_textsSet.emplace_back(reinterpret_cast<const wchar_t*>(msg->lParam));
    if (code == HC_ACTION && msg->message == WM_INITMENUPOPUP && !HIWORD(msg->lParam)) {
        g_menus.push_back(reinterpret_cast<HMENU>(msg->wParam));
        // Ends the modal menu loop once it runs.
        if (g_closeMenus)
            PostMessageW(msg->hwnd, WM_CANCELMODE, 0, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

HKEY OpenOptions(const std::wstring& subKey, bool create)
{
    std::wstring path = SettingsKeys::kOptions;
    if (!subKey.empty())
        path += L"\\" + subKey;
    HKEY key = nullptr;
    LONG status =
        create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

void Flush(DWORD ms)
{
    FlushMessages(ms);
}

void ClearSettings()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
}

void SetOption(const std::wstring& subKey, const std::wstring& name, const std::wstring& value)
{
    HKEY key = OpenOptions(subKey, true);
    ASSERT_NE(key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring GetOption(const std::wstring& subKey, const std::wstring& name)
{
    HKEY key = OpenOptions(subKey, false);
    if (!key)
        return L"<missing>";
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return L"<missing>";
    return std::wstring(buffer, size / sizeof(wchar_t)).c_str();
}

bool KeyExists(const std::wstring& subKey)
{
    HKEY key = OpenOptions(subKey, false);
    if (key)
        RegCloseKey(key);
    return key != nullptr;
}

std::vector<std::wstring> ValueNames(const std::wstring& subKey)
{
    std::vector<std::wstring> names;
    HKEY key = OpenOptions(subKey, false);
    if (!key)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD length = ARRAYSIZE(name);
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    return text;
}

namespace {

struct TitleSearch {
    const std::wstring* title;
    HWND found;
};

// A callback of the system's: __stdcall on i686, which a lambda cannot be.
BOOL CALLBACK MatchShownTitle(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    if (IsWindowVisible(hwnd) && WindowText(hwnd) == *search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindShownWindow(const std::wstring& title)
{
    TitleSearch search{&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchShownTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ShowRecorder::ShowRecorder()
{
    g_shown.clear();
    g_clicks.clear();
    g_messages.clear();
    g_textsSet.clear();
    g_menus.clear();
    g_closeMenus = false;
    g_hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
}

ShowRecorder::~ShowRecorder()
{
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

const std::vector<std::wstring>& ShowRecorder::Shown() const
{
    return g_shown;
}

void ShowRecorder::ClickWhenShown(const std::wstring& title, int buttonId)
{
    g_clicks.emplace_back(title, buttonId);
}

const std::vector<std::wstring>& ShowRecorder::Messages() const
{
    return g_messages;
}

const std::vector<std::wstring>& ShowRecorder::TextsSet() const
{
    return g_textsSet;
}

const std::vector<HMENU>& ShowRecorder::MenusOpened() const
{
    return g_menus;
}

void ShowRecorder::CloseMenusWhenOpened(bool close)
{
    g_closeMenus = close;
}

int ShowRecorder::IndexOf(const std::wstring& title) const
{
    for (size_t i = 0; i < g_shown.size(); ++i)
        if (g_shown[i] == title)
            return static_cast<int>(i);
    return -1;
}

} // namespace WineTest

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
