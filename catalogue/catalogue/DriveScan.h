#pragma once
// The walk of the scan: files every item below a folder into its categories, or every file
// below a special folder into one category.
//
// The walk reads the file system with FindFirstFileEx/FindNextFile. It finds the same items as
// an enumeration of the shell's folder objects (file-system items only; virtual shell objects
// are neither recorded nor entered) at the cost of a plain directory listing, and the shell's
// identity of an item is resolved from its path when a command needs it.

#include "Catalogue.h"
#include "CatalogueFiles.h"
#include "ExtensionMatch.h"

#include <windows.h>

#include <functional>
#include <string>

// The walk's pieces, shared with the search on disk:
// the first item of a folder (its path with the final backslash), without short names and in
// large batches where the system offers that;
HANDLE FindFirstInFolder(const std::wstring& folder, WIN32_FIND_DATAW& data);
// "." and "..";
bool IsDotEntry(const wchar_t* name);
// junctions and links to folders, which are not entered.
bool IsLinkedFolder(const WIN32_FIND_DATAW& data);

class DriveScan {
public:
    DriveScan(Catalogue& catalogue, const ExtensionMap& map, const int& cancelRequested);

    // Hidden items are catalogued and entered only when set; the special folders never.
    void SetIncludeHidden(bool include) { m_includeHidden = include; }
    // Called whenever the percentage of bytes seen changes (scan only).
    void SetProgress(std::function<void(int percent)> progress) { m_progress = std::move(progress); }
    // Called for every item seen, so that the caller can keep its windows alive.
    void SetIdle(std::function<void()> idle) { m_idle = std::move(idle); }
    // The bytes the whole scan will see, for the percentage; starts at 1.
    void AddToTotal(double bytes) { m_total += bytes; }

    // Catalogues every item below folder, depth first, in the order the file system lists them.
    void ShowFolder(const std::wstring& folder);
    // Records every file below folder (not the folders) into categoryId, with its type name.
    void ShowSpecialFolder(const std::wstring& folder, int categoryId);

    double BytesSeen() const { return m_seen; }
    double Total() const { return m_total; }

    // Used space (size minus free space) of drive number 1 (A) to 26 (Z); 0 when unknown.
    static double UsedSpace(int driveNumber);

private:
    enum class Mode { Categorise, Special };
    void Walk(const std::wstring& root, Mode mode, int categoryId);
    bool Hidden(const WIN32_FIND_DATAW& data, Mode mode) const;
    void CountBytes(double bytes, Mode mode);

    Catalogue& m_catalogue;
    ExtensionMatcher m_matcher;
    const int& m_cancel;
    TypeNameCache m_typeNames;
    MatchList m_matches;
    std::function<void(int)> m_progress;
    std::function<void()> m_idle;
    uint16_t m_volume = 0; // of the folder being walked
    bool m_includeHidden = false;
    double m_total = 1;
    double m_seen = 0;
    int m_percent = -1;
};

// The drive number of a text that is a drive letter and a colon ("C:" gives 3); 0 otherwise.
int GetNumber(const std::wstring& text);
