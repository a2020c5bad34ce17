#include "SystemVersion.h"

#include "../../common/Registry.h"

#include <windows.h>

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

OsVersion FromInfo(const OSVERSIONINFOEXW& info, bool extended)
{
    OsVersion v;
    v.platform = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? OsVersion::Platform::Nt : OsVersion::Platform::Windows9x;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.build = info.dwBuildNumber;
    v.servicePack.assign(info.szCSDVersion, wcsnlen(info.szCSDVersion, ARRAYSIZE(info.szCSDVersion)));
    v.extended = extended;
    if (extended) {
        v.productType = info.wProductType;
        v.suiteMask = info.wSuiteMask;
    }
    return v;
}

} // namespace

std::optional<OsVersion> QueryOsVersion()
{
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
        if (auto rtlGetVersion =
                reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))))
            if (rtlGetVersion(&info) == 0)
                return FromInfo(info, true);
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
        return FromInfo(info, true);
    // Windows NT 4 before service pack 6 knows only the basic query.
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
        return std::nullopt;
    OsVersion v = FromInfo(info, false);
    if (v.platform == OsVersion::Platform::Nt) {
        Registry machine(HKEY_LOCAL_MACHINE);
        RegistryKeyScope key(machine, L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", KeyAccess::Read);
        if (key)
            v.registryProductType = machine.ReadString(L"ProductType").value_or(L"");
    }
    return v;
}

SystemVersionTexts DisplaySystemVersion()
{
    const std::optional<OsVersion> version = QueryOsVersion();
    if (!version)
        return {};
    return {SystemInfoText::ProductName(*version), SystemInfoText::VersionText(*version)};
}

std::wstring PhysicalMemoryKilobytes()
{
    // GlobalMemoryStatus stops at 2 or 4 GB; the extended query tells today's memory.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        status.ullTotalPhys = 0;
    wchar_t separator[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, ARRAYSIZE(separator));
    return SystemInfoText::GroupThousands(status.ullTotalPhys / 1024, separator);
}
