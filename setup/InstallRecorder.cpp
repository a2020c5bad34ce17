#include "InstallRecorder.h"

#include "InstallScript.h"
#include "Installer.h"
#include "common/Log.h"

using UninstallLog::Kind;
using UninstallLog::Record;

namespace {

constexpr const wchar_t* kChannel = L"setup";
constexpr int kTreeDepth = 16;

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Record PathRecord(Kind kind, const std::wstring& path)
{
    Record record;
    record.kind = kind;
    record.path = path;
    return record;
}

std::string Utf8(const std::wstring& text)
{
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

} // namespace

bool InstallRecorder::MakeFolder(const std::wstring& path)
{
    // The levels that are missing now, outermost first, are the ones this call makes.
    std::vector<std::wstring> missing;
    for (std::wstring level = path; level.size() > 3 && !Exists(level);) {
        missing.insert(missing.begin(), level);
        std::size_t slash = level.find_last_of(L'\\');
        if (slash == std::wstring::npos)
            break;
        level.resize(slash);
    }
    bool made = MakeDirectory(path);
    for (const std::wstring& level : missing) {
        if (!Exists(level))
            continue;
        if (Active())
            Write(PathRecord(Kind::Folder, level));
        else
            m_pending.push_back(level);
    }
    return made;
}

bool InstallRecorder::Begin(const std::wstring& folder, bool german)
{
    m_folder = folder;
    m_path = folder + L"\\" + UninstallLog::kLogName;
    std::vector<Record> kept;
    if (std::optional<std::wstring> text = ReadTextFile(m_path)) {
        UninstallLog::ParseResult earlier = UninstallLog::Parse(*text, UninstallLog::kProduct, folder);
        if (earlier.log)
            kept = std::move(earlier.log->records);
        else
            Log::Write(LogLevel::Warning, kChannel, L"%ls is not a log of this installation (line %u); replaced",
                       m_path.c_str(), static_cast<unsigned>(earlier.line));
    }
    m_file.Reset(CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        return Log::LastError(kChannel, m_path.c_str());
    DWORD written = 0;
    WriteFile(m_file.Get(), "\xEF\xBB\xBF", 3, &written, nullptr);
    WriteLine(UninstallLog::HeaderLine(UninstallLog::kProduct, folder));
    for (const Record& record : kept)
        Write(record);
    Record language;
    language.kind = Kind::Language;
    language.german = german;
    Write(language);
    // The installation folder is removed when it is empty at the end, even when it was there
    // before (a catalogue kept from an earlier installation, or made by hand for this one).
    if (m_pending.empty())
        m_pending.push_back(folder);
    for (const std::wstring& level : m_pending)
        Write(PathRecord(Kind::Folder, level));
    m_pending.clear();
    return true;
}

void InstallRecorder::File(const std::wstring& path)
{
    // A file outside the installation folder that is there already is not this installation's
    // to remove: it may be a shared file of the system folder or the user's. Inside the
    // installation folder it is the program's own, from an earlier version (an update).
    if (!Exists(path) || UninstallLog::IsInside(path, m_folder))
        Write(PathRecord(Kind::File, path));
}

void InstallRecorder::Shortcut(const std::wstring& path)
{
    Write(PathRecord(Kind::Shortcut, path));
}

void InstallRecorder::Catalogue(const std::wstring& folder)
{
    if (UninstallLog::IsInside(folder, m_folder))
        Write(PathRecord(Kind::Catalogue, folder));
}

void InstallRecorder::BeforeTreeCopy(const std::wstring& source, const std::wstring& target)
{
    TreeBelow(source, target, 0);
}

void InstallRecorder::TreeBelow(const std::wstring& source, const std::wstring& target, int depth)
{
    if (depth >= kTreeDepth)
        return;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((source + L"\\*").c_str(), &data));
    if (!find)
        return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring to = target + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!Exists(to))
                Write(PathRecord(Kind::Folder, to));
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                TreeBelow(source + L"\\" + name, to, depth + 1);
        } else {
            File(to);
        }
    } while (FindNextFileW(find.Get(), &data));
}

void InstallRecorder::BeforeValue(HKEY root, const std::wstring& rootName, const std::wstring& keyPath,
                                  const std::wstring& valueName)
{
    // Each level of the key path that is missing now will be made by the write.
    for (std::size_t end = keyPath.find(L'\\');; end = keyPath.find(L'\\', end + 1)) {
        std::wstring level = keyPath.substr(0, end);
        UniqueHKey key;
        if (!level.empty() && RegOpenKeyExW(root, level.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
            Record record;
            record.kind = Kind::Key;
            record.root = rootName;
            record.path = level;
            Write(record);
        }
        if (end == std::wstring::npos)
            break;
    }
    Record record;
    record.kind = Kind::Value;
    record.root = rootName;
    record.path = keyPath;
    record.valueName = valueName;
    UniqueHKey key;
    DWORD type = 0;
    DWORD size = 0;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS &&
        RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<unsigned char> data(size);
        if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, size ? data.data() : nullptr, &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            record.previousType = type;
            record.previousData = std::move(data);
        }
    }
    Write(record);
}

void InstallRecorder::Write(const Record& record)
{
    WriteLine(UninstallLog::RecordLine(record));
}

void InstallRecorder::WriteLine(const std::wstring& line)
{
    if (!m_file)
        return;
    std::string bytes = Utf8(line + L"\r\n");
    DWORD written = 0;
    // Straight to the file, one record at a time: the log must hold up to the last change.
    if (!WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        Log::LastError(kChannel, m_path.c_str());
}
