#include "PreviewTexts.h"

#include "PreviewIds.h"

namespace PreviewTexts {

namespace {

// The media bar's hints and first time text read the same in English: the German ones serve.
const ControlText strings[] = {
    {IDS_PREVIEW_CLOSE_HINT, L"Close"},
    {IDS_ARCHIVE_COLUMN_BASE, L"File"},
    {IDS_ARCHIVE_COLUMN_BASE + 1, L"Date"},
    {IDS_ARCHIVE_COLUMN_BASE + 2, L"Size(Pa)"},
    {IDS_ARCHIVE_COLUMN_BASE + 3, L"Size(Un)"},
    {IDS_ARCHIVE_COLUMN_BASE + 4, L"Method"},
    {IDS_ARCHIVE_EXTRACTING, L"Extracating "},
    {IDS_ARCHIVE_OF, L" of "},
    {IDS_PREVIEW_TEXT_CUT, L"[The file is larger than 16 MB: only its beginning is shown.]"},
    {IDS_HINT_ZOOM_IN, L"Zoom In"},
    {IDS_HINT_ZOOM_OUT, L"Zoom Out"},
    {IDS_HINT_ROTATE, L"Rotate"},
    {IDS_HINT_FLIP_VERTICAL, L"Flip Vertical"},
    {IDS_HINT_FLIP_HORIZONTAL, L"Flip Horizontal"},
};

} // namespace

const TextTable kStrings = MakeTable(strings);

} // namespace PreviewTexts
