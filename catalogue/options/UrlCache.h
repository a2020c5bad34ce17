#pragma once
// The system's internet cache through WinINet: the reader the cleanup walks, and the cleanup
// itself.

#include "CacheCleanup.h"

#include <windows.h>

class UrlCache : public CacheCleanup::UrlCacheReader {
public:
    // pattern: null for the cache's content, "cookie:" for its cookies.
    explicit UrlCache(const wchar_t* pattern = nullptr) : m_pattern(pattern) {}
    ~UrlCache() override;
    UrlCache(const UrlCache&) = delete;
    UrlCache& operator=(const UrlCache&) = delete;

    unsigned long Read(bool first, std::vector<unsigned char>& buffer, std::uint32_t& size) override;
    std::uint32_t EntryType(const std::vector<unsigned char>& buffer) const override;
    bool Delete(const std::vector<unsigned char>& buffer) override;

private:
    const wchar_t* m_pattern;
    HANDLE m_find = nullptr;
};

// Deletes the entries of the internet cache, the cookies too unless keepCookies, and tells
// WinINet that browsing has ended, so that the browser forgets what it held in memory.
CacheCleanup::Result CleanInternetCache(bool keepCookies);
