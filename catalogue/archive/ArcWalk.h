#pragma once
// One walk over an archive's directory: the record loop shared by every format and one step
// function per format. Internal to the reader. Portable.
//
// Every step reads its header through TArcStream::Peek, which refuses what is not wholly in the
// file, and every step must move forward: a next-header position at or before the current one
// (a record size of 0, a link pointing back) ends the walk instead of looping.

#include "catalogue/archive/ArcReader.h"

class TArcReader::Walk {
public:
    Walk(TArcReader& reader, TArcStream& stream) : m_r(reader), m_s(stream), m_size(stream.Size()) {}

    // Lists the archive; false when it could not be listed completely (a damaged or cut-off
    // archive: the entries read before the damage stay reported).
    bool Run();

private:
    // Between records: the cancel flag and the caller's progress hook.
    bool Tick();
    // Name bytes to text: NUL becomes a blank, "/" becomes "\".
    std::wstring Name(const uint8_t* bytes, size_t n, bool utf8 = false) const;
    std::wstring Name(const TByteView& view, bool utf8 = false) const { return Name(view.Data(), view.Size(), utf8); }
    // Fires OnReadFile, applies the filter and reports the entry. A ZIP central directory's
    // folder and volume-label entries (zipFolder) are reported only with ShowEmptyDirs and
    // not counted.
    void Offer(TArcEntry& entry, bool zipFolder = false);
    // The archive is damaged: reports the first error and makes the walk's result false.
    void Fail(TArcError error);
    // A record without its format's signature.
    void BadHeader() { Fail(TArcError::BadFileHeader); }
    // Unix times go through a DOS date-time in local time, so every format's dates share the
    // DOS range and its rule for invalid values.
    static void SetUnixDate(TArcEntry& entry, int64_t unixTime);
    static void SetDosDate(TArcEntry& entry, uint32_t dosDateTime);

    // A RAR 1.5-4 file header's name: the 8-bit name, its Unicode form where there is one, or
    // UTF-8 from RAR for Unix.
    std::wstring RarFileName(const TByteView& h, size_t nameAt, size_t length, uint32_t flags, uint32_t host) const;
    // The packed sizes of an entry's parts in the following volumes of a RAR or ACE set, from
    // the first file header of each volume while that names the same entry and says it goes on.
    enum class VolumeSet { Ace, Rar, Rar5 };
    uint64_t FollowingParts(VolumeSet set, const std::wstring& name);
    // "x.part2.rar" after "x.part1.rar", "x.r00" after "x.rar", "x.c00" after "x.ace"; empty
    // when the name follows neither pattern.
    static std::wstring NextVolumeName(const std::wstring& name, bool ace);
    bool Rar5FirstFile(TArcStream& stream, std::wstring& name, uint64_t& dataSize, uint64_t& flags);

    void WalkZip();
    void WalkArc(bool pak);
    void WalkArj();
    void WalkBh();
    void WalkCab();
    void WalkGZip();
    void WalkHa();
    void WalkLha();
    void WalkRar();
    void WalkRar5(uint64_t pos);
    void WalkTar();
    void WalkZoo();
    void WalkAce();
    void WalkMsgz();

    TArcReader& m_r;
    TArcStream& m_s;
    uint64_t m_size;
    uint32_t m_reported = 0; // entries reported, the index of the next one
    uint32_t m_seen = 0;     // entries read, before the filter
    bool m_failed = false;
};
