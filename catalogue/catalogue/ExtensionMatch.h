#pragma once
// Which categories a file belongs to: the extension lists of the categories, read from the
// registry, and the matching of a file name against them. Portable.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One extension of a category's list: upper case with its leading dot (".BMP"); "*" in one of
// the first three places after the dot stands for any one character.
struct ExtensionEntry {
    std::wstring extension;
    int categoryId;
};

// Every extension of every category, in the order the lists were read; an extension may appear
// under several categories and twice under one.
using ExtensionMap = std::vector<ExtensionEntry>;

// The category ids a file matched, one per matching entry, in map order.
using MatchList = std::vector<int>;

// Upper case for the characters of file names: ASCII and the Latin-1 letters.
std::wstring UpperCase(std::wstring_view text);

// Appends the pieces of an extension list ("+"-separated) as entries of categoryId. Nothing is
// trimmed: an empty piece gives an entry with empty text, which never matches.
void AppendExtensionList(ExtensionMap& map, std::wstring_view list, int categoryId);

// The extension of a file name in upper case, dot included: from the last dot of the last path
// component; empty when that component has no dot.
std::wstring ExtensionOf(std::wstring_view name);

// The wildcard comparison of an extension with a pattern, both with their leading dot: the
// first three characters after the dot are compared, "*" in the pattern matching any one.
bool DateiFilter(std::wstring_view extension, std::wstring_view pattern);

// A user-defined category's definition: "extensions|icon". Without a "|" the whole text is the
// extension list and the icon is the program's own ("Default").
struct UserDefinition {
    std::wstring extensions;
    std::wstring icon;
};
UserDefinition SplitUserDefinition(std::wstring_view definition);

// Matches file names against an ExtensionMap. Gives the same result as walking the whole map
// for each name, but looks exact extensions up in a table and walks only the wildcard entries,
// and remembers the answer for the last extension (files of one folder often share it).
class ExtensionMatcher {
public:
    explicit ExtensionMatcher(const ExtensionMap& map);

    // Fills matches with the ids of every entry that matches the name's extension.
    void Match(std::wstring_view name, MatchList& matches);
    // The same for an extension already taken with ExtensionOf.
    void MatchExtension(const std::wstring& extension, MatchList& matches);

private:
    struct Hit {
        size_t position; // in the map
        int categoryId;
    };
    std::unordered_map<std::wstring, std::vector<Hit>> m_exact;
    std::vector<ExtensionEntry> m_patterns;
    std::vector<size_t> m_patternPositions;
    std::wstring m_lastExtension;
    MatchList m_lastMatches;
    bool m_haveLast = false;
};

// The walk of the map as the rules state it, for one name: fills matches and tells whether any
// entry matched. A set cancel flag stops the walk early.
bool CheckExtKanditat(const ExtensionMap& map, std::wstring_view name, MatchList& matches,
                      const int* cancelRequested = nullptr);
