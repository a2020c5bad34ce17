#pragma once
// The file side of renumbering the user-defined categories (see CategoryRenumbering): the
// catalogue files of their ids in the Data folder, moved in two phases around the change of
// the settings, with a journal that lets the next start finish or undo a renumbering that was
// cut short.

#include "CategoryRenumbering.h"

#include <string>
#include <vector>

namespace DataRenumbering {

// Before the settings change: writes the journal and gives every catalogue file of a
// user-category id its temporary name. False when that could not be done; then every file has
// its name again and no journal is left.
bool Begin(const std::wstring& folder, const CategoryRenumbering::Origins& origins);

// After the change: each temporary file goes to the id of the category that came from its id,
// as names (the user categories as the settings now hold them, in order) number them, or is
// put aside; then the journal goes. What could not be moved keeps its temporary name and the
// journal stays, for the next start. True when all was done.
bool Finish(const std::wstring& folder, const std::vector<std::wstring>& names);

// At start, before the catalogue is read: a renumbering cut short is finished when the
// settings hold the categories of its journal, and undone otherwise.
void Recover(const std::wstring& folder, const std::vector<std::wstring>& names);

} // namespace DataRenumbering
