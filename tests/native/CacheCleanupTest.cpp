#include "catalogue/options/CacheCleanup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

namespace {

using namespace CacheCleanup;

struct FakeEntry {
    std::uint32_t size = 100; // the record's size: a smaller buffer is too small
    std::uint32_t type = 1;
    bool deletable = true;
    // When the buffer is too small: the size the system claims to need (0: the true one).
    std::uint32_t claims = 0;
    unsigned long error = 0; // reading this entry fails with it
};

// A cache that behaves as WinINet does: a buffer too small leaves the position where it was.
class FakeCache : public UrlCacheReader {
public:
    explicit FakeCache(std::vector<FakeEntry> entries) : m_entries(std::move(entries)) {}

    unsigned long Read(bool first, std::vector<unsigned char>& buffer, std::uint32_t& size) override
    {
        EXPECT_TRUE(first || m_open) << "next without first";
        reads.emplace_back(first, static_cast<std::uint32_t>(buffer.size()));
        if (first)
            m_position = 0;
        if (m_position >= m_entries.size())
            return kErrorNoMoreItems;
        const FakeEntry& entry = m_entries[m_position];
        if (entry.error)
            return entry.error;
        if (buffer.size() < entry.size) {
            size = entry.claims ? entry.claims : entry.size;
            return kErrorBufferTooSmall;
        }
        m_open = true;
        std::memcpy(buffer.data(), &m_position, sizeof(m_position));
        ++m_position;
        return 0;
    }

    std::uint32_t EntryType(const std::vector<unsigned char>& buffer) const override
    {
        return m_entries[IndexIn(buffer)].type;
    }

    bool Delete(const std::vector<unsigned char>& buffer) override
    {
        const std::size_t index = IndexIn(buffer);
        if (!m_entries[index].deletable)
            return false;
        deleted.insert(index);
        return true;
    }

    std::vector<std::pair<bool, std::uint32_t>> reads; // first or next, with the buffer's size
    std::set<std::size_t> deleted;

private:
    static std::size_t IndexIn(const std::vector<unsigned char>& buffer)
    {
        std::size_t index = 0;
        std::memcpy(&index, buffer.data(), sizeof(index));
        return index;
    }

    std::vector<FakeEntry> m_entries;
    std::size_t m_position = 0;
    bool m_open = false;
};

constexpr std::uint32_t kCookie = kCookieEntry | 1; // Wine marks a committed cookie so
const FakeEntry kPage{};
const FakeEntry kCookieEntryOfCache{100, kCookie};

TEST(CacheCleanup, WalksDeletesAndCounts)
{
    using Reads = std::vector<std::pair<bool, std::uint32_t>>;
    const FakeEntry large{5000};
    // After a buffer too small the same step again, with the size asked for or, when that is no
    // more than before, twice the size.
    const Reads firstGrows = {{true, 4096}, {true, 5000}, {false, 5000}, {false, 5000}};
    const Reads nextGrows = {{true, 4096}, {false, 4096}, {false, 5000}, {false, 5000}};
    const Reads doubled = {{true, 4096}, {true, 8192}, {false, 8192}};
    const struct {
        const char* name;
        std::vector<FakeEntry> entries;
        bool keepCookies;
        Result result; // removed, kept, failed, error
        std::set<std::size_t> deleted;
        Reads reads; // empty: not checked
    } cases[] = {
        {"empty cache", {}, false, {}, {}, {{true, 4096}}},
        {"cookies go", {kPage, kCookieEntryOfCache}, false, {2}, {0, 1}, {}},
        {"cookies kept", {kCookieEntryOfCache, kPage}, true, {1, 1}, {1}, {}},
        {"first entry too large", {large, kPage}, false, {2}, {0, 1}, firstGrows},
        {"later entry too large", {kPage, large}, false, {2}, {0, 1}, nextGrows},
        {"size asked too small", {{5000, 1, true, 100}}, false, {1}, {0}, doubled},
        {"size asked beyond reason", {{5000, 1, true, 0xffffffffu}}, false, {0, 0, 0, kErrorBufferTooSmall}, {}, {}},
        {"undeletable entry skipped", {{100, 1, false}, kPage}, false, {1, 0, 1}, {1}, {}},
        {"read error ends the walk", {kPage, {100, 1, true, 0, 5}, kPage}, false, {1, 0, 0, 5}, {0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCache cache(c.entries);
        const Result result = CacheCleanup::Run(cache, c.keepCookies);
        EXPECT_EQ(result.removed, c.result.removed);
        EXPECT_EQ(result.kept, c.result.kept);
        EXPECT_EQ(result.failed, c.result.failed);
        EXPECT_EQ(result.error, c.result.error);
        EXPECT_EQ(cache.deleted, c.deleted);
        if (!c.reads.empty()) {
            EXPECT_EQ(cache.reads, c.reads);
        }
    }
}

} // namespace
