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

    // Lists the archive; false when reading failed in a way that makes the result worthless.
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
    // A record without its format's signature: an error only when nothing was listed yet.
    void BadHeader();
    // Unix times go through a DOS date-time in local time, so every format's dates share the
    // DOS range and its rule for invalid values.
    static void SetUnixDate(TArcEntry& entry, int64_t unixTime);
    static void SetDosDate(TArcEntry& entry, uint32_t dosDateTime);

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
};
