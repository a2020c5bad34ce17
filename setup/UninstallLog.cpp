#include "UninstallLog.h"

#include "InstallScript.h"

namespace UninstallLog {

using SetupTexts::Id;

namespace {

constexpr const wchar_t* kMagic = L"SORTARO-UNINSTALL";
constexpr const wchar_t* kVersion = L"1";

struct KindName {
    Kind kind;
    const wchar_t* name;
};
constexpr KindName kKinds[] = {
    {Kind::Language, L"Language"},   {Kind::Folder, L"Folder"}, {Kind::File, L"File"},   {Kind::Shortcut, L"Shortcut"},
    {Kind::Catalogue, L"Catalogue"}, {Kind::Key, L"Key"},       {Kind::Value, L"Value"},
};

constexpr const wchar_t* kRoots[] = {L"HKCR", L"HKCU", L"HKLM", L"HKUS", L"HKCC", L"HKDD"};

const wchar_t* NameOf(Kind kind)
{
    for (const KindName& k : kKinds)
        if (k.kind == kind)
            return k.name;
    return L"";
}

const wchar_t kHex[] = L"0123456789ABCDEF";

std::wstring Escape(const std::wstring& field)
{
    std::wstring out;
    for (wchar_t c : field) {
        if (c == L'%' || c == L'\t' || c == L'\r' || c == L'\n') {
            out += L'%';
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Only the four escapes the writer makes are accepted.
std::optional<std::wstring> Unescape(const std::wstring& field)
{
    std::wstring out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != L'%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        int high = HexDigit(field[i + 1]);
        int low = HexDigit(field[i + 2]);
        wchar_t c = static_cast<wchar_t>(high * 16 + low);
        if (high < 0 || low < 0 || (c != L'%' && c != L'\t' && c != L'\r' && c != L'\n'))
            return std::nullopt;
        out += c;
        i += 2;
    }
    return out;
}

std::vector<std::wstring> SplitFields(const std::wstring& line)
{
    std::vector<std::wstring> fields(1);
    for (wchar_t c : line) {
        if (c == L'\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::wstring Join(const std::vector<std::wstring>& fields)
{
    std::wstring line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i ? L"\t" : L"") + Escape(fields[i]);
    return line;
}

std::wstring Trimmed(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring Folded(const std::wstring& path)
{
    return UpperCase(Trimmed(path));
}

// A full path the uninstaller may act on: a drive ("C:\...") or a UNC path ("\\server\share\..."),
// at least one name below its root, and no empty, "." or ".." names.
bool IsSafePath(const std::wstring& path)
{
    std::size_t start;
    if (path.size() > 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
        path[1] == L':' && path[2] == L'\\')
        start = 3;
    else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\')
        start = 2;
    else
        return false;
    std::size_t names = 0;
    for (std::size_t pos = start; pos <= path.size();) {
        std::size_t end = path.find(L'\\', pos);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring name = path.substr(pos, end - pos);
        if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"/:*?\"<>|") != std::wstring::npos)
            return false;
        ++names;
        pos = end + 1;
    }
    // A UNC path names the server and the share before anything below it.
    return names >= (start == 2 ? 3u : 1u);
}

bool IsRoot(const std::wstring& root)
{
    for (const wchar_t* name : kRoots)
        if (root == name)
            return true;
    return false;
}

bool IsKeyPath(const std::wstring& path)
{
    if (path.empty() || path.front() == L'\\' || path.back() == L'\\' || path.find(L"\\\\") != std::wstring::npos)
        return false;
    return true;
}

std::optional<std::vector<unsigned char>> ParseHex(const std::wstring& text)
{
    if (text.size() % 2)
        return std::nullopt;
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return bytes;
}

std::optional<Record> ParseRecord(const std::wstring& line, const std::wstring& folder)
{
    std::vector<std::wstring> fields = SplitFields(line);
    for (std::wstring& field : fields) {
        std::optional<std::wstring> plain = Unescape(field);
        if (!plain)
            return std::nullopt;
        field = *plain;
    }
    Record record;
    bool known = false;
    for (const KindName& k : kKinds) {
        if (fields[0] == k.name) {
            record.kind = k.kind;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    switch (record.kind) {
    case Kind::Language:
        if (fields.size() != 2 || (fields[1] != L"DE" && fields[1] != L"EN"))
            return std::nullopt;
        record.german = fields[1] == L"DE";
        return record;
    case Kind::Folder:
    case Kind::File:
    case Kind::Shortcut:
    case Kind::Catalogue:
        if (fields.size() != 2 || !IsSafePath(fields[1]))
            return std::nullopt;
        // The catalogue is removed with everything in it: only ever below the installation folder.
        if (record.kind == Kind::Catalogue && !IsInside(fields[1], folder))
            return std::nullopt;
        record.path = fields[1];
        return record;
    case Kind::Key:
        if (fields.size() != 3 || !IsRoot(fields[1]) || !IsKeyPath(fields[2]))
            return std::nullopt;
        record.root = fields[1];
        record.path = fields[2];
        return record;
    case Kind::Value:
        if ((fields.size() != 4 && fields.size() != 6) || !IsRoot(fields[1]) || !IsKeyPath(fields[2]))
            return std::nullopt;
        record.root = fields[1];
        record.path = fields[2];
        record.valueName = fields[3];
        if (fields.size() == 6) {
            std::optional<int> type = ParseDecimalInt(fields[4]);
            std::optional<std::vector<unsigned char>> data = ParseHex(fields[5]);
            if (!type || *type < 0 || !data)
                return std::nullopt;
            record.previousType = static_cast<std::uint32_t>(*type);
            record.previousData = std::move(*data);
        }
        return record;
    }
    return std::nullopt;
}

} // namespace

bool Record::operator==(const Record& other) const
{
    return kind == other.kind && path == other.path && root == other.root && valueName == other.valueName &&
           german == other.german && previousType == other.previousType && previousData == other.previousData;
}

std::wstring HeaderLine(const std::wstring& product, const std::wstring& folder)
{
    return Join({kMagic, kVersion, product, folder});
}

std::wstring RecordLine(const Record& record)
{
    std::vector<std::wstring> fields = {NameOf(record.kind)};
    switch (record.kind) {
    case Kind::Language:
        fields.push_back(record.german ? L"DE" : L"EN");
        break;
    case Kind::Folder:
    case Kind::File:
    case Kind::Shortcut:
    case Kind::Catalogue:
        fields.push_back(record.path);
        break;
    case Kind::Key:
        fields.insert(fields.end(), {record.root, record.path});
        break;
    case Kind::Value:
        fields.insert(fields.end(), {record.root, record.path, record.valueName});
        if (record.previousType) {
            fields.push_back(std::to_wstring(*record.previousType));
            std::wstring hex;
            for (unsigned char byte : record.previousData) {
                hex += kHex[byte >> 4];
                hex += kHex[byte & 0xF];
            }
            fields.push_back(hex);
        }
        break;
    }
    return Join(fields);
}

bool Log::German() const
{
    bool german = true;
    for (const Record& record : records)
        if (record.kind == Kind::Language)
            german = record.german;
    return german;
}

std::wstring Log::Catalogue() const
{
    for (const Record& record : records)
        if (record.kind == Kind::Catalogue)
            return record.path;
    return L"";
}

bool IsInside(const std::wstring& path, const std::wstring& folder)
{
    std::wstring outer = Folded(folder);
    std::wstring inner = Folded(path);
    if (outer.empty() || outer.back() != L'\\')
        outer += L'\\';
    return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0;
}

ParseResult Parse(const std::wstring& text, const std::wstring& product, const std::wstring& folder)
{
    ParseResult result;
    std::vector<std::wstring> lines = SplitLines(text);
    bool cutOff = !text.empty() && text.back() != L'\n' && text.back() != L'\r';
    if (lines.empty()) {
        result.error = Id::LogBadHeader;
        result.line = 1;
        return result;
    }
    std::vector<std::wstring> header = SplitFields(lines[0]);
    Log log;
    if (header.size() != 4 || header[0] != kMagic) {
        result.error = Id::LogBadHeader;
    } else if (header[1] != kVersion) {
        result.error = Id::LogUnknownVersion;
    } else if (auto name = Unescape(header[2]); !name || *name != product) {
        result.error = Id::LogOtherProduct;
    } else if (auto place = Unescape(header[3]);
               !place || !IsSafePath(Trimmed(*place)) || Folded(*place) != Folded(folder)) {
        result.error = Id::LogOtherFolder;
    } else {
        log.product = *name;
        log.folder = *place;
    }
    if (result.error != Id::Count) {
        result.line = 1;
        return result;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::optional<Record> record = ParseRecord(lines[i], log.folder);
        if (!record) {
            if (cutOff && i + 1 == lines.size())
                break;
            result.error = Id::LogBadRecord;
            result.line = i + 1;
            return result;
        }
        log.records.push_back(std::move(*record));
    }
    result.log = std::move(log);
    return result;
}

} // namespace UninstallLog
