#pragma once
// Helpers for tests that drive real windows: pumping messages for a bounded time, a clean
// settings key, and a record of the top-level windows shown, in order.

#include <windows.h>

#include <string>
#include <vector>

namespace WineTest {

// Dispatches messages until the queue has been empty for a moment or ms have passed.
void Flush(DWORD ms = 200);

// Removes Software\Sortaro below HKEY_CURRENT_USER, as if the program had never run.
void ClearSettings();

// Writes text values below Software\Sortaro\Options (subKey may be empty).
void SetOption(const std::wstring& subKey, const std::wstring& name, const std::wstring& value);
// The text of a value, or "<missing>".
std::wstring GetOption(const std::wstring& subKey, const std::wstring& name);
bool KeyExists(const std::wstring& subKey);
std::vector<std::wstring> ValueNames(const std::wstring& subKey);

std::wstring WindowText(HWND hwnd);
// A visible top-level window of this thread with exactly this title.
HWND FindShownWindow(const std::wstring& title);

// Records the titles of top-level windows when they are shown (WM_SHOWWINDOW with TRUE),
// and can press a dialog button as soon as a window with a given title is shown.
class ShowRecorder {
public:
    ShowRecorder();
    ~ShowRecorder();
    ShowRecorder(const ShowRecorder&) = delete;
    ShowRecorder& operator=(const ShowRecorder&) = delete;

    const std::vector<std::wstring>& Shown() const;
    // When a window with this title is shown, a click on its button buttonId is posted (for
    // every title given so far).
    void ClickWhenShown(const std::wstring& title, int buttonId);
    // The texts of the message boxes shown, in order.
    const std::vector<std::wstring>& Messages() const;
    // The texts given to child windows (WM_SETTEXT), in order.
    const std::vector<std::wstring>& TextsSet() const;
    // The index of title in the shown list, or -1.
    int IndexOf(const std::wstring& title) const;
    // The menus that were about to open (WM_INITMENUPOPUP), in order. With closeMenus set,
    // each is closed again at once, as a user pressing Esc would.
    const std::vector<HMENU>& MenusOpened() const;
    void CloseMenusWhenOpened(bool close);
};

} // namespace WineTest
