#include "CatalogueEdit.h"

#include "CategoryTree.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace CatalogueEdit {

namespace {

constexpr uint32_t kDirectoryAttribute = 0x10;

// What a folder of the catalogue is to a path: the folder the path lies in (its records of the
// path's name are the path's), a folder below the path (all its records are below it), or none.
enum class Relation : uint8_t { None, Parent, Below };

std::vector<Relation> Relate(const Catalogue& catalogue, const std::wstring& path)
{
    const std::wstring parent = UpperCase(SplitPath(path).folder);
    const std::wstring below = UpperCase(path) + L'\\';
    std::vector<Relation> relations(catalogue.FolderCount(), Relation::None);
    for (size_t i = 0; i < relations.size(); ++i) {
        const std::wstring folder = UpperCase(catalogue.Folder(static_cast<uint32_t>(i)));
        if (folder == parent)
            relations[i] = Relation::Parent;
        else if (folder.compare(0, below.size(), below) == 0)
            relations[i] = Relation::Below;
    }
    return relations;
}

// A record's relation to the path whose name is name: Parent only when it is the path itself.
Relation Of(const std::vector<Relation>& relations, const FileRecord& record, std::wstring_view name)
{
    const Relation relation = record.folder < relations.size() ? relations[record.folder] : Relation::None;
    if (relation == Relation::Parent && !SamePath(record.name, name))
        return Relation::None;
    return relation;
}

// The volume a new folder gets: the one of the folder the file came from when both lie on the
// same root, otherwise none known.
uint16_t VolumeFor(const Catalogue& catalogue, uint32_t fromFolder, std::wstring_view toFolder)
{
    const uint16_t volume = catalogue.FolderVolume(fromFolder);
    return volume != 0 && catalogue.Volume(volume).root == VolumeRootOf(toFolder) ? volume : 0;
}

bool Holds(const Catalogue::List& list, const std::vector<Relation>& relations, std::wstring_view name)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const FileRecord& record) { return Of(relations, record, name) == Relation::Parent; });
}

} // namespace

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name)
{
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.remove_suffix(1);
    std::wstring path(folder);
    path += L'\\';
    path += name;
    return path;
}

bool ValidFileName(std::wstring_view name)
{
    if (name.find_first_not_of(L" .") == std::wstring_view::npos)
        return false;
    for (wchar_t c : name)
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    return true;
}

bool SamePath(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

Touched RemoveGone(Catalogue& catalogue, const std::wstring& path, const Exists& exists)
{
    Touched touched;
    if (exists(path))
        return touched;
    const std::vector<Relation> relations = Relate(catalogue, path);
    const std::wstring_view name = SplitPath(path).name;
    // List 0 holds the drive dialog's entries, not catalogued files.
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        Catalogue::List& list = catalogue[id];
        const auto end = std::remove_if(list.begin(), list.end(), [&](const FileRecord& record) {
            return Of(relations, record, name) != Relation::None;
        });
        if (end != list.end()) {
            list.erase(end, list.end());
            touched.set(id);
        }
    }
    return touched;
}

Touched Move(Catalogue& catalogue, const std::wstring& from, const std::wstring& to, const Exists& exists)
{
    Touched touched;
    const bool caseOnly = SamePath(from, to);
    if (from == to || !exists(to) || (!caseOnly && exists(from)))
        return touched;
    const std::vector<Relation> relations = Relate(catalogue, from);
    const std::vector<Relation> targetRelations = caseOnly ? std::vector<Relation>() : Relate(catalogue, to);
    const PathParts fromParts = SplitPath(from);
    const PathParts toParts = SplitPath(to);
    const wchar_t* newName = nullptr;
    // Old folder index to new: the path's own folder, or one below it.
    std::unordered_map<uint32_t, uint32_t> newFolders;
    auto newFolder = [&](uint32_t old, Relation relation) {
        auto found = newFolders.find(old);
        if (found != newFolders.end())
            return found->second;
        std::wstring folder(toParts.folder);
        if (relation == Relation::Below)
            folder = to + std::wstring(catalogue.Folder(old).substr(from.size()));
        const uint32_t index = catalogue.FindOrAddFolder(folder, VolumeFor(catalogue, old, folder));
        newFolders.emplace(old, index);
        return index;
    };
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        Catalogue::List& list = catalogue[id];
        const bool holdsTarget = !caseOnly && Holds(list, targetRelations, toParts.name);
        for (auto record = list.begin(); record != list.end();) {
            const Relation relation = Of(relations, *record, fromParts.name);
            if (relation == Relation::None) {
                ++record;
                continue;
            }
            touched.set(id);
            if (relation == Relation::Parent && holdsTarget) {
                record = list.erase(record);
                continue;
            }
            record->folder = newFolder(record->folder, relation);
            if (relation == Relation::Parent) {
                if (!newName)
                    newName = catalogue.StoreText(toParts.name);
                record->name = newName;
                // It was found where it now is.
                record->marks &= static_cast<uint8_t>(~FileRecord::kOffline);
            }
            ++record;
        }
    }
    return touched;
}

Touched AddCopy(Catalogue& catalogue, const ExtensionMap& rules, const FileRecord& source, const std::wstring& to,
                const Exists& exists)
{
    Touched touched;
    if (!exists(to))
        return touched;
    const PathParts parts = SplitPath(to);
    MatchList ids;
    CheckExtKanditat(rules, parts.name, ids);
    if (source.Size() == 0 && !(source.attributes & kDirectoryAttribute))
        ids.push_back(CategoryTree::kZeroByteId);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const std::vector<Relation> relations = Relate(catalogue, to);
    FileRecord copy = source;
    copy.marks = 0;
    copy.flag = 0;
    copy.name = nullptr;
    for (int id : ids) {
        if (id <= 0 || id >= Catalogue::kListCount || Holds(catalogue[id], relations, parts.name))
            continue;
        if (!copy.name) {
            copy.folder = catalogue.FindOrAddFolder(parts.folder, VolumeFor(catalogue, source.folder, parts.folder));
            copy.name = catalogue.StoreText(parts.name);
        }
        catalogue[id].push_back(copy);
        touched.set(id);
    }
    return touched;
}

Touched ApplyUpdates(Catalogue& catalogue, const std::vector<FileUpdate>& updates, int shown,
                     std::vector<size_t>* removedRows)
{
    Touched touched;
    if (updates.empty())
        return touched;
    // The updates by folder text and name; then each catalogue folder's names, where it has any.
    using Names = std::unordered_map<std::wstring_view, const FileUpdate*>;
    std::unordered_map<std::wstring_view, Names> byFolder;
    for (const FileUpdate& update : updates) {
        const PathParts parts = SplitPath(update.path);
        byFolder[parts.folder][parts.name] = &update;
    }
    std::vector<const Names*> folderNames(catalogue.FolderCount(), nullptr);
    for (uint32_t i = 0; i < folderNames.size(); ++i) {
        auto found = byFolder.find(catalogue.Folder(i));
        if (found != byFolder.end())
            folderNames[i] = &found->second;
    }
    auto updateOf = [&](const FileRecord& record) -> const FileUpdate* {
        if (record.Offline() || record.folder >= folderNames.size() || !folderNames[record.folder])
            return nullptr;
        const Names& names = *folderNames[record.folder];
        auto found = names.find(record.name);
        return found == names.end() ? nullptr : found->second;
    };
    // List 0 holds the drive dialog's entries, not catalogued files.
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        Catalogue::List& list = catalogue[id];
        size_t kept = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            FileRecord& record = list[i];
            const FileUpdate* update = updateOf(record);
            if (update) {
                touched.set(id);
                if (update->gone) {
                    if (removedRows && id == shown)
                        removedRows->push_back(i);
                    continue;
                }
                record.SetSize(update->facts.size);
                record.writeTimeLow = static_cast<uint32_t>(update->facts.writeTime);
                record.writeTimeHigh = static_cast<uint32_t>(update->facts.writeTime >> 32);
                record.attributes = update->facts.attributes;
            }
            if (kept != i)
                list[kept] = record;
            ++kept;
        }
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
    }
    return touched;
}

} // namespace CatalogueEdit
