#pragma once
// A picture as Windows keeps a 24-bit device-independent bitmap: rows stored bottom-up, each
// pixel blue, green, red, each row padded with zeros to a multiple of 4 bytes. The pixel
// operations of the picture viewer and the JPEG decoder work on it. Portable.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Dib24 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // height rows of Stride() bytes, the bottom row first

    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }
    // Row y, counted from the bottom.
    uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * Stride(); }
};

// The largest picture the preview decodes, in bytes of 24-bit pixels: a header that claims
// more (a 60,000 x 60,000 JPEG asks for 10 GB) is refused like any picture that cannot be read.
constexpr uint64_t kMaxPictureBytes = uint64_t(256) << 20;
