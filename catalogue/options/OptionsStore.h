#pragma once
// The registry side of the options dialog's OK: Options\Vorschau written anew with the
// preview lists and the preview switch, the flags and cache paths in Options, and
// Options\UserFiles written anew with one value per row. Keys that cannot be opened are
// skipped.

#include "../../common/Registry.h"
#include "OptionsState.h"

// userFiles false leaves Options\UserFiles as it is.
void WriteOptions(Registry& settings, const OptionsState& state, bool userFiles);
