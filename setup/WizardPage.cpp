#include "WizardPage.h"

#include "SetupTexts.h"
#include "common/ScreenDpi.h"
#include "resource.h"

#include <commctrl.h>

using SetupTexts::Id;
using SetupTexts::Text;

namespace {

constexpr int kTopHeight = 58;
constexpr int kLeftWidth = 169;
constexpr int kBottomTop = 318;
constexpr int kContentX = 184;
constexpr int kContentWidth = WizardPage::kClientWidth - kContentX - 14;

struct ButtonTexts {
    Id cancel, next, back;
};

ButtonTexts ButtonsOf(PageKind kind)
{
    switch (kind) {
    case PageKind::Licence:
        return {Id::LicenceDecline, Id::LicenceAccept, Id::ButtonBack};
    case PageKind::Summary:
        return {Id::ButtonCancel, Id::SummaryInstall, Id::ButtonBack};
    case PageKind::Finish:
        return {Id::ButtonCancel, Id::FinishFinish, Id::ButtonBack};
    default:
        return {Id::ButtonCancel, Id::ButtonNext, Id::ButtonBack};
    }
}

bool InTopPanel(int id)
{
    return id == IDC_APP_NAME || id == IDC_PRODUCT || id == IDC_HEADER_PICTURE;
}

} // namespace

WizardPage::WizardPage(PageKind kind, Host& host) : Dialog(IDD_PAGE), m_kind(kind), m_host(host)
{
}

bool WizardPage::Create(HWND owner)
{
    return CreateModeless(owner);
}

bool WizardPage::OnInit()
{
    // The dialog's font follows the scale; the controls, placed in pixels, follow it too.
    m_dpi = WindowDpi(Hwnd());
    m_bold.Reset(CreateDerivedFont(true, false));
    LOGFONTW lf{};
    GetObjectW(m_bold.Get(), sizeof(lf), &lf);
    lf.lfHeight = lf.lfHeight * 3 / 2;
    m_large.Reset(CreateFontIndirectW(&lf));
    m_white.Reset(CreateSolidBrush(RGB(255, 255, 255)));

    LONG_PTR exStyle = GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    // The finish page has a dialog border, the others a tool-window border.
    if (m_kind == PageKind::Finish)
        exStyle = (exStyle & ~WS_EX_TOOLWINDOW) | WS_EX_DLGMODALFRAME;
    SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, exStyle);
    RECT rc{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(exStyle));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    SetWindowPos(Hwnd(), HWND_TOPMOST, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE);
    CreateFrame();
    CreateContents();
    return true;
}

HWND WizardPage::Add(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width, int height, int id,
                     HFONT font)
{
    HWND hwnd = CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, Scale(x), Scale(y), Scale(width),
                                Scale(height), Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!font)
        font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

HBITMAP WizardPage::LoadPicture(int bitmapId, int width, int height) const
{
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP,
                                           Scale(width), Scale(height), 0));
}

void WizardPage::CreateFrame()
{
    Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, 12, 8, 420, 18, IDC_APP_NAME, m_bold.Get());
    Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, 28, 30, 400, 18, IDC_PRODUCT);
    HWND header = Add(L"STATIC", SS_BITMAP, 0, kClientWidth - 56, 5, 48, 48, IDC_HEADER_PICTURE);
    SendMessageW(header, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(LoadPicture(IDB_HEADER, 48, 48)));
    Add(L"STATIC", SS_ETCHEDHORZ, 0, 0, kTopHeight, kClientWidth, 2, IDC_TOP_LINE);
    HWND panel =
        Add(L"STATIC", SS_BITMAP, 0, 0, kTopHeight + 2, kLeftWidth, kBottomTop - kTopHeight - 2, IDC_LEFT_PICTURE);
    // The panel picture is drawn 169 by 257 pixels.
    SendMessageW(panel, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(LoadPicture(IDB_PANEL, kLeftWidth, 257)));
    Add(L"STATIC", SS_ETCHEDHORZ, 0, 0, kBottomTop, kClientWidth, 2, IDC_BOTTOM_LINE);
    // Greyed like an engraving: a disabled static draws its text grey.
    Add(L"STATIC", SS_LEFT | WS_DISABLED, 0, 10, kBottomTop + 16, 80, 16, IDC_PRODUCT_WORD);
    Add(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kClientWidth - 3 * 92 - 6, kBottomTop + 12, 86, 26, IDC_BUTTON_BACK);
    Add(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kClientWidth - 2 * 92 - 6, kBottomTop + 12, 86, 26, IDOK);
    Add(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kClientWidth - 92 - 6, kBottomTop + 12, 86, 26, IDC_BUTTON_CANCEL);
}

void WizardPage::CreateContents()
{
    const int x = kContentX;
    const int w = kContentWidth;
    switch (m_kind) {
    case PageKind::Welcome:
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 72, w, 20, IDC_HEADING, m_bold.Get());
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 94, w, 28, IDC_WELCOME_TITLE, m_large.Get());
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 134, w, 18, IDC_WELCOME_INSTALL_LABEL);
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 152, w, 18, IDC_WELCOME_INSTALL_LINE, m_bold.Get());
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 186, w, 120, IDC_WELCOME_ADVICE);
        break;
    case PageKind::Licence:
        Add(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, 68, w,
            180, IDC_LICENCE_TEXT);
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 254, w, 60, IDC_LICENCE_QUESTION);
        break;
    case PageKind::Destination:
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 66, w, 30, IDC_HEADING, m_bold.Get());
        Add(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, 98, w, 22, IDC_DESTINATION_FOLDER);
        Add(WC_TREEVIEWW,
            TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
            WS_EX_CLIENTEDGE, x, 124, w, 166, IDC_DESTINATION_TREE);
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 294, w, 18, IDC_DESTINATION_SPACE);
        break;
    case PageKind::Group:
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 66, w, 20, IDC_HEADING, m_bold.Get());
        Add(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, 90, w, 22, IDC_GROUP_FIELD);
        Add(WC_LISTVIEWW, LVS_LIST | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | WS_TABSTOP,
            WS_EX_CLIENTEDGE, x, 116, w, 166, IDC_GROUP_LIST);
        Add(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, x, 290, w, 20, IDC_GROUP_DESKTOP);
        CheckDlgButton(Hwnd(), IDC_GROUP_DESKTOP, BST_CHECKED);
        break;
    case PageKind::Summary:
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 66, w, 70, IDC_HEADING);
        Add(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, 140, w,
            170, IDC_SUMMARY_TEXT);
        break;
    case PageKind::Progress:
        Add(ANIMATE_CLASSW, ACS_CENTER | ACS_TRANSPARENT, 0, x, 68, w, 64, IDC_PROGRESS_ANIMATION);
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 140, w, 36, IDC_HEADING, m_bold.Get());
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 190, w, 18, IDC_PROGRESS_LABEL);
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0, x, 210, w, 36, IDC_PROGRESS_STATUS);
        break;
    case PageKind::Finish:
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 84, w, 24, IDC_HEADING, m_large.Get());
        Add(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, x, 124, w, 40, IDC_FINISH_HINT);
        Add(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, x, 176, w, 20, IDC_FINISH_LAUNCH);
        CheckDlgButton(Hwnd(), IDC_FINISH_LAUNCH, BST_CHECKED);
        break;
    }
}

void WizardPage::ApplyTexts(bool german, const std::wstring& appName, const std::wstring& product,
                            const std::wstring& title)
{
    SetWindowTextW(Hwnd(), (std::wstring(Text(Id::ProductWord, german)) + L" " + appName).c_str());
    SetText(IDC_APP_NAME, appName.c_str());
    SetText(IDC_PRODUCT, product.c_str());
    SetText(IDC_PRODUCT_WORD, Text(Id::ProductWord, german));
    ButtonTexts buttons = ButtonsOf(m_kind);
    SetText(IDC_BUTTON_CANCEL, Text(buttons.cancel, german));
    SetText(IDOK, Text(buttons.next, german));
    SetText(IDC_BUTTON_BACK, Text(buttons.back, german));
    switch (m_kind) {
    case PageKind::Welcome:
        SetText(IDC_HEADING, Text(Id::WelcomeHeading, german));
        SetText(IDC_WELCOME_TITLE, title.c_str());
        SetText(IDC_WELCOME_INSTALL_LABEL, Text(Id::WelcomeInstallLine, german));
        SetText(IDC_WELCOME_INSTALL_LINE, (title + Text(Id::OnYourComputer, german)).c_str());
        SetText(IDC_WELCOME_ADVICE, Text(Id::WelcomeAdvice, german));
        break;
    case PageKind::Licence:
        SetText(IDC_LICENCE_QUESTION, Text(Id::LicenceQuestion, german));
        break;
    case PageKind::Destination:
        SetText(IDC_HEADING, Text(Id::DestinationHeading, german));
        break;
    case PageKind::Group:
        SetText(IDC_HEADING, Text(Id::GroupHeading, german));
        SetText(IDC_GROUP_DESKTOP, Text(Id::GroupDesktop, german));
        break;
    case PageKind::Summary:
        SetText(IDC_HEADING, Text(Id::SummaryHeading, german));
        break;
    case PageKind::Progress:
        SetText(IDC_HEADING, Text(Id::ProgressHeading, german));
        SetText(IDC_PROGRESS_LABEL, Text(Id::ProgressLabel, german));
        break;
    case PageKind::Finish:
        SetText(IDC_HEADING, Text(Id::FinishHeading, german));
        SetText(IDC_FINISH_HINT, Text(Id::FinishHint, german));
        SetText(IDC_FINISH_LAUNCH, Text(Id::FinishLaunch, german));
        break;
    }
}

bool WizardPage::OnCommand(int id, int code, HWND control)
{
    switch (id) {
    case IDOK:
    case IDC_BUTTON_CANCEL:
    case IDC_BUTTON_BACK:
    case IDCANCEL: // the close box and Esc
        // A disabled button answers neither to a click nor to Enter.
        if (id != IDCANCEL && !IsWindowEnabled(Item(id)))
            return true;
        m_host.OnPageButton(m_kind, id);
        return true;
    default:
        m_host.OnPageCommand(m_kind, id, code);
        return control != nullptr;
    }
}

bool WizardPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        // The top panel and the picture panel are white, the rest has the dialog colour.
        HDC hdc = reinterpret_cast<HDC>(wParam);
        RECT rc;
        GetClientRect(Hwnd(), &rc);
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        RECT top{0, 0, rc.right, kTopHeight};
        FillRect(hdc, &top, m_white.Get());
        RECT left{0, kTopHeight, kLeftWidth, kBottomTop};
        FillRect(hdc, &left, m_white.Get());
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (!InTopPanel(GetDlgCtrlID(control)))
            return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        result = reinterpret_cast<INT_PTR>(m_white.Get());
        return true;
    }
    default:
        return false;
    }
}
