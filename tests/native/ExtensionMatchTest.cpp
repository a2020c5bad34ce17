#include "catalogue/catalogue/ExtensionMatch.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtensionMatch, ExtensionOfTakesTheLastDotOfTheLastComponent)
{
    const struct {
        const wchar_t* name;
        const wchar_t* extension;
    } cases[] = {
        {L"C:\\Bilder\\Foto.jpg", L".JPG"}, {L"C:\\a.b\\README", L""}, // the dot of a folder does not count
        {L"archive.tar.Gz", L".GZ"},                                   // only the part after the last dot
        {L"C:\\dir\\noextension", L""},     {L"C:\\dir\\trailing.", L"."},
        {L"C:\\dir\\.hidden", L".HIDDEN"},  {L"C:\\Müll\\straße.äöü", L".ÄÖÜ"}, // Latin-1 letters are upper-cased too
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtensionOf(c.name), c.extension) << c.name;
}

TEST(ExtensionMatch, DateiFilterComparesThreePositions)
{
    const struct {
        const wchar_t* extension;
        const wchar_t* pattern;
        bool matches;
    } cases[] = {
        {L".A", L".***", true},   {L".TXT", L".T**", true},
        {L".T", L".T**", true},   {L".DOC", L".T**", false},
        {L".HT", L".HT*", true},  {L".H", L".HT*", false},
        {L".BAK", L".BA", false}, {L".BA", L".BA", true},
        {L".bak", L".B*K", true}, {L".BOX", L".B*K", false},
        {L".~MP", L".~**", true}, {L".JPEG", L".JPE", true}, // beyond the third position nothing is compared
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateiFilter(c.extension, c.pattern), c.matches) << c.extension << L" " << c.pattern;
}

TEST(ExtensionMatch, EveryMatchingEntryCountsInMapOrder)
{
    const struct {
        const wchar_t* name;
        MatchList ids;
    } cases[] = {
        {L"C:\\x\\photo.JPG", {8, 9, 50}}, {L"C:\\x\\notes.txt", {30, 30, 9, 50}},
        {L"C:\\x\\letter.doc", {21, 50}},  {L"C:\\x\\scan.pdf", {50}}, // " .PDF" carries a blank and never matches
        {L"C:\\x\\makefile", {}},          {L"C:\\x\\tiny.t", {9, 50}},
    };
    ExtensionMap map;
    AppendExtensionList(map, L".bmp+.gif+.Jpg", 8);
    AppendExtensionList(map, L".txt+.TXT", 30);     // twice under one category
    AppendExtensionList(map, L".JPG+.t**", 9);      // also under a second category
    AppendExtensionList(map, L"++.doc+ .PDF+", 21); // empty pieces, which match nothing, and a blank
    AppendExtensionList(map, L".***", 50);
    ExtensionMatcher matcher(map);
    for (const auto& c : cases) {
        MatchList walked;
        EXPECT_EQ(CheckExtKanditat(map, c.name, walked), !c.ids.empty()) << c.name;
        EXPECT_EQ(walked, c.ids) << c.name;
        MatchList fast;
        matcher.Match(c.name, fast);
        EXPECT_EQ(fast, c.ids) << c.name;
        matcher.Match(c.name, fast); // the remembered answer is the same
        EXPECT_EQ(fast, c.ids) << c.name;
    }
    // A set cancel flag stops the walk with nothing found.
    MatchList matches{1, 2};
    int cancel = 1;
    EXPECT_FALSE(CheckExtKanditat(map, L"a.txt", matches, &cancel));
    EXPECT_TRUE(matches.empty());
}

} // namespace
