#include "CatalogueCheck.h"

#include <cwchar>
#include <unordered_map>

namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

} // namespace

void CheckList::Collect(const Catalogue& catalogue, const std::bitset<Catalogue::kListCount>& categories)
{
    *this = CheckList();
    // Each file is one entry, however many categories hold it: taken the first time it is met.
    std::vector<bool> taken(catalogue.EntryCount());
    size_t count = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        if (!categories[id])
            continue;
        for (uint32_t entry : catalogue[id].Entries()) {
            if (entry < taken.size() && !taken[entry] && !catalogue.Entry(entry).Offline()) {
                taken[entry] = true;
                ++count;
            }
        }
    }
    m_files.reserve(count);
    taken.assign(taken.size(), false);
    std::vector<uint32_t> localFolder(catalogue.FolderCount(), kNone);
    std::unordered_map<uint16_t, uint32_t> localVolume;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        if (!categories[id])
            continue;
        for (uint32_t entry : catalogue[id].Entries()) {
            if (entry >= taken.size() || taken[entry])
                continue;
            const FileRecord& record = catalogue.Entry(entry);
            if (record.Offline() || record.folder >= localFolder.size())
                continue;
            taken[entry] = true;
            uint32_t& folder = localFolder[record.folder];
            if (folder == kNone) {
                const uint16_t catalogueVolume = catalogue.FolderVolume(record.folder);
                auto volume = localVolume.find(catalogueVolume);
                if (volume == localVolume.end()) {
                    const VolumeIdentity& identity = catalogue.Volume(catalogueVolume);
                    // A folder of no known volume: its root is still where the file lies.
                    m_volumes.push_back({catalogueVolume != 0 ? identity.root
                                                              : VolumeRootOf(catalogue.Folder(record.folder)),
                                         catalogueVolume != 0 ? identity.serial : 0});
                    volume = localVolume.emplace(catalogueVolume, static_cast<uint32_t>(m_volumes.size() - 1)).first;
                }
                folder = static_cast<uint32_t>(m_folders.size());
                m_folders.push_back({catalogue.Folder(record.folder), volume->second});
            }
            m_files.push_back({folder, record.name,
                               {record.Size(), (static_cast<uint64_t>(record.writeTimeHigh) << 32) | record.writeTimeLow,
                                record.attributes}});
        }
    }
}

std::wstring CheckList::Path(size_t index) const
{
    const File& file = m_files[index];
    const std::wstring_view folder = m_folders[file.folder].text;
    const size_t length = std::wcslen(file.name);
    std::wstring path;
    path.reserve(folder.size() + length);
    path.append(folder);
    path.append(file.name, length);
    return path;
}

bool CheckList::Compare(size_t index, const CatalogueEdit::FileFacts* found, CatalogueEdit::FileUpdate& update) const
{
    const CatalogueEdit::FileFacts& stored = m_files[index].facts;
    if (found && found->size == stored.size && found->writeTime == stored.writeTime &&
        found->attributes == stored.attributes)
        return false;
    update.path = Path(index);
    update.gone = found == nullptr;
    update.facts = found ? *found : stored;
    return true;
}
