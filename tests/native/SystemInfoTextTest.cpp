#include "catalogue/info/SystemInfoText.h"

#include <gtest/gtest.h>

namespace {

using Platform = OsVersion::Platform;

OsVersion Nt(unsigned major, unsigned minor, unsigned build, int productType, unsigned suite = 0)
{
    OsVersion v;
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.extended = true;
    v.productType = productType;
    v.suiteMask = suite;
    return v;
}

OsVersion NtWithoutExtendedData(const wchar_t* registryProductType)
{
    OsVersion v;
    v.major = 4;
    v.build = 1381;
    v.registryProductType = registryProductType;
    return v;
}

OsVersion Windows9x(unsigned minor, const wchar_t* servicePack)
{
    OsVersion v;
    v.platform = Platform::Windows9x;
    v.major = 4;
    v.minor = minor;
    v.servicePack = servicePack;
    return v;
}

constexpr int kWorkstation = OsVersion::kWorkstation;
constexpr int kController = OsVersion::kDomainController;
constexpr int kServer = OsVersion::kServer;

TEST(SystemInfoText, ProductNameFromWindows95To11)
{
    const struct {
        OsVersion version;
        const wchar_t* name;
    } cases[] = {
        {Windows9x(0, L""), L"Microsoft Windows 95 "},
        {Windows9x(0, L" C"), L"Microsoft Windows 95 OSR2 "},
        {Windows9x(0, L" B"), L"Microsoft Windows 95 OSR2 "},
        {Windows9x(10, L""), L"Microsoft Windows 98 "},
        {Windows9x(10, L" A "), L"Microsoft Windows 98 SE "},
        {Windows9x(90, L" "), L"Microsoft Windows Millennium Edition "},
        {NtWithoutExtendedData(L"WinNT"), L"Microsoft Windows NT Professional "},
        {NtWithoutExtendedData(L"LANMANNT"), L"Microsoft Windows NT Server "},
        {NtWithoutExtendedData(L"ServerNT"), L"Microsoft Windows NT Advanced Server "},
        {NtWithoutExtendedData(L""), L"Microsoft Windows NT "},
        {Nt(4, 0, 1381, kWorkstation), L"Microsoft Windows NT Professional "},
        {Nt(4, 0, 1381, kServer, 0x2), L"Microsoft Windows NT Advanced Server "},
        {Nt(5, 0, 2195, kWorkstation), L"Microsoft Windows 2000 Professional "},
        {Nt(5, 0, 2195, kServer, 0x80 | 0x2), L"Microsoft Windows 2000 DataCenter Server "},
        {Nt(5, 0, 2195, kController, 0x2), L"Microsoft Windows 2000 Enterprise Server "},
        {Nt(5, 1, 2600, kWorkstation, 0x200), L"Microsoft Windows XP Home Edition "},
        {Nt(5, 1, 2600, kWorkstation), L"Microsoft Windows XP Professional "},
        {Nt(5, 1, 3505, kServer), L"Microsoft Windows .NET Server "},
        {Nt(5, 2, 3790, kWorkstation), L"Microsoft Windows XP Professional "},
        {Nt(5, 2, 3790, kServer, 0x400), L"Microsoft Windows Server 2003 Web Server "},
        {Nt(6, 0, 6002, kWorkstation, 0x200), L"Microsoft Windows Vista "},
        {Nt(6, 0, 6002, kServer), L"Microsoft Windows Server 2008 "},
        {Nt(6, 1, 7601, kWorkstation), L"Microsoft Windows 7 "},
        {Nt(6, 1, 7601, kController), L"Microsoft Windows Server 2008 R2 "},
        {Nt(6, 2, 9200, kWorkstation), L"Microsoft Windows 8 "},
        {Nt(6, 2, 9200, kServer), L"Microsoft Windows Server 2012 "},
        {Nt(6, 3, 9600, kWorkstation), L"Microsoft Windows 8.1 "},
        {Nt(6, 3, 9600, kServer), L"Microsoft Windows Server 2012 R2 "},
        {Nt(10, 0, 10240, kWorkstation), L"Microsoft Windows 10 "},
        {Nt(10, 0, 19045, kWorkstation), L"Microsoft Windows 10 "},
        {Nt(10, 0, 21999, kWorkstation), L"Microsoft Windows 10 "},
        {Nt(10, 0, 22000, kWorkstation), L"Microsoft Windows 11 "},
        {Nt(10, 0, 26100, kWorkstation), L"Microsoft Windows 11 "},
        {Nt(10, 0, 14393, kServer), L"Microsoft Windows Server 2016 "},
        {Nt(10, 0, 17763, kController), L"Microsoft Windows Server 2019 "},
        {Nt(10, 0, 20348, kServer), L"Microsoft Windows Server 2022 "},
        {Nt(10, 0, 26100, kServer), L"Microsoft Windows Server 2025 "},
        {Nt(11, 0, 30000, kWorkstation), L"Microsoft Windows "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemInfoText::ProductName(c.version), c.name)
            << c.version.major << "." << c.version.minor << "." << c.version.build << " type " << c.version.productType;
}

TEST(SystemInfoText, VersionText)
{
    OsVersion seven = Nt(6, 1, 7601, kWorkstation);
    seven.servicePack = L"Service Pack 1";
    EXPECT_EQ(SystemInfoText::VersionText(seven), L"Version 6.1 (Build 7601)Service Pack 1");
    EXPECT_EQ(SystemInfoText::VersionText(Nt(10, 0, 22631, kWorkstation)), L"Version 10.0 (Build 22631)");
}

TEST(SystemInfoText, GroupThousands)
{
    const struct {
        std::uint64_t value;
        const wchar_t* separator;
        const wchar_t* text;
    } cases[] = {
        {0, L".", L"0"},
        {999, L".", L"999"},
        {1000, L".", L"1.000"},
        {4194303, L",", L"4,194,303"},   // 4 GB less 1 KB: where the old query stopped
        {33554432, L".", L"33.554.432"}, // 32 GB
        {123456789, L"\u00a0", L"123\u00a0456\u00a0789"},
        {1234567, L"", L"1234567"},
        {18014398509481983ull, L"'", L"18'014'398'509'481'983"}, // the largest byte count in KB
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemInfoText::GroupThousands(c.value, c.separator), c.text) << c.value;
}

} // namespace
