#include "InfoDialog.h"

#include "../../common/Program.h"
#include "InfoIds.h"
#include "SystemVersion.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

const COLORREF kStripColor = RGB(0, 51, 102);
const COLORREF kLinkColor = RGB(0, 0, 204);
const int kWidth = 336;
const int kHeight = 228;

bool IsStrip(int id)
{
    return id == IDC_INFO_TOP || id == IDC_INFO_CLOSE || id == IDC_INFO_BOTTOM;
}

bool IsLink(int id)
{
    return id == IDC_INFO_MAIL || id == IDC_INFO_WEB;
}

} // namespace

InfoDialog::InfoDialog(Program& program) : Dialog(IDD_INFO), m_program(program)
{
}

bool InfoDialog::OnInit()
{
    const SystemVersionTexts system = DisplaySystemVersion();
    SetItemText(IDC_INFO_PRODUCT, system.product.c_str());
    SetItemText(IDC_INFO_SYSTEM_VERSION, system.version.c_str());
    const std::wstring memory =
        m_program.Text(IDS_INFO_MEMORY) + PhysicalMemoryKilobytes() + m_program.Text(IDS_INFO_KB);
    SetItemText(IDC_INFO_MEMORY, memory.c_str());

    m_boldFont.Reset(CreateDerivedFont(true, false));
    m_linkFont.Reset(CreateDerivedFont(false, true));
    for (int id : {IDC_INFO_TOP, IDC_INFO_CLOSE, IDC_INFO_NAME})
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.Get()), FALSE);
    for (int id : {IDC_INFO_MAIL, IDC_INFO_WEB})
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), FALSE);
    m_stripBrush.Reset(CreateSolidBrush(kStripColor));

    // The tool tips window belongs to the dialog and goes with it.
    HWND tips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    AddHint(tips, IDC_INFO_CLOSE, m_program.Text(IDS_INFO_CLOSE_HINT));
    AddHint(tips, IDOK, m_program.Text(IDS_INFO_OK_HINT));

    // The resource compiler gives every dialog with a caption a title bar.
    SetWindowLongPtrW(Hwnd(), GWL_STYLE,
                      GetWindowLongPtrW(Hwnd(), GWL_STYLE) & ~(WS_CAPTION | WS_BORDER | WS_DLGFRAME));
    int dpi = 96;
    if (HDC hdc = GetDC(Hwnd())) {
        dpi = GetDeviceCaps(hdc, LOGPIXELSX);
        ReleaseDC(Hwnd(), hdc);
    }
    SetWindowPos(Hwnd(), nullptr, 0, 0, MulDiv(kWidth, dpi, 96), MulDiv(kHeight, dpi, 96),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CenterOnOwner();
    return true;
}

void InfoDialog::AddHint(HWND tips, int id, const std::wstring& text) const
{
    if (!tips)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring InfoDialog::LinkTarget(int id) const
{
    const std::wstring text = ItemText(id);
    if (id == IDC_INFO_MAIL)
        return L"mailto:" + text;
    if (id == IDC_INFO_WEB)
        return text.compare(0, 4, L"http") == 0 ? text : L"http://" + text;
    return L"";
}

bool InfoDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_INFO_CLOSE && code == STN_CLICKED) {
        Close(IDOK);
        return true;
    }
    if (IsLink(id) && code == STN_CLICKED) {
        ShellExecuteW(GetForegroundWindow(), L"open", LinkTarget(id).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

HBRUSH InfoDialog::ColorStatic(HDC hdc, HWND control) const
{
    const int id = GetDlgCtrlID(control);
    if (IsStrip(id)) {
        SetTextColor(hdc, RGB(255, 255, 255));
        SetBkColor(hdc, kStripColor);
        return m_stripBrush.Get();
    }
    SetTextColor(hdc, IsLink(id) ? kLinkColor : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

bool InfoDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (msg) {
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<INT_PTR>(ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        return true;
    case WM_SETCURSOR:
        if (IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void Info1Click(Program& program)
{
    InfoDialog dialog(program);
    dialog.Run(program.Owner());
}
