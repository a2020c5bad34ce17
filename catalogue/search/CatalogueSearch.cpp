#include "CatalogueSearch.h"

#include <algorithm>
#include <cwchar>
#include <functional>
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

// Whether text begins with segment, where "?" stands for any character. The zero-ended form
// stops at the end of the text; the other needs segment.size() characters.
template <typename Fold> bool SegmentAt(const wchar_t* text, std::wstring_view segment, Fold fold)
{
    for (size_t i = 0; i < segment.size(); ++i)
        if (segment[i] != L'?' && fold(text[i]) != segment[i])
            return false;
    return true;
}

template <typename Fold> bool SegmentAtZ(const wchar_t* text, std::wstring_view segment, Fold fold)
{
    for (size_t i = 0; i < segment.size(); ++i)
        if (!text[i] || (segment[i] != L'?' && fold(text[i]) != segment[i]))
            return false;
    return true;
}

uint32_t CharBit(wchar_t c)
{
    if (static_cast<uint32_t>(c) >= 0x80)
        return 1u << 31;
    const wchar_t lower = c | 0x20;
    if (lower >= L'a' && lower <= L'z')
        return 1u << (c & 0x1F); // 1 to 26
    if (c >= L'0' && c <= L'9')
        return 1u << (27 + (c - L'0') % 4);
    return 1u;
}

} // namespace

SearchPattern::SearchPattern(std::wstring_view text, bool matchCase, const UpperCaseTable& upper)
    : m_upper(&upper), m_matchCase(matchCase)
{
    m_text.reserve(text.size());
    for (wchar_t c : text)
        m_text += Fold(c);
    m_wildcard = m_text.find_first_of(L"*?") != std::wstring::npos;
    if (m_text.empty())
        return;

    // Per character of the text, the bit a name holding it has: in a case-blind search, the bit
    // of every character that folds to it, and none when those differ (a locale may fold a
    // letter beyond ASCII onto an ASCII one). The same pass finds the forms of the first one.
    std::vector<uint32_t> charBits(m_text.size());
    size_t firstCount = 0;
    if (m_matchCase) {
        for (size_t i = 0; i < m_text.size(); ++i)
            charBits[i] = CharBit(m_text[i]);
        m_first[firstCount++] = m_text[0];
        m_firstKnown = true;
    } else {
        std::vector<bool> inText(0x10000);
        for (wchar_t c : m_text)
            inText[static_cast<uint16_t>(c)] = true;
        std::vector<uint32_t> bitsOf(m_text.size()); // by the place of each character's first use
        m_firstKnown = true;
        for (uint32_t c = 1; c <= 0xFFFF; ++c) {
            const wchar_t folded = upper(static_cast<wchar_t>(c));
            if (!inText[static_cast<uint16_t>(folded)])
                continue;
            bitsOf[m_text.find(folded)] |= CharBit(static_cast<wchar_t>(c));
            if (folded == m_text[0]) {
                m_firstKnown = m_firstKnown && firstCount < 3;
                if (m_firstKnown)
                    m_first[firstCount++] = static_cast<wchar_t>(c);
            }
        }
        for (size_t i = 0; i < m_text.size(); ++i) {
            const uint32_t bits = bitsOf[m_text.find(m_text[i])];
            charBits[i] = (bits & (bits - 1)) == 0 ? bits : 0;
        }
    }
    for (size_t i = firstCount; i < 3 && firstCount > 0; ++i)
        m_first[i] = m_first[0];
    m_firstKnown = m_firstKnown && firstCount > 0;

    const size_t slash = m_text.rfind(L'\\');
    m_onPath = slash != std::wstring::npos;
    if (m_wildcard) {
        // The rest after the backslash is tried from each of its places, each a bit of NameStarts.
        m_nameStart = m_onPath ? slash + 1 : 0;
        if (!m_onPath)
            m_globs.push_back(MakeGlob(0, charBits));
        else if (m_text.size() - m_nameStart < 32)
            for (size_t from = m_nameStart; from <= m_text.size(); ++from)
                m_globs.push_back(MakeGlob(from, charBits));
        return;
    }
    if (m_onPath)
        m_split = slash + 1;
    for (size_t i = 0; i < m_text.size(); ++i) {
        m_bits |= charBits[i];
        if (i >= m_split)
            m_nameBits |= charBits[i];
    }
}

SearchPattern::Glob SearchPattern::MakeGlob(size_t from, const std::vector<uint32_t>& charBits) const
{
    Glob glob;
    const std::wstring_view text = std::wstring_view(m_text).substr(from);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != L'*' && text[i] != L'?')
            glob.bits |= charBits[from + i];
    const auto span = [from](size_t pos, size_t size) {
        return Span{static_cast<uint32_t>(from + pos), static_cast<uint32_t>(size)};
    };
    const size_t firstStar = text.find(L'*');
    if (firstStar == std::wstring_view::npos) {
        glob.head = span(0, text.size());
        return glob;
    }
    glob.star = true;
    const size_t lastStar = text.rfind(L'*');
    glob.head = span(0, firstStar);
    glob.tail = span(lastStar + 1, text.size() - lastStar - 1);
    for (size_t pos = firstStar + 1; pos < lastStar;) {
        const size_t star = text.find(L'*', pos);
        if (star > pos)
            glob.middle.push_back(span(pos, star - pos));
        pos = star + 1;
    }
    return glob;
}

uint32_t SearchPattern::NameBits(const wchar_t* name)
{
    uint32_t bits = 0;
    for (; *name; ++name)
        bits |= CharBit(*name);
    return bits;
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

bool SearchPattern::GlobMatches(const Glob& glob, const wchar_t* name, uint32_t nameBits) const
{
    if ((nameBits & glob.bits) != glob.bits)
        return false;
    const std::wstring_view text(m_text);
    const auto view = [&text](Span span) { return text.substr(span.pos, span.size); };
    const auto match = [&](auto fold) {
        const std::wstring_view head = view(glob.head);
        if (!SegmentAtZ(name, head, fold))
            return false;
        if (!glob.star)
            return name[head.size()] == 0;
        const std::wstring_view tail = view(glob.tail);
        const size_t length = head.size() + std::wcslen(name + head.size());
        if (length < head.size() + tail.size())
            return false;
        const size_t end = length - tail.size();
        if (!SegmentAt(name + end, tail, fold))
            return false;
        // Each middle part at its first place after the one before: a later place would leave
        // the parts after it less room, never more.
        size_t pos = head.size();
        for (Span span : glob.middle) {
            const std::wstring_view part = view(span);
            while (end - pos >= part.size() && !SegmentAt(name + pos, part, fold))
                ++pos;
            if (end - pos < part.size())
                return false;
            pos += part.size();
        }
        return true;
    };
    return m_matchCase ? match(Exact{}) : match(Folded{*m_upper});
}

uint32_t SearchPattern::NameStarts(std::wstring_view folder) const
{
    // The folder must match the text up to some place after the last backslash and the name
    // the rest. The folder ends with a backslash, so the text's part for it ends with that
    // backslash, a "?" or a star; a star there may take in the name's start as well, so the
    // name is then tried from the star.
    uint32_t starts = 0;
    for (size_t end = m_nameStart; end <= m_text.size(); ++end) {
        const wchar_t last = m_text[end - 1];
        if (last != L'\\' && last != L'?' && last != L'*')
            continue;
        const std::wstring_view part = std::wstring_view(m_text).substr(0, end);
        const bool match = m_matchCase ? WildcardZ(folder.data(), folder.size(), part, Exact{})
                                       : WildcardZ(folder.data(), folder.size(), part, Folded{*m_upper});
        if (match)
            starts |= 1u << (end - m_nameStart - (last == L'*' ? 1 : 0));
    }
    return starts;
}

SearchPattern::FolderState SearchPattern::StateOf(std::wstring_view folder, uint32_t& starts) const
{
    starts = 0;
    if (m_text.empty())
        return FolderState::None;
    if (m_wildcard) {
        if (!m_onPath) {
            starts = 1;
            return FolderState::NameGlob;
        }
        if (m_globs.empty())
            return FolderState::PathGlob;
        starts = NameStarts(folder);
        return starts ? FolderState::NameGlob : FolderState::None;
    }
    if (ContainsIn(folder))
        return FolderState::All;
    if (!m_onPath)
        return FolderState::Name;
    // A name holds no backslash: the text can only begin in the folder and end in the name.
    return m_split < m_text.size() && EndsWith(folder, FolderPart()) ? FolderState::NameStart : FolderState::None;
}

bool SearchPattern::AcceptName(uint32_t starts, const wchar_t* name, uint32_t nameBits) const
{
    for (size_t k = 0; starts; ++k, starts >>= 1)
        if ((starts & 1) && GlobMatches(m_globs[k], name, nameBits))
            return true;
    return false;
}

bool SearchPattern::Accept(FolderState state, uint32_t starts, std::wstring_view folder, const wchar_t* name,
                           uint32_t nameBits, std::wstring& path) const
{
    switch (state) {
    case FolderState::All:
        return true;
    case FolderState::None:
        return false;
    case FolderState::Name:
        return (nameBits & m_bits) == m_bits && Contains(name);
    case FolderState::NameStart:
        return (nameBits & m_nameBits) == m_nameBits && StartsWith(name, NamePart());
    case FolderState::NameGlob:
        return AcceptName(starts, name, nameBits);
    case FolderState::PathGlob:
        path.assign(folder.data(), folder.size());
        path += name;
        return WildcardMatch(path.data(), path.size());
    }
    return false;
}

bool SearchPattern::Matches(std::wstring_view folder, const wchar_t* name) const
{
    std::wstring path;
    uint32_t starts = 0;
    const FolderState state = StateOf(folder, starts);
    return Accept(state, starts, folder, name, NameBits(name), path);
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

uint64_t CatalogueIndex::Fingerprint(const Catalogue& catalogue)
{
    // Everything the index is made from: the place of each record, its name (where it lies and
    // what it says, as a catalogue made anew may reuse the memory of one gone) and its folder,
    // and the folders' texts.
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
    uint32_t folderCount = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        mix(catalogue[id].size());
        for (const FileRecord& record : catalogue[id]) {
            mix(reinterpret_cast<uintptr_t>(&record));
            mix(reinterpret_cast<uintptr_t>(record.name) ^ (static_cast<uint64_t>(NameHash(record.name)) << 32));
            mix(record.folder);
            folderCount = std::max(folderCount, record.folder + 1);
        }
    }
    for (uint32_t f = 0; f < folderCount; ++f) {
        const std::wstring_view folder = catalogue.Folder(f);
        mix(reinterpret_cast<uintptr_t>(folder.data()) ^ (static_cast<uint64_t>(folder.size()) << 32));
        mix(std::hash<std::wstring_view>()(folder));
    }
    return hash;
}

bool CatalogueIndex::Refresh(const Catalogue& catalogue)
{
    if (m_catalogue == &catalogue && Fingerprint(catalogue) == m_fingerprint)
        return false;
    Build(catalogue);
    return true;
}

void CatalogueIndex::Build(const Catalogue& catalogue)
{
    m_catalogue = &catalogue;
    m_entries.clear();
    m_fingerprint = Fingerprint(catalogue);

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
                if (other.folder == folder &&
                    (other.name == record.name || std::wcscmp(other.name, record.name) == 0)) {
                    duplicate = true;
                    break;
                }
            }
            if (duplicate)
                continue;
            m_entries.push_back(Entry{&record, record.name, folder, SearchPattern::NameBits(record.name)});
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
// Above the FolderStates: a folder's set of name starts.
constexpr uint8_t kFirstStarts = 8;

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
    m_starts.clear();
    m_done = pattern.Empty();
    m_complete = m_done;
}

uint8_t CatalogueQuery::StateOf(uint32_t folder)
{
    uint8_t& state = m_states[folder];
    if (state != kUnknown)
        return state;
    uint32_t starts = 0;
    const auto decided = m_pattern.StateOf(m_index.m_catalogue->Folder(folder), starts);
    state = static_cast<uint8_t>(decided);
    if (decided == SearchPattern::FolderState::NameGlob) {
        // Folders share few sets of name starts; past kUnknown's room, the whole path decides.
        const auto known = std::find(m_starts.begin(), m_starts.end(), starts);
        if (known != m_starts.end()) {
            state = static_cast<uint8_t>(kFirstStarts + (known - m_starts.begin()));
        } else if (kFirstStarts + m_starts.size() < kUnknown) {
            state = static_cast<uint8_t>(kFirstStarts + m_starts.size());
            m_starts.push_back(starts);
        } else {
            state = static_cast<uint8_t>(SearchPattern::FolderState::PathGlob);
        }
    }
    return state;
}

bool CatalogueQuery::Accept(uint32_t entry)
{
    const CatalogueIndex::Entry& e = m_index.m_entries[entry];
    const uint8_t state = StateOf(e.folder);
    if (state >= kFirstStarts)
        return m_pattern.AcceptName(m_starts[state - kFirstStarts], e.name, e.bits);
    switch (static_cast<SearchPattern::FolderState>(state)) {
    case SearchPattern::FolderState::All:
        return true;
    case SearchPattern::FolderState::None:
        return false;
    default:
        return m_pattern.Accept(static_cast<SearchPattern::FolderState>(state), 0,
                                m_index.m_catalogue->Folder(e.folder), e.name, e.bits, m_path);
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
