#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace ArcTest;

// Gives the tests the classification of a bare signature.
class Probe : public TArcReader {
public:
    using TArcReader::TArcReader;
    TArcType Classify(const Bytes& sig, bool atStart)
    {
        m_startOffset = 0;
        m_zipState = 0;
        return TAT(sig.data(), atStart);
    }
};

struct TatCase {
    Bytes sig;
    TArcType atStart;
    TArcType inside;
};

TEST(ArcDetect, SignatureTableAtTheStartAndInsideAnExecutable)
{
    const TatCase cases[] = {
        {{'P', 'K', 7, 8}, atZip, atZip},
        {{'P', 'K', 1, 2}, atNA, atNA},
        {{'P', 'K', 'G', '4'}, atNA, atNA},
        {{'P', 'K', 3, 4}, atZip, atZipExe},
        {{'P', 'K', 5, 6}, atZip, atZipExe},
        {{'M', 'S', 'C', 'F'}, atCab, atUnsupported},
        {{'B', 'H', 5, 7}, atBh, atBhExe},
        {{0x13, 0x5D, 0x65, 0x8C}, atMSGZ, atUnsupported},
        {{'H', 'A', 2, 0}, atHA, atUnsupported},
        {{0x1F, 0x8B, 8, 0}, atGZip, atUnsupported},
        {{0x1F, 0x9D, 0x90, 0}, atGZip, atUnsupported},
        {{0x1F, 0x9E, 0, 0}, atGZip, atUnsupported},
        {{0x1F, 0x1E, 0, 0}, atGZip, atUnsupported},
        {{0x1F, 0xA0, 0, 0}, atGZip, atUnsupported},
        {{'%', '!', 'P', 'S'}, atUnknown, atUnknown}, // PostScript, not a compressor
        {{0x60, 0xEA, 0x2A, 0}, atArj, atArjExe},
        {{'Z', 'O', 'O', ' '}, atZoo, atUnsupported},
        {{0x21, 0x00, '-', 'l'}, atLha, atLhaExe},
        {{'R', 'a', 'r', '!'}, atRar, atRarExe},
        {{0x1A, 0x0A, 0, 0}, atPak, atPakExe},
        {{0x1A, 0x0B, 0, 0}, atPak, atPakExe},
        {{0x1A, 0x1E, 0, 0}, atArc, atUnsupported},
        {{0x1A, 0x02, 0, 0}, atArc, atUnsupported},
        {{0x1A, 0x08, 0, 0}, atArc, atArcExe},
        {{0x1A, 0x09, 0, 0}, atArc, atArcExe},
        {{0xB7, 0x92, 0, 0}, atArcExe, atArcExe},
        {{0xB7, 0xDF, 0, 0}, atArcExe, atArcExe},
        {{0x1A, 0x00, 0, 0}, atUnknown, atUnknown},
        {{0, 0, 0, 0}, atUnknown, atUnknown},
    };
    TMemoryFileSystem files;
    Probe probe(files);
    for (const TatCase& c : cases) {
        EXPECT_EQ(probe.Classify(c.sig, true), c.atStart) << testing::PrintToString(c.sig);
        EXPECT_EQ(probe.Classify(c.sig, false), c.inside) << testing::PrintToString(c.sig);
    }
    probe.Classify({'P', 'K', 7, 8}, true);
    EXPECT_EQ(probe.ZipState(), TRegisterArcReader::kZipLocalHeader);
    probe.Classify({0xB7, 0x92, 0, 0}, true);
    EXPECT_EQ(probe.StartOffset(), 7716u);
}

Bytes Exe(size_t size)
{
    Bytes b(size, 0);
    b[0] = 'M';
    b[1] = 'Z';
    return b;
}

void Place(Bytes& b, size_t at, const std::string& text)
{
    std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// A small PE file whose string table block 1 holds the given strings (ids 0 to 15), followed by
// zeros up to size.
Bytes PeWithStrings(const std::vector<std::string>& strings, size_t size)
{
    Bytes b;
    PutText(b, "MZ");
    PutZeros(b, 0x3C - 2);
    Put32(b, 0x80);
    PutZeros(b, 0x80 - b.size());
    PutText(b, std::string("PE\0\0", 4));
    Put16(b, 0x14C); // i386
    Put16(b, 1);     // one section
    PutZeros(b, 12);
    Put16(b, 0xE0); // optional header size
    Put16(b, 0x102);
    const size_t optional = b.size();
    PutZeros(b, 0xE0);
    Poke16(b, optional, 0x10B);
    Poke32(b, optional + 92, 16);          // data directories
    Poke32(b, optional + 96 + 16, 0x1000); // the resource directory's RVA
    Poke32(b, optional + 96 + 20, 0x200);
    PutText(b, ".rsrc");
    PutZeros(b, 3);
    Put32(b, 0x200);  // virtual size
    Put32(b, 0x1000); // virtual address
    Put32(b, 0x200);  // raw size
    Put32(b, 0x200);  // raw offset
    PutZeros(b, 16);
    PutZeros(b, 0x200 - b.size());
    // Resource tree: type 6 -> block 1 -> first language -> data entry -> the block.
    auto directory = [&](uint32_t id, uint32_t target) {
        PutZeros(b, 12);
        Put16(b, 0);
        Put16(b, 1);
        Put32(b, id);
        Put32(b, target);
    };
    directory(6, 0x80000018);
    directory(1, 0x80000030);
    directory(0x409, 0x48);
    Bytes block;
    for (size_t i = 0; i < 16; ++i) {
        const std::string s = i < strings.size() ? strings[i] : std::string();
        Put16(block, static_cast<uint32_t>(s.size()));
        for (const char c : s)
            Put16(block, static_cast<uint8_t>(c));
    }
    Put32(b, 0x1000 + 0x58);
    Put32(b, static_cast<uint32_t>(block.size()));
    Put32(b, 0);
    Put32(b, 0);
    b.insert(b.end(), block.begin(), block.end());
    if (b.size() < size)
        PutZeros(b, size - b.size());
    return b;
}

struct DetectCase {
    const char* what;
    std::wstring name;
    std::function<Bytes()> bytes;
    TArcType type;
    uint64_t start;
};

TEST(ArcDetect, FilesAreClassifiedByTheirBytes)
{
    const Bytes emptyZip = [] {
        Bytes b;
        PutText(b, "PK\5\6");
        PutZeros(b, 18);
        return b;
    }();
    const DetectCase cases[] = {
        {"19 bytes are too few", L"a.zip", [] { return Bytes(19, 'x'); }, atFileOpenErr, 0},
        {"an empty ZIP is a ZIP by its signature", L"e.zip", [&] { return emptyZip; }, atZip, 0},
        {"the same bytes named .JAR", L"E.JAR", [&] { return emptyZip; }, atJar, 0},
        {"the extension in any case", L"dir.x\\e.jar", [&] { return emptyZip; }, atJar, 0},
        {"zeros, then a local header without end record", L"z.zip",
         [] {
             Bytes b(5, 0);
             PutText(b, "PK\3\4");
             PutZeros(b, 40);
             return b;
         },
         atZip, 5},
        {"an ARC self-extractor's stub size", L"s.exe",
         [] {
             Bytes b = Exe(9000);
             b[7716] = 0x1A;
             b[7717] = 0x09;
             return b;
         },
         atArcExe, 7716},
        {"a ZIP at 7612 needs no further search", L"s.exe",
         [] {
             Bytes b = Exe(9000);
             Place(b, 7612, "PK\3\4");
             return b;
         },
         atZipExe, 7612},
        {"a ZIP at 25661", L"s.exe",
         [] {
             Bytes b = Exe(26000);
             Place(b, 25661, "PK\3\4");
             return b;
         },
         atZipExe, 25661},
        {"a string resource names the archive's offset", L"s.exe",
         [] {
             Bytes b = PeWithStrings({"", "", "4096"}, 5000);
             Place(b, 4096, std::string("Rar!\x1A\x07\0", 7));
             return b;
         },
         atRarExe, 4096},
        {"a string that is no number ends that probe", L"s.exe",
         [] {
             Bytes b = PeWithStrings({"", "abc", "4096"}, 5000);
             Place(b, 4096, std::string("Rar!\x1A\x07\0", 7));
             return b;
         },
         atUnknown, 0},
        {"only five characters of a string count", L"s.exe",
         [] {
             Bytes b = PeWithStrings({"", "409699"}, 45000);
             Place(b, 40969, "MSCF"); // a CAB inside an executable is not listed
             Place(b, 4096, "Rar!");
             return b;
         },
         atUnsupported, 40969},
        {"ARJ's self-extractor: two bytes after the DOS image", L"s.exe",
         [] {
             Bytes b = Exe(2000);
             Poke16(b, 2, 16); // bytes in the last page
             Poke16(b, 4, 2);  // pages: the image ends at 528
             b[530] = 0x60;
             b[531] = 0xEA;
             return b;
         },
         atArjExe, 530},
        {"gzip bytes inside an executable", L"s.exe",
         [] {
             Bytes b = Exe(2000);
             Poke16(b, 2, 16);
             Poke16(b, 4, 2);
             b[528] = 0x1F;
             b[529] = 0x8B;
             return b;
         },
         atUnknown, 0},
        {"byte search: RAR", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 20000, "Rar!");
             return b;
         },
         atRarExe, 20000},
        {"byte search: ACE carries its mark at 7", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 20007, "**ACE**");
             return b;
         },
         atAceExe, 20000},
        {"byte search: LHA's method at 2", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 20002, "-lh5-");
             return b;
         },
         atLhaExe, 20000},
        {"byte search: BH", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 30000, "BH\5\7");
             return b;
         },
         atBhExe, 30000},
        {"byte search: a BH signature inside the stub's code is passed over", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 30000, "BH\5\7\x0F\x94\xC3\x84");
             return b;
         },
         atUnknown, 0},
        {"byte search: a local header inside the stub's code is passed over", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 30000, std::string("PK\3\4\x74\x0B\x3D\0", 8));
             Place(b, 31000, "Rar!");
             return b;
         },
         atRarExe, 31000},
        {"byte search: nothing before 17000 counts", L"s.exe",
         [] {
             Bytes b = Exe(40000);
             Place(b, 16000, "Rar!");
             return b;
         },
         atUnknown, 0},
        {"byte search: beyond six blocks nothing is found", L"s.exe",
         [] {
             Bytes b = Exe(17000 + 6 * 32768 + 100);
             Place(b, 17000 + 6 * 32768 + 10, "Rar!");
             return b;
         },
         atUnknown, 0},
        {"ACE's mark at 7", L"a.ace",
         [] {
             Bytes b(40, 0);
             Place(b, 7, "**ACE**");
             return b;
         },
         atAce, 0},
        {"uuencoded text after mail headers", L"m.txt",
         [] {
             Bytes b;
             PutText(b, "From: someone\nSubject: x\n\nbegin 644 hello.txt\nM...\n");
             return b;
         },
         atUue, 0},
        {"'begin' in the middle of a line is not UUE", L"m.txt",
         [] {
             Bytes b;
             PutText(b, "we begin 644 here, no archive at all\n");
             return b;
         },
         atUnknown, 0},
    };
    for (const DetectCase& c : cases) {
        TMemoryFileSystem files;
        files.Add(c.name, c.bytes());
        TArcReader reader(files);
        reader.SetArchiveFile(c.name);
        EXPECT_EQ(reader.ArcType(), c.type) << c.what << ": " << ArcTypeName(reader.ArcType());
        EXPECT_EQ(reader.StartOffset(), c.start) << c.what;
    }
}

Bytes TarHeader(const std::string& name, char type, size_t size)
{
    Bytes h(512, 0);
    Place(h, 0, name);
    Place(h, 100, "0000644");
    char field[16];
    std::snprintf(field, sizeof field, "%011o", static_cast<unsigned>(size));
    Place(h, 124, field);
    Place(h, 136, "14020065300"); // 2021-03-04 05:06:08 UTC
    h[156] = static_cast<uint8_t>(type);
    Place(h, 257,
          std::string("ustar\0"
                      "00",
                      8));
    Place(h, 148, "        ");
    unsigned sum = 0;
    for (const uint8_t b : h)
        sum += b;
    std::snprintf(field, sizeof field, "%06o", sum);
    Place(h, 148, field);
    h[154] = 0;
    return h;
}

TEST(ArcDetect, TarIsRecognisedByItsHeaderChecksum)
{
    struct Case {
        const char* what;
        Bytes bytes;
        TArcType type;
        uint64_t start;
    };
    Bytes plain = TarHeader("a.txt", '0', 1);
    PutZeros(plain, 1024 + 512);
    Bytes labelled = TarHeader("LABEL", 'V', 0);
    const Bytes first = TarHeader("a.txt", '0', 1);
    labelled.insert(labelled.end(), first.begin(), first.end());
    PutZeros(labelled, 1024);
    Bytes broken = plain;
    broken[10] ^= 0x01;
    const Case cases[] = {
        {"ustar header", plain, atTar, 0},
        {"a volume label first", labelled, atTar, 512},
        {"a wrong checksum", broken, atUnknown, 0},
        {"512 zero bytes and more", Bytes(2048, 0), atUnknown, 0},
    };
    for (const Case& c : cases) {
        TMemoryFileSystem files;
        files.Add(L"t.tar", c.bytes);
        TArcReader reader(files);
        reader.SetArchiveFile(L"t.tar");
        EXPECT_EQ(reader.ArcType(), c.type) << c.what;
        EXPECT_EQ(reader.StartOffset(), c.start) << c.what;
    }
}

TEST(ArcDetect, NamesAndSettings)
{
    TMemoryFileSystem files;
    TArcReader reader(files);
    reader.SetArchiveFile(L"");
    EXPECT_EQ(reader.ArcType(), atNA);
    reader.SetArchiveFile(L"c:/no/such/file.zip");
    EXPECT_EQ(reader.ArchiveFile(), L"c:\\no\\such\\file.zip");
    EXPECT_EQ(reader.ArcType(), atFileOpenErr);
    EXPECT_EQ(reader.ZipCmntBufSize(), 32000);
    reader.SetZipCmntBufSize(100);
    EXPECT_EQ(reader.ZipCmntBufSize(), 2000);
    reader.SetZipCmntBufSize(50000);
    EXPECT_EQ(reader.ZipCmntBufSize(), 32767);
}

TEST(ArcDetect, TheEndRecordIsSearchedWithinTheCommentWindow)
{
    // A ZIP whose comment pushes the end record 10,000 bytes from the end: found with the
    // default window, not with a window of 2,023 bytes.
    Bytes zip = MakeZip({{"a.txt", "data"}});
    Poke16(zip, zip.size() - 2, 10000);
    PutZeros(zip, 10000);
    TMemoryFileSystem files;
    files.Add(L"c.zip", zip);
    TArcReader reader(files);
    reader.SetArchiveFile(L"c.zip");
    EXPECT_EQ(reader.ArcType(), atZip);
    EXPECT_EQ(reader.ZipState(), 1u | 8u | 16u);
    reader.SetZipCmntBufSize(2000);
    reader.SetArchiveFile(L"c.zip");
    EXPECT_EQ(reader.ArcType(), atZip);
    EXPECT_EQ(reader.ZipState(), 16u);
    std::vector<std::wstring> names;
    EXPECT_TRUE(reader.FilesInArchive(&names)); // through the local headers
    EXPECT_EQ(names, std::vector<std::wstring>{L"a.txt"});
}

TEST(ArcDetect, RemovableDisksMakeSpannedSets)
{
    TMemoryFileSystem files;
    files.SetRemovable(true, false);
    Bytes spanned;
    PutText(spanned, "PK\7\10");
    const Bytes rest = MakeZip({{"a.txt", "data"}});
    spanned.insert(spanned.end(), rest.begin(), rest.end());
    files.Add(L"a:\\s.zip", spanned);
    Bytes cut = MakeZip({{"a.txt", "data"}});
    cut.resize(40);
    files.Add(L"a:\\cut.zip", cut);
    TArcReader reader(files);
    reader.SetArchiveFile(L"a:\\s.zip");
    EXPECT_EQ(reader.ArcType(), atZipMV);
    reader.SetArchiveFile(L"a:\\cut.zip");
    EXPECT_EQ(reader.ArcType(), atZipMV); // no end record on this disk
    files.SetRemovable(false, false);
    reader.SetArchiveFile(L"a:\\cut.zip");
    EXPECT_EQ(reader.ArcType(), atZip);
}

} // namespace
