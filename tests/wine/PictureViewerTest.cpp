// The picture viewer in a plain window standing in for the pane: BMP pictures fitted to the
// view area, files it must refuse, a GIF's frames, and the rotate button.

#include "MessageFlush.h"
#include "catalogue/preview/PictureOps.h"
#include "catalogue/preview/PictureViewer.h"
#include "catalogue/preview/PreviewIds.h"
#include "StandInPane.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const size_t kAll = ~size_t(0);
// Two frames of one pixel, each behind a graphic control extension.
const char kTwoFrameGif[] = "GIF89a\1\0\1\0\x80\0\0\0\0\0\xFF\xFF\xFF"
                            "\x21\xF9\4\0\12\0\0\0\x2C\0\0\0\0\1\0\1\0\0\2\2\x44\1\0"
                            "\x21\xF9\4\0\12\0\0\0\x2C\0\0\0\0\1\0\1\0\0\2\2\x4C\1\0\x3B";

class PictureViewerTest : public testing::Test {
protected:
    void SetUp() override
    {
        pane.current = &viewer;
        ASSERT_TRUE(viewer.Create(pane));
    }
    void TearDown() override { std::filesystem::remove(m_file); }

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

    StandInPane pane{300, 600, {0, 20, 250, 462}};
    PictureViewer viewer; // destroyed before its pane
    std::filesystem::path m_file = std::filesystem::temp_directory_path() / "sortaro-picture";
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
