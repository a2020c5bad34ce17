#include "MediaViewer.h"

#include "../../common/Controls.h"
#include "../../common/Log.h"
#include "../../common/Program.h"
#include "../catalogue/ProgramIds.h"
#include "MediaTime.h"
#include "PreviewIds.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace {

const wchar_t kBarClass[] = L"SortaroMediaBar";
// The name the open file goes by in every command after its "open".
const std::wstring kAlias = L"SortaroMedia";
const UINT_PTR kTimerId = 1;
const UINT kTickMs = 100;
const int kBarHeight = 52;
const int kSliderWidth = 217;
const int kButtonSize = 25;
const int kButtonTop = 24;
const int kButtonIds[3] = {IDC_MEDIA_PLAY, IDC_MEDIA_PAUSE, IDC_MEDIA_STOP};
const int kHintIds[3] = {IDS_MEDIA_PLAY_HINT, IDS_MEDIA_PAUSE_HINT, IDS_MEDIA_STOP_HINT};

enum class Glyph { Play, Pause, Stop };

// A button of the bar: a push button's frame with a black play, pause or stop sign in its middle.
void DrawGlyphButton(const DRAWITEMSTRUCT& item, Glyph glyph, int size)
{
    RECT box = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &box, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int x = (box.left + box.right - size) / 2 + (pressed ? 1 : 0);
    const int y = (box.top + box.bottom - size) / 2 + (pressed ? 1 : 0);
    const int edge = size / 6;
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (glyph == Glyph::Play) {
        SelectObjectGuard brush(item.hDC, black);
        SelectObjectGuard pen(item.hDC, GetStockObject(NULL_PEN));
        const POINT corners[3] = {{x + size / 4, y}, {x + size / 4, y + size}, {x + size - edge, y + size / 2}};
        Polygon(item.hDC, corners, 3);
    } else if (glyph == Glyph::Pause) {
        const RECT left{x + edge, y, x + edge + size / 4, y + size};
        const RECT right{x + size - edge - size / 4, y, x + size - edge, y + size};
        FillRect(item.hDC, &left, black);
        FillRect(item.hDC, &right, black);
    } else {
        const RECT square{x + edge, y + edge, x + size - edge, y + size - edge};
        FillRect(item.hDC, &square, black);
    }
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&box, -3, -3);
        DrawFocusRect(item.hDC, &box);
    }
}

// MCI reads everything between two double quotes as one word; a quote inside cannot be written.
bool Quotable(const std::wstring& path)
{
    return path.find(L'"') == std::wstring::npos;
}

} // namespace

// The film kind of the preview list: the same player and bar, with the film display. The sound
// viewer it belongs to does everything else (reset, layout, texts).
class MediaViewer::Film : public Viewer {
public:
    explicit Film(MediaViewer& media) : m_media(media) {}
    bool Create(PreviewHost& /*host*/) override { return true; }
    void Show(const std::wstring& path, const std::wstring& /*ext*/, uint64_t size) override
    {
        m_media.ShowMedia(path, size, true);
    }
    void Reset() override {}

private:
    MediaViewer& m_media;
};

MediaViewer::MediaViewer() : m_mci(SystemMci())
{
}

MediaViewer::~MediaViewer()
{
    if (Hwnd())
        KillTimer(Hwnd(), kTimerId);
    CloseMedia();
}

std::unique_ptr<Viewer> MediaViewer::FilmViewer()
{
    return std::make_unique<Film>(*this);
}

void MediaViewer::SetMci(std::unique_ptr<MciChannel> mci)
{
    CloseMedia();
    m_mci = std::move(mci);
}

bool MediaViewer::Create(PreviewHost& host)
{
    m_host = &host;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.lpszClassName = kBarClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (!Register(wc) || !Window::Create(kBarClass, 0, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, host.Pane(),
                                         ControlId(IDC_MEDIA_BAR)))
        return false;
    m_film = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT, Scale(8), Scale(56), Scale(217), Scale(193),
                             host.Pane(), ControlId(IDC_MEDIA_FILM), instance, nullptr);
    m_slider = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 0,
                               Scale(1), Scale(kSliderWidth), Scale(24), Hwnd(), ControlId(IDC_MEDIA_SLIDER), instance,
                               nullptr);
    m_time = CreateWindowExW(0, L"STATIC", host.App().Text(IDS_MEDIA_TIME_START).c_str(),
                             WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, Scale(28), 0, Scale(16), Hwnd(),
                             ControlId(IDC_MEDIA_TIME), instance, nullptr);
    if (!m_film || !m_slider || !m_time)
        return false;
    SendMessageW(m_slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kSliderMax));
    m_timeFont.Reset(CreateFontW(-MulDiv(8, host.Dpi(), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Verdana"));
    SendMessageW(m_time, WM_SETFONT, reinterpret_cast<WPARAM>(m_timeFont.Get()), FALSE);
    for (int k = 0; k < 3; ++k) {
        // Drawn by the bar: a button's own image is not drawn by every version of the controls.
        m_buttons[k] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                                       Scale(kButtonTop), Scale(kButtonSize), Scale(kButtonSize), Hwnd(),
                                       ControlId(kButtonIds[k]), instance, nullptr);
        if (!m_buttons[k])
            return false;
    }
    m_tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, instance, nullptr);
    ApplyTexts();
    return true;
}

void MediaViewer::ApplyTexts()
{
    if (!m_tips)
        return;
    for (int k = 0; k < 3; ++k) {
        const std::wstring hint = m_host->App().Text(kHintIds[k]);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(m_buttons[k]);
        tool.lpszText = const_cast<wchar_t*>(hint.c_str());
        SendMessageW(m_tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MediaViewer::Layout()
{
    RECT pane{};
    GetClientRect(m_host->Pane(), &pane);
    MoveWindow(Hwnd(), 0, pane.bottom - Scale(kBarHeight), pane.right, Scale(kBarHeight), TRUE);
}

void MediaViewer::Panel8Resize()
{
    RECT bar{};
    GetClientRect(Hwnd(), &bar);
    const int width = bar.right;
    const int sliderLeft = width - Scale(kSliderWidth) - Scale(10);
    const int stopLeft = width - Scale(35);
    const int lefts[3] = {stopLeft - 2 * Scale(28), stopLeft - Scale(28), stopLeft};
    for (int k = 0; k < 3; ++k)
        MoveWindow(m_buttons[k], lefts[k], Scale(kButtonTop), Scale(kButtonSize), Scale(kButtonSize), TRUE);
    MoveWindow(m_slider, sliderLeft, Scale(1), Scale(kSliderWidth), Scale(24), TRUE);
    // The label reaches to the Play button: "00:00:00 / 00:00:00" fits in Verdana bold.
    MoveWindow(m_time, sliderLeft, Scale(28), std::max(0, lefts[0] - Scale(4) - sliderLeft), Scale(16), TRUE);
}

void MediaViewer::Reset()
{
    StopTimer();
    ShowWindow(Hwnd(), SW_HIDE);
    ShowWindow(m_film, SW_HIDE);
    CloseMedia();
}

void MediaViewer::StopTimer()
{
    KillTimer(Hwnd(), kTimerId);
}

void MediaViewer::StartTimer()
{
    SetTimer(Hwnd(), kTimerId, kTickMs, nullptr);
}

void MediaViewer::Show(const std::wstring& path, const std::wstring& /*ext*/, uint64_t size)
{
    ShowMedia(path, size, false);
}

void MediaViewer::ShowMedia(const std::wstring& path, uint64_t size, bool film)
{
    if (size == 0 || !Quotable(path))
        return;
    Layout();
    if (film)
        ShowWindow(m_film, SW_SHOW);
    ShowWindow(Hwnd(), SW_SHOW);
    if (!PlaySoundA(path, film))
        return;
    std::wstring length;
    if (!Command(L"set " + kAlias + L" time format milliseconds") ||
        !Command(L"status " + kAlias + L" length", &length))
        return;
    m_totalText = MediaTimeText(std::wcstoull(length.c_str(), nullptr, 10));
    StartTimer();
}

bool MediaViewer::PlaySoundA(const std::wstring& path, bool film)
{
    CloseMedia();
    m_startPos.reset();
    // No device type: the system chooses it by the file's extension.
    if (!Command(L"open \"" + path + L"\" alias " + kAlias))
        return false;
    m_open = true;
    if (film) {
        // A file of the film list that holds only sound has no window to draw in: it plays all
        // the same.
        const MciAnswer answer =
            m_mci->Send(L"window " + kAlias + L" handle " + std::to_wstring(reinterpret_cast<UINT_PTR>(m_film)));
        if (answer.error)
            Log::Write(LogLevel::Info, L"preview", L"no film window: MCI error %lu", answer.error);
    }
    return Command(L"play " + kAlias);
}

void MediaViewer::CloseMedia()
{
    if (!m_open)
        return;
    m_open = false;
    m_seeking = false;
    m_mci->Send(L"close " + kAlias);
}

bool MediaViewer::Command(const std::wstring& command, std::wstring* answer)
{
    const MciAnswer done = m_mci->Send(command);
    if (!done.error) {
        if (answer)
            *answer = done.text;
        return true;
    }
    Log::Write(LogLevel::Warning, L"preview", L"%ls: MCI error %lu", command.c_str(), done.error);
    const std::wstring text = done.text.empty() ? std::to_wstring(done.error) : done.text;
    MessageBoxW(m_host->App().Owner(), text.c_str(), m_host->App().Text(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONERROR);
    return false;
}

uint64_t MediaViewer::Number(const std::wstring& command)
{
    const MciAnswer answer = m_mci->Send(command);
    if (answer.error) {
        Log::Write(LogLevel::Debug, L"preview", L"%ls: MCI error %lu", command.c_str(), answer.error);
        return 0;
    }
    return std::wcstoull(answer.text.c_str(), nullptr, 10);
}

void MediaViewer::BitBtn3Click()
{
    if (!m_open)
        return;
    const std::wstring from = m_startPos ? L" from " + std::to_wstring(*m_startPos) : L"";
    m_startPos.reset();
    Command(L"play " + kAlias + from);
}

void MediaViewer::BitBtn2Click()
{
    if (m_open)
        Command(L"pause " + kAlias);
}

void MediaViewer::BitBtn1Click()
{
    if (!m_open)
        return;
    if (Command(L"stop " + kAlias) && Command(L"seek " + kAlias + L" to 0"))
        m_startPos = 0;
}

void MediaViewer::Timer1Timer()
{
    uint64_t position = Number(L"status " + kAlias + L" position");
    const uint64_t length = Number(L"status " + kAlias + L" length track 1");
    // A track of no length (or one the player cannot tell) has no place on the slider: it stays
    // at the start, and the time shown is none.
    if (length == 0)
        position = 0;
    const uint64_t value = length ? std::min<uint64_t>(position * kSliderMax / length, kSliderMax) : 0;
    SendMessageW(m_slider, TBM_SETPOS, TRUE, static_cast<LPARAM>(value));
    SetWindowTextW(m_time, (MediaTimeText(position) + L" / " + m_totalText).c_str());
}

void MediaViewer::RxSlider1MouseDown()
{
    StopTimer();
    if (m_open)
        Command(L"stop " + kAlias);
}

void MediaViewer::RxSlider1MouseUp()
{
    if (!m_open)
        return;
    const uint64_t length = Number(L"status " + kAlias + L" length track 1");
    const auto value = static_cast<uint64_t>(std::max<LRESULT>(0, SendMessageW(m_slider, TBM_GETPOS, 0, 0)));
    m_startPos = length * value / kSliderMax;
    BitBtn3Click();
    StartTimer();
}

void MediaViewer::OnSliderScroll(int code)
{
    // The trackbar tells of a drag or a press on its channel by scroll codes, and of the release
    // of the mouse (or of a key) by TB_ENDTRACK: the mouse's down and up for seeking.
    if (code == TB_ENDTRACK) {
        if (m_seeking) {
            m_seeking = false;
            RxSlider1MouseUp();
        }
    } else if (!m_seeking) {
        m_seeking = true;
        RxSlider1MouseDown();
    }
}

LRESULT MediaViewer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        Panel8Resize();
        return 0;
    case WM_TIMER:
        if (wParam == kTimerId)
            Timer1Timer();
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == m_slider)
            OnSliderScroll(LOWORD(wParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case IDC_MEDIA_PLAY:
                BitBtn3Click();
                return 0;
            case IDC_MEDIA_PAUSE:
                BitBtn2Click();
                return 0;
            case IDC_MEDIA_STOP:
                BitBtn1Click();
                return 0;
            default:
                break;
            }
        }
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        for (int k = 0; k < 3; ++k)
            if (item.hwndItem == m_buttons[k])
                DrawGlyphButton(item, static_cast<Glyph>(k), Scale(12));
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        // The bar is white; the time is blue on it, the slider's ground white.
        const auto hdc = reinterpret_cast<HDC>(wParam);
        if (reinterpret_cast<HWND>(lParam) == m_time) {
            SetTextColor(hdc, RGB(0, 0, 255));
            SetBkMode(hdc, TRANSPARENT);
        }
        SetBkColor(hdc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
