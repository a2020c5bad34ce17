// Entry fields and stepping of ARC, PAK, ARJ, BH, CAB, GZIP, HA, ACE and InstallShield Z.
#include "catalogue/archive/ArcWalk.h"

namespace {

// A zero-terminated string of at most limit bytes at offset; false when no terminator is in
// the file within the limit.
bool PeekString(TArcStream& s, uint64_t offset, size_t limit, std::vector<uint8_t>& out)
{
    out.clear();
    const uint64_t size = s.Size();
    if (offset >= size)
        return false;
    const size_t n = static_cast<size_t>(size - offset < limit ? size - offset : limit);
    const TByteView v = s.Peek(offset, n);
    for (size_t i = 0; i < v.Size(); ++i) {
        if (v.U8(i) == 0)
            return true;
        out.push_back(v.U8(i));
    }
    return false;
}

// Bytes up to the first NUL within a fixed field.
size_t FieldLength(const TByteView& v, size_t offset, size_t size)
{
    size_t n = 0;
    while (n < size && v.Has(offset + n, 1) && v.U8(offset + n) != 0)
        ++n;
    return n;
}

const wchar_t* ArcMethodText(uint32_t method)
{
    switch (method) {
    case 1:
    case 2:
        return L"Stored";
    case 3:
        return L"Packed";
    case 4:
        return L"Squeezed";
    case 5:
    case 6:
    case 7:
        return L"crunched";
    case 8:
        return L"Crunched";
    case 9:
        return L"Squashed";
    case 10:
        return L"Pack10";
    case 11:
        return L"Pack11";
    case 12:
        return L"Pack12";
    default:
        return method == 0x1E ? L"Dir" : L"Unsupported";
    }
}

const wchar_t* PakMethodText(uint32_t method)
{
    switch (method) {
    case 1:
    case 2:
        return L"Stored";
    case 3:
        return L"RLE";
    case 4:
        return L"Squeezed";
    case 5:
    case 6:
    case 7:
        return L"FIXEDLEN";
    case 8:
    case 9:
        return L"VARIBLE";
    case 10:
        return L"Crushed";
    case 11:
        return L"Distill";
    default:
        return L"Unsupported";
    }
}

const wchar_t* ArjMethodText(uint32_t method, uint32_t fileType)
{
    static const wchar_t* const kTexts[] = {L"Stored", L"Most", L"2nd Most", L"2nd Fast", L"Fastest"};
    if (method < 5)
        return kTexts[method];
    return fileType == 3 ? L"Dir" : L"Unsupported";
}

const wchar_t* HaMethodText(uint32_t method)
{
    switch (method) {
    case 0:
        return L"Cpy";
    case 1:
        return L"Asc";
    case 2:
        return L"HSC";
    case 14:
        return L"Dir";
    case 15:
        return L"Special";
    default:
        return L"Unsupported";
    }
}

const wchar_t* AceMethodText(uint32_t quality)
{
    static const wchar_t* const kTexts[] = {L"Fastest", L"Fast", L"Normal", L"Good", L"Best", L"Lzw"};
    return quality < 6 ? kTexts[quality] : L"Unsupported";
}

} // namespace

// ARC and PAK: a 29-byte header before each member (25 for the oldest stored method), no
// archive header, "1A 00" at the end. PAK keeps each member's folder in a record after that
// end mark, so the members are reported once those records are read. A PAK archive whose first
// member uses an ARC method is classified as ARC: its records are read all the same.
void TArcReader::Walk::WalkArc(bool pak)
{
    std::vector<TArcEntry> members;
    uint64_t pos = m_r.m_startOffset;
    bool ended = false;
    while (Tick()) {
        const TByteView mark = m_s.Peek(pos, 2);
        if (mark.Size() == 0) {
            // Older archivers left out the end mark; a member cut short is damage.
            if (pos != m_size)
                Fail(TArcError::ReadError);
            break;
        }
        if (mark.U8(0) != 0x1A) {
            BadHeader();
            break;
        }
        const uint32_t method = mark.U8(1);
        if (method == 0) {
            ended = true;
            break;
        }
        const size_t headerSize = method == 1 ? 25 : 29;
        const TByteView h = m_s.Peek(pos, headerSize);
        if (h.Size() == 0) {
            Fail(TArcError::ReadError);
            break;
        }
        TArcEntry e;
        e.FileName = Name(h.Data() + 2, FieldLength(h, 2, 13));
        e.PackedSize = h.U32(15);
        SetDosDate(e, DosDateFirst(h.U32(19)));
        e.Crc = h.U16(23);
        e.UnpackedSize = method == 1 ? e.PackedSize : h.U32(25);
        e.MethodCode = method;
        e.MethodText = pak ? PakMethodText(method) : ArcMethodText(method);
        e.ExternalAttr = !pak && method == 0x1E ? 0x10 : 0x20;
        e.HeaderOffset = pos;
        members.push_back(std::move(e));
        pos += headerSize + static_cast<uint64_t>(h.U32(15));
    }

    // PAK's records after the end mark: FE, type, member number (1-based, 0 = the archive),
    // length and data; type 0 is only "FE 00" and ends them, type 2 holds a member's folder.
    std::vector<std::wstring> folders(members.size());
    uint64_t at = pos + 2;
    while (ended) {
        const TByteView r = m_s.Peek(at, 8);
        if (r.U8(0) != 0xFE || r.U8(1) == 0)
            break;
        const size_t number = r.U16(2);
        const uint64_t length = r.U32(4);
        if (r.U8(1) == 2 && number >= 1 && number <= members.size() && length < 4096) {
            const TByteView data = m_s.Peek(at + 8, static_cast<size_t>(length));
            std::wstring folder = Name(data.Data(), FieldLength(data, 0, data.Size()));
            if (!folder.empty() && folder.back() != L'\\')
                folder.push_back(L'\\');
            folders[number - 1] = folder;
        }
        at += 8 + length;
    }
    for (size_t i = 0; i < members.size(); ++i) {
        members[i].FileName.insert(0, folders[i]);
        Offer(members[i]);
    }
}

// ARJ: "60 EA", basic header size, basic header, CRC-32, extended headers, data. The first
// header is the archive's own; a basic header size of 0 ends the archive.
void TArcReader::Walk::WalkArj()
{
    uint64_t pos = m_r.m_startOffset;
    bool mainHeader = true;
    while (Tick()) {
        const TByteView start = m_s.Peek(pos, 4);
        if (start.Size() == 0)
            break;
        if (start.U8(0) != 0x60 || start.U8(1) != 0xEA) {
            BadHeader();
            break;
        }
        const size_t basicSize = start.U16(2);
        if (basicSize == 0)
            break;
        if (basicSize > 2600 || basicSize < 30) {
            BadHeader();
            break;
        }
        const TByteView h = m_s.Peek(pos, 4 + basicSize + 4);
        if (h.Size() == 0)
            break;
        TArcEntry e;
        const size_t firstSize = h.U8(4);
        const uint32_t host = h.U8(7);
        const uint32_t flags = h.U8(8);
        const uint32_t fileType = h.U8(10);
        e.VersionMadeBy = h.U8(5);
        e.VersionNeeded = h.U8(6);
        e.MethodCode = h.U8(9);
        const uint32_t stamp = h.U32(12);
        e.PackedSize = h.U32(16);
        e.UnpackedSize = h.U32(20);
        e.Crc = h.U32(24);
        e.ExternalAttr = h.U16(30);
        e.Encrypted = (flags & 1) != 0;
        if (4 + firstSize < 4 + basicSize)
            e.FileName = Name(h.Data() + 4 + firstSize, FieldLength(h, 4 + firstSize, basicSize - firstSize));
        // Archives made on Unix (host 2) or NeXT (8) keep Unix time stamps.
        if (host == 2 || host == 8)
            SetUnixDate(e, stamp);
        else
            SetDosDate(e, stamp);
        e.MethodText = ArjMethodText(e.MethodCode, fileType);
        e.HeaderOffset = pos;

        uint64_t p = pos + 4 + basicSize + 4;
        bool truncated = true;
        for (int i = 0; i < 1000; ++i) {
            const TByteView ext = m_s.Peek(p, 2);
            if (ext.Size() == 0)
                break;
            const uint64_t extSize = ext.U16(0);
            if (extSize == 0) {
                p += 2;
                truncated = false;
                break;
            }
            p += 2 + extSize + 4;
        }
        if (truncated)
            break;
        if (mainHeader) {
            mainHeader = false;
            pos = p;
            continue;
        }
        Offer(e);
        pos = p + e.PackedSize;
    }
}

// BH: every entry starts with "BH" 05 07 and its header size. The layout comes from one
// third-party description only; every field is read as that description has it.
void TArcReader::Walk::WalkBh()
{
    uint64_t pos = m_r.m_startOffset;
    while (Tick()) {
        const TByteView h = m_s.Peek(pos, 33);
        if (h.Size() == 0)
            break;
        if (!h.Matches(0, "BH\5\7", 4) || h.U16(4) < 33) {
            BadHeader();
            break;
        }
        const size_t headerSize = h.U16(4);
        size_t nameLength = h.U16(29);
        if (nameLength > headerSize - 33)
            nameLength = headerSize - 33;
        TArcEntry e;
        const uint32_t flags = h.U8(9);
        e.VersionMadeBy = h.U8(7);
        e.VersionNeeded = h.U8(8);
        e.MethodCode = h.U8(10);
        SetDosDate(e, h.U32(11));
        e.PackedSize = h.U32(15);
        e.UnpackedSize = h.U32(19);
        e.Crc = h.U32(23);
        e.ExternalAttr = h.U16(27);
        e.Encrypted = (flags & 1) != 0;
        switch (e.MethodCode) {
        case 0:
            e.MethodText = L"Stored";
            break;
        case 1:
            e.MethodText = L"Fused";
            break;
        case 2:
            e.MethodText = L"Deflate";
            break;
        case 8:
            e.MethodText = ZipMethodText(8, flags, 0);
            break;
        default:
            e.MethodText = L"Unsupported";
            break;
        }
        e.HeaderOffset = pos;
        const TByteView name = m_s.Peek(pos + 33, nameLength);
        if (name.Size() != nameLength)
            break;
        e.FileName = Name(name);
        Offer(e);
        pos += headerSize + static_cast<uint64_t>(e.PackedSize);
    }
}

// CAB: the cabinet header, the folders (one compression type each), then the file entries,
// 16 bytes and a zero-terminated name each. There is no per-file packed size.
void TArcReader::Walk::WalkCab()
{
    const uint64_t base = m_r.m_startOffset;
    const TByteView h = m_s.Peek(base, 36);
    if (!h.Matches(0, "MSCF", 4)) {
        BadHeader();
        return;
    }
    const uint64_t filesAt = base + h.U32(16);
    const uint32_t version = h.U16(24);
    const uint32_t folderCount = h.U16(26);
    const uint32_t fileCount = h.U16(28);
    const uint32_t flags = h.U16(30);
    uint64_t p = base + 36;
    size_t folderReserve = 0;
    if (flags & 4) {
        const TByteView reserve = m_s.Peek(p, 4);
        if (reserve.Size() == 0)
            return;
        folderReserve = reserve.U8(2);
        p += 4 + static_cast<uint64_t>(reserve.U16(0));
    }
    std::vector<uint8_t> text;
    // The names of the previous and next cabinets and their disks.
    for (int i = 0; i < ((flags & 1) ? 2 : 0) + ((flags & 2) ? 2 : 0); ++i) {
        if (!PeekString(m_s, p, 256, text))
            return;
        p += text.size() + 1;
    }
    std::vector<uint32_t> folderTypes;
    for (uint32_t i = 0; i < folderCount; ++i) {
        const TByteView folder = m_s.Peek(p, 8);
        if (folder.Size() == 0)
            break;
        folderTypes.push_back(folder.U16(6));
        p += 8 + folderReserve;
    }

    uint64_t pos = filesAt;
    for (uint32_t i = 0; i < fileCount && Tick(); ++i) {
        const TByteView f = m_s.Peek(pos, 16);
        if (f.Size() == 0)
            break;
        TArcEntry e;
        e.PackedSize = e.UnpackedSize = f.U32(0);
        const uint32_t folder = f.U16(8);
        SetDosDate(e, DosDateFirst(f.U32(10)));
        e.ExternalAttr = f.U16(14);
        if (!PeekString(m_s, pos + 16, 1024, text))
            break;
        // 0xFFFD and 0xFFFF: continued from the previous cabinet, in the first folder;
        // 0xFFFE: continued in the next one, from the last folder.
        size_t index = folder;
        if (folder == 0xFFFD || folder == 0xFFFF)
            index = 0;
        else if (folder == 0xFFFE)
            index = folderTypes.empty() ? 0 : folderTypes.size() - 1;
        e.MethodCode = index < folderTypes.size() ? folderTypes[index] : 0x0F;
        static const wchar_t* const kTexts[] = {L"Stored", L"MsZIP", L"Quantum", L"Lzx"};
        e.MethodText = (e.MethodCode & 0x0F) < 4 ? kTexts[e.MethodCode & 0x0F] : L"Unsupported";
        e.VersionMadeBy = e.VersionNeeded = version;
        e.FileName = Name(text.data(), text.size(), (e.ExternalAttr & 0x80) != 0); // 0x80: UTF-8 name
        e.HeaderOffset = pos;
        Offer(e);
        pos += 16 + text.size() + 1;
    }
}

// GZIP and the other single-file compressors of the 1F family: one entry.
void TArcReader::Walk::WalkGZip()
{
    const uint64_t base = m_r.m_startOffset;
    const TByteView h = m_s.Peek(base, 10);
    if (h.Size() == 0)
        return;
    TArcEntry e;
    const uint32_t signature = static_cast<uint32_t>(h.U8(0)) << 8 | h.U8(1);
    e.MethodCode = h.U8(2);
    e.HeaderOffset = base;
    std::vector<uint8_t> name;
    bool haveName = false;
    if (signature == 0x1F8B) {
        const uint32_t flags = h.U8(3);
        const uint32_t mtime = h.U32(4);
        uint64_t p = base + 10;
        if (flags & 4) {
            const TByteView extra = m_s.Peek(p, 2);
            if (extra.Size() == 0)
                return;
            p += 2 + static_cast<uint64_t>(extra.U16(0));
        }
        if (flags & 8) {
            if (!PeekString(m_s, p, 4096, name))
                return;
            p += name.size() + 1;
            haveName = true;
        }
        if (flags & 0x10) {
            std::vector<uint8_t> comment;
            if (!PeekString(m_s, p, 65536, comment))
                return;
            p += comment.size() + 1;
        }
        if (flags & 2)
            p += 2;
        if (p + 8 > m_size) {
            BadHeader();
            return;
        }
        const TByteView trailer = m_s.Peek(m_size - 8, 8);
        e.Crc = trailer.U32(0);
        e.UnpackedSize = trailer.U32(4);
        const uint64_t packed = m_size - 8 - p;
        e.PackedSize = static_cast<uint32_t>(packed > 0xFFFFFFFFu ? 0xFFFFFFFFu : packed);
        SetUnixDate(e, mtime);
    } else {
        // compress, pack, freeze and SCO's LZH keep no time: the file's own date stands in.
        e.PackedSize = static_cast<uint32_t>(m_size > 0xFFFFFFFFu ? 0xFFFFFFFFu : m_size);
        if (signature == 0x1F1E) // pack stores the original size big-endian
            e.UnpackedSize = static_cast<uint32_t>(h.U8(2)) << 24 | static_cast<uint32_t>(h.U8(3)) << 16 |
                             static_cast<uint32_t>(h.U8(4)) << 8 | h.U8(5);
        int64_t mtime = 0;
        if (m_r.m_fileSystem.ModifiedTime(m_r.m_archiveFile, mtime))
            SetUnixDate(e, mtime);
        else
            SetDosDate(e, 0);
    }
    switch (e.MethodCode) {
    case 0:
        e.MethodText = L"Stored";
        break;
    case 8:
        e.MethodText = L"Deflate";
        break;
    case 144:
        e.MethodText = L"LzwMAGIC";
        break;
    default:
        e.MethodText = signature == 0x1F1E ? L"PackMAGIC" : signature == 0x1FA0 ? L"LzhMAGIC" : L"Unsupported";
        break;
    }
    if (haveName) {
        // RFC 1952: the stored name is ISO 8859-1.
        e.FileName = DecodeLatin1(name.data(), name.size());
        for (wchar_t& c : e.FileName)
            if (c == L'/')
                c = L'\\';
    } else {
        // The archive's own name without folder and extension.
        const std::wstring& archive = m_r.m_archiveFile;
        const size_t slash = archive.rfind(L'\\');
        std::wstring file = slash == std::wstring::npos ? archive : archive.substr(slash + 1);
        const size_t dot = file.rfind(L'.');
        if (dot != std::wstring::npos && dot > 0)
            file.resize(dot);
        e.FileName = file;
    }
    e.ExternalAttr = 0x20;
    Offer(e);
}

// HA: "HA" and an entry count, then entries of 20 bytes plus path, name and machine data.
void TArcReader::Walk::WalkHa()
{
    uint64_t pos = m_r.m_startOffset + 4;
    std::vector<uint8_t> path;
    std::vector<uint8_t> name;
    while (Tick()) {
        const TByteView h = m_s.Peek(pos, 17);
        if (h.Size() == 0)
            break;
        const uint32_t type = h.U8(0);
        TArcEntry e;
        e.PackedSize = h.U32(1);
        e.UnpackedSize = h.U32(5);
        e.Crc = h.U32(9);
        const uint32_t mtime = h.U32(13);
        if (!PeekString(m_s, pos + 17, 1024, path) || !PeekString(m_s, pos + 18 + path.size(), 1024, name))
            break;
        const uint64_t mdiAt = pos + 19 + path.size() + name.size();
        const TByteView mdiLengthView = m_s.Peek(mdiAt, 1);
        if (mdiLengthView.Size() == 0)
            break;
        const size_t mdiLength = mdiLengthView.U8(0);
        const TByteView mdi = m_s.Peek(mdiAt + 1, mdiLength);
        const uint64_t next = mdiAt + 1 + mdiLength + static_cast<uint64_t>(e.PackedSize);
        if (type == 0xFF) { // deleted
            pos = next;
            continue;
        }
        if ((type >> 4) != 2) {
            BadHeader();
            break;
        }
        // Path components are separated by 0xFF bytes.
        std::vector<uint8_t> full = path;
        for (uint8_t& b : full)
            if (b == 0xFF)
                b = '\\';
        if (!full.empty() && full.back() != '\\')
            full.push_back('\\');
        full.insert(full.end(), name.begin(), name.end());
        e.FileName = Name(full.data(), full.size());
        e.MethodCode = type;
        e.MethodText = HaMethodText(type & 0x0F);
        e.VersionMadeBy = e.VersionNeeded = type;
        // Machine data of type 1 (MS-DOS) carries the attributes.
        e.ExternalAttr = mdi.Size() >= 2 && mdi.U8(0) == 1 ? mdi.U8(1) : 0x20;
        if ((type & 0x0F) == 14)
            e.ExternalAttr |= 0x10;
        SetUnixDate(e, mtime);
        e.HeaderOffset = pos;
        Offer(e);
        pos = next;
    }
}

// ACE: blocks of CRC, size, type, flags; the first is the archive header with "**ACE**".
void TArcReader::Walk::WalkAce()
{
    uint64_t pos = m_r.m_startOffset;
    uint32_t version = 0;
    bool first = true;
    while (Tick()) {
        const TByteView start = m_s.Peek(pos, 7);
        if (start.Size() == 0)
            break;
        const size_t headSize = start.U16(2);
        const uint32_t type = start.U8(4);
        const uint32_t flags = start.U16(5);
        const TByteView h = m_s.Peek(pos, 4 + headSize);
        if (h.Size() == 0 || headSize < 3)
            break;
        if (first && (type != 0 || !h.Matches(7, "**ACE**", 7))) {
            BadHeader();
            break;
        }
        const uint64_t addSize = (flags & 1) ? h.U32(7) : 0;
        if (type == 0) {
            version = h.U8(15);
        } else if (type == 1 && headSize >= 31) {
            TArcEntry e;
            e.PackedSize = h.U32(7);
            e.UnpackedSize = h.U32(11);
            SetDosDate(e, h.U32(15));
            e.ExternalAttr = h.U32(19) & 0xFFFF; // ACE 1.2 for DOS left garbage in the high half
            e.Crc = ~h.U32(23);                  // stored complemented
            e.MethodCode = h.U8(28);
            e.MethodText = AceMethodText(e.MethodCode);
            e.Encrypted = (flags & 0x4000) != 0;
            e.VersionMadeBy = e.VersionNeeded = version;
            size_t nameLength = h.U16(33);
            if (35 + nameLength > 4 + headSize)
                nameLength = 4 + headSize > 35 ? 4 + headSize - 35 : 0;
            e.FileName = Name(h.Data() + 35, nameLength);
            if (flags & 0x2000) { // continued in the next volume
                const uint64_t total = e.PackedSize + FollowingParts(VolumeSet::Ace, e.FileName);
                e.PackedSize = total;
            }
            e.HeaderOffset = pos;
            Offer(e);
        }
        first = false;
        pos += 4 + headSize + addSize;
    }
}

// InstallShield 3 "Z" archives (signature 13 5D 65 8C): a directory table and a file table,
// one record per member.
void TArcReader::Walk::WalkMsgz()
{
    const uint64_t base = m_r.m_startOffset;
    const TByteView h = m_s.Peek(base, 59);
    if (h.Size() == 0) {
        BadHeader();
        return;
    }
    const uint32_t fileCount = h.U16(12);
    const uint64_t dirTable = base + h.U32(41);
    const uint32_t dirCount = h.U16(49);
    const uint64_t fileTable = base + h.U32(51);

    std::vector<std::vector<uint8_t>> dirs;
    uint64_t p = dirTable;
    for (uint32_t i = 0; i < dirCount; ++i) {
        const TByteView d = m_s.Peek(p, 6);
        if (d.Size() == 0)
            break;
        const size_t recordSize = d.U16(2);
        const size_t nameLength = d.U16(4);
        if (recordSize < 6 + nameLength)
            break;
        const TByteView name = m_s.Peek(p + 6, nameLength);
        dirs.emplace_back(name.Data(), name.Data() + name.Size());
        p += recordSize;
    }

    p = fileTable;
    for (uint32_t i = 0; i < fileCount && Tick(); ++i) {
        const TByteView f = m_s.Peek(p, 30);
        if (f.Size() == 0)
            break;
        const size_t recordSize = f.U16(23);
        const size_t nameLength = f.U8(29);
        if (recordSize < 30 + nameLength) {
            BadHeader();
            break;
        }
        TArcEntry e;
        const uint32_t dir = f.U16(1);
        e.UnpackedSize = f.U32(3);
        e.PackedSize = f.U32(7);
        SetDosDate(e, DosDateFirst(f.U32(15)));
        e.ExternalAttr = f.U32(19);
        const TByteView name = m_s.Peek(p + 30, nameLength);
        std::vector<uint8_t> full;
        if (dir < dirs.size() && !dirs[dir].empty()) {
            full = dirs[dir];
            if (full.back() != '\\')
                full.push_back('\\');
        }
        full.insert(full.end(), name.Data(), name.Data() + name.Size());
        e.FileName = Name(full.data(), full.size());
        e.HeaderOffset = p;
        Offer(e);
        p += recordSize;
    }
}

// Volume sets ---------------------------------------------------------------------------------

std::wstring TArcReader::Walk::NextVolumeName(const std::wstring& name, bool ace)
{
    const size_t slash = name.rfind(L'\\');
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash) || name.size() - dot != 4)
        return std::wstring();
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    const wchar_t letter = ace ? L'c' : L'r';
    const bool upper = name[dot + 1] >= L'A' && name[dot + 1] <= L'Z';
    std::wstring next = name;
    auto increment = [&next](size_t first, size_t last) {
        for (size_t i = last + 1; i-- > first;) {
            if (next[i] < L'9') {
                ++next[i];
                return true;
            }
            next[i] = L'0';
        }
        return false; // all nines: the set has no naming for a further volume
    };
    const std::wstring ext = {lower(name[dot + 1]), lower(name[dot + 2]), lower(name[dot + 3])};
    if (!ace && ext == L"rar") {
        // "name.partN.rar": the number before the extension counts the volumes.
        size_t digits = dot;
        while (digits > 0 && name[digits - 1] >= L'0' && name[digits - 1] <= L'9')
            --digits;
        if (digits < dot && digits >= 5) {
            std::wstring part = name.substr(digits - 5, 5);
            for (wchar_t& c : part)
                c = lower(c);
            if (part == L".part")
                return increment(digits, dot - 1) ? next : std::wstring();
        }
    }
    if (ext == (ace ? L"ace" : L"rar")) {
        next.replace(dot + 1, 3, upper ? (ace ? L"C00" : L"R00") : (ace ? L"c00" : L"r00"));
        return next;
    }
    if (ext[0] == letter && ext[1] >= L'0' && ext[1] <= L'9' && ext[2] >= L'0' && ext[2] <= L'9')
        return increment(dot + 2, dot + 3) ? next : std::wstring();
    return std::wstring();
}

uint64_t TArcReader::Walk::FollowingParts(VolumeSet set, const std::wstring& name)
{
    const bool ace = set == VolumeSet::Ace;
    uint64_t total = 0;
    std::wstring volume = m_r.m_archiveFile;
    // A set of more volumes than this is not a set but a naming accident.
    for (int count = 0; count < 1000; ++count) {
        volume = NextVolumeName(volume, ace);
        if (volume.empty())
            break;
        std::unique_ptr<TArcFile> file = m_r.m_fileSystem.Open(volume);
        if (!file)
            break;
        TArcStream s(*file);
        if (set == VolumeSet::Rar5) {
            std::wstring first;
            uint64_t dataSize = 0;
            uint64_t flags = 0;
            // 0x08: continued from the previous volume, 0x10: continued in the next.
            if (!Rar5FirstFile(s, first, dataSize, flags) || first != name || !(flags & 0x08))
                break;
            total += dataSize;
            if (!(flags & 0x10))
                break;
            continue;
        }
        // The continued entry's header is the first file header of the volume.
        uint64_t pos = 0;
        bool found = false;
        bool goesOn = false;
        for (int block = 0; block < 64 && !found; ++block) {
            const TByteView h = s.Peek(pos, 7);
            if (h.Size() == 0)
                break;
            size_t headSize = 0;
            uint64_t data = 0;
            if (ace) {
                headSize = 4 + static_cast<size_t>(h.U16(2));
                const TByteView b = s.Peek(pos, headSize);
                if (b.Size() == 0 || headSize < 7)
                    break;
                const uint32_t flags = b.U16(5);
                data = (flags & 1) ? b.U32(7) : 0;
                if (b.U8(4) == 1 && headSize >= 35) {
                    const size_t length = b.U16(33);
                    if (35 + length > headSize || Name(b.Data() + 35, length) != name || !(flags & 0x1000))
                        break;
                    total += b.U32(7);
                    goesOn = (flags & 0x2000) != 0;
                    found = true;
                }
            } else {
                if (block == 0) {
                    if (!h.Matches(0, "Rar!\x1A\x07\0", 7))
                        break;
                    pos = 7;
                    continue;
                }
                headSize = h.U16(5);
                const TByteView b = s.Peek(pos, headSize);
                if (b.Size() == 0 || headSize < 7 || b.U8(2) == 0x7B)
                    break;
                const uint32_t flags = b.U16(3);
                data = (flags & 0x8000) ? b.U32(7) : 0;
                if (b.U8(2) == 0x74 && headSize >= 32) {
                    const size_t length = b.U16(26);
                    if (!(flags & 0x0001))
                        break;
                    const size_t nameAt = (flags & 0x100) ? 40 : 32;
                    if (nameAt + length > headSize || RarFileName(b, nameAt, length, flags, b.U8(15)) != name)
                        break;
                    total += b.U32(7);
                    goesOn = (flags & 0x0002) != 0;
                    found = true;
                }
            }
            if (data > s.Size())
                break;
            pos += headSize + data;
        }
        if (!found || !goesOn)
            break;
    }
    return total;
}
