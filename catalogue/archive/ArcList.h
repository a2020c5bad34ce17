#pragma once
// The lines the command-line lister prints, apart from its main so that tests can check them.
// Portable; every text is UTF-8.

#include "catalogue/archive/ArcTypes.h"

#include <string>

namespace ArcList {

enum class Format { Text, Tsv, Json };

// "2021-03-04 05:06:08"
std::string FormatDate(double days);
// Quoted JSON string with the required escapes.
std::string JsonString(const std::string& utf8);

// The line that starts an archive's listing: name, detected type and start offset.
std::string ArchiveLine(Format format, const std::wstring& archive, TArcType type, uint64_t start);
// One line per entry: name, date, packed and unpacked size, method, CRC, attributes.
std::string EntryLine(Format format, const TArcEntry& entry);
// After the entries: their number and the totals (text format only; empty otherwise).
std::string TotalsLine(Format format, size_t count, uint64_t packed, uint64_t unpacked);
// A line for an archive that could not be listed.
std::string ErrorLine(Format format, const std::wstring& archive, TArcType type, const std::string& message);

} // namespace ArcList
