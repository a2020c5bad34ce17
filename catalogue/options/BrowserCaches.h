#pragma once
// Where the Opera and Netscape browsers keep their caches: a path the user stored in the
// settings wins; otherwise it is derived from the browser's own registry entries, which are
// only read.

#include "../../common/Registry.h"

#include <string>

// optionsKey: the key of the program's settings that may hold the stored paths.
std::wstring GetOperaPath(Registry& registry, const std::wstring& optionsKey);
// Empty also when the path found is not absolute ("X:\..." or "\\server\...").
std::wstring GetNetscapePath(Registry& registry, const std::wstring& optionsKey);
