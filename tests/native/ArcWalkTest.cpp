#include "catalogue/archive/ArcList.h"
#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace ArcTest;

struct Listing {
    bool ok = false;
    std::vector<TArcEntry> entries;
    std::vector<TArcError> errors;
};

// Lists bytes kept in memory under a name: detection, then ReadEntries (which keeps the
// entries read before any damage).
Listing List(const Bytes& bytes, const std::wstring& name, bool showDirs = false, bool oem = true)
{
    TMemoryFileSystem files;
    files.Add(name, bytes);
    TArcReader reader(files);
    reader.ShowEmptyDirs = showDirs;
    reader.TranslateOemChar = oem;
    Listing l;
    reader.OnError = [&](TArcError e, const std::wstring&, const std::wstring&) { l.errors.push_back(e); };
    reader.SetArchiveFile(name);
    l.ok = reader.ReadEntries(l.entries);
    return l;
}

// An entry on one line: name, method, packed/unpacked size, ratio, CRC, date, header offset and
// whether it is encrypted.
std::string Describe(const TArcEntry& e)
{
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", e.Crc);
    return EncodeUtf8(e.FileName) + " " + EncodeUtf8(e.MethodText) + " " + std::to_string(e.PackedSize) + "/" +
           std::to_string(e.UnpackedSize) + " " + std::to_string(e.Ratio) + "% " + crc + " " +
           ArcList::FormatDate(e.Date) + " @" + std::to_string(e.HeaderOffset) + (e.Encrypted ? " locked" : "");
}

// Archives that no tool here makes, or with fields the tools do not write: every field of
// every entry, as the headers give them.
TEST(ArcWalk, EntriesFromTheirHeaders)
{
    struct Case {
        const char* what;
        std::wstring name;
        Bytes bytes;
        std::vector<std::string> entries;
        bool showDirs = false;
        bool oem = true;
    };
    const Bytes zip = MakeZip({{"dir/", "", 0, 0, 0x10},
                               {"dir/max.bin", std::string(10, 'x'), 8, 2, 0x20, kDosStamp, 1000},
                               {"nodate.bin", "x", 0, 0, 0x20, 0},
                               {"lock.bin", "x", 0, 1}});
    const std::vector<std::string> zipEntries = {"dir\\max.bin DeflateX 10/1000 99% 12345678 2021-03-04 05:06:08 @34",
                                                 "nodate.bin Stored 1/1 0% 12345678 1980-01-01 00:00:00 @85",
                                                 "lock.bin Stored 1/1 0% 12345678 2021-03-04 05:06:08 @126 locked"};
    std::vector<std::string> zipWithFolder = zipEntries;
    zipWithFolder.insert(zipWithFolder.begin(), "dir\\  0/0 0% 12345678 2021-03-04 05:06:08 @0");
    // Code page 437 or Windows-1252 unless flag bit 11 says UTF-8; NUL becomes a blank.
    const Bytes names = MakeZip({{"\x84rger.txt", "x"}, {"\xC3\xA4ra.txt", "x", 0, 0x800}, {"a\0b/c"s, "x"}});
    const auto named = [](const char* first) {
        return std::vector<std::string>{std::string(first) + " Stored 1/1 0% 12345678 2021-03-04 05:06:08 @0",
                                        "\xC3\xA4ra.txt Stored 1/1 0% 12345678 2021-03-04 05:06:08 @40",
                                        "a b\\c Stored 1/1 0% 12345678 2021-03-04 05:06:08 @79"};
    };
    // BH: no tool here makes it, so the test builds it by the published layout.
    const auto bh = [](const std::string& name, uint32_t flags, uint32_t method, const std::string& data,
                       uint32_t unpacked) {
        return Cat("BH\5\7"s, U16{33 + name.size()}, U8{0}, U8{0x14}, U8{0x0A}, U8{flags}, U8{method}, U32{kDosStamp},
                   U32{data.size()}, U32{unpacked}, U32{0xCAFEBABE}, U16{0x20}, U16{name.size()}, U16{0}, name, data);
    };
    // PAK: members, the end mark, then records that put members 1 and 3 into folders.
    const auto pak = [](uint32_t method, std::string name, const std::string& data) {
        name.resize(13, '\0');
        return Cat(U8{0x1A}, U8{method}, name, U32{data.size()}, U32{0x28C45264}, U16{0x1234}, U32{data.size()}, data);
    };
    const auto record = [](uint32_t type, uint32_t member, const std::string& data) {
        return Cat(U8{0xFE}, U8{type}, U16{member}, U32{data.size()}, data);
    };
    // TAR: a 1-byte entry, its size after blanks; the next header starts 512 bytes after the
    // start of its data, and has an empty time field.
    const Bytes tar =
        Cat(TarHeader("one.txt", '0', "  1"), "x"s, Zeros{511}, TarHeader("two.txt", '0', "0", ""), Zeros{1024});
    const Case cases[] = {
        {"ZIP: folders only with ShowEmptyDirs", L"t.zip", zip, zipEntries},
        {"ZIP: the same, with them", L"t.zip", zip, zipWithFolder, true},
        {"ZIP: OEM names", L"t.zip", names, named("\xC3\xA4rger.txt")},
        {"ZIP: ANSI names", L"t.zip", names, named("\xE2\x80\x9Erger.txt"), false, false},
        {"BH",
         L"t.bh",
         Cat(bh("readme.txt", 2, 8, "packed", 100), bh("data\\raw.bin", 1, 0, "raw", 3)),
         {"readme.txt DeflateX 6/100 94% CAFEBABE 2021-03-04 05:06:08 @0",
          "data\\raw.bin Stored 3/3 0% CAFEBABE 2021-03-04 05:06:08 @49 locked"}},
        {"PAK folder records",
         L"t.pak",
         Cat(pak(10, "A.TXT", "aaaa"), pak(2, "B.TXT", "bb"), pak(2, "C.TXT", "c"), "\x1A\0"s,
             record(1, 0, "a comment"), record(2, 1, "DOCS\\OLD\0"s), record(2, 2, ""), record(2, 3, "TOOLS/"),
             record(2, 9, "NOWHERE"), "\xFE\0"s),
         {"DOCS\\OLD\\A.TXT Crushed 4/4 0% 00001234 2021-03-04 05:06:08 @0",
          "B.TXT Stored 2/2 0% 00001234 2021-03-04 05:06:08 @33",
          "TOOLS\\C.TXT Stored 1/1 0% 00001234 2021-03-04 05:06:08 @64"}},
        {"UUE: a text, nothing to list", L"m.uue", Cat("begin 644 a.txt\nM...\n"s), {}},
        {"TAR",
         L"t.tar",
         tar,
         {"one.txt Tarred 1/1 0% 00000A83 2021-03-04 05:06:08 @0",
          "two.txt Tarred 0/0 0% 00000835 1980-01-01 00:00:00 @1024"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Listing l = List(c.bytes, c.name, c.showDirs, c.oem);
        EXPECT_TRUE(l.ok);
        std::vector<std::string> described;
        for (const TArcEntry& e : l.entries)
            described.push_back(Describe(e));
        EXPECT_EQ(described, c.entries);
    }
}

// Damaged archives of every format: each walk must end, list what it safely can, read nothing
// outside the file and report the damage.
TEST(ArcWalk, DamageEndsTheWalkWithAnError)
{
    struct Case {
        const char* what;
        size_t entries;
        std::vector<TArcError> errors;
        Bytes bytes;
        std::wstring name = L"t.bin";
    };
    const std::vector<TArcError> none, bad{TArcError::BadFileHeader}, readError{TArcError::ReadError};
    const Bytes zip = MakeZip({{"a.txt", "abc"}, {"b.txt", "de"}});
    const size_t central = 2 * 30 + 10 + 5;
    const auto damaged = [](Bytes b, size_t at, const Bytes& patch) {
        std::copy(patch.begin(), patch.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    const Bytes one = MakeZip({{"a.txt", "abc"}});
    // An entry with a data descriptor and no sizes in its header: where its data ends is not
    // known, so it is reported instead of listed with sizes 0.
    Bytes streamed = MakeZip({{"a.txt", "abc", 0, 8}, {"b.txt", "de", 0, 8}});
    Poke(streamed, 18, U64{0});
    const Bytes rarHead = Cat("Rar!\x1A\x07\0"s, U16{0});
    const Bytes zooHead = Cat("ZOO 2.10 Archive.\x1A"s, Zeros{2}, U32{0xFDC4A7DC}, U32{42}, U32{~41u}, Zeros{10});
    // Its next link points back to the first entry.
    const Bytes zooEntry = Cat(U32{0xFDC4A7DC}, U8{1}, U8{0}, U32{42}, Zeros{28}, "x"s, Zeros{12});
    Bytes msgz = Cat("\x13\x5D\x65\x8C"s, Zeros{8}, U16{1000}, Zeros{85});
    Poke(msgz, 51, U32{59}); // the directory at 59 holds a file record of size 0
    const Case cases[] = {
        {"an unknown file", 0, {TArcError::UnknownFileType}, Bytes(100, 'q')},
        {"no archive named", 0, {TArcError::FileNotFound}, zip, L""},
        {"ZIP cut before the central directory: the local headers are walked", 2, readError,
         Bytes(zip.begin(), zip.begin() + central)},
        {"ZIP, streamed, cut", 0, {TArcError::SizeUnknown}, Bytes(streamed.begin(), streamed.begin() + central)},
        {"ZIP: a broken first central header (the local headers are walked)", 2, bad, damaged(zip, central, Cat("X"s))},
        {"ZIP: a broken second one keeps the first entry", 1, bad, damaged(zip, central + 46 + 5, Cat("X"s))},
        {"ZIP: a spanning marker and no header after it", 0, bad, Cat("PK\7\10"s, Zeros{40})},
        {"ZIP: a name length beyond the file", 1, readError, damaged(zip, central + 46 + 5 + 28, Cat(U16{0xFFFF}))},
        {"ZIP: an end record naming a central directory beyond the file", 1, none,
         damaged(one, one.size() - 6, Cat(U32{0x7FFFFFFF}))},
        {"ZIP64: a packed size that wraps the position back onto the same header", 0, bad,
         Cat("PK\3\4"s, U16{45}, Zeros{12}, U32{0xFFFFFFFF}, U32{0xFFFFFFFF}, U16{1}, U16{20}, "a"s, U16{1}, U16{16},
             U64{1}, U64{0 - 51ULL})},
        {"ARJ: basic header size 0 right away", 0, none, Cat(U16{0xEA60}, U16{0}, Zeros{30})},
        {"ARJ: header size 3000", 0, bad, Cat(U16{0xEA60}, U16{3000}, Zeros{30})},
        {"ZOO: a link pointing back", 1, none, Cat(zooHead, zooEntry, zooEntry)},
        {"LHA: level 2 with a header size of 5", 0, bad, Cat(U16{5}, "-lh0-"s, Zeros{13}, U8{0x20}, U8{2}, Zeros{10})},
        {"LHA: level 1 extended headers beyond the file", 0, bad,
         Cat(U8{26}, U8{0}, "-lh0-"s, Zeros{8}, U32{kDosStamp}, U8{0x20}, U8{1}, U8{1}, "a"s, U16{0}, "M"s, U16{0xFFF0},
             Zeros{10})},
        {"RAR: a block with a head size of 0", 0, bad, Cat(rarHead, U8{0x73}, Zeros{24})},
        {"RAR: a 64-bit packed size that wraps the position back onto the same block", 1, none,
         Cat(rarHead, U8{0x74}, U16{0x8100}, U16{41}, U32{0x100000000ULL - 41}, U32{1}, U8{0}, U32{0}, U32{kDosStamp},
             U8{29}, U8{0x30}, U16{1}, U32{0x20}, U32{0xFFFFFFFF}, U32{0}, "a"s, Zeros{20})},
        {"TAR: a size of 64 GB in a 1.5 KB file", 1, none, Cat(TarHeader("big.bin", '0', "777777777777"), Zeros{1024})},
        {"HA: a packed size far beyond the file", 1, none,
         Cat("HA"s, U16{2}, U8{0x20}, U32{0xFFFFFFF0}, U32{5}, U32{0}, U32{1614834368}, U8{0}, "a.txt"s, Zeros{12})},
        {"CAB: 65535 files announced, one present", 1, none,
         Cat("MSCF"s, Zeros{12}, U32{44}, U32{0}, U8{3}, U8{1}, U16{1}, U16{0xFFFF}, Zeros{12}, U16{1}, U32{4}, U32{0},
             U16{0}, U32{0x28C45264}, U16{0x20}, "a.txt\0"s)},
        {"ACE: a block size of 0 after the archive header", 0, none,
         Cat(U16{0}, U16{27}, U8{0}, U16{0}, "**ACE**"s, Zeros{34})},
        {"InstallShield Z: a file record of size 0", 0, bad, msgz},
        {"ARC: a packed size that wraps the position", 1, readError,
         Cat(U8{0x1A}, U8{2}, "a.txt"s, Zeros{8}, U32{0xFFFFFFFF}, U32{0x28C45264}, U16{0}, U32{4}, Zeros{10})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Listing l = List(c.bytes, c.name);
        EXPECT_EQ(l.ok, c.errors.empty());
        EXPECT_EQ(l.errors, c.errors);
        EXPECT_EQ(l.entries.size(), c.entries);
    }
}

TEST(ArcWalk, EventsFireInOrder)
{
    TMemoryFileSystem files;
    files.Add(L"e.zip", MakeZip({{"a.txt", "abc"}, {"b.doc", "de"}}));
    TArcReader reader(files);
    std::vector<std::string> log;
    reader.OnError = [&](TArcError e, const std::wstring&, const std::wstring&) {
        log.push_back("Error " + std::to_string(static_cast<int>(e)));
    };
    reader.SetArchiveFile(L"e.zip");
    EXPECT_FALSE(reader.Activate()); // OnRead is required
    reader.OnActivate = [&] { log.push_back("Activate"); };
    reader.OnReadFile = [&](const std::wstring& n) { log.push_back("ReadFile " + EncodeUtf8(n)); };
    reader.OnReadBegin = [&] { log.push_back("ReadBegin"); };
    reader.OnRead = [&](const TArcEntry& e, uint64_t offset, uint32_t index) {
        log.push_back("Read " + EncodeUtf8(e.FileName) + " " + std::to_string(offset) + " " + std::to_string(index));
    };
    reader.OnReadEnd = [&] { log.push_back("ReadEnd"); };
    reader.OnTotals = [&](uint64_t p, uint64_t u, int, uint32_t n) {
        log.push_back("Totals " + std::to_string(p) + " " + std::to_string(u) + " " + std::to_string(n));
    };
    reader.OnDeactivate = [&] { log.push_back("Deactivate"); };
    reader.OnElapsedTime = [&](uint32_t) { log.push_back("ElapsedTime"); };
    reader.FileSpec = {L"*.txt"};
    ASSERT_TRUE(reader.Activate());
    const std::vector<std::string> expected = {"Error 1",        "Activate",   "ReadFile a.txt", "ReadBegin",
                                               "Read a.txt 0 0", "ReadEnd",    "ReadFile b.doc", "Totals 3 3 1",
                                               "Deactivate",     "ElapsedTime"};
    EXPECT_EQ(log, expected);
}

TEST(ArcWalk, QueriesPerNameGiveWhatOneWalkGives)
{
    TMemoryFileSystem files;
    files.Add(L"d.zip", MakeZip({{"az.txt", "1"}, {"sub/az.txt", "22"}, {"b.txt", "333"}, {"AZ.TXT", "4444"}}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"d.zip");
    std::vector<std::wstring> names;
    ASSERT_TRUE(reader.FilesInArchive(&names));
    std::vector<TArcEntry> rows;
    ASSERT_TRUE(reader.ReadEntries(rows));
    ASSERT_EQ(rows.size(), names.size());
    // "az.txt" and "AZ.TXT" are one name: the last one counts. The per-name pattern without "\"
    // also matches "sub\az.txt"; one walk keeps folders apart.
    const uint64_t sizes[] = {4, 2, 3, 4};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].FileName, names[i]);
        EXPECT_EQ(rows[i].UnpackedSize, sizes[i]);
        ASSERT_TRUE(reader.GetFileInfo(names[i]));
        EXPECT_EQ(reader.Entry().UnpackedSize, sizes[i]);
    }
    // A name that is not there: true, with empty fields; an empty name: false.
    EXPECT_TRUE(reader.GetFileInfo(L"missing.txt"));
    EXPECT_EQ(Describe(reader.Entry()), "  0/0 0% 00000000 1899-12-30 00:00:00 @0");
    EXPECT_FALSE(reader.GetFileInfo(L""));
    EXPECT_EQ(reader.FileSpec, std::vector<std::wstring>{L"*.*"});
}

TEST(ArcWalk, TheProgressHookCanCancelAndStartQueries)
{
    TMemoryFileSystem files;
    files.Add(L"r.zip", MakeZip({{"a", "1"}, {"b", "22"}, {"c", "333"}}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"r.zip");
    int calls = 0;
    reader.OnProgress = [&] { return ++calls < 2; };
    std::vector<std::wstring> names;
    EXPECT_TRUE(reader.FilesInArchive(&names));
    EXPECT_EQ(names, std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(reader.Cancelled());
    reader.OnProgress = nullptr;
    EXPECT_TRUE(reader.FilesInArchive(&names)); // the next walk starts afresh
    EXPECT_EQ(names.size(), 3u);
    // A query started from the hook leaves the outer walk its count and totals, and a cancel
    // asked for before the inner query.
    for (const bool cancelFirst : {false, true}) {
        bool inner = false;
        std::vector<std::wstring> innerNames;
        reader.OnProgress = [&] {
            if (!inner) {
                inner = true;
                if (cancelFirst)
                    reader.Cancel();
                reader.FilesInArchive(&innerNames);
            }
            return true;
        };
        std::vector<TArcEntry> rows;
        ASSERT_TRUE(reader.ReadEntries(rows));
        EXPECT_EQ(innerNames.size(), 3u);
        EXPECT_EQ(reader.Cancelled(), cancelFirst);
        ASSERT_EQ(rows.size(), cancelFirst ? 0u : 3u);
        EXPECT_EQ(reader.Count(), rows.size());
        EXPECT_EQ(reader.UnpackedTotal(), cancelFirst ? 0u : 6u);
        if (!cancelFirst) {
            EXPECT_EQ(rows[2].UnpackedSize, 3u);
        }
    }
}

// A file of several GiB of which only a few ranges hold bytes: ZIP64 archives without the disk.
struct SparseFile : TArcFile {
    uint64_t size;
    std::map<uint64_t, Bytes> parts;
    SparseFile(uint64_t n, std::map<uint64_t, Bytes> p) : size(n), parts(std::move(p)) {}
    uint64_t Size() const override { return size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override
    {
        n = static_cast<size_t>(std::min<uint64_t>(n, offset < size ? size - offset : 0));
        uint8_t* out = static_cast<uint8_t*>(buffer);
        std::fill(out, out + n, 0);
        for (const auto& [at, bytes] : parts) {
            for (uint64_t i = std::max(at, offset); i < std::min(at + bytes.size(), offset + n); ++i)
                out[i - offset] = bytes[static_cast<size_t>(i - at)];
        }
        return n;
    }
};

struct SparseFileSystem : TMemoryFileSystem {
    SparseFile file;
    explicit SparseFileSystem(SparseFile file) : file(std::move(file)) {}
    std::unique_ptr<TArcFile> Open(const std::wstring&) override { return std::make_unique<SparseFile>(file); }
};

TEST(ArcWalk, Zip64SizesAndACentralDirectoryBeyond4GiB)
{
    const uint64_t packed = uint64_t{5} << 30, unpacked = uint64_t{6} << 30;
    const Bytes local = Cat("PK\3\4"s, U16{45}, U16{0}, U16{8}, U32{kDosStamp}, U32{0x12345678}, U32{0xFFFFFFFF},
                            U32{0xFFFFFFFF}, U16{7}, U16{20}, "big.bin"s, U16{1}, U16{16}, U64{unpacked}, U64{packed});
    const uint64_t central = local.size() + packed;
    // The central header holds 0xFFFFFFFF for the sizes and the offset, the extra field their
    // 64-bit forms in that order.
    const Bytes header = Cat("PK\1\2"s, U16{0x031E}, U16{45}, U16{0}, U16{8}, U32{kDosStamp}, U32{0x12345678},
                             U32{0xFFFFFFFF}, U32{0xFFFFFFFF}, U16{7}, U16{28}, Zeros{6}, U32{0x20}, U32{0xFFFFFFFF},
                             "big.bin"s, U16{1}, U16{24}, U64{unpacked}, U64{packed}, U64{0});
    const Bytes tail = Cat(header, "PK\6\6"s, U64{44}, U16{45}, U16{45}, Zeros{8}, U64{1}, U64{1}, U64{header.size()},
                           U64{central}, "PK\6\7"s, U32{0}, U64{central + header.size()}, U32{1}, "PK\5\6"s, Zeros{4},
                           U32{0xFFFFFFFF}, U32{0xFFFFFFFF}, U32{0xFFFFFFFF}, U16{0});
    SparseFileSystem files(SparseFile(central + tail.size(), {{0, local}, {central, tail}}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"big.zip");
    EXPECT_EQ(reader.ZipState(),
              TArcReader::kZipEndRecord | TArcReader::kZipCentralHeader | TArcReader::kZipLocalHeader);
    std::vector<TArcEntry> entries;
    ASSERT_TRUE(reader.ReadEntries(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(Describe(entries[0]), "big.bin DeflateN 5368709120/6442450944 16% 12345678 2021-03-04 05:06:08 @0");
    EXPECT_EQ(reader.PackedTotal(), packed);
}

} // namespace
