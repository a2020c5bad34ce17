#pragma once
// Compares a catalogue read from its stored facts with the disk, on a thread of its own. The
// thread reads only its CheckList and asks the file system; it never touches a window, a list
// or the catalogue. What it finds waits here, and a message posted to the window says so; the
// window thread takes the updates and applies them (CatalogueEdit::ApplyUpdates).

#include "CatalogueCheck.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class CatalogueChecker {
public:
    CatalogueChecker() = default;
    CatalogueChecker(const CatalogueChecker&) = delete;
    CatalogueChecker& operator=(const CatalogueChecker&) = delete;
    ~CatalogueChecker() { Stop(); }

    // Starts the thread over files. message is posted to window when updates wait, and when the
    // check has come to its end.
    void Start(CheckList files, HWND window, UINT message);
    // Asks the thread to stop and waits for it. What it found before stays to be taken.
    void Stop();
    // The updates found since the last call.
    std::vector<CatalogueEdit::FileUpdate> Take();
    // Every file was asked about.
    bool Finished() const { return m_finished; }
    size_t Total() const { return m_files.Size(); }

    // A pause before each file, for tests that need a check that takes its time.
    static void SetPauseForTests(DWORD milliseconds) { s_pause = milliseconds; }

private:
    void Run();
    // Hands a batch over; the gone files of a volume that is no longer the one of the load are
    // left out, and that volume is not asked about any more.
    void Hand(std::vector<CatalogueEdit::FileUpdate>& batch, std::vector<size_t>& indexes);
    void Notify();

    CheckList m_files;
    HWND m_window = nullptr;
    UINT m_message = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_posted{false};
    std::mutex m_mutex;
    std::vector<CatalogueEdit::FileUpdate> m_updates; // guarded by m_mutex
    std::vector<std::wstring> m_awayRoots;            // the thread's own
    static std::atomic<DWORD> s_pause;
};
