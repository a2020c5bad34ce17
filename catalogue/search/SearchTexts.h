#pragma once
// The English texts of the search dialog, keyed by control or string id; the German ones are in
// SearchDialog.rc. And the caption of the dialog's entry for all local drives. Portable.

#include "../../common/ControlText.h"

#include <string>
#include <vector>

namespace SearchTexts {

extern const TextTable kSearchDialog; // id 0 is the caption
extern const TextTable kStrings;

// The entry for all local drives: the prefix, then of each drive's caption the part from its
// first "(" on (all of it without one), each followed by "; ", the last blank left out:
// "Local drives (C:); (D:);".
std::wstring LocalDrivesCaption(const std::wstring& prefix, const std::vector<std::wstring>& driveCaptions);

} // namespace SearchTexts
