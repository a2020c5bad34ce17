#include "Catalogue.h"

#include <cstring>

const wchar_t* TextStore::Store(std::wstring_view text)
{
    const size_t needed = text.size() + 1;
    wchar_t* target;
    if (needed > kBlockChars / 4) {
        m_large.push_back(std::make_unique<wchar_t[]>(needed));
        target = m_large.back().get();
    } else {
        if (m_used + needed > kBlockChars) {
            m_blocks.push_back(std::make_unique<wchar_t[]>(kBlockChars));
            m_used = 0;
        }
        target = m_blocks.back().get() + m_used;
        m_used += needed;
    }
    if (!text.empty())
        std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    return target;
}

Catalogue::Catalogue()
{
    m_typeNames.emplace_back();
    m_typeNameIndex.emplace(std::wstring(), 0);
    m_volumes.emplace_back();
}

size_t Catalogue::RecordCount() const
{
    size_t count = 0;
    for (const List& list : m_lists)
        count += list.size();
    return count;
}

uint32_t Catalogue::AddFolder(std::wstring_view folder, uint16_t volume)
{
    std::wstring_view stored(m_texts.Store(folder), folder.size());
    const auto index = static_cast<uint32_t>(m_folders.size());
    m_folders.push_back(stored);
    m_folderVolumes.push_back(volume);
    m_folderIndex.emplace(FolderKey{stored, volume}, index);
    return index;
}

uint32_t Catalogue::FindOrAddFolder(std::wstring_view folder, uint16_t volume)
{
    auto found = m_folderIndex.find(FolderKey{folder, volume});
    return found != m_folderIndex.end() ? found->second : AddFolder(folder, volume);
}

uint16_t Catalogue::AddVolume(const VolumeIdentity& volume)
{
    for (size_t k = 0; k < m_volumes.size(); ++k)
        if (m_volumes[k] == volume)
            return static_cast<uint16_t>(k);
    if (m_volumes.size() > 0xFFFF)
        return 0; // more volumes than anyone catalogues: the folder keeps none
    m_volumes.push_back(volume);
    return static_cast<uint16_t>(m_volumes.size() - 1);
}

bool VolumeIdentity::Removable() const
{
    constexpr uint32_t kRemovable = 2, kRemote = 4, kCdRom = 5;
    return driveType == kRemovable || driveType == kRemote || driveType == kCdRom || root.compare(0, 2, L"\\\\") == 0;
}

std::wstring VolumeRootOf(std::wstring_view path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        wchar_t letter = path[0];
        if (letter >= L'a' && letter <= L'z')
            letter = static_cast<wchar_t>(letter - L'a' + L'A');
        if (letter < L'A' || letter > L'Z')
            return {};
        return std::wstring{letter, L':', L'\\'};
    }
    if (path.compare(0, 2, L"\\\\") != 0)
        return {};
    // \\server\share\: the server and the share must both have a name.
    const size_t server = path.find(L'\\', 2);
    if (server == std::wstring_view::npos || server == 2)
        return {};
    size_t share = path.find(L'\\', server + 1);
    if (share == server + 1)
        return {};
    if (share == std::wstring_view::npos)
        share = path.size();
    return std::wstring(path.substr(0, share)) + L'\\';
}

std::wstring Catalogue::Path(const FileRecord& record) const
{
    std::wstring_view folder = m_folders[record.folder];
    std::wstring path;
    size_t nameLength = std::wcslen(record.name);
    path.reserve(folder.size() + nameLength);
    path.append(folder);
    path.append(record.name, nameLength);
    return path;
}

uint16_t Catalogue::InternTypeName(const std::wstring& text)
{
    auto found = m_typeNameIndex.find(text);
    if (found != m_typeNameIndex.end())
        return found->second;
    if (m_typeNames.size() > 0xFFFF)
        return 0; // more distinct type names than any system has: shown empty
    const auto index = static_cast<uint16_t>(m_typeNames.size());
    m_typeNames.push_back(text);
    m_typeNameIndex.emplace(text, index);
    return index;
}

PathParts SplitPath(std::wstring_view path)
{
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return {std::wstring_view(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::wstring AttributeLetters(uint32_t attributes)
{
    std::wstring letters;
    if (attributes & 0x1) // read-only
        letters += L'R';
    if (attributes & 0x2) // hidden
        letters += L'H';
    if (attributes & 0x4) // system
        letters += L'S';
    if (attributes & 0x20) // archive
        letters += L'A';
    return letters;
}
