#include "InstallScript.h"

#include <algorithm>

namespace {

constexpr std::wstring_view kCopyFilesHeader = L"[COPYFILES";
constexpr std::wstring_view kAddRegHeader = L"[AddReg";
constexpr std::wstring_view kRenameHeader = L"[RenameFiles";

struct Prefix {
    std::wstring_view text;
    CopyKind kind;
};

// Shortcut prefixes first: none of them starts with another, so the order is only for reading.
constexpr Prefix kPrefixes[] = {
    {L"Ziel\\", CopyKind::Destination},
    {L"WinSystemDir\\", CopyKind::System},
    {L"WinStartMenu\\", CopyKind::StartMenu},
    {L"DesktopPath\\", CopyKind::Desktop},
};

bool Contains(const std::wstring& text, std::wstring_view part)
{
    return text.find(part) != std::wstring::npos;
}

std::wstring DropLast(const std::wstring& text)
{
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

// Names that open a device wherever they stand in a path, with any extension ("nul.txt").
bool IsDeviceName(const std::wstring& name)
{
    std::wstring base = UpperCase(name.substr(0, name.find(L'.')));
    base.erase(base.find_last_not_of(L' ') + 1);
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" || base == L"CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// A line that says nothing: empty, only blanks, or a comment (first non-blank character ";" or
// "#", or "//").
bool IsBlankOrComment(const std::wstring& line)
{
    std::size_t first = line.find_first_not_of(L" \t");
    return first == std::wstring::npos || line[first] == L';' || line[first] == L'#' ||
           line.compare(first, 2, L"//") == 0;
}

} // namespace

bool HasUtf8Bom(const std::string& bytes)
{
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
           static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF;
}

std::optional<std::wstring> DecodeUtf8(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::uint32_t cp = 0;
        std::size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            extra = 3;
        } else {
            return std::nullopt;
        }
        if (i + extra >= bytes.size() && extra > 0)
            return std::nullopt;
        for (std::size_t k = 1; k <= extra; ++k) {
            unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        if (cp >= 0x10000 && sizeof(wchar_t) == 2) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
        i += extra + 1;
    }
    return out;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(line);
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::wstring UpperCase(std::wstring text)
{
    // ASCII and the Latin-1 letters: enough for header names, country names and key names,
    // and the same on every machine.
    for (wchar_t& c : text) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<wchar_t>(c - 0x20);
    }
    return text;
}

std::wstring ScriptVariables::GetVaribale(const std::wstring& name) const
{
    if (name == L"%Ziel")
        return destination;
    if (name == L"%WinDesktopPath")
        return desktop;
    if (name == L"%WinSystemDir")
        return system;
    if (name == L"%ZielStartMenu")
        return programs + L"\\" + programGroup;
    if (name == L"%Language")
        return german ? L"1" : L"0";
    return L"";
}

std::wstring ScriptVariables::Resolve(const std::wstring& text) const
{
    if (!Contains(text, L"%"))
        return text;
    std::size_t slash = text.find(L'\\');
    if (slash == std::wstring::npos)
        return GetVaribale(text);
    return GetVaribale(text.substr(0, slash)) + text.substr(slash);
}

RegRoot GetHKEY(const std::wstring& name)
{
    if (name == L"HKCR")
        return RegRoot::ClassesRoot;
    if (name == L"HKCU")
        return RegRoot::CurrentUser;
    if (name == L"HKLM")
        return RegRoot::LocalMachine;
    if (name == L"HKUS")
        return RegRoot::Users;
    if (name == L"HKCC")
        return RegRoot::CurrentConfig;
    if (name == L"HKDD")
        return RegRoot::DynData;
    return RegRoot::None;
}

std::optional<CopyEntry> ParseCopyLine(const std::wstring& line)
{
    for (const Prefix& p : kPrefixes) {
        // The prefix is cut off as the line's first characters, so only a prefix at the start
        // makes sense; one further inside would leave a mangled path.
        if (line.compare(0, p.text.size(), p.text) != 0)
            continue;
        std::wstring rest = DropLast(line.substr(p.text.size()));
        if (rest.empty())
            return std::nullopt;
        return CopyEntry{p.kind, rest};
    }
    return std::nullopt;
}

bool StaysInsideFolder(const std::wstring& path)
{
    // A leading separator makes the path absolute, UNC ("\\server") or a device path ("\\.\",
    // "\\?\"); a colon is a drive ("C:x" is relative to that drive's current folder) or a stream.
    if (path.empty() || path[0] == L'\\' || path[0] == L'/' || path.find(L':') != std::wstring::npos)
        return false;
    bool named = false;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring part = path.substr(start, end - start);
        start = end + 1;
        // Doubled separators are read as one.
        if (part.empty())
            continue;
        // Windows drops a name's trailing dots and blanks, so ". .", ".. " and "..." would be
        // opened as "." or ".."; a name of nothing else never names a file inside the folder.
        if (part.find_last_not_of(L". ") == std::wstring::npos || IsDeviceName(part))
            return false;
        named = true;
    }
    return named;
}

std::wstring ShortcutName(const std::wstring& relativePath)
{
    // Only the extension is replaced, whatever its length: cutting a fixed four characters would
    // eat into the name of a file whose extension is not three letters long.
    std::size_t slash = relativePath.find_last_of(L'\\');
    std::size_t dot = relativePath.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return relativePath + L".lnk";
    return relativePath.substr(0, dot) + L".lnk";
}

std::optional<RegEntry> ParseRegLine(const std::wstring& line)
{
    std::wstring fields[5];
    std::size_t start = 0;
    for (std::wstring& field : fields) {
        std::size_t comma = line.find(L',', start);
        if (comma == std::wstring::npos)
            return std::nullopt;
        field = line.substr(start, comma - start);
        start = comma + 1;
    }
    RegEntry entry;
    entry.rootName = fields[0];
    entry.root = GetHKEY(fields[0]);
    entry.keyPath = fields[2];
    entry.valueName = fields[3];
    entry.typeLetter = fields[4];
    entry.type = fields[4] == L"s" ? RegType::String : fields[4] == L"i" ? RegType::Integer : RegType::None;
    std::size_t end = line.find(L';', start);
    if (end != std::wstring::npos)
        entry.data = line.substr(start, end - start);
    return entry;
}

std::optional<std::uint32_t> ParseDecimal32(const std::wstring& text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i == text.size() || text.size() - i > 10)
        return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
    }
    if (negative) {
        if (value > 0x80000000ull)
            return std::nullopt;
        return static_cast<std::uint32_t>(0x100000000ull - value);
    }
    if (value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<int> ParseDecimalInt(const std::wstring& text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i == text.size() || text.size() - i > 9)
        return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
    }
    return negative ? -value : value;
}

std::wstring AdjustProductText(const std::wstring& product, bool germanLocale)
{
    if (germanLocale)
        return product;
    return L"for " + (product.size() > 4 ? product.substr(4) : std::wstring());
}

std::optional<std::size_t> InstallScript::FindHeader(std::wstring_view header, bool anyCase) const
{
    std::wstring wanted = anyCase ? UpperCase(std::wstring(header)) : std::wstring(header);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (Contains(anyCase ? UpperCase(m_lines[i]) : m_lines[i], wanted))
            return i;
    }
    return std::nullopt;
}

std::wstring InstallScript::GetParameter(std::wstring_view key) const
{
    std::optional<std::size_t> header = FindHeader(key, true);
    if (!header || *header + 1 >= m_lines.size())
        return L"";
    return DropLast(m_lines[*header + 1]);
}

std::vector<std::wstring> InstallScript::SectionAfter(std::optional<std::size_t> header, bool includeEnd) const
{
    std::vector<std::wstring> lines;
    if (!header)
        return lines;
    for (std::size_t i = *header + 1; i < m_lines.size(); ++i) {
        bool end = Contains(m_lines[i], L"]");
        if (!end || includeEnd)
            lines.push_back(m_lines[i]);
        if (end)
            break;
    }
    return lines;
}

std::vector<std::wstring> InstallScript::CopyFilesLines() const
{
    return SectionAfter(FindHeader(kCopyFilesHeader, true), true);
}

std::vector<std::wstring> InstallScript::AddRegLines() const
{
    // Such lines are no entries, as in [COPYFILES], where a line without a prefix is passed over;
    // a comment that contains "]" still ends the section.
    std::vector<std::wstring> lines = SectionAfter(FindHeader(kAddRegHeader, false), false);
    lines.erase(std::remove_if(lines.begin(), lines.end(), IsBlankOrComment), lines.end());
    return lines;
}

InstallScript::RenameLookup InstallScript::RenameFiles() const
{
    RenameLookup result;
    std::optional<std::size_t> header = FindHeader(kRenameHeader, false);
    if (!header)
        return result;
    result.hasHeader = true;
    if (*header + 1 >= m_lines.size())
        return result;
    result.line = m_lines[*header + 1];
    std::size_t first = result.line.find(L',');
    if (first == std::wstring::npos)
        return result;
    std::size_t second = result.line.find(L',', first + 1);
    if (second == std::wstring::npos)
        return result;
    std::optional<int> platform = ParseDecimalInt(DropLast(result.line.substr(second + 1)));
    RenameEntry entry{result.line.substr(0, first), result.line.substr(first + 1, second - first - 1), 0};
    if (!platform || entry.first.empty() || entry.second.empty())
        return result;
    entry.platform = *platform;
    result.entry = entry;
    return result;
}

std::wstring InstallScript::SourceFor(const std::wstring& relativePath, int platform) const
{
    std::optional<RenameEntry> rename = RenameFiles().entry;
    if (!rename || rename->platform != platform || !StaysInsideFolder(rename->first) ||
        !StaysInsideFolder(rename->second) || UpperCase(relativePath) != UpperCase(rename->second))
        return relativePath;
    return rename->first;
}
