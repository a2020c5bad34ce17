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
}

size_t Catalogue::RecordCount() const
{
    size_t count = 0;
    for (const List& list : m_lists)
        count += list.size();
    return count;
}

uint32_t Catalogue::AddFolder(std::wstring_view folder)
{
    std::wstring_view stored(m_texts.Store(folder), folder.size());
    const auto index = static_cast<uint32_t>(m_folders.size());
    m_folders.push_back(stored);
    m_folderIndex.emplace(stored, index);
    return index;
}

uint32_t Catalogue::FindOrAddFolder(std::wstring_view folder)
{
    auto found = m_folderIndex.find(folder);
    return found != m_folderIndex.end() ? found->second : AddFolder(folder);
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

void Catalogue::Clear()
{
    for (List& list : m_lists)
        List().swap(list);
    m_folders.clear();
    m_folderIndex.clear();
    m_texts = TextStore();
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
