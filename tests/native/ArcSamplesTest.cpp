// Archives made by the real archivers when the tests start (tests/archive/make-samples.sh) and
// third-party archives made by the original programs (the shared fixtures folder).
#include "catalogue/archive/ArcList.h"
#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using namespace ArcTest;

struct EntryCase {
    const char* archive;
    TArcType type;
    long long start; // -1: not checked
    size_t count;
    const char* name; // one entry, found by name (the order of directory reads differs)
    long long packed; // -1: not checked
    uint32_t unpacked;
    const wchar_t* method;
    const char* date;
    bool complete = true; // false: damaged, listed up to the damage
};

void Check(const EntryCase& c, const std::wstring& path)
{
    TArcReader reader;
    reader.ShowEmptyDirs = true;
    reader.SetArchiveFile(path);
    ASSERT_EQ(reader.ArcType(), c.type) << ArcTypeName(reader.ArcType());
    EXPECT_EQ(c.start < 0 ? -1 : static_cast<long long>(reader.StartOffset()), c.start);
    std::vector<TArcEntry> entries;
    EXPECT_EQ(reader.ReadEntries(entries), c.complete);
    EXPECT_EQ(entries.size(), c.count);
    if (!c.name)
        return;
    const std::wstring wanted = DecodeUtf8(reinterpret_cast<const uint8_t*>(c.name), std::strlen(c.name));
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const TArcEntry& e) { return e.FileName == wanted; });
    ASSERT_NE(found, entries.end()) << "no entry " << c.name;
    EXPECT_EQ(c.packed < 0 ? -1 : static_cast<long long>(found->PackedSize), c.packed) << c.name;
    EXPECT_EQ(found->UnpackedSize, c.unpacked) << c.name;
    EXPECT_EQ(found->MethodText, c.method) << c.name;
    EXPECT_EQ(c.date ? ArcList::FormatDate(found->Date) : "", c.date ? c.date : "") << c.name;
}

void CheckAll(const char* variable, const char* what, const std::vector<EntryCase>& cases)
{
    int missing = 0;
    for (const EntryCase& c : cases) {
        const std::wstring path = SamplePath(variable, c.archive);
        if (!SystemFileSystem().Open(path)) {
            ++missing;
            std::printf("  %s missing (%s)\n", c.archive, what);
            continue;
        }
        SCOPED_TRACE(c.archive);
        Check(c, path);
    }
    if (missing == static_cast<int>(cases.size()))
        GTEST_SKIP() << "none of the " << what << " is there (" << SampleFolder(variable) << ")";
}

const char* const kStamp = "2021-03-04 05:06:08";

// Names, sizes and dates of most of these archives are compared with lsar's listing as well
// (compare-lsar.py); the rows here hold what that does not check: the type, the start offset,
// the method and the archives that lsar does not list alike.
TEST(ArcSamples, ArchivesMadeByTheRealTools)
{
    const std::string dotLong =
        ".\\" + std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\" + std::string(40, 'f') + ".txt";
    const std::vector<EntryCase> cases = {
        {"sfx-unadjusted.exe", atZipExe, 4096, 5, "hello.txt", 29, 440, L"DeflateX", kStamp},
        {"sfx-streamed-unadjusted.exe", atZipExe, 4096, 2, "tiny.txt", -1, 4, L"DeflateN", kStamp},
        // Streamed entries behind the stub sizes found without a search: listed from the central
        // directory; cut before it, the first entry's size is unknown and reported.
        {"sfx7612-streamed.exe", atZipExe, 7612, 2, "hello.txt", 29, 440, L"DeflateN", kStamp},
        {"sfx7612-streamed-cut.exe", atZipExe, 7612, 0, nullptr, 0, 0, L"", nullptr, false},
        {"sfx25661-streamed-adjusted.exe", atZipExe, 25661, 2, "hello.txt", 29, 440, L"DeflateN", kStamp},
        {"sfx25661-streamed-cut.exe", atZipExe, 25661, 0, nullptr, 0, 0, L"", nullptr, false},
        {"sfx7612-zip64.exe", atZipExe, 7612, 1, "-", 15, 15, L"Stored", kStamp},
        {"lha-level1.lzh", atLha, 0, 5, "sub\\", 0, 0, L"<DIR>", kStamp},
        {"arc-lzw.arc", atArc, 0, 3, "LongFileName", -1, 45, L"Crunched", kStamp},
        {"cab-mszip.cab", atCab, 0, 3, "hello.txt", 440, 440, L"MsZIP", kStamp},
        {"gzip-name.gz", atGZip, 0, 1, "hello.txt", 29, 440, L"Deflate", kStamp},
        {"gzip-noname.txt.gz", atGZip, 0, 1, "gzip-noname.txt", 29, 440, L"Deflate", "1980-01-01 00:00:00"},
        {"tar-ustar.tar", atTar, 0, 5, "sub\\", 0, 0, L"Dir", kStamp},
        {"tar-pax-long.tar", atTar, 0, 4, dotLong.c_str(), 5, 5, L"Tarred", kStamp},
    };
    CheckAll("SORTARO_ARCHIVE_SAMPLES", "tool-made samples", cases);
}

TEST(ArcSamples, ArchivesMadeByTheOriginalPrograms)
{
    const std::vector<EntryCase> cases = {
        {"unarc/ace_license1.ace", atAce, 0, 1, "LICENSE", 3952, 11357, L"Good", "2024-05-16 23:08:26"},
        // An entry continued in the following volumes counts their parts too.
        {"unarc/ace_multi_unarc.ace", atAce, 0, 1, "UNARC", 599929 + 599929 + 286818, 4007168, L"Good", nullptr},
        {"unarc/rar_multi_unarc.part1.rar", atRar, 0, 1, "unarc", 614238 + 614237 + 124251, 4007168, L"Normal",
         nullptr},
        {"libarchive/test_rar_multivolume_single_file.part1.rar", atRar, 0, 1, "LibarchiveAddingTest.html", 20111,
         20111, L"Stored", nullptr},
        {"unarc/arc_squashed.arc", atArc, 0, 1, "LICENSE", 5279, 11357, L"Squashed", nullptr},
        {"unarc/arj_multi_test_file.a01", atArj, 0, 1, "TEST.ICY", 9302, 13723, L"Most", nullptr},
        {"unarc/ha_asc.ha", atHA, 0, 1, "license", 3851, 11357, L"Asc", "2025-09-05 15:30:22"},
        {"unarc/ha_copy.ha", atHA, 0, 1, "license", 11357, 11357, L"Cpy", nullptr},
        {"unarc/pak_license_crushed.pak", atPak, 0, 1, "LICENSE", 5261, 11357, L"Crushed", nullptr},
        {"unarc/zoo_default.zoo", atZoo, 0, 1, "license", 5282, 11357, L"Fastest", "2024-05-16 23:08:26"},
        {"unarc/acid-70a.rar", atRar, 0, 28, "AcidView\\AcidText.class", 974, 1544, L"Best", "1998-04-26 11:32:16"},
        // RAR 3 keeps a packed Unicode form behind the 8-bit name; RAR for Unix writes UTF-8.
        {"libarchive/test_read_format_rar_unicode.rar", atRar, 0, 6,
         "\u8868\u3060\u3088\\\u6f22\u5b57\u9577\u3044\u30d5\u30a1\u30a4\u30eb\u540dlong-filename-in-\u6f22\u5b57.txt",
         5, 5, L"Stored", nullptr},
        {"libarchive/test_read_format_rar_unicode.rar", atRar, 0, 6, "abcdefghijklmnopqrs\u30c6\u30b9\u30c8.txt", 15,
         16, L"Normal", nullptr},
        {"libarchive/test_read_format_rar5_win32.rar", atRar, 0, 8, "testdir", 0, 0, L"<Dir>", nullptr},
        {"libarchive/test_read_format_cab_3.cab", atCab, 0, 4, "dir1\\file1", 60, 60, L"Lzx", nullptr},
        {"libarchive/test_read_format_lha_header3.lzh", atLha, 0, 4, "file1", 36, 60, L"Frozen-5", nullptr},
        // Amiga LhA keeps a comment behind the name: not part of it.
        {"lhasa/morphos_lha_2717__h1_metadata.lzh", atLha, 0, 1, "metadata.txt", 29, 29, L"Stored", nullptr},
        {"libarchive/test_compat_gtar_1.tar", atTar, 0, 2, nullptr, 0, 0, L"", nullptr},
        {"is3/TestArchive1-HighCompression.Z", atMSGZ, 0, 3, "Text\\APACHE-LICENSE-2.0.txt", 4426, 11358, L"",
         "2022-04-16 18:53:02"},
        {"unarc/hyp_license.hyp", atUnknown, -1, 0, nullptr, 0, 0, L"", nullptr, false},
    };
    CheckAll("SORTARO_ARCHIVE_FIXTURES", "third-party samples", cases);
}

TEST(ArcSamples, TheSystemFileSystemReadsRealFiles)
{
    const std::wstring path = SamplePath("SORTARO_ARCHIVE_SAMPLES", "zip-stored.zip");
    TArcFileSystem& files = SystemFileSystem();
    std::unique_ptr<TArcFile> file = path.empty() ? nullptr : files.Open(path);
    if (!file)
        GTEST_SKIP() << "tool-made samples not there";
    EXPECT_EQ(file->Size(), 652u);
    uint8_t head[4] = {};
    EXPECT_EQ(file->ReadAt(0, head, 4), 4u);
    EXPECT_EQ(std::string(head, head + 4), "PK\3\4");
    EXPECT_EQ(file->ReadAt(650, head, 4), 2u); // a short read at the end
    EXPECT_EQ(file->ReadAt(652, head, 4), 0u);
    int64_t mtime = 0;
    EXPECT_TRUE(files.ModifiedTime(path, mtime));
    EXPECT_GT(mtime, 1600000000); // made when the tests started
    // Neither the build machine's folders nor Wine's drives are removable disks.
    EXPECT_FALSE(files.IsRemovable(path));
    EXPECT_FALSE(files.HasSpannedSetLabel(path));
    EXPECT_EQ(files.Open(path + L".missing"), nullptr);
}

} // namespace
