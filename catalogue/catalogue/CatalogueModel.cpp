#include "CatalogueModel.h"

#include "../../common/Log.h"
#include "../../common/SettingsText.h"
#include "../options/BrowserCaches.h"
#include "CategoryTree.h"
#include "DatabaseText.h"
#include "DriveScan.h"
#include "SettingsKeys.h"

#include <shlobj.h>

#include <algorithm>

namespace {

// Where each special folder's category is filled from, in the order they are walked.
enum class FolderSource { Shell, Netscape, Opera, Temp };
struct SpecialFolder {
    int categoryId;
    FolderSource source;
    int csidl; // for FolderSource::Shell
};
const SpecialFolder kSpecialFolders[] = {
    {CategoryTree::kInternetCacheId, FolderSource::Shell, CSIDL_INTERNET_CACHE},
    {CategoryTree::kCookiesId, FolderSource::Shell, CSIDL_COOKIES},
    {CategoryTree::kRecentId, FolderSource::Shell, CSIDL_RECENT},
    {CategoryTree::kNetscapeCacheId, FolderSource::Netscape, 0},
    {CategoryTree::kOperaCacheId, FolderSource::Opera, 0},
    {CategoryTree::kTempId, FolderSource::Temp, 0},
};

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : std::wstring();
}

} // namespace

void CatalogueModel::LoadExtensionMap(Registry& settings)
{
    m_extensionMap.clear();
    RegistryKeyScope key(settings, SettingsKeys::kFileEnding, KeyAccess::Read);
    if (!key)
        return;
    for (const std::wstring& name : settings.GetValueNames()) {
        std::optional<int> id = SettingsText::ParseDecimal(name);
        // A value whose name is no category id has no list to fill.
        if (!id || *id < 0 || *id >= Catalogue::kListCount) {
            Log::Write(LogLevel::Warning, L"catalogue", L"FileEnding value %ls is no category id", name.c_str());
            continue;
        }
        AppendExtensionList(m_extensionMap, settings.ReadString(name).value_or(L""), *id);
    }
}

void CatalogueModel::LoadUserCategories(Registry& settings)
{
    m_userCategories.clear();
    RegistryKeyScope key(settings, SettingsKeys::kUserFiles, KeyAccess::Read);
    if (!key)
        return;
    for (const std::wstring& name : settings.GetValueNames())
        m_userCategories.push_back({name, settings.ReadString(name).value_or(L"")});
}

void CatalogueModel::AddUserExtensions(size_t count)
{
    for (size_t k = 0; k < count && k < m_userCategories.size(); ++k)
        AppendExtensionList(m_extensionMap, SplitUserDefinition(m_userCategories[k].definition).extensions,
                            CategoryTree::kBuiltInCount + static_cast<int>(k));
}

void CatalogueModel::RenumberUserCategories(const std::vector<CategoryRenumbering::Move>& moves)
{
    // Every list moves out first, so that a move never lands on a list still to be moved.
    std::vector<Catalogue::List> lists(moves.size());
    std::vector<bool> unsaved(moves.size());
    for (size_t i = 0; i < moves.size(); ++i) {
        lists[i].swap(m_catalogue[moves[i].from]);
        unsaved[i] = m_unsaved[moves[i].from];
        m_unsaved[moves[i].from] = false;
    }
    for (size_t i = 0; i < moves.size(); ++i)
        if (moves[i].to != CategoryRenumbering::kPutAside) {
            m_catalogue[moves[i].to].swap(lists[i]);
            m_unsaved[moves[i].to] = unsaved[i];
        }
    ExtensionMap renumbered;
    for (ExtensionEntry& entry : m_extensionMap) {
        auto move = std::find_if(moves.begin(), moves.end(),
                                 [&](const CategoryRenumbering::Move& m) { return m.from == entry.categoryId; });
        if (move != moves.end() && move->to == CategoryRenumbering::kPutAside)
            continue;
        if (move != moves.end())
            entry.categoryId = move->to;
        renumbered.push_back(std::move(entry));
    }
    m_extensionMap.swap(renumbered);
}

bool CatalogueModel::IsSpecialFolder(int categoryId)
{
    for (const SpecialFolder& special : kSpecialFolders)
        if (special.categoryId == categoryId)
            return true;
    return false;
}

void CatalogueModel::FillSpecialFolders(Registry& settings, const int& cancel, const std::function<void()>& idle)
{
    m_operaPath = GetOperaPath(settings, SettingsKeys::kOptions);
    m_netscapePath = GetNetscapePath(settings, SettingsKeys::kOptions);
    DriveScan walk(m_catalogue, m_extensionMap, cancel);
    walk.SetIdle(idle);
    for (const SpecialFolder& special : kSpecialFolders) {
        std::wstring path;
        switch (special.source) {
        case FolderSource::Shell:
            path = ShellFolder(special.csidl);
            break;
        case FolderSource::Netscape:
            path = m_netscapePath;
            break;
        case FolderSource::Opera:
            path = m_operaPath;
            break;
        case FolderSource::Temp:
            path = TempFolder();
            break;
        }
        if (!path.empty())
            walk.ShowSpecialFolder(path, special.categoryId);
    }
}

std::wstring CatalogueModel::DataFolder(const std::wstring& installDir)
{
    std::wstring folder = installDir;
    if (folder.empty()) {
        // Without an installation folder the catalogue lives beside the program.
        wchar_t module[MAX_PATH] = L"";
        DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
        folder.assign(module, length < MAX_PATH ? length : 0);
        size_t slash = folder.rfind(L'\\');
        folder.resize(slash == std::wstring::npos ? 0 : slash);
    }
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder + L"\\Data";
}

void CatalogueModel::ReadDatabase(const std::wstring& folder, const int& cancel, const DatabaseProgress& progress)
{
    ReadCategories(folder, CatalogueLoader::Mode::Load, cancel, progress);
}

void CatalogueModel::KeepOfflineRecords(const std::wstring& folder, const int& cancel, const DatabaseProgress& progress)
{
    ReadCategories(folder, CatalogueLoader::Mode::KeepOffline, cancel, progress);
}

void CatalogueModel::ReadCategories(const std::wstring& folder, CatalogueLoader::Mode mode, const int& cancel,
                                    const DatabaseProgress& progress)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring name = data.cFileName;
        if (ExtensionOf(name) != L".DAT")
            continue;
        // Files whose name is no category id are not the catalogue's.
        std::optional<int> id = DatabaseText::CategoryIdOfFileName(name);
        if (!id)
            continue;
        if (progress.file)
            progress.file(name);
        ReadCategory(folder + L"\\" + name, *id, mode, cancel, progress);
    } while (!cancel && FindNextFileW(find.Get(), &data));
    m_catalogue.Compact();
}

void CatalogueModel::ReadCategory(const std::wstring& file, int id, CatalogueLoader::Mode mode, const int& cancel,
                                  const DatabaseProgress& progress)
{
    // The facts, where they are whole and belong to this very .dat.
    FactsFile::Reader facts;
    bool factsBelong = false;
    std::string bytes;
    const ReadResult factsRead = ReadWholeFile(FactsFileName(file), bytes);
    if (factsRead == ReadResult::Failed) {
        m_unsaved[id] = true;
    } else if (factsRead == ReadResult::Read && facts.Open(std::move(bytes))) {
        uint64_t size = 0;
        uint32_t check = 0;
        if (CheckFile(file, cancel, size, check) != ReadResult::Read || !facts.Belongs(size, check)) {
            Log::Write(LogLevel::Info, L"catalogue", L"the facts beside %ls are of another file", file.c_str());
            facts = FactsFile::Reader();
        } else {
            factsBelong = true;
        }
    }
    // With facts of its own the file system is asked afterwards, in the background.
    if (factsBelong && mode == CatalogueLoader::Mode::Load) {
        mode = CatalogueLoader::Mode::LoadStored;
        m_unchecked[id] = true;
    }
    // The lines are files of their own: a category holds each file once.
    if (factsBelong && mode != CatalogueLoader::Mode::KeepOffline) {
        m_catalogue.ReserveEntries(facts.LineCount());
        m_catalogue[id].Entries().reserve(m_catalogue[id].size() + facts.LineCount());
    }
    uint32_t line = 0;
    const ReadResult read = ReadCategoryFile(file, cancel, [&](const std::wstring& path) {
        FactsFile::Line stored;
        const bool known = facts.LineAt(line++, stored);
        m_loader.Add(id, path, known ? &stored : nullptr, known ? facts.VolumeAt(stored.volume) : nullptr, mode);
        if (progress.idle)
            progress.idle();
    });
    // What was not read whole is not written back: the file keeps what this start did not see.
    if (read != ReadResult::Read && read != ReadResult::Missing)
        m_unsaved[id] = true;
}

CatalogueModel::WriteReport CatalogueModel::WriteDatabase(const std::wstring& folder, const std::vector<int>& ids,
                                                          const int& cancel, const DatabaseProgress& progress)
{
    WriteReport report;
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        report.failed = folder;
        return report;
    }
    for (int id : ids) {
        if (cancel)
            break;
        if (IsSpecialFolder(id) || id < 0 || id >= Catalogue::kListCount)
            continue;
        const std::wstring file = std::to_wstring(id) + L".dat";
        if (m_unsaved[id]) {
            report.leftUnread += (report.leftUnread.empty() ? L"" : L"\n") + folder + L"\\" + file;
            continue;
        }
        if (progress.file)
            progress.file(file);
        const WriteResult result = WriteCategoryFile(folder, id, m_catalogue, m_catalogue[id], cancel, [&] {
            if (progress.idle)
                progress.idle();
        });
        if (result == WriteResult::Failed)
            report.failed += (report.failed.empty() ? L"" : L"\n") + folder + L"\\" + file;
    }
    return report;
}
