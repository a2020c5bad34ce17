#include "CacheCleanup.h"

namespace CacheCleanup {

Result& Result::operator+=(const Result& other)
{
    removed += other.removed;
    kept += other.kept;
    failed += other.failed;
    if (!error)
        error = other.error;
    return *this;
}

bool KeepEntry(std::uint32_t entryType, bool keepCookies)
{
    return keepCookies && (entryType & kCookieEntry) != 0;
}

std::uint32_t GrownSize(std::uint32_t current, std::uint32_t asked)
{
    std::uint64_t size = asked > current ? asked : std::uint64_t(current) * 2;
    if (size == 0)
        size = kFirstBufferSize;
    return size > kMaxBufferSize ? 0 : static_cast<std::uint32_t>(size);
}

Result Run(UrlCacheReader& cache, bool keepCookies, std::uint32_t firstBufferSize)
{
    Result result;
    std::vector<unsigned char> buffer;
    std::uint32_t size = firstBufferSize ? firstBufferSize : kFirstBufferSize;
    bool open = false;
    // The buffer starts out too small: the first pass allocates it and reads the first entry.
    unsigned long state = kErrorBufferTooSmall;
    for (;;) {
        if (state == 0) {
            if (KeepEntry(cache.EntryType(buffer), keepCookies))
                ++result.kept;
            else if (cache.Delete(buffer))
                ++result.removed;
            else
                ++result.failed;
        } else if (state == kErrorBufferTooSmall) {
            buffer.assign(size, 0);
        } else {
            break;
        }
        // After a buffer too small the same step is tried again: the first entry while no
        // enumeration is open, the next one otherwise.
        std::uint32_t asked = size;
        state = cache.Read(!open, buffer, asked);
        if (state == 0)
            open = true;
        else if (state == kErrorBufferTooSmall && (size = GrownSize(size, asked)) == 0)
            break;
    }
    if (state != kErrorNoMoreItems)
        result.error = state;
    return result;
}

} // namespace CacheCleanup
