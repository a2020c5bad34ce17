// Inputs the fuzzer reported, one named test each: every query must end and list what the
// archive's headers allow. The files live in tests/fuzz/regressions/.
#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace ArcTest;

struct RegressionCase {
    const char* file;
    TArcType type;
    size_t entries;
};

void Walk(const RegressionCase& c)
{
    const std::wstring path = SamplePath("SORTARO_ARCHIVE_REGRESSIONS", c.file);
    TArcReader reader;
    reader.SetArchiveFile(path);
    ASSERT_EQ(reader.ArcType(), c.type) << c.file;
    std::vector<TArcEntry> entries;
    ASSERT_TRUE(reader.ReadEntries(entries)) << c.file;
    EXPECT_EQ(entries.size(), c.entries) << c.file;
    std::vector<std::wstring> names;
    ASSERT_TRUE(reader.FilesInArchive(&names));
    EXPECT_EQ(names.size(), c.entries);
    if (!names.empty()) {
        EXPECT_TRUE(reader.GetFileInfo(names.back()));
    }
    reader.OnRead = [](const TArcEntry&, uint64_t, uint32_t) {};
    EXPECT_TRUE(reader.Activate());
}

// A cabinet whose file entries fill 47 KB (469 of them): reported as a timeout
// while the machine was busy; the walk is linear and takes milliseconds alone.
TEST(ArcRegression, CabinetWithHundredsOfEntries)
{
    Walk({"cab-hundreds-of-entries.bin", atCab, 469});
}

// A RAR file header whose packed Unicode name ends with a flag byte announcing one more
// character: the unpacking read one byte past the header.
TEST(ArcRegression, RarUnicodeNameCutShort)
{
    Walk({"rar-unicode-name-cut-short.bin", atRar, 1});
}

// A pax header whose record "03 " is only its length and the blank: cutting the key and
// value out of it asked for a string of length -1, and the exception ended the program.
TEST(ArcRegression, TarPaxRecordTooShort)
{
    Walk({"tar-pax-record-too-short.bin", atTar, 1});
}

} // namespace
