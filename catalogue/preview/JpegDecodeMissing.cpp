// Stands in for the JPEG decoder in builds without it: every JPEG is a picture that cannot be
// read, so the preview shows nothing for it.

#include "JpegDecode.h"

bool DecodeJpeg(const uint8_t*, size_t, Dib24& picture)
{
    picture = Dib24();
    return false;
}

bool DecodeJpegFile(const std::wstring&, Dib24& picture)
{
    picture = Dib24();
    return false;
}
