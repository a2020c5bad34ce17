#pragma once
// Bringing the catalogue in line with what a file operation did on disk. A file sits in every
// category its extension gives (and in special folder and search categories), so every change
// is made in every list that holds the file. Whether a file exists is asked through the function
// passed in. Portable.

#include "Catalogue.h"
#include "ExtensionMatch.h"

#include <bitset>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace CatalogueEdit {

using Exists = std::function<bool(const std::wstring& path)>;
// The categories whose lists were changed.
using Touched = std::bitset<Catalogue::kListCount>;

// A destination folder as typed and a file name, with exactly one backslash between them:
// "D:\" and "D:\x\" give "D:\a.txt" and "D:\x\a.txt" just as "D:" and "D:\x" do.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// True for a name that can be given to a file: not empty, not only blanks and dots, and none of
// the characters \ / : * ? " < > | or control characters.
bool ValidFileName(std::wstring_view name);

// Paths compared as the file system does: letter case does not count.
bool SamePath(std::wstring_view a, std::wstring_view b);

// After a delete: when path no longer exists, its records leave every category, and so do the
// records of the files below it when it was a folder.
Touched RemoveGone(Catalogue& catalogue, const std::wstring& path, const Exists& exists);

// After a move or rename: when to exists and from does not (or the two differ in letter case
// only), the records of from, and of the files below it, name the new place in every category.
// A category that holds to already keeps that record and drops the one of from.
Touched Move(Catalogue& catalogue, const std::wstring& from, const std::wstring& to, const Exists& exists);

// After a copy: when to exists, a record of it with the facts of source goes into every category
// the scan would file it under (the extension rules, and the empty files' category for a file of
// no bytes), except those that hold it already.
Touched AddCopy(Catalogue& catalogue, const ExtensionMap& rules, const FileRecord& source, const std::wstring& to,
                const Exists& exists);

// What the file system tells of a file: size, last-write time (UTC, 100 ns units) and
// attribute bits.
struct FileFacts {
    uint64_t size = 0;
    uint64_t writeTime = 0;
    uint32_t attributes = 0;
};

// A file as a look at the disk found it: gone, or with these facts.
struct FileUpdate {
    std::wstring path;
    bool gone = false;
    FileFacts facts;
};

// After the catalogue was compared with the disk: the records of each file found gone leave
// every category, and the records of the others take the facts found, in every category.
// Offline records are left alone: their path names a file on a volume that is not there. When
// removedRows is given, it receives the former indexes of the records removed from the list of
// category shown, ascending.
Touched ApplyUpdates(Catalogue& catalogue, const std::vector<FileUpdate>& updates, int shown = -1,
                     std::vector<size_t>* removedRows = nullptr);

} // namespace CatalogueEdit
