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

// The entries that are the path whose name is name (in any letter case).
std::vector<bool> EntriesOf(const Catalogue& catalogue, const std::vector<Relation>& relations, std::wstring_view name)
{
    std::vector<bool> of(catalogue.EntryCount());
    for (uint32_t e = 0; e < of.size(); ++e)
        of[e] = Of(relations, catalogue.Entry(e), name) == Relation::Parent;
    return of;
}

bool Holds(const Catalogue::List& list, const std::vector<bool>& entries)
{
    return std::any_of(list.Entries().begin(), list.Entries().end(),
                       [&](uint32_t e) { return e < entries.size() && entries[e]; });
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
    // Each file is one entry, whatever number of categories hold it: decided once per entry.
    std::vector<bool> gone(catalogue.EntryCount());
    for (uint32_t e = 0; e < gone.size(); ++e)
        gone[e] = Of(relations, catalogue.Entry(e), name) != Relation::None;
    // List 0 holds the drive dialog's entries, not catalogued files.
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        std::vector<uint32_t>& entries = catalogue[id].Entries();
        const auto end = std::remove_if(entries.begin(), entries.end(), [&](uint32_t e) { return gone[e]; });
        if (end != entries.end()) {
            entries.erase(end, entries.end());
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
    // The entries of the file and of the files below it move, each once for all its
    // categories. Where the new place has an entry already (the target was catalogued), the
    // lists take that one instead, and a list holding both keeps one.
    std::vector<uint32_t> replacement(catalogue.EntryCount(), Catalogue::kNoEntry);
    std::vector<bool> moved(catalogue.EntryCount());
    std::vector<bool> isTarget(catalogue.EntryCount());
    // The drive dialog's rows are entries of their own: they stay as they are.
    std::vector<bool> driveRows(catalogue.EntryCount());
    for (uint32_t e : catalogue[0].Entries())
        driveRows[e] = true;
    bool any = false;
    for (uint32_t e = 0; e < moved.size(); ++e) {
        if (driveRows[e])
            continue;
        const FileRecord& entry = catalogue.Entry(e);
        const Relation relation = Of(relations, entry, fromParts.name);
        if (relation == Relation::None)
            continue;
        any = true;
        moved[e] = true;
        const uint32_t folder = newFolder(entry.folder, relation);
        const wchar_t* name = entry.name;
        if (relation == Relation::Parent) {
            if (!newName)
                newName = catalogue.StoreText(toParts.name);
            name = newName;
        }
        const uint32_t existing = caseOnly ? Catalogue::kNoEntry : catalogue.FindEntry(folder, name);
        if (existing != Catalogue::kNoEntry && existing != e) {
            // The file there now is the moved one: the entry takes its facts.
            FileRecord facts = entry;
            facts.folder = folder;
            facts.marks = 0;
            catalogue.AddEntry(facts, name);
            replacement[e] = existing;
            isTarget[existing] = true;
            continue;
        }
        catalogue.MoveEntry(e, folder, name);
        if (relation == Relation::Parent) // it was found where it now is
            catalogue.Entry(e).marks &= ~FileRecord::kOffline;
    }
    if (!any)
        return touched;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        std::vector<uint32_t>& entries = catalogue[id].Entries();
        const bool holdsTarget = std::any_of(entries.begin(), entries.end(), [&](uint32_t e) { return isTarget[e]; });
        size_t kept = 0;
        for (uint32_t e : entries) {
            if (e < moved.size() && moved[e]) {
                touched.set(id);
                if (replacement[e] != Catalogue::kNoEntry) {
                    if (holdsTarget)
                        continue;
                    e = replacement[e];
                }
            }
            entries[kept++] = e;
        }
        entries.resize(kept);
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
    const std::vector<bool> held = EntriesOf(catalogue, relations, parts.name);
    FileRecord copy = source;
    copy.marks = 0;
    copy.iconIndex = -1;
    uint32_t entry = Catalogue::kNoEntry;
    for (int id : ids) {
        if (id <= 0 || id >= Catalogue::kListCount || Holds(catalogue[id], held))
            continue;
        if (entry == Catalogue::kNoEntry) {
            copy.folder = catalogue.FindOrAddFolder(parts.folder, VolumeFor(catalogue, source.folder, parts.folder));
            copy.name = nullptr;
            entry = catalogue.AddEntry(copy, parts.name);
        }
        catalogue[id].Append(entry);
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
    // List 0 holds the drive dialog's entries, not catalogued files. A file's entry is shared by
    // the categories holding it: its facts change once, its index leaves every list.
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        std::vector<uint32_t>& entries = catalogue[id].Entries();
        size_t kept = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            FileRecord& record = catalogue.Entry(entries[i]);
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
            entries[kept++] = entries[i];
        }
        entries.resize(kept);
    }
    return touched;
}

} // namespace CatalogueEdit
