// Entry fields and stepping of the formats whose headers grow by extended parts: LHA, RAR,
// TAR and ZOO.
#include "catalogue/archive/ArcWalk.h"

namespace {

const wchar_t* LhaMethodText(uint32_t c)
{
    static const wchar_t* const kFrozen[] = {L"Frozen-1", L"Frozen-2", L"Frozen-3",
                                             L"Frozen-4", L"Frozen-5", L"Frozen-6"};
    if (c == '0')
        return L"Stored";
    if (c >= '1' && c <= '6')
        return kFrozen[c - '1'];
    if (c == 'd')
        return L"<DIR>";
    return L"Unsupported";
}

const wchar_t* RarMethodText(uint32_t method)
{
    static const wchar_t* const kTexts[] = {L"Stored", L"Fastest", L"Fast", L"Normal", L"Good", L"Best"};
    return method >= 0x30 && method <= 0x35 ? kTexts[method - 0x30] : L"Unsupported";
}

// RAR 2.9 to 4 store a Unicode name after the 8-bit one, packed against it: a high byte for
// the whole name, then two flag bits per character saying whether it is a low byte alone, a
// low byte with that high byte, a full 16-bit unit, or a run copied from the 8-bit name (with
// an optional correction added to each byte). Empty when the packing is damaged.
std::wstring RarUnicodeName(const uint8_t* ascii, size_t asciiLength, const uint8_t* packed, size_t packedLength)
{
    std::wstring name;
    if (packedLength == 0)
        return name;
    const uint32_t high = static_cast<uint32_t>(packed[0]) << 8;
    size_t at = 1;
    uint32_t flags = 0;
    int flagBits = 0;
    const size_t limit = 4096;
    while (at < packedLength && name.size() < limit) {
        if (flagBits == 0) {
            flags = packed[at++];
            flagBits = 8;
        }
        // Every kind of character needs at least one more byte; a flag byte at the very end
        // announces one that is not there.
        if (at >= packedLength)
            break;
        switch (flags >> 6) {
        case 0:
            name.push_back(static_cast<wchar_t>(packed[at++]));
            break;
        case 1:
            name.push_back(static_cast<wchar_t>(packed[at++] | high));
            break;
        case 2:
            if (at + 1 >= packedLength)
                return std::wstring();
            name.push_back(static_cast<wchar_t>(packed[at] | (packed[at + 1] << 8)));
            at += 2;
            break;
        default: {
            uint32_t length = packed[at++];
            if (length & 0x80) {
                if (at >= packedLength)
                    return std::wstring();
                const uint8_t correction = packed[at++];
                for (length = (length & 0x7F) + 2; length > 0 && name.size() < asciiLength; --length)
                    name.push_back(static_cast<wchar_t>(static_cast<uint8_t>(ascii[name.size()] + correction) | high));
            } else {
                for (length += 2; length > 0 && name.size() < asciiLength; --length)
                    name.push_back(static_cast<wchar_t>(ascii[name.size()]));
            }
            break;
        }
        }
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
    }
    return name;
}

// Little-endian base-128 numbers of RAR 5.
bool ReadVint(const TByteView& v, size_t& at, uint64_t& value)
{
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (!v.Has(at, 1))
            return false;
        const uint8_t b = v.U8(at++);
        value |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// A numeric TAR field: octal text (blank or NUL padded), or base-256 when the first byte has
// its top bit set (0xFF first: a negative number).
bool TarNumber(const TByteView& h, size_t offset, size_t size, int64_t& value)
{
    value = 0;
    const uint8_t first = h.U8(offset);
    if (first & 0x80) {
        const bool negative = first == 0xFF;
        uint64_t v = negative ? ~0ULL : 0;
        // Only the last eight bytes fit; anything beyond must be sign bytes.
        for (size_t i = 0; i < size; ++i) {
            uint8_t b = h.U8(offset + i);
            if (i == 0)
                b = negative ? b : static_cast<uint8_t>(b & 0x7F);
            if (i + 8 < size && b != (negative ? 0xFF : 0))
                return false;
            v = (v << 8) | b;
        }
        value = static_cast<int64_t>(v);
        return true;
    }
    size_t i = 0;
    while (i < size && (h.U8(offset + i) == ' ' || h.U8(offset + i) == 0))
        ++i;
    if (i == size)
        return true; // an empty field is 0
    int digits = 0;
    for (; i < size && h.U8(offset + i) >= '0' && h.U8(offset + i) <= '7'; ++i, ++digits) {
        if (value > (INT64_MAX >> 3))
            return false;
        value = value * 8 + (h.U8(offset + i) - '0');
    }
    return digits > 0;
}

bool IsTarChecksumValid(const TByteView& h, int64_t& checksum)
{
    uint32_t sum = 0;
    int32_t signedSum = 0;
    for (size_t i = 0; i < 512; ++i) {
        const uint8_t b = (i >= 148 && i < 156) ? 0x20 : h.U8(i);
        sum += b;
        signedSum += static_cast<int8_t>(b);
    }
    return TarNumber(h, 148, 8, checksum) && (checksum == sum || checksum == signedSum);
}

std::string FieldText(const TByteView& h, size_t offset, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size && h.U8(offset + i) != 0; ++i)
        text.push_back(static_cast<char>(h.U8(offset + i)));
    return text;
}

} // namespace

// LHA/LZH: header levels 0 to 3, each with its own way to size the header; a 0 byte where the
// next header would start ends the archive.
void TArcReader::Walk::WalkLha()
{
    uint64_t pos = m_r.m_startOffset;
    while (Tick()) {
        const TByteView first = m_s.Peek(pos, 1);
        if (first.Size() == 0 || first.U8(0) == 0)
            break;
        const TByteView h = m_s.Peek(pos, 22);
        if (h.Size() == 0)
            break;
        if (h.U8(2) != '-' || h.U8(6) != '-') {
            BadHeader();
            break;
        }
        TArcEntry e;
        // Every field of the fixed part is copied before the next read: a view stays valid
        // only until the stream reads again.
        const uint32_t level = h.U8(20);
        const uint32_t sizeField = h.U16(0);
        e.MethodCode = h.U8(5);
        e.MethodText = LhaMethodText(e.MethodCode);
        uint32_t packed = h.U32(7);
        e.UnpackedSize = h.U32(11);
        const uint32_t stamp = h.U32(15);
        e.ExternalAttr = h.U8(19);
        e.HeaderOffset = pos;

        std::vector<uint8_t> name;
        std::vector<uint8_t> dir;
        bool haveUnixTime = false;
        uint32_t unixTime = 0;
        // Extended headers: type byte, data, size of the next one (2 or 4 bytes wide).
        auto extended = [&](uint64_t at, uint64_t size, size_t width, uint64_t limit, uint64_t& total) {
            total = 0;
            for (int i = 0; size != 0 && i < 1000; ++i) {
                if (size < 1 + width || at + size > limit)
                    return false;
                const TByteView x = m_s.Peek(at, static_cast<size_t>(size));
                if (x.Size() == 0)
                    return false;
                const uint8_t type = x.U8(0);
                const size_t dataLength = static_cast<size_t>(size) - 1 - width;
                if (type == 1)
                    name.assign(x.Data() + 1, x.Data() + 1 + dataLength);
                else if (type == 2)
                    dir.assign(x.Data() + 1, x.Data() + 1 + dataLength);
                else if (type == 0x54 && dataLength >= 4) {
                    // Unix time stamp: LHa for UNIX adds it to level-1 headers, whose own
                    // time is a DOS time in local time.
                    unixTime = x.U32(1);
                    haveUnixTime = true;
                }
                total += size;
                at += size;
                size = width == 2 ? x.U16(static_cast<size_t>(size) - 2) : x.U32(static_cast<size_t>(size) - 4);
            }
            return size == 0;
        };

        uint64_t next = 0;
        bool ok = true;
        if (level == 0 || level == 1) {
            const size_t headerSize = 2 + static_cast<size_t>(h.U8(0));
            const TByteView b = m_s.Peek(pos, headerSize);
            const size_t nameLength = b.U8(21);
            if (b.Size() == 0 || headerSize < 24 + nameLength) {
                ok = false;
            } else {
                // Amiga LhA puts the file comment after the name, behind a zero byte.
                size_t shown = 0;
                while (shown < nameLength && b.U8(22 + shown) != 0)
                    ++shown;
                name.assign(b.Data() + 22, b.Data() + 22 + shown);
                e.Crc = b.U16(22 + nameLength);
                SetDosDate(e, stamp);
                if (level == 0) {
                    next = pos + headerSize + packed;
                } else {
                    // Level 1: the "packed" field counts the extended headers as well.
                    const uint64_t firstExt = b.U16(headerSize - 2);
                    uint64_t total = 0;
                    ok = extended(pos + headerSize, firstExt, 2, m_size, total);
                    next = pos + headerSize + packed;
                    packed = total <= packed ? static_cast<uint32_t>(packed - total) : 0;
                    if (haveUnixTime)
                        SetUnixDate(e, unixTime);
                }
            }
        } else if (level == 2) {
            const size_t headerSize = sizeField;
            const TByteView b = m_s.Peek(pos, 26);
            if (headerSize < 26 || b.Size() == 0) {
                ok = false;
            } else {
                e.Crc = b.U16(21);
                uint64_t total = 0;
                ok = extended(pos + 26, b.U16(24), 2, pos + headerSize, total);
                SetUnixDate(e, stamp);
                next = pos + headerSize + packed;
            }
        } else if (level == 3) {
            const TByteView b = m_s.Peek(pos, 32);
            const uint64_t headerSize = b.U32(24);
            if (b.Size() == 0 || sizeField != 4 || headerSize < 32) {
                ok = false;
            } else {
                e.Crc = b.U16(21);
                uint64_t total = 0;
                ok = extended(pos + 32, b.U32(28), 4, pos + headerSize, total);
                SetUnixDate(e, stamp);
                next = pos + headerSize + packed;
            }
        } else {
            ok = false;
        }
        if (!ok) {
            BadHeader();
            break;
        }
        e.PackedSize = packed;
        // Directory components are separated by 0xFF (sometimes "\" or "/").
        std::vector<uint8_t> full = dir;
        if (!full.empty() && full.back() != 0xFF && full.back() != '\\' && full.back() != '/')
            full.push_back('\\');
        full.insert(full.end(), name.begin(), name.end());
        for (uint8_t& c : full)
            if (c == 0xFF)
                c = '\\';
        e.FileName = Name(full.data(), full.size());
        Offer(e);
        pos = next;
    }
}

// RAR 1.5 to 4: a 7-byte marker block, then blocks of CRC, type, flags, size and (with flag
// 0x8000) a data size. RAR 5 has a signature of its own and numbers of variable length.
void TArcReader::Walk::WalkRar()
{
    uint64_t pos = m_r.m_startOffset;
    const TByteView marker = m_s.Peek(pos, 7);
    if (marker.Matches(0, "Rar!\x1A\x07\x01", 7)) {
        WalkRar5(pos + 8);
        return;
    }
    if (!marker.Matches(0, "Rar!\x1A\x07\x00", 7)) {
        BadHeader();
        return;
    }
    pos += 7;
    while (Tick()) {
        const TByteView base = m_s.Peek(pos, 7);
        if (base.Size() == 0)
            break;
        const uint32_t type = base.U8(2);
        const uint32_t flags = base.U16(3);
        const size_t headSize = base.U16(5);
        if (headSize < 7 || type < 0x72 || type > 0x7B) {
            BadHeader();
            break;
        }
        if (type == 0x7B)
            break;
        const TByteView h = m_s.Peek(pos, headSize < 11 ? 11 : headSize);
        if (h.Size() == 0)
            break;
        uint64_t data = (flags & 0x8000) ? h.U32(7) : 0;
        if (type == 0x74 && headSize >= 32) {
            TArcEntry e;
            e.PackedSize = h.U32(7);
            e.UnpackedSize = h.U32(11);
            const uint32_t host = h.U8(15);
            e.Crc = h.U32(16);
            SetDosDate(e, h.U32(20));
            e.VersionMadeBy = h.U8(24);
            e.MethodCode = h.U8(25);
            size_t nameLength = h.U16(26);
            e.ExternalAttr = h.U32(28);
            e.Encrypted = (flags & 4) != 0;
            size_t nameAt = 32;
            if (flags & 0x100) { // 64-bit sizes: the high halves come first
                nameAt = 40;
                data |= static_cast<uint64_t>(h.U32(32)) << 32;
            }
            if (nameAt + nameLength > headSize)
                nameLength = headSize > nameAt ? headSize - nameAt : 0;
            e.FileName = RarFileName(h, nameAt, nameLength, flags, host);
            // A directory: dictionary bits all set, or the DOS attribute on DOS, OS/2 and Windows.
            const bool folder = (flags & 0xE0) == 0xE0 || (host < 3 && (e.ExternalAttr & 0x10));
            e.MethodText = folder ? L"<Dir>" : RarMethodText(e.MethodCode);
            if (flags & 0x0002) { // continued in the next volume
                const uint64_t total = e.PackedSize + FollowingParts(VolumeSet::Rar, e.FileName);
                e.PackedSize = total;
            }
            e.HeaderOffset = pos;
            Offer(e);
        }
        // 64-bit data sizes beyond the file end the walk before they can wrap the position.
        if (data > m_size)
            break;
        pos += headSize + data;
    }
}

std::wstring TArcReader::Walk::RarFileName(const TByteView& h, size_t nameAt, size_t length, uint32_t flags,
                                           uint32_t host) const
{
    // With flag 0x200 a zero byte separates the 8-bit name from its Unicode form.
    size_t shown = 0;
    while (shown < length && h.U8(nameAt + shown) != 0)
        ++shown;
    if ((flags & 0x200) && shown < length) {
        std::wstring unicode =
            RarUnicodeName(h.Data() + nameAt, shown, h.Data() + nameAt + shown + 1, length - shown - 1);
        for (wchar_t& c : unicode)
            if (c == L'/')
                c = L'\\';
        if (!unicode.empty())
            return unicode;
    }
    if (host == 3 && !(flags & 0x200)) {
        // RAR for Unix writes the name as it is on disk: UTF-8 as a rule.
        const std::wstring utf8 = DecodeUtf8(h.Data() + nameAt, length);
        if (utf8.find(L'\ufffd') == std::wstring::npos)
            return Name(h.Data() + nameAt, length, true);
    }
    return Name(h.Data() + nameAt, (flags & 0x200) ? shown : length);
}

void TArcReader::Walk::WalkRar5(uint64_t pos)
{
    while (Tick()) {
        const TByteView start = m_s.Peek(pos, 4 + 3 < m_size - pos ? 7 : static_cast<size_t>(m_size - pos));
        if (start.Size() < 5)
            break;
        size_t at = 4;
        uint64_t headerSize = 0;
        if (!ReadVint(start, at, headerSize) || headerSize == 0 || headerSize > (2u << 20)) {
            BadHeader();
            break;
        }
        const uint64_t headerStart = pos + at;
        const TByteView h = m_s.Peek(headerStart, static_cast<size_t>(headerSize));
        if (h.Size() == 0)
            break;
        size_t i = 0;
        uint64_t type = 0, flags = 0, extraSize = 0, dataSize = 0;
        if (!ReadVint(h, i, type) || !ReadVint(h, i, flags) || ((flags & 1) && !ReadVint(h, i, extraSize)) ||
            ((flags & 2) && !ReadVint(h, i, dataSize)) || extraSize > headerSize) {
            BadHeader();
            break;
        }
        if (type == 5)
            break;
        if (type == 2) {
            TArcEntry e;
            uint64_t fileFlags = 0, unpacked = 0, attributes = 0, compression = 0, host = 0, nameLength = 0;
            bool ok = ReadVint(h, i, fileFlags) && ReadVint(h, i, unpacked) && ReadVint(h, i, attributes);
            uint64_t mtime = 0;
            if (ok && (fileFlags & 2)) {
                mtime = h.U32(i);
                i += 4;
            }
            if (ok && (fileFlags & 4)) {
                e.Crc = h.U32(i);
                i += 4;
            }
            ok = ok && ReadVint(h, i, compression) && ReadVint(h, i, host) && ReadVint(h, i, nameLength) &&
                 h.Has(i, static_cast<size_t>(nameLength));
            if (!ok) {
                BadHeader();
                break;
            }
            e.FileName = Name(h.Data() + i, static_cast<size_t>(nameLength), true);
            // The time record (type 3) of the extra area, when the header has no Unix time.
            size_t x = static_cast<size_t>(headerSize - extraSize);
            while ((fileFlags & 2) == 0 && x < headerSize) {
                uint64_t recordSize = 0, recordType = 0;
                size_t r = x;
                if (!ReadVint(h, r, recordSize) || recordSize == 0 || recordSize > headerSize - r)
                    break;
                const size_t recordEnd = r + static_cast<size_t>(recordSize);
                uint64_t timeFlags = 0;
                if (ReadVint(h, r, recordType) && recordType == 3 && ReadVint(h, r, timeFlags) && (timeFlags & 2)) {
                    if (timeFlags & 1) {
                        mtime = h.U32(r);
                    } else {
                        const uint64_t ticks = static_cast<uint64_t>(h.U32(r)) | static_cast<uint64_t>(h.U32(r + 4))
                                                                                     << 32;
                        mtime = ticks / 10000000ULL > 11644473600ULL ? ticks / 10000000ULL - 11644473600ULL : 0;
                    }
                    fileFlags |= 2;
                }
                x = recordEnd;
            }
            SetUnixDate(e, static_cast<int64_t>(mtime));
            e.PackedSize = static_cast<uint32_t>(dataSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : dataSize);
            e.UnpackedSize = static_cast<uint32_t>(unpacked > 0xFFFFFFFFu ? 0xFFFFFFFFu : unpacked);
            e.ExternalAttr = static_cast<uint32_t>(attributes);
            e.VersionMadeBy = static_cast<uint32_t>(compression & 0x3F) + 50;
            // Methods 0 to 5 of RAR 5 are the same steps as 0x30 to 0x35 of the older format.
            e.MethodCode = 0x30 + static_cast<uint32_t>((compression >> 7) & 7);
            e.MethodText = (fileFlags & 1) ? L"<Dir>" : RarMethodText(e.MethodCode);
            if (fileFlags & 1)
                e.ExternalAttr |= host == 0 ? 0x10 : 0;
            if (flags & 0x10) { // continued in the next volume
                const uint64_t total = e.PackedSize + FollowingParts(VolumeSet::Rar5, e.FileName);
                e.PackedSize = total;
            }
            e.HeaderOffset = pos;
            Offer(e);
        }
        if (dataSize > m_size)
            break;
        pos = headerStart + headerSize + dataSize;
    }
}

// TAR: 512-byte headers, each followed by its data rounded up to 512 bytes. GNU long names
// ("L") and pax headers ("x") describe the entry that follows them.
void TArcReader::Walk::WalkTar()
{
    uint64_t pos = m_r.m_startOffset;
    std::wstring pendingName;
    bool havePendingName = false;
    int64_t paxSize = -1;
    int64_t paxTime = 0;
    bool havePaxTime = false;
    while (Tick()) {
        const TByteView h = m_s.Peek(pos, 512);
        if (h.Size() == 0 || h.U8(0) == 0)
            break;
        int64_t checksum = 0;
        int64_t size = 0;
        if (!IsTarChecksumValid(h, checksum) || !TarNumber(h, 124, 12, size) || size < 0) {
            BadHeader();
            break;
        }
        const uint8_t type = h.U8(156);
        int64_t mtime = 0;
        const bool timeValid = TarNumber(h, 136, 12, mtime);
        if (type == 'x' && paxSize >= 0)
            paxSize = -1;
        const uint64_t dataSize = static_cast<uint64_t>(type != 'x' && type != 'g' && paxSize >= 0 ? paxSize : size);
        const uint64_t next = pos + 512 + (dataSize + 511) / 512 * 512;
        if (type == 'L' || type == 'x') {
            const size_t length = static_cast<size_t>(size < 65536 ? size : 65536);
            const TByteView data = m_s.Peek(pos + 512, length);
            if (data.Size() != length)
                break;
            if (type == 'L') {
                size_t n = length;
                while (n > 0 && data.U8(n - 1) == 0)
                    --n;
                pendingName = Name(data.Data(), n);
                havePendingName = true;
            } else {
                // pax records: "<length> <key>=<value>\n", the length counting the whole record.
                size_t at = 0;
                while (at < length) {
                    size_t recordLength = 0;
                    size_t i = at;
                    while (i < length && data.U8(i) >= '0' && data.U8(i) <= '9' && recordLength < 1000000)
                        recordLength = recordLength * 10 + (data.U8(i++) - '0');
                    // The record must hold the blank, at least a key and its closing line feed.
                    if (recordLength == 0 || at + recordLength > length || i + 2 > at + recordLength ||
                        data.U8(i) != ' ')
                        break;
                    const std::string record(reinterpret_cast<const char*>(data.Data()) + i + 1,
                                             at + recordLength - i - 2);
                    const size_t eq = record.find('=');
                    if (eq != std::string::npos) {
                        const std::string key = record.substr(0, eq);
                        const std::string value = record.substr(eq + 1);
                        if (key == "path") {
                            pendingName = Name(reinterpret_cast<const uint8_t*>(value.data()), value.size(), true);
                            havePendingName = true;
                        } else if (key == "size") {
                            paxSize = std::strtoll(value.c_str(), nullptr, 10);
                        } else if (key == "mtime") {
                            paxTime = std::strtoll(value.c_str(), nullptr, 10);
                            havePaxTime = true;
                        }
                    }
                    at += recordLength;
                }
            }
            pos = next;
            continue;
        }
        if (type == 'K' || type == 'g' || type == 'V') {
            pos = next;
            continue;
        }
        TArcEntry e;
        if (havePendingName) {
            e.FileName = pendingName;
        } else {
            std::string full = FieldText(h, 0, 100);
            // POSIX ustar keeps the first part of a long path in the prefix field.
            if (h.Matches(257, "ustar\0", 6) && h.U8(345) != 0)
                full = FieldText(h, 345, 155) + "/" + full;
            e.FileName = Name(reinterpret_cast<const uint8_t*>(full.data()), full.size());
        }
        if (havePaxTime)
            mtime = paxTime;
        if ((timeValid || havePaxTime) && mtime > 0)
            SetUnixDate(e, mtime);
        else
            SetDosDate(e, 0);
        e.PackedSize = e.UnpackedSize = static_cast<uint32_t>(dataSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : dataSize);
        e.Crc = static_cast<uint32_t>(checksum);
        const bool folder = type == '5' || (!e.FileName.empty() && e.FileName.back() == L'\\');
        e.MethodText = folder ? L"Dir" : L"Tarred";
        e.ExternalAttr = folder ? 0x10 : 0;
        e.HeaderOffset = pos;
        Offer(e);
        havePendingName = false;
        paxSize = -1;
        havePaxTime = false;
        pos = next;
    }
}

// ZOO: a linked list of directory entries from the offset the archive header names; an entry
// whose link is 0 ends the list.
void TArcReader::Walk::WalkZoo()
{
    constexpr uint32_t kTag = 0xFDC4A7DC;
    const uint64_t base = m_r.m_startOffset;
    const TByteView header = m_s.Peek(base, 34);
    if (header.Size() == 0 || header.U32(20) != kTag) {
        BadHeader();
        return;
    }
    uint64_t pos = base + header.U32(24);
    while (Tick()) {
        const TByteView h = m_s.Peek(pos, 51);
        if (h.Size() == 0)
            break;
        if (h.U32(0) != kTag) {
            BadHeader();
            break;
        }
        const uint64_t next = h.U32(6);
        if (next == 0)
            break;
        TArcEntry e;
        const uint32_t type = h.U8(4);
        e.MethodCode = h.U8(5);
        SetDosDate(e, DosDateFirst(h.U32(14)));
        e.Crc = h.U16(18);
        e.UnpackedSize = h.U32(20);
        e.PackedSize = h.U32(24);
        e.VersionMadeBy = h.U8(28);
        e.VersionNeeded = h.U8(29);
        const bool deleted = h.U8(30) != 0;
        std::vector<uint8_t> name(
            h.Data() + 38, h.Data() + 38 + [&] {
                size_t n = 0;
                while (n < 13 && h.U8(38 + n) != 0)
                    ++n;
                return n;
            }());
        std::vector<uint8_t> dir;
        if (type == 2) {
            const TByteView more = m_s.Peek(pos, 56);
            const size_t varLength = more.U16(51);
            const TByteView var = m_s.Peek(pos + 56, varLength);
            if (more.Size() != 0 && var.Size() >= 2) {
                const size_t longLength = var.U8(0);
                const size_t dirLength = var.U8(1);
                // Both lengths count the terminating zero.
                auto text = [&](size_t at, size_t n) {
                    std::vector<uint8_t> t;
                    for (size_t i = 0; i < n && var.Has(at + i, 1) && var.U8(at + i) != 0; ++i)
                        t.push_back(var.U8(at + i));
                    return t;
                };
                std::vector<uint8_t> longName = text(2, longLength);
                dir = text(2 + longLength, dirLength);
                if (!longName.empty())
                    name = longName;
            }
        }
        std::vector<uint8_t> full = dir;
        if (!full.empty() && full.back() != '/' && full.back() != '\\')
            full.push_back('\\');
        full.insert(full.end(), name.begin(), name.end());
        e.FileName = Name(full.data(), full.size());
        static const wchar_t* const kTexts[] = {L"Stored", L"Fastest", L"Greatest"};
        e.MethodText = e.MethodCode < 3 ? kTexts[e.MethodCode] : L"Unsupported";
        e.ExternalAttr = 0x20;
        e.HeaderOffset = pos;
        if (!deleted)
            Offer(e);
        // The links must lead forward, or a damaged archive would be walked for ever.
        if (base + next <= pos)
            break;
        pos = base + next;
    }
}

// The first file header of a RAR 5 volume: its name, data size and whether it continues from the
// previous volume and into the next. False when the volume has no readable file header.
bool TArcReader::Walk::Rar5FirstFile(TArcStream& s, std::wstring& name, uint64_t& dataSize, uint64_t& flags)
{
    if (!s.Peek(0, 8).Matches(0, "Rar!\x1A\x07\x01\x00", 8))
        return false;
    uint64_t pos = 8;
    for (int block = 0; block < 64; ++block) {
        const uint64_t left = s.Size() > pos ? s.Size() - pos : 0;
        const TByteView start = s.Peek(pos, left < 16 ? static_cast<size_t>(left) : 16);
        size_t at = 4;
        uint64_t headerSize = 0;
        if (start.Size() < 5 || !ReadVint(start, at, headerSize) || headerSize == 0 || headerSize > (2u << 20))
            return false;
        const uint64_t headerStart = pos + at;
        const TByteView h = s.Peek(headerStart, static_cast<size_t>(headerSize));
        size_t i = 0;
        uint64_t type = 0, extraSize = 0;
        dataSize = 0;
        if (h.Size() == 0 || !ReadVint(h, i, type) || !ReadVint(h, i, flags) ||
            ((flags & 1) && !ReadVint(h, i, extraSize)) || ((flags & 2) && !ReadVint(h, i, dataSize)))
            return false;
        if (type == 5)
            return false;
        if (type == 2) {
            uint64_t fileFlags = 0, value = 0, nameLength = 0;
            if (!ReadVint(h, i, fileFlags) || !ReadVint(h, i, value) || !ReadVint(h, i, value))
                return false;
            i += ((fileFlags & 2) ? 4 : 0) + ((fileFlags & 4) ? 4 : 0);
            if (!ReadVint(h, i, value) || !ReadVint(h, i, value) || !ReadVint(h, i, nameLength) ||
                !h.Has(i, static_cast<size_t>(nameLength)))
                return false;
            name = Name(h.Data() + i, static_cast<size_t>(nameLength), true);
            return true;
        }
        if (dataSize > s.Size())
            return false;
        pos = headerStart + headerSize + dataSize;
    }
    return false;
}
