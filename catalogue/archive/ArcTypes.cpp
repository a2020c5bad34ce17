#include "catalogue/archive/ArcTypes.h"

#include <cmath>
#include <ctime>

namespace {

const char* const kTypeNames[kArcTypeCount] = {
    "atNA",     "atUnsupported", "atFileOpenErr", "atUnknown", "atAce",    "atAceExe", "atArc",   "atArcExe",
    "atArj",    "atArjExe",      "atBh",          "atBhExe",   "atCab",    "atGZip",   "atHA",    "atJar",
    "atJarExe", "atLha",         "atLhaExe",      "atLzh",     "atLzhExe", "atMSGZ",   "atPak",   "atPakExe",
    "atRar",    "atRarExe",      "atTar",         "atUue",     "atZip",    "atZipExe", "atZipMV", "atZoo",
};

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// 1899-12-30 lies 25569 days before 1970-01-01.
constexpr int64_t kUnixEpochDays = 25569;

bool IsLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

} // namespace

const char* ArcTypeName(TArcType type)
{
    return type >= 0 && type < kArcTypeCount ? kTypeNames[type] : "?";
}

bool IsRecognised(TArcType type)
{
    return type != atNA && type != atUnsupported && type != atFileOpenErr && type != atUnknown && type >= 0 &&
           type < kArcTypeCount;
}

const char* ArcErrorText(TArcError error)
{
    switch (error) {
    case TArcError::FileNotFound:
        return "File not found";
    case TArcError::RequiredEventNotAssigned:
        return "Required event not assigned";
    case TArcError::UnknownFileType:
        return "Unknown file type";
    case TArcError::ReadError:
        return "Error reading file or unexpected end of file";
    case TArcError::BadFileHeader:
        return "Bad file header";
    case TArcError::SizeUnknown:
        return "Entry size unknown (streamed entry without central directory)";
    }
    return "";
}

double DosDateTimeToDays(uint32_t dosDateTime)
{
    if (dosDateTime == 0)
        return kDosEpochDays;
    const uint32_t date = dosDateTime >> 16;
    const uint32_t time = dosDateTime & 0xFFFF;
    // The modulo steps mirror how the fields were always read; what they leave must still be a
    // real date and time, or the entry gets the DOS epoch.
    const int year = static_cast<int>(date >> 9) + 1980;
    const int month = static_cast<int>((date >> 5) & 15) % 13;
    const int day = static_cast<int>(date & 31);
    const int hour = static_cast<int>(time >> 11) % 25;
    const int minute = static_cast<int>((time >> 5) & 63) % 61;
    const int second = static_cast<int>((time & 31) * 2) % 61;
    if (month == 0 || day == 0 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59)
        return kDosEpochDays;
    const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixEpochDays;
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

uint32_t UnixToDosDateTime(int64_t unixTime)
{
    // Earlier than 1980 or later than 2107 in any time zone: no DOS form.
    if (unixTime < 315446400 || unixTime > 4354819199LL)
        return 0;
    const std::time_t t = static_cast<std::time_t>(unixTime);
    const std::tm* local = std::localtime(&t);
    if (!local || local->tm_year < 80 || local->tm_year > 207)
        return 0;
    const uint32_t date =
        static_cast<uint32_t>(((local->tm_year - 80) << 9) | ((local->tm_mon + 1) << 5) | local->tm_mday);
    const uint32_t time = static_cast<uint32_t>((local->tm_hour << 11) | (local->tm_min << 5) | (local->tm_sec / 2));
    return (date << 16) | time;
}

void DaysToCivil(double days, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    const double whole = std::floor(days);
    int64_t z = static_cast<int64_t>(whole) - kUnixEpochDays + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
    int secs = static_cast<int>(std::lround((days - whole) * 86400.0));
    if (secs >= 86400)
        secs = 86399;
    hour = secs / 3600;
    minute = secs / 60 % 60;
    second = secs % 60;
}

int CompressionRatio(uint64_t packed, uint64_t unpacked)
{
    if (packed == 0 || unpacked == 0 || unpacked <= packed)
        return 0;
    uint64_t p = packed;
    uint64_t u = unpacked;
    if (u - p > 100000) {
        p /= 100;
        u /= 100;
    }
    if (u == 0)
        return 0;
    // Either the difference is at most 100000 or both were divided by 100: (u - p) * 100 fits.
    const int ratio = static_cast<int>((u - p) * 100 / u);
    return ratio == 0 ? 1 : ratio;
}

const wchar_t* ZipMethodText(uint32_t method, uint32_t flags, uint32_t externalAttr)
{
    switch (method) {
    case 0:
        return L"Stored";
    case 1:
        return L"Shrunk";
    case 2:
        return L"Reduce-1";
    case 3:
        return L"Reduce-2";
    case 4:
        return L"Reduce-3";
    case 5:
        return L"Reduce-4";
    case 6:
        return L"Imploded";
    case 7:
        return L"Tokened";
    case 8:
        // Flag bits 1 and 2 carry the deflate option the archiver was asked for.
        if ((flags & 6) == 6)
            return L"DeflateS";
        if (flags & 4)
            return L"DeflateF";
        if (flags & 2)
            return L"DeflateX";
        return L"DeflateN";
    default:
        return (externalAttr & 0x10) ? L"Dir" : L"Unsupported";
    }
}
