#pragma once
// Helpers for tests that drive real windows: pumping messages for a bounded time, the settings
// key, the texts of a list view, and a record of the top-level windows shown, in order.

#include "MessageFlush.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace WineTest {

inline void Flush(DWORD ms = 200)
{
    FlushMessages(ms);
}

// Removes Software\Sortaro below HKEY_CURRENT_USER, as if the program had never run.
void ClearSettings();

// A text value below HKEY_CURRENT_USER.
void SetValue(const std::wstring& key, const std::wstring& name, const std::wstring& value);
// Text values below Software\Sortaro\Options (subKey may be empty); a value that is missing or
// holds no text reads as "<missing>".
void SetOption(const std::wstring& subKey, const std::wstring& name, const std::wstring& value);
std::wstring GetOption(const std::wstring& subKey, const std::wstring& name);
bool KeyExists(const std::wstring& subKey);
std::vector<std::wstring> ValueNames(const std::wstring& subKey);

std::wstring WindowText(HWND hwnd);
// The texts of a list view's column, row by row.
std::vector<std::wstring> ListTexts(HWND list, int column = 0);

// While it lives: records the titles of this thread's top-level windows as they are shown
// (WM_SHOWWINDOW with TRUE), the texts of the message boxes among them, the texts given to child
// windows (WM_SETTEXT) and the menus about to open (WM_INITMENUPOPUP). One at a time.
struct ShowRecorder {
    ShowRecorder();
    ~ShowRecorder();
    ShowRecorder(const ShowRecorder&) = delete;
    ShowRecorder& operator=(const ShowRecorder&) = delete;

    // When a window with this title is shown, a click on its button buttonId is posted.
    void ClickWhenShown(const std::wstring& title, int buttonId) { clicks.emplace_back(title, buttonId); }
    // The index of title in shown, or -1.
    int IndexOf(const std::wstring& title) const;

    std::vector<std::wstring> shown, messages, textsSet;
    std::vector<HMENU> menus;
    // Each menu is closed again as soon as it opens, as a user pressing Esc would.
    bool closeMenus = false;
    std::vector<std::pair<std::wstring, int>> clicks;
};

} // namespace WineTest
