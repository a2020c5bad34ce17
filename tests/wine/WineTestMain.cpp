#include "AppFixture.h"

#include "catalogue/catalogue/SettingsKeys.h"
#include "common/UniqueHandle.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

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

std::wstring OptionsPath(const std::wstring& subKey)
{
    return subKey.empty() ? SettingsKeys::kOptions : SettingsKeys::kOptions + (L"\\" + subKey);
}

} // namespace

void ClearSettings()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
}

void SetValue(const std::wstring& key, const std::wstring& name, const std::wstring& value)
{
    EXPECT_EQ(SHSetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void SetOption(const std::wstring& subKey, const std::wstring& name, const std::wstring& value)
{
    SetValue(OptionsPath(subKey), name, value);
}

std::wstring GetOption(const std::wstring& subKey, const std::wstring& name)
{
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    if (SHGetValueW(HKEY_CURRENT_USER, OptionsPath(subKey).c_str(), name.c_str(), &type, buffer, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return L"<missing>";
    return std::wstring(buffer, size / sizeof(wchar_t)).c_str();
}

std::vector<std::wstring> ValueNames(const std::wstring& subKey)
{
    std::vector<std::wstring> names;
    UniqueHKey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, OptionsPath(subKey).c_str(), 0, KEY_READ, key.Put());
    wchar_t name[512];
    for (DWORD i = 0, length = ARRAYSIZE(name);
         key && RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = ARRAYSIZE(name))
        names.emplace_back(name, length);
    return names;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    return text;
}

std::vector<std::wstring> ListTexts(HWND list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        wchar_t text[1024] = L"";
        ListView_GetItemText(list, row, column, text, ARRAYSIZE(text));
        texts.push_back(text);
    }
    return texts;
}

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
