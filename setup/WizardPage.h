#pragma once
// One page of the wizard: a fixed-size window with the application name, the product text and
// a picture at the top, a picture on the left, its own controls and three buttons (cancel,
// next, back). Every page exists for the whole run; the wizard shows one at a time.

#include "common/Dialog.h"
#include "common/UniqueHandle.h"
#include "common/WindowFit.h"

#include <string>

enum class PageKind { Welcome, Licence, Destination, Group, Summary, Progress, Finish };
constexpr int kPageCount = 7;

class WizardPage : public Dialog {
public:
    // Receives what happens on a page.
    class Host {
    public:
        virtual ~Host() = default;
        // The three buttons (IDC_BUTTON_CANCEL, IDOK, IDC_BUTTON_BACK) and IDCANCEL for the
        // close box and Esc.
        virtual void OnPageButton(PageKind kind, int id) = 0;
        virtual void OnPageCommand(PageKind kind, int id, int code) = 0;
        virtual LRESULT OnPageNotify(PageKind kind, const NMHDR& header) = 0;
    };

    // The client area as designed at 96 dots per inch; the page grows with the screen's scale.
    static constexpr int kClientWidth = 552;
    static constexpr int kClientHeight = 364;

    WizardPage(PageKind kind, Host& host);
    bool Create(HWND owner);
    PageKind Kind() const { return m_kind; }

    // Caption "Kelvane " + application name, the top panel and the page's texts.
    void ApplyTexts(bool german, const std::wstring& appName, const std::wstring& product, const std::wstring& title);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override { return m_host.OnPageNotify(m_kind, header); }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // A control at a place and size given in design pixels.
    HWND Add(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width, int height, int id,
             HFONT font = nullptr);
    int Scale(int pixels) const { return ScaleToDpi(pixels, m_dpi); }
    // A picture of the program stretched to the page's scale (unchanged at 100 %).
    HBITMAP LoadPicture(int bitmapId, int width, int height) const;
    void CreateFrame();
    void CreateContents();
    void SetText(int id, const wchar_t* text) const { SetItemText(id, text); }

    PageKind m_kind;
    Host& m_host;
    int m_dpi = 96;
    UniqueHFont m_bold;
    UniqueHFont m_large;
    UniqueHBrush m_white;
};
