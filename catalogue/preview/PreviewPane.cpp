#include "PreviewPane.h"

#include "../../common/Controls.h"
#include "../../common/Program.h"
#include "../catalogue/ExtensionMatch.h"
#include "../catalogue/SettingsKeys.h"
#include "ArchiveViewer.h"
#include "IconViewer.h"
#include "MediaViewer.h"
#include "PictureViewer.h"
#include "PreviewIds.h"
#include "TextViewer.h"

#include <commctrl.h>

namespace {
const wchar_t kClassName[] = L"SortaroPreviewPane";
const int kStripHeight = 18;
// Posted to the pane: dispatch the press that came while a viewer was busy.
const UINT WM_APP_PREVIEW_PENDING = WM_APP + 20;
} // namespace

PreviewPane::PreviewPane(Program& program) : m_program(program) {}

PreviewPane::~PreviewPane() = default;

bool PreviewPane::Create(HWND parent, int id, int dpi, std::function<void()> onClose)
{
    m_dpi = dpi;
    m_onClose = std::move(onClose);
    WNDCLASSEXW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (!Register(wc) || !Window::Create(kClassName, WS_EX_CLIENTEDGE, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                         parent, ControlId(id)))
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    m_caption = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, 0, 0, 0, 0, Hwnd(),
                                ControlId(IDC_PREVIEW_CAPTION), instance, nullptr);
    m_close = CreateWindowExW(0, L"BUTTON", L"X", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, Hwnd(),
                              ControlId(IDC_PREVIEW_CLOSE), instance, nullptr);
    m_note = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, Hwnd(),
                             ControlId(IDC_PREVIEW_NOTE), instance, nullptr);
    if (!m_caption || !m_close || !m_note)
        return false;
    SendMessageW(m_caption, WM_SETFONT, font, FALSE);
    SendMessageW(m_note, WM_SETFONT, font, FALSE);
    LOGFONTW bold{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    m_boldFont.Reset(CreateFontIndirectW(&bold));
    SendMessageW(m_close, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont ? m_boldFont.Get() : nullptr), FALSE);
    m_tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, instance, nullptr);

    m_viewers[static_cast<int>(ViewerKind::Text)] = std::make_unique<TextViewer>();
    m_viewers[static_cast<int>(ViewerKind::Picture)] = std::make_unique<PictureViewer>();
    m_viewers[static_cast<int>(ViewerKind::Icon)] = std::make_unique<IconViewer>();
    m_viewers[static_cast<int>(ViewerKind::Archive)] = std::make_unique<ArchiveViewer>([this](const std::wstring& text) {
        if (m_status)
            m_status(text);
    });
    m_viewers[static_cast<int>(ViewerKind::Sound)] = std::make_unique<MediaViewer>();
    for (auto& viewer : m_viewers)
        if (viewer && !viewer->Create(*this))
            viewer.reset();
    // Films play in the sound viewer's player and bar; its timer is the one StopMediaTimer stops.
    if (auto* media = static_cast<MediaViewer*>(ViewerOf(ViewerKind::Sound)))
        m_viewers[static_cast<int>(ViewerKind::Film)] = media->FilmViewer();
    ApplyTexts();
    return true;
}

void PreviewPane::ApplyTexts()
{
    SetWindowTextW(m_caption, m_program.Text(IDS_PREVIEW_HEADING).c_str());
    if (m_tips) {
        const std::wstring hint = m_program.Text(IDS_PREVIEW_CLOSE_HINT);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(m_close);
        tool.lpszText = const_cast<wchar_t*>(hint.c_str());
        SendMessageW(m_tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    for (auto& viewer : m_viewers)
        if (viewer)
            viewer->ApplyTexts();
}

std::wstring PreviewPane::Heading() const
{
    wchar_t text[128] = L"";
    GetWindowTextW(m_caption, text, ARRAYSIZE(text));
    return text;
}

void PreviewPane::GetVorschau()
{
    m_entries.clear();
    Registry& settings = m_program.Settings();
    RegistryKeyScope key(settings, SettingsKeys::kVorschau, KeyAccess::Read);
    if (!key)
        return;
    for (const std::wstring& name : settings.GetValueNames())
        m_entries.push_back({name, settings.ReadString(name).value_or(L"")});
}

void PreviewPane::Reset()
{
    ShowWindow(m_note, SW_HIDE);
    for (auto& viewer : m_viewers)
        if (viewer)
            viewer->Reset();
}

void PreviewPane::StopMediaTimer()
{
    if (Viewer* sound = ViewerOf(ViewerKind::Sound))
        sound->StopTimer();
}

void PreviewPane::ListView1MouseDown(UINT button, bool switchOn, const PreviewFile* file)
{
    // A listing still running from an earlier click stops at its next entry.
    m_program.CancelFlag() = 1;
    if (AnyViewerBusy()) {
        // This press came through the messages the listing pumps: the new preview starts once
        // the listing has unwound, so that two never run inside each other.
        m_pending.reset(new Pending{button, switchOn, file != nullptr, file ? *file : PreviewFile()});
        return;
    }
    Reset();
    if (button == WM_RBUTTONDOWN || !switchOn || !file)
        return;
    ShowWindow(Hwnd(), SW_SHOW);
    if (!file->offlineNote.empty()) {
        // Nothing of the file can be read: the pane says why instead of staying empty.
        SetWindowTextW(m_note, file->offlineNote.c_str());
        ShowWindow(m_note, SW_SHOW);
        return;
    }
    const std::wstring ext = ExtensionOf(file->path);
    const std::optional<ViewerKind> kind = FindViewer(m_entries, ext);
    if (!kind)
        return;
    if (Viewer* viewer = ViewerOf(*kind))
        viewer->Show(file->path, ext, file->size);
    // A press that came while the viewer was busy runs now that it has unwound.
    if (m_pending)
        PostMessageW(Hwnd(), WM_APP_PREVIEW_PENDING, 0, 0);
}

bool PreviewPane::AnyViewerBusy() const
{
    for (const auto& viewer : m_viewers)
        if (viewer && viewer->Busy())
            return true;
    return false;
}

RECT PreviewPane::ViewArea() const
{
    RECT area{};
    GetClientRect(Hwnd(), &area);
    area.top = std::min(area.bottom, static_cast<LONG>(Scale(kStripHeight)));
    return area;
}

void PreviewPane::LayoutStrip(int width)
{
    const int strip = Scale(kStripHeight);
    MoveWindow(m_close, 0, 0, strip, strip, TRUE);
    MoveWindow(m_caption, strip + Scale(4), Scale(2), std::max(0, width - strip - Scale(8)), strip - Scale(2), TRUE);
    const RECT area = ViewArea();
    MoveWindow(m_note, area.left + Scale(8), area.top + Scale(16), std::max(0, static_cast<int>(area.right) - Scale(16)),
               Scale(64), TRUE);
}

LRESULT PreviewPane::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (msg) {
    case WM_SIZE:
        LayoutStrip(LOWORD(lParam));
        for (auto& viewer : m_viewers)
            if (viewer)
                viewer->Layout();
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_APP_PREVIEW_PENDING:
        // While the viewer is still busy the press waits: it is posted again once the viewer's
        // Show has returned (posting it again from here would keep the listing's own message
        // processing busy for ever).
        if (m_pending && !AnyViewerBusy()) {
            const std::unique_ptr<Pending> pending = std::move(m_pending);
            ListView1MouseDown(pending->button, pending->switchOn, pending->hasFile ? &pending->file : nullptr);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PREVIEW_CLOSE && HIWORD(wParam) == BN_CLICKED) {
            if (m_onClose)
                m_onClose();
            return 0;
        }
        break;
    default:
        break;
    }
    if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_TIMER || msg == WM_HSCROLL)
        for (auto& viewer : m_viewers)
            if (viewer && viewer->OnMessage(msg, wParam, lParam, result))
                return result;
    return Window::HandleMessage(msg, wParam, lParam);
}
