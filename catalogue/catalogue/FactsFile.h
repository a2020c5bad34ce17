#pragma once
// The facts file beside a database file (<id>.facts beside <id>.dat): for each line of the
// .dat, in the same order, the file's size, last-write time, attributes and the volume it was
// on. The .dat stays as other programs read it; the facts let the catalogue keep the records
// of discs and drives that are not there when it is loaded. Portable.
//
// Layout, all numbers little-endian:
//   header   "SRTF", version (u32, 1), size of the .dat (u64), CRC-32 of the .dat's bytes (u32),
//            line count (u32), volume count (u32)
//   volumes  serial (u32), drive type (u32), root length (u16), label length (u16), then root
//            and label as UTF-16 code units
//   lines    size (u64), last-write time (u64), attributes (u32), volume (u16, 1-based in the
//            table above, 0 for none), reserved (u16, 0): 24 bytes a line
//   trailer  CRC-32 of everything before it (u32)
// A facts file is trusted only when it is whole (its own CRC) and belongs to its .dat (size
// and CRC of the .dat); anything else is ignored.

#include "Catalogue.h"
#include "DatabaseText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace FactsFile {

using DatabaseText::ByteSink;

struct Line {
    uint64_t size = 0;
    uint64_t writeTime = 0; // UTC, 100 ns units; 0 when none is known
    uint32_t attributes = 0;
    uint16_t volume = 0; // 1-based index into the file's volumes; 0 for none
};

// Collects the facts of a .dat's lines while it is written.
class Builder {
public:
    // The file's index of volume (1-based), adding it the first time.
    uint16_t Volume(const VolumeIdentity& volume);
    void Add(const Line& line);
    uint32_t LineCount() const { return m_lineCount; }
    // Writes the whole facts file for a .dat of datSize bytes with the CRC datCheck.
    bool Write(ByteSink& sink, uint64_t datSize, uint32_t datCheck) const;

private:
    std::vector<VolumeIdentity> m_volumes;
    std::string m_lines;
    uint32_t m_lineCount = 0;
};

// Reads a facts file held in memory. Every method is safe on any bytes.
class Reader {
public:
    // Takes the whole file; false, and no facts, when it is damaged or cut short.
    bool Open(std::string bytes);
    // True when the facts were written for a .dat of this size and CRC.
    bool Belongs(uint64_t datSize, uint32_t datCheck) const;
    uint32_t LineCount() const { return m_lineCount; }
    // False beyond the last line.
    bool LineAt(uint32_t index, Line& line) const;
    // The volume of a line; nullptr for 0 or an index beyond the table.
    const VolumeIdentity* VolumeAt(uint16_t index) const;

private:
    std::string m_bytes;
    std::vector<VolumeIdentity> m_volumes;
    size_t m_linesStart = 0;
    uint64_t m_datSize = 0;
    uint32_t m_datCheck = 0;
    uint32_t m_lineCount = 0;
    bool m_open = false;
};

} // namespace FactsFile
