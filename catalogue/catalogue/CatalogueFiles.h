#pragma once
// The catalogue on disk and the facts of files: the database files in the Data folder, the
// record fields read from the file system, type names and the date text.

#include "../../common/UniqueHandle.h"
#include "Catalogue.h"
#include "DatabaseText.h"

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
    uint16_t TypeNameOf(Catalogue& catalogue, const wchar_t* name, uint32_t attributes);

private:
    std::unordered_map<std::wstring, uint16_t> m_byExtension;
};

// Turns stored paths into records: the file system gives size, times and attributes, the
// shell the type name (once per extension). A path that is no absolute path, or whose file or
// folder is gone, gives no record.
class CatalogueLoader {
public:
    explicit CatalogueLoader(Catalogue& catalogue) : m_catalogue(catalogue) {}
    bool Add(int categoryId, const std::wstring& path);

private:
    Catalogue& m_catalogue;
    TypeNameCache m_typeNames;
    uint32_t m_lastFolder = 0; // paths come folder by folder: one lookup per folder
    bool m_lastFolderKnown = false;
};

// Calls progress for every record written; it may pump messages. Writing stops when cancel is
// set: the file written so far is thrown away and the previous file of the category stays.
enum class WriteResult { Written, Cancelled, Failed };
WriteResult WriteCategoryFile(const std::wstring& folder, int categoryId, const Catalogue& catalogue,
                              const Catalogue::List& list, const int& cancel, const std::function<void()>& progress);

// Hands every non-empty line of a database file to onLine until the end or until cancel is
// set. False when the file cannot be opened.
bool ReadCategoryFile(const std::wstring& file, const int& cancel,
                      const std::function<void(const std::wstring&)>& onLine);
