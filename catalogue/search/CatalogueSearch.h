#pragma once
// The instant search of the catalogue: every file the catalogue holds, each once, found by a
// part of its full path as the user types. Portable.
//
// A text without wildcards is found anywhere in the full path (folder and name). A text with
// "*" (any run of characters, none included) or "?" (one character) must match a whole text:
// the file name, or the full path when the text holds a backslash ("*.txt" finds the names
// ending in .txt, "C:\Fotos\*.jpg" the JPEGs below C:\Fotos). Case is ignored unless asked for,
// by the upper-casing table of the user's locale.
//
// The index keeps, per file, its record, its name, its folder and the kinds of character in the
// name (16 bytes in the 32-bit program), in the order of the category lists, which is the order
// the names lie in memory. A folder's text is searched once per query for all its files; a
// wildcard text over the path is matched against each folder once, leaving only the names to
// match. A query that only lengthens the text of the one before searches the hits of that one
// alone.

#include "../catalogue/Catalogue.h"
#include "../filelist/FileListOrder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SearchPattern {
public:
    SearchPattern() = default;
    SearchPattern(std::wstring_view text, bool matchCase, const UpperCaseTable& upper);

    bool Empty() const { return m_text.empty(); }
    bool MatchCase() const { return m_matchCase; }
    bool Wildcard() const { return m_wildcard; }
    // A wildcard text with a backslash is matched against the full path, otherwise the name.
    bool OnPath() const { return m_onPath; }
    // Every file this pattern finds is found by previous too.
    bool Narrows(const SearchPattern& previous) const;

    // Whether the file of folder (with its last backslash) and name is found. An empty pattern
    // finds nothing.
    bool Matches(std::wstring_view folder, const wchar_t* name) const;

    // The kinds of character a name holds, one bit each (letters without their case, digits in
    // four groups, other ASCII, all the rest). A name lacking a bit of the text cannot hold it,
    // which the index tells without reading the name.
    static uint32_t NameBits(const wchar_t* name);

private:
    friend class CatalogueQuery;
    wchar_t Fold(wchar_t c) const { return m_matchCase ? c : (*m_upper)(c); }
    // The folded text contains m_text at some place.
    bool Contains(const wchar_t* text) const;
    bool ContainsIn(std::wstring_view text) const;
    bool StartsWith(const wchar_t* text, std::wstring_view start) const;
    bool EndsWith(std::wstring_view text, std::wstring_view end) const;
    bool WildcardMatch(const wchar_t* text, size_t length) const;

    // A wildcard text over a name, taken apart at its stars: the part before the first star
    // lies at the start of the name, the part after the last one at its end, the others in
    // order between them. Places in m_text, so that a copy of the pattern keeps them.
    struct Span {
        uint32_t pos = 0, size = 0;
    };
    struct Glob {
        Span head, tail;
        std::vector<Span> middle;
        bool star = false;
        uint32_t bits = 0; // NameBits that a matching name has
    };
    Glob MakeGlob(size_t from, const std::vector<uint32_t>& charBits) const;
    bool GlobMatches(const Glob& glob, const wchar_t* name, uint32_t nameBits) const;
    // A wildcard text over the path: the places after its last backslash from which a name
    // below folder must match the rest of the text, as bits (bit k: m_globs[k]); 0 when no
    // file of the folder can match.
    uint32_t NameStarts(std::wstring_view folder) const;

    // The decision for a whole folder. Name: the text lies in the name; NameStart: the name
    // begins with the text's part after its backslash; NameGlob: the name matches one of the
    // globs of starts; PathGlob: the whole path is matched.
    enum class FolderState : uint8_t { All, None, Name, NameStart, NameGlob, PathGlob };
    FolderState StateOf(std::wstring_view folder, uint32_t& starts) const;
    bool Accept(FolderState state, uint32_t starts, std::wstring_view folder, const wchar_t* name, uint32_t nameBits,
                std::wstring& path) const;
    bool AcceptName(uint32_t starts, const wchar_t* name, uint32_t nameBits) const;

    std::wstring m_text; // folded
    // The characters that fold to the text's first one (three at most, repeated to fill), so
    // that a name is scanned for them without the table; m_firstKnown is false with more.
    wchar_t m_first[3] = {};
    bool m_firstKnown = false;
    const UpperCaseTable* m_upper = nullptr;
    bool m_matchCase = false;
    bool m_wildcard = false;
    bool m_onPath = false;
    // A literal text with a backslash may begin in the folder and end in the name: the folder
    // then ends with the text up to and with its last backslash, and the name begins with the
    // rest. m_split is the length of the first part; 0 without a backslash.
    size_t m_split = 0;
    std::wstring_view FolderPart() const { return std::wstring_view(m_text).substr(0, m_split); }
    std::wstring_view NamePart() const { return std::wstring_view(m_text).substr(m_split); }
    uint32_t m_bits = 0;     // NameBits of a name holding the whole literal text
    uint32_t m_nameBits = 0; // of a name beginning with NamePart()
    // A wildcard text: the first character after its last backslash (0 without one), and the
    // globs of the rest from each place on; none when that rest is too long for the bits of
    // NameStarts, and then the whole path is matched.
    size_t m_nameStart = 0;
    std::vector<Glob> m_globs;
};

class CatalogueIndex {
public:
    // Every file of the catalogue's category lists, once: a file listed in several categories
    // (same folder text, same name) is taken at its first record. List 0, the drive dialog's
    // entries, is left out. The records must not move while the index is used.
    void Build(const Catalogue& catalogue);
    // Builds the index unless it was built from this very catalogue as it is now (the same
    // records at the same places with the same texts); true when it built. Walks the catalogue
    // once, which costs a fraction of a build.
    bool Refresh(const Catalogue& catalogue);

    size_t Size() const { return m_entries.size(); }
    const FileRecord& Record(uint32_t entry) const { return *m_entries[entry].record; }
    // The bytes the index keeps, for the memory figure.
    size_t MemoryBytes() const;

private:
    friend class CatalogueQuery;
    struct Entry {
        const FileRecord* record;
        const wchar_t* name;
        uint32_t folder; // the first of the catalogue's folders with this text
        uint32_t bits;   // SearchPattern::NameBits of the name
    };
    static uint64_t Fingerprint(const Catalogue& catalogue);
    std::vector<Entry> m_entries;
    uint32_t m_folderCount = 0;
    const Catalogue* m_catalogue = nullptr;
    uint64_t m_fingerprint = 0;
};

// One query over the index at a time, run in steps so that typing is never held up: Step
// searches a number of files and returns, and the caller goes on when its messages are done.
class CatalogueQuery {
public:
    explicit CatalogueQuery(const CatalogueIndex& index) : m_index(index) {}

    // Begins a query; the hits of the previous one go unless they can be narrowed down.
    void Start(const SearchPattern& pattern);
    // Searches up to budget files more; true when the query is complete.
    bool Step(size_t budget);
    bool Done() const { return m_done; }
    // Entries of the index, ascending; grows while the query runs.
    const std::vector<uint32_t>& Hits() const { return m_hits; }

private:
    // The decision of an entry's folder, worked out at its first file: a FolderState, or
    // kFirstStarts plus the place of the folder's name starts in m_starts.
    uint8_t StateOf(uint32_t folder);
    bool Accept(uint32_t entry);

    const CatalogueIndex& m_index;
    SearchPattern m_pattern;
    std::vector<uint32_t> m_hits;
    std::vector<uint32_t> m_candidates; // a narrowed query's: the previous hits
    bool m_narrowed = false;
    bool m_done = true;
    bool m_complete = false;        // the last query ran to its end: its hits can be narrowed
    size_t m_next = 0;              // the next entry, or the next candidate when narrowed
    std::vector<uint8_t> m_states;  // per folder
    std::vector<uint32_t> m_starts; // the distinct name starts of the folders seen
    std::wstring m_path;            // a wildcard path query's path of the current file
};
