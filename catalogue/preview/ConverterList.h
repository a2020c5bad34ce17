#pragma once
// The text converters that office packages register: libraries that turn a foreign document
// (Word, WordPerfect, ...) into rich text. The list holds each converter's description, its
// file patterns ("*.doc;*.dot"), its library and its registry key name, sorted by description;
// its filter text is the usual open-dialog filter ("description (patterns)|patterns|..."), and
// the converters for a file are found by walking that text. Portable.

#include <string>
#include <string_view>
#include <vector>

struct TextConverter {
    std::wstring description;
    std::wstring patterns;
    std::wstring path;
    std::wstring key;
};

// A converter's "Extensions" value as a pattern list: split at blanks (a run of blanks counts
// as one, a token keeps at most 255 characters), each token as "*." + token, joined with ";".
std::wstring PatternList(std::wstring_view extensions);

class ConverterList {
public:
    // A converter found under a registry key; application is the name of the program under
    // whose key it was found ("Word 97"), empty for the machine-wide key. A converter without
    // name, extensions or library is left out, and so is one listed already.
    void Add(const std::wstring& key, const std::wstring& name, const std::wstring& extensions,
             const std::wstring& path, const std::wstring& application);

    const std::vector<TextConverter>& Items() const { return m_items; }
    // Empty without converters.
    std::wstring FilterText() const;

private:
    std::vector<TextConverter> m_items;
};

// The converters to try for a file with extension ext (with its dot), by their index in the
// list the filter text was made from: each whose pattern part contains ext, compared without
// regard to case. None for an empty extension.
std::vector<int> ConvertersFor(std::wstring_view filter, std::wstring_view ext);
