#include "ExtensionMatch.h"

std::wstring UpperCase(std::wstring_view text)
{
    std::wstring upper(text);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // à..þ without the division sign
            c = static_cast<wchar_t>(c - 0x20);
        else if (c == 0xFF)
            c = 0x178; // ÿ
    }
    return upper;
}

void AppendExtensionList(ExtensionMap& map, std::wstring_view list, int categoryId)
{
    const std::wstring upper = UpperCase(list);
    size_t start = 0;
    for (;;) {
        size_t plus = upper.find(L'+', start);
        map.push_back(
            {upper.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start), categoryId});
        if (plus == std::wstring::npos)
            break;
        start = plus + 1;
    }
}

std::wstring ExtensionOf(std::wstring_view name)
{
    size_t component = name.find_last_of(L"\\/");
    size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || (component != std::wstring_view::npos && dot < component))
        return {};
    return UpperCase(name.substr(dot));
}

bool DateiFilter(std::wstring_view extension, std::wstring_view pattern)
{
    std::wstring e = UpperCase(extension.empty() ? extension : extension.substr(1));
    std::wstring p = UpperCase(pattern.empty() ? pattern : pattern.substr(1));
    for (size_t i = 0; i < 3; ++i) {
        bool havePattern = i < p.size();
        bool haveExtension = i < e.size();
        if (havePattern && p[i] == L'*')
            continue;
        if (havePattern != haveExtension)
            return false;
        if (havePattern && p[i] != e[i])
            return false;
    }
    return true;
}

UserDefinition SplitUserDefinition(std::wstring_view definition)
{
    size_t bar = definition.find(L'|');
    if (bar == std::wstring_view::npos)
        return {std::wstring(definition), L"Default"};
    return {std::wstring(definition.substr(0, bar)), std::wstring(definition.substr(bar + 1))};
}

bool CheckExtKanditat(const ExtensionMap& map, std::wstring_view name, MatchList& matches, const int* cancelRequested)
{
    matches.clear();
    const std::wstring extension = ExtensionOf(name);
    if (extension.empty())
        return false;
    for (const ExtensionEntry& entry : map) {
        if (cancelRequested && *cancelRequested)
            break;
        if (entry.extension == extension ||
            (entry.extension.find(L'*') != std::wstring::npos && DateiFilter(extension, entry.extension)))
            matches.push_back(entry.categoryId);
    }
    return !matches.empty();
}

ExtensionMatcher::ExtensionMatcher(const ExtensionMap& map)
{
    for (size_t i = 0; i < map.size(); ++i) {
        const ExtensionEntry& entry = map[i];
        if (entry.extension.empty())
            continue; // never matches: a file's extension has at least its dot
        if (entry.extension.find(L'*') != std::wstring::npos) {
            m_patterns.push_back(entry);
            m_patternPositions.push_back(i);
        } else {
            m_exact[entry.extension].push_back({i, entry.categoryId});
        }
    }
}

void ExtensionMatcher::Match(std::wstring_view name, MatchList& matches)
{
    MatchExtension(ExtensionOf(name), matches);
}

void ExtensionMatcher::MatchExtension(const std::wstring& extension, MatchList& matches)
{
    matches.clear();
    if (extension.empty())
        return;
    if (m_haveLast && extension == m_lastExtension) {
        matches = m_lastMatches;
        return;
    }
    // The exact hits and the pattern hits, merged back into map order.
    static const std::vector<Hit> kNone;
    auto found = m_exact.find(extension);
    const std::vector<Hit>& exact = found == m_exact.end() ? kNone : found->second;
    size_t e = 0;
    for (size_t p = 0; p < m_patterns.size(); ++p) {
        if (!DateiFilter(extension, m_patterns[p].extension))
            continue;
        while (e < exact.size() && exact[e].position < m_patternPositions[p])
            matches.push_back(exact[e++].categoryId);
        matches.push_back(m_patterns[p].categoryId);
    }
    while (e < exact.size())
        matches.push_back(exact[e++].categoryId);
    m_lastExtension = extension;
    m_lastMatches = matches;
    m_haveLast = true;
}
