#pragma once
// The English texts of every window, keyed by control, command or string id. The German texts
// live in the resource script; these replace them when the interface language is English.
// Portable.

#include "../../common/ControlText.h"

namespace EnglishTexts {

// Dialogs: id 0 is the caption.
extern const TextTable kStartupDialog;
extern const TextTable kDriveDialog;
extern const TextTable kScanProgressDialog;
extern const TextTable kWaitDialogAtStart; // database read at start
extern const TextTable kWaitDialogAtClose; // database written at close

// Menus of the main window, keyed by command id (popup items carry an id of their own).
extern const TextTable kFileMenu;
extern const TextTable kEditMenu;
extern const TextTable kViewMenu;
extern const TextTable kListMenu;
extern const TextTable kTreeMenu;
extern const TextTable kListBackgroundMenu;

// Strings of the string table: hints, labels, column captions, messages.
extern const TextTable kStrings;

} // namespace EnglishTexts
