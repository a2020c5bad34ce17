#pragma once
// What every archive reader shares: the settings of a listing, the events it fires, the
// current-entry record, the running counters and the name filter. Portable.

#include "catalogue/archive/ArcTypes.h"

#include <functional>
#include <string>
#include <vector>

class TArcCommon {
public:
    // Events, in the order a walk can fire them. OnRead is required for Activate.
    std::function<void()> OnActivate;
    std::function<void(const std::wstring& name)> OnReadFile; // every entry name, before the filter
    std::function<void()> OnReadBegin;
    std::function<void(const TArcEntry& entry, uint64_t headerOffset, uint32_t index)> OnRead;
    std::function<void()> OnReadEnd;
    std::function<void(uint64_t packedTotal, uint64_t unpackedTotal, int ratio, uint32_t count)> OnTotals;
    std::function<void()> OnDeactivate;
    std::function<void(uint32_t milliseconds)> OnElapsedTime;
    std::function<void(TArcError error, const std::wstring& archive, const std::wstring& detail)> OnError;
    // Called between records. The preview passes its message pump here (it should pump only
    // every few tens of milliseconds: each queue call costs tens of microseconds under Wine)
    // and returns false once CancelRequested is set, which stops the walk like Cancel().
    std::function<bool()> OnProgress;

    // Name patterns: an entry is listed when it matches any of them ("*.*" matches all).
    std::vector<std::wstring> FileSpec{L"*.*"};
    // Entries matching any of these are dropped.
    std::vector<std::wstring> ExcludeSpec;
    // Directory and volume-label entries of a ZIP central directory are listed only when set.
    bool ShowEmptyDirs = false;
    // Names are read in the OEM code page when set, in the ANSI code page otherwise.
    bool TranslateOemChar = true;

    virtual ~TArcCommon() = default;

    const TArcEntry& Entry() const { return m_entry; }
    uint32_t Count() const { return m_count; }
    uint64_t PackedTotal() const { return m_packedTotal; }
    uint64_t UnpackedTotal() const { return m_unpackedTotal; }

    // Stops a running walk after the current record (safe to call from OnProgress or events).
    void Cancel() { m_cancel = true; }
    bool Cancelled() const { return m_cancel; }

    // The name filter: FileSpec, then the exclusion list. An empty name never passes.
    bool CheckWildCard(const std::wstring& name) const;
    // One pattern against one name, by the rules of CheckWildCard.
    static bool MatchesPattern(const std::wstring& name, const std::wstring& pattern);

protected:
    void ReportError(TArcError error, const std::wstring& archive, const std::wstring& detail = std::wstring()) const
    {
        if (OnError)
            OnError(error, archive, detail);
    }

    TArcEntry m_entry;
    uint32_t m_count = 0;
    uint64_t m_packedTotal = 0;
    uint64_t m_unpackedTotal = 0;
    bool m_cancel = false;
};
