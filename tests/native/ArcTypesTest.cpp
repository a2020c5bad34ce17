#include "catalogue/archive/ArcCommon.h"
#include "catalogue/archive/ArcList.h"
#include "catalogue/archive/ArcFile.h"
#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

using namespace ArcTest;

TEST(ArcTypes, DosDatesBecomeDayCountsAndInvalidOnesTheDosEpoch)
{
    const std::pair<uint32_t, double> cases[] = {
        {0, kDosEpochDays},
        {kDosStamp, kStampDays},
        {0x00210000, kDosEpochDays},                                          // 1980-01-01 00:00:00, the epoch itself
        {(40u << 25) | (2u << 21) | (29u << 16), 43890.0},                    // 2020-02-29, a leap day
        {(41u << 25) | (2u << 21) | (29u << 16), kDosEpochDays},              // 2021-02-29 does not exist
        {(41u << 25) | (0u << 21) | (4u << 16), kDosEpochDays},               // month 0
        {(41u << 25) | (3u << 21) | (0u << 16), kDosEpochDays},               // day 0
        {(41u << 25) | (4u << 21) | (31u << 16), kDosEpochDays},              // 31 April
        {(41u << 25) | (3u << 21) | (4u << 16) | (24u << 11), kDosEpochDays}, // hour 24
        {(41u << 25) | (3u << 21) | (4u << 16) | (60u << 5), kDosEpochDays},  // minute 60
        {(41u << 25) | (3u << 21) | (4u << 16) | 30u, kDosEpochDays},         // second 60
        // Month 13 is month 0 after the modulo, hour 25 is hour 0: the first invalid, the
        // second a valid midnight.
        {(41u << 25) | (13u << 21) | (4u << 16), kDosEpochDays},
        {(41u << 25) | (3u << 21) | (4u << 16) | (25u << 11), 44259.0},
    };
    for (const auto& [dos, days] : cases)
        EXPECT_DOUBLE_EQ(DosDateTimeToDays(dos), days) << std::hex << dos;
}

// Sets the process's time zone for one case and puts the tests' UTC back after it.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) { Set(zone); }
    ~ScopedTimeZone() { Set("UTC0"); }

private:
    static void Set(const char* zone)
    {
#ifdef _WIN32
        _putenv((std::string("TZ=") + zone).c_str());
        _tzset();
#else
        setenv("TZ", zone, 1);
        tzset();
#endif
    }
};

TEST(ArcTypes, UnixTimesBecomeLocalDosTimes)
{
    struct Case {
        const char* zone;
        int64_t unixTime;
        const char* local; // empty: no DOS form
    };
    // Zones in the form both C runtimes read; the dates keep clear of the days on which the
    // rules of different years put the change to summer time.
    const Case cases[] = {
        {"UTC0", 1614834368, "2021-03-04 05:06:08"},
        {"UTC0", 0, ""},                                // 1970: before DOS dates begin
        {"UTC0", -315619200, ""},                       // 1960
        {"UTC0", 5000000000LL, ""},                     // 2128
        {"EST5EDT", 1614834368, "2021-03-04 00:06:08"}, // winter, 5 hours west
        {"EST5EDT", 1625400000, "2021-07-04 08:00:00"}, // summer, 4 hours west
        {"JST-9", 1614888000, "2021-03-05 05:00:00"},   // east, past midnight
        {"JST-9", 315500400, "1980-01-01 00:00:00"},    // DOS dates begin there 9 hours earlier
    };
    for (const Case& c : cases) {
        ScopedTimeZone zone(c.zone);
        const uint32_t dos = UnixToDosDateTime(c.unixTime);
        EXPECT_EQ(dos == 0 ? std::string() : ArcList::FormatDate(DosDateTimeToDays(dos)), c.local)
            << c.zone << " " << c.unixTime;
    }
}

// The formats that keep Unix times show them in the zone the catalogue runs in.
TEST(ArcTypes, UnixTimesOfRealArchivesFollowTheTimeZone)
{
    const std::pair<const char*, const char*> zones[] = {
        {"UTC0", "2021-03-04 05:06:08"}, {"EST5EDT", "2021-03-04 00:06:08"}, {"JST-9", "2021-03-04 14:06:08"}};
    int listed = 0;
    for (const char* archive : {"tar-ustar.tar", "gzip-name.gz"}) {
        const std::wstring path = SamplePath("SORTARO_ARCHIVE_SAMPLES", archive);
        if (path.empty() || !SystemFileSystem().Open(path))
            continue;
        for (const auto& [zoneName, local] : zones) {
            ScopedTimeZone zone(zoneName);
            TArcReader reader;
            reader.SetArchiveFile(path);
            ASSERT_TRUE(reader.GetFileInfo(L"hello.txt")) << archive;
            EXPECT_EQ(ArcList::FormatDate(reader.Entry().Date), local) << archive << " in " << zoneName;
        }
        ++listed;
    }
    if (listed == 0)
        GTEST_SKIP() << "tool-made samples not there";
}

struct RatioCase {
    uint64_t packed;
    uint64_t unpacked;
    int ratio;
};

TEST(ArcTypes, CompressionRatioIsPercentSaved)
{
    const RatioCase cases[] = {
        {0, 100, 0},
        {100, 0, 0},
        {100, 100, 0},
        {50, 100, 50},
        {1, 1000, 99},
        {999, 1000, 1},                // 0.1% shows as 1
        {100, 200100, 99},             // a difference over 100000: both divided by 100 first
        {4000000000u, 4294967295u, 6}, // no overflow
        {100, UINT64_MAX, 99},         // the largest size: no overflow
    };
    for (const RatioCase& c : cases)
        EXPECT_EQ(CompressionRatio(c.packed, c.unpacked), c.ratio) << c.packed << "/" << c.unpacked;
}

struct MethodCase {
    uint32_t method;
    uint32_t flags;
    uint32_t attributes;
    const wchar_t* text;
};

TEST(ArcTypes, ZipMethodTexts)
{
    const MethodCase cases[] = {
        {0, 0, 0, L"Stored"},       {1, 0, 0, L"Shrunk"},          {2, 0, 0, L"Reduce-1"},     {5, 0, 0, L"Reduce-4"},
        {6, 0, 0, L"Imploded"},     {7, 0, 0, L"Tokened"},         {8, 0, 0, L"DeflateN"},     {8, 2, 0, L"DeflateX"},
        {8, 4, 0, L"DeflateF"},     {8, 6, 0, L"DeflateS"},        {8, 0x809, 0, L"DeflateN"}, {9, 0, 0x10, L"Dir"},
        {12, 0, 0, L"Unsupported"}, {99, 0, 0x20, L"Unsupported"},
    };
    for (const MethodCase& c : cases)
        EXPECT_STREQ(ZipMethodText(c.method, c.flags, c.attributes), c.text) << c.method << " " << c.flags;
}

struct WildCase {
    const wchar_t* name;
    std::vector<std::wstring> spec;
    std::vector<std::wstring> exclude;
    bool passes;
};

TEST(ArcTypes, CheckWildCardFollowsFileSpecAndTheExclusionList)
{
    const WildCase cases[] = {
        {L"", {L"*.*"}, {}, false},
        {L"a", {L"*.*"}, {}, true},
        {L"dir\\A.TXT", {L"*.txt"}, {}, true},
        {L"a.txt", {L"*.doc"}, {}, false},
        {L"a.txt", {L"*.doc", L"a.*"}, {}, true},
        {L"x\\a.txt", {L"a.txt"}, {}, true}, // no "\" in the pattern: the folder is free
        {L"sub\\a.txt", {L"sub\\a.txt"}, {}, true},
        {L"other\\a.txt", {L"sub\\a.txt"}, {}, false},
        {L"s\\t\\a.txt", {L"s\\*\\a.txt"}, {}, true},
        {L"ab.txt", {L"?.txt"}, {}, false},
        {L"b.txt", {L"?.txt"}, {}, true},
        {L"readme", {L"readme."}, {}, true}, // a trailing dot is ignored
        {L"readme.", {L"readme"}, {}, true},
        {L"a.txt", {L"a*"}, {}, false}, // the extension must match too
        {L"a.txt", {L"*.*"}, {L"*.txt"}, false},
        {L"a.doc", {L"*.*"}, {L"*.txt"}, true},
        {L"\u00e4rger.txt", {L"\u00c4RGER.TXT"}, {}, true},
        {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", {L"*a*a*a*a*a*a*a*a*a*a*c"}, {}, false},
    };
    for (const WildCase& c : cases) {
        TArcCommon common;
        common.FileSpec = c.spec;
        common.ExcludeSpec = c.exclude;
        EXPECT_EQ(common.CheckWildCard(c.name), c.passes) << EncodeUtf8(c.name) << " / " << EncodeUtf8(c.spec[0]);
    }
}

struct TextCase {
    Bytes bytes;
    std::wstring utf8;
    std::wstring cp437;
    std::wstring cp1252;
};

TEST(ArcTypes, NamesDecodeFromTheirCodePages)
{
    const TextCase cases[] = {
        {{'a', 'B', '1'}, L"aB1", L"aB1", L"aB1"},
        {{0xC3, 0xA4}, L"\u00e4", L"\u251c\u00f1", L"\u00c3\u00a4"},
        {{0x81, 0xE1, 0x84}, L"\ufffd\ufffd", L"\u00fc\u00df\u00e4", L"\u0081\u00e1\u201e"},
        {{0xE2, 0x82, 0xAC}, L"\u20ac", L"\u0393\u00e9\u00bc", L"\u00e2\u201a\u00ac"},
        {{0xC0, 0x80}, L"\ufffd", L"\u2514\u00c7", L"\u00c0\u20ac"},                   // overlong
        {{0xED, 0xA0, 0x80}, L"\ufffd", L"\u03c6\u00e1\u00c7", L"\u00ed\u00a0\u20ac"}, // a surrogate
        {{0xE2, 0x82}, L"\ufffd", L"\u0393\u00e9", L"\u00e2\u201a"},                   // cut short
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(DecodeUtf8(c.bytes.data(), c.bytes.size()), c.utf8);
        EXPECT_EQ(DecodeCp437(c.bytes.data(), c.bytes.size()), c.cp437);
        EXPECT_EQ(DecodeCp1252(c.bytes.data(), c.bytes.size()), c.cp1252);
    }
    const Bytes emoji = {0xF0, 0x9F, 0x98, 0x80};
    const std::wstring decoded = DecodeUtf8(emoji.data(), emoji.size());
    EXPECT_EQ(EncodeUtf8(decoded), std::string("\xF0\x9F\x98\x80"));
    EXPECT_EQ(decoded.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

} // namespace
