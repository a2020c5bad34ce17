#include "catalogue/preview/ConverterList.h"

#include <gtest/gtest.h>

namespace {

TEST(ConverterList, SortedOnceWithTheirPatternsAndFoundByExtension)
{
    // In the order the three registry places are read: key, name, extensions, library, program.
    const std::vector<std::vector<std::wstring>> found = {
        {L"MSWord6", L"Word 6.0/95", L"doc", L"C:\\c\\mswrd632.wpc", L""},
        {L"WrdPrfct", L"WordPerfect 6.x", L" wpd   doc ", L"C:\\c\\wpft632.cnv", L""},
        {L"MSWord6", L"Word 6.0/95", L"doc", L"C:\\c\\mswrd632.wpc", L"Word 95"}, // listed already
        {L"MSWord6b", L"Word 6.0/95", L"dot", L"C:\\c\\mswrd6b.wpc", L""},        // after its equal
        {L"AmiPro", L"ami Pro 3", L"sam", L"C:\\c\\amipro.cnv", L"Word 97"},      // case is no matter
        {L"NoLibrary", L"Ohne", L"txt", L"", L""},
        {L"NoPatterns", L"Leer", L"  ", L"C:\\c\\leer.cnv", L""},
        {L"Bar", L"Eins|Zwei", L"xyz", L"C:\\c\\bar.cnv", L""},
    };
    ConverterList list;
    for (const auto& f : found)
        list.Add(f[0], f[1], f[2], f[3], f[4]);
    const std::wstring filter = list.FilterText();
    EXPECT_EQ(filter, L"ami Pro 3 - Word 97 (*.sam)|*.sam|Word 6.0/95 (*.doc)|*.doc|Word 6.0/95 (*.dot)|*.dot|"
                      L"WordPerfect 6.x (*.wpd;*.doc)|*.wpd;*.doc");

    // ".X" is only in a description, which is not searched.
    for (const auto& [ext, indexes] : std::vector<std::pair<std::wstring, std::vector<int>>>{
             {L".doc", {1, 3}}, {L".DOT", {2}}, {L".SAM", {0}}, {L".wpd", {3}}, {L".X", {}}, {L"", {}}})
        EXPECT_EQ(ConvertersFor(filter, ext), indexes) << ext;
}

} // namespace
