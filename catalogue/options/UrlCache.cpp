#include "UrlCache.h"

#include "../../common/Log.h"
#include "../../common/MessagePump.h"

#include <wininet.h>

namespace {

const INTERNET_CACHE_ENTRY_INFOW* EntryIn(const std::vector<unsigned char>& buffer)
{
    return buffer.size() >= sizeof(INTERNET_CACHE_ENTRY_INFOW)
               ? reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOW*>(buffer.data())
               : nullptr;
}

} // namespace

UrlCache::~UrlCache()
{
    if (m_find)
        FindCloseUrlCache(m_find);
}

unsigned long UrlCache::Read(bool first, std::vector<unsigned char>& buffer, std::uint32_t& size)
{
    // A cache of many thousand entries takes a while: the dialogs stay painted meanwhile.
    MessagePump::ProcessMessagesEvery();
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    if (buffer.size() >= sizeof(*entry))
        entry->dwStructSize = sizeof(*entry);
    DWORD length = static_cast<DWORD>(buffer.size());
    bool ok = false;
    if (first) {
        if (m_find)
            FindCloseUrlCache(m_find);
        m_find = FindFirstUrlCacheEntryW(m_pattern, entry, &length);
        ok = m_find != nullptr;
    } else {
        ok = m_find && FindNextUrlCacheEntryW(m_find, entry, &length);
    }
    const DWORD error = ok ? 0 : GetLastError();
    size = length;
    return !ok && error == 0 ? ERROR_INVALID_HANDLE : error;
}

std::uint32_t UrlCache::EntryType(const std::vector<unsigned char>& buffer) const
{
    const INTERNET_CACHE_ENTRY_INFOW* entry = EntryIn(buffer);
    return entry ? entry->CacheEntryType : 0;
}

bool UrlCache::Delete(const std::vector<unsigned char>& buffer)
{
    const INTERNET_CACHE_ENTRY_INFOW* entry = EntryIn(buffer);
    if (!entry || !entry->lpszSourceUrlName)
        return false;
    return DeleteUrlCacheEntryW(entry->lpszSourceUrlName) || Log::LastError(L"cache", L"DeleteUrlCacheEntryW");
}

CacheCleanup::Result CleanInternetCache(bool keepCookies)
{
    CacheCleanup::Result result;
    {
        UrlCache content;
        result = CacheCleanup::Run(content, keepCookies);
    }
    // Windows lists the cookies apart from the content (Wine lists them with it, and nothing
    // here): without this walk the cookies would stay although the user asked them gone.
    if (!keepCookies) {
        UrlCache cookies(L"cookie:");
        result += CacheCleanup::Run(cookies, false);
    }
    InternetSetOptionW(nullptr, INTERNET_OPTION_END_BROWSER_SESSION, nullptr, 0);
    return result;
}
