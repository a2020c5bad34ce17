#include "SettingsText.h"

#include <climits>

namespace SettingsText {

std::optional<int> ParseDecimal(const std::wstring& text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

void ApplyFlagText(const std::wstring& text, std::vector<bool>& rows)
{
    for (std::size_t i = 0; i < text.size() && i < rows.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9')
            rows[i] = c != L'0';
    }
}

std::wstring FormatFlagText(const std::vector<bool>& rows)
{
    std::wstring text;
    text.reserve(rows.size());
    for (bool checked : rows)
        text += checked ? L'1' : L'0';
    return text;
}

} // namespace SettingsText
