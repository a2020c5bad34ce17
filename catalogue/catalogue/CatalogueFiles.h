#pragma once
// The catalogue on disk and the facts of files: the database files in the Data folder, the
// record fields read from the file system, type names and the date text.

#include "../../common/UniqueHandle.h"
#include "Catalogue.h"
#include "DatabaseText.h"
#include "FactsFile.h"

#include <functional>
#include <string>
#include <unordered_map>

// The system's ANSI code page; characters without a form in it (also those only a "best fit"
// would give) make Encode fail.
class WindowsAnsiCodePage : public DatabaseText::AnsiCodePage {
public:
    bool Encode(std::wstring_view text, std::string& out) const override;
    std::wstring Decode(std::string_view bytes) const override;
};

// "C:\..." or "\\server\...".
bool IsAbsolutePath(const std::wstring& path);

// A path the file functions accept at any length: beyond MAX_PATH it gets the "\\?\" prefix.
std::wstring LongPathForm(const std::wstring& path);

// The volume now in root ("E:\" or "\\server\share\"): label, serial number and drive type,
// without the system's "insert a disk" box. False when none is there: no disc in the drive,
// drive letter gone, share unreachable.
bool ReadVolumeIdentity(const std::wstring& root, VolumeIdentity& volume);

// Size, times and attributes of a record from the file system's find data.
void SetFileFacts(FileRecord& record, const WIN32_FIND_DATAW& data);
// The same read for a path; false when the file (or its folder) does not exist.
bool ReadFileFacts(FileRecord& record, const std::wstring& path);

// The last-write time in local time, as short date and long time ("06.12.2026 20:09:01");
// empty when the file system gave no time or it cannot be converted.
std::wstring FormatRecordDate(const FileRecord& record);

// The shell's type names by extension: one shell query per extension (and one for folders).
class TypeNameCache {
public:
    uint16_t TypeNameOf(Catalogue& catalogue, std::wstring_view name, uint32_t attributes);

private:
    // Extensions of up to eight ASCII characters (the dot included), upper case, packed into a
    // number one byte a character: a million files ask without building a text each. 0 is no
    // extension, a backslash all folders.
    std::unordered_map<uint64_t, uint16_t> m_byPacked;
    uint64_t m_lastPacked = ~0ull; // the key of the file before, and its type name
    uint16_t m_lastIndex = 0;
    // Longer extensions and those with other characters.
    std::unordered_map<std::wstring, uint16_t> m_byExtension;
};

// Turns stored lines into records. A line that is no absolute path gives none. A line whose
// volume is not there (no disc in the drive, drive letter gone, share unreachable) or holds
// another volume than the facts name (another serial number) gives an offline record with the
// stored facts, or with none where there are none; otherwise the file system gives size,
// times and attributes, and a line whose file is gone gives no record. The shell gives the type
// name, once per extension.
class CatalogueLoader {
public:
    // Load takes every line that gives a record. LoadStored does the same, but a line of a
    // volume that is there takes its stored facts as they are, without asking the file system:
    // the records are checked afterwards, in the background. KeepOffline, for a new scan, takes
    // only the offline lines, and of those only the lines of media that come and go (and of
    // volumes whose kind is not known): their records are kept beside what the scan found.
    enum class Mode { Load, LoadStored, KeepOffline };
    enum class Outcome { Online, Offline, Left };

    explicit CatalogueLoader(Catalogue& catalogue) : m_catalogue(catalogue) {}
    // facts and storedVolume are the line's stored facts and volume; null where there are none.
    Outcome Add(int categoryId, const std::wstring& path, const FactsFile::Line* facts,
                const VolumeIdentity* storedVolume, Mode mode);

private:
    // A root as found at its first line: the volume in it, if any.
    struct RootState {
        bool present = false;
        uint32_t serial = 0;
        uint32_t driveType = 0; // also for an empty drive
        uint16_t volume = 0;    // the catalogue's index of the volume present
    };
    const RootState& StateOf(const std::wstring& root);
    static void SetStoredFacts(FileRecord& record, const FactsFile::Line& facts);
    uint32_t FolderOf(std::wstring_view folder, uint16_t volume);
    // known: the entry of record.folder and name, kNoEntry when there is none.
    void Push(int categoryId, FileRecord& record, std::wstring_view name, uint32_t known);

    Catalogue& m_catalogue;
    TypeNameCache m_typeNames;
    std::unordered_map<std::wstring, RootState> m_roots;
    // Lines come root by root as well: the root of the line before and its state.
    std::wstring m_lastRoot;
    const RootState* m_lastState = nullptr;
    uint32_t m_lastFolder = 0; // lines come folder by folder: one lookup per folder
    bool m_lastFolderKnown = false;
    uint32_t m_lastEntry = Catalogue::kNoEntry; // the entry of the line before
};

// Calls progress for every record written; it may pump messages. Writes <id>.dat and its facts
// file <id>.facts, each to a temporary file that then replaces the old one. Writing stops when
// cancel is set: the files written so far are thrown away and the previous files stay.
enum class WriteResult { Written, Cancelled, Failed };
WriteResult WriteCategoryFile(const std::wstring& folder, int categoryId, const Catalogue& catalogue,
                              const Catalogue::List& list, const int& cancel, const std::function<void()>& progress);

// The facts file beside a database file: the same name with ".facts" for ".dat".
std::wstring FactsFileName(const std::wstring& datFile);

enum class ReadResult { Read, Missing, Failed, Cancelled };
// Reads a whole file into bytes; Missing when there is no such file.
ReadResult ReadWholeFile(const std::wstring& file, std::string& bytes);
// The size and CRC-32 of a file's bytes.
ReadResult CheckFile(const std::wstring& file, const int& cancel, uint64_t& size, uint32_t& check);
// Hands every non-empty line of a database file to onLine until the end or until cancel is
// set. Failed when the file cannot be opened or read to its end.
ReadResult ReadCategoryFile(const std::wstring& file, const int& cancel,
                            const std::function<void(const std::wstring&)>& onLine);
