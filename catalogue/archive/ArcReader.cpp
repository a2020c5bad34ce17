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
    if (!ok) {
        entries.clear();
        return false;
    }
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
    return true;
}

bool TArcReader::RunWalk(Sink sink)
{
    // A caller's message pump (OnProgress) may start another query on this reader; the outer
    // walk gets its own destination back when that one ends.
    struct Restore {
        TArcReader& r;
        Sink sink;
        std::vector<std::wstring>* names;
        std::vector<TArcEntry>* entries;
        ~Restore()
        {
            r.m_sink = sink;
            r.m_names = names;
            r.m_entries = entries;
        }
    } restore{*this, m_sink, m_names, m_entries};
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
        if (OnTotals) {
            const uint32_t packed = static_cast<uint32_t>(m_packedTotal > 0xFFFFFFFFu ? 0xFFFFFFFFu : m_packedTotal);
            const uint32_t unpacked =
                static_cast<uint32_t>(m_unpackedTotal > 0xFFFFFFFFu ? 0xFFFFFFFFu : m_unpackedTotal);
            OnTotals(m_packedTotal, m_unpackedTotal, CompressionRatio(packed, unpacked), m_count);
        }
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
    return true;
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

void TArcReader::Walk::BadHeader()
{
    if (m_seen == 0)
        m_r.ReportError(TArcError::BadFileHeader, m_r.m_archiveFile);
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

void TArcReader::Walk::WalkZip()
{
    const TByteView end(m_r.m_endRecord.data(), m_r.m_endRecord.size());
    bool central = (m_r.m_zipState & kZipCentralHeader) != 0;
    uint64_t pos = end.U32(16);
    int64_t shift = 0;
    if (!central && m_r.m_haveEndRecord) {
        // A stub put in front without adjusting the offsets: the central directory still ends
        // where the end record begins, and every stored offset is short by the stub's size.
        const uint64_t size = end.U32(12);
        if (m_r.m_endRecordOffset >= size) {
            const uint64_t real = m_r.m_endRecordOffset - size;
            const TByteView sig = m_s.Peek(real, 4);
            if (sig.Matches(0, "PK\1\2", 4)) {
                central = true;
                shift = static_cast<int64_t>(real) - static_cast<int64_t>(pos);
                pos = real;
            }
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
        const TByteView h = m_s.Peek(pos, record);
        if (h.Size() == 0)
            break;
        if (!h.Matches(0, central ? "PK\1\2" : "PK\3\4", 4)) {
            BadHeader();
            break;
        }
        TArcEntry e;
        uint64_t next;
        size_t nameLength;
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
            e.InternalAttr = h.U16(36);
            e.ExternalAttr = h.U32(38) & 0xFFFF; // the high half holds the Unix mode
            e.HeaderOffset = static_cast<uint64_t>(static_cast<int64_t>(h.U32(42)) + shift);
            next = pos + 46 + nameLength + h.U16(30) + h.U16(32);
        } else {
            flags = h.U16(6);
            e.VersionNeeded = h.U16(4);
            e.MethodCode = h.U16(8);
            SetDosDate(e, h.U32(10));
            e.Crc = h.U32(14);
            e.PackedSize = h.U32(18);
            e.UnpackedSize = h.U32(22);
            nameLength = h.U16(26);
            e.HeaderOffset = pos;
            // Entries whose sizes follow their data (flag bit 3) carry 0 here: the next read
            // lands in the data and ends the walk, which is all a walk without central
            // directory can do.
            next = pos + 30 + nameLength + h.U16(28) + e.PackedSize;
        }
        const TByteView name = m_s.Peek(pos + record, nameLength);
        if (name.Size() != nameLength)
            break;
        e.FileName = Name(name, (flags & 0x800) != 0); // bit 11: the name is UTF-8
        e.Encrypted = (flags & 1) != 0;
        const bool folder = central && (e.ExternalAttr & 0x18) != 0;
        if (!folder)
            e.MethodText = ZipMethodText(e.MethodCode, flags, e.ExternalAttr);
        Offer(e, folder);
        pos = next;
    }
}
