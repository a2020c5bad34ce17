// JPEG decoding: real files come out the right way up in DIB order; damaged ones are refused.
// The fixtures were made with the libjpeg-turbo build's cjpeg.exe from generated pictures:
//   two-colours-13x16.jpg: 13 x 16, top 8 rows RGB(220,30,30), the rest RGB(30,30,220);
//                          cjpeg -quality 90 -sample 1x1 -optimize
//   grey-progressive-9x7.jpg: 9 x 7, all grey 100; cjpeg -quality 90 -grayscale -progressive

#include "catalogue/preview/JpegDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const std::string kData = SORTARO_TEST_DATA;

void ExpectBgr(const uint8_t* pixel, int b, int g, int r)
{
    EXPECT_NEAR(pixel[0], b, 4);
    EXPECT_NEAR(pixel[1], g, 4);
    EXPECT_NEAR(pixel[2], r, 4);
}

TEST(JpegDecode, RealFilesDecodeBottomRowFirstInBgr)
{
    const struct {
        const char* file;
        int width, height;
        uint8_t top[3], bottom[3]; // blue, green, red of the top left and bottom right pixels
    } cases[] = {
        {"two-colours-13x16.jpg", 13, 16, {30, 30, 220}, {220, 30, 30}},
        {"grey-progressive-9x7.jpg", 9, 7, {100, 100, 100}, {100, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = "Z:" + kData + "/" + c.file;
        Dib24 picture;
        ASSERT_TRUE(DecodeJpegFile(std::wstring(path.begin(), path.end()), picture));
        ASSERT_EQ(picture.width, c.width);
        ASSERT_EQ(picture.height, c.height);
        ASSERT_EQ(picture.pixels.size(), picture.Stride() * c.height);
        ExpectBgr(picture.Row(c.height - 1), c.top[0], c.top[1], c.top[2]);
        ExpectBgr(picture.Row(0) + (c.width - 1) * 3, c.bottom[0], c.bottom[1], c.bottom[2]);
    }
}

TEST(JpegDecode, DamagedOrHugeDataIsRefused)
{
    std::ifstream in(kData + "/two-colours-13x16.jpg", std::ios::binary);
    const std::vector<uint8_t> good{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(good.size(), 200u);
    // SOF0: the marker, the length, the precision, then height and width, big-endian.
    const uint8_t sofMarker[] = {0xFF, 0xC0};
    const size_t sof = std::search(good.begin(), good.end(), std::begin(sofMarker), std::end(sofMarker)) - good.begin();
    ASSERT_LT(sof + 9, good.size());
    auto cut = good;
    cut.resize(good.size() - 6); // the end marker and the last bytes of the scan
    auto badHeader = good;
    badHeader[sof + 4] = 0; // zero bits per sample
    auto huge = good;
    const uint8_t size60000[] = {0xEA, 0x60, 0xEA, 0x60};
    std::copy(std::begin(size60000), std::end(size60000), huge.begin() + sof + 5);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {{"cut short", cut}, {"corrupt header", badHeader}, {"no bytes", {}}, {"60000 x 60000", huge}};
    for (const auto& c : cases) {
        Dib24 picture;
        EXPECT_FALSE(DecodeJpeg(c.bytes.data(), c.bytes.size(), picture)) << c.name;
        EXPECT_TRUE(picture.pixels.empty() && picture.width == 0) << c.name;
    }
}

} // namespace
