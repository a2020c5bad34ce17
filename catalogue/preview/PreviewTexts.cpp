#include "PreviewTexts.h"

#include "PreviewIds.h"

namespace PreviewTexts {

namespace {

const ControlText strings[] = {
    {IDS_HINT_ZOOM_IN, L"Zoom In"},
    {IDS_HINT_ZOOM_OUT, L"Zoom Out"},
    {IDS_HINT_ROTATE, L"Rotate"},
    {IDS_HINT_FLIP_VERTICAL, L"Flip Vertical"},
    {IDS_HINT_FLIP_HORIZONTAL, L"Flip Horizontal"},
};

} // namespace

const TextTable kStrings = MakeTable(strings);

} // namespace PreviewTexts
