#include "tests/native/ArcTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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

using Parts = std::vector<std::pair<size_t, std::string>>;

// The bytes with the given texts at their offsets.
Bytes With(Bytes b, const Parts& parts)
{
    for (const auto& [at, text] : parts)
        std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
}

// An executable: "MZ", zeros up to size, and the given texts.
Bytes Exe(size_t size, Parts parts)
{
    parts.insert(parts.begin(), {0, "MZ"});
    return With(Bytes(size, 0), parts);
}

// A small PE file (PE32, or PE32+ by its magic) whose string table block 1 holds the given
// strings (ids 0 to 15), followed by zeros up to size; without resources when their RVA is 0.
Bytes PeWithStrings(const std::vector<std::string>& strings, size_t size, const Parts& parts, uint16_t magic = 0x10B,
                    uint32_t resources = 0x1000)
{
    // The optional header: magic, 16 data directories (their place differs for PE32+), the
    // resource directory's RVA and size.
    Bytes optional =
        Cat(U16{magic}, Zeros{magic == 0x10B ? 90u : 106u}, U32{16}, Zeros{16}, U32{resources}, U32{0x200});
    optional.resize(0xE0, 0);
    // One section, .rsrc: virtual size and address, raw size and offset.
    Bytes b =
        Cat("MZ"s, Zeros{0x3A}, U32{0x80}, Zeros{0x40}, "PE\0\0"s, U16{0x14C}, U16{1}, Zeros{12}, U16{0xE0}, U16{0x102},
            optional, ".rsrc"s, Zeros{3}, U32{0x200}, U32{0x1000}, U32{0x200}, U32{0x200}, Zeros{16 + 0x60});
    // Resource tree: type 6 -> block 1 -> first language -> data entry -> the block.
    for (const auto& [id, target] : {std::pair{6u, 0x80000018u}, {1u, 0x80000030u}, {0x409u, 0x48u}})
        Append(b, Cat(Zeros{14}, U16{1}, U32{id}, U32{target}));
    Bytes block;
    for (size_t i = 0; i < 16; ++i) {
        const std::string s = i < strings.size() ? strings[i] : std::string();
        Append(block, U16{s.size()});
        for (const char c : s)
            Append(block, U16{static_cast<uint8_t>(c)});
    }
    b = Cat(b, U32{0x1000 + 0x58}, U32{block.size()}, Zeros{8}, block);
    b.resize(std::max(size, b.size()), 0);
    return With(b, parts);
}

TEST(ArcDetect, FilesAreClassifiedByTheirBytes)
{
    struct Case {
        const char* what;
        Bytes bytes; // none: no such file
        TArcType type;
        uint64_t start;
        std::wstring name = L"s.exe";
    };
    const Bytes emptyZip = Cat("PK\5\6"s, Zeros{18});
    // The DOS header's image length: 16 bytes in the last of 2 pages, so it ends at 528.
    const std::string dosImage = "MZ\x10\0\2\0"s;
    const size_t searchEnd = 17000 + 6 * 32768; // where the byte search stops
    const Parts rarAt4096 = {{4096, "Rar!\x1A\x07\0"s}};
    const Bytes label = Cat(TarHeader("LABEL", 'V', "0"), TarHeader("a.txt", '0', "1"), Zeros{1024});
    const Bytes tar = Cat(TarHeader("a.txt", '0', "1"), Zeros{1024 + 512});
    const Case cases[] = {
        {"no name", {}, atNA, 0, L""},
        {"no such file", {}, atFileOpenErr, 0, L"c:/no/such/file.zip"},
        {"19 bytes are too few", Bytes(19, 'x'), atFileOpenErr, 0, L"a.zip"},
        {"an empty ZIP is a ZIP by its signature", emptyZip, atZip, 0, L"e.zip"},
        {"the same bytes named .JAR", emptyZip, atJar, 0, L"E.JAR"},
        {"the extension in any case", emptyZip, atJar, 0, L"dir.x\\e.jar"},
        {"zeros, then a local header without end record", Cat(Zeros{5}, "PK\3\4"s, Zeros{40}), atZip, 5, L"z.zip"},
        {"an ARC self-extractor's stub size", Exe(9000, {{7716, "\x1A\x09"}}), atArcExe, 7716},
        {"a string resource names the offset", PeWithStrings({"", "", "4096"}, 5000, rarAt4096), atRarExe, 4096},
        {"the same in a PE32+ file", PeWithStrings({"", "", "4096"}, 5000, rarAt4096, 0x20B), atRarExe, 4096},
        {"no resources: no probe", PeWithStrings({"", "", "4096"}, 5000, rarAt4096, 0x10B, 0), atUnknown, 0},
        {"no number: the probe ends", PeWithStrings({"", "abc", "4096"}, 5000, rarAt4096), atUnknown, 0},
        // A CAB inside an executable is not listed.
        {"only five characters of a string count",
         PeWithStrings({"", "409699"}, 45000, {{40969, "MSCF"}, {4096, "Rar!"}}), atUnsupported, 40969},
        {"ARJ: two bytes after the DOS image", Exe(2000, {{0, dosImage}, {530, "\x60\xEA"}}), atArjExe, 530},
        {"gzip bytes after the DOS image", Exe(2000, {{0, dosImage}, {528, "\x1F\x8B"}}), atUnknown, 0},
        {"byte search: RAR", Exe(40000, {{20000, "Rar!"}}), atRarExe, 20000},
        {"byte search: ACE carries its mark at 7", Exe(40000, {{20007, "**ACE**"}}), atAceExe, 20000},
        {"byte search: LHA's method at 2", Exe(40000, {{20002, "-lh5-"}}), atLhaExe, 20000},
        {"byte search: BH", Exe(40000, {{30000, "BH\5\7"}}), atBhExe, 30000},
        {"byte search: BH in a stub's code", Exe(40000, {{30000, "BH\5\7\x0F\x94\xC3\x84"}}), atUnknown, 0},
        {"byte search: a local header in a stub's code",
         Exe(40000, {{30000, "PK\3\4\x74\x0B\x3D\0"s}, {31000, "Rar!"}}), atRarExe, 31000},
        {"byte search: nothing before 17000", Exe(40000, {{16000, "Rar!"}}), atUnknown, 0},
        {"byte search: six blocks only", Exe(searchEnd + 100, {{searchEnd + 10, "Rar!"}}), atUnknown, 0},
        {"ACE's mark at 7", With(Bytes(40, 0), {{7, "**ACE**"}}), atAce, 0, L"a.ace"},
        {"uuencoded text after mail headers", Cat("From: a\nSubject: b\n\nbegin 644 a.txt\nM\n"s), atUue, 0, L"m.txt"},
        {"'begin' inside a line is not UUE", Cat("we begin 644 here, no archive at all\n"s), atUnknown, 0, L"m.txt"},
        {"tar: a volume label first", label, atTar, 512, L"t.tar"},
        {"tar: a wrong header checksum", With(tar, {{10, "\x01"}}), atUnknown, 0, L"t.tar"},
        {"tar: 512 zero bytes and more", Bytes(2048, 0), atUnknown, 0, L"t.tar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryFileSystem files;
        if (!c.bytes.empty())
            files.Add(c.name, c.bytes);
        TArcReader reader(files);
        reader.SetArchiveFile(c.name);
        EXPECT_EQ(reader.ArcType(), c.type) << ArcTypeName(reader.ArcType());
        EXPECT_EQ(reader.StartOffset(), c.start);
    }
}

TEST(ArcDetect, TheEndRecordIsSearchedWithinTheCommentWindow)
{
    // A ZIP whose comment pushes the end record 10,000 bytes from the end: found with the
    // default window, not with the smallest one (2,023 bytes).
    Bytes zip = MakeZip({{"a.txt", "data"}});
    Poke(zip, zip.size() - 2, U16{10000});
    TMemoryFileSystem files;
    files.Add(L"c.zip", Cat(zip, Zeros{10000}));
    TArcReader reader(files);
    reader.SetArchiveFile(L"c.zip");
    EXPECT_EQ(reader.ArcType(), atZip);
    EXPECT_EQ(reader.ZipState(), 1u | 8u | 16u);
    reader.SetZipCmntBufSize(50000);
    EXPECT_EQ(reader.ZipCmntBufSize(), 32767);
    reader.SetZipCmntBufSize(100);
    EXPECT_EQ(reader.ZipCmntBufSize(), 2000);
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
    const Bytes zip = MakeZip({{"a.txt", "data"}});
    files.Add(L"a:\\s.zip", Cat("PK\7\10"s, zip));
    files.Add(L"a:\\cut.zip", Bytes(zip.begin(), zip.begin() + 40));
    TArcReader reader(files);
    reader.SetArchiveFile(L"a:/s.zip"); // "/" is read as "\"
    EXPECT_EQ(reader.ArcType(), atZipMV);
    reader.SetArchiveFile(L"a:\\cut.zip");
    EXPECT_EQ(reader.ArcType(), atZipMV); // no end record on this disk
    files.SetRemovable(false, false);
    reader.SetArchiveFile(L"a:\\cut.zip");
    EXPECT_EQ(reader.ArcType(), atZip);
}

} // namespace
