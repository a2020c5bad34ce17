#pragma once
// The upper case of every UTF-16 code unit in the user's locale, as the sort and the search fold
// texts: made once, when first asked.

#include "FileListOrder.h"

const UpperCaseTable& LocaleUpperCase();
