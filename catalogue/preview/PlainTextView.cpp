#include "PlainTextView.h"

#include "../../common/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {

const wchar_t kClassName[] = L"SortaroPlainText";

// The width of a piece of text without tabs; SIZE, unlike the tabbed functions, is not cut to
// 16 bits.
int PieceWidth(HDC hdc, const wchar_t* text, size_t count)
{
    SIZE size{};
    if (count)
        GetTextExtentPoint32W(hdc, text, static_cast<int>(count), &size);
    return size.cx;
}

// The pieces of a line between its tabs, each with the x where it starts: fn(start, count, x,
// width) returns false to stop. Tabs stop every eight average characters from the line's start.
template <typename Fn> void ForEachPiece(HDC hdc, std::wstring_view line, int tabWidth, Fn fn)
{
    int x = 0;
    size_t at = 0;
    for (;;) {
        const size_t tab = line.find(L'\t', at);
        const size_t end = tab == std::wstring_view::npos ? line.size() : tab;
        const int width = PieceWidth(hdc, line.data() + at, end - at);
        if (!fn(at, end - at, x, width) || tab == std::wstring_view::npos)
            return;
        x = (x + width) / tabWidth * tabWidth + tabWidth;
        at = tab + 1;
    }
}

} // namespace

bool PlainTextView::Create(HWND parent, int controlId, int dpi)
{
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = kClassName;
    if (!Register(wc) || !Window::Create(kClassName, 0, L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 0,
                                         0, parent, ControlId(controlId)))
        return false;
    // MS Sans Serif, 8 points, as the rich text view shows plain texts.
    m_font.Reset(CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    WindowDc dc(Hwnd());
    SelectObjectGuard font(dc.Dc(), m_font.Get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc.Dc(), &metrics)) {
        m_lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
        m_charWidth = std::max<int>(1, metrics.tmAveCharWidth);
    }
    UpdateScrollBars();
    return true;
}

void PlainTextView::SetText(std::wstring text)
{
    m_lines.Assign(std::move(text));
    m_top = m_left = m_wheel = 0;
    m_anchor = m_caret = 0;
    {
        WindowDc dc(Hwnd());
        SelectObjectGuard font(dc.Dc(), m_font.Get());
        const uint32_t longest = m_lines.LongestLine();
        m_width = Extent(dc.Dc(), longest, m_lines.Length(longest));
    }
    UpdateScrollBars();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

int PlainTextView::VisibleLines() const
{
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return std::max<int>(1, (client.bottom - client.top) / m_lineHeight);
}

void PlainTextView::UpdateScrollBars()
{
    RECT client{};
    GetClientRect(Hwnd(), &client);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = static_cast<int>(m_lines.Count()) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = m_top;
    SetScrollInfo(Hwnd(), SB_VERT, &info, TRUE);
    info.nMax = m_width + 2 * kMargin - 1;
    info.nPage = static_cast<UINT>(std::max<LONG>(0, client.right));
    info.nPos = m_left;
    SetScrollInfo(Hwnd(), SB_HORZ, &info, TRUE);
}

void PlainTextView::ScrollTo(int top, int left)
{
    RECT client{};
    GetClientRect(Hwnd(), &client);
    top = std::max(0, std::min(top, static_cast<int>(m_lines.Count()) - VisibleLines()));
    left = std::max(0, std::min<int>(left, m_width + 2 * kMargin - client.right));
    if (top == m_top && left == m_left)
        return;
    m_top = top;
    m_left = left;
    UpdateScrollBars();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

int PlainTextView::Extent(HDC hdc, uint32_t line, uint32_t count) const
{
    const std::wstring_view text = m_lines.Line(line).substr(0, count);
    int extent = 0;
    ForEachPiece(hdc, text, 8 * m_charWidth, [&](size_t, size_t, int x, int width) {
        extent = x + width;
        return true;
    });
    return extent;
}

uint32_t PlainTextView::OffsetAt(int x, int y) const
{
    const int row = y >= 0 ? y / m_lineHeight : -1 - (-y - 1) / m_lineHeight;
    const uint32_t line = static_cast<uint32_t>(
        std::max<int64_t>(0, std::min<int64_t>(int64_t{m_top} + row, int64_t{m_lines.Count()} - 1)));
    const std::wstring_view text = m_lines.Line(line);
    const int target = x - kMargin + m_left;
    size_t column = target <= 0 ? 0 : text.size();
    if (target > 0) {
        WindowDc dc(Hwnd());
        SelectObjectGuard font(dc.Dc(), m_font.Get());
        const int tabWidth = 8 * m_charWidth;
        ForEachPiece(dc.Dc(), text, tabWidth, [&](size_t start, size_t count, int pieceX, int width) {
            if (target < pieceX + width) {
                // The character boundary nearest to the point.
                int fit = 0;
                SIZE size{};
                GetTextExtentExPointW(dc.Dc(), text.data() + start, static_cast<int>(count), target - pieceX, &fit,
                                      nullptr, &size);
                const int before = PieceWidth(dc.Dc(), text.data() + start, static_cast<size_t>(fit));
                const int after = PieceWidth(dc.Dc(), text.data() + start, static_cast<size_t>(fit) + 1);
                column = start + static_cast<size_t>(fit) + (target - pieceX - before > after - (target - pieceX) ? 1 : 0);
                return false;
            }
            const int tabEnd = (pieceX + width) / tabWidth * tabWidth + tabWidth;
            if (start + count < text.size() && target < tabEnd) {
                column = start + count + (target - (pieceX + width) > tabEnd - target ? 1 : 0);
                return false;
            }
            return true;
        });
    }
    return m_lines.Start(line) + static_cast<uint32_t>(column);
}

void PlainTextView::DrawLine(HDC hdc, uint32_t line, int y, const RECT& client) const
{
    const std::wstring_view text = m_lines.Line(line);
    const int origin = kMargin - m_left;
    ForEachPiece(hdc, text, 8 * m_charWidth, [&](size_t start, size_t count, int x, int width) {
        if (origin + x >= client.right)
            return false;
        if (origin + x + width > client.left)
            ExtTextOutW(hdc, origin + x, y, 0, nullptr, text.data() + start, static_cast<UINT>(count), nullptr);
        return true;
    });
}

void PlainTextView::OnPaint()
{
    PaintGuard paint(Hwnd());
    HDC hdc = paint.Dc();
    const RECT& area = paint.Area();
    FillRect(hdc, &area, GetSysColorBrush(COLOR_WINDOW));
    RECT client{};
    GetClientRect(Hwnd(), &client);
    SelectObjectGuard font(hdc, m_font.Get());
    SetBkMode(hdc, TRANSPARENT);
    const size_t selStart = SelectionStart();
    const size_t selEnd = SelectionEnd();
    const int first = area.top / m_lineHeight;
    const int last = (area.bottom + m_lineHeight - 1) / m_lineHeight;
    for (int row = first; row < last && m_top + row < static_cast<int>(m_lines.Count()); ++row) {
        const uint32_t line = static_cast<uint32_t>(m_top + row);
        const int y = row * m_lineHeight;
        SetTextColor(hdc, RGB(0, 0, 0));
        DrawLine(hdc, line, y, client);
        // The selected part of the line, drawn again over the highlight.
        const size_t lineStart = m_lines.Start(line);
        const size_t lineEnd = lineStart + m_lines.Length(line);
        if (selEnd <= selStart || selEnd < lineStart || selStart > lineEnd ||
            (selEnd == lineStart && selStart < lineStart))
            continue;
        const uint32_t from = static_cast<uint32_t>(std::max(selStart, lineStart) - lineStart);
        const uint32_t to = static_cast<uint32_t>(std::min(selEnd, lineEnd) - lineStart);
        const int origin = kMargin - m_left;
        RECT mark{origin + Extent(hdc, line, from), y, origin + Extent(hdc, line, to), y + m_lineHeight};
        if (selEnd > lineEnd)
            mark.right += m_charWidth; // the line break is selected too
        FillRect(hdc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
        const int saved = SaveDC(hdc);
        IntersectClipRect(hdc, mark.left, mark.top, mark.right, mark.bottom);
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawLine(hdc, line, y, client);
        RestoreDC(hdc, saved);
    }
}

void PlainTextView::OnSize()
{
    UpdateScrollBars();
    ScrollTo(m_top, m_left);
}

void PlainTextView::OnScroll(int bar, int request)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(Hwnd(), bar, &info);
    const int line = bar == SB_VERT ? 1 : m_charWidth;
    const int page = std::max<int>(line, static_cast<int>(info.nPage) - (bar == SB_VERT ? 1 : m_charWidth));
    int pos = info.nPos;
    switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break; // 32 bits, unlike the message's position
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (bar == SB_VERT)
        ScrollTo(pos, m_left);
    else
        ScrollTo(m_top, pos);
}

void PlainTextView::OnWheel(int delta)
{
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL)
        lines = static_cast<UINT>(VisibleLines());
    m_wheel += delta;
    const int notches = m_wheel / WHEEL_DELTA;
    m_wheel -= notches * WHEEL_DELTA;
    ScrollTo(m_top - notches * static_cast<int>(lines), m_left);
}

void PlainTextView::OnKeyDown(UINT key)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int page = std::max(1, VisibleLines() - 1);
    switch (key) {
    case VK_UP: ScrollTo(m_top - 1, m_left); break;
    case VK_DOWN: ScrollTo(m_top + 1, m_left); break;
    case VK_PRIOR: ScrollTo(m_top - page, m_left); break;
    case VK_NEXT: ScrollTo(m_top + page, m_left); break;
    case VK_LEFT: ScrollTo(m_top, m_left - m_charWidth); break;
    case VK_RIGHT: ScrollTo(m_top, m_left + m_charWidth); break;
    case VK_HOME: ScrollTo(control ? 0 : m_top, 0); break;
    case VK_END: ScrollTo(control ? static_cast<int>(m_lines.Count()) : m_top, control ? 0 : m_width); break;
    case 'A':
        if (control) {
            m_anchor = 0;
            m_caret = m_lines.Text().size();
            InvalidateRect(Hwnd(), nullptr, FALSE);
        }
        break;
    case 'C':
    case VK_INSERT:
        if (control)
            OnCopy();
        break;
    }
}

void PlainTextView::OnMouse(UINT msg, int x, int y, bool shift)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        SetFocus(Hwnd());
        SetCapture(Hwnd());
        m_selecting = true;
        m_caret = OffsetAt(x, y);
        if (!shift)
            m_anchor = m_caret;
        break;
    case WM_MOUSEMOVE: {
        if (!m_selecting)
            return;
        // Dragging beyond the top or bottom scrolls a line at a time.
        RECT client{};
        GetClientRect(Hwnd(), &client);
        if (y < 0)
            ScrollTo(m_top - 1, m_left);
        else if (y >= client.bottom)
            ScrollTo(m_top + 1, m_left);
        m_caret = OffsetAt(x, y);
        break;
    }
    case WM_LBUTTONUP:
        if (m_selecting)
            ReleaseCapture();
        return;
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PlainTextView::OnCopy() const
{
    if (SelectionEnd() <= SelectionStart() || !OpenClipboard(Hwnd()))
        return;
    const std::wstring text = ClipboardText(m_lines.Text(), SelectionStart(), SelectionEnd());
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

LRESULT PlainTextView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: OnSize(); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnMouse(msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_CAPTURECHANGED: m_selecting = false; return 0;
    case WM_COPY: OnCopy(); return 0;
    // The whole text, for whoever asks the window for it.
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m_lines.Text().size());
    case WM_GETTEXT: {
        if (wParam == 0)
            return 0;
        const size_t count = std::min<size_t>(wParam - 1, m_lines.Text().size());
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        std::memcpy(buffer, m_lines.Text().data(), count * sizeof(wchar_t));
        buffer[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
