#pragma once
// Helpers of the archive reader's tests: byte builders for synthetic archives, a ZIP writer for
// the cases no tool makes, and the folders of the tool-made and third-party sample archives.

#include "catalogue/archive/ArcReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace ArcTest {

using Bytes = std::vector<uint8_t>;

inline void Put8(Bytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
}
inline void Put16(Bytes& b, uint32_t v)
{
    Put8(b, v);
    Put8(b, v >> 8);
}
inline void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v);
    Put16(b, v >> 16);
}
inline void Put64(Bytes& b, uint64_t v)
{
    Put32(b, static_cast<uint32_t>(v));
    Put32(b, static_cast<uint32_t>(v >> 32));
}
inline void PutText(Bytes& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
}
inline void PutZeros(Bytes& b, size_t n)
{
    b.insert(b.end(), n, 0);
}
inline void Poke16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Poke32(Bytes& b, size_t at, uint32_t v)
{
    Poke16(b, at, v);
    Poke16(b, at + 2, v >> 16);
}

// 2021-03-04 05:06:08 as a DOS date-time, and its day count.
constexpr uint32_t kDosStamp = 0x526428C4;
constexpr double kStampDays = 44259.0 + (5 * 3600 + 6 * 60 + 8) / 86400.0;

struct ZipMember {
    std::string name;
    std::string data;
    uint16_t method = 0;
    uint16_t flags = 0;
    uint32_t externalAttr = 0x20;
    uint32_t dosDateTime = kDosStamp;
    uint32_t unpacked = 0xFFFFFFFF; // the data's size unless set
};

// A ZIP archive with local headers, central directory and end record, as a writer makes it.
inline Bytes MakeZip(const std::vector<ZipMember>& members, const Bytes& prefix = Bytes())
{
    Bytes zip = prefix;
    std::vector<uint32_t> offsets;
    for (const ZipMember& m : members) {
        offsets.push_back(static_cast<uint32_t>(zip.size()));
        PutText(zip, "PK\3\4");
        Put16(zip, 20);
        Put16(zip, m.flags);
        Put16(zip, m.method);
        Put32(zip, m.dosDateTime);
        Put32(zip, 0x12345678);
        Put32(zip, static_cast<uint32_t>(m.data.size()));
        Put32(zip, m.unpacked == 0xFFFFFFFF ? static_cast<uint32_t>(m.data.size()) : m.unpacked);
        Put16(zip, static_cast<uint32_t>(m.name.size()));
        Put16(zip, 0);
        PutText(zip, m.name);
        PutText(zip, m.data);
    }
    const uint32_t central = static_cast<uint32_t>(zip.size());
    for (size_t i = 0; i < members.size(); ++i) {
        const ZipMember& m = members[i];
        PutText(zip, "PK\1\2");
        Put16(zip, 20);
        Put16(zip, 20);
        Put16(zip, m.flags);
        Put16(zip, m.method);
        Put32(zip, m.dosDateTime);
        Put32(zip, 0x12345678);
        Put32(zip, static_cast<uint32_t>(m.data.size()));
        Put32(zip, m.unpacked == 0xFFFFFFFF ? static_cast<uint32_t>(m.data.size()) : m.unpacked);
        Put16(zip, static_cast<uint32_t>(m.name.size()));
        Put16(zip, 0);
        Put16(zip, 0);
        Put16(zip, 0);
        Put16(zip, 0);
        Put32(zip, m.externalAttr);
        Put32(zip, offsets[i]);
        PutText(zip, m.name);
    }
    const uint32_t centralSize = static_cast<uint32_t>(zip.size()) - central;
    PutText(zip, "PK\5\6");
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<uint32_t>(members.size()));
    Put16(zip, static_cast<uint32_t>(members.size()));
    Put32(zip, centralSize);
    Put32(zip, central);
    Put16(zip, 0);
    return zip;
}

// The sample folders: the build passes them in, an environment variable of the same name
// overrides that. Empty when neither names one.
inline std::string SampleFolder(const char* variable)
{
    if (const char* dir = std::getenv(variable))
        return dir;
#ifdef SORTARO_ARCHIVE_SAMPLES
    if (std::string(variable) == "SORTARO_ARCHIVE_SAMPLES")
        return SORTARO_ARCHIVE_SAMPLES;
#endif
#ifdef SORTARO_ARCHIVE_FIXTURES
    if (std::string(variable) == "SORTARO_ARCHIVE_FIXTURES")
        return SORTARO_ARCHIVE_FIXTURES;
#endif
#ifdef SORTARO_ARCHIVE_REGRESSIONS
    if (std::string(variable) == "SORTARO_ARCHIVE_REGRESSIONS")
        return SORTARO_ARCHIVE_REGRESSIONS;
#endif
    return std::string();
}

// A file in one of the sample folders; on Windows a Unix path is reached through Wine's drive Z:.
inline std::wstring SamplePath(const char* variable, const std::string& name)
{
    const std::string dir = SampleFolder(variable);
    if (dir.empty())
        return std::wstring();
    std::string path = dir + "/" + name;
#ifdef _WIN32
    if (path[0] == '/')
        path = "Z:" + path;
#endif
    return std::wstring(path.begin(), path.end());
}

inline std::string Utf8(const std::wstring& text)
{
    return EncodeUtf8(text);
}

} // namespace ArcTest
