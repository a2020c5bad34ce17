#pragma once
// The texts of the information dialog that describe the running system: the Windows product
// name and version text from the version the system reports, and large numbers grouped in
// thousands. Portable.

#include <cstdint>
#include <string>

// What the system's version query reports.
struct OsVersion {
    enum class Platform { Windows9x, Nt };
    enum ProductType { kWorkstation = 1, kDomainController = 2, kServer = 3 };

    Platform platform = Platform::Nt;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    std::wstring servicePack;
    // Product type and suite mask are known (NT 4 from service pack 6 on).
    bool extended = false;
    int productType = 0;
    unsigned suiteMask = 0;
    // Without them, NT tells its kind in the registry: "WINNT", "LANMANNT" or "SERVERNT".
    std::wstring registryProductType;
};

namespace SystemInfoText {

// "Microsoft Windows XP Professional ", "Microsoft Windows 11 ", ...; empty for a version
// that has no name here.
std::wstring ProductName(const OsVersion& version);
// "Version 6.1 (Build 7601)Service Pack 1".
std::wstring VersionText(const OsVersion& version);
// value in decimal with separator between groups of three digits: 1234567 -> "1.234.567".
std::wstring GroupThousands(std::uint64_t value, const std::wstring& separator);

} // namespace SystemInfoText
