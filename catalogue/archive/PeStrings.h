#pragma once
// Reads string resources of a Windows executable straight from its resource directory, so that
// the archive probe works on every platform and never maps untrusted code. Portable.

#include "catalogue/archive/ArcStream.h"

#include <string>
#include <vector>

namespace PeStrings {

// The strings with the ids first..last (all within one block of 16, the block of first) of the
// first language found; a missing string is empty. Empty result when the file has no PE
// resource directory or the block is missing or damaged.
std::vector<std::wstring> ReadStringTable(TArcStream& file, unsigned first, unsigned last);

} // namespace PeStrings
