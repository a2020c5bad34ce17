#pragma once
// Emptying the system's internet cache: the walk over its entries, deciding which entry goes,
// growing the entry buffer when the system asks for more and counting what happened. The cache
// itself is reached through UrlCacheReader, which the Win32 side implements with WinINet.
// Portable.

#include <cstdint>
#include <vector>

namespace CacheCleanup {

// The first size of the entry buffer.
constexpr std::uint32_t kFirstBufferSize = 4096;
// No entry record is anywhere near this; a system asking for more is not believed.
constexpr std::uint32_t kMaxBufferSize = 16u * 1024 * 1024;
// The entry type bit of cookies (COOKIE_CACHE_ENTRY).
constexpr std::uint32_t kCookieEntry = 0x00100000;
// The system errors the walk knows.
constexpr unsigned long kErrorBufferTooSmall = 122; // ERROR_INSUFFICIENT_BUFFER
constexpr unsigned long kErrorNoMoreItems = 259;    // ERROR_NO_MORE_ITEMS

// The cache as the walk sees it.
class UrlCacheReader {
public:
    virtual ~UrlCacheReader() = default;
    // Reads the first entry (which starts the enumeration) or the next one into buffer.
    // Returns 0, or the system's error; with kErrorBufferTooSmall, size is the size asked for
    // and the same entry is read again by the next call of the same kind.
    virtual unsigned long Read(bool first, std::vector<unsigned char>& buffer, std::uint32_t& size) = 0;
    // The type bits of the entry in the buffer.
    virtual std::uint32_t EntryType(const std::vector<unsigned char>& buffer) const = 0;
    // Deletes the entry in the buffer by its source address.
    virtual bool Delete(const std::vector<unsigned char>& buffer) = 0;
};

struct Result {
    unsigned removed = 0;
    unsigned kept = 0;   // cookies kept by choice
    unsigned failed = 0; // entries the system did not delete
    // 0 when every entry was seen; otherwise the error that ended the walk early.
    unsigned long error = 0;

    Result& operator+=(const Result& other);
};

// Whether an entry of this type stays in the cache.
bool KeepEntry(std::uint32_t entryType, bool keepCookies);

// The buffer size for the retry after the system asked for asked bytes while current were
// given; 0 when no sensible size is left (the walk then stops). A size not above the current
// one is doubled, so that a system asking for too little cannot keep the walk going round.
std::uint32_t GrownSize(std::uint32_t current, std::uint32_t asked);

// Walks the cache from its first entry and deletes every entry that KeepEntry lets go.
Result Run(UrlCacheReader& cache, bool keepCookies, std::uint32_t firstBufferSize = kFirstBufferSize);

} // namespace CacheCleanup
