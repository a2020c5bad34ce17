#pragma once
// The English texts of the cache cleanup dialog and its report; the German ones are in
// CacheCleanupDialog.rc. Portable.

#include "../../common/ControlText.h"

namespace CacheCleanupTexts {

// Id 0 is the caption. The heading reads the same in both languages.
extern const TextTable kDialog;
extern const TextTable kStrings;

} // namespace CacheCleanupTexts
