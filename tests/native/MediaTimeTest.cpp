#include "catalogue/preview/MediaTime.h"

#include <gtest/gtest.h>

namespace {

TEST(MediaTime, HoursMinutesSecondsOfMilliseconds)
{
    const struct {
        uint64_t milliseconds;
        const wchar_t* text;
    } cases[] = {
        {0, L"00:00:00"},
        {999, L"00:00:00"}, // whole seconds: the rest is dropped
        {65000, L"00:01:05"},
        {187000, L"00:03:07"},
        {3599999, L"00:59:59"},
        {4325000, L"01:12:05"},
        {360000000, L"100:00:00"},    // hours are not cut to two digits
        {4294967295u, L"1193:02:47"}, // the longest a 32-bit MCI answer can be
    };
    for (const auto& c : cases)
        EXPECT_EQ(MediaTimeText(c.milliseconds), c.text) << c.milliseconds;
}

} // namespace
