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
    // The root must also be there: a system may answer for a drive from what it knew before.
    const BOOL present = GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr, 0) &&
                         GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    // Most paths are short: asked as they are, without a copy.
    const bool asIs = path.size() < MAX_PATH - 12;
    if (!GetFileAttributesExW(asIs ? path.c_str() : LongPathForm(path).c_str(), GetFileExInfoStandard, &data))
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

namespace {

// The key of a name's extension as TypeNameCache packs it; false for one that does not fit.
bool PackedExtension(std::wstring_view name, uint64_t& packed)
{
    size_t dot = name.size();
    while (dot > 0 && name[dot - 1] != L'.' && name[dot - 1] != L'\\' && name[dot - 1] != L'/')
        --dot;
    packed = 0;
    if (dot == 0 || name[dot - 1] != L'.')
        return true;
    if (name.size() - (dot - 1) > 8)
        return false;
    for (size_t i = dot - 1; i < name.size(); ++i) {
        wchar_t c = name[i];
        if (c >= 0x80)
            return false;
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        packed = (packed << 8) | static_cast<uint64_t>(c);
    }
    return true;
}

uint16_t AskTypeName(Catalogue& catalogue, const std::wstring& extension, bool folder)
{
    SHFILEINFOW info{};
    std::wstring sample = folder ? L"folder" : L"file" + extension;
    SHGetFileInfoW(sample.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
    return catalogue.InternTypeName(info.szTypeName);
}

} // namespace

uint16_t TypeNameCache::TypeNameOf(Catalogue& catalogue, std::wstring_view name, uint32_t attributes)
{
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    uint64_t packed = L'\\';
    if (folder || PackedExtension(name, packed)) {
        if (packed == m_lastPacked)
            return m_lastIndex;
        auto found = m_byPacked.find(packed);
        if (found == m_byPacked.end())
            found = m_byPacked.emplace(packed, AskTypeName(catalogue, folder ? std::wstring() : ExtensionOf(name), folder))
                        .first;
        m_lastPacked = packed;
        m_lastIndex = found->second;
        return found->second;
    }
    // Files are keyed by their extension.
    std::wstring key = ExtensionOf(name);
    auto found = m_byExtension.find(key);
    if (found != m_byExtension.end())
        return found->second;
    const uint16_t index = AskTypeName(catalogue, key, false);
    m_byExtension.emplace(std::move(key), index);
    return index;
}

bool IsAbsolutePath(const std::wstring& path)
{
    return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.compare(0, 2, L"\\\\") == 0;
}

const CatalogueLoader::RootState& CatalogueLoader::StateOf(const std::wstring& root)
{
    auto found = m_roots.find(root);
    if (found != m_roots.end())
        return found->second;
    RootState state;
    VolumeIdentity volume;
    if (ReadVolumeIdentity(root, volume)) {
        state.present = true;
        state.serial = volume.serial;
        state.driveType = volume.driveType;
        state.volume = m_catalogue.AddVolume(volume);
    } else {
        const UINT type = GetDriveTypeW(root.c_str());
        state.driveType = type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR ? 0 : type;
    }
    return m_roots.emplace(root, state).first->second;
}

void CatalogueLoader::SetStoredFacts(FileRecord& record, const FactsFile::Line& facts)
{
    record.SetSize(facts.size);
    record.writeTimeLow = static_cast<uint32_t>(facts.writeTime);
    record.writeTimeHigh = static_cast<uint32_t>(facts.writeTime >> 32);
    record.attributes = facts.attributes;
}

uint32_t CatalogueLoader::FolderOf(std::wstring_view folder, uint16_t volume)
{
    if (!m_lastFolderKnown || folder != m_catalogue.Folder(m_lastFolder) ||
        m_catalogue.FolderVolume(m_lastFolder) != volume) {
        m_lastFolder = m_catalogue.FindOrAddFolder(folder, volume);
        m_lastFolderKnown = true;
    }
    return m_lastFolder;
}

void CatalogueLoader::Push(int categoryId, FileRecord& record, std::wstring_view name, uint32_t known)
{
    // The file's entry is shared by the categories that hold it: its name is stored once.
    const uint16_t typeName = known != Catalogue::kNoEntry ? m_catalogue.Entry(known).typeName : 0;
    record.typeName = typeName != 0 ? typeName : m_typeNames.TypeNameOf(m_catalogue, name, record.attributes);
    m_lastEntry = m_catalogue.AddEntry(record, name, known);
    m_catalogue[categoryId].Append(m_lastEntry);
}

CatalogueLoader::Outcome CatalogueLoader::Add(int categoryId, const std::wstring& path, const FactsFile::Line* facts,
                                              const VolumeIdentity* storedVolume, Mode mode)
{
    if (categoryId < 0 || categoryId >= Catalogue::kListCount)
        return Outcome::Left;
    const bool sameRoot =
        m_lastState && (m_lastRoot.size() == 3 ? path.size() >= 3 && towupper(path[0]) == m_lastRoot[0] &&
                                                     path[1] == L':' && path[2] == L'\\'
                                               : path.compare(0, m_lastRoot.size(), m_lastRoot) == 0);
    if (!sameRoot) {
        // Anything but an absolute path is junk, and would be looked up relative to the current folder.
        std::wstring root = VolumeRootOf(path);
        if (root.empty())
            return Outcome::Left;
        m_lastState = &StateOf(root);
        m_lastRoot = std::move(root);
    }
    const std::wstring& root = m_lastRoot;
    const RootState& state = *m_lastState;
    // A stored volume of another root is no statement about this one.
    if (storedVolume && storedVolume->root != root)
        storedVolume = nullptr;
    const bool otherVolume = storedVolume && storedVolume->serial != 0 && storedVolume->serial != state.serial;
    FileRecord record;
    const PathParts parts = SplitPath(path);
    if (state.present && !otherVolume) {
        // The volume is there: what is not on it is gone; a new scan replaces what is.
        if (mode == Mode::KeepOffline)
            return Outcome::Left;
        record.folder = FolderOf(parts.folder, state.volume);
        // A file already read for another category is not asked about again. Categories list
        // their files in the order of the scan: the file after the one of the line before is
        // likely the one.
        const uint32_t known = m_catalogue.FindEntry(record.folder, parts.name, m_lastEntry + 1);
        if (known != Catalogue::kNoEntry && !m_catalogue.Entry(known).Offline()) {
            m_catalogue[categoryId].Append(known);
            m_lastEntry = known;
            return Outcome::Online;
        }
        if (mode == Mode::LoadStored && facts)
            SetStoredFacts(record, *facts);
        else if (!ReadFileFacts(record, path))
            return Outcome::Left;
        Push(categoryId, record, parts.name, known);
        return Outcome::Online;
    }
    const VolumeIdentity volume = storedVolume ? *storedVolume : VolumeIdentity{root, L"", 0, state.driveType};
    if (mode == Mode::KeepOffline && !volume.Removable() && volume.driveType != 0)
        return Outcome::Left;
    if (facts)
        SetStoredFacts(record, *facts);
    record.marks = FileRecord::kOffline;
    record.folder = FolderOf(parts.folder, m_catalogue.AddVolume(volume));
    Push(categoryId, record, parts.name, m_catalogue.FindEntry(record.folder, parts.name));
    return Outcome::Offline;
}

namespace {

// A file written through a temporary file beside it, which replaces the file when it is whole.
class ReplacingFile : public DatabaseText::ByteSink {
public:
    explicit ReplacingFile(std::wstring target) : m_target(std::move(target)), m_temporary(m_target + L".new")
    {
        m_file.Reset(CreateFileW(LongPathForm(m_temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_file)
            Log::Write(LogLevel::Warning, L"catalogue", L"cannot create %ls: error %lu", m_temporary.c_str(),
                       GetLastError());
    }
    ~ReplacingFile() override { Discard(); }
    explicit operator bool() const { return static_cast<bool>(m_file); }

    bool Write(std::string_view bytes) override
    {
        DWORD written = 0;
        return m_file && WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    bool Restart() override
    {
        return m_file && SetFilePointer(m_file.Get(), 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(m_file.Get());
    }
    // Closes the temporary file, to be put in place by Replace; false when there is none.
    bool Close()
    {
        if (!m_file)
            return false;
        m_file.Reset();
        m_closed = true;
        return true;
    }
    bool Replace()
    {
        if (!m_closed)
            return false;
        if (!MoveFileExW(LongPathForm(m_temporary).c_str(), LongPathForm(m_target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            Log::Write(LogLevel::Warning, L"catalogue", L"cannot replace %ls: error %lu", m_target.c_str(),
                       GetLastError());
            return false;
        }
        m_closed = false;
        return true;
    }
    void Discard()
    {
        if (m_file || m_closed) {
            m_file.Reset();
            m_closed = false;
            DeleteFileW(LongPathForm(m_temporary).c_str());
        }
    }

private:
    std::wstring m_target;
    std::wstring m_temporary;
    UniqueFile m_file;
    bool m_closed = false;
};

// The facts of every record of a list, each volume once.
FactsFile::Builder CollectFacts(const Catalogue& catalogue, const Catalogue::List& list)
{
    FactsFile::Builder facts;
    // The file's index of each catalogue volume, found once; 0xFFFFFFFF for not yet.
    std::vector<uint32_t> fileVolume(catalogue.VolumeCount(), 0xFFFFFFFF);
    // Folders catalogued without a volume (none known when they were added): asked now, by root.
    std::unordered_map<std::wstring, uint16_t> byRoot;
    for (const FileRecord& record : list) {
        const uint16_t volume = catalogue.FolderVolume(record.folder);
        uint16_t index;
        if (volume != 0) {
            if (fileVolume[volume] == 0xFFFFFFFF)
                fileVolume[volume] = facts.Volume(catalogue.Volume(volume));
            index = static_cast<uint16_t>(fileVolume[volume]);
        } else {
            const std::wstring root = VolumeRootOf(catalogue.Folder(record));
            auto found = byRoot.find(root);
            if (found == byRoot.end()) {
                VolumeIdentity present;
                found = byRoot.emplace(root, ReadVolumeIdentity(root, present) ? facts.Volume(present) : 0).first;
            }
            index = found->second;
        }
        facts.Add({record.Size(), (static_cast<uint64_t>(record.writeTimeHigh) << 32) | record.writeTimeLow,
                   record.attributes, index});
    }
    return facts;
}

} // namespace

std::wstring FactsFileName(const std::wstring& datFile)
{
    const size_t dot = datFile.rfind(L'.');
    return (dot == std::wstring::npos ? datFile : datFile.substr(0, dot)) + L".facts";
}

WriteResult WriteCategoryFile(const std::wstring& folder, int categoryId, const Catalogue& catalogue,
                              const Catalogue::List& list, const int& cancel, const std::function<void()>& progress)
{
    const std::wstring target = folder + L"\\" + std::to_wstring(categoryId) + L".dat";
    ReplacingFile dat(target);
    if (!dat)
        return WriteResult::Failed;
    WindowsAnsiCodePage ansi;
    const DatabaseText::WrittenText text = DatabaseText::WriteLines(
        list.size(), [&](size_t k) { return catalogue.Path(list[k]); }, ansi, dat,
        [&] {
            if (progress)
                progress();
            return !cancel;
        });
    if (text.outcome != DatabaseText::WriteOutcome::Written)
        return text.outcome == DatabaseText::WriteOutcome::Cancelled ? WriteResult::Cancelled : WriteResult::Failed;
    ReplacingFile facts(FactsFileName(target));
    const bool factsWritten = facts && CollectFacts(catalogue, list).Write(facts, text.size, text.check) && facts.Close();
    if (!dat.Close() || !dat.Replace())
        return WriteResult::Failed;
    // A facts file that could not be replaced stays of the old .dat, and is not trusted with the
    // new one: the catalogue is written, only its facts are not.
    if (!factsWritten || !facts.Replace())
        Log::Write(LogLevel::Warning, L"catalogue", L"the facts of %ls were not written", target.c_str());
    return WriteResult::Written;
}

namespace {

// Reads a file in large pieces, handing each to onBytes.
ReadResult ReadPieces(const std::wstring& file, const int& cancel, const std::function<void(std::string_view)>& onBytes)
{
    UniqueFile handle(CreateFileW(LongPathForm(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ReadResult::Missing;
        Log::Write(LogLevel::Warning, L"catalogue", L"cannot open %ls: error %lu", file.c_str(), error);
        return ReadResult::Failed;
    }
    std::string buffer(256 * 1024, '\0');
    for (;;) {
        if (cancel)
            return ReadResult::Cancelled;
        DWORD read = 0;
        if (!ReadFile(handle.Get(), &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            Log::Write(LogLevel::Warning, L"catalogue", L"cannot read %ls: error %lu", file.c_str(), GetLastError());
            return ReadResult::Failed;
        }
        if (read == 0)
            return ReadResult::Read;
        onBytes(std::string_view(buffer.data(), read));
    }
}

} // namespace

ReadResult ReadWholeFile(const std::wstring& file, std::string& bytes)
{
    static const int kNoCancel = 0;
    bytes.clear();
    return ReadPieces(file, kNoCancel, [&](std::string_view piece) { bytes.append(piece); });
}

ReadResult CheckFile(const std::wstring& file, const int& cancel, uint64_t& size, uint32_t& check)
{
    size = 0;
    check = 0;
    return ReadPieces(file, cancel, [&](std::string_view piece) {
        size += piece.size();
        check = DatabaseText::Crc32(check, piece.data(), piece.size());
    });
}

ReadResult ReadCategoryFile(const std::wstring& file, const int& cancel,
                            const std::function<void(const std::wstring&)>& onLine)
{
    WindowsAnsiCodePage ansi;
    DatabaseText::LineReader reader(ansi, [&](const std::wstring& line) {
        if (!cancel)
            onLine(line);
    });
    const ReadResult result = ReadPieces(file, cancel, [&](std::string_view piece) { reader.Feed(piece); });
    if (result == ReadResult::Read)
        reader.Finish();
    return cancel && result == ReadResult::Read ? ReadResult::Cancelled : result;
}
