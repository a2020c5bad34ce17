#include "CatalogueChecker.h"

#include "CatalogueFiles.h"

#include <algorithm>

std::atomic<DWORD> CatalogueChecker::s_pause{0};

namespace {

// Files asked about between two hand-overs.
constexpr size_t kBatchFiles = 2048;

// The thread's own error mode, where the system has one: no "insert a disk" box for a drive
// whose medium went meanwhile.
void QuietErrors()
{
    using SetThreadErrorModeFunction = BOOL(WINAPI*)(DWORD, DWORD*);
    const auto set = reinterpret_cast<SetThreadErrorModeFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadErrorMode")));
    if (set)
        set(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
}

} // namespace

void CatalogueChecker::Start(CheckList files, HWND window, UINT message)
{
    Stop();
    m_files = std::move(files);
    m_window = window;
    m_message = message;
    m_stop = false;
    m_finished = false;
    m_thread = std::thread([this] { Run(); });
}

void CatalogueChecker::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<CatalogueEdit::FileUpdate> CatalogueChecker::Take()
{
    std::vector<CatalogueEdit::FileUpdate> updates;
    m_posted = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    updates.swap(m_updates);
    return updates;
}

void CatalogueChecker::Notify()
{
    if (!m_posted.exchange(true))
        PostMessageW(m_window, m_message, 0, 0);
}

void CatalogueChecker::Run()
{
    QuietErrors();
    std::vector<CatalogueEdit::FileUpdate> batch;
    std::vector<size_t> indexes; // of the batch's updates in the list
    const size_t total = m_files.Size();
    for (size_t i = 0; i < total && !m_stop; ++i) {
        for (DWORD slept = 0, pause = s_pause; slept < pause && !m_stop; slept += 10)
            Sleep(10);
        if (m_stop)
            break;
        const bool away = !m_awayRoots.empty() &&
                          std::find(m_awayRoots.begin(), m_awayRoots.end(), m_files.Root(i)) != m_awayRoots.end();
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!away) {
            CatalogueEdit::FileFacts facts;
            const CatalogueEdit::FileFacts* found = nullptr;
            if (GetFileAttributesExW(LongPathForm(m_files.Path(i)).c_str(), GetFileExInfoStandard, &data)) {
                facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
                facts.writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                  data.ftLastWriteTime.dwLowDateTime;
                facts.attributes = data.dwFileAttributes;
                found = &facts;
            }
            // Only a file the system says is not there is gone; a drive not ready, a share
            // not answering or a file kept from this user leave the record as it is.
            const DWORD error = found ? ERROR_SUCCESS : GetLastError();
            CatalogueEdit::FileUpdate update;
            if ((found || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) &&
                m_files.Compare(i, found, update)) {
                batch.push_back(std::move(update));
                indexes.push_back(i);
            }
        }
        if ((i + 1) % kBatchFiles == 0 && !batch.empty())
            Hand(batch, indexes);
    }
    if (!batch.empty())
        Hand(batch, indexes);
    if (!m_stop) {
        m_finished = true;
        // Said even when nothing waits: the window learns that the check is over.
        m_posted = false;
        Notify();
    }
}

void CatalogueChecker::Hand(std::vector<CatalogueEdit::FileUpdate>& batch, std::vector<size_t>& indexes)
{
    // A volume taken out (or another disc put in) after the load makes its files look gone:
    // its volume is asked once per batch that has gone files of it.
    std::vector<std::wstring> asked;
    for (size_t k = 0; k < batch.size(); ++k) {
        if (!batch[k].gone)
            continue;
        const std::wstring& root = m_files.Root(indexes[k]);
        if (std::find(asked.begin(), asked.end(), root) != asked.end())
            continue;
        asked.push_back(root);
        VolumeIdentity now;
        const uint32_t serial = m_files.Serial(indexes[k]);
        if (!ReadVolumeIdentity(root, now) || (serial != 0 && now.serial != serial))
            m_awayRoots.push_back(root);
    }
    if (!m_awayRoots.empty()) {
        size_t kept = 0;
        for (size_t k = 0; k < batch.size(); ++k) {
            const std::wstring& root = m_files.Root(indexes[k]);
            if (std::find(m_awayRoots.begin(), m_awayRoots.end(), root) == m_awayRoots.end())
                batch[kept++] = std::move(batch[k]);
        }
        batch.resize(kept);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_updates.empty())
            m_updates.swap(batch);
        else
            std::move(batch.begin(), batch.end(), std::back_inserter(m_updates));
    }
    batch.clear();
    indexes.clear();
    Notify();
}
