#include "PictureViewer.h"

#include "../../common/Controls.h"
#include "../../common/Log.h"
#include "../../common/Program.h"
#include "../../common/Window.h"
#include "JpegDecode.h"
#include "PictureOps.h"
#include "PreviewIds.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

namespace {

const wchar_t kChannel[] = L"preview";

const int kToolbarHeight = 28;
const int kMediaBarHeight = 52; // the sound and film viewers' bar, below the picture tool bar
const int kAnimationSide = 105;
const int kGlyphSide = 16;

const int kToolIds[] = {IDC_PICTURE_ZOOM_IN, IDC_PICTURE_ZOOM_OUT, IDC_PICTURE_ROTATE, IDC_PICTURE_FLIP_VERTICAL,
                        IDC_PICTURE_FLIP_HORIZONTAL};
const unsigned kHintIds[] = {IDS_HINT_ZOOM_IN, IDS_HINT_ZOOM_OUT, IDS_HINT_ROTATE, IDS_HINT_FLIP_VERTICAL,
                             IDS_HINT_FLIP_HORIZONTAL};

// The tool bar's pictures, as lines on a 16 x 16 grid: plus, minus, an arrow bending to the
// left, arrows up and down, arrows left and right.
const struct {
    int glyph, x0, y0, x1, y1;
} kGlyphLines[] = {
    {0, 3, 8, 13, 8}, {0, 8, 3, 8, 13}, {1, 3, 8, 13, 8}, {2, 12, 13, 12, 5}, {2, 12, 5, 4, 5},   {2, 4, 5, 7, 2},
    {2, 4, 5, 7, 8},  {3, 8, 2, 8, 14}, {3, 8, 2, 5, 5},  {3, 8, 2, 11, 5},   {3, 8, 14, 5, 11},  {3, 8, 14, 11, 11},
    {4, 2, 8, 14, 8}, {4, 2, 8, 5, 5},  {4, 2, 8, 5, 11}, {4, 14, 8, 11, 5},  {4, 14, 8, 11, 11},
};

// Not in MinGW-w64's GDI+ headers: the time dimension of an animation's frames, and the tag
// of their delays (one 32-bit count of hundredths of a second per frame).
const GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
const PROPID kPropertyTagFrameDelay = 0x5100;
// Browsers show the delays 0 and 1 (often written by tools that mean "as fast as you can") as
// a tenth of a second; so does the preview.
const UINT kShortestDelayMs = 20;
const UINT kDefaultDelayMs = 100;

bool WithinLimit(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && ((width * 3 + 3) & ~3) * height <= static_cast<int64_t>(kMaxPictureBytes);
}

bool GdiplusReady()
{
    // Started once and left running until the process ends: shutting it down from a static
    // destructor would come after windows that still hold images are gone or not.
    static const bool ready = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return ready;
}

// The whole file in memory. GDI+ decodes from a copy, so the file is not kept open while it is
// shown, and the file list can still move, rename or delete it.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return Log::LastError(kChannel, path.c_str());
    if (static_cast<uint64_t>(size.QuadPart) > kMaxPictureBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

ComPtr<IStream> MemoryStream(const std::vector<uint8_t>& bytes)
{
    ComPtr<IStream> stream;
    if (GdiplusReady())
        *stream.Put() = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    return stream;
}

uint32_t Le(const uint8_t* p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Whether a BMP file's headers describe a picture within the limit whose rows are all in the
// file, read before anything is decoded. The file header (14 bytes) gives where the rows start;
// the info header starts with its own size, 12 for the old core header with 16-bit sides, 40 or
// more for those with 32-bit sides (a negative height stores the rows top-down). Compressed
// rows have no fixed length; the decoder checks them itself.
bool BmpAcceptable(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const uint8_t* info = bytes.data() + 14;
    const uint32_t headerSize = Le(info, 4);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = BI_RGB;
    if (headerSize == 12) {
        width = Le(info + 4, 2);
        height = Le(info + 6, 2);
        bits = Le(info + 10, 2);
    } else if (headerSize >= 40 && bytes.size() >= 14 + 40) {
        width = static_cast<int32_t>(Le(info + 4, 4));
        height = std::abs(static_cast<int64_t>(static_cast<int32_t>(Le(info + 8, 4))));
        bits = Le(info + 14, 2);
        compression = Le(info + 16, 4);
    } else {
        return false;
    }
    if (!WithinLimit(width, height))
        return false;
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    return (compression != BI_RGB && compression != BI_BITFIELDS) ||
           Le(bytes.data() + 10, 4) + rowBytes * height <= static_cast<int64_t>(bytes.size());
}

// A BMP file as 24-bit pixels, whatever its depth and compression. GDI+ reports invalid data as
// a failed status.
bool LoadBmpFile(const std::wstring& path, Dib24& picture)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || !BmpAcceptable(bytes))
        return false;
    ComPtr<IStream> stream = MemoryStream(bytes);
    bytes = std::vector<uint8_t>();
    if (!stream)
        return false;
    Gdiplus::Bitmap bitmap(stream.Get());
    const Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    Gdiplus::BitmapData data{};
    if (bitmap.GetLastStatus() != Gdiplus::Ok || !WithinLimit(all.Width, all.Height) ||
        bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok)
        return false;
    picture.width = all.Width;
    picture.height = all.Height;
    picture.pixels.assign(picture.Stride() * picture.height, 0);
    // GDI+ hands the rows top-down (blue, green, red like a DIB); the picture keeps them bottom-up.
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(picture.Row(picture.height - 1 - y), static_cast<const uint8_t*>(data.Scan0) + y * data.Stride,
                    static_cast<size_t>(picture.width) * 3);
    bitmap.UnlockBits(&data);
    return true;
}

} // namespace

// Shows its picture stretched to its own size; its size is the zoom state.
class StillView : public Window {
public:
    bool Create(HWND parent)
    {
        WNDCLASSEXW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SortaroStillPicture";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return Register(wc) && Window::Create(wc.lpszClassName, 0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                              ControlId(IDC_PICTURE_STILL));
    }

    Dib24& Picture() { return m_picture; }

    void SetPicture(Dib24 picture)
    {
        m_picture = std::move(picture);
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }

    ViewSize Size() const
    {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        return {client.right, client.bottom};
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        default:
            return Window::HandleMessage(msg, wParam, lParam);
        }
    }

private:
    void OnPaint()
    {
        PaintGuard paint(Hwnd());
        const ViewSize size = Size();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_picture.width;
        info.bmiHeader.biHeight = m_picture.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(paint.Dc(), HALFTONE);
        SetBrushOrgEx(paint.Dc(), 0, 0, nullptr);
        if (m_picture.pixels.empty() ||
            !StretchDIBits(paint.Dc(), 0, 0, size.width, size.height, 0, 0, m_picture.width, m_picture.height,
                           m_picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY))
            FillRect(paint.Dc(), &paint.Area(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

    Dib24 m_picture;
};

// Plays a GIF file's frames, stretched to its size, with the delays the file gives.
class AnimationView : public Window {
public:
    bool Create(HWND parent)
    {
        WNDCLASSEXW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SortaroAnimatedPicture";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        return Register(wc) && Window::Create(wc.lpszClassName, 0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                              ControlId(IDC_PICTURE_ANIMATION));
    }

    bool Load(const std::wstring& path)
    {
        Stop();
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes))
            return false;
        ComPtr<IStream> stream = MemoryStream(bytes);
        bytes = std::vector<uint8_t>();
        if (!stream)
            return false;
        std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream.Get()));
        if (!image || image->GetLastStatus() != Gdiplus::Ok || !WithinLimit(image->GetWidth(), image->GetHeight()))
            return false;
        // A GIF without frames in time (some decoders give none for a single picture) has one.
        const UINT frames = std::max(1u, image->GetFrameCount(&kFrameDimensionTime));
        m_delays.assign(frames, kDefaultDelayMs);
        const UINT size = image->GetPropertyItemSize(kPropertyTagFrameDelay);
        if (size >= sizeof(Gdiplus::PropertyItem)) {
            std::vector<uint8_t> buffer(size);
            auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
            if (image->GetPropertyItem(kPropertyTagFrameDelay, size, item) == Gdiplus::Ok && item->value) {
                const UINT given = std::min<UINT>(frames, item->length / 4);
                for (UINT i = 0; i < given; ++i) {
                    const UINT ms = Le(static_cast<const uint8_t*>(item->value) + i * 4, 4) * 10;
                    m_delays[i] = ms < kShortestDelayMs ? kDefaultDelayMs : ms;
                }
            }
        }
        m_image = std::move(image);
        m_frame = 0;
        if (frames > 1)
            SetTimer(Hwnd(), 1, m_delays[0], nullptr);
        InvalidateRect(Hwnd(), nullptr, TRUE);
        return true;
    }

    void Stop()
    {
        KillTimer(Hwnd(), 1);
        m_image.reset();
        m_delays.clear();
    }

    unsigned Frames() const { return m_image ? static_cast<unsigned>(m_delays.size()) : 0; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_TIMER:
            OnTimer();
            return 0;
        default:
            return Window::HandleMessage(msg, wParam, lParam);
        }
    }

private:
    void OnPaint()
    {
        PaintGuard paint(Hwnd());
        RECT client{};
        GetClientRect(Hwnd(), &client);
        if (m_image) {
            Gdiplus::Graphics graphics(paint.Dc());
            graphics.DrawImage(m_image.get(), 0, 0, client.right, client.bottom);
        }
    }

    void OnTimer()
    {
        if (!m_image)
            return;
        m_frame = (m_frame + 1) % m_delays.size();
        m_image->SelectActiveFrame(&kFrameDimensionTime, static_cast<UINT>(m_frame));
        SetTimer(Hwnd(), 1, m_delays[m_frame], nullptr);
        // Erased first: a frame's transparent pixels show the pane, not the frame before.
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }

    std::unique_ptr<Gdiplus::Image> m_image;
    std::vector<UINT> m_delays; // milliseconds, one per frame
    size_t m_frame = 0;
};

PictureViewer::PictureViewer() = default;
PictureViewer::~PictureViewer() = default;

HWND PictureViewer::StillHwnd() const
{
    return m_still ? m_still->Hwnd() : nullptr;
}

HWND PictureViewer::AnimationHwnd() const
{
    return m_animation ? m_animation->Hwnd() : nullptr;
}

unsigned PictureViewer::FrameCount() const
{
    return m_animation && IsWindowVisible(m_animation->Hwnd()) ? m_animation->Frames() : 0;
}

int PictureViewer::Scale(int pixels) const
{
    return MulDiv(pixels, m_host->Dpi(), 96);
}

bool PictureViewer::Create(PreviewHost& host)
{
    m_host = &host;
    m_still = std::make_unique<StillView>();
    m_animation = std::make_unique<AnimationView>();
    if (!m_still->Create(host.Pane()) || !m_animation->Create(host.Pane()))
        return false;
    m_toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
        0, 0, 0, 0, host.Pane(), ControlId(IDC_PICTURE_TOOLBAR), GetModuleHandleW(nullptr), nullptr);
    if (!m_toolbar)
        return Log::LastError(kChannel, L"picture tool bar");

    // The pictures, drawn once into an image list: black lines on a mask colour.
    const int side = Scale(kGlyphSide);
    m_glyphs.Reset(ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, ARRAYSIZE(kToolIds), 0));
    {
        WindowDc screen(nullptr);
        UniqueHdc dc(CreateCompatibleDC(screen.Dc()));
        UniqueHBitmap strip(CreateCompatibleBitmap(screen.Dc(), side * ARRAYSIZE(kToolIds), side));
        UniqueHPen pen(CreatePen(PS_SOLID, std::max(1, side / 8), RGB(0, 0, 0)));
        const COLORREF mask = RGB(255, 0, 255);
        {
            SelectObjectGuard selectBitmap(dc.Get(), strip.Get());
            SelectObjectGuard selectPen(dc.Get(), pen.Get());
            UniqueHBrush background(CreateSolidBrush(mask));
            const RECT all = {0, 0, side * static_cast<int>(ARRAYSIZE(kToolIds)), side};
            FillRect(dc.Get(), &all, background.Get());
            for (const auto& line : kGlyphLines) {
                const int left = line.glyph * side;
                MoveToEx(dc.Get(), left + line.x0 * side / kGlyphSide, line.y0 * side / kGlyphSide, nullptr);
                LineTo(dc.Get(), left + line.x1 * side / kGlyphSide, line.y1 * side / kGlyphSide);
            }
        }
        ImageList_AddMasked(m_glyphs.Get(), strip.Get(), mask);
    }
    SendMessageW(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_glyphs.Get()));
    TBBUTTON buttons[ARRAYSIZE(kToolIds)] = {};
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(kToolIds)); ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = kToolIds[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;
    }
    SendMessageW(m_toolbar, TB_ADDBUTTONSW, ARRAYSIZE(buttons), reinterpret_cast<LPARAM>(buttons));
    ApplyTexts();
    Layout();
    return true;
}

void PictureViewer::Show(const std::wstring& path, const std::wstring& ext, uint64_t /*size*/)
{
    // Called from the pane's window procedure: nothing may escape, and a file that cannot be
    // shown leaves the viewer empty.
    try {
        if (ext == L".GIF")
            ShowAnimation(path);
        else if (ext == L".BMP" || ext == L".JPG")
            ShowStill(path, ext);
    } catch (const std::exception& e) {
        Log::Write(LogLevel::Error, kChannel, L"%ls: %hs", path.c_str(), e.what());
        Reset();
    }
}

void PictureViewer::ShowStill(const std::wstring& path, const std::wstring& ext)
{
    Dib24 picture;
    if (!(ext == L".BMP" ? LoadBmpFile(path, picture) : DecodeJpegFile(path, picture)))
        return;
    const RECT area = m_host->ViewArea();
    const ViewSize fitted =
        FormatPicture({area.right - area.left, area.bottom - area.top}, {picture.width, picture.height});
    m_still->SetPicture(std::move(picture));
    SetWindowPos(m_still->Hwnd(), nullptr, area.left, area.top, fitted.width, fitted.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ShowToolbar();
}

void PictureViewer::ShowAnimation(const std::wstring& path)
{
    if (!m_animation->Load(path))
        return;
    const RECT area = m_host->ViewArea();
    SetWindowPos(m_animation->Hwnd(), nullptr, area.left, area.top, Scale(kAnimationSide), Scale(kAnimationSide),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Shown for a GIF too, though its tools act on the still picture only.
    ShowToolbar();
}

void PictureViewer::ShowToolbar()
{
    // Above a tall picture, which would otherwise cover it.
    SetWindowPos(m_toolbar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void PictureViewer::Reset()
{
    // The still view keeps its picture while hidden; the animation stops and is let go.
    m_animation->Stop();
    ShowWindow(m_animation->Hwnd(), SW_HIDE);
    ShowWindow(m_still->Hwnd(), SW_HIDE);
    ShowWindow(m_toolbar, SW_HIDE);
}

void PictureViewer::Layout()
{
    const RECT area = m_host->ViewArea();
    const int top = std::max(area.top, area.bottom - Scale(kMediaBarHeight) - Scale(kToolbarHeight));
    MoveWindow(m_toolbar, area.left, top, area.right - area.left, Scale(kToolbarHeight), TRUE);
}

void PictureViewer::ApplyTexts()
{
    for (size_t i = 0; i < ARRAYSIZE(kHintIds); ++i)
        m_hints[i] = m_host->App().Text(kHintIds[i]);
}

bool PictureViewer::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m_toolbar) {
        try {
            RunTool(LOWORD(wParam));
        } catch (const std::exception& e) { // no memory for a turned picture: it stays as it was
            Log::Write(LogLevel::Error, kChannel, L"picture tool: %hs", e.what());
        }
        result = 0;
        return true;
    }
    if (msg == WM_NOTIFY) {
        auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const HWND tips = reinterpret_cast<HWND>(SendMessageW(m_toolbar, TB_GETTOOLTIPS, 0, 0));
        const int* tool = std::find(std::begin(kToolIds), std::end(kToolIds), static_cast<int>(tip->hdr.idFrom));
        if (tip->hdr.code == TTN_GETDISPINFOW && tip->hdr.hwndFrom == tips && tool != std::end(kToolIds)) {
            tip->lpszText = &m_hints[tool - std::begin(kToolIds)][0];
            result = 0;
            return true;
        }
    }
    return false;
}

void PictureViewer::RunTool(int id)
{
    // The tools act on the still picture; while a GIF plays it is hidden and they do nothing.
    if (!IsWindowVisible(m_still->Hwnd()))
        return;
    ViewSize size = m_still->Size();
    switch (id) {
    case IDC_PICTURE_ZOOM_IN:
        size = ZoomIn(size);
        break;
    case IDC_PICTURE_ZOOM_OUT:
        size = ZoomOut(size);
        break;
    case IDC_PICTURE_ROTATE:
        m_still->SetPicture(RotateLeft(m_still->Picture()));
        size = {size.height, size.width}; // the zoom state turns with the picture
        break;
    case IDC_PICTURE_FLIP_VERTICAL:
        FlipVertical(m_still->Picture());
        break;
    case IDC_PICTURE_FLIP_HORIZONTAL:
        FlipHorizontal(m_still->Picture());
        break;
    default:
        return;
    }
    SetWindowPos(m_still->Hwnd(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_still->Hwnd(), nullptr, FALSE);
}
