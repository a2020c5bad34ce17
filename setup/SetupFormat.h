#pragma once
// The installer's small rules that need no operating system: megabyte texts, drive numbers,
// the platform number, the user key, the locale, the summary and the command line. Portable.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SetupFormat {

// bytes × 2^-20 with three decimals and the given decimal separator, e.g. "1.500".
std::wstring MegabyteText(double bytes, wchar_t decimalSeparator);

// "A:" gives 1 up to "Z:" 26 (any case); anything else 0, the current drive.
int GetNumber(const std::wstring& drive);

// 0 = Windows 95/98/ME or Win32s (high bit of the packed version set), 1 = NT before version
// 5, 2 = NT 5 or later. The packed version holds the major version in its lowest byte.
int PlatformFromVersion(std::uint32_t packedVersion);

// On platforms 1 and 2 the first subkey of HKEY_USERS whose upper-cased name neither contains
// "CLASSES" nor equals ".DEFAULT"; otherwise, or when there is none, ".DEFAULT".
std::wstring ChooseUserKeyName(const std::vector<std::wstring>& subkeys, int platform);

// The German flag from the locale's country name: German when it contains "DEUTS" (any case);
// German as well when the name cannot be read.
bool GermanFromCountry(const std::optional<std::wstring>& country);

// The space line of the destination page.
std::wstring SpaceLine(double needed, double freeBytes, bool german, wchar_t decimalSeparator);

struct SummaryInput {
    std::wstring destination;
    std::wstring group;
    bool desktopShortcut = true;
    double needed = 0;
    double freeBytes = 0;
    double rest = 0;
};

// The summary page's lines, one per line of its text view.
std::vector<std::wstring> SummaryLines(const SummaryInput& input, bool german, wchar_t decimalSeparator);

// The destination the wizard offers first: the program files folder and the program group.
std::wstring DefaultDestination(const std::wstring& programFiles, const std::wstring& group);

// A folder field's text as picked in the destination tree: the path and the group, without
// the extra "\" for a path of three characters or less (a drive root such as C:\).
std::wstring PickedDestination(const std::wstring& path, const std::wstring& group);

// setup.exe [/uninstall] /S [/D=folder] [/LANG=DE|EN]. Switches in any case; /D= takes the
// rest of the command line, blanks included, so it comes last. With /uninstall, /D= names the
// installation folder to remove.
struct Options {
    bool silent = false;
    bool uninstall = false;
    std::wstring destination;   // empty: the default
    std::optional<bool> german; // empty: as the script and the wizard would decide
};
struct ParsedCommandLine {
    std::optional<Options> options; // nullopt: error holds what was wrong
    std::wstring error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& args);

} // namespace SetupFormat
