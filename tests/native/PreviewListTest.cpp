#include "catalogue/preview/PreviewList.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewList, FirstEntryContainingTheExtensionDecides)
{
    const std::vector<PreviewEntry> entries = {
        {L"Bilddatei", L".JPG.JPEG.BMP"}, {L"Unbekannt", L".XYZ"}, {L"Textdatei", L".TXT.BMP"},
        {L"Compressed", L".ZIP.LZH"},     {L"textdatei", L".INI"},
    };
    const struct {
        const wchar_t* ext;
        int kind; // -1: no viewer
    } cases[] = {
        {L".JPG", int(ViewerKind::Picture)},  {L".JP", int(ViewerKind::Picture)}, // any substring
        {L".BMP", int(ViewerKind::Picture)},                                      // the first entry wins
        {L".TXT", int(ViewerKind::Text)},     {L".ZIP", int(ViewerKind::Archive)},
        {L".XYZ", -1},                                                            // an entry of no viewer
        {L".INI", -1},                                                            // names are exact
        {L".jpg", -1},                                                            // upper case only
        {L"", -1},                                                                // no extension
        {L".DOC", -1},
    };
    for (const auto& c : cases) {
        const auto kind = FindViewer(entries, c.ext);
        EXPECT_EQ(kind ? int(*kind) : -1, c.kind) << c.ext;
    }
}

} // namespace
