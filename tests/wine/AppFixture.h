#pragma once
// Support for tests that drive real windows: pumping messages for a bounded time, the settings
// key, the texts of a list view, a record of the top-level windows shown, in order; and a
// fixture that starts the program's main window in this process, the way Sortaro.exe does,
// with a clean settings key.

#include "MessageFlush.h"
#include "catalogue/catalogue/SettingsKeys.h"
#include "catalogue/shell/DriveDialog.h"
#include "catalogue/shell/MainWindow.h"
#include "catalogue/shell/StartupDialog.h"
#include "common/MessagePump.h"
#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace WineTest {

inline void Flush(DWORD ms = 200)
{
    FlushMessages(ms);
}

// Removes Software\Sortaro below HKEY_CURRENT_USER, as if the program had never run.
inline void ClearSettings()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
}

// A text value below HKEY_CURRENT_USER.
inline void SetValue(const std::wstring& key, const std::wstring& name, const std::wstring& value)
{
    EXPECT_EQ(SHSetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Text values below Software\Sortaro\Options (subKey may be empty); a value that is missing or
// holds no text reads as "<missing>".
inline std::wstring OptionsPath(const std::wstring& subKey)
{
    return subKey.empty() ? SettingsKeys::kOptions : SettingsKeys::kOptions + (L"\\" + subKey);
}

inline void SetOption(const std::wstring& subKey, const std::wstring& name, const std::wstring& value)
{
    SetValue(OptionsPath(subKey), name, value);
}

inline std::wstring GetOption(const std::wstring& subKey, const std::wstring& name)
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

inline std::vector<std::wstring> ValueNames(const std::wstring& subKey)
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

inline std::wstring WindowText(HWND hwnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)), L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size() + 1))));
    return text;
}

// The texts of a list view's column, row by row.
inline std::vector<std::wstring> ListTexts(HWND list, int column = 0)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        wchar_t text[1024] = L"";
        ListView_GetItemText(list, row, column, text, ARRAYSIZE(text));
        texts.push_back(text);
    }
    return texts;
}

// Presses the left mouse button on the row of a list view whose first column reads name, as a
// user does.
inline void PressRow(HWND list, const std::wstring& name)
{
    const auto rows = ListTexts(list);
    const int row = static_cast<int>(std::find(rows.begin(), rows.end(), name) - rows.begin());
    ASSERT_LT(row, static_cast<int>(rows.size())) << name;
    RECT box{};
    ListView_GetItemRect(list, row, &box, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(box.left + 2, (box.top + box.bottom) / 2);
    PostMessageW(list, WM_LBUTTONUP, 0, at); // ends the list's own wait for a drag
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Flush();
}

// A key pressed while Ctrl is held, as the window's keyboard handling sees it.
inline void SendControlKey(HWND hwnd, UINT key)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(hwnd, WM_KEYDOWN, key, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

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

class AppTest : public testing::Test {
protected:
    void SetUp() override
    {
        WineTest::ClearSettings();
        MessagePump::ResetQuitSeen();
    }

    void TearDown() override
    {
        Stop();
        WineTest::ClearSettings();
    }

    // Creates the main window; the start-up dialog is then up.
    void Start()
    {
        Stop();
        main = std::make_unique<MainWindow>();
        ASSERT_TRUE(main->Create());
        WineTest::Flush();
    }

    // Destroys the main window and forgets the end of the message loop it caused.
    void Stop()
    {
        main.reset();
        WineTest::Flush(50);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        MessagePump::ResetQuitSeen();
    }

    // No drive type is marked in the start-up dialog, so that the drive dialog lists no drive
    // and a scan walks only the folders a test adds (the prefix's drives hold a whole system).
    static void NoDrives() { WineTest::SetOption(L"", L"datafrom", L"0000"); }

    // Starts and answers the start-up dialog; with database set the catalogue is read,
    // otherwise the drive dialog is answered as well (with no drive listed).
    void StartToMainWindow(bool database)
    {
        NoDrives();
        WineTest::SetOption(L"", L"scannewdata", database ? L"1" : L"0");
        Start();
        Click(StartupHwnd(), IDOK);
        if (!database)
            Click(DrivesHwnd(), IDOK);
        ASSERT_TRUE(IsWindowVisible(main->Hwnd()));
    }

    void Click(HWND dialog, int id)
    {
        ASSERT_NE(dialog, nullptr);
        SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        WineTest::Flush();
    }

    HWND StartupHwnd() const { return main->Startup() ? main->Startup()->Hwnd() : nullptr; }
    HWND DrivesHwnd() const { return main->Drives() ? main->Drives()->Hwnd() : nullptr; }
    HWND Tree() const { return main->Tree().Hwnd(); }

    // The texts of the nodes below item (below the root when item is null).
    std::vector<std::wstring> ChildTexts(HTREEITEM item = nullptr) const
    {
        std::vector<std::wstring> texts;
        for (HTREEITEM child : TreeChildren(Tree(), item ? item : TreeView_GetRoot(Tree())))
            texts.push_back(TreeItemText(Tree(), child));
        return texts;
    }

    // The first node in tree order with this text.
    HTREEITEM FindNode(const std::wstring& text) const
    {
        for (HTREEITEM item : TreeItemsInOrder(Tree()))
            if (TreeItemText(Tree(), item) == text)
                return item;
        return nullptr;
    }

    std::wstring MenuText(int menuId, int commandId) const
    {
        wchar_t text[128] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        // By command: finds items of submenus too, and popups by their own id.
        GetMenuItemInfoW(main->Menu(menuId), commandId, FALSE, &info);
        return text;
    }

    std::unique_ptr<MainWindow> main;
};
