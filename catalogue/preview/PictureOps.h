#pragma once
// What the picture tool bar does: fitting the still view into the pane, zooming it, and turning
// and mirroring its picture. The view's size is the zoom state; the picture is stretched to it.
// Portable.

#include "Dib24.h"

struct ViewSize {
    int width = 0;
    int height = 0;
};

inline bool operator==(ViewSize a, ViewSize b)
{
    return a.width == b.width && a.height == b.height;
}

// Shrinks a view that is larger than the pane, keeping its proportions; never enlarges it.
// Only a view strictly larger than the pane in a dimension counts as too large there, and a
// view too large in one dimension while exactly as large as the pane in the other stays as it is.
ViewSize FormatPicture(ViewSize pane, ViewSize view);

// A quarter larger or smaller, height and width each truncated: a view 3 high stays 3 high,
// one 1 high shrinks to 0 and stays there.
ViewSize ZoomIn(ViewSize view);
ViewSize ZoomOut(ViewSize view);

// The largest side ZoomIn makes: the window system clips larger windows, after which the
// picture would no longer follow the view's size.
constexpr int kMaxViewSide = 32767;

// A quarter turn to the left: the top row, read left to right, becomes the left column, read
// bottom to top.
Dib24 RotateLeft(const Dib24& picture);
// Top to bottom, and left to right.
void FlipVertical(Dib24& picture);
void FlipHorizontal(Dib24& picture);
