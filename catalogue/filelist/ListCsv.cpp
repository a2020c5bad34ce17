#include "ListCsv.h"

#include "../catalogue/DatabaseText.h"

namespace ListCsv {

void AppendLine(const std::wstring* fields, size_t count, wchar_t separator, std::string& out)
{
    const std::wstring separatorText(1, separator);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            DatabaseText::AppendUtf8(separatorText, out);
        const std::wstring& field = fields[i];
        if (field.find_first_of(separatorText + L"\"\r\n") == std::wstring::npos) {
            DatabaseText::AppendUtf8(field, out);
            continue;
        }
        std::wstring quoted = L"\"";
        for (wchar_t c : field) {
            if (c == L'"')
                quoted += L'"';
            quoted += c;
        }
        quoted += L'"';
        DatabaseText::AppendUtf8(quoted, out);
    }
    out += "\r\n";
}

} // namespace ListCsv
