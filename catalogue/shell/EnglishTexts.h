#pragma once
// The English texts of the main window and the start-up dialogs, keyed by control, command or
// string id. The German texts live in the resource script; these replace them when the
// interface language is English. The panes keep theirs beside their code. Portable.

#include "../../common/ControlText.h"

namespace EnglishTexts {

// Dialogs: id 0 is the caption.
extern const TextTable kStartupDialog;
extern const TextTable kDriveDialog;
extern const TextTable kScanProgressDialog;
extern const TextTable kWaitDialogAtStart; // database read at start
extern const TextTable kWaitDialogAtClose; // database written at close

// The tool bar's menus, keyed by command id (popup items carry an id of their own).
extern const TextTable kFileMenu;
extern const TextTable kEditMenu;
extern const TextTable kViewMenu;

// Strings of the string table: hints, labels, column captions, messages.
extern const TextTable kStrings;

} // namespace EnglishTexts
