#include "CatalogueCheck.h"

#include <unordered_map>

namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

uint32_t HashOf(uint32_t folder, const wchar_t* name, size_t length)
{
    uint32_t hash = 2166136261u ^ folder;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<uint32_t>(name[i])) * 16777619u;
    return hash;
}

} // namespace

void CheckList::Collect(const Catalogue& catalogue, const std::bitset<Catalogue::kListCount>& categories)
{
    *this = CheckList();
    size_t records = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id)
        if (categories[id])
            records += catalogue[id].size();
    // Files are found again by an open hash table of their indexes (plus one; 0 is a free slot),
    // at most half full.
    size_t slotCount = 16;
    while (slotCount < 2 * records)
        slotCount *= 2;
    std::vector<uint32_t> slots(slotCount, 0);
    std::vector<uint32_t> localFolder(catalogue.FolderCount(), kNone);
    std::unordered_map<uint16_t, uint32_t> localVolume;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        if (!categories[id])
            continue;
        for (const FileRecord& record : catalogue[id]) {
            if (record.Offline() || record.folder >= localFolder.size())
                continue;
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
                m_folders.push_back({std::wstring(catalogue.Folder(record.folder)), volume->second});
            }
            const size_t length = std::char_traits<wchar_t>::length(record.name);
            size_t slot = HashOf(folder, record.name, length) & (slotCount - 1);
            bool known = false;
            for (; slots[slot] != 0; slot = (slot + 1) & (slotCount - 1)) {
                const File& file = m_files[slots[slot] - 1];
                if (file.folder == folder && file.nameLength == length &&
                    m_names.compare(file.nameStart, length, record.name, length) == 0) {
                    known = true;
                    break;
                }
            }
            if (known)
                continue;
            slots[slot] = static_cast<uint32_t>(m_files.size() + 1);
            m_files.push_back({folder, static_cast<uint32_t>(m_names.size()), static_cast<uint32_t>(length),
                               {record.Size(), (static_cast<uint64_t>(record.writeTimeHigh) << 32) | record.writeTimeLow,
                                record.attributes}});
            m_names.append(record.name, length);
        }
    }
    m_files.shrink_to_fit();
    m_names.shrink_to_fit();
}

std::wstring CheckList::Path(size_t index) const
{
    const File& file = m_files[index];
    std::wstring path = m_folders[file.folder].text;
    path.append(m_names, file.nameStart, file.nameLength);
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
