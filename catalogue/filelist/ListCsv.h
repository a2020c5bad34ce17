#pragma once
// The file list as comma-separated values after RFC 4180, for spreadsheets: UTF-8 with a byte
// order mark (without it spreadsheets read the bytes in the system's code page), CR LF after
// every line. Portable.

#include <string>
#include <string_view>

namespace ListCsv {

// The start of every file.
constexpr std::string_view kStart = "\xEF\xBB\xBF";

// Appends one line of fields and its CR LF. A field holding the separator, a quote, CR or LF is
// put in quotes, its own quotes doubled; others stand as they are.
void AppendLine(const std::wstring* fields, size_t count, wchar_t separator, std::string& out);

} // namespace ListCsv
