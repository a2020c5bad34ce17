#include "catalogue/catalogue/FactsFile.h"

#include <gtest/gtest.h>

using namespace FactsFile;

namespace {

struct MemorySink : ByteSink {
    std::string bytes;
    bool Write(std::string_view piece) override
    {
        bytes += piece;
        return true;
    }
    bool Restart() override
    {
        bytes.clear();
        return true;
    }
};

const VolumeIdentity kDisc{L"E:\\", L"FOTOS 2019", 0x1234ABCD, 5};
const VolumeIdentity kShare{L"\\\\server\\share\\", L"", 0, 4};

// Facts of 3 lines on two volumes and one without, for a .dat of 100 bytes with check 7.
std::string SampleFile()
{
    Builder builder;
    builder.Add({4096, 0x01D0000012345678ull, 0x20, builder.Volume(kDisc)});
    builder.Add({uint64_t(5) << 32, 0, 0x1, builder.Volume(kShare)});
    builder.Add({0, 1, 0x10, builder.Volume(kDisc)});
    MemorySink sink;
    EXPECT_TRUE(builder.Write(sink, 100, 7));
    return sink.bytes;
}

TEST(FactsFile, RoundTripKeepsEveryFactAndVolume)
{
    Reader reader;
    ASSERT_TRUE(reader.Open(SampleFile()));
    EXPECT_TRUE(reader.Belongs(100, 7));
    ASSERT_EQ(reader.LineCount(), 3u);
    Line line;
    ASSERT_TRUE(reader.LineAt(1, line));
    EXPECT_EQ(line.size, uint64_t(5) << 32);
    EXPECT_EQ(line.attributes, 1u);
    ASSERT_NE(reader.VolumeAt(line.volume), nullptr);
    EXPECT_EQ(*reader.VolumeAt(line.volume), kShare);
    ASSERT_TRUE(reader.LineAt(2, line));
    EXPECT_EQ(line.writeTime, 1u);
    EXPECT_EQ(*reader.VolumeAt(line.volume), kDisc) << "a volume is stored once";
    EXPECT_FALSE(reader.LineAt(3, line));
    EXPECT_EQ(reader.VolumeAt(0), nullptr);
    EXPECT_EQ(reader.VolumeAt(3), nullptr);
}

TEST(FactsFile, FactsOfAnotherDatOrDamagedOnesAreNotTrusted)
{
    const std::string good = SampleFile();
    Reader reader;
    ASSERT_TRUE(reader.Open(good));
    EXPECT_FALSE(reader.Belongs(101, 7)) << "another size";
    EXPECT_FALSE(reader.Belongs(100, 8)) << "another check value";

    std::string flipped = good;
    flipped[40] ^= 1;
    std::string longer = good;
    longer.insert(longer.end() - 4, 24, '\0');
    const std::string cases[] = {
        "", "SRTF", good.substr(0, good.size() - 1), good.substr(0, 28), flipped, longer, good + "x",
        std::string(good.size(), '\0'), "XXXX" + good.substr(4),
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(reader.Open(bytes)) << bytes.size() << " bytes";
        Line line;
        EXPECT_FALSE(reader.LineAt(0, line));
        EXPECT_FALSE(reader.Belongs(100, 7));
    }
}

} // namespace
