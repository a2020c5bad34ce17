#include "catalogue/archive/ArcList.h"
#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace ArcTest;
using ArcList::Format;

TArcEntry Sample()
{
    TArcEntry e;
    e.FileName = L"dir\\\u00e4 \"q\"\t.txt";
    e.Date = kStampDays;
    e.PackedSize = 29;
    e.UnpackedSize = 440;
    e.MethodText = L"DeflateX";
    e.Crc = 0xEBA079EA;
    e.ExternalAttr = 0x21;
    e.Ratio = 93;
    e.HeaderOffset = 4096;
    return e;
}

TEST(ArcList, LinesInEachFormat)
{
    struct Case {
        Format format;
        std::string entry;
        std::string archive;
    };
    const Case cases[] = {
        {Format::Json,
         "{\"name\":\"dir\\\\\xC3\xA4 \\\"q\\\"\\t.txt\",\"date\":\"2021-03-04 05:06:08\",\"packed\":29,"
         "\"unpacked\":440,\"method\":\"DeflateX\",\"crc\":\"EBA079EA\",\"attributes\":33,\"encrypted\":false,"
         "\"ratio\":93,\"offset\":4096}\n",
         "{\"archive\":\"a.zip\",\"type\":\"atZipExe\",\"start\":4096}\n"},
        {Format::Tsv, "dir\\\xC3\xA4 \"q\" .txt\t2021-03-04 05:06:08\t29\t440\tDeflateX\tEBA079EA\t0021\n",
         "archive\ta.zip\tatZipExe\t4096\n"},
        {Format::Text,
         "  2021-03-04 05:06:08         29        440 DeflateX    EBA079EA R----A  dir\\\xC3\xA4 \"q\"\t.txt\n",
         "a.zip: atZipExe, start offset 4096\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArcList::EntryLine(c.format, Sample()), c.entry);
        EXPECT_EQ(ArcList::ArchiveLine(c.format, L"a.zip", atZipExe, 4096), c.archive);
    }
    EXPECT_EQ(ArcList::TotalsLine(Format::Text, 2, 35, 444), "  2 entries, 35 packed, 444 unpacked, 92% saved\n");
    EXPECT_EQ(ArcList::TotalsLine(Format::Json, 2, 35, 444), "");
    EXPECT_EQ(ArcList::ErrorLine(Format::Json, L"x", atUnknown, "Unknown file type"),
              "{\"archive\":\"x\",\"type\":\"atUnknown\",\"error\":\"Unknown file type\"}\n");
    EXPECT_EQ(ArcList::JsonString(std::string("\x01", 1)), "\"\\u0001\"");
}

} // namespace
