#include "SystemInfoText.h"

#include <algorithm>
#include <cwctype>

namespace SystemInfoText {

namespace {

// Suite mask bits (VER_SUITE_*).
constexpr unsigned kSuiteEnterprise = 0x2;
constexpr unsigned kSuiteDatacenter = 0x80;
constexpr unsigned kSuitePersonal = 0x200;
constexpr unsigned kSuiteBlade = 0x400; // the Web editions

enum class Kind { Any, Workstation, Server };

struct NameRow {
    OsVersion::Platform platform;
    unsigned majorFrom, majorTo;
    int minor; // -1: any
    Kind kind;
    unsigned buildFrom;
    const wchar_t* name;
};

constexpr auto k9x = OsVersion::Platform::Windows9x;
constexpr auto kNt = OsVersion::Platform::Nt;

// The first row that fits names the product. Windows 10 and 11, and the servers of the same
// kernel, share version 10.0 and differ by their build; domain controllers count as servers.
const NameRow kNames[] = {
    {k9x, 4, 4, 0, Kind::Any, 0, L"Microsoft Windows 95 "},
    {k9x, 4, 4, 10, Kind::Any, 0, L"Microsoft Windows 98 "},
    {k9x, 4, 4, 90, Kind::Any, 0, L"Microsoft Windows Millennium Edition "},
    {kNt, 0, 4, -1, Kind::Any, 0, L"Microsoft Windows NT "},
    {kNt, 5, 5, 0, Kind::Any, 0, L"Microsoft Windows 2000 "},
    {kNt, 5, 5, 1, Kind::Workstation, 0, L"Microsoft Windows XP "},
    {kNt, 5, 5, 1, Kind::Server, 0, L"Microsoft Windows .NET "},
    {kNt, 5, 5, 2, Kind::Workstation, 0, L"Microsoft Windows XP "}, // XP Professional x64 Edition
    {kNt, 5, 5, 2, Kind::Server, 0, L"Microsoft Windows Server 2003 "},
    {kNt, 6, 6, 0, Kind::Workstation, 0, L"Microsoft Windows Vista "},
    {kNt, 6, 6, 0, Kind::Server, 0, L"Microsoft Windows Server 2008 "},
    {kNt, 6, 6, 1, Kind::Workstation, 0, L"Microsoft Windows 7 "},
    {kNt, 6, 6, 1, Kind::Server, 0, L"Microsoft Windows Server 2008 R2 "},
    {kNt, 6, 6, 2, Kind::Workstation, 0, L"Microsoft Windows 8 "},
    {kNt, 6, 6, 2, Kind::Server, 0, L"Microsoft Windows Server 2012 "},
    {kNt, 6, 6, 3, Kind::Workstation, 0, L"Microsoft Windows 8.1 "},
    {kNt, 6, 6, 3, Kind::Server, 0, L"Microsoft Windows Server 2012 R2 "},
    {kNt, 10, 10, 0, Kind::Workstation, 22000, L"Microsoft Windows 11 "},
    {kNt, 10, 10, 0, Kind::Workstation, 0, L"Microsoft Windows 10 "},
    // The long-term servers; the half-yearly ones between them take the name before.
    {kNt, 10, 10, 0, Kind::Server, 26100, L"Microsoft Windows Server 2025 "},
    {kNt, 10, 10, 0, Kind::Server, 20348, L"Microsoft Windows Server 2022 "},
    {kNt, 10, 10, 0, Kind::Server, 17763, L"Microsoft Windows Server 2019 "},
    {kNt, 10, 10, 0, Kind::Server, 0, L"Microsoft Windows Server 2016 "},
    // A Windows newer than this program.
    {kNt, 6, ~0u, -1, Kind::Any, 0, L"Microsoft Windows "},
};

Kind KindOf(const OsVersion& v)
{
    if (!v.extended)
        return Kind::Any;
    return v.productType == OsVersion::kWorkstation ? Kind::Workstation : Kind::Server;
}

bool Fits(const NameRow& row, const OsVersion& v, Kind kind)
{
    return row.platform == v.platform && v.major >= row.majorFrom && v.major <= row.majorTo &&
           (row.minor < 0 || static_cast<unsigned>(row.minor) == v.minor) &&
           (row.kind == Kind::Any || row.kind == kind) && v.build >= row.buildFrom;
}

std::wstring Upper(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

// The edition after the name, for the Windows versions up to 2003. Later ones carry their
// edition in names the suite mask cannot tell apart.
std::wstring Edition(const OsVersion& v)
{
    if (v.platform == k9x) {
        const wchar_t mark = v.servicePack.size() > 1 ? v.servicePack[1] : L'\0';
        if (v.minor == 0 && (mark == L'C' || mark == L'B'))
            return L"OSR2 ";
        if (v.minor == 10 && mark == L'A')
            return L"SE ";
        return L"";
    }
    if (v.major > 5)
        return L"";
    if (!v.extended) {
        const std::wstring type = Upper(v.registryProductType);
        if (type == L"WINNT")
            return L"Professional ";
        if (type == L"LANMANNT")
            return L"Server ";
        if (type == L"SERVERNT")
            return L"Advanced Server ";
        return L"";
    }
    if (v.productType == OsVersion::kWorkstation)
        return v.suiteMask & kSuitePersonal ? L"Home Edition " : L"Professional ";
    if (v.suiteMask & kSuiteDatacenter)
        return L"DataCenter Server ";
    if (v.suiteMask & kSuiteEnterprise)
        return v.major == 4 ? L"Advanced Server " : L"Enterprise Server ";
    if (v.suiteMask & kSuiteBlade)
        return L"Web Server ";
    return L"Server ";
}

} // namespace

std::wstring ProductName(const OsVersion& version)
{
    const Kind kind = KindOf(version);
    for (const NameRow& row : kNames)
        if (Fits(row, version, kind))
            return row.name + Edition(version);
    return Edition(version);
}

std::wstring VersionText(const OsVersion& version)
{
    return L"Version " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L" (Build " +
           std::to_wstring(version.build) + L")" + version.servicePack;
}

std::wstring GroupThousands(std::uint64_t value, const std::wstring& separator)
{
    const std::wstring digits = std::to_wstring(value);
    std::wstring text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return text;
}

} // namespace SystemInfoText
