#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace ArcTest;

struct Listing {
    bool ok = false;
    std::vector<std::wstring> names;
    std::vector<TArcError> errors;
};

// Lists bytes kept in memory under a name: detection, then ReadEntries (which keeps the
// entries read before any damage).
Listing List(const Bytes& bytes, const std::wstring& name = L"t.bin", bool showDirs = false)
{
    TMemoryFileSystem files;
    files.Add(name, bytes);
    TArcReader reader(files);
    reader.ShowEmptyDirs = showDirs;
    Listing l;
    reader.OnError = [&](TArcError e, const std::wstring&, const std::wstring&) { l.errors.push_back(e); };
    reader.SetArchiveFile(name);
    std::vector<TArcEntry> rows;
    l.ok = reader.ReadEntries(rows);
    for (const TArcEntry& e : rows)
        l.names.push_back(e.FileName);
    return l;
}

std::vector<TArcEntry> Entries(const Bytes& bytes, const std::wstring& name = L"t.bin")
{
    TMemoryFileSystem files;
    files.Add(name, bytes);
    TArcReader reader(files);
    reader.SetArchiveFile(name);
    std::vector<TArcEntry> entries;
    EXPECT_TRUE(reader.ReadEntries(entries));
    return entries;
}

TEST(ArcWalkZip, FolderEntriesAreListedOnlyWithShowEmptyDirs)
{
    const Bytes zip = MakeZip({{"dir/", "", 0, 0, 0x10}, {"dir/a.txt", "aaaa"}, {"b.txt", "bb"}});
    EXPECT_EQ(List(zip).names, (std::vector<std::wstring>{L"dir\\a.txt", L"b.txt"}));
    EXPECT_EQ(List(zip, L"t.bin", true).names, (std::vector<std::wstring>{L"dir\\", L"dir\\a.txt", L"b.txt"}));
}

TEST(ArcWalkZip, EntryFields)
{
    struct Case {
        ZipMember member;
        const wchar_t* method;
        uint32_t packed;
        uint32_t unpacked;
        int ratio;
        double date;
    };
    const Case cases[] = {
        {{"stored.bin", std::string(1000, 'x')}, L"Stored", 1000, 1000, 0, kStampDays},
        {{"max.bin", std::string(10, 'x'), 8, 2, 0x20, kDosStamp, 1000}, L"DeflateX", 10, 1000, 99, kStampDays},
        {{"fast.bin", std::string(10, 'x'), 8, 4, 0x20, kDosStamp, 20}, L"DeflateF", 10, 20, 50, kStampDays},
        {{"nodate.bin", "x", 0, 0, 0x20, 0}, L"Stored", 1, 1, 0, kDosEpochDays},
        {{"odd.bin", "x", 77}, L"Unsupported", 1, 1, 0, kStampDays},
        {{"lock.bin", "x", 0, 1}, L"Stored", 1, 1, 0, kStampDays},
    };
    for (const Case& c : cases) {
        const std::vector<TArcEntry> entries = Entries(MakeZip({c.member}));
        ASSERT_EQ(entries.size(), 1u);
        const TArcEntry& e = entries[0];
        EXPECT_EQ(e.MethodText, c.method) << c.member.name;
        EXPECT_EQ(e.PackedSize, c.packed) << c.member.name;
        EXPECT_EQ(e.UnpackedSize, c.unpacked) << c.member.name;
        EXPECT_EQ(e.Ratio, c.ratio) << c.member.name;
        EXPECT_DOUBLE_EQ(e.Date, c.date) << c.member.name;
        EXPECT_EQ(e.Crc, 0x12345678u);
        EXPECT_EQ(e.Encrypted, (c.member.flags & 1) != 0);
        EXPECT_EQ(e.HeaderOffset, 0u);
    }
}

TEST(ArcWalkZip, NamesLongerThan255BytesKeepTheFollowingRecordsInStep)
{
    const std::string longName = std::string(200, 'd') + "/" + std::string(99, 'f') + ".txt";
    const Bytes zip = MakeZip({{longName, "1"}, {"next.txt", "22"}, {"last.txt", "333"}});
    const std::vector<TArcEntry> entries = Entries(zip);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].FileName.size(), longName.size());
    EXPECT_EQ(entries[1].FileName, L"next.txt");
    EXPECT_EQ(entries[2].UnpackedSize, 3u);
}

TEST(ArcWalkZip, NameEncodings)
{
    struct Case {
        std::string name;
        uint16_t flags;
        bool oem;
        std::wstring expected;
    };
    const Case cases[] = {
        {"\x84rger.txt", 0, true, L"\u00e4rger.txt"},         // code page 437
        {"\x84rger.txt", 0, false, L"\u201erger.txt"},        // Windows-1252
        {"\xC3\xA4rger.txt", 0x800, true, L"\u00e4rger.txt"}, // bit 11: UTF-8
        {std::string("a\0b/c", 5), 0, true, L"a b\\c"},
    };
    for (const Case& c : cases) {
        TMemoryFileSystem files;
        files.Add(L"n.zip", MakeZip({{c.name, "x", 0, c.flags}}));
        TArcReader reader(files);
        reader.TranslateOemChar = c.oem;
        reader.SetArchiveFile(L"n.zip");
        std::vector<std::wstring> names;
        ASSERT_TRUE(reader.FilesInArchive(&names));
        EXPECT_EQ(names, std::vector<std::wstring>{c.expected}) << c.name;
    }
}

TEST(ArcWalkZip, OneWalkGivesWhatTheQueriesPerNameGive)
{
    const Bytes zip = MakeZip({{"a.txt", "1"}, {"sub/a.txt", "22"}, {"b.txt", "333"}, {"A.TXT", "4444"}});
    TMemoryFileSystem files;
    files.Add(L"d.zip", zip);
    TArcReader reader(files);
    reader.SetArchiveFile(L"d.zip");
    std::vector<std::wstring> names;
    ASSERT_TRUE(reader.FilesInArchive(&names));
    std::vector<TArcEntry> rows;
    ASSERT_TRUE(reader.ReadEntries(rows));
    ASSERT_EQ(rows.size(), names.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].FileName, names[i]);
        ASSERT_TRUE(reader.GetFileInfo(names[i]));
        // The per-name pattern without "\" also matches "sub\a.txt"; one walk keeps folders
        // apart and gives each name its own last entry.
        if (names[i] != L"a.txt" && names[i] != L"A.TXT") {
            EXPECT_EQ(rows[i].UnpackedSize, reader.Entry().UnpackedSize) << Utf8(names[i]);
        }
    }
    EXPECT_EQ(rows[0].UnpackedSize, 4u); // "a.txt" and "A.TXT" are one name: the last one counts
    EXPECT_EQ(rows[1].UnpackedSize, 2u);
    EXPECT_EQ(rows[3].UnpackedSize, 4u);
}

TEST(ArcWalkZip, GetFileInfoForAMissingNameIsTrueWithEmptyFields)
{
    TMemoryFileSystem files;
    files.Add(L"m.zip", MakeZip({{"a.txt", "abc"}}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"m.zip");
    ASSERT_TRUE(reader.GetFileInfo(L"a.txt"));
    EXPECT_EQ(reader.Entry().UnpackedSize, 3u);
    EXPECT_TRUE(reader.GetFileInfo(L"missing.txt"));
    EXPECT_EQ(reader.Entry().UnpackedSize, 0u);
    EXPECT_EQ(reader.Entry().PackedSize, 0u);
    EXPECT_EQ(reader.Entry().MethodText, L"");
    EXPECT_FALSE(reader.GetFileInfo(L""));
    EXPECT_EQ(reader.FileSpec, std::vector<std::wstring>{L"*.*"});
}

TEST(ArcWalkZip, EventsFireInOrder)
{
    TMemoryFileSystem files;
    files.Add(L"e.zip", MakeZip({{"a.txt", "abc"}, {"b.doc", "de"}}));
    TArcReader reader(files);
    std::vector<std::string> log;
    reader.OnActivate = [&] { log.push_back("Activate"); };
    reader.OnReadFile = [&](const std::wstring& n) { log.push_back("ReadFile " + Utf8(n)); };
    reader.OnReadBegin = [&] { log.push_back("ReadBegin"); };
    reader.OnRead = [&](const TArcEntry& e, uint64_t offset, uint32_t index) {
        log.push_back("Read " + Utf8(e.FileName) + " " + std::to_string(offset) + " " + std::to_string(index));
    };
    reader.OnReadEnd = [&] { log.push_back("ReadEnd"); };
    reader.OnTotals = [&](uint64_t p, uint64_t u, int, uint32_t n) {
        log.push_back("Totals " + std::to_string(p) + " " + std::to_string(u) + " " + std::to_string(n));
    };
    reader.OnDeactivate = [&] { log.push_back("Deactivate"); };
    reader.OnElapsedTime = [&](uint32_t) { log.push_back("ElapsedTime"); };
    reader.FileSpec = {L"*.txt"};
    reader.SetArchiveFile(L"e.zip");
    ASSERT_TRUE(reader.Activate());
    const std::vector<std::string> expected = {"Activate",       "ReadFile a.txt", "ReadBegin",
                                               "Read a.txt 0 0", "ReadEnd",        "ReadFile b.doc",
                                               "Totals 3 3 1",   "Deactivate",     "ElapsedTime"};
    EXPECT_EQ(log, expected);
}

TEST(ArcWalkZip, WalkErrorsAreReportedThroughTheErrorEvent)
{
    struct Case {
        const char* what;
        Bytes bytes;
        bool assignOnRead;
        std::wstring name;
        bool ok;
        std::vector<TArcError> errors;
    };
    const size_t central = 2 * 30 + 10 + 5;
    Bytes badFirst = MakeZip({{"a.txt", "abc"}, {"b.txt", "de"}});
    badFirst[central] = 'X';
    Bytes markerOnly;
    PutText(markerOnly, "PK\7\10");
    PutZeros(markerOnly, 40);
    Bytes badSecond = MakeZip({{"a.txt", "abc"}, {"b.txt", "de"}});
    badSecond[central + 46 + 5] = 'X';
    const Case cases[] = {
        {"no OnRead handler", MakeZip({{"a", "b"}}), false, L"x.zip", false, {TArcError::RequiredEventNotAssigned}},
        {"an unknown file", Bytes(100, 'q'), true, L"x.zip", false, {TArcError::UnknownFileType}},
        {"a missing file", Bytes(), true, L"", false, {TArcError::FileNotFound}},
        // Damage makes the walk false, after the entries before it were reported.
        {"a broken first central header: listed from the local headers",
         badFirst,
         true,
         L"x.zip",
         false,
         {TArcError::BadFileHeader}},
        {"a spanning marker and no header after it", markerOnly, true, L"x.zip", false, {TArcError::BadFileHeader}},
        {"a broken second one keeps the first entry", badSecond, true, L"x.zip", false, {TArcError::BadFileHeader}},
    };
    for (const Case& c : cases) {
        TMemoryFileSystem files;
        if (!c.name.empty())
            files.Add(c.name, c.bytes);
        TArcReader reader(files);
        std::vector<TArcError> errors;
        int reads = 0;
        reader.OnError = [&](TArcError e, const std::wstring&, const std::wstring&) { errors.push_back(e); };
        if (c.assignOnRead)
            reader.OnRead = [&](const TArcEntry&, uint64_t, uint32_t) { ++reads; };
        reader.SetArchiveFile(c.name);
        EXPECT_EQ(reader.Activate(), c.ok) << c.what;
        EXPECT_EQ(errors, c.errors) << c.what;
    }
}

TEST(ArcWalkZip, TheProgressHookCanCancel)
{
    TMemoryFileSystem files;
    files.Add(L"p.zip", MakeZip({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"p.zip");
    int calls = 0;
    reader.OnProgress = [&] { return ++calls < 2; };
    std::vector<std::wstring> names;
    EXPECT_TRUE(reader.FilesInArchive(&names));
    EXPECT_EQ(names, std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(reader.Cancelled());
    reader.OnProgress = nullptr;
    EXPECT_TRUE(reader.FilesInArchive(&names)); // the next walk starts afresh
    EXPECT_EQ(names.size(), 3u);
}

TEST(ArcWalkZip, AQueryStartedFromTheProgressHookLeavesTheOuterWalkIntact)
{
    TMemoryFileSystem files;
    files.Add(L"r.zip", MakeZip({{"a", "1"}, {"b", "22"}, {"c", "333"}}));
    // The outer walk keeps its count and totals, and a cancel asked for before the inner query.
    for (const bool cancelFirst : {false, true}) {
        TArcReader reader(files);
        reader.SetArchiveFile(L"r.zip");
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
class SparseFile : public TArcFile {
public:
    SparseFile(uint64_t size, std::map<uint64_t, Bytes> parts) : m_size(size), m_parts(std::move(parts)) {}
    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override
    {
        if (offset >= m_size)
            return 0;
        n = static_cast<size_t>(std::min<uint64_t>(n, m_size - offset));
        uint8_t* out = static_cast<uint8_t*>(buffer);
        std::fill(out, out + n, 0);
        for (const auto& [at, bytes] : m_parts) {
            const uint64_t from = std::max(at, offset);
            const uint64_t to = std::min(at + bytes.size(), offset + n);
            for (uint64_t i = from; i < to; ++i)
                out[i - offset] = bytes[static_cast<size_t>(i - at)];
        }
        return n;
    }

private:
    uint64_t m_size;
    std::map<uint64_t, Bytes> m_parts;
};

class SparseFileSystem : public TMemoryFileSystem {
public:
    SparseFileSystem(uint64_t size, std::map<uint64_t, Bytes> parts) : m_size(size), m_parts(std::move(parts)) {}
    std::unique_ptr<TArcFile> Open(const std::wstring&) override
    {
        return std::make_unique<SparseFile>(m_size, m_parts);
    }

private:
    uint64_t m_size;
    std::map<uint64_t, Bytes> m_parts;
};

TEST(ArcWalkZip, Zip64SizesAndACentralDirectoryBeyond4GiB)
{
    const uint64_t GiB = uint64_t{1} << 30;
    const uint64_t packed = 5 * GiB, unpacked = 6 * GiB;
    Bytes local;
    PutText(local, "PK\3\4");
    Put16(local, 45);
    Put16(local, 0);
    Put16(local, 8);
    Put32(local, kDosStamp);
    Put32(local, 0x12345678);
    Put32(local, 0xFFFFFFFF);
    Put32(local, 0xFFFFFFFF);
    Put16(local, 7);
    Put16(local, 20);
    PutText(local, "big.bin");
    Put16(local, 1);
    Put16(local, 16);
    Put64(local, unpacked);
    Put64(local, packed);
    const uint64_t central = local.size() + packed;
    // The central header holds 0xFFFFFFFF for the sizes and the offset, the extra field their
    // 64-bit forms in that order.
    Bytes tail;
    PutText(tail, "PK\1\2");
    Put16(tail, 0x031E);
    Put16(tail, 45);
    Put16(tail, 0);
    Put16(tail, 8);
    Put32(tail, kDosStamp);
    Put32(tail, 0x12345678);
    Put32(tail, 0xFFFFFFFF);
    Put32(tail, 0xFFFFFFFF);
    Put16(tail, 7);
    Put16(tail, 28);
    PutZeros(tail, 6);
    Put32(tail, 0x20);
    Put32(tail, 0xFFFFFFFF);
    PutText(tail, "big.bin");
    Put16(tail, 1);
    Put16(tail, 24);
    Put64(tail, unpacked);
    Put64(tail, packed);
    Put64(tail, 0);
    const uint64_t centralSize = tail.size();
    const uint64_t end64 = central + centralSize;
    PutText(tail, "PK\6\6");
    Put64(tail, 44);
    Put16(tail, 45);
    Put16(tail, 45);
    PutZeros(tail, 8);
    Put64(tail, 1);
    Put64(tail, 1);
    Put64(tail, centralSize);
    Put64(tail, central);
    PutText(tail, "PK\6\7");
    Put32(tail, 0);
    Put64(tail, end64);
    Put32(tail, 1);
    PutText(tail, "PK\5\6");
    PutZeros(tail, 4);
    Put16(tail, 0xFFFF);
    Put16(tail, 0xFFFF);
    Put32(tail, 0xFFFFFFFF);
    Put32(tail, 0xFFFFFFFF);
    Put16(tail, 0);

    SparseFileSystem files(central + tail.size(), {{0, local}, {central, tail}});
    TArcReader reader(files);
    reader.SetArchiveFile(L"big.zip");
    EXPECT_EQ(reader.ZipState(),
              TArcReader::kZipEndRecord | TArcReader::kZipCentralHeader | TArcReader::kZipLocalHeader);
    std::vector<TArcEntry> entries;
    ASSERT_TRUE(reader.ReadEntries(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].PackedSize, packed);
    EXPECT_EQ(entries[0].UnpackedSize, unpacked);
    EXPECT_EQ(entries[0].HeaderOffset, 0u);
    EXPECT_EQ(entries[0].Ratio, 16);
    EXPECT_EQ(reader.PackedTotal(), packed);
}

TEST(ArcWalkZip, WithoutCentralDirectoryTheLocalHeadersAreWalked)
{
    Bytes zip = MakeZip({{"a.txt", "abc"}, {"b.txt", "de"}});
    zip.resize(2 * 30 + 10 + 5); // cut before the central directory
    const Listing cut = List(zip, L"t.zip");
    EXPECT_EQ(cut.names, (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.errors, std::vector<TArcError>{TArcError::ReadError});
    // An entry with a data descriptor and no sizes in its header: where its data ends is not
    // known, so it is reported instead of listed with sizes 0.
    Bytes streamed = MakeZip({{"a.txt", "abc", 0, 8}, {"b.txt", "de", 0, 8}});
    Poke32(streamed, 18, 0);
    Poke32(streamed, 22, 0);
    streamed.resize(2 * 30 + 10 + 5);
    const Listing unknown = List(streamed, L"t.zip");
    EXPECT_TRUE(unknown.names.empty());
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.errors, std::vector<TArcError>{TArcError::SizeUnknown});
}

// Damaged archives of every format: each walk must end, list what it safely can and read
// nothing outside the file.
TEST(ArcWalkDamaged, HeaderFieldsCannotDriveTheWalkAstray)
{
    struct Case {
        const char* what;
        Bytes bytes;
        size_t entries;
        bool complete = true; // false: the walk reports the damage
    };
    std::vector<Case> cases;

    { // ZIP: a name length far beyond the file
        Bytes b = MakeZip({{"a.txt", "abc"}, {"b.txt", "de"}});
        Poke16(b, 2 * 30 + 10 + 5 + 46 + 5 + 28, 0xFFFF);
        cases.push_back({"zip name length", b, 1, false});
    }
    { // ZIP: an end record naming a central directory beyond the file
        Bytes b = MakeZip({{"a.txt", "abc"}});
        Poke32(b, b.size() - 6, 0x7FFFFFFF);
        cases.push_back({"zip central offset", b, 1});
    }
    { // ARJ: basic header size 0 right away, and one beyond the limit
        Bytes b = {0x60, 0xEA, 0, 0};
        PutZeros(b, 30);
        cases.push_back({"arj end at once", b, 0});
        Bytes c = {0x60, 0xEA, 0xB8, 0x0B};
        PutZeros(c, 30);
        cases.push_back({"arj header size 3000", c, 0, false});
    }
    { // ZOO: a link pointing back to the first entry
        Bytes b;
        PutText(b, "ZOO 2.10 Archive.\x1A");
        PutZeros(b, 2);
        Put32(b, 0xFDC4A7DC);
        Put32(b, 42);
        Put32(b, static_cast<uint32_t>(-42));
        PutZeros(b, 42 - b.size());
        for (int i = 0; i < 2; ++i) {
            const size_t at = b.size();
            Put32(b, 0xFDC4A7DC);
            Put8(b, 1);
            Put8(b, 0);
            Put32(b, 42); // next: back to the first entry
            PutZeros(b, 51 - 10);
            b[at + 38] = 'x';
        }
        cases.push_back({"zoo backward link", b, 1});
    }
    { // LHA: level 2 with a header size of 5
        Bytes b = {5, 0};
        PutText(b, "-lh0-");
        PutZeros(b, 13);
        Put8(b, 0x20);
        Put8(b, 2);
        PutZeros(b, 10);
        cases.push_back({"lha level 2 header size", b, 0, false});
    }
    { // LHA: level 1 extended headers that claim more than the file holds
        Bytes b;
        Put8(b, 25 + 1);
        Put8(b, 0);
        PutText(b, "-lh0-");
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, kDosStamp);
        Put8(b, 0x20);
        Put8(b, 1);
        Put8(b, 1);
        PutText(b, "a");
        Put16(b, 0);
        Put8(b, 'M');
        Put16(b, 0xFFF0);
        PutZeros(b, 10);
        cases.push_back({"lha extended size", b, 0, false});
    }
    { // RAR: a block with a head size of 0
        Bytes b;
        PutText(b, std::string("Rar!\x1A\x07\0", 7));
        Put16(b, 0);
        Put8(b, 0x73);
        Put16(b, 0);
        Put16(b, 0);
        PutZeros(b, 20);
        cases.push_back({"rar head size 0", b, 0, false});
    }
    { // RAR: a 64-bit packed size that would wrap the position back onto the same block
        Bytes b;
        PutText(b, std::string("Rar!\x1A\x07\0", 7));
        Put16(b, 0);
        Put8(b, 0x74);
        Put16(b, 0x8100); // data size present, 64-bit sizes
        Put16(b, 41);
        Put32(b, static_cast<uint32_t>(0x100000000ULL - 41));
        Put32(b, 1);
        Put8(b, 0);
        Put32(b, 0);
        Put32(b, kDosStamp);
        Put8(b, 29);
        Put8(b, 0x30);
        Put16(b, 1);
        Put32(b, 0x20);
        Put32(b, 0xFFFFFFFF);
        Put32(b, 0);
        PutText(b, "a");
        PutZeros(b, 20);
        cases.push_back({"rar 64-bit size", b, 1});
    }
    { // TAR: a size of 8 GB in a 1.5 KB file
        Bytes b(512, 0);
        std::string name = "big.bin";
        std::copy(name.begin(), name.end(), b.begin());
        const std::string size = "77777777777";
        std::copy(size.begin(), size.end(), b.begin() + 124);
        const std::string magic = std::string("ustar\0"
                                              "00",
                                              8);
        std::copy(magic.begin(), magic.end(), b.begin() + 257);
        unsigned sum = 0;
        for (size_t i = 0; i < 512; ++i)
            sum += (i >= 148 && i < 156) ? 0x20 : b[i];
        char field[8];
        std::snprintf(field, sizeof field, "%06o", sum);
        std::copy(field, field + 6, b.begin() + 148);
        b[155] = ' ';
        PutZeros(b, 1024);
        cases.push_back({"tar huge size", b, 1});
    }
    { // HA: a packed size far beyond the file
        Bytes b;
        PutText(b, "HA");
        Put16(b, 2);
        Put8(b, 0x20);
        Put32(b, 0xFFFFFFF0);
        Put32(b, 5);
        Put32(b, 0);
        Put32(b, 1614834368);
        Put8(b, 0);
        PutText(b, "a.txt");
        Put8(b, 0);
        Put8(b, 0);
        PutZeros(b, 10);
        cases.push_back({"ha packed size", b, 1});
    }
    { // CAB: 65535 files announced, one present
        Bytes b;
        PutText(b, "MSCF");
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 44);
        Put32(b, 0);
        Put8(b, 3);
        Put8(b, 1);
        Put16(b, 1);
        Put16(b, 0xFFFF);
        Put16(b, 0);
        Put32(b, 0);
        Put32(b, 0); // folder
        Put16(b, 0);
        Put16(b, 1);
        Put32(b, 4);
        Put32(b, 0);
        Put16(b, 0);
        Put16(b, 0x5264);
        Put16(b, 0x28C4);
        Put16(b, 0x20);
        PutText(b, std::string("a.txt\0", 6));
        cases.push_back({"cab file count", b, 1});
    }
    { // ACE: a block size of 0 after the archive header
        Bytes b;
        Put16(b, 0);
        Put16(b, 27);
        Put8(b, 0);
        Put16(b, 0);
        PutText(b, "**ACE**");
        PutZeros(b, 20);
        Put16(b, 0);
        Put16(b, 0);
        PutZeros(b, 10);
        cases.push_back({"ace block size 0", b, 0});
    }
    { // InstallShield Z: a file record of size 0
        Bytes b;
        PutText(b, "\x13\x5D\x65\x8C");
        PutZeros(b, 8);
        Put16(b, 1000);
        PutZeros(b, 59 - b.size());
        Poke32(b, 41, 0);
        Poke32(b, 51, 59);
        PutZeros(b, 40);
        cases.push_back({"msgz record size 0", b, 0, false});
    }
    { // ARC: a packed size that wraps the position
        Bytes b = {0x1A, 0x02};
        PutText(b, std::string("a.txt\0\0\0\0\0\0\0\0", 13));
        Put32(b, 0xFFFFFFFF);
        Put32(b, 0x28C45264);
        Put16(b, 0);
        Put32(b, 4);
        PutZeros(b, 10);
        cases.push_back({"arc packed size", b, 1, false});
    }
    for (const Case& c : cases) {
        const Listing l = List(c.bytes);
        EXPECT_EQ(l.ok, c.complete) << c.what;
        EXPECT_EQ(l.errors.empty(), c.complete) << c.what;
        EXPECT_EQ(l.names.size(), c.entries) << c.what;
    }
}

// BH: no tool here makes it, so the test builds one by the published layout.
TEST(ArcWalkOther, BhEntriesFromTheirHeaders)
{
    Bytes b;
    const auto entry = [&](const std::string& name, uint32_t flags, uint32_t method, const std::string& data,
                           uint32_t unpacked) {
        PutText(b, "BH\5\7");
        Put16(b, static_cast<uint32_t>(33 + name.size()));
        Put8(b, 0);
        Put8(b, 0x14);
        Put8(b, 0x0A);
        Put8(b, flags);
        Put8(b, method);
        Put32(b, kDosStamp);
        Put32(b, static_cast<uint32_t>(data.size()));
        Put32(b, unpacked);
        Put32(b, 0xCAFEBABE);
        Put16(b, 0x20);
        Put16(b, static_cast<uint32_t>(name.size()));
        Put16(b, 0);
        PutText(b, name);
        PutText(b, data);
    };
    entry("readme.txt", 2, 8, "packed", 100);
    entry("data\\raw.bin", 1, 0, "raw", 3);
    TMemoryFileSystem files;
    files.Add(L"t.bh", b);
    TArcReader reader(files);
    reader.SetArchiveFile(L"t.bh");
    EXPECT_EQ(reader.ArcType(), atBh);
    std::vector<TArcEntry> entries;
    ASSERT_TRUE(reader.ReadEntries(entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].FileName, L"readme.txt");
    EXPECT_EQ(entries[0].MethodText, L"DeflateX");
    EXPECT_EQ(entries[0].PackedSize, 6u);
    EXPECT_EQ(entries[0].UnpackedSize, 100u);
    EXPECT_EQ(entries[0].Crc, 0xCAFEBABEu);
    EXPECT_DOUBLE_EQ(entries[0].Date, kStampDays);
    EXPECT_EQ(entries[1].FileName, L"data\\raw.bin");
    EXPECT_EQ(entries[1].MethodText, L"Stored");
    EXPECT_TRUE(entries[1].Encrypted);
    EXPECT_EQ(entries[1].HeaderOffset, 33u + 10 + 6);
}

TEST(ArcWalkOther, PakFolderRecordsPutMembersInTheirFolders)
{
    Bytes b;
    const auto member = [&](uint32_t method, const std::string& name, const std::string& data) {
        Put8(b, 0x1A);
        Put8(b, method);
        std::string field = name;
        field.resize(13, '\0');
        PutText(b, field);
        Put32(b, static_cast<uint32_t>(data.size()));
        Put32(b, 0x28C45264); // date first
        Put16(b, 0);
        Put32(b, static_cast<uint32_t>(data.size()));
        PutText(b, data);
    };
    const auto record = [&](uint32_t type, uint32_t number, const std::string& data) {
        Put8(b, 0xFE);
        Put8(b, type);
        Put16(b, number);
        Put32(b, static_cast<uint32_t>(data.size()));
        PutText(b, data);
    };
    member(10, "A.TXT", "aaaa");
    member(2, "B.TXT", "bb");
    member(2, "C.TXT", "c");
    PutText(b, std::string("\x1A\0", 2));
    record(1, 0, "a comment");
    record(2, 1, std::string("DOCS\\OLD\0", 9));
    record(2, 2, "");
    record(2, 3, "TOOLS/");
    record(2, 9, "NOWHERE"); // no ninth member
    PutText(b, std::string("\xFE\0", 2));
    const Listing l = List(b, L"t.pak");
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.names, (std::vector<std::wstring>{L"DOCS\\OLD\\A.TXT", L"B.TXT", L"TOOLS\\C.TXT"}));
}

TEST(ArcWalkOther, TarStepsToTheNextBlockAfterTheData)
{
    // A 1-byte entry: the next header starts 512 bytes after the start of its data.
    Bytes b(512, 0);
    const auto header = [&](size_t at, const std::string& name, char size) {
        std::copy(name.begin(), name.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        const std::string fields = std::string("0000000000") + size;
        std::copy(fields.begin(), fields.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 124 + 1));
        const std::string time = "14020065300";
        std::copy(time.begin(), time.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 136));
        unsigned sum = 0;
        for (size_t i = 0; i < 512; ++i)
            sum += (i >= 148 && i < 156) ? 0x20 : b[at + i];
        char field[8];
        std::snprintf(field, sizeof field, "%06o", sum);
        std::copy(field, field + 6, b.begin() + static_cast<std::ptrdiff_t>(at + 148));
        b[at + 155] = ' ';
    };
    header(0, "one.txt", '1');
    b.resize(1024 + 512, 0);
    b[512] = 'x';
    header(1024, "two.txt", '0');
    PutZeros(b, 1024);
    const std::vector<TArcEntry> entries = Entries(b, L"t.tar");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].FileName, L"two.txt");
    EXPECT_EQ(entries[1].HeaderOffset, 1024u);
    EXPECT_EQ(entries[0].MethodText, L"Tarred");
    EXPECT_DOUBLE_EQ(entries[0].Date, kStampDays);
}

} // namespace
