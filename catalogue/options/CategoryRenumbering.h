#pragma once
// User-defined categories take their ids from their place in Options\UserFiles, so removing
// one (or a registry that lists the names in another order) gives later ones other ids. Their
// catalogue files Data\<id>.dat and Data\<id>.facts, and their lists in memory, must follow,
// or at the next start each category is filled with the files of the one that held its id
// before. This is the plan of that renumbering; the file work is in DataRenumbering. Portable.
//
// The files move in two phases: before the settings change, every user-category file goes to
// a temporary name that the catalogue never reads; after it, each goes to the id of the
// category that came from it, or is put aside when none did. A journal written before the
// first phase tells a later start how to finish (the settings hold the new categories) or
// undo (they still hold the old ones) a renumbering that was cut short. So no two categories
// ever share a file, and no file is lost.

#include "OptionsState.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CategoryRenumbering {

// A category's files or list: from its id before to its id after, or put aside.
constexpr int kPutAside = -1;
struct Move {
    int from;
    int to;
    bool operator==(const Move& other) const { return from == other.from && to == other.to; }
};

// The category id each name had before the change (-1: a new one). The settings keep one value
// per name, whatever its case, and the last written wins; so a name comes from the last row of
// that name that had an id.
using Origins = std::vector<std::pair<std::wstring, int>>;
Origins OriginsOf(const std::vector<UserCategoryRow>& rows);

// ids: the user-category ids whose files (or lists) are there; names: the user categories
// after the change, in the order that numbers them. Each id goes to the category that came
// from it, or is put aside: also an id no category held before, and one whose category has
// no id any more (beyond the last). In ascending order of the ids before.
std::vector<Move> Plan(const std::vector<int>& ids, const std::vector<std::wstring>& names, const Origins& origins);

// The catalogue files of a category, and the names they take on the way.
std::wstring DataFileName(int id, bool facts); // "48.dat", "48.facts"
std::wstring TemporaryName(const std::wstring& name);
// A file put aside: "48.dat.removed"; when that is taken, "48.dat.2.removed" and so on.
std::wstring PutAsideName(const std::wstring& name, int attempt);
// The file name a temporary name stands for; empty when name is none.
std::wstring OriginalName(const std::wstring& temporary);

// The journal: the origins of the categories the settings are about to hold.
constexpr const wchar_t* kJournalName = L"UserCategories.journal";
std::wstring FormatJournal(const Origins& origins);
// Nothing when the text is not a whole journal.
std::optional<Origins> ParseJournal(std::wstring_view text);
// Whether the settings hold the categories the journal was written for (the same names).
bool SettingsWritten(const Origins& journal, const std::vector<std::wstring>& names);

} // namespace CategoryRenumbering
