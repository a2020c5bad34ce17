#include "SetupFormat.h"

#include "InstallScript.h"
#include "SetupTexts.h"

#include <cmath>
#include <cstdio>

namespace SetupFormat {

using SetupTexts::Id;
using SetupTexts::Text;

std::wstring MegabyteText(double bytes, wchar_t decimalSeparator)
{
    double mb = bytes / 1048576.0;
    // Rounded to thousandths in integers, so that the text is the same on every C library.
    long long thousandths = std::llround(mb * 1000.0);
    bool negative = thousandths < 0;
    if (negative)
        thousandths = -thousandths;
    wchar_t fraction[8];
    std::swprintf(fraction, 8, L"%03lld", thousandths % 1000);
    return (negative ? L"-" : L"") + std::to_wstring(thousandths / 1000) + decimalSeparator + fraction;
}

int GetNumber(const std::wstring& drive)
{
    std::wstring upper = UpperCase(drive);
    if (upper.size() == 2 && upper[1] == L':' && upper[0] >= L'A' && upper[0] <= L'Z')
        return upper[0] - L'A' + 1;
    return 0;
}

int PlatformFromVersion(std::uint32_t packedVersion)
{
    if (packedVersion & 0x80000000u)
        return 0;
    return (packedVersion & 0xFFu) < 5 ? 1 : 2;
}

std::wstring ChooseUserKeyName(const std::vector<std::wstring>& subkeys, int platform)
{
    if (platform == 1 || platform == 2) {
        for (const std::wstring& name : subkeys) {
            std::wstring upper = UpperCase(name);
            if (upper.find(L"CLASSES") == std::wstring::npos && upper != L".DEFAULT")
                return name;
        }
    }
    return L".DEFAULT";
}

bool GermanFromCountry(const std::optional<std::wstring>& country)
{
    if (!country)
        return true;
    return UpperCase(*country).find(L"DEUTS") != std::wstring::npos;
}

std::wstring SpaceLine(double needed, double freeBytes, bool german, wchar_t decimalSeparator)
{
    return Text(Id::SpaceNeeded, german) + MegabyteText(needed, decimalSeparator) + Text(Id::SpaceFree, german) +
           MegabyteText(freeBytes, decimalSeparator) + Text(Id::SpaceRest, german) +
           MegabyteText(freeBytes - needed, decimalSeparator) + Text(Id::Megabytes, german);
}

std::vector<std::wstring> SummaryLines(const SummaryInput& in, bool german, wchar_t sep)
{
    const std::wstring indent = L"      ";
    const std::wstring blank = L" ";
    const std::wstring mb = Text(Id::Megabytes, german);
    return {
        Text(Id::SummaryDestination, german),
        indent + in.destination,
        blank,
        blank,
        Text(Id::SummaryGroup, german),
        indent + in.group,
        blank,
        blank,
        Text(Id::SummaryDesktop, german),
        Text(in.desktopShortcut ? Id::SummaryYes : Id::SummaryNo, german),
        blank,
        blank,
        Text(Id::SummarySpace, german),
        Text(Id::SummaryNeeded, german) + MegabyteText(in.needed, sep) + mb,
        Text(Id::SummaryFreeOnDrive, german) + in.destination.substr(0, 3) + L" : " + MegabyteText(in.freeBytes, sep) +
            mb,
        Text(Id::SummaryRest, german) + MegabyteText(in.rest, sep) + mb,
    };
}

std::wstring DefaultDestination(const std::wstring& programFiles, const std::wstring& group)
{
    return programFiles + L"\\" + group;
}

std::wstring PickedDestination(const std::wstring& path, const std::wstring& group)
{
    return path.size() <= 3 ? path + group : path + L"\\" + group;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& args)
{
    ParsedCommandLine result;
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::wstring upper = UpperCase(args[i]);
        if (upper == L"/S") {
            options.silent = true;
        } else if (upper == L"/UNINSTALL") {
            options.uninstall = true;
        } else if (upper.compare(0, 3, L"/D=") == 0) {
            options.destination = args[i].substr(3);
            for (++i; i < args.size(); ++i)
                options.destination += L" " + args[i];
            if (options.destination.empty()) {
                result.error = L"/D= needs a folder";
                return result;
            }
        } else if (upper == L"/LANG=DE") {
            options.german = true;
        } else if (upper == L"/LANG=EN") {
            options.german = false;
        } else {
            result.error =
                L"unknown switch: " + args[i] +
                L" (usage: setup.exe [/S] [/LANG=DE|EN] [/D=folder], or setup.exe /uninstall [/S] [/LANG=DE|EN] "
                L"[/D=installation folder])";
            return result;
        }
    }
    result.options = options;
    return result;
}

} // namespace SetupFormat
