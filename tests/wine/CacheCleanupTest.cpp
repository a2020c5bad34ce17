// The internet cache cleanup on entries the test puts into the prefix's cache: through the
// tool button's dialog in both languages, with and without the cookies, and the entry buffer
// growing for records larger than it.

#include "AppFixture.h"
#include "catalogue/options/CacheCleanupDialog.h"
#include "catalogue/options/UrlCache.h"
#include "catalogue/shell/resource.h"

#include <wininet.h>

#include <tuple>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

const wchar_t kPage[] = L"http://sortaro.test/page.html";
const wchar_t kLargePage[] = L"http://sortaro.test/large.html";
const wchar_t kCookie[] = L"Cookie:sortaro@sortaro.test/";

void Commit(const wchar_t* url, DWORD type, std::wstring headers = L"")
{
    wchar_t file[MAX_PATH] = L"";
    ASSERT_TRUE(CreateUrlCacheEntryW(url, 0, L"txt", file, 0)) << GetLastError();
    UniqueFile written(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    WriteFile(written.Get(), "cached", 6, &done, nullptr);
    written.Reset();
    const FILETIME never{};
    ASSERT_TRUE(CommitUrlCacheEntryW(url, file, never, never, type, headers.empty() ? nullptr : &headers[0],
                                     static_cast<DWORD>(headers.size()), nullptr, nullptr))
        << GetLastError();
}

bool InCache(const wchar_t* url)
{
    DWORD size = 0;
    return GetUrlCacheEntryInfoW(url, nullptr, &size) || GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

class CacheCleanupTest : public AppTest {
protected:
    // The counts include every entry: the cleanup starts from an empty cache.
    void SetUp() override
    {
        AppTest::SetUp();
        CleanInternetCache(false);
    }
};

TEST_F(CacheCleanupTest, ToolButtonEmptiesTheCacheKeepingCookiesOnRequest)
{
    const Texts german = {L"Temporary Internet Files löschen",
                          L"Temporary Internet Files",
                          L"Inhalt des Ordners \"Temporary Internet Files\" löschen",
                          L"Cookies nicht mit löschen",
                          L"&Löschen",
                          L"&Abbrechen"};
    const Texts english = {L"Delete Temporary Internet Files",
                           L"Temporary Internet Files",
                           L"Delete contents of folder 'Temporary Internet Files'",
                           L"Don't delete 'cookies'",
                           L"Delete",
                           L"Cancel"};
    const struct {
        bool english;
        bool keepCookies;
        const Texts& dialog;
        const wchar_t* noteTitle;
        const wchar_t* report;
    } cases[] = {
        {false, false, german, L"Hinweis", L"Gelöschte Einträge: 2\nEinträge, die nicht gelöscht werden konnten: 0"},
        {false, true, german, L"Hinweis",
         L"Gelöschte Einträge: 1\nEinträge, die nicht gelöscht werden konnten: 0\nBehaltene Cookies: 1"},
        {true, true, english, L"Note", L"Entries deleted: 1\nEntries that could not be deleted: 0\nCookies kept: 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.english ? "English" : "German") << ", keep cookies " << c.keepCookies);
        SetOption(L"", L"language", c.english ? L"0" : L"1");
        StartToMainWindow(true);
        {
            CacheCleanupDialog dialog(*main);
            ASSERT_TRUE(dialog.CreateModeless(main->Hwnd()));
            Texts texts{WindowText(dialog.Hwnd())};
            for (int id : {IDC_CLEANUP_HEADING, IDC_CLEANUP_TEXT, IDC_CLEANUP_KEEP_COOKIES, IDOK, IDCANCEL})
                texts.push_back(dialog.ItemText(id));
            EXPECT_EQ(texts, c.dialog);
            EXPECT_FALSE(dialog.KeepCookies());
        }
        Commit(kPage, NORMAL_CACHE_ENTRY, L"HTTP/1.1 200 OK\r\n\r\n");
        Commit(kCookie, COOKIE_CACHE_ENTRY);

        ShowRecorder shown;
        if (c.keepCookies)
            shown.ClickWhenShown(c.dialog[0], IDC_CLEANUP_KEEP_COOKIES);
        shown.ClickWhenShown(c.dialog[0], IDOK);
        shown.ClickWhenShown(c.noteTitle, IDOK);
        main->ExecuteCommand(IDM_CLEAN_INTERNET_FILES);

        EXPECT_EQ(shown.messages, Texts{c.report});
        EXPECT_FALSE(InCache(kPage));
        EXPECT_EQ(InCache(kCookie), c.keepCookies);
        CleanInternetCache(false);
        Stop();
    }
}

// Reads through the real cache and records each read: first or next, the buffer's size, the
// answer and the size asked for.
class RecordingCache : public CacheCleanup::UrlCacheReader {
public:
    unsigned long Read(bool first, std::vector<unsigned char>& buffer, std::uint32_t& size) override
    {
        const auto given = static_cast<std::uint32_t>(buffer.size());
        const unsigned long error = m_cache.Read(first, buffer, size);
        reads.emplace_back(first, given, error, size);
        return error;
    }
    std::uint32_t EntryType(const std::vector<unsigned char>& buffer) const override
    {
        return m_cache.EntryType(buffer);
    }
    bool Delete(const std::vector<unsigned char>& buffer) override { return m_cache.Delete(buffer); }

    std::vector<std::tuple<bool, std::uint32_t, unsigned long, std::uint32_t>> reads;

private:
    UrlCache m_cache;
};

TEST_F(CacheCleanupTest, BufferGrowsToTheSizeAskedAndTheSameStepIsRetried)
{
    const struct {
        const char* name;
        std::uint32_t firstBufferSize;
        unsigned largeHeaders; // characters of header information of the large page
    } cases[] = {
        {"a record beyond the first 4096 bytes", CacheCleanup::kFirstBufferSize, 6000},
        {"a first buffer smaller than any record", 64, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Commit(kPage, NORMAL_CACHE_ENTRY, L"HTTP/1.1 200 OK\r\n\r\n");
        Commit(kLargePage, NORMAL_CACHE_ENTRY, std::wstring(c.largeHeaders, L'x'));
        RecordingCache cache;
        const CacheCleanup::Result result = CacheCleanup::Run(cache, false, c.firstBufferSize);
        EXPECT_EQ(result.removed, 2u);
        EXPECT_EQ(result.error, 0u);
        EXPECT_FALSE(InCache(kPage));
        EXPECT_FALSE(InCache(kLargePage));

        int grown = 0;
        for (size_t i = 0; i + 1 < cache.reads.size(); ++i) {
            const auto& [first, given, error, asked] = cache.reads[i];
            if (error != ERROR_INSUFFICIENT_BUFFER)
                continue;
            ++grown;
            EXPECT_GT(asked, given);
            EXPECT_EQ(cache.reads[i + 1], std::make_tuple(first, asked, 0ul, asked)) << "read " << i;
        }
        EXPECT_GE(grown, 1);
    }
}

} // namespace
