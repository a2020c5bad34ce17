#pragma once
// A test fixture that starts the program's main window in this process, the way Sortaro.exe
// does, with a clean settings key.

#include "WineTestSupport.h"
#include "catalogue/shell/DriveDialog.h"
#include "catalogue/shell/MainWindow.h"
#include "catalogue/shell/StartupDialog.h"
#include "common/MessagePump.h"

#include <gtest/gtest.h>

#include <memory>

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
