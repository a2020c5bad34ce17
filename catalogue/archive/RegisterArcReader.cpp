#include "catalogue/archive/RegisterArcReader.h"

#include "catalogue/archive/PeStrings.h"

#include <cstring>

namespace {

constexpr uint64_t kFirstBlock = 32767; // bytes read from the start of the file
constexpr size_t kSearchBlock = 32768;  // block of the local-header and byte searches
constexpr uint64_t kByteSearchStart = 17000;

bool Is(const uint8_t* p, const char* text, size_t n)
{
    return std::memcmp(p, text, n) == 0;
}

bool IsZipLocal(const uint8_t* p)
{
    return Is(p, "PK\3\4", 4);
}

std::wstring UpperExtension(const std::wstring& name)
{
    const size_t slash = name.rfind(L'\\');
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return std::wstring();
    std::wstring ext = name.substr(dot);
    for (wchar_t& c : ext)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
    return ext;
}

// A TAR header is valid when its checksum field holds the sum of its bytes, the field itself
// counted as blanks. Some old tars summed signed bytes: both sums are accepted.
bool IsTarHeader(const TByteView& h)
{
    if (h.Size() < 512)
        return false;
    uint32_t sum = 0;
    int32_t signedSum = 0;
    for (size_t i = 0; i < 512; ++i) {
        const uint8_t b = (i >= 148 && i < 156) ? 0x20 : h.U8(i);
        sum += b;
        signedSum += static_cast<int8_t>(b);
    }
    size_t i = 148;
    while (i < 156 && h.U8(i) == ' ')
        ++i;
    uint32_t value = 0;
    int digits = 0;
    for (; i < 156 && h.U8(i) >= '0' && h.U8(i) <= '7'; ++i, ++digits)
        value = value * 8 + (h.U8(i) - '0');
    return digits > 0 && (value == sum || static_cast<int32_t>(value) == signedSum);
}

} // namespace

void TRegisterArcReader::SetArchiveFile(const std::wstring& name)
{
    m_archiveFile = name;
    for (wchar_t& c : m_archiveFile)
        if (c == L'/')
            c = L'\\';
    m_count = 0;
    m_startOffset = 0;
    if (m_archiveFile.empty()) {
        m_arcType = atNA;
        return;
    }
    GetArcType();
}

bool TRegisterArcReader::OpenArchive()
{
    m_file = m_fileSystem.Open(m_archiveFile);
    if (!m_file)
        return false;
    m_fileSize = m_file->Size();
    m_stream = std::make_unique<TArcStream>(*m_file);
    return true;
}

TArcType TRegisterArcReader::GetArcType()
{
    m_zipState = 0;
    m_startOffset = 0;
    m_fileSize = 0;
    m_haveEndRecord = false;
    m_endRecordOffset = 0;
    m_centralOffset = 0;
    m_centralSize = 0;
    m_centralEnd = 0;
    m_endRecord.fill(0);
    m_firstCentral.fill(0);
    m_firstLocal.fill(0);
    if (m_archiveFile.empty())
        return m_arcType = atNA;
    m_arcType = atFileOpenErr;
    if (!OpenArchive())
        return m_arcType;

    if (m_fileSize > 19) {
        std::vector<uint8_t> head(static_cast<size_t>(m_fileSize < kFirstBlock ? m_fileSize : kFirstBlock));
        head.resize(m_stream->ReadUpTo(0, head.data(), head.size()));
        if (head.size() >= 2 && head[0] == 'M' && head[1] == 'Z') {
            m_arcType = atUnknown;
            if (!IsSFXZipped() && !ProbeStringResources() && !ProbeDosImageEnd()) {
                const uint64_t offset = GetCentralDirOffset();
                if (offset > 0) {
                    m_arcType = atZipExe;
                    m_startOffset = offset;
                }
            }
            if (!IsRecognised(m_arcType))
                doByteSearch(kByteSearchStart, m_arcType);
        } else {
            size_t zeros = 0;
            while (zeros < head.size() && head[zeros] == 0)
                ++zeros;
            m_arcType = zeros + 4 <= head.size() ? TAT(head.data() + zeros, true) : atUnknown;
            const bool aceMark = head.size() >= 14 && Is(head.data() + 7, "**ACE**", 7);
            if (m_arcType == atZip) {
                const uint64_t offset = GetCentralDirOffset();
                if (!(m_zipState & kZipLocalHeader) && offset == 0) {
                    m_startOffset = zeros;
                    m_zipState |= kZipLocalHeader;
                }
                if (Removable() && !(m_zipState & kZipEndRecord))
                    m_arcType = atZipMV;
            } else if (m_arcType != atZipMV) {
                if (aceMark)
                    m_arcType = atAce;
                // Leading zero bytes (padding some transfer tools add) come before the first header.
                if (IsRecognised(m_arcType) && m_startOffset == 0 && m_arcType != atAce)
                    m_startOffset = zeros;
            }
            if (!IsRecognised(m_arcType)) {
                bool done = false;
                if (Removable() && m_fileSystem.HasSpannedSetLabel(m_archiveFile)) {
                    GetCentralDirOffset();
                    if (m_zipState < kZipLocalHeader)
                        m_arcType = atZipMV;
                    done = true;
                }
                if (!done && aceMark) {
                    m_arcType = atAce;
                    done = true;
                }
                if (!done) {
                    const size_t limit = head.size() < 5000 ? head.size() : 5000;
                    for (size_t i = 0; i + 7 <= limit; ++i) {
                        if ((i == 0 || head[i - 1] == '\n') &&
                            (Is(head.data() + i, "begin 6", 7) || Is(head.data() + i, "begin 7", 7))) {
                            m_arcType = atUue;
                            m_startOffset = 0;
                            done = true;
                            break;
                        }
                    }
                }
                if (!done && m_fileSize > 512) {
                    uint64_t at = 0;
                    TByteView header = m_stream->Peek(0, 512);
                    // A volume label comes first on GNU multi-volume tapes; the archive starts after it.
                    if (header.U8(156) == 'V') {
                        at = 512;
                        header = m_stream->Peek(512, 512);
                    }
                    if (IsTarHeader(header)) {
                        m_arcType = atTar;
                        m_startOffset = at;
                        done = true;
                    }
                }
                if (!done) {
                    GetCentralDirOffset();
                    if ((m_zipState & kZipEndRecord) && (m_zipState & kZipLocalHeader))
                        m_arcType = atZip;
                    else if (Removable() && (m_zipState & kZipEndRecord) && !(m_zipState & kZipLocalHeader))
                        m_arcType = atZipMV;
                }
            }
        }
    }

    if (m_arcType == atZip && UpperExtension(m_archiveFile) == L".JAR")
        m_arcType = atJar;
    m_stream.reset();
    m_file.reset();
    return m_arcType;
}

TArcType TRegisterArcReader::TAT(const uint8_t s[4], bool atStart)
{
    const auto lo = [&](uint8_t a, uint8_t b) { return s[0] == a && s[1] == b; };
    if (lo('P', 'K')) {
        if (s[2] == 7 && s[3] == 8) {
            m_zipState |= kZipLocalHeader;
            return Removable() ? atZipMV : atZip;
        }
        if (s[2] == 1 && s[3] == 2) {
            if (!Removable())
                return atNA;
            GetCentralDirOffset();
            return atZipMV;
        }
        if (s[2] == 'G' && s[3] == '4')
            return atNA;
        return atStart ? atZip : atZipExe;
    }
    if (Is(s, "MSCF", 4))
        return atStart ? atCab : atUnsupported;
    if (Is(s, "BH\5\7", 4))
        return atStart ? atBh : atBhExe;
    if (Is(s, "\x13\x5D\x65\x8C", 4))
        return atStart ? atMSGZ : atUnsupported;
    if (lo('H', 'A'))
        return atStart ? atHA : atUnsupported;
    // 25 21 ("%!") is not listed with the 1F family: it is how every PostScript file begins,
    // and no compressor uses it.
    if (lo(0x1F, 0x8B) || lo(0x1F, 0x9D) || lo(0x1F, 0x9E) || lo(0x1F, 0x1E) || lo(0x1F, 0xA0))
        return atStart ? atGZip : atUnsupported;
    if (lo(0x60, 0xEA))
        return atStart ? atArj : atArjExe;
    if (lo('Z', 'O'))
        return atStart ? atZoo : atUnsupported;
    if (s[2] == '-' && s[3] == 'l')
        return atStart ? atLha : atLhaExe;
    if (Is(s, "Rar!", 4))
        return atStart ? atRar : atRarExe;
    if (lo(0x1A, 0x0A) || lo(0x1A, 0x0B))
        return atStart ? atPak : atPakExe;
    if (lo(0x1A, 0x1E) || lo(0x1A, 0x02))
        return atStart ? atArc : atUnsupported;
    if (lo(0x1A, 0x08) || lo(0x1A, 0x09))
        return atStart ? atArc : atArcExe;
    if (lo(0xB7, 0x92) || lo(0xB7, 0xDF)) {
        // The stub of ARC's own self-extractor is 7716 bytes long.
        m_startOffset = 7716;
        return atArcExe;
    }
    return atUnknown;
}

bool TRegisterArcReader::IsSFXZipped()
{
    // Stub sizes of the self-extractors that were common: ARC's, and two ZIP ones.
    const TByteView arc = m_stream->Peek(7716, 2);
    if (arc.Size() == 2 && arc.U8(0) == 0x1A && arc.U8(1) == 0x09) {
        m_arcType = atArcExe;
        m_startOffset = 7716;
        return true;
    }
    for (const uint64_t at : {uint64_t{7612}, uint64_t{25661}}) {
        const TByteView zip = m_stream->Peek(at, 4);
        if (zip.Size() == 4 && IsZipLocal(zip.Data())) {
            m_arcType = atZipExe;
            // The end record too: the walk reads the central directory when there is one, since
            // the local headers of streamed entries carry no sizes to step over their data.
            GetCentralDirOffset();
            m_startOffset = at;
            m_zipState = kZipLocalHeader;
            return true;
        }
    }
    return false;
}

bool TRegisterArcReader::ProbeStringResources()
{
    // Some self-extractors name the archive's offset in a string resource (ids 1 to 4), as
    // decimal text of at most five digits.
    const std::vector<std::wstring> strings = PeStrings::ReadStringTable(*m_stream, 1, 4);
    for (std::wstring text : strings) {
        if (text.size() > 5)
            text.resize(5);
        if (text.empty())
            continue;
        uint64_t offset = 0;
        for (const wchar_t c : text) {
            if (c < L'0' || c > L'9')
                return false;
            offset = offset * 10 + static_cast<uint64_t>(c - L'0');
        }
        if (offset >= m_fileSize)
            continue;
        const TByteView sig = m_stream->Peek(offset, 4);
        if (sig.Size() < 4)
            continue;
        uint8_t bytes[4];
        std::memcpy(bytes, sig.Data(), 4);
        const TArcType type = TAT(bytes, false);
        if (type != atUnknown) {
            // A ZIP's end record too, for the walk (see IsSFXZipped).
            if (type == atZipExe)
                GetCentralDirOffset();
            m_arcType = type;
            m_startOffset = offset;
            m_zipState = kZipLocalHeader;
            return true;
        }
    }
    return false;
}

bool TRegisterArcReader::ProbeDosImageEnd()
{
    const TByteView mz = m_stream->Peek(0, 6);
    if (mz.Size() < 6)
        return false;
    // The DOS image ends at (pages - 1) * 512 + bytes in the last page.
    const int64_t end = (static_cast<int64_t>(mz.U16(4)) - 1) * 512 + mz.U16(2);
    if (end <= 0 || static_cast<uint64_t>(end) + 4 > m_fileSize)
        return false;
    const TByteView at = m_stream->Peek(static_cast<uint64_t>(end), 4);
    if (at.Size() < 4)
        return false;
    // ARJ's self-extractor leaves two bytes between the image and the archive.
    const uint64_t candidate = static_cast<uint64_t>(end) + (at.U8(2) == 0x60 && at.U8(3) == 0xEA ? 2 : 0);
    const TByteView sig = m_stream->Peek(candidate, 4);
    if (sig.Size() < 4 || IsZipLocal(sig.Data()))
        return false;
    uint8_t bytes[4];
    std::memcpy(bytes, sig.Data(), 4);
    const TArcType type = TAT(bytes, false);
    if (!IsRecognised(type))
        return false;
    m_arcType = type;
    m_startOffset = candidate;
    return true;
}

uint64_t TRegisterArcReader::GetCentralDirOffset()
{
    const uint64_t size = m_fileSize;
    const uint64_t preferred = static_cast<uint64_t>(m_zipCmntBufSize) + 23;
    const uint64_t window = size >= preferred ? preferred : size > kSearchBlock ? kSearchBlock : (size ? size - 1 : 0);
    if (size <= window || window < 23)
        return 0;
    std::vector<uint8_t> tail(static_cast<size_t>(window));
    if (m_stream->ReadUpTo(size - window, tail.data(), tail.size()) != tail.size())
        return 0;
    // Backwards from the last place a whole record fits; position 0 of the window is left out.
    size_t found = 0;
    for (size_t pos = tail.size() - 22; pos >= 1; --pos) {
        if (Is(tail.data() + pos, "PK\5\6", 4)) {
            found = pos;
            break;
        }
    }
    if (found == 0)
        return 0;
    std::memcpy(m_endRecord.data(), tail.data() + found, 22);
    m_endRecordOffset = size - window + found;
    m_haveEndRecord = true;
    m_zipState |= kZipEndRecord;

    const TByteView end(m_endRecord.data(), m_endRecord.size());
    m_centralOffset = end.U32(16);
    m_centralSize = end.U32(12);
    m_centralEnd = m_endRecordOffset;
    ReadZip64End();
    const uint64_t centralOffset = m_centralOffset;
    const TByteView central = m_stream->Peek(centralOffset, 46);
    if (central.Size() == 46 && Is(central.Data(), "PK\1\2", 4)) {
        std::memcpy(m_firstCentral.data(), central.Data(), 46);
        m_zipState |= kZipCentralHeader;
        uint64_t localOffset = central.U32(42);
        if (localOffset == 0xFFFFFFFFu) {
            uint64_t unpacked = central.U32(24), packed = central.U32(20);
            const TByteView extra = m_stream->Peek(centralOffset + 46 + central.U16(28), central.U16(30));
            ReadZip64Extra(extra, false, unpacked, packed, &localOffset);
        }
        const TByteView local = m_stream->Peek(localOffset, 30);
        if (local.Size() == 30 && IsZipLocal(local.Data())) {
            std::memcpy(m_firstLocal.data(), local.Data(), 30);
            m_zipState |= kZipLocalHeader;
        }
        return centralOffset;
    }

    // No central header where the end record says: typical of an archive behind a stub whose
    // offsets were not adjusted. Take the first local header in the first 128 KB instead.
    std::vector<uint8_t> block(kSearchBlock);
    for (uint64_t b = 0; b < 4; ++b) {
        const size_t got = m_stream->ReadUpTo(b * kSearchBlock, block.data(), block.size());
        if (got == 0)
            break;
        for (size_t i = 0; i + 4 <= got; ++i) {
            if (IsZipLocal(block.data() + i)) {
                if (b == 0 && i == 0)
                    break; // an archive at offset 0 is not what this search looks for
                m_zipState = kZipLocalHeader;
                const TByteView local = m_stream->Peek(b * kSearchBlock + i, 30);
                if (local.Size() == 30)
                    std::memcpy(m_firstLocal.data(), local.Data(), 30);
                return b * kSearchBlock + i;
            }
        }
    }
    return 0;
}

void TRegisterArcReader::ReadZip64Extra(const TByteView& extra, bool local, uint64_t& unpacked, uint64_t& packed,
                                        uint64_t* offset)
{
    for (size_t i = 0; extra.Has(i, 4);) {
        const size_t id = extra.U16(i);
        const size_t length = extra.U16(i + 2);
        if (!extra.Has(i + 4, length))
            return;
        if (id == 1) {
            const TByteView field(extra.Data() + i + 4, length);
            size_t at = 0;
            for (uint64_t* value : {&unpacked, &packed, offset}) {
                if (!value)
                    break;
                if (local || *value == 0xFFFFFFFFu) {
                    if (!field.Has(at, 8))
                        return;
                    *value = field.U64(at);
                    at += 8;
                }
            }
            return;
        }
        i += 4 + length;
    }
}

void TRegisterArcReader::ReadZip64End()
{
    if (m_endRecordOffset < 20)
        return;
    const uint64_t locatorAt = m_endRecordOffset - 20;
    const TByteView locator = m_stream->Peek(locatorAt, 20);
    if (!locator.Matches(0, "PK\6\7", 4))
        return;
    // Where the locator says; behind a stub whose offsets were not adjusted, right before the
    // locator (the record is 56 bytes without its rarely used extensible part).
    uint64_t at = locator.U64(8);
    TByteView record = m_stream->Peek(at, 56);
    if (!record.Matches(0, "PK\6\6", 4) && locatorAt >= 56) {
        at = locatorAt - 56;
        record = m_stream->Peek(at, 56);
    }
    if (!record.Matches(0, "PK\6\6", 4))
        return;
    m_centralSize = record.U64(40);
    m_centralOffset = record.U64(48);
    m_centralEnd = at;
}

void TRegisterArcReader::doByteSearch(uint64_t start, TArcType& type)
{
    if (m_fileSize <= start)
        return;
    std::vector<uint8_t> block(kSearchBlock);
    for (uint64_t b = 0; b < 6; ++b) {
        const uint64_t base = start + b * kSearchBlock;
        const size_t got = m_stream->ReadUpTo(base, block.data(), block.size());
        if (got == 0)
            return;
        const uint8_t* p = block.data();
        for (size_t i = 0; i < got; ++i) {
            const uint64_t at = base + i;
            const size_t left = got - i;
            const bool fiveInFile = at + 5 <= m_fileSize;
            if (left >= 5 && fiveInFile && Is(p + i, "**ACE", 5)) {
                type = atAceExe;
                m_startOffset = at - 7; // the ACE header carries "**ACE**" at its offset 7
                return;
            }
            if (left >= 5 && fiveInFile && p[i] == '-' && p[i + 1] == 'l' && p[i + 2] == 'h' && p[i + 4] == '-') {
                type = atLhaExe;
                m_startOffset = at - 2;
                return;
            }
            if (left >= 4 && Is(p + i, "BH\5\7", 4) && !(left >= 8 && Is(p + i + 4, "\x0F\x94\xC3\x84", 4))) {
                type = atBhExe;
                m_startOffset = at;
                return;
            }
            // The byte pairs after the signature rule out the copies inside common stubs' code.
            if (left >= 4 && IsZipLocal(p + i) && !(left >= 8 && Is(p + i + 4, "\x74\x0B\x3D\x00", 4))) {
                type = atZipExe;
                const uint64_t offset = GetCentralDirOffset();
                m_startOffset = offset ? offset : at;
                return;
            }
            if (left >= 4 && Is(p + i, "Rar!", 4)) {
                type = atRarExe;
                m_startOffset = at;
                return;
            }
        }
    }
}
