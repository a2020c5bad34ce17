#pragma once
// Sizes and places of windows on screens of any scale: design pixels (96 dots per inch) scaled
// to a DPI, the picture size that best fits, and a window rectangle brought inside a work
// area. Portable.

#include <initializer_list>

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// Design pixels at dpi, rounded to the nearest pixel.
int ScaleToDpi(int pixels, int dpi);
ScreenRect ScaleToDpi(const ScreenRect& designed, int dpi);

// Of the sizes a picture is drawn at, the one nearest to wanted; between two equally near the
// smaller, so that a picture never grows past the room laid out for it.
int BestPictureSize(int wanted, std::initializer_list<int> drawn);

// What happens to a window that does not lie wholly inside the work area.
enum class Overflow {
    Centre, // placed in the middle: a first placement, the designed place did not fit
    Nudge,  // moved just as far as needed: a place the user chose, kept as far as it can be
};

// The window shrunk to the work area where it is larger, then kept where it is when it lies
// inside, otherwise placed by overflow.
ScreenRect FitInWorkArea(const ScreenRect& window, const ScreenRect& work, Overflow overflow);
