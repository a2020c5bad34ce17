#include "ConverterList.h"

#include "../catalogue/ExtensionMatch.h"

#include <algorithm>

namespace {
const size_t kMaxToken = 255;
}

std::wstring PatternList(std::wstring_view extensions)
{
    std::wstring patterns;
    size_t at = 0;
    while (at < extensions.size()) {
        if (extensions[at] == L' ') {
            ++at;
            continue;
        }
        const size_t end = std::min(extensions.find(L' ', at), extensions.size());
        if (!patterns.empty())
            patterns += L';';
        patterns += L"*.";
        patterns += extensions.substr(at, std::min(end - at, kMaxToken));
        at = end;
    }
    return patterns;
}

void ConverterList::Add(const std::wstring& key, const std::wstring& name, const std::wstring& extensions,
                        const std::wstring& path, const std::wstring& application)
{
    const std::wstring patterns = PatternList(extensions);
    // The same converter under the machine-wide key and a program's key: listed once, as found
    // first (the machine-wide key is read first, so without the program's name).
    for (const TextConverter& known : m_items)
        if (known.key == key && known.path == path && known.description == name && known.patterns == patterns)
            return;
    if (name.empty() || patterns.empty() || path.empty())
        return;
    // "|" separates the parts of the filter text: one inside a part would make every converter
    // after it be found by the patterns of another.
    if ((name + application + patterns).find(L'|') != std::wstring::npos)
        return;
    TextConverter converter{application.empty() ? name : name + L" - " + application, patterns, path, key};
    // After those of an equal description: the order they were found in stays.
    const std::wstring sortKey = UpperCase(converter.description);
    const auto at =
        std::upper_bound(m_items.begin(), m_items.end(), sortKey,
                         [](const std::wstring& k, const TextConverter& c) { return k < UpperCase(c.description); });
    m_items.insert(at, std::move(converter));
}

std::wstring ConverterList::FilterText() const
{
    std::wstring text;
    for (const TextConverter& converter : m_items) {
        if (!text.empty())
            text += L'|';
        text += converter.description + L" (" + converter.patterns + L")|" + converter.patterns;
    }
    return text;
}

std::vector<int> ConvertersFor(std::wstring_view filter, std::wstring_view ext)
{
    std::vector<int> indexes;
    if (ext.empty())
        return indexes;
    const std::wstring upperExt = UpperCase(ext);
    const std::wstring text = UpperCase(filter);
    // Description and pattern parts alternate; the last pattern part ends with the text.
    size_t at = 0;
    for (int index = 0; at < text.size(); ++index) {
        const size_t descriptionEnd = text.find(L'|', at);
        if (descriptionEnd == std::wstring::npos)
            break;
        const size_t patternsEnd = std::min(text.find(L'|', descriptionEnd + 1), text.size());
        if (std::wstring_view(text).substr(descriptionEnd + 1, patternsEnd - descriptionEnd - 1).find(upperExt) !=
            std::wstring_view::npos)
            indexes.push_back(index);
        at = patternsEnd + 1;
    }
    return indexes;
}
