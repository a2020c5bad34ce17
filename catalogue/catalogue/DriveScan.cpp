#include "DriveScan.h"

#include "CategoryTree.h"

#include <vector>

namespace {

// How FindFirstFileEx is asked: without the short names and in large batches where the system
// knows these (Windows 7 on), plainly before.
struct FindStyle {
    FINDEX_INFO_LEVELS level = static_cast<FINDEX_INFO_LEVELS>(1); // FindExInfoBasic
    DWORD flags = 2;                                               // FIND_FIRST_EX_LARGE_FETCH
};
FindStyle g_findStyle;

} // namespace

HANDLE FindFirstInFolder(const std::wstring& folder, WIN32_FIND_DATAW& data)
{
    const std::wstring pattern = LongPathForm(folder + L"*");
    HANDLE find =
        FindFirstFileExW(pattern.c_str(), g_findStyle.level, &data, FindExSearchNameMatch, nullptr, g_findStyle.flags);
    if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER && g_findStyle.flags) {
        g_findStyle = {FindExInfoStandard, 0};
        find = FindFirstFileExW(pattern.c_str(), g_findStyle.level, &data, FindExSearchNameMatch, nullptr, 0);
    }
    return find;
}

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Junctions and symbolic links to folders are not entered: they lead to folders that are
// catalogued where they really are, or round in a circle. Their reparse tags are "name
// surrogates"; a reparse point without a tag is a link as well (Wine's view of a Unix symbolic
// link). Other reparse points, such as the placeholders of cloud storage, are entered.
bool IsLinkedFolder(const WIN32_FIND_DATAW& data)
{
    constexpr DWORD kNameSurrogate = 0x20000000;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (data.dwReserved0 == 0 || (data.dwReserved0 & kNameSurrogate));
}

namespace {

struct Level {
    UniqueFindHandle find;
    std::wstring folder; // with its final backslash
    WIN32_FIND_DATAW next;
    bool haveNext;
    uint32_t folderIndex;
    bool folderAdded;
};

} // namespace

DriveScan::DriveScan(Catalogue& catalogue, const ExtensionMap& map, const int& cancelRequested)
    : m_catalogue(catalogue), m_matcher(map), m_cancel(cancelRequested)
{
}

void DriveScan::ShowFolder(const std::wstring& folder)
{
    Walk(folder, Mode::Categorise, 0);
}

void DriveScan::ShowSpecialFolder(const std::wstring& folder, int categoryId)
{
    Walk(folder, Mode::Special, categoryId);
}

bool DriveScan::Hidden(const WIN32_FIND_DATAW& data, Mode mode) const
{
    const bool hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    return hidden && (mode == Mode::Special || !m_includeHidden);
}

void DriveScan::CountBytes(double bytes, Mode mode)
{
    m_seen += bytes;
    if (mode != Mode::Categorise || !m_progress)
        return;
    double percent = m_seen * 100 / m_total;
    int whole = percent >= 100 ? 100 : static_cast<int>(percent);
    if (whole != m_percent) {
        m_percent = whole;
        m_progress(whole);
    }
}

void DriveScan::Walk(const std::wstring& root, Mode mode, int categoryId)
{
    VolumeIdentity volume;
    m_volume = ReadVolumeIdentity(VolumeRootOf(root), volume) ? m_catalogue.AddVolume(volume) : 0;
    // An explicit stack instead of recursion: folders may nest deeper than the stack would take.
    std::vector<Level> stack;
    auto enter = [&](std::wstring folder) {
        if (folder.empty())
            return;
        if (folder.back() != L'\\')
            folder += L'\\';
        Level level{};
        level.find.Reset(FindFirstInFolder(folder, level.next));
        if (!level.find)
            return; // a folder that cannot be read is left out; the walk goes on
        level.haveNext = true;
        level.folder = std::move(folder);
        stack.push_back(std::move(level));
    };
    enter(root);
    WIN32_FIND_DATAW data;
    while (!stack.empty() && !m_cancel) {
        Level& level = stack.back();
        if (!level.haveNext) {
            stack.pop_back();
            continue;
        }
        data = level.next;
        level.haveNext = FindNextFileW(level.find.Get(), &level.next) != 0;
        if (IsDotEntry(data.cFileName) || Hidden(data, mode))
            continue;

        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        CountBytes(static_cast<double>(size), mode);

        if (mode == Mode::Categorise) {
            m_matcher.Match(data.cFileName, m_matches);
            if (size == 0 && !directory)
                m_matches.push_back(CategoryTree::kZeroByteId);
        } else {
            m_matches.assign(directory ? 0 : 1, categoryId);
        }
        if (!m_matches.empty()) {
            if (!level.folderAdded) {
                level.folderIndex = m_catalogue.AddFolder(level.folder, m_volume);
                level.folderAdded = true;
            }
            FileRecord record;
            record.folder = level.folderIndex;
            record.name = m_catalogue.StoreText(data.cFileName); // one copy for all its records
            SetFileFacts(record, data);
            if (mode == Mode::Special)
                record.typeName = m_typeNames.TypeNameOf(m_catalogue, record.name, record.attributes);
            // One entry for the file, shared by its categories.
            const uint32_t entry = m_catalogue.AddEntry(record, record.name);
            for (int id : m_matches)
                m_catalogue[id].Append(entry);
        }
        if (m_idle)
            m_idle();
        if (directory && !m_cancel && !IsLinkedFolder(data))
            enter(level.folder + data.cFileName); // may move the stack: level is not used after this
    }
}

double DriveScan::UsedSpace(int driveNumber)
{
    if (driveNumber < 1 || driveNumber > 26)
        return 0;
    wchar_t root[] = {static_cast<wchar_t>(L'A' + driveNumber - 1), L':', L'\\', L'\0'};
    ULARGE_INTEGER available, total, free;
    // No "insert a disk" box for an empty floppy or CD drive.
    UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = GetDiskFreeSpaceExW(root, &available, &total, &free);
    SetErrorMode(mode);
    if (!ok || total.QuadPart < free.QuadPart)
        return 0;
    return static_cast<double>(total.QuadPart - free.QuadPart);
}

int GetNumber(const std::wstring& text)
{
    if (text.size() != 2 || text[1] != L':')
        return 0;
    wchar_t letter = text[0];
    if (letter >= L'a' && letter <= L'z')
        letter = static_cast<wchar_t>(letter - L'a' + L'A');
    return letter >= L'A' && letter <= L'Z' ? letter - L'A' + 1 : 0;
}
