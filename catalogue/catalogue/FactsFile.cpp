#include "FactsFile.h"

#include <algorithm>

namespace FactsFile {

namespace {

constexpr char kMagic[4] = {'S', 'R', 'T', 'F'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 4 + 4 + 8 + 4 + 4 + 4;
constexpr size_t kVolumeFixedSize = 4 + 4 + 2 + 2;
constexpr size_t kLineSize = 24;
constexpr size_t kTrailerSize = 4;

void PutU16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutU64(std::string& out, uint64_t value)
{
    PutU32(out, static_cast<uint32_t>(value));
    PutU32(out, static_cast<uint32_t>(value >> 32));
}

void PutText(std::string& out, const std::wstring& text)
{
    for (wchar_t c : text)
        PutU16(out, static_cast<uint16_t>(c));
}

uint64_t GetLittleEndian(std::string_view bytes, size_t at, int count)
{
    uint64_t value = 0;
    for (int k = count - 1; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

uint32_t GetU32(std::string_view bytes, size_t at)
{
    return static_cast<uint32_t>(GetLittleEndian(bytes, at, 4));
}

uint16_t GetU16(std::string_view bytes, size_t at)
{
    return static_cast<uint16_t>(GetLittleEndian(bytes, at, 2));
}

std::wstring GetText(std::string_view bytes, size_t at, size_t length)
{
    std::wstring text(length, L'\0');
    for (size_t k = 0; k < length; ++k)
        text[k] = static_cast<wchar_t>(GetU16(bytes, at + 2 * k));
    return text;
}

// Hands bytes on to a sink and keeps their CRC.
class CheckedSink {
public:
    explicit CheckedSink(ByteSink& sink) : m_sink(sink) {}
    bool Write(std::string_view bytes)
    {
        m_crc = DatabaseText::Crc32(m_crc, bytes.data(), bytes.size());
        return m_sink.Write(bytes);
    }
    uint32_t Crc() const { return m_crc; }

private:
    ByteSink& m_sink;
    uint32_t m_crc = 0;
};

} // namespace

uint16_t Builder::Volume(const VolumeIdentity& volume)
{
    for (size_t k = 0; k < m_volumes.size(); ++k)
        if (m_volumes[k] == volume)
            return static_cast<uint16_t>(k + 1);
    if (m_volumes.size() >= 0xFFFF)
        return 0;
    VolumeIdentity stored = volume;
    // Lengths are kept in 16 bits; no real root or label comes near.
    stored.root.resize(std::min<size_t>(stored.root.size(), 0xFFFF));
    stored.label.resize(std::min<size_t>(stored.label.size(), 0xFFFF));
    m_volumes.push_back(std::move(stored));
    return static_cast<uint16_t>(m_volumes.size());
}

void Builder::Add(const Line& line)
{
    PutU64(m_lines, line.size);
    PutU64(m_lines, line.writeTime);
    PutU32(m_lines, line.attributes);
    PutU16(m_lines, line.volume <= m_volumes.size() ? line.volume : 0);
    PutU16(m_lines, 0);
    ++m_lineCount;
}

bool Builder::Write(ByteSink& sink, uint64_t datSize, uint32_t datCheck) const
{
    CheckedSink out(sink);
    std::string head(kMagic, sizeof(kMagic));
    PutU32(head, kVersion);
    PutU64(head, datSize);
    PutU32(head, datCheck);
    PutU32(head, m_lineCount);
    PutU32(head, static_cast<uint32_t>(m_volumes.size()));
    for (const VolumeIdentity& volume : m_volumes) {
        PutU32(head, volume.serial);
        PutU32(head, volume.driveType);
        PutU16(head, static_cast<uint16_t>(volume.root.size()));
        PutU16(head, static_cast<uint16_t>(volume.label.size()));
        PutText(head, volume.root);
        PutText(head, volume.label);
    }
    if (!out.Write(head))
        return false;
    // The lines in pieces: a category of a million files is not copied whole.
    constexpr size_t kPiece = 10922 * kLineSize;
    for (size_t at = 0; at < m_lines.size(); at += kPiece)
        if (!out.Write(std::string_view(m_lines).substr(at, kPiece)))
            return false;
    std::string trailer;
    PutU32(trailer, out.Crc());
    return sink.Write(trailer);
}

bool Reader::Open(std::string bytes)
{
    *this = Reader();
    const std::string_view view(bytes);
    if (view.size() < kHeaderSize + kTrailerSize || view.compare(0, 4, std::string_view(kMagic, 4)) != 0 ||
        GetU32(view, 4) != kVersion)
        return false;
    const size_t body = view.size() - kTrailerSize;
    if (DatabaseText::Crc32(0, view.data(), body) != GetU32(view, body))
        return false;
    const uint32_t lineCount = GetU32(view, 20);
    const uint32_t volumeCount = GetU32(view, 24);
    std::vector<VolumeIdentity> volumes;
    size_t at = kHeaderSize;
    for (uint32_t k = 0; k < volumeCount; ++k) {
        if (body - at < kVolumeFixedSize)
            return false;
        VolumeIdentity volume;
        volume.serial = GetU32(view, at);
        volume.driveType = GetU32(view, at + 4);
        const size_t rootLength = GetU16(view, at + 8);
        const size_t labelLength = GetU16(view, at + 10);
        at += kVolumeFixedSize;
        if ((body - at) / 2 < rootLength + labelLength)
            return false;
        volume.root = GetText(view, at, rootLength);
        volume.label = GetText(view, at + 2 * rootLength, labelLength);
        at += 2 * (rootLength + labelLength);
        volumes.push_back(std::move(volume));
    }
    if ((body - at) % kLineSize != 0 || (body - at) / kLineSize != lineCount)
        return false;
    m_datSize = GetLittleEndian(view, 8, 8);
    m_datCheck = GetU32(view, 16);
    m_lineCount = lineCount;
    m_linesStart = at;
    m_volumes = std::move(volumes);
    m_bytes = std::move(bytes);
    m_open = true;
    return true;
}

bool Reader::Belongs(uint64_t datSize, uint32_t datCheck) const
{
    return m_open && m_datSize == datSize && m_datCheck == datCheck;
}

bool Reader::LineAt(uint32_t index, Line& line) const
{
    if (!m_open || index >= m_lineCount)
        return false;
    const std::string_view view(m_bytes);
    const size_t at = m_linesStart + static_cast<size_t>(index) * kLineSize;
    line.size = GetLittleEndian(view, at, 8);
    line.writeTime = GetLittleEndian(view, at + 8, 8);
    line.attributes = GetU32(view, at + 16);
    line.volume = GetU16(view, at + 20);
    return true;
}

const VolumeIdentity* Reader::VolumeAt(uint16_t index) const
{
    return index >= 1 && index <= m_volumes.size() ? &m_volumes[index - 1] : nullptr;
}

} // namespace FactsFile
