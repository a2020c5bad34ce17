#pragma once
// The English texts of the file list pane, keyed by command or string id; the German ones are in
// FileListPane.rc. Portable.

#include "../../common/ControlText.h"

namespace FileListTexts {

extern const TextTable kListMenu;
extern const TextTable kListBackgroundMenu;
extern const TextTable kStrings;
extern const TextTable kCopyDialog;
extern const TextTable kRenameDialog;

} // namespace FileListTexts
