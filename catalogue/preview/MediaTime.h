#pragma once
// The time texts of the sound and film preview: the length of a file and the place playback
// has reached. Portable.

#include <cstdint>
#include <string>

// Hours, minutes and whole seconds of a time in milliseconds, joined by ":", each field of at
// least two digits: 187,000 ms is "00:03:07". Hours have as many digits as they need.
std::wstring MediaTimeText(uint64_t milliseconds);
