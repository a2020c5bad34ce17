#include "Backdrop.h"

#include "SetupDialogs.h"
#include "SetupTexts.h"
#include "common/Log.h"
#include "common/ScreenDpi.h"
#include "resource.h"

using SetupTexts::Id;
using SetupTexts::Text;

namespace {

constexpr const wchar_t* kClassName = L"SortaroSetupBackdrop";
// Sent when the window moves to a monitor of another scale (Windows 8.1 and later).
constexpr UINT kWmDpiChanged = 0x02E0;

std::wstring SystemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    return message.empty() ? L"Error " + std::to_wstring(error) : message;
}

} // namespace

Backdrop::Backdrop(std::function<void(int)> onEnd) : m_onEnd(std::move(onEnd))
{
}

Backdrop::~Backdrop()
{
    // Pages first: they are owned windows of the backdrop and talk to the wizard.
    m_wizard.reset();
}

bool Backdrop::Create(InstallEnvironment env, bool show)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_icon.Reset(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = m_icon.Get();
    wc.hbrBackground = nullptr;
    if (!Register(wc))
        return false;
    // 560 by 391 before it is maximised.
    if (!Window::Create(kClassName, 0, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 560,
                        391, nullptr, nullptr))
        return false;
    m_picture.Reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_BACKDROP), IMAGE_BITMAP, 0, 0, 0)));

    // The script, by the locale's language when it is missing.
    bool germanLocale = env.germanLocale;
    DWORD error = 0;
    std::optional<InstallScript> script = LoadInstallScript(env.source + L"\\Install.txt", error);
    if (!script) {
        Log::Write(LogLevel::Error, L"setup", L"cannot read %ls\\Install.txt, error %lu", env.source.c_str(), error);
        const wchar_t* title = Text(germanLocale ? Id::ScriptMissingTitleGerman : Id::ScriptMissingTitleEnglish, true);
        MessageBoxW(nullptr, Text(germanLocale ? Id::ScriptMissingGerman : Id::ScriptMissingEnglish, true), title,
                    MB_OK | MB_ICONSTOP);
        MessageBoxW(nullptr, SystemMessage(error).c_str(), title, MB_OK | MB_ICONSTOP);
        End(2);
        return false;
    }
    m_installer = std::make_unique<Installer>(std::move(env), std::move(*script));
    m_installer->ReadParameters();
    SetWindowTextW(Hwnd(), (std::wstring(Text(Id::ProductWord, true)) + L" " + m_installer->AppName()).c_str());

    m_wizard = std::make_unique<Wizard>(*m_installer, Hwnd(), [this](int code) { End(code); });
    if (!m_wizard->Create())
        return false;
    if (show)
        ShowWindow(Hwnd(), SW_SHOWMAXIMIZED);
    // The timer starts only after the language choice, so the wizard waits for it.
    if (m_installer->OffersEnglish()) {
        LanguageDialog dialog;
        m_installer->SetGerman(dialog.ChooseGerman(show ? Hwnd() : nullptr));
    }
    SetTimer(Hwnd(), kStartTimer, 1000, nullptr);
    return true;
}

void Backdrop::Tick()
{
    if (m_ended || !m_wizard || ++m_ticks < 3)
        return;
    KillTimer(Hwnd(), kStartTimer);
    if (m_ticks > 3)
        return;
    m_showProduct = true;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    m_wizard->Start();
}

void Backdrop::End(int code)
{
    if (m_ended)
        return;
    m_ended = true;
    m_exitCode = code;
    if (Hwnd())
        KillTimer(Hwnd(), kStartTimer);
    if (m_onEnd)
        m_onEnd(code);
    else
        PostQuitMessage(code);
}

LRESULT Backdrop::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kStartTimer)
            Tick();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        InvalidateRect(Hwnd(), nullptr, FALSE);
        return 0;
    case kWmDpiChanged: {
        // On a monitor of another scale: the place Windows suggests, unless maximised, where
        // Windows fills the new monitor itself.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        if (!IsZoomed(Hwnd()))
            SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(Hwnd(), nullptr, FALSE);
        return 0;
    }
    case WM_CLOSE:
        // Closing the backdrop is a cancel like on any page.
        if (m_wizard && m_wizard->Current())
            m_wizard->EndeProgramm();
        else if (!m_wizard || m_ticks < 3)
            End(1);
        return 0;
    default:
        return Window::HandleMessage(msg, wParam, lParam);
    }
}

void Backdrop::OnPaint()
{
    PaintGuard paint(Hwnd());
    HDC hdc = paint.Dc();
    RECT rc;
    GetClientRect(Hwnd(), &rc);
    HDC memory = CreateCompatibleDC(hdc);
    BITMAP info{};
    GetObjectW(m_picture.Get(), sizeof(info), &info);
    {
        SelectObjectGuard picture(memory, m_picture.Get());
        SetStretchBltMode(hdc, HALFTONE);
        StretchBlt(hdc, 0, 0, rc.right, rc.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    DeleteDC(memory);
    if (!m_installer)
        return;
    // The letters and their distances from the edges grow with the scale of the screen the
    // backdrop is on; moved to another, it is painted at that one's.
    const int dpi = WindowDpi(Hwnd());
    if (!m_font || m_fontDpi != dpi) {
        LOGFONTW lf{};
        lf.lfHeight = -ScaleToDpi(32, dpi);
        lf.lfWeight = FW_BOLD;
        lf.lfItalic = TRUE;
        lstrcpyW(lf.lfFaceName, L"Arial");
        m_font.Reset(CreateFontIndirectW(&lf));
        m_fontDpi = dpi;
    }
    auto scale = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
    SelectObjectGuard font(hdc, m_font.Get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    const std::wstring& name = m_installer->AppName();
    TextOutW(hdc, scale(24), scale(16), name.c_str(), static_cast<int>(name.size()));
    const wchar_t* setup = Text(Id::BackdropSetup, true);
    TextOutW(hdc, scale(24), scale(56), setup, lstrlenW(setup));
    if (m_showProduct) {
        // At the bottom right: it starts 160 pixels (at 100 %) from the right edge and 50 from
        // the bottom, moved left as far as a long text needs.
        const std::wstring& product = m_installer->Product();
        SIZE size{};
        GetTextExtentPoint32W(hdc, product.c_str(), static_cast<int>(product.size()), &size);
        const int x = std::min(static_cast<int>(rc.right) - scale(160), static_cast<int>(rc.right - size.cx) - scale(16));
        TextOutW(hdc, x, rc.bottom - scale(50), product.c_str(), static_cast<int>(product.size()));
    }
}
