#pragma once
// The version of the running Windows and the texts the information dialog shows for it.

#include "SystemInfoText.h"

#include <optional>

// The true version: from ntdll's RtlGetVersion where it exists, since GetVersionEx answers
// 6.2 on Windows 8.1 and later to programs that do not name those in their manifest;
// otherwise from GetVersionEx, extended or basic. Nothing when every query fails.
std::optional<OsVersion> QueryOsVersion();

struct SystemVersionTexts {
    std::wstring product;
    std::wstring version;
};

// The product name and version text of the running system; both empty when the version
// cannot be queried.
SystemVersionTexts DisplaySystemVersion();

// The installed physical memory in KB, grouped by the user's thousands separator.
std::wstring PhysicalMemoryKilobytes();
