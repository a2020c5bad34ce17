#pragma once
// A plain window standing in for the preview pane, and a program around it whose texts are
// their ids and which stores nothing: for running one viewer without the main window (the
// viewer tests and the preview benchmark). The window hands the viewer set in current its
// commands and notifications, as the pane does.

#include "catalogue/preview/Viewer.h"
#include "common/Program.h"

#include <string>

class StandInPane : public PreviewHost, public Program {
public:
    StandInPane(int width, int height, RECT viewArea) : m_viewArea(viewArea)
    {
        WNDCLASSW wc{0, PaneProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"StandInPane"};
        RegisterClassW(&wc);
        m_pane = CreateWindowW(L"StandInPane", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr,
                               nullptr, nullptr, nullptr);
        SetWindowLongPtrW(m_pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~StandInPane() override { DestroyWindow(m_pane); }
    StandInPane(const StandInPane&) = delete;
    StandInPane& operator=(const StandInPane&) = delete;

    Viewer* current = nullptr;

    HWND Pane() const override { return m_pane; }
    RECT ViewArea() const override { return m_viewArea; }
    Program& App() override { return *this; }
    int Dpi() const override { return 96; }
    bool English() const override { return false; }
    std::wstring Text(unsigned id) const override { return std::to_wstring(id); }
    Registry& Settings() override { return m_settings; }
    int& CancelFlag() override { return m_cancel; }
    HWND Owner() const override { return m_pane; }
    void EndApplication() override {}
    void ExecuteCommand(int) override {}
    void TrackMenu(HMENU, POINT) override {}

private:
    static LRESULT CALLBACK PaneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* pane = reinterpret_cast<StandInPane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (pane && pane->current && (msg == WM_COMMAND || msg == WM_NOTIFY) &&
            pane->current->OnMessage(msg, wParam, lParam, result))
            return result;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    HWND m_pane = nullptr;
    RECT m_viewArea;
    Registry m_settings;
    int m_cancel = 0;
};
