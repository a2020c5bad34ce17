#pragma once
// The catalogue in memory: one list of file records per category id. Portable.
//
// Records are kept small because a catalogue of a few million of them must fit a 32-bit
// process comfortably (about 36 bytes a record there, plus its name):
// - the folder of a file is stored once, as text in the catalogue's text store, and a record
//   holds its index; the file name is stored once per file in the text store as well, and the
//   records of one file in several categories share it;
// - the last-write time is kept as the file system reports it (UTC, in 100 ns units) and turned
//   into the date text only when it is shown;
// - the attributes are kept as the file system's bits; the letters R, H, S, A are made from them;
// - type names are interned: a record holds the index of its text in a table of the catalogue;
// - a record keeps no shell folder object or item id: whoever needs the shell's identity of a
//   file resolves it from the path at that moment;
// - sizes are kept whole (64 bits), also for files of 4 GiB and more;
// - the volume a file was catalogued on is kept per folder (two bytes a folder), not per record.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FileRecord {
    const wchar_t* name = L""; // in the text store: the last component of the path
    uint32_t folder = 0;       // index of the folder text: the path up to and with its last backslash
    uint32_t attributes = 0;   // the file system's attribute bits
    uint32_t sizeLow = 0;
    uint32_t sizeHigh = 0;
    uint32_t writeTimeLow = 0; // last-write time, UTC; both halves zero when the file system gave none
    uint32_t writeTimeHigh = 0;
    int32_t iconIndex = -1; // in the system image list; -1 until the shell has been asked
    uint16_t typeName = 0;  // index into the catalogue's type names; 0 is the empty text
    uint8_t flag = 0;       // used by the file operations
    uint8_t marks = 0;      // kRootMark, kOffline

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
    bool HasWriteTime() const { return writeTimeLow != 0 || writeTimeHigh != 0; }
};
static_assert(sizeof(void*) != 4 || sizeof(FileRecord) == 36, "a record stays at 36 bytes in the 32-bit program");

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

private:
    static constexpr size_t kBlockChars = 32 * 1024;
    std::vector<std::unique_ptr<wchar_t[]>> m_blocks;
    std::vector<std::unique_ptr<wchar_t[]>> m_large; // texts longer than a block
    size_t m_used = kBlockChars;
};

class Catalogue {
public:
    static constexpr int kListCount = 100;
    // A deque grows without copying its records and without the slack of a doubled vector.
    using List = std::deque<FileRecord>;

    Catalogue();

    List& operator[](int categoryId) { return m_lists[categoryId]; }
    const List& operator[](int categoryId) const { return m_lists[categoryId]; }
    size_t RecordCount() const;

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

private:
    List m_lists[kListCount];
    TextStore m_texts;
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

// Splits a full path into the folder (up to and with the last backslash) and the name after it;
// a path without backslash is all name.
struct PathParts {
    std::wstring_view folder;
    std::wstring_view name;
};
PathParts SplitPath(std::wstring_view path);

// "R", "H", "S", "A" for read-only, hidden, system and archive, in this order.
std::wstring AttributeLetters(uint32_t attributes);
