#pragma once
// The English texts of the preview pane, keyed by string id; the German ones are in
// PreviewPane.rc. Portable.

#include "../../common/ControlText.h"

namespace PreviewTexts {

extern const TextTable kStrings;

} // namespace PreviewTexts
