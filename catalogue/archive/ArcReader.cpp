#include "catalogue/archive/ArcReader.h"

#include "catalogue/archive/ArcWalk.h"

#include <chrono>
#include <exception>
#include <unordered_map>

namespace {

// Names compare without regard to case, as the per-name query's pattern does.
std::wstring FoldName(const std::wstring& name)
{
    std::wstring folded = name;
    for (wchar_t& c : folded) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<wchar_t>(c - 32);
    }
    return folded;
}

} // namespace

bool TArcReader::Activate()
{
    return RunWalk(Sink::Events);
}

bool TArcReader::FilesInArchive(std::vector<std::wstring>* list)
{
    if (!list)
        return false;
    list->clear();
    std::vector<std::wstring>* const outer = m_names;
    m_names = list;
    const bool ok = RunWalk(Sink::Names);
    m_names = outer;
    if (!ok)
        list->clear();
    return ok;
}

bool TArcReader::GetFileInfo(const std::wstring& name)
{
    m_entry = TArcEntry();
    if (name.empty())
        return false;
    std::vector<std::wstring> saved = FileSpec;
    FileSpec.assign(1, name);
    const bool ok = RunWalk(Sink::Quiet);
    FileSpec = std::move(saved);
    return ok;
}

bool TArcReader::ReadEntries(std::vector<TArcEntry>& entries)
{
    entries.clear();
    std::vector<TArcEntry>* const outer = m_entries;
    m_entries = &entries;
    const bool ok = RunWalk(Sink::Entries);
    m_entries = outer;
    // A name that occurs more than once shows the fields of its last occurrence on every row,
    // as asking for each name on its own would.
    std::unordered_map<std::wstring, size_t> last;
    for (size_t i = 0; i < entries.size(); ++i)
        last[FoldName(entries[i].FileName)] = i;
    if (last.size() != entries.size()) {
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t j = last[FoldName(entries[i].FileName)];
            if (j != i) {
                const std::wstring name = entries[i].FileName;
                const uint32_t index = entries[i].Index;
                entries[i] = entries[j];
                entries[i].FileName = name;
                entries[i].Index = index;
            }
        }
    }
    return ok;
}

bool TArcReader::RunWalk(Sink sink)
{
    // A caller's message pump (OnProgress) may start another query on this reader; the outer
    // walk gets its own destination, count and totals back when that one ends, and its cancel
    // flag: a cancel asked for during the inner query stops the outer walk too.
    struct Restore {
        TArcReader& r;
        Sink sink;
        std::vector<std::wstring>* names;
        std::vector<TArcEntry>* entries;
        bool nested;
        bool cancel;
        uint32_t count;
        uint64_t packedTotal;
        uint64_t unpackedTotal;
        ~Restore()
        {
            --r.m_depth;
            r.m_sink = sink;
            r.m_names = names;
            r.m_entries = entries;
            if (nested) {
                r.m_cancel = r.m_cancel || cancel;
                r.m_count = count;
                r.m_packedTotal = packedTotal;
                r.m_unpackedTotal = unpackedTotal;
            }
        }
    } restore{*this, m_sink, m_names, m_entries, m_depth > 0, m_cancel, m_count, m_packedTotal, m_unpackedTotal};
    ++m_depth;
    m_sink = sink;
    m_cancel = false;
    m_count = 0;
    m_packedTotal = 0;
    m_unpackedTotal = 0;
    if (sink != Sink::Names)
        m_entry = TArcEntry();

    if (m_archiveFile.empty()) {
        ReportError(TArcError::FileNotFound, m_archiveFile);
        return false;
    }
    if (sink == Sink::Events && !OnRead) {
        ReportError(TArcError::RequiredEventNotAssigned, m_archiveFile, L"OnRead");
        return false;
    }
    if (m_arcType == atNA || m_arcType == atUnsupported || m_arcType == atUnknown) {
        ReportError(TArcError::UnknownFileType, m_archiveFile);
        return false;
    }
    if (m_arcType == atFileOpenErr) {
        ReportError(TArcError::FileNotFound, m_archiveFile);
        return false;
    }
    std::unique_ptr<TArcFile> file = m_fileSystem.Open(m_archiveFile);
    if (!file) {
        ReportError(TArcError::ReadError, m_archiveFile);
        return false;
    }
    const auto started = std::chrono::steady_clock::now();
    const bool events = sink == Sink::Events;
    if (events && OnActivate)
        OnActivate();

    TArcStream stream(*file);
    Walk walk(*this, stream);
    bool ok = false;
    // The walk allocates only what the file holds, but an exception must still end the walk
    // and not the program: the preview calls it from a window procedure.
    try {
        ok = walk.Run();
    } catch (const std::exception&) {
        ReportError(TArcError::ReadError, m_archiveFile);
        ok = false;
    }

    if (events) {
        if (OnTotals)
            OnTotals(m_packedTotal, m_unpackedTotal, CompressionRatio(m_packedTotal, m_unpackedTotal), m_count);
        if (OnDeactivate)
            OnDeactivate();
    }
    file.reset();
    if (events && OnElapsedTime) {
        const auto elapsed = std::chrono::steady_clock::now() - started;
        OnElapsedTime(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    }
    return ok;
}

// The shared part of a walk -------------------------------------------------------------------

bool TArcReader::Walk::Run()
{
    switch (m_r.m_arcType) {
    case atZip:
    case atZipExe:
    case atJar:
    case atJarExe:
    case atZipMV:
        WalkZip();
        break;
    case atArc:
    case atArcExe:
        WalkArc(false);
        break;
    case atPak:
    case atPakExe:
        WalkArc(true);
        break;
    case atArj:
    case atArjExe:
        WalkArj();
        break;
    case atBh:
    case atBhExe:
        WalkBh();
        break;
    case atCab:
        WalkCab();
        break;
    case atGZip:
        WalkGZip();
        break;
    case atHA:
        WalkHa();
        break;
    case atLha:
    case atLhaExe:
    case atLzh:
    case atLzhExe:
        WalkLha();
        break;
    case atRar:
    case atRarExe:
        WalkRar();
        break;
    case atTar:
        WalkTar();
        break;
    case atZoo:
        WalkZoo();
        break;
    case atAce:
    case atAceExe:
        WalkAce();
        break;
    case atMSGZ:
        WalkMsgz();
        break;
    default:
        // UUE: an encoded text, not a directory; nothing to list.
        break;
    }
    return !m_failed;
}

bool TArcReader::Walk::Tick()
{
    if (m_r.m_cancel)
        return false;
    if (m_r.OnProgress && !m_r.OnProgress()) {
        m_r.m_cancel = true;
        return false;
    }
    return !m_r.m_cancel;
}

std::wstring TArcReader::Walk::Name(const uint8_t* bytes, size_t n, bool utf8) const
{
    std::wstring name = utf8 ? DecodeUtf8(bytes, n) : m_r.TranslateOemChar ? DecodeOem(bytes, n) : DecodeAnsi(bytes, n);
    for (wchar_t& c : name) {
        if (c == L'\0')
            c = L' ';
        else if (c == L'/')
            c = L'\\';
    }
    return name;
}

void TArcReader::Walk::SetDosDate(TArcEntry& entry, uint32_t dosDateTime)
{
    entry.DosDateTime = dosDateTime;
    entry.Date = DosDateTimeToDays(dosDateTime);
}

void TArcReader::Walk::SetUnixDate(TArcEntry& entry, int64_t unixTime)
{
    SetDosDate(entry, UnixToDosDateTime(unixTime));
}

void TArcReader::Walk::Fail(TArcError error)
{
    if (!m_failed)
        m_r.ReportError(error, m_r.m_archiveFile);
    m_failed = true;
}

void TArcReader::Walk::Offer(TArcEntry& entry, bool zipFolder)
{
    ++m_seen;
    if (m_r.m_sink == Sink::Events && m_r.OnReadFile)
        m_r.OnReadFile(entry.FileName);
    if (!m_r.CheckWildCard(entry.FileName))
        return;
    if (zipFolder) {
        if (!m_r.ShowEmptyDirs)
            return;
    } else {
        ++m_r.m_count;
        m_r.m_packedTotal += entry.PackedSize;
        m_r.m_unpackedTotal += entry.UnpackedSize;
    }
    entry.Ratio = CompressionRatio(entry.PackedSize, entry.UnpackedSize);
    entry.Index = m_reported++;
    switch (m_r.m_sink) {
    case Sink::Names:
        m_r.m_names->push_back(entry.FileName);
        break;
    case Sink::Entries:
        m_r.m_entries->push_back(entry);
        break;
    case Sink::Quiet:
        m_r.m_entry = entry;
        break;
    case Sink::Events:
        m_r.m_entry = entry;
        if (m_r.OnReadBegin)
            m_r.OnReadBegin();
        m_r.OnRead(m_r.m_entry, entry.HeaderOffset, entry.Index);
        if (m_r.OnReadEnd)
            m_r.OnReadEnd();
        break;
    }
}

// ZIP ----------------------------------------------------------------------------------------

namespace {

// Records that may follow the last local header or the last central header.
bool IsZipTrailer(const TByteView& h)
{
    return h.Matches(0, "PK\1\2", 4) || h.Matches(0, "PK\5\6", 4) || h.Matches(0, "PK\6\6", 4) ||
           h.Matches(0, "PK\6\7", 4) || h.Matches(0, "PK\5\5", 4);
}

} // namespace

void TArcReader::Walk::WalkZip()
{
    bool central = (m_r.m_zipState & kZipCentralHeader) != 0;
    uint64_t pos = m_r.m_centralOffset;
    int64_t shift = 0;
    if (!central && m_r.m_haveEndRecord && m_r.m_centralEnd >= m_r.m_centralSize) {
        // A stub put in front without adjusting the offsets: the central directory still ends
        // where the (ZIP64) end record begins, and every stored offset is short by the stub's size.
        const uint64_t real = m_r.m_centralEnd - m_r.m_centralSize;
        if (m_s.Peek(real, 4).Matches(0, "PK\1\2", 4)) {
            central = true;
            shift = static_cast<int64_t>(real - pos);
            pos = real;
        }
    }
    if (!central) {
        m_r.m_zipState = kZipLocalHeader;
        pos = m_r.m_startOffset;
        // The first segment of a spanned set starts with a 4-byte marker.
        if (m_s.Peek(pos, 30).Matches(0, "PK\7\10", 4))
            pos += 4;
    }

    const size_t record = central ? 46 : 30;
    while (Tick()) {
        // The end record is shorter than a header: the signature first.
        const TByteView signature = m_s.Peek(pos, 4);
        if (signature.Size() != 0 && !signature.Matches(0, central ? "PK\1\2" : "PK\3\4", 4)) {
            if (!IsZipTrailer(signature))
                BadHeader();
            break;
        }
        const TByteView h = m_s.Peek(pos, record);
        if (h.Size() == 0) {
            // Without the central directory every local header is followed by another or by the
            // central directory: the file ends too early either way.
            Fail(TArcError::ReadError);
            break;
        }
        TArcEntry e;
        uint64_t next;
        size_t nameLength;
        size_t extraLength;
        uint32_t flags;
        if (central) {
            flags = h.U16(8);
            e.VersionMadeBy = h.U16(4);
            e.VersionNeeded = h.U16(6);
            e.MethodCode = h.U16(10);
            SetDosDate(e, h.U32(12));
            e.Crc = h.U32(16);
            e.PackedSize = h.U32(20);
            e.UnpackedSize = h.U32(24);
            nameLength = h.U16(28);
            extraLength = h.U16(30);
            e.InternalAttr = h.U16(36);
            e.ExternalAttr = h.U32(38) & 0xFFFF; // the high half holds the Unix mode
            e.HeaderOffset = h.U32(42);
            next = pos + 46 + nameLength + extraLength + h.U16(32);
        } else {
            flags = h.U16(6);
            e.VersionNeeded = h.U16(4);
            e.MethodCode = h.U16(8);
            SetDosDate(e, h.U32(10));
            e.Crc = h.U32(14);
            e.PackedSize = h.U32(18);
            e.UnpackedSize = h.U32(22);
            nameLength = h.U16(26);
            extraLength = h.U16(28);
            e.HeaderOffset = pos;
            next = 0;
        }
        const TByteView name = m_s.Peek(pos + record, nameLength);
        if (name.Size() != nameLength) {
            Fail(TArcError::ReadError);
            break;
        }
        e.FileName = Name(name, (flags & 0x800) != 0); // bit 11: the name is UTF-8
        const bool zip64 =
            e.PackedSize == 0xFFFFFFFFu || e.UnpackedSize == 0xFFFFFFFFu || (central && e.HeaderOffset == 0xFFFFFFFFu);
        if (zip64) {
            const TByteView extra = m_s.Peek(pos + record + nameLength, extraLength);
            TRegisterArcReader::ReadZip64Extra(extra, !central, e.UnpackedSize, e.PackedSize,
                                               central ? &e.HeaderOffset : nullptr);
        }
        if (central) {
            e.HeaderOffset += static_cast<uint64_t>(shift); // wraps back for a negative shift
        } else {
            const uint64_t data = pos + 30 + nameLength + extraLength;
            next = data + e.PackedSize;
            if (flags & 8) {
                // Sizes and CRC follow the data in a descriptor (signature optional; 64-bit sizes
                // after a ZIP64 extra). A streamed entry's header carries zeros: nothing tells
                // where its data ends, so the walk stops there rather than list wrong figures.
                const size_t sizeBytes = zip64 ? 8 : 4;
                const TByteView d = m_s.Peek(next, 4 + 4 + 2 * sizeBytes);
                const bool signature = d.Matches(0, "PK\7\10", 4);
                if (e.PackedSize == 0) {
                    if (!signature || d.U32(8) != 0) {
                        Fail(TArcError::SizeUnknown);
                        break;
                    }
                    e.Crc = d.U32(4); // an empty entry: its descriptor follows the header
                }
                next += (signature ? 4 : 0) + 4 + 2 * sizeBytes;
            }
            // A 64-bit size can wrap the position back: never step backwards.
            if (next <= pos) {
                BadHeader();
                break;
            }
        }
        e.Encrypted = (flags & 1) != 0;
        const bool folder = central && (e.ExternalAttr & 0x18) != 0;
        if (!folder)
            e.MethodText = ZipMethodText(e.MethodCode, flags, e.ExternalAttr);
        Offer(e, folder);
        pos = next;
    }
}
