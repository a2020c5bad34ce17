#pragma once
// The English texts of the options dialog, the new-category dialog and the extension editor,
// keyed by control or string id; the German ones are in the dialogs' resource scripts. Id 0
// is a dialog's caption. Portable.

#include "../../common/ControlText.h"

namespace OptionsTexts {

extern const TextTable kOptionsDialog;
extern const TextTable kNewCategoryDialog;
extern const TextTable kEndingsEditor;
extern const TextTable kStrings;

} // namespace OptionsTexts
