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
    m_folders.clear();

    // Folders with the same text are one folder here (a folder scanned twice, as part of its
    // drive and as a folder of its own, or found again by a search of the disk).
    uint32_t folderCount = 0;
    size_t total = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        for (const FileRecord& record : catalogue[id])
            folderCount = std::max(folderCount, record.folder + 1);
        total += catalogue[id].size();
    }
    std::vector<uint32_t> canonical(folderCount);
    {
        std::unordered_map<std::wstring_view, uint32_t> byText;
        for (uint32_t f = 0; f < folderCount; ++f)
            canonical[f] = byText.emplace(catalogue.Folder(f), f).first->second;
    }

    // The records bucketed by folder, in folder order and within a folder in list order.
    std::vector<uint32_t> start(folderCount + 1);
    for (int id = 1; id < Catalogue::kListCount; ++id)
        for (const FileRecord& record : catalogue[id])
            ++start[canonical[record.folder] + 1];
    for (uint32_t f = 0; f < folderCount; ++f)
        start[f + 1] += start[f];
    std::vector<Entry> all(total);
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (int id = 1; id < Catalogue::kListCount; ++id)
            for (const FileRecord& record : catalogue[id])
                all[fill[canonical[record.folder]]++] = Entry{&record, record.name};
    }

    // Each name once per folder: an open-addressed table of the folder's first records, cleared
    // over its used size only, so that a large folder does not slow down the small ones after it.
    std::vector<uint32_t> slots;
    size_t kept = 0;
    for (uint32_t f = 0; f < folderCount; ++f) {
        const uint32_t begin = start[f], end = start[f + 1];
        if (begin == end)
            continue;
        size_t size = 16;
        while (size < 2 * static_cast<size_t>(end - begin))
            size *= 2;
        if (slots.size() < size)
            slots.resize(size);
        std::fill(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(size), 0u);
        const size_t firstKept = kept;
        for (uint32_t e = begin; e < end; ++e) {
            const wchar_t* name = all[e].name;
            size_t slot = NameHash(name) & (size - 1);
            bool duplicate = false;
            for (; slots[slot]; slot = (slot + 1) & (size - 1)) {
                const wchar_t* other = all[firstKept + slots[slot] - 1].name;
                if (other == name || std::wcscmp(other, name) == 0) {
                    duplicate = true;
                    break;
                }
            }
            if (duplicate)
                continue;
            slots[slot] = static_cast<uint32_t>(kept - firstKept + 1);
            all[kept++] = all[e];
        }
        m_folders.push_back({f, static_cast<uint32_t>(kept)});
    }
    all.resize(kept);
    all.shrink_to_fit();
    m_entries = std::move(all);
    m_folders.shrink_to_fit();
}

size_t CatalogueIndex::MemoryBytes() const
{
    return m_entries.capacity() * sizeof(Entry) + m_folders.capacity() * sizeof(FolderRun);
}

// The query -----------------------------------------------------------------------------------

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
    m_run = 0;
    m_runKnown = false;
    m_done = pattern.Empty();
    m_complete = m_done;
}

void CatalogueQuery::EnterRunOf(uint32_t entry)
{
    const auto& folders = m_index.m_folders;
    while (folders[m_run].end <= entry) {
        ++m_run;
        m_runKnown = false;
    }
    if (!m_runKnown) {
        m_folder = m_index.m_catalogue->Folder(folders[m_run].folder);
        m_state = m_pattern.StateOf(m_folder);
        m_runKnown = true;
    }
}

bool CatalogueQuery::Accept(uint32_t entry)
{
    return m_pattern.Accept(m_state, m_folder, m_index.m_entries[entry].name, m_path);
}

bool CatalogueQuery::Step(size_t budget)
{
    if (m_done)
        return true;
    using State = SearchPattern::FolderState;
    if (!m_narrowed) {
        const size_t total = m_index.m_entries.size();
        const size_t end = std::min(total, m_next + budget);
        while (m_next < end) {
            const auto entry = static_cast<uint32_t>(m_next);
            EnterRunOf(entry);
            const size_t runEnd = std::min<size_t>(m_index.m_folders[m_run].end, end);
            // Whole folders at once where the folder's text decides.
            if (m_state == State::All) {
                for (size_t e = m_next; e < runEnd; ++e)
                    m_hits.push_back(static_cast<uint32_t>(e));
            } else if (m_state != State::None) {
                for (size_t e = m_next; e < runEnd; ++e)
                    if (Accept(static_cast<uint32_t>(e)))
                        m_hits.push_back(static_cast<uint32_t>(e));
            }
            m_next = runEnd;
        }
        m_done = m_next >= total;
    } else {
        const size_t end = std::min(m_candidates.size(), m_next + budget);
        for (; m_next < end; ++m_next) {
            const uint32_t entry = m_candidates[m_next];
            EnterRunOf(entry);
            if (m_state == State::All || (m_state != State::None && Accept(entry)))
                m_hits.push_back(entry);
        }
        m_done = m_next >= m_candidates.size();
    }
    m_complete = m_done;
    return m_done;
}
