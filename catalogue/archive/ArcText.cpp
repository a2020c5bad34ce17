#include "catalogue/archive/ArcFile.h"

#include <cstring>

namespace {

// Code page 437, bytes 0x80-0xFF. The lower half is ASCII (Windows maps the control bytes to
// control characters, not to the glyphs of the IBM PC).
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Windows-1252, bytes 0x80-0x9F; the five unassigned bytes map to the C1 controls as Windows does.
const char16_t kCp1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendCodePoint(std::wstring& out, uint32_t cp)
{
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

} // namespace

std::wstring DecodeCp437(const uint8_t* bytes, size_t n)
{
    std::wstring out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        out.push_back(bytes[i] < 0x80 ? static_cast<wchar_t>(bytes[i])
                                      : static_cast<wchar_t>(kCp437High[bytes[i] - 0x80]));
    return out;
}

std::wstring DecodeCp1252(const uint8_t* bytes, size_t n)
{
    std::wstring out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        out.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kCp1252C1[b - 0x80]) : static_cast<wchar_t>(b));
    }
    return out;
}

std::wstring DecodeLatin1(const uint8_t* bytes, size_t n)
{
    return std::wstring(bytes, bytes + n);
}

std::wstring DecodeUtf8(const uint8_t* bytes, size_t n)
{
    std::wstring out;
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const uint8_t b = bytes[i];
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        int extra = 0;
        uint32_t cp = 0;
        uint32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
            minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
            minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
            minimum = 0x10000;
        } else {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= static_cast<size_t>(extra) && i + j < n && (bytes[i + j] & 0xC0) == 0x80; ++j)
            cp = (cp << 6) | (bytes[i + j] & 0x3F);
        if (j != static_cast<size_t>(extra) + 1 || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // A broken sequence costs one replacement character and resumes at the next byte
            // that cannot continue it.
            out.push_back(static_cast<wchar_t>(0xFFFD));
            i += j;
            continue;
        }
        AppendCodePoint(out, cp);
        i += j;
    }
    return out;
}

std::string EncodeUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// Memory files ------------------------------------------------------------------------------

namespace {

class MemoryFile : public TArcFile {
public:
    explicit MemoryFile(std::shared_ptr<const std::vector<uint8_t>> bytes) : m_bytes(std::move(bytes)) {}
    uint64_t Size() const override { return m_bytes->size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override
    {
        if (offset >= m_bytes->size())
            return 0;
        const size_t available = static_cast<size_t>(m_bytes->size() - offset);
        const size_t count = n < available ? n : available;
        std::memcpy(buffer, m_bytes->data() + offset, count);
        return count;
    }

private:
    std::shared_ptr<const std::vector<uint8_t>> m_bytes;
};

} // namespace

void TMemoryFileSystem::Add(const std::wstring& name, std::vector<uint8_t> bytes, int64_t unixTime)
{
    m_files[name] = Entry{std::make_shared<const std::vector<uint8_t>>(std::move(bytes)), unixTime};
}

std::unique_ptr<TArcFile> TMemoryFileSystem::Open(const std::wstring& name)
{
    const auto it = m_files.find(name);
    if (it == m_files.end())
        return nullptr;
    return std::make_unique<MemoryFile>(it->second.bytes);
}

bool TMemoryFileSystem::ModifiedTime(const std::wstring& name, int64_t& unixTime)
{
    const auto it = m_files.find(name);
    if (it == m_files.end())
        return false;
    unixTime = it->second.unixTime;
    return true;
}
