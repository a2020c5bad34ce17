#pragma once
// The English texts of the category tree pane, keyed by command or string id; the German
// ones are in CategoryTreePane.rc and CategoryNames.rc. Portable.

#include "../../common/ControlText.h"

namespace CatalogueTexts {

extern const TextTable kTreeMenu;
extern const TextTable kStrings;

} // namespace CatalogueTexts
