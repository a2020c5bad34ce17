#pragma once
// JPEG pictures for the preview, decoded with libjpeg-turbo (the IJG interface).

#include "Dib24.h"

#include <string>

// Decodes the JPEG bytes into picture. False, with picture empty, for bytes that are no JPEG,
// are corrupt or cut short, or describe a picture beyond kMaxPictureBytes; a decoding error
// never ends the process. Portable.
bool DecodeJpeg(const uint8_t* data, size_t size, Dib24& picture);

// The same for a file.
bool DecodeJpegFile(const std::wstring& path, Dib24& picture);
