#pragma once
// The catalogue in memory: one list of file records per category id. Portable.
//
// A catalogue of a million files must fit a 32-bit process, type names, folders and names
// included. What it costs there:
// - each file is one FileRecord of 32 bytes, its entry, shared by every category that holds
//   it: a file in three categories is one entry, not three;
// - a category's list is a vector of entry indexes: 4 bytes a line of its database file;
// - the name is stored once per file as UTF-16 in large blocks of the text store: 2 bytes a
//   character and 2 for its end, nothing else;
// - finding the entry of a folder and name (the loader, the scan and the edits do) takes an
//   open-addressed table of entry indexes: 4 bytes a slot, 1.3 to 2.7 slots a file;
// - the folder is stored once, as text in the text store, and an entry holds its index; the
//   volume a file was catalogued on is kept per folder (two bytes a folder);
// - the last-write time is kept as the file system reports it (UTC, in 100 ns units) and turned
//   into the date text only when it is shown;
// - the attributes are kept as the file system's bits; the letters R, H, S, A are made from them;
// - type names are interned: an entry holds the index of its text in a table of the catalogue;
// - an entry keeps no shell folder object or item id: whoever needs the shell's identity of a
//   file resolves it from the path at that moment;
// - sizes are kept whole (64 bits), also for files of 4 GiB and more.
// A file of a 20-character name in two categories thus costs about 4 + (32 + 42 + 8) / 2 = 45
// bytes a line; in three, about 35.

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FileRecord {
    const wchar_t* name = L""; // 4 bytes: in the text store, the last component of the path
    uint32_t folder = 0;       // 4: index of the folder text: the path up to and with its last backslash
    uint32_t attributes = 0;   // 4: the file system's attribute bits
    uint32_t sizeLow = 0;      // 8: the size in bytes, whole
    uint32_t sizeHigh = 0;
    uint32_t writeTimeLow = 0; // 8: last-write time, UTC; both halves zero when the file system gave none
    uint32_t writeTimeHigh = 0;
    // 2: in the system image list; -1 until the shell has been asked, and for an index beyond
    // 16 bits, which the file list then asks for each time it shows the file.
    int16_t iconIndex = -1;
    // 2: index into the catalogue's type names (0 is the empty text), and the marks below.
    uint16_t typeName : 14;
    uint16_t marks : 2;

    FileRecord() : typeName(0), marks(0) {}

    static constexpr uint16_t kMaxTypeName = 0x3FFF;
    // In the drive dialog's entries: added by the user as a folder.
    static constexpr uint8_t kRootMark = 1;
    // The file's volume was not available when the catalogue was loaded (no disc in the drive,
    // drive letter gone, share unreachable, another disc in the drive): the facts are the stored
    // ones, and the file cannot be opened now.
    static constexpr uint8_t kOffline = 2;
    bool RootMark() const { return (marks & kRootMark) != 0; }
    bool Offline() const { return (marks & kOffline) != 0; }

    uint64_t Size() const { return (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow; }
    void SetSize(uint64_t size)
    {
        sizeLow = static_cast<uint32_t>(size);
        sizeHigh = static_cast<uint32_t>(size >> 32);
    }
    uint64_t WriteTime() const { return (static_cast<uint64_t>(writeTimeHigh) << 32) | writeTimeLow; }
    bool HasWriteTime() const { return writeTimeLow != 0 || writeTimeHigh != 0; }
};
static_assert(sizeof(void*) != 4 || sizeof(FileRecord) == 32, "an entry stays at 32 bytes in the 32-bit program");

// The volume a folder's files were catalogued on: the root of its paths ("E:\" or
// "\\server\share\"), the label and serial number the system gave, and the kind of drive
// (the system's drive type: 2 removable, 3 fixed, 4 network, 5 CD-ROM; 0 when not known).
struct VolumeIdentity {
    std::wstring root;
    std::wstring label;
    uint32_t serial = 0;
    uint32_t driveType = 0;

    bool operator==(const VolumeIdentity& other) const
    {
        return root == other.root && label == other.label && serial == other.serial &&
               driveType == other.driveType;
    }
    // Media that come and go: removable drives, floppies, CDs and network shares.
    bool Removable() const;
};

// The root of a path: "E:\" for "E:\Fotos\a.jpg", "\\server\share\" for a path on a share
// (upper case drive letter); empty for anything else.
std::wstring VolumeRootOf(std::wstring_view path);

// Texts that live as long as the catalogue: appended to large blocks, never moved, never freed
// one by one.
class TextStore {
public:
    const wchar_t* Store(std::wstring_view text);
    size_t MemoryBytes() const;

private:
    static constexpr size_t kBlockChars = 32 * 1024;
    std::vector<std::unique_ptr<wchar_t[]>> m_blocks;
    std::vector<std::unique_ptr<wchar_t[]>> m_large; // texts longer than a block
    size_t m_used = kBlockChars;
    size_t m_bytes = 0;
};

class Catalogue;

// The lines of one category: indexes of the catalogue's entries, in list order. Reads like a
// sequence of FileRecord; the records it hands out are the shared entries, so a change to one
// is seen in every category that holds the file.
class CategoryList {
public:
    template <typename Record> class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = FileRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = Record*;
        using reference = Record&;
        Iterator() = default;
        Iterator(const CategoryList* list, size_t at) : m_list(list), m_at(at) {}
        Record& operator*() const { return m_list->At(m_at); }
        Record* operator->() const { return &m_list->At(m_at); }
        Record& operator[](difference_type n) const { return m_list->At(m_at + n); }
        Iterator& operator++() { ++m_at; return *this; }
        Iterator operator++(int) { Iterator old = *this; ++m_at; return old; }
        Iterator& operator--() { --m_at; return *this; }
        Iterator operator--(int) { Iterator old = *this; --m_at; return old; }
        Iterator& operator+=(difference_type n) { m_at += n; return *this; }
        Iterator& operator-=(difference_type n) { m_at -= n; return *this; }
        Iterator operator+(difference_type n) const { return Iterator(m_list, m_at + n); }
        Iterator operator-(difference_type n) const { return Iterator(m_list, m_at - n); }
        difference_type operator-(const Iterator& other) const
        {
            return static_cast<difference_type>(m_at) - static_cast<difference_type>(other.m_at);
        }
        bool operator==(const Iterator& other) const { return m_at == other.m_at; }
        bool operator!=(const Iterator& other) const { return m_at != other.m_at; }
        bool operator<(const Iterator& other) const { return m_at < other.m_at; }
        bool operator>(const Iterator& other) const { return m_at > other.m_at; }
        bool operator<=(const Iterator& other) const { return m_at <= other.m_at; }
        bool operator>=(const Iterator& other) const { return m_at >= other.m_at; }
        size_t Index() const { return m_at; }

    private:
        const CategoryList* m_list = nullptr;
        size_t m_at = 0;
    };
    using iterator = Iterator<FileRecord>;
    using const_iterator = Iterator<const FileRecord>;

    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    FileRecord& operator[](size_t i) { return At(i); }
    const FileRecord& operator[](size_t i) const { return At(i); }
    FileRecord& back() { return At(m_entries.size() - 1); }
    const FileRecord& back() const { return At(m_entries.size() - 1); }
    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, m_entries.size()); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_entries.size()); }

    // Appends the file record.folder + record.name: its entry where the catalogue has one
    // (whose facts then become those of record), a new entry otherwise. The drive dialog's
    // entries (list 0) are entries of their own, never shared.
    void push_back(const FileRecord& record);
    // Appends an entry the catalogue has.
    void Append(uint32_t entry) { m_entries.push_back(entry); }
    void pop_back() { m_entries.pop_back(); }
    void clear() { m_entries.clear(); }
    // The lines' entry indexes, for whoever reorders or filters them.
    std::vector<uint32_t>& Entries() { return m_entries; }
    const std::vector<uint32_t>& Entries() const { return m_entries; }
    // Swaps the lines only: each list stays a list of its own catalogue and category.
    void swap(CategoryList& other) { m_entries.swap(other.m_entries); }

private:
    friend class Catalogue;
    FileRecord& At(size_t i) const;

    std::vector<uint32_t> m_entries;
    Catalogue* m_catalogue = nullptr;
    int m_id = 0;
};

class Catalogue {
public:
    static constexpr int kListCount = 100;
    using List = CategoryList;
    static constexpr uint32_t kNoEntry = 0xFFFFFFFF;

    Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    List& operator[](int categoryId) { return m_lists[categoryId]; }
    const List& operator[](int categoryId) const { return m_lists[categoryId]; }
    // The lines of all categories.
    size_t RecordCount() const;

    // Entries: one per file (folder and name), shared by the categories that hold it. They
    // never move; an entry no list holds any more stays, and is found again for its file.
    FileRecord& Entry(uint32_t index) { return m_entryBlocks[index >> kBlockBits][index & kBlockMask]; }
    const FileRecord& Entry(uint32_t index) const { return m_entryBlocks[index >> kBlockBits][index & kBlockMask]; }
    size_t EntryCount() const { return m_entryCount; }
    // The entry of folder and name; kNoEntry when there is none.
    uint32_t FindEntry(uint32_t folder, std::wstring_view name) const;
    // The same with a guess: an entry that may well be the one (a load whose lines come in the
    // order their entries were made tries the entry after the last one). A right guess is
    // confirmed from the table alone, without reading the other entries on the way.
    uint32_t FindEntry(uint32_t folder, std::wstring_view name, uint32_t guess) const;
    // The entry of facts.folder and name, made when there is none; the facts (all but the
    // name, the folder and the icon) become the entry's either way.
    uint32_t AddEntry(const FileRecord& facts, std::wstring_view name);
    // The same for a caller that has just asked FindEntry(facts.folder, name): found is its
    // answer, not asked again.
    uint32_t AddEntry(const FileRecord& facts, std::wstring_view name, uint32_t found);
    // An entry no other file shares and no lookup finds: the drive dialog's rows.
    uint32_t AddPrivateEntry(const FileRecord& record);
    // Gives an entry another folder and name (a stored text): a moved or renamed file.
    void MoveEntry(uint32_t entry, uint32_t folder, const wchar_t* name);
    // Makes room in the lookup table for entries files in all without growing it on the way: a
    // load that knows its line count.
    void ReserveEntries(size_t entries);
    // Gives back the lists' unused room after a load or a scan.
    void Compact();

    // Folders: each added once per volume; the index goes into the records. Volume 0 is none
    // known.
    uint32_t AddFolder(std::wstring_view folder, uint16_t volume = 0);
    uint32_t FindOrAddFolder(std::wstring_view folder, uint16_t volume = 0);
    std::wstring_view Folder(uint32_t index) const { return m_folders[index]; }
    std::wstring_view Folder(const FileRecord& record) const { return m_folders[record.folder]; }
    size_t FolderCount() const { return m_folders.size(); }
    uint16_t FolderVolume(uint32_t index) const { return m_folderVolumes[index]; }
    void SetFolderVolume(uint32_t index, uint16_t volume) { m_folderVolumes[index] = volume; }

    // Volumes: each identity once; index 0 is the empty identity (none known).
    uint16_t AddVolume(const VolumeIdentity& volume);
    const VolumeIdentity& Volume(uint16_t index) const { return m_volumes[index]; }
    const VolumeIdentity& VolumeOf(const FileRecord& record) const
    {
        return m_volumes[m_folderVolumes[record.folder]];
    }
    size_t VolumeCount() const { return m_volumes.size(); }

    const wchar_t* StoreText(std::wstring_view text) { return m_texts.Store(text); }

    // The full path of a record: its folder followed by its name.
    std::wstring Path(const FileRecord& record) const;

    uint16_t InternTypeName(const std::wstring& text);
    const std::wstring& TypeName(const FileRecord& record) const { return m_typeNames[record.typeName]; }
    size_t TypeNameCount() const { return m_typeNames.size(); }
    const std::wstring& TypeNameAt(uint16_t index) const { return m_typeNames[index]; }

    // The bytes the entries, the lists, the lookup table, the folders and the texts hold.
    size_t MemoryBytes() const;

private:
    static constexpr uint32_t kBlockBits = 13;
    static constexpr uint32_t kBlockMask = (1u << kBlockBits) - 1;
    uint32_t NewEntry(const FileRecord& record);
    size_t SlotOf(uint32_t folder, std::wstring_view name) const;
    void Rehash(size_t slotCount);
    // Puts an entry into the lookup table; no other entry of its folder and name may be there.
    void Index(uint32_t entry);
    void Unindex(uint32_t entry);

    List m_lists[kListCount];
    TextStore m_texts;
    std::vector<std::unique_ptr<FileRecord[]>> m_entryBlocks;
    uint32_t m_entryCount = 0;
    // Open addressing with linear probing: entry index + 1, 0 for a free slot.
    std::vector<uint32_t> m_slots;
    size_t m_indexed = 0;
    struct FolderKey {
        std::wstring_view text;
        uint16_t volume;
        bool operator==(const FolderKey& other) const { return volume == other.volume && text == other.text; }
    };
    struct FolderKeyHash {
        size_t operator()(const FolderKey& key) const { return std::hash<std::wstring_view>()(key.text) ^ key.volume; }
    };
    std::vector<std::wstring_view> m_folders;
    std::vector<uint16_t> m_folderVolumes;
    std::unordered_map<FolderKey, uint32_t, FolderKeyHash> m_folderIndex;
    std::vector<VolumeIdentity> m_volumes;
    std::vector<std::wstring> m_typeNames;
    std::unordered_map<std::wstring, uint16_t> m_typeNameIndex;
};

inline FileRecord& CategoryList::At(size_t i) const
{
    return m_catalogue->Entry(m_entries[i]);
}

// Splits a full path into the folder (up to and with the last backslash) and the name after it;
// a path without backslash is all name.
struct PathParts {
    std::wstring_view folder;
    std::wstring_view name;
};
PathParts SplitPath(std::wstring_view path);

// "R", "H", "S", "A" for read-only, hidden, system and archive, in this order.
std::wstring AttributeLetters(uint32_t attributes);
