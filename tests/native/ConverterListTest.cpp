#include "catalogue/preview/ConverterList.h"

#include <gtest/gtest.h>

namespace {

TEST(ConverterList, SortedOnceWithTheirPatternsAndFoundByExtension)
{
    const std::wstring longToken(300, L'x');
    const struct {
        std::wstring extensions, patterns;
    } splits[] = {
        {L"doc dot", L"*.doc;*.dot"},
        {L"  wpd   doc ", L"*.wpd;*.doc"},
        {L"   ", L""},
        {longToken, L"*." + longToken.substr(0, 255)},
    };
    for (const auto& s : splits)
        EXPECT_EQ(PatternList(s.extensions), s.patterns) << s.extensions;

    // In the order the three registry places are read.
    const struct {
        const wchar_t *key, *name, *extensions, *path, *application;
    } found[] = {
        {L"MSWord6", L"Word 6.0/95", L"doc", L"C:\\c\\mswrd632.wpc", L""},
        {L"WrdPrfct", L"WordPerfect 6.x", L"wpd doc", L"C:\\c\\wpft632.cnv", L""},
        {L"MSWord6", L"Word 6.0/95", L"doc", L"C:\\c\\mswrd632.wpc", L"Word 95"}, // listed already
        {L"MSWord6b", L"Word 6.0/95", L"dot", L"C:\\c\\mswrd6b.wpc", L""},        // after its equal
        {L"AmiPro", L"ami Pro 3", L"sam", L"C:\\c\\amipro.cnv", L"Word 97"},      // case is no matter
        {L"NoLibrary", L"Ohne", L"txt", L"", L""},
        {L"NoPatterns", L"Leer", L"  ", L"C:\\c\\leer.cnv", L""},
        {L"Bar", L"Eins|Zwei", L"xyz", L"C:\\c\\bar.cnv", L""},
    };
    ConverterList list;
    for (const auto& f : found)
        list.Add(f.key, f.name, f.extensions, f.path, f.application);
    const std::wstring filter = list.FilterText();
    EXPECT_EQ(filter, L"ami Pro 3 - Word 97 (*.sam)|*.sam|Word 6.0/95 (*.doc)|*.doc|Word 6.0/95 (*.dot)|*.dot|"
                      L"WordPerfect 6.x (*.wpd;*.doc)|*.wpd;*.doc");
    ASSERT_EQ(list.Items().size(), 4u);
    EXPECT_EQ(list.Items()[2].path, L"C:\\c\\mswrd6b.wpc");

    const struct {
        const wchar_t* ext;
        std::vector<int> indexes;
    } lookups[] = {
        // ".X" is only in a description, which is not searched.
        {L".doc", {1, 3}}, {L".DOT", {2}}, {L".SAM", {0}}, {L".wpd", {3}}, {L".X", {}}, {L"", {}},
    };
    for (const auto& l : lookups)
        EXPECT_EQ(ConvertersFor(filter, l.ext), l.indexes) << l.ext;
}

} // namespace
