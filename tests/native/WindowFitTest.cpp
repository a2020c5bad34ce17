#include "common/WindowFit.h"

#include <gtest/gtest.h>

namespace {

// The main window as designed at 96 dots per inch.
const ScreenRect kDesigned{356, 183, 788, 547};

TEST(WindowFit, FirstPlacementAtEachScale)
{
    const ScreenRect screen{0, 0, 1280, 1024};
    const ScreenRect laptop{0, 0, 1920, 1040}; // 1920 x 1080 less a task bar of 40
    const struct {
        int dpi;
        ScreenRect work;
        ScreenRect expected;
    } cases[] = {
        {96, screen, {356, 183, 788, 547}},                   // the designed place fits
        {120, screen, {147, 170, 985, 684}},                  // scaled: right edge 1430, centred
        {144, screen, {49, 101, 1182, 821}},                  // right edge 1716
        {192, screen, {0, 0, 1280, 1024}},                    // larger than the screen both ways
        {144, laptop, {369, 109, 1182, 821}},                 // bottom 1094 under the task bar: centred
        {144, {1280, 0, 1920, 1080}, {1649, 129, 1182, 821}}, // a monitor right of the first
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitInWorkArea(ScaleToDpi(kDesigned, c.dpi), c.work, Overflow::Centre), c.expected)
            << c.dpi << " dpi, work area " << c.work.left << "," << c.work.top;
}

TEST(WindowFit, StoredBoundsAreNudgedInside)
{
    const ScreenRect work{0, 0, 1280, 994};
    const struct {
        ScreenRect stored;
        ScreenRect expected;
    } cases[] = {
        {{100, 120, 700, 500}, {100, 120, 700, 500}},   // inside: kept
        {{3000, 2000, 800, 600}, {480, 394, 800, 600}}, // another monitor's place
        {{-50, 600, 800, 600}, {0, 394, 800, 600}},     // partly off the left and the bottom
        {{20, 30, 3000, 2500}, {0, 0, 1280, 994}},      // another resolution's size
        {{1000, 10, 300, 1200}, {980, 0, 300, 994}},    // taller than the work area
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitInWorkArea(c.stored, work, Overflow::Nudge), c.expected) << c.stored.left << "," << c.stored.top;
}

TEST(WindowFit, ScaledPicturesTakeTheNearestDrawnSize)
{
    const struct {
        int dpi;
        int small;
        int large;
    } cases[] = {
        {96, 16, 32}, {120, 20, 40}, {144, 24, 48}, {168, 24, 48}, {192, 32, 64}, {288, 32, 64}, {72, 16, 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BestPictureSize(ScaleToDpi(16, c.dpi), {16, 20, 24, 32}), c.small) << c.dpi;
        EXPECT_EQ(BestPictureSize(ScaleToDpi(32, c.dpi), {32, 40, 48, 64}), c.large) << c.dpi;
    }
}

} // namespace
