#pragma once
// Support code of the archive reader's tests: a byte builder for synthetic archives, writers of the
// ZIP and tar headers that the tests vary, and the folders of the tool-made and third-party
// sample archives.

#include "catalogue/archive/ArcReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace ArcTest {

using namespace std::string_literals; // "...\0..."s keeps the NUL bytes of a signature
using Bytes = std::vector<uint8_t>;

// A little-endian field of N bytes, and a run of zeros.
template <int N> struct Le {
    uint64_t value;
};
using U8 = Le<1>;
using U16 = Le<2>;
using U32 = Le<4>;
using U64 = Le<8>;
struct Zeros {
    size_t count;
};

template <class Range> void Append(Bytes& b, const Range& bytes) // a text or byte vector
{
    b.insert(b.end(), bytes.begin(), bytes.end());
}
inline void Append(Bytes& b, Zeros zeros)
{
    b.insert(b.end(), zeros.count, 0);
}
template <int N> void Append(Bytes& b, Le<N> field)
{
    for (int i = 0; i < N; ++i)
        b.push_back(static_cast<uint8_t>(field.value >> (8 * i)));
}
// The bytes of texts, byte vectors, fields and zeros one after the other.
template <class... Parts> Bytes Cat(const Parts&... parts)
{
    Bytes b;
    (Append(b, parts), ...);
    return b;
}
// Overwrites a field in place (damage, or a value known only after the rest was written).
template <int N> void Poke(Bytes& b, size_t at, Le<N> field)
{
    const Bytes bytes = Cat(field);
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
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
inline Bytes MakeZip(const std::vector<ZipMember>& members)
{
    Bytes zip, central;
    for (const ZipMember& m : members) {
        // The fields from the flags to the extra field's length are the same in both headers.
        const Bytes fields =
            Cat(U16{m.flags}, U16{m.method}, U32{m.dosDateTime}, U32{0x12345678}, U32{m.data.size()},
                U32{m.unpacked == 0xFFFFFFFF ? m.data.size() : m.unpacked}, U16{m.name.size()}, U16{0});
        Append(central,
               Cat("PK\1\2"s, U16{20}, U16{20}, fields, Zeros{6}, U32{m.externalAttr}, U32{zip.size()}, m.name));
        Append(zip, Cat("PK\3\4"s, U16{20}, fields, m.name, m.data));
    }
    const size_t count = members.size();
    return Cat(zip, central, "PK\5\6"s, Zeros{4}, U16{count}, U16{count}, U32{central.size()}, U32{zip.size()}, U16{0});
}

// A ustar header with the given size and time fields (octal text; the time 2021-03-04 05:06:08
// UTC unless given) and a valid checksum.
inline Bytes TarHeader(const std::string& name, char type, const std::string& size,
                       const std::string& time = "14020065300")
{
    Bytes h = Cat(name, Zeros{100 - name.size()}, "0000644"s, Zeros{17}, size, Zeros{12 - size.size()}, time,
                  Zeros{12 - time.size()}, "        "s, std::string(1, type), Zeros{100}, "ustar"s, Zeros{1}, "00"s);
    h.resize(512);
    unsigned sum = 0;
    for (const uint8_t b : h)
        sum += b;
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%06o", sum);
    std::copy(checksum, checksum + 7, h.begin() + 148);
    return h;
}

// The sample folders: the build passes them in, an environment variable of the same name
// overrides that.
inline std::string SampleFolder(const std::string& variable)
{
    if (const char* dir = std::getenv(variable.c_str()))
        return dir;
    return variable == "SORTARO_ARCHIVE_SAMPLES"    ? SORTARO_ARCHIVE_SAMPLES
           : variable == "SORTARO_ARCHIVE_FIXTURES" ? SORTARO_ARCHIVE_FIXTURES
                                                    : SORTARO_ARCHIVE_REGRESSIONS;
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

} // namespace ArcTest
