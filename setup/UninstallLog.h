#pragma once
// The uninstall log: what an installation created, one record per line, written while it
// runs so that a cancelled or failed installation can be undone as well. Portable: the text
// of the header and the records, and the strict reader that refuses anything it cannot trust.
//
//   SORTARO-UNINSTALL<TAB>1<TAB>Sortaro<TAB>C:\Program Files\Sortaro
//   Language<TAB>DE
//   Folder<TAB>C:\Program Files\Sortaro
//   File<TAB>C:\Program Files\Sortaro\Sortaro.exe
//   Value<TAB>HKCU<TAB>Software\Sortaro\Options<TAB>language
//   Value<TAB>HKCU<TAB>Software\Sortaro\Options<TAB>InstallDir<TAB>1<TAB>43003A005C000000
//
// Fields are separated by tabs; "%", tab, CR and LF inside a field are written as %25, %09,
// %0D and %0A. A replaced registry value keeps its previous type and data (hex bytes).

#include "SetupTexts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace UninstallLog {

// The product the log and the registration belong to, and the version it registers.
constexpr const wchar_t* kProduct = L"Sortaro";
constexpr const wchar_t* kDisplayVersion = L"1.309";
// The file name of the log and of the installer's copy in the installation folder.
constexpr const wchar_t* kLogName = L"Uninstall.log";
constexpr const wchar_t* kUninstallerName = L"Uninstall.exe";
// Where Windows looks for programs it can remove, below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER;
// the registration is the subkey named by the product.
constexpr const wchar_t* kUninstallKeys = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

enum class Kind {
    Language,  // the installation's language: the uninstaller asks in it
    Folder,    // a folder the installation made (removed when empty)
    File,      // a file it copied
    Shortcut,  // a shortcut it made
    Catalogue, // the catalogue folder below the installation folder: kept unless the user says otherwise
    Key,       // a registry key it made (removed when empty)
    Value,     // a registry value it wrote, with the previous one where it replaced one
};

struct Record {
    Kind kind = Kind::File;
    std::wstring path;      // Folder, File, Shortcut, Catalogue: the full path; Key, Value: the key path
    std::wstring root;      // Key, Value: HKCR, HKCU, HKLM, HKUS (the path then names the user key), HKCC
    std::wstring valueName; // Value
    bool german = true;     // Language
    // Value: the value that was there before, if any.
    std::optional<std::uint32_t> previousType;
    std::vector<unsigned char> previousData;

    bool operator==(const Record& other) const;
};

std::wstring HeaderLine(const std::wstring& product, const std::wstring& folder);
std::wstring RecordLine(const Record& record);

struct Log {
    std::wstring product;
    std::wstring folder;
    std::vector<Record> records;

    // The language of the installation: the last Language record, German without one.
    bool German() const;
    // The catalogue folder, "" when the log names none.
    std::wstring Catalogue() const;
};

struct ParseResult {
    std::optional<Log> log;
    SetupTexts::Id error = SetupTexts::Id::Count; // why it was refused
    std::size_t line = 0;                         // 1-based line of the fault
};

// Reads a whole log. It is accepted only when its header names this product and the folder
// the log was found in (any case, a final "\" ignored) and every record parses; a last line
// without its line break (cut off while it was being written) is ignored when it does not parse.
ParseResult Parse(const std::wstring& text, const std::wstring& product, const std::wstring& folder);

// True when path lies strictly inside folder (any case).
bool IsInside(const std::wstring& path, const std::wstring& folder);

} // namespace UninstallLog
