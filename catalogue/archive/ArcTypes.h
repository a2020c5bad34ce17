#pragma once
// Archive types the reader recognises, the entry record it fills, and the small pure helpers
// (dates, ratio, method texts) that every format shares. Portable.

#include <cstdint>
#include <string>

// The order is fixed: stored settings and the preview's tables use the ordinals.
enum TArcType : int {
    atNA,
    atUnsupported,
    atFileOpenErr,
    atUnknown,
    atAce,
    atAceExe,
    atArc,
    atArcExe,
    atArj,
    atArjExe,
    atBh,
    atBhExe,
    atCab,
    atGZip,
    atHA,
    atJar,
    atJarExe,
    atLha,
    atLhaExe,
    atLzh,
    atLzhExe,
    atMSGZ,
    atPak,
    atPakExe,
    atRar,
    atRarExe,
    atTar,
    atUue,
    atZip,
    atZipExe,
    atZipMV,
    atZoo,
};
constexpr int kArcTypeCount = 32;

// "atZip" for atZip; "?" outside the enumeration.
const char* ArcTypeName(TArcType type);
// Every type but atNA, atUnsupported, atFileOpenErr and atUnknown.
bool IsRecognised(TArcType type);

// Messages the reader reports through its error event; the texts are the program's own.
enum class TArcError {
    FileNotFound,
    RequiredEventNotAssigned,
    UnknownFileType,
    ReadError,
    BadFileHeader,
    SizeUnknown,
};
const char* ArcErrorText(TArcError error);

// The current-entry record: one entry of the archive as the preview shows it.
struct TArcEntry {
    std::wstring FileName;
    double Date = 0;          // days since 30 December 1899, fraction = time of day
    uint32_t DosDateTime = 0; // the DOS value Date was made from (time low, date high)
    uint64_t PackedSize = 0;  // ZIP64 and RAR 5 entries can pass 4 GiB
    uint64_t UnpackedSize = 0;
    std::wstring MethodText;
    uint32_t Crc = 0;
    uint32_t VersionNeeded = 0;
    uint32_t VersionMadeBy = 0;
    uint32_t MethodCode = 0;
    uint32_t InternalAttr = 0;
    uint32_t ExternalAttr = 0;
    bool Encrypted = false;
    int Ratio = 0;             // percent saved
    uint64_t HeaderOffset = 0; // where the entry's header starts in the file
    uint32_t Index = 0;        // 0-based among the reported entries
};

// Day count of 1 January 1980 00:00, the date of every missing or invalid DOS date.
constexpr double kDosEpochDays = 29221.0;

// DOS date-time (time in the low 16 bits, date in the high 16 bits) to a day count. Zero and
// values that name no real date or time give 1 January 1980.
double DosDateTimeToDays(uint32_t dosDateTime);
// Unix time (UTC seconds) to a DOS date-time in local time; 0 outside 1980..2107.
uint32_t UnixToDosDateTime(int64_t unixTime);
// Calendar parts of a day count, for printing (year, month, day, hour, minute, second).
void DaysToCivil(double days, int& year, int& month, int& day, int& hour, int& minute, int& second);

// Percent saved: 0 when either size is 0 or nothing was saved, at least 1 when anything was.
int CompressionRatio(uint64_t packed, uint64_t unpacked);

// The ZIP method text for a method code, the general purpose flags and the external attributes.
const wchar_t* ZipMethodText(uint32_t method, uint32_t flags, uint32_t externalAttr);

// Formats that store the DOS date word before the time word (ARC, ZOO, CAB): the 32-bit value
// read little-endian at the date, turned into the usual order (time low, date high).
inline uint32_t DosDateFirst(uint32_t dateFirst)
{
    return (dateFirst >> 16) | (dateFirst << 16);
}
