#include "PreviewTexts.h"

#include "PreviewIds.h"

namespace PreviewTexts {

namespace {

const ControlText strings[] = {
    {IDS_PREVIEW_CLOSE_HINT, L"Close"},
    {IDS_PREVIEW_TEXT_CUT, L"[The file is larger than 16 MB: only its beginning is shown.]"},
};

} // namespace

const TextTable kStrings = MakeTable(strings);

} // namespace PreviewTexts
