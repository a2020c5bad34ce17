#include "DiskSearch.h"

#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/DriveScan.h"

#include <shlwapi.h>

#include <cwchar>
#include <cwctype>

namespace {

struct Level {
    UniqueFindHandle find;
    std::wstring folder; // with its last backslash
    WIN32_FIND_DATAW next;
    bool haveNext;
    uint32_t folderIndex;
    bool folderAdded;
};

} // namespace

DiskSearch::DiskSearch(Catalogue& catalogue, const int& cancel, std::function<void()> idle)
    : m_catalogue(catalogue), m_cancel(cancel), m_idle(std::move(idle))
{
}

bool DiskSearch::IsShortcut(const wchar_t* name)
{
    const wchar_t* dot = std::wcsrchr(name, L'.');
    if (!dot)
        return false;
    std::wstring extension;
    for (const wchar_t* c = dot; *c; ++c)
        extension += static_cast<wchar_t>(std::towlower(*c));
    auto found = m_shortcutByExtension.find(extension);
    if (found != m_shortcutByExtension.end())
        return found->second;
    // The shell gives an item the link attribute when its type's class has a value
    // "IsShortcut". Shell links and PIF files are links also where the registry lacks it.
    bool shortcut = extension == L".lnk" || extension == L".pif";
    wchar_t progId[256] = L"";
    DWORD size = sizeof(progId);
    if (!shortcut && SHGetValueW(HKEY_CLASSES_ROOT, extension.c_str(), nullptr, nullptr, progId, &size) == ERROR_SUCCESS &&
        progId[0]) {
        progId[ARRAYSIZE(progId) - 1] = L'\0';
        shortcut = SHGetValueW(HKEY_CLASSES_ROOT, progId, L"IsShortcut", nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    m_shortcutByExtension.emplace(extension, shortcut);
    return shortcut;
}

void DiskSearch::SearchFolder(const std::wstring& root, const std::wstring& pattern, std::vector<FileRecord>& results)
{
    if (pattern.empty() || root.empty())
        return;
    // The folders go into the catalogue with their volume, as the scan puts them there.
    VolumeIdentity identity;
    const uint16_t volume = ReadVolumeIdentity(VolumeRootOf(root), identity) ? m_catalogue.AddVolume(identity) : 0;
    // An explicit stack instead of recursion: folders may nest deeper than the stack would take.
    std::vector<Level> stack;
    auto enter = [&](std::wstring folder) {
        if (folder.back() != L'\\')
            folder += L'\\';
        Level level{};
        level.find.Reset(FindFirstInFolder(folder, level.next));
        if (!level.find)
            return; // a folder that cannot be read is passed over
        level.haveNext = true;
        level.folder = std::move(folder);
        stack.push_back(std::move(level));
    };
    enter(root);
    WIN32_FIND_DATAW data;
    std::wstring path;
    while (!stack.empty() && !m_cancel) {
        Level& level = stack.back();
        if (!level.haveNext) {
            stack.pop_back();
            continue;
        }
        data = level.next;
        level.haveNext = FindNextFileW(level.find.Get(), &level.next) != 0;
        if (IsDotEntry(data.cFileName) || (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!directory) {
            path.assign(level.folder);
            path += data.cFileName;
            if (path.find(pattern) != std::wstring::npos && !IsShortcut(data.cFileName)) {
                if (!level.folderAdded) {
                    level.folderIndex = m_catalogue.FindOrAddFolder(level.folder, volume);
                    level.folderAdded = true;
                }
                FileRecord record;
                record.folder = level.folderIndex;
                record.name = m_catalogue.StoreText(data.cFileName);
                SetFileFacts(record, data);
                results.push_back(record);
            }
        }
        if (m_idle)
            m_idle();
        if (directory && !m_cancel && !IsLinkedFolder(data))
            enter(level.folder + data.cFileName); // may move the stack: level is not used after this
    }
}
