#include "DataRenumbering.h"

#include "../../common/Log.h"
#include "../../common/UniqueHandle.h"
#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/CategoryTree.h"

namespace DataRenumbering {

namespace {

using namespace CategoryRenumbering;

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Rename(const std::wstring& folder, const std::wstring& from, const std::wstring& to)
{
    // Without MOVEFILE_REPLACE_EXISTING: a file in the way is never overwritten.
    if (MoveFileExW((folder + L"\\" + from).c_str(), (folder + L"\\" + to).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    Log::Write(LogLevel::Error, L"options", L"cannot rename %ls to %ls in %ls, error %lu", from.c_str(), to.c_str(),
               folder.c_str(), GetLastError());
    return false;
}

// A file set aside under the first free name of its kind.
bool PutAside(const std::wstring& folder, const std::wstring& from, const std::wstring& original)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring target = PutAsideName(original, attempt);
        if (!Exists(folder + L"\\" + target))
            return Rename(folder, from, target);
    }
    return false;
}

std::wstring JournalPath(const std::wstring& folder)
{
    return folder + L"\\" + kJournalName;
}

bool WriteJournal(const std::wstring& folder, const Origins& origins)
{
    const std::wstring text = FormatJournal(origins);
    std::string bytes(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                              nullptr, 0, nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    UniqueFile file(CreateFileW(JournalPath(folder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    // On the disk before the first file moves: a crash after that must find it.
    if (!file || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.Get()))
        return Log::LastError(L"options", L"writing the renumbering journal");
    return true;
}

std::optional<Origins> ReadJournal(const std::wstring& folder)
{
    std::string bytes;
    if (ReadWholeFile(JournalPath(folder), bytes) != ReadResult::Read)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                              nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                        static_cast<int>(text.size()));
    return ParseJournal(text);
}

// The catalogue files of the user-category ids in folder, under their own names or under
// their temporary ones.
std::vector<std::wstring> FilesOfUserIds(const std::wstring& folder, bool temporary)
{
    std::vector<std::wstring> files;
    for (int id = CategoryTree::kBuiltInCount; id < CategoryTree::kCategoryCount; ++id)
        for (bool facts : {false, true}) {
            const std::wstring name = temporary ? TemporaryName(DataFileName(id, facts)) : DataFileName(id, facts);
            if (Exists(folder + L"\\" + name))
                files.push_back(name);
        }
    return files;
}

// A category's temporary files to the names of target (an id), or put aside: both, when a file
// already has one of those names, so that a .dat and its facts stay together.
bool Place(const std::wstring& folder, int from, int target)
{
    bool taken = target == kPutAside;
    for (bool facts : {false, true})
        taken = taken || Exists(folder + L"\\" + DataFileName(target, facts));
    bool done = true;
    for (bool facts : {false, true}) {
        const std::wstring original = DataFileName(from, facts);
        const std::wstring temporary = TemporaryName(original);
        if (!Exists(folder + L"\\" + temporary))
            continue;
        done = (taken ? PutAside(folder, temporary, original)
                      : Rename(folder, temporary, DataFileName(target, facts))) &&
               done;
    }
    return done;
}

// Every temporary file back to its own name.
void Undo(const std::wstring& folder)
{
    for (int id = CategoryTree::kBuiltInCount; id < CategoryTree::kCategoryCount; ++id)
        Place(folder, id, id);
    DeleteFileW(JournalPath(folder).c_str());
}

} // namespace

bool Begin(const std::wstring& folder, const Origins& origins)
{
    const std::vector<std::wstring> files = FilesOfUserIds(folder, false);
    if (files.empty())
        return true;
    if (!WriteJournal(folder, origins)) {
        DeleteFileW(JournalPath(folder).c_str());
        return false;
    }
    for (const std::wstring& name : files)
        if (!Rename(folder, name, TemporaryName(name))) {
            Undo(folder);
            return false;
        }
    return true;
}

bool Finish(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    const std::vector<std::wstring> temporaries = FilesOfUserIds(folder, true);
    const std::optional<Origins> origins = ReadJournal(folder);
    if (!origins) {
        // Temporary files without a whole journal: the first phase never finished.
        Undo(folder);
        return temporaries.empty();
    }
    std::vector<int> ids;
    for (int id = CategoryTree::kBuiltInCount; id < CategoryTree::kCategoryCount; ++id)
        ids.push_back(id);
    bool done = true;
    // A file under the new name already (written at a close after a cut-short renumbering) is
    // newer than the one that was to come, which is put aside.
    for (const Move& move : Plan(ids, names, *origins))
        done = Place(folder, move.from, move.to) && done;
    if (done)
        DeleteFileW(JournalPath(folder).c_str());
    return done;
}

void Recover(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    const bool journal = Exists(JournalPath(folder));
    if (!journal && FilesOfUserIds(folder, true).empty())
        return;
    const std::optional<Origins> origins = journal ? ReadJournal(folder) : std::nullopt;
    if (origins && SettingsWritten(*origins, names)) {
        Log::Write(LogLevel::Info, L"options", L"finishing the renumbering of the user categories in %ls",
                   folder.c_str());
        Finish(folder, names);
    } else {
        Log::Write(LogLevel::Info, L"options", L"undoing the renumbering of the user categories in %ls",
                   folder.c_str());
        Undo(folder);
    }
}

} // namespace DataRenumbering
