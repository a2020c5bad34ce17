#include "catalogue/archive/PeStrings.h"

namespace {

constexpr uint32_t kRtString = 6;
constexpr int kMaxDepthEntries = 4096;

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawOffset;
    uint32_t rawSize;
};

class PeImage {
public:
    explicit PeImage(TArcStream& file) : m_file(file) {}

    bool Load()
    {
        const TByteView dos = m_file.Peek(0, 64);
        if (!dos.Matches(0, "MZ", 2))
            return false;
        const uint32_t peOffset = dos.U32(60);
        const TByteView pe = m_file.Peek(peOffset, 24);
        if (!pe.Matches(0, "PE\0\0", 4))
            return false;
        const uint16_t sectionCount = pe.U16(6);
        const uint16_t optionalSize = pe.U16(20);
        const uint64_t optionalStart = static_cast<uint64_t>(peOffset) + 24;
        const TByteView optional = m_file.Peek(optionalStart, optionalSize);
        if (optional.Size() < 2)
            return false;
        // The data directories follow the fixed part, whose size differs for PE32 and PE32+.
        size_t directories;
        switch (optional.U16(0)) {
        case 0x10B:
            directories = 96;
            break;
        case 0x20B:
            directories = 112;
            break;
        default:
            return false;
        }
        const uint32_t directoryCount = optional.U32(directories - 4);
        if (directoryCount < 3 || !optional.Has(directories + 2 * 8, 8))
            return false;
        m_resourceRva = optional.U32(directories + 2 * 8);
        if (m_resourceRva == 0)
            return false;
        const TByteView sections = m_file.Peek(optionalStart + optionalSize, static_cast<size_t>(sectionCount) * 40);
        if (sectionCount == 0 || sections.Size() == 0)
            return false;
        for (size_t i = 0; i < sectionCount; ++i) {
            const size_t at = i * 40;
            m_sections.push_back(
                {sections.U32(at + 12), sections.U32(at + 8), sections.U32(at + 20), sections.U32(at + 16)});
        }
        return FileOffset(m_resourceRva, m_resourceBase);
    }

    // The file offset of a relative virtual address, when a section holds it in the file.
    bool FileOffset(uint32_t rva, uint64_t& offset) const
    {
        for (const Section& s : m_sections) {
            const uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent && rva - s.virtualAddress < s.rawSize) {
                offset = static_cast<uint64_t>(s.rawOffset) + (rva - s.virtualAddress);
                return true;
            }
        }
        return false;
    }

    // Finds the entry of a directory (at an offset from the resource base) with the given id;
    // id < 0 takes the first entry. Returns the entry's raw offset-to-data field.
    bool FindEntry(uint32_t directory, int64_t id, uint32_t& target) const
    {
        const TByteView head = m_file.Peek(m_resourceBase + directory, 16);
        if (head.Size() == 0)
            return false;
        const uint32_t named = head.U16(12);
        const uint32_t ids = head.U16(14);
        const uint32_t total = named + ids;
        if (total == 0 || total > kMaxDepthEntries)
            return false;
        const TByteView entries = m_file.Peek(m_resourceBase + directory + 16, static_cast<size_t>(total) * 8);
        if (entries.Size() == 0)
            return false;
        for (uint32_t i = 0; i < total; ++i) {
            const uint32_t name = entries.U32(i * 8);
            if (id < 0 || (!(name & 0x80000000u) && name == static_cast<uint32_t>(id))) {
                target = entries.U32(i * 8 + 4);
                return true;
            }
        }
        return false;
    }

    TArcStream& File() { return m_file; }
    uint64_t ResourceBase() const { return m_resourceBase; }

private:
    TArcStream& m_file;
    uint32_t m_resourceRva = 0;
    uint64_t m_resourceBase = 0;
    std::vector<Section> m_sections;
};

} // namespace

std::vector<std::wstring> PeStrings::ReadStringTable(TArcStream& file, unsigned first, unsigned last)
{
    std::vector<std::wstring> result;
    PeImage image(file);
    if (first > last || !image.Load())
        return result;
    // String ids live in blocks of 16: block (id / 16) + 1, slot id % 16.
    const uint32_t block = first / 16 + 1;
    uint32_t level = 0;
    // type -> name -> language -> data entry; the first two levels must be subdirectories.
    if (!image.FindEntry(0, kRtString, level) || !(level & 0x80000000u))
        return result;
    if (!image.FindEntry(level & 0x7FFFFFFFu, block, level) || !(level & 0x80000000u))
        return result;
    if (!image.FindEntry(level & 0x7FFFFFFFu, -1, level) || (level & 0x80000000u))
        return result;
    const TByteView dataEntry = file.Peek(image.ResourceBase() + level, 16);
    uint64_t dataOffset = 0;
    if (dataEntry.Size() == 0 || !image.FileOffset(dataEntry.U32(0), dataOffset))
        return result;
    const uint32_t dataSize = dataEntry.U32(4);
    const TByteView data = file.Peek(dataOffset, dataSize);
    if (data.Size() == 0)
        return result;
    // The block: 16 strings, each a 16-bit length and that many UTF-16 code units.
    size_t at = 0;
    for (unsigned slot = 0; slot < 16 && slot <= last % 16; ++slot) {
        if (!data.Has(at, 2))
            break;
        const size_t length = data.U16(at);
        at += 2;
        if (!data.Has(at, length * 2))
            break;
        if (slot >= first % 16) {
            std::wstring text;
            for (size_t i = 0; i < length; ++i)
                text.push_back(static_cast<wchar_t>(data.U16(at + i * 2)));
            result.push_back(text);
        }
        at += length * 2;
    }
    result.resize(last - first + 1);
    return result;
}
