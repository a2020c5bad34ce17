#include "WindowFit.h"

#include <algorithm>
#include <cstdlib>

int ScaleToDpi(int pixels, int dpi)
{
    const long long scaled = static_cast<long long>(pixels) * dpi;
    // Halves round away from zero, as MulDiv does.
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

ScreenRect ScaleToDpi(const ScreenRect& designed, int dpi)
{
    return {ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi), ScaleToDpi(designed.width, dpi),
            ScaleToDpi(designed.height, dpi)};
}

int BestPictureSize(int wanted, std::initializer_list<int> drawn)
{
    int best = 0;
    for (int size : drawn)
        if (best == 0 || std::abs(size - wanted) < std::abs(best - wanted) ||
            (std::abs(size - wanted) == std::abs(best - wanted) && size < best))
            best = size;
    return best;
}

ScreenRect FitInWorkArea(const ScreenRect& window, const ScreenRect& work, Overflow overflow)
{
    ScreenRect r = window;
    r.width = std::clamp(r.width, 0, std::max(0, work.width));
    r.height = std::clamp(r.height, 0, std::max(0, work.height));
    const bool inside = r.left >= work.left && r.top >= work.top && r.left + r.width <= work.left + work.width &&
                        r.top + r.height <= work.top + work.height;
    if (inside)
        return r;
    if (overflow == Overflow::Centre) {
        r.left = work.left + (work.width - r.width) / 2;
        r.top = work.top + (work.height - r.height) / 2;
    } else {
        r.left = std::clamp(r.left, work.left, work.left + work.width - r.width);
        r.top = std::clamp(r.top, work.top, work.top + work.height - r.height);
    }
    return r;
}
