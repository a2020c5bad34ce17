#pragma once
// Archive type detection: classifies a file by its bytes (not its name) and finds where the
// first header to read begins. Portable.

#include "catalogue/archive/ArcCommon.h"
#include "catalogue/archive/ArcFile.h"
#include "catalogue/archive/ArcStream.h"

#include <array>
#include <memory>

class TRegisterArcReader : public TArcCommon {
public:
    // Bits of ZipState().
    static constexpr uint32_t kZipEndRecord = 1;     // end-of-central-directory record found
    static constexpr uint32_t kZipCentralHeader = 8; // a central header at the offset it names
    static constexpr uint32_t kZipLocalHeader = 16;  // a local header found

    explicit TRegisterArcReader(TArcFileSystem& fileSystem = SystemFileSystem()) : m_fileSystem(fileSystem) {}

    // Stores the name ("/" becomes "\") and detects the type; an empty name gives atNA.
    void SetArchiveFile(const std::wstring& name);
    const std::wstring& ArchiveFile() const { return m_archiveFile; }
    TArcType ArcType() const { return m_arcType; }
    // Where the first header to read begins (0-based file offset).
    uint64_t StartOffset() const { return m_startOffset; }
    uint32_t ZipState() const { return m_zipState; }
    uint64_t FileSize() const { return m_fileSize; }

    // Size of the window searched for the ZIP end record, less 23; kept within 2000..32767.
    int ZipCmntBufSize() const { return m_zipCmntBufSize; }
    void SetZipCmntBufSize(int size) { m_zipCmntBufSize = size < 2000 ? 2000 : size > 32767 ? 32767 : size; }

    // Runs the detection for ArchiveFile again; leaves ArcType and the start offset set.
    TArcType GetArcType();

protected:
    // Classifies a 4-byte signature found at the start of the file (atStart) or inside an
    // executable.
    TArcType TAT(const uint8_t signature[4], bool atStart);
    // Self-extracting archives behind stubs of known sizes.
    bool IsSFXZipped();
    // Archives whose offset an executable names in its string resources 1 to 4.
    bool ProbeStringResources();
    // An archive header right after the DOS image of an executable.
    bool ProbeDosImageEnd();
    // Searches the ZIP end record and follows it; returns the central directory offset or the
    // offset of the first local header (0 = none) and sets the ZIP state bits.
    uint64_t GetCentralDirOffset();
    // Takes the central directory's offset and size from the ZIP64 end record when a locator
    // stands before the end record.
    void ReadZip64End();
    // The ZIP64 extra field (id 1) of a header: the 64-bit forms of the fields that the header
    // holds as 0xFFFFFFFF, in the order unpacked size, packed size, local header offset (when
    // offset is given). A local header's extra holds both sizes whenever it is there.
    static void ReadZip64Extra(const TByteView& extra, bool local, uint64_t& unpacked, uint64_t& packed,
                               uint64_t* offset);
    // Scans 192 KB from start for the headers of archives that SFX stubs carry.
    void doByteSearch(uint64_t start, TArcType& type);

    bool OpenArchive();
    bool Removable() { return m_fileSystem.IsRemovable(m_archiveFile); }

    TArcFileSystem& m_fileSystem;
    std::wstring m_archiveFile;
    TArcType m_arcType = atNA;
    uint64_t m_startOffset = 0;
    uint32_t m_zipState = 0;
    uint64_t m_fileSize = 0;
    int m_zipCmntBufSize = 32000;

    // What the ZIP search read: the end record, and where it lies (for archives whose offsets
    // were not adjusted after a stub was put in front).
    std::array<uint8_t, 22> m_endRecord{};
    uint64_t m_endRecordOffset = 0;
    bool m_haveEndRecord = false;
    // The central directory as the end record (or the ZIP64 end record) states it, and where it
    // really ends: at the ZIP64 end record when there is one, else at the end record.
    uint64_t m_centralOffset = 0;
    uint64_t m_centralSize = 0;
    uint64_t m_centralEnd = 0;
    std::array<uint8_t, 46> m_firstCentral{};
    std::array<uint8_t, 30> m_firstLocal{};

    // Open only while a detection runs.
    std::unique_ptr<TArcFile> m_file;
    std::unique_ptr<TArcStream> m_stream;
};
