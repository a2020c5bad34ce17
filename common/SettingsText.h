#pragma once
// The text forms of the settings values: decimal numbers and rows of "1"/"0" flags. Portable.

#include <optional>
#include <string>
#include <vector>

namespace SettingsText {

// Strict decimal conversion: an optional sign and digits only, in the range of int.
// Anything else (blanks, letters, an empty text, overflow) gives nothing.
std::optional<int> ParseDecimal(const std::wstring& text);

// Applies a flag text to check marks row by row: a digit other than "0" checks the row, "0"
// unchecks it. Rows beyond the text keep their state, characters beyond the rows are ignored.
// A character that is not a digit leaves its row as it is.
void ApplyFlagText(const std::wstring& text, std::vector<bool>& rows);

// One "1" or "0" per row, in row order.
std::wstring FormatFlagText(const std::vector<bool>& rows);

} // namespace SettingsText
