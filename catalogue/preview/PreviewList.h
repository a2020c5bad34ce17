#pragma once
// The preview list: which viewer a file gets, by its extension. Entries come from the registry
// (Options\Vorschau) in the order it gives their names: a category name and its extensions
// written one after another (".TXT.DOC"). A file goes to the first entry whose extensions
// contain its upper-cased extension as a substring. Portable.

#include <optional>
#include <string>
#include <vector>

enum class ViewerKind { Text, Picture, Icon, Sound, Film, Archive };

struct PreviewEntry {
    std::wstring name;
    std::wstring extensions;
};

// The viewer of an entry name: "Textdatei", "Bilddatei", "Symboldatei", "Sounddatei",
// "Filmdatei", "Compressed" (the same in both languages); none for any other name.
std::optional<ViewerKind> ViewerKindOf(const std::wstring& name);

// The viewer of a file with extension ext (as ExtensionOf gives it: upper case, with its dot): the first entry containing it decides; none for an
// empty extension, for no such entry, or for an entry of another name.
std::optional<ViewerKind> FindViewer(const std::vector<PreviewEntry>& entries, const std::wstring& ext);
