// The picture viewer in a plain window standing in for the pane: BMP pictures fitted to the
// view area, files it must refuse, a GIF's frames, and the rotate button.

#include "MessageFlush.h"
#include "catalogue/preview/PictureOps.h"
#include "catalogue/preview/PictureViewer.h"
#include "catalogue/preview/PreviewIds.h"
#include "common/Program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const size_t kAll = ~size_t(0);
// Two frames of one pixel, each behind a graphic control extension.
const char kTwoFrameGif[] = "GIF89a\1\0\1\0\x80\0\0\0\0\0\xFF\xFF\xFF"
                            "\x21\xF9\4\0\12\0\0\0\x2C\0\0\0\0\1\0\1\0\0\2\2\x44\1\0"
                            "\x21\xF9\4\0\12\0\0\0\x2C\0\0\0\0\1\0\1\0\0\2\2\x4C\1\0\x3B";

class PictureViewerTest : public testing::Test, public PreviewHost, public Program {
protected:
    void SetUp() override
    {
        WNDCLASSW wc{0, PaneProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"TestPane"};
        RegisterClassW(&wc);
        m_pane = CreateWindowW(L"TestPane", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 600, nullptr, nullptr,
                               nullptr, nullptr);
        SetWindowLongPtrW(m_pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&viewer));
        ASSERT_TRUE(viewer.Create(*this));
    }
    void TearDown() override { DestroyWindow(m_pane), std::filesystem::remove(m_file); }

    // The pane hands the viewer its commands and notifications.
    static LRESULT CALLBACK PaneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        LRESULT result = 0;
        auto* to = reinterpret_cast<Viewer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (to && (msg == WM_COMMAND || msg == WM_NOTIFY) && to->OnMessage(msg, wParam, lParam, result))
            return result;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND Pane() const override { return m_pane; }
    RECT ViewArea() const override { return {0, 20, 250, 462}; }
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

    std::wstring Write(const std::string& bytes)
    {
        std::ofstream(m_file, std::ios::binary).write(bytes.data(), bytes.size());
        return m_file.wstring();
    }
    // A 24-bit BMP of black pixels, cut after keep bytes.
    std::wstring Bmp(int32_t width, int32_t height, size_t keep = kAll)
    {
        std::string bytes("BM\0\0\0\0\0\0\0\0\66\0\0\0\50\0\0\0", 18);
        bytes.append(reinterpret_cast<const char*>(&width), 4).append(reinterpret_cast<const char*>(&height), 4);
        bytes.append("\1\0\30\0", 4).resize(54 + std::min(keep - 54, ((width * 3 + 3) & ~3) * size_t(height)));
        return Write(bytes);
    }
    ViewSize StillSize() const
    {
        RECT client{};
        GetClientRect(viewer.StillHwnd(), &client);
        return {client.right, client.bottom};
    }

    PictureViewer viewer;
    HWND m_pane = nullptr;
    std::filesystem::path m_file = std::filesystem::temp_directory_path() / "sortaro-picture";
    Registry m_settings;
    int m_cancel = 0;
};

TEST_F(PictureViewerTest, BmpFitsTheViewAreaOrShowsNothing)
{
    const struct {
        const wchar_t* ext;
        int width, height;
        size_t keep;
        ViewSize shown; // {0, 0}: nothing is shown
    } cases[] = {
        {L".BMP", 1000, 500, kAll, {250, 125}},
        {L".PCX", 1000, 500, kAll, {}},
        {L".BMP", 1000, 500, 54 + 3000 * 250, {}}, // cut off halfway through its rows
        {L".BMP", 60000, 60000, 54, {}},           // 10 GB of pixels
    };
    for (const auto& c : cases) {
        viewer.Reset();
        viewer.Show(Bmp(c.width, c.height, c.keep), c.ext, 0);
        EXPECT_EQ(IsWindowVisible(viewer.StillHwnd()) != FALSE, c.shown.width > 0) << c.width << " " << c.keep;
        EXPECT_EQ(IsWindowVisible(viewer.Toolbar()) != FALSE, c.shown.width > 0) << c.width << " " << c.keep;
        EXPECT_TRUE(c.shown.width == 0 || StillSize() == c.shown);
    }
}

TEST_F(PictureViewerTest, GifPlaysItsFrames)
{
    viewer.Show(Write(std::string(kTwoFrameGif, sizeof(kTwoFrameGif) - 1)), L".GIF", 0);
    EXPECT_EQ(viewer.FrameCount(), 2u);
    EXPECT_FALSE(IsWindowVisible(viewer.StillHwnd()));
}

TEST_F(PictureViewerTest, RotateButtonTurnsTheStillView)
{
    viewer.Show(Bmp(1000, 500), L".BMP", 0);
    RECT button{};
    SendMessageW(viewer.Toolbar(), TB_GETRECT, IDC_PICTURE_ROTATE, reinterpret_cast<LPARAM>(&button));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageW(viewer.Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(viewer.Toolbar(), WM_LBUTTONUP, 0, at);
    FlushMessages(100);
    EXPECT_EQ(StillSize(), (ViewSize{125, 250}));
}

} // namespace
