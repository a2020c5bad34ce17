#include "catalogue/preview/PictureOps.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A picture whose every pixel is different: pixel i (counted from the bottom-left) is i, i+1, i+2.
Dib24 Numbered(int width, int height)
{
    Dib24 picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(picture.Stride() * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                picture.Row(y)[x * 3 + c] = static_cast<uint8_t>((y * width + x) * 3 + c);
    return picture;
}

bool SamePixel(const Dib24& a, int ax, int ay, const Dib24& b, int bx, int by)
{
    return std::memcmp(a.Row(ay) + ax * 3, b.Row(by) + bx * 3, 3) == 0;
}

TEST(PictureOps, FormatPictureShrinksOnlyWhatIsStrictlyLarger)
{
    const struct {
        ViewSize pane, view, fitted;
    } cases[] = {
        {{250, 442}, {1000, 500}, {250, 125}},  // only too wide: f = 4
        {{300, 442}, {900, 500}, {300, 166}},   // the height is truncated
        {{300, 100}, {200, 400}, {50, 100}},    // only too tall
        {{200, 100}, {800, 800}, {100, 100}},   // too wide and too tall: still too tall after the width step
        {{250, 442}, {250, 900}, {250, 900}},   // as wide as the pane, but taller: left alone
        {{250, 442}, {1000, 442}, {1000, 442}}, // as tall as the pane, but wider: left alone
        {{300, 300}, {100, 50}, {100, 50}},     // never enlarged
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPicture(c.pane, c.view), c.fitted) << c.view.width << " x " << c.view.height;
}

TEST(PictureOps, ZoomTruncatesEachSide)
{
    const struct {
        ViewSize (*zoom)(ViewSize);
        ViewSize view, zoomed;
    } cases[] = {
        {ZoomIn, {100, 40}, {125, 50}},     {ZoomIn, {3, 3}, {3, 3}}, {ZoomOut, {100, 40}, {80, 32}},
        {ZoomOut, {1, 1}, {0, 0}},          {ZoomIn, {0, 0}, {0, 0}}, // gone for good
        {ZoomIn, {30000, 10}, {30000, 10}},                           // beyond the largest side a window can have
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.zoom(c.view), c.zoomed) << c.view.width << " x " << c.view.height;
}

TEST(PictureOps, RotateLeftTurnsTheTopRowIntoTheLeftColumn)
{
    const Dib24 source = Numbered(3, 2);
    Dib24 turned = RotateLeft(source);
    ASSERT_EQ(turned.width, 2);
    ASSERT_EQ(turned.height, 3);
    // Top-left of the result (its last row) is the source's top-right; bottom-left its top-left.
    EXPECT_TRUE(SamePixel(turned, 0, 2, source, 2, 1));
    EXPECT_TRUE(SamePixel(turned, 0, 0, source, 0, 1));
    EXPECT_TRUE(SamePixel(turned, 1, 0, source, 0, 0));
    for (int i = 0; i < 3; ++i)
        turned = RotateLeft(turned);
    EXPECT_EQ(turned.width, 3);
    EXPECT_EQ(turned.pixels, source.pixels);
}

TEST(PictureOps, FlipsMirrorAndTwiceRestore)
{
    const struct {
        void (*flip)(Dib24&);
        int x, y, fromX, fromY; // a pixel of the flipped picture and where it was before
    } cases[] = {
        {FlipVertical, 1, 2, 1, 0},
        {FlipVertical, 3, 1, 3, 1}, // the middle of three rows stays
        {FlipHorizontal, 0, 1, 3, 1},
        {FlipHorizontal, 2, 0, 1, 0},
    };
    const Dib24 source = Numbered(4, 3);
    for (const auto& c : cases) {
        Dib24 picture = source;
        c.flip(picture);
        EXPECT_TRUE(SamePixel(picture, c.x, c.y, source, c.fromX, c.fromY)) << c.x << "," << c.y;
    }
    for (void (*flip)(Dib24&) : {FlipVertical, FlipHorizontal}) {
        Dib24 picture = source;
        flip(picture);
        flip(picture);
        EXPECT_EQ(picture.pixels, source.pixels);
    }
}

} // namespace
