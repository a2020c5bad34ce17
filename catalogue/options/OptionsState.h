#pragma once
// What the options dialog shows and edits: the user-defined categories, the preview lists, the
// browser cache paths and four switches. Portable.

#include <string>
#include <vector>

// A row of the user category list.
struct UserCategoryRow {
    std::wstring name;
    std::wstring extensions; // "+"-joined, as typed
    std::wstring icon;       // a file path, or "Default" for the program's own icon
    // The category id the row had when the dialog was opened; -1 for a row added since.
    int previousId = -1;
};

struct OptionsState {
    // The preview lists, by their value names under Options\Vorschau (the same in both
    // languages), in the order the dialog shows them.
    static constexpr int kPreviewCount = 6;
    static constexpr const wchar_t* kPreviewNames[kPreviewCount] = {
        L"Textdatei", L"Bilddatei", L"Symboldatei", L"Sounddatei", L"Filmdatei", L"Compressed"};

    std::vector<UserCategoryRow> categories;
    std::wstring previewLists[kPreviewCount];
    std::wstring netscapePath;
    std::wstring operaPath;
    bool previewAtStart = false;
    bool saveDesktop = false;
    bool saveDatabase = false;
    bool includeHidden = false;
};
