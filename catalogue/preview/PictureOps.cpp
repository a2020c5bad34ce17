#include "PictureOps.h"

#include <algorithm>
#include <cstring>

namespace {

// Divides both sides by the same floating-point factor, truncating toward zero.
ViewSize Shrink(ViewSize view, double factor)
{
    return {static_cast<int>(view.width / factor), static_cast<int>(view.height / factor)};
}

// A picture whose buffer does not hold its rows is left alone rather than read beyond its end.
bool HoldsRows(const Dib24& picture)
{
    return picture.width > 0 && picture.height > 0 &&
           picture.pixels.size() >= picture.Stride() * static_cast<size_t>(picture.height);
}

} // namespace

ViewSize FormatPicture(ViewSize pane, ViewSize view)
{
    // A factor is only computed from a strictly larger side, so it is above 1 and never a
    // division by zero.
    if (pane.width < view.width && pane.height < view.height) {
        view = Shrink(view, static_cast<double>(view.width) / pane.width);
        if (pane.height < view.height)
            view = Shrink(view, static_cast<double>(view.height) / pane.height);
    } else if (pane.width < view.width && pane.height > view.height) {
        view = Shrink(view, static_cast<double>(view.width) / pane.width);
    } else if (pane.width > view.width && pane.height < view.height) {
        view = Shrink(view, static_cast<double>(view.height) / pane.height);
    }
    return view;
}

ViewSize ZoomIn(ViewSize view)
{
    // In 64 bits: five times a large side does not fit an int.
    const long long height = static_cast<long long>(view.height) * 5 / 4;
    const long long width = static_cast<long long>(view.width) * 5 / 4;
    if (height > kMaxViewSide || width > kMaxViewSide)
        return view;
    return {static_cast<int>(width), static_cast<int>(height)};
}

ViewSize ZoomOut(ViewSize view)
{
    return {static_cast<int>(static_cast<long long>(view.width) * 4 / 5),
            static_cast<int>(static_cast<long long>(view.height) * 4 / 5)};
}

Dib24 RotateLeft(const Dib24& picture)
{
    Dib24 turned;
    if (!HoldsRows(picture))
        return turned;
    turned.width = picture.height;
    turned.height = picture.width;
    turned.pixels.assign(turned.Stride() * static_cast<size_t>(turned.height), 0);
    // Rows count from the bottom: source row y, column x lands in row x, column height-1-y.
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* from = picture.Row(y);
        const size_t column = static_cast<size_t>(picture.height - 1 - y) * 3;
        for (int x = 0; x < picture.width; ++x)
            std::memcpy(turned.Row(x) + column, from + static_cast<size_t>(x) * 3, 3);
    }
    return turned;
}

void FlipVertical(Dib24& picture)
{
    if (!HoldsRows(picture))
        return;
    for (int y = 0; y < picture.height / 2; ++y)
        std::swap_ranges(picture.Row(y), picture.Row(y) + picture.Stride(), picture.Row(picture.height - 1 - y));
}

void FlipHorizontal(Dib24& picture)
{
    if (!HoldsRows(picture))
        return;
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.width / 2; ++x)
            std::swap_ranges(row + static_cast<size_t>(x) * 3, row + static_cast<size_t>(x) * 3 + 3,
                             row + static_cast<size_t>(picture.width - 1 - x) * 3);
    }
}
