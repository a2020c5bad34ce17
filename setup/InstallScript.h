#pragma once
// The installer's script, Install.txt: lines kept as they are, headers found by substring,
// parameters, the list sections and the rules for their entry lines. Portable.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Install.txt as bytes turned into text: UTF-8 when it starts with the UTF-8 byte order mark,
// otherwise the caller's 8-bit decoder (the ANSI code page) is used. Returns nullopt when the
// UTF-8 text is not valid.
bool HasUtf8Bom(const std::string& bytes);
std::optional<std::wstring> DecodeUtf8(std::string_view bytes);

// Splits text into lines at CR LF, LF or CR; a final line break does not start another line.
std::vector<std::wstring> SplitLines(const std::wstring& text);

std::wstring UpperCase(std::wstring text);

// The values of the script variables.
struct ScriptVariables {
    std::wstring destination;  // %Ziel
    std::wstring desktop;      // %WinDesktopPath
    std::wstring system;       // %WinSystemDir
    std::wstring programs;     // the start menu's Programs folder
    std::wstring programGroup; // as entered in the wizard
    bool german = true;        // %Language

    // The value of one variable: exact, case-sensitive names; an unknown name gives "".
    std::wstring GetVaribale(const std::wstring& name) const;
    // A text containing "%": the part before the first "\" names the variable and the rest
    // (from the "\" on) is appended to its value; without "\" the whole text is the name.
    // A text without "%" is returned as it is.
    std::wstring Resolve(const std::wstring& text) const;
};

// The registry roots a script may name.
enum class RegRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };
RegRoot GetHKEY(const std::wstring& name);

enum class CopyKind { Destination, System, StartMenu, Desktop };

struct CopyEntry {
    CopyKind kind;
    std::wstring relativePath; // below the source folder, terminator removed
};

// "Ziel\", "WinSystemDir\" (copies), "WinStartMenu\", "DesktopPath\" (shortcuts). A line is an
// entry when it starts with one of them; the last character is its terminator. Lines with
// no prefix, or with nothing after it, are no entry.
std::optional<CopyEntry> ParseCopyLine(const std::wstring& line);

// A path the script names below a folder (a copy line's file, a shortcut's name, the rest of
// [MakeDir], a [RenameFiles] name) is used only when it stays inside that folder: not empty,
// not absolute, no drive or UNC prefix (nor any ":"), no ".." component, and no component that
// Windows would turn into one or into a device (".. .", "...", "NUL", "com1.txt").
bool StaysInsideFolder(const std::wstring& path);

// The shortcut's file name for a shortcut entry: the file's extension replaced by ".lnk".
std::wstring ShortcutName(const std::wstring& relativePath);

struct RenameEntry {
    std::wstring first;  // relative to the source folder
    std::wstring second; // relative to the source folder
    int platform = 0;
};

enum class RegType { String, Integer, None };

struct RegEntry {
    std::wstring rootName;
    RegRoot root = RegRoot::None;
    std::wstring keyPath;
    std::wstring valueName;
    std::wstring typeLetter;
    RegType type = RegType::None;
    std::wstring data; // as written; variables are resolved by the caller
};

// Six fields: root, ignored, key path, value name, type letter (each ended by ","), data
// ended by ";" (text after it is ignored; without ";" the data is empty). nullopt when the
// line has fewer than five commas.
std::optional<RegEntry> ParseRegLine(const std::wstring& line);

// Strict decimal text for an "i" value: an optional "-", then 1 to 10 digits, within the range
// of a 32-bit value (signed or unsigned). Anything else is nullopt.
std::optional<std::uint32_t> ParseDecimal32(const std::wstring& text);

// A strict decimal integer (optional "-", digits only, no blanks) that fits an int.
std::optional<int> ParseDecimalInt(const std::wstring& text);

// The product text on a system whose locale is not German: the script's German form (e.g.
// "für Win9x/2000/ME/NT") loses its first four characters and gets "for " in front.
std::wstring AdjustProductText(const std::wstring& product, bool germanLocale);

class InstallScript {
public:
    InstallScript() = default;
    explicit InstallScript(std::vector<std::wstring> lines) : m_lines(std::move(lines)) {}

    const std::vector<std::wstring>& Lines() const { return m_lines; }

    // The first line containing header (any case or exact), or nullopt.
    std::optional<std::size_t> FindHeader(std::wstring_view header, bool anyCase) const;

    // The line after the first line whose upper-cased text contains the upper-cased key,
    // without its last character (the terminator). "" when there is no such line or it is
    // the last one.
    std::wstring GetParameter(std::wstring_view key) const;

    // The lines of [COPYFILES] (any case): from the line after the header up to and including
    // the first later line that contains "]" (that end line is still an entry line), or to the
    // end of the script. Empty without the header.
    std::vector<std::wstring> CopyFilesLines() const;

    // The entry lines of [AddReg] (exact case): from the line after the header up to the first
    // later line containing "]", which is not part of it; blank and comment lines are left out.
    std::vector<std::wstring> AddRegLines() const;

    // The [RenameFiles] entry (exact case), the one line right after the header.
    // hasHeader tells whether there was a header at all; nullopt with a header means malformed.
    struct RenameLookup {
        bool hasHeader = false;
        std::optional<RenameEntry> entry;
        std::wstring line;
    };
    RenameLookup RenameFiles() const;

    // The medium's file that a copy entry installs under its name: the [RenameFiles] entry's
    // first file when the entry's platform is this one and the copy names its second file (in
    // any case), otherwise the named file itself. An entry whose names leave the folder counts
    // as none.
    std::wstring SourceFor(const std::wstring& relativePath, int platform) const;

private:
    std::vector<std::wstring> SectionAfter(std::optional<std::size_t> header, bool includeEnd) const;

    std::vector<std::wstring> m_lines;
};
