// libFuzzer target: the facts file reader over arbitrary bytes. The input gets its own CRC
// appended, so that the mutations reach the header, volume table and lines behind the check.
#include "catalogue/catalogue/FactsFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const uint32_t crc = DatabaseText::Crc32(0, data, size);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((crc >> shift) & 0xFF);
    FactsFile::Reader reader;
    if (reader.Open(bytes)) {
        FactsFile::Line line;
        for (uint32_t k = 0; reader.LineAt(k, line); ++k)
            reader.VolumeAt(line.volume);
        reader.Belongs(0, 0);
    }
    reader.Open(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
