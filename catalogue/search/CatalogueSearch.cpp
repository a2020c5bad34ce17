#include "CatalogueSearch.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>

namespace {

// The two ways of comparing characters, as types so that each search loop is made for one.
struct Exact {
    wchar_t operator()(wchar_t c) const { return c; }
};
struct Folded {
    const UpperCaseTable& upper;
    wchar_t operator()(wchar_t c) const { return upper(c); }
};

// Whether the zero-ended text holds needle (not empty, already folded).
template <typename Fold> bool ContainsZ(const wchar_t* text, std::wstring_view needle, Fold fold)
{
    const wchar_t first = needle[0];
    const wchar_t* rest = needle.data() + 1;
    const size_t restLength = needle.size() - 1;
    for (; *text; ++text) {
        if (fold(*text) != first)
            continue;
        size_t k = 0;
        while (k < restLength && text[1 + k] && fold(text[1 + k]) == rest[k])
            ++k;
        if (k == restLength)
            return true;
        if (!text[1 + k])
            return false; // the rest of the text is shorter than the needle
    }
    return false;
}

template <typename Fold> bool ContainsView(std::wstring_view text, std::wstring_view needle, Fold fold)
{
    if (needle.size() > text.size())
        return false;
    const size_t last = text.size() - needle.size();
    for (size_t i = 0; i <= last; ++i) {
        size_t k = 0;
        while (k < needle.size() && fold(text[i + k]) == needle[k])
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

template <typename Fold> bool WildcardZ(const wchar_t* text, size_t length, std::wstring_view pattern, Fold fold)
{
    // Greedy with a return to the last star: linear for one star, and never worse than the
    // product of the lengths.
    size_t p = 0, t = 0;
    size_t starP = std::wstring_view::npos, starT = 0;
    while (t < length) {
        if (p < pattern.size() && (pattern[p] == L'?' || (pattern[p] != L'*' && pattern[p] == fold(text[t])))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starT = t;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

} // namespace

SearchPattern::SearchPattern(std::wstring_view text, bool matchCase, const UpperCaseTable& upper)
    : m_upper(&upper), m_matchCase(matchCase)
{
    m_text.reserve(text.size());
    for (wchar_t c : text)
        m_text += Fold(c);
    m_wildcard = m_text.find_first_of(L"*?") != std::wstring::npos;
    if (!m_text.empty()) {
        size_t count = 0;
        m_firstKnown = true;
        if (m_matchCase) {
            m_first[count++] = m_text[0];
        } else {
            for (uint32_t c = 1; c <= 0xFFFF && m_firstKnown; ++c)
                if (upper(static_cast<wchar_t>(c)) == m_text[0]) {
                    m_firstKnown = count < 3;
                    if (m_firstKnown)
                        m_first[count++] = static_cast<wchar_t>(c);
                }
        }
        for (size_t i = count; i < 3 && count > 0; ++i)
            m_first[i] = m_first[0];
        m_firstKnown = m_firstKnown && count > 0;
    }
    const size_t slash = m_text.rfind(L'\\');
    m_onPath = slash != std::wstring::npos;
    if (!m_wildcard && m_onPath)
        m_split = slash + 1;
}

bool SearchPattern::Narrows(const SearchPattern& previous) const
{
    // A path holding this text holds every part of it, also the previous text.
    return !previous.Empty() && !m_wildcard && !previous.m_wildcard && m_matchCase == previous.m_matchCase &&
           m_upper == previous.m_upper && m_text.find(previous.m_text) != std::wstring::npos;
}

bool SearchPattern::Contains(const wchar_t* text) const
{
    if (m_firstKnown) {
        // Most characters are no start of the text: they are passed over without the table.
        const wchar_t a = m_first[0], b = m_first[1], c = m_first[2];
        for (;; ++text) {
            wchar_t t;
            while ((t = *text) != 0 && t != a && t != b && t != c)
                ++text;
            if (!t)
                return false;
            if (StartsWith(text + 1, std::wstring_view(m_text).substr(1)))
                return true;
        }
    }
    return m_matchCase ? ContainsZ(text, m_text, Exact{}) : ContainsZ(text, m_text, Folded{*m_upper});
}

bool SearchPattern::ContainsIn(std::wstring_view text) const
{
    return m_matchCase ? ContainsView(text, m_text, Exact{}) : ContainsView(text, m_text, Folded{*m_upper});
}

bool SearchPattern::StartsWith(const wchar_t* text, std::wstring_view start) const
{
    for (wchar_t c : start) {
        if (!*text || Fold(*text) != c)
            return false;
        ++text;
    }
    return true;
}

bool SearchPattern::EndsWith(std::wstring_view text, std::wstring_view end) const
{
    if (end.size() > text.size())
        return false;
    text.remove_prefix(text.size() - end.size());
    for (size_t i = 0; i < end.size(); ++i)
        if (Fold(text[i]) != end[i])
            return false;
    return true;
}

bool SearchPattern::WildcardMatch(const wchar_t* text, size_t length) const
{
    return m_matchCase ? WildcardZ(text, length, m_text, Exact{}) : WildcardZ(text, length, m_text, Folded{*m_upper});
}

SearchPattern::FolderState SearchPattern::StateOf(std::wstring_view folder) const
{
    if (m_text.empty())
        return FolderState::None;
    if (m_wildcard)
        return FolderState::Wildcard;
    if (ContainsIn(folder))
        return FolderState::All;
    if (!m_onPath)
        return FolderState::Name;
    // A name holds no backslash: the text can only begin in the folder and end in the name.
    return m_split < m_text.size() && EndsWith(folder, FolderPart()) ? FolderState::NameStart : FolderState::None;
}

bool SearchPattern::Accept(FolderState state, std::wstring_view folder, const wchar_t* name, std::wstring& path) const
{
    switch (state) {
    case FolderState::All:
        return true;
    case FolderState::None:
        return false;
    case FolderState::Name:
        return Contains(name);
    case FolderState::NameStart:
        return StartsWith(name, NamePart());
    case FolderState::Wildcard:
        if (!m_onPath)
            return WildcardMatch(name, std::wcslen(name));
        path.assign(folder.data(), folder.size());
        path += name;
        return WildcardMatch(path.data(), path.size());
    }
    return false;
}

bool SearchPattern::Matches(std::wstring_view folder, const wchar_t* name) const
{
    std::wstring path;
    return Accept(StateOf(folder), folder, name, path);
}

// The index ------------------------------------------------------------------------------------

namespace {

uint32_t NameHash(const wchar_t* name)
{
    uint32_t hash = 2166136261u;
    for (; *name; ++name)
        hash = (hash ^ static_cast<uint32_t>(*name)) * 16777619u;
    return hash;
}

} // namespace

void CatalogueIndex::Build(const Catalogue& catalogue)
{
    m_catalogue = &catalogue;
    m_entries.clear();

    // Folders with the same text are one folder here (a folder scanned twice, as part of its
    // drive and as a folder of its own, or found again by a search of the disk).
    uint32_t folderCount = 0;
    size_t total = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        for (const FileRecord& record : catalogue[id])
            folderCount = std::max(folderCount, record.folder + 1);
        total += catalogue[id].size();
    }
    m_folderCount = folderCount;
    std::vector<uint32_t> canonical(folderCount);
    {
        std::unordered_map<std::wstring_view, uint32_t> byText;
        for (uint32_t f = 0; f < folderCount; ++f)
            canonical[f] = byText.emplace(catalogue.Folder(f), f).first->second;
    }

    // Each file at its first record: an open-addressed table of the entries by folder and name,
    // with the hashes beside it so that most probes touch no name.
    size_t size = 16;
    while (size < total + total / 2)
        size *= 2;
    std::vector<uint32_t> slots(size), hashes(size);
    m_entries.reserve(total);
    for (int id = 1; id < Catalogue::kListCount; ++id)
        for (const FileRecord& record : catalogue[id]) {
            const uint32_t folder = canonical[record.folder];
            const uint32_t hash = NameHash(record.name) ^ (folder * 2654435761u);
            size_t slot = hash & (size - 1);
            bool duplicate = false;
            for (; slots[slot]; slot = (slot + 1) & (size - 1)) {
                if (hashes[slot] != hash)
                    continue;
                const Entry& other = m_entries[slots[slot] - 1];
                if (other.folder == folder && (other.name == record.name || std::wcscmp(other.name, record.name) == 0)) {
                    duplicate = true;
                    break;
                }
            }
            if (duplicate)
                continue;
            m_entries.push_back(Entry{&record, record.name, folder});
            slots[slot] = static_cast<uint32_t>(m_entries.size());
            hashes[slot] = hash;
        }
    m_entries.shrink_to_fit();
}

size_t CatalogueIndex::MemoryBytes() const
{
    return m_entries.capacity() * sizeof(Entry);
}

// The query -----------------------------------------------------------------------------------

namespace {

constexpr uint8_t kUnknown = 0xFF;

} // namespace

void CatalogueQuery::Start(const SearchPattern& pattern)
{
    m_narrowed = m_complete && pattern.Narrows(m_pattern);
    if (m_narrowed)
        m_candidates.swap(m_hits);
    else
        m_candidates.clear();
    m_hits.clear();
    m_pattern = pattern;
    m_next = 0;
    m_states.assign(m_index.m_folderCount, kUnknown);
    m_done = pattern.Empty();
    m_complete = m_done;
}

SearchPattern::FolderState CatalogueQuery::StateOf(uint32_t folder)
{
    uint8_t& state = m_states[folder];
    if (state == kUnknown)
        state = static_cast<uint8_t>(m_pattern.StateOf(m_index.m_catalogue->Folder(folder)));
    return static_cast<SearchPattern::FolderState>(state);
}

bool CatalogueQuery::Accept(uint32_t entry)
{
    const CatalogueIndex::Entry& e = m_index.m_entries[entry];
    const SearchPattern::FolderState state = StateOf(e.folder);
    switch (state) {
    case SearchPattern::FolderState::All:
        return true;
    case SearchPattern::FolderState::None:
        return false;
    default:
        return m_pattern.Accept(state, m_index.m_catalogue->Folder(e.folder), e.name, m_path);
    }
}

bool CatalogueQuery::Step(size_t budget)
{
    if (m_done)
        return true;
    const size_t count = m_narrowed ? m_candidates.size() : m_index.m_entries.size();
    const size_t end = count - m_next > budget ? m_next + budget : count;
    if (m_narrowed) {
        for (; m_next < end; ++m_next)
            if (Accept(m_candidates[m_next]))
                m_hits.push_back(m_candidates[m_next]);
    } else {
        for (; m_next < end; ++m_next)
            if (Accept(static_cast<uint32_t>(m_next)))
                m_hits.push_back(static_cast<uint32_t>(m_next));
    }
    m_done = m_next >= count;
    m_complete = m_done;
    return m_done;
}
