#include "CatalogueFiles.h"

#include "../../common/Log.h"
#include "ExtensionMatch.h"

#include <shellapi.h>

bool WindowsAnsiCodePage::Encode(std::wstring_view text, std::string& out) const
{
    if (text.empty())
        return true;
    const int count = static_cast<int>(text.size());
    // A system whose ANSI code page is UTF-8 holds every text; it takes no "default used" query.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int size = WideCharToMultiByte(CP_ACP, flags, text.data(), count, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    const size_t start = out.size();
    out.resize(start + size);
    BOOL defaultUsed = FALSE;
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), count, &out[start], size, nullptr,
                            utf8 ? nullptr : &defaultUsed) != size ||
        defaultUsed) {
        out.resize(start);
        return false;
    }
    return true;
}

std::wstring WindowsAnsiCodePage::Decode(std::string_view bytes) const
{
    std::wstring text;
    if (bytes.empty())
        return text;
    const int count = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, nullptr, 0);
    if (size <= 0)
        return text;
    text.resize(size);
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, &text[0], size);
    return text;
}

std::wstring LongPathForm(const std::wstring& path)
{
    if (path.size() < MAX_PATH - 12 || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

bool ReadVolumeIdentity(const std::wstring& root, VolumeIdentity& volume)
{
    if (root.empty())
        return false;
    wchar_t label[MAX_PATH + 1] = L"";
    DWORD serial = 0;
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const BOOL present = GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr, 0);
    const UINT type = present ? GetDriveTypeW(root.c_str()) : 0;
    SetErrorMode(mode);
    if (!present)
        return false;
    volume.root = root;
    volume.label = label;
    volume.serial = serial;
    volume.driveType = type;
    return true;
}

namespace {

void SetFacts(FileRecord& record, DWORD attributes, const FILETIME& written, DWORD sizeHigh, DWORD sizeLow)
{
    record.attributes = attributes;
    record.writeTimeLow = written.dwLowDateTime;
    record.writeTimeHigh = written.dwHighDateTime;
    record.sizeLow = sizeLow;
    record.sizeHigh = sizeHigh;
}

} // namespace

void SetFileFacts(FileRecord& record, const WIN32_FIND_DATAW& data)
{
    SetFacts(record, data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
}

bool ReadFileFacts(FileRecord& record, const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    SetFacts(record, data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
    return true;
}

std::wstring FormatRecordDate(const FileRecord& record)
{
    if (!record.HasWriteTime())
        return {};
    FILETIME utc{record.writeTimeLow, record.writeTimeHigh};
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    wchar_t date[80] = L"";
    wchar_t clock[80] = L"";
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 80))
        return {};
    return std::wstring(date) + L" " + clock;
}

uint16_t TypeNameCache::TypeNameOf(Catalogue& catalogue, const wchar_t* name, uint32_t attributes)
{
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Folders share one type name; files are keyed by their extension ("" for none).
    std::wstring key = folder ? L"\\" : ExtensionOf(name);
    auto found = m_byExtension.find(key);
    if (found != m_byExtension.end())
        return found->second;
    SHFILEINFOW info{};
    std::wstring sample = folder ? L"folder" : L"file" + key;
    SHGetFileInfoW(sample.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
    uint16_t index = catalogue.InternTypeName(info.szTypeName);
    m_byExtension.emplace(std::move(key), index);
    return index;
}

bool IsAbsolutePath(const std::wstring& path)
{
    return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.compare(0, 2, L"\\\\") == 0;
}

bool CatalogueLoader::Add(int categoryId, const std::wstring& path)
{
    FileRecord record;
    // Anything but an absolute path is junk, and would be looked up relative to the current folder.
    if (categoryId < 0 || categoryId >= Catalogue::kListCount || !IsAbsolutePath(path) || !ReadFileFacts(record, path))
        return false;
    PathParts parts = SplitPath(path);
    if (!m_lastFolderKnown || parts.folder != m_catalogue.Folder(m_lastFolder)) {
        m_lastFolder = m_catalogue.FindOrAddFolder(parts.folder);
        m_lastFolderKnown = true;
    }
    record.folder = m_lastFolder;
    record.name = m_catalogue.StoreText(parts.name);
    record.typeName = m_typeNames.TypeNameOf(m_catalogue, record.name, record.attributes);
    m_catalogue[categoryId].push_back(record);
    return true;
}

namespace {

// Writes out in pieces: a category of a million paths is not held in memory as one text.
class BufferedFile {
public:
    explicit BufferedFile(HANDLE file) : m_file(file) {}
    bool Flush()
    {
        DWORD written = 0;
        bool ok = m_buffer.empty() ||
                  (WriteFile(m_file, m_buffer.data(), static_cast<DWORD>(m_buffer.size()), &written, nullptr) &&
                   written == m_buffer.size());
        m_buffer.clear();
        return ok;
    }
    bool Restart()
    {
        m_buffer.clear();
        return SetFilePointer(m_file, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(m_file);
    }
    std::string& Buffer() { return m_buffer; }

private:
    HANDLE m_file;
    std::string m_buffer;
};

constexpr size_t kFlushSize = 256 * 1024;

} // namespace

WriteResult WriteCategoryFile(const std::wstring& folder, int categoryId, const Catalogue& catalogue,
                              const Catalogue::List& list, const int& cancel, const std::function<void()>& progress)
{
    using namespace DatabaseText;
    const std::wstring target = folder + L"\\" + std::to_wstring(categoryId) + L".dat";
    const std::wstring temporary = target + L".new";
    UniqueFile file(CreateFileW(LongPathForm(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Log::Write(LogLevel::Warning, L"catalogue", L"cannot create %ls: error %lu", temporary.c_str(), GetLastError());
        return WriteResult::Failed;
    }
    WindowsAnsiCodePage ansi;
    BufferedFile out(file.Get());
    bool ok = true;
    bool cancelled = false;
    for (Encoding encoding : {Encoding::Ansi, Encoding::Utf8}) {
        out.Buffer() = FileStart(encoding);
        bool complete = true;
        for (const FileRecord& record : list) {
            if (cancel) {
                cancelled = true;
                break;
            }
            if (progress)
                progress();
            if (!AppendLine(catalogue.Path(record), encoding, ansi, out.Buffer())) {
                complete = false;
                break;
            }
            if (out.Buffer().size() >= kFlushSize && !out.Flush()) {
                ok = false;
                break;
            }
        }
        if (complete || cancelled || !ok)
            break;
        // A path the code page cannot hold: the whole file again, as UTF-8.
        if (!out.Restart()) {
            ok = false;
            break;
        }
    }
    ok = ok && !cancelled && out.Flush();
    file.Reset();
    if (ok && MoveFileExW(LongPathForm(temporary).c_str(), LongPathForm(target).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WriteResult::Written;
    if (ok)
        Log::Write(LogLevel::Warning, L"catalogue", L"cannot replace %ls: error %lu", target.c_str(), GetLastError());
    DeleteFileW(LongPathForm(temporary).c_str());
    return cancelled ? WriteResult::Cancelled : WriteResult::Failed;
}

bool ReadCategoryFile(const std::wstring& file, const int& cancel,
                      const std::function<void(const std::wstring&)>& onLine)
{
    UniqueFile handle(CreateFileW(LongPathForm(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle)
        return false;
    WindowsAnsiCodePage ansi;
    DatabaseText::LineReader reader(ansi, [&](const std::wstring& line) {
        if (!cancel)
            onLine(line);
    });
    std::string buffer(256 * 1024, '\0');
    DWORD read = 0;
    while (!cancel && ReadFile(handle.Get(), &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr) && read)
        reader.Feed(std::string_view(buffer.data(), read));
    reader.Finish();
    return true;
}
