#include "Catalogue.h"

#include <cstring>

const wchar_t* TextStore::Store(std::wstring_view text)
{
    const size_t needed = text.size() + 1;
    wchar_t* target;
    if (needed > kBlockChars / 4) {
        m_large.push_back(std::make_unique<wchar_t[]>(needed));
        target = m_large.back().get();
        m_bytes += needed * sizeof(wchar_t);
    } else {
        if (m_used + needed > kBlockChars) {
            m_blocks.push_back(std::make_unique<wchar_t[]>(kBlockChars));
            m_used = 0;
            m_bytes += kBlockChars * sizeof(wchar_t);
        }
        target = m_blocks.back().get() + m_used;
        m_used += needed;
    }
    if (!text.empty())
        std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    return target;
}

size_t TextStore::MemoryBytes() const
{
    return m_bytes;
}

void CategoryList::push_back(const FileRecord& record)
{
    m_entries.push_back(m_id == 0 ? m_catalogue->AddPrivateEntry(record)
                                  : m_catalogue->AddEntry(record, record.name ? record.name : L""));
}

namespace {

uint32_t NameHash(uint32_t folder, std::wstring_view name)
{
    uint32_t hash = 2166136261u ^ (folder * 2654435761u);
    for (wchar_t c : name)
        hash = (hash ^ static_cast<uint16_t>(c)) * 16777619u;
    return hash ^ (hash >> 15);
}

// The same for a stored name, read to its end.
uint32_t NameHash(uint32_t folder, const wchar_t* name)
{
    uint32_t hash = 2166136261u ^ (folder * 2654435761u);
    for (; *name; ++name)
        hash = (hash ^ static_cast<uint16_t>(*name)) * 16777619u;
    return hash ^ (hash >> 15);
}

// A stored name compared without measuring it first: a lookup compares one in every probe.
bool SameName(const wchar_t* stored, std::wstring_view name)
{
    for (size_t i = 0; i < name.size(); ++i)
        if (stored[i] != name[i] || stored[i] == L'\0')
            return false;
    return stored[name.size()] == L'\0';
}

} // namespace

Catalogue::Catalogue()
{
    for (int id = 0; id < kListCount; ++id) {
        m_lists[id].m_catalogue = this;
        m_lists[id].m_id = id;
    }
    m_typeNames.emplace_back();
    m_typeNameIndex.emplace(std::wstring(), 0);
    m_volumes.emplace_back();
}

size_t Catalogue::RecordCount() const
{
    size_t count = 0;
    for (const List& list : m_lists)
        count += list.size();
    return count;
}

uint32_t Catalogue::NewEntry(const FileRecord& record)
{
    if ((m_entryCount >> kBlockBits) == m_entryBlocks.size())
        m_entryBlocks.push_back(std::make_unique<FileRecord[]>(kBlockMask + 1));
    const uint32_t index = m_entryCount++;
    Entry(index) = record;
    return index;
}

size_t Catalogue::SlotOf(uint32_t folder, std::wstring_view name) const
{
    // The slot that holds the entry, or the free slot where it would go.
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = NameHash(folder, name) & mask;; slot = (slot + 1) & mask) {
        const uint32_t held = m_slots[slot];
        if (held == 0)
            return slot;
        const FileRecord& entry = Entry(held - 1);
        if (entry.folder == folder && SameName(entry.name, name))
            return slot;
    }
}

void Catalogue::Rehash(size_t slotCount)
{
    std::vector<uint32_t> old(slotCount);
    old.swap(m_slots);
    m_indexed = 0;
    for (uint32_t held : old)
        if (held != 0)
            Index(held - 1);
}

void Catalogue::ReserveEntries(size_t entries)
{
    size_t slotCount = std::max<size_t>(64, m_slots.size());
    while (entries * 4 > slotCount * 3)
        slotCount *= 2;
    if (slotCount != m_slots.size())
        Rehash(slotCount);
}

void Catalogue::Index(uint32_t entry)
{
    // At most three quarters full, so that a probe stays short.
    if ((m_indexed + 1) * 4 > m_slots.size() * 3)
        Rehash(std::max<size_t>(64, m_slots.size() * 2));
    // The entry's file is not in the table yet: the first free slot of its run is its place,
    // found without comparing names.
    const FileRecord& record = Entry(entry);
    const size_t mask = m_slots.size() - 1;
    size_t slot = NameHash(record.folder, record.name) & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = entry + 1;
    ++m_indexed;
}

void Catalogue::Unindex(uint32_t entry)
{
    if (m_slots.empty())
        return;
    const FileRecord& record = Entry(entry);
    size_t slot = SlotOf(record.folder, record.name);
    if (m_slots[slot] != entry + 1)
        return;
    // Backward shift: the entries after it in the run move up where their probe allows, so
    // that no run is broken.
    const size_t mask = m_slots.size() - 1;
    m_slots[slot] = 0;
    --m_indexed;
    for (size_t next = (slot + 1) & mask; m_slots[next] != 0; next = (next + 1) & mask) {
        const FileRecord& moved = Entry(m_slots[next] - 1);
        const size_t home = NameHash(moved.folder, moved.name) & mask;
        // It may move to the free slot when its home does not lie after the free slot in the run.
        const bool movable = slot <= next ? (home <= slot || home > next) : (home <= slot && home > next);
        if (movable) {
            m_slots[slot] = m_slots[next];
            m_slots[next] = 0;
            slot = next;
        }
    }
}

uint32_t Catalogue::FindEntry(uint32_t folder, std::wstring_view name) const
{
    if (m_slots.empty())
        return kNoEntry;
    const uint32_t held = m_slots[SlotOf(folder, name)];
    return held == 0 ? kNoEntry : held - 1;
}

uint32_t Catalogue::FindEntry(uint32_t folder, std::wstring_view name, uint32_t guess) const
{
    if (guess < m_entryCount && !m_slots.empty()) {
        const FileRecord& entry = Entry(guess);
        if (entry.folder == folder && SameName(entry.name, name)) {
            // Only the entry in the table is the file's: another entry of the same folder and
            // name (a row of the drive dialog, a file moved over another) is not.
            const size_t mask = m_slots.size() - 1;
            for (size_t slot = NameHash(folder, name) & mask; m_slots[slot] != 0; slot = (slot + 1) & mask)
                if (m_slots[slot] == guess + 1)
                    return guess;
        }
    }
    return FindEntry(folder, name);
}

uint32_t Catalogue::AddEntry(const FileRecord& facts, std::wstring_view name)
{
    return AddEntry(facts, name, FindEntry(facts.folder, name));
}

uint32_t Catalogue::AddEntry(const FileRecord& facts, std::wstring_view name, uint32_t entry)
{
    if (entry == kNoEntry) {
        FileRecord record = facts;
        record.name = facts.name && name.data() == facts.name && facts.name[name.size()] == L'\0' ? facts.name
                                                                                                : StoreText(name);
        entry = NewEntry(record);
        Index(entry);
        return entry;
    }
    FileRecord& record = Entry(entry);
    record.attributes = facts.attributes;
    record.sizeLow = facts.sizeLow;
    record.sizeHigh = facts.sizeHigh;
    record.writeTimeLow = facts.writeTimeLow;
    record.writeTimeHigh = facts.writeTimeHigh;
    if (facts.typeName != 0)
        record.typeName = facts.typeName;
    record.marks = facts.marks;
    return entry;
}

uint32_t Catalogue::AddPrivateEntry(const FileRecord& record)
{
    return NewEntry(record);
}

void Catalogue::MoveEntry(uint32_t entry, uint32_t folder, const wchar_t* name)
{
    const bool indexed = FindEntry(Entry(entry).folder, Entry(entry).name) == entry;
    if (indexed)
        Unindex(entry);
    Entry(entry).folder = folder;
    Entry(entry).name = name;
    if (indexed && FindEntry(folder, name) == kNoEntry)
        Index(entry);
}

void Catalogue::Compact()
{
    for (List& list : m_lists)
        list.m_entries.shrink_to_fit();
}

size_t Catalogue::MemoryBytes() const
{
    size_t bytes = m_entryBlocks.size() * (kBlockMask + 1) * sizeof(FileRecord) + m_slots.capacity() * 4 +
                   m_texts.MemoryBytes() + m_folders.capacity() * (sizeof(std::wstring_view) + 2);
    // A hash map node holds the key, the value and a link; each bucket a pointer.
    bytes += m_folderIndex.size() * (sizeof(FolderKey) + 4 + sizeof(void*)) + m_folderIndex.bucket_count() * sizeof(void*);
    for (const List& list : m_lists)
        bytes += list.Entries().capacity() * sizeof(uint32_t);
    for (const std::wstring& name : m_typeNames)
        bytes += sizeof(std::wstring) + name.capacity() * sizeof(wchar_t);
    return bytes;
}

uint32_t Catalogue::AddFolder(std::wstring_view folder, uint16_t volume)
{
    std::wstring_view stored(m_texts.Store(folder), folder.size());
    const auto index = static_cast<uint32_t>(m_folders.size());
    m_folders.push_back(stored);
    m_folderVolumes.push_back(volume);
    m_folderIndex.emplace(FolderKey{stored, volume}, index);
    return index;
}

uint32_t Catalogue::FindOrAddFolder(std::wstring_view folder, uint16_t volume)
{
    auto found = m_folderIndex.find(FolderKey{folder, volume});
    return found != m_folderIndex.end() ? found->second : AddFolder(folder, volume);
}

uint16_t Catalogue::AddVolume(const VolumeIdentity& volume)
{
    for (size_t k = 0; k < m_volumes.size(); ++k)
        if (m_volumes[k] == volume)
            return static_cast<uint16_t>(k);
    if (m_volumes.size() > 0xFFFF)
        return 0; // more volumes than anyone catalogues: the folder keeps none
    m_volumes.push_back(volume);
    return static_cast<uint16_t>(m_volumes.size() - 1);
}

bool VolumeIdentity::Removable() const
{
    constexpr uint32_t kRemovable = 2, kRemote = 4, kCdRom = 5;
    return driveType == kRemovable || driveType == kRemote || driveType == kCdRom || root.compare(0, 2, L"\\\\") == 0;
}

std::wstring VolumeRootOf(std::wstring_view path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        wchar_t letter = path[0];
        if (letter >= L'a' && letter <= L'z')
            letter = static_cast<wchar_t>(letter - L'a' + L'A');
        if (letter < L'A' || letter > L'Z')
            return {};
        return std::wstring{letter, L':', L'\\'};
    }
    if (path.compare(0, 2, L"\\\\") != 0)
        return {};
    // \\server\share\: the server and the share must both have a name.
    const size_t server = path.find(L'\\', 2);
    if (server == std::wstring_view::npos || server == 2)
        return {};
    size_t share = path.find(L'\\', server + 1);
    if (share == server + 1)
        return {};
    if (share == std::wstring_view::npos)
        share = path.size();
    return std::wstring(path.substr(0, share)) + L'\\';
}

std::wstring Catalogue::Path(const FileRecord& record) const
{
    std::wstring_view folder = m_folders[record.folder];
    std::wstring path;
    size_t nameLength = std::wcslen(record.name);
    path.reserve(folder.size() + nameLength);
    path.append(folder);
    path.append(record.name, nameLength);
    return path;
}

uint16_t Catalogue::InternTypeName(const std::wstring& text)
{
    auto found = m_typeNameIndex.find(text);
    if (found != m_typeNameIndex.end())
        return found->second;
    if (m_typeNames.size() > FileRecord::kMaxTypeName)
        return 0; // more distinct type names than any system has: shown empty
    const auto index = static_cast<uint16_t>(m_typeNames.size());
    m_typeNames.push_back(text);
    m_typeNameIndex.emplace(text, index);
    return index;
}

PathParts SplitPath(std::wstring_view path)
{
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return {std::wstring_view(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::wstring AttributeLetters(uint32_t attributes)
{
    std::wstring letters;
    if (attributes & 0x1) // read-only
        letters += L'R';
    if (attributes & 0x2) // hidden
        letters += L'H';
    if (attributes & 0x4) // system
        letters += L'S';
    if (attributes & 0x20) // archive
        letters += L'A';
    return letters;
}
