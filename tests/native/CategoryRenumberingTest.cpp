#include "catalogue/options/CategoryRenumbering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace CategoryRenumbering;
using Moves = std::vector<Move>;
using Names = std::vector<std::wstring>;

const int kAside = kPutAside;

// Rows as the options dialog hands them over: name and the id each had when it opened.
std::vector<UserCategoryRow> Rows(std::initializer_list<std::pair<const wchar_t*, int>> rows)
{
    std::vector<UserCategoryRow> result;
    for (const auto& row : rows)
        result.push_back({row.first, L".X", L"Default", row.second});
    return result;
}

TEST(CategoryRenumbering, Plan)
{
    const struct {
        const char* what;
        std::vector<UserCategoryRow> rows;
        Names names; // as the settings number them afterwards
        std::vector<int> ids;
        Moves moves;
    } cases[] = {
        {"nothing changed", Rows({{L"A", 47}, {L"B", 48}}), {L"A", L"B"}, {47, 48}, {{47, 47}, {48, 48}}},
        {"the middle one removed: the third follows, the removed one is put aside",
         Rows({{L"A", 47}, {L"C", 49}}), {L"A", L"C"}, {47, 48, 49}, {{47, 47}, {48, kAside}, {49, 48}}},
        {"the first removed, one added", Rows({{L"B", 48}, {L"N", -1}}), {L"B", L"N"}, {47, 48},
         {{47, kAside}, {48, 47}}},
        {"a file of an id no category held is put aside, not given to a new one", Rows({{L"A", 47}, {L"N", -1}}),
         {L"A", L"N"}, {47, 48}, {{47, 47}, {48, kAside}}},
        {"the settings list the names in another order", Rows({{L"B", 47}, {L"A", 48}}), {L"A", L"B"}, {47, 48},
         {{47, 48}, {48, 47}}},
        {"a name twice, in another case: the later row with an id wins", Rows({{L"A", 47}, {L"B", 48}, {L"a", 49}}),
         {L"A", L"B"}, {47, 48, 49}, {{47, kAside}, {48, 48}, {49, 47}}},
        {"a renamed row keeps its files", Rows({{L"Neu", 47}}), {L"Neu"}, {47}, {{47, 47}}},
        {"every row removed", {}, {}, {47, 48}, {{47, kAside}, {48, kAside}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Plan(c.ids, c.names, OriginsOf(c.rows)), c.moves);
    }
}

TEST(CategoryRenumbering, ACategoryBeyondTheLastIdHasNoneToGoTo)
{
    Names names(53, L"");
    Origins origins;
    for (int k = 0; k < 54; ++k) {
        const std::wstring name = L"K" + std::to_wstring(k);
        if (k < 53)
            names[k] = name;
        origins.emplace_back(name, k == 53 ? 99 : (k == 52 ? -1 : 47 + k));
    }
    names.push_back(L"K53");
    EXPECT_EQ(Plan({98, 99}, names, origins), (Moves{{98, 98}, {99, kAside}}));
}

TEST(CategoryRenumbering, FileNames)
{
    EXPECT_EQ(TemporaryName(DataFileName(48, false)), L"48.dat.renumbering");
    EXPECT_EQ(OriginalName(L"49.facts.renumbering"), L"49.facts");
    EXPECT_EQ(OriginalName(L"49.facts"), L"");
    EXPECT_EQ(PutAsideName(L"48.facts", 0), L"48.facts.removed");
    EXPECT_EQ(PutAsideName(L"48.dat", 1), L"48.dat.2.removed");
}

TEST(CategoryRenumbering, Journal)
{
    const Origins origins = {{L"Bilder", 49}, {L"Neu mit\tTab", -1}};
    const std::wstring text = FormatJournal(origins);
    EXPECT_EQ(ParseJournal(text), origins);
    EXPECT_EQ(ParseJournal(L"Sortaro user categories\r\n"), Origins());
    // A journal cut short, or not one at all, is no journal.
    for (const std::wstring& broken :
         {text.substr(0, text.size() - 1), std::wstring(L"Sortaro\r\n"), std::wstring(L""),
          std::wstring(L"Sortaro user categories\r\nx\tA\r\n"), std::wstring(L"Sortaro user categories\r\n47A\r\n")})
        EXPECT_FALSE(ParseJournal(broken)) << std::string(broken.begin(), broken.end());

    EXPECT_TRUE(SettingsWritten(origins, {L"neu mit\tTab", L"BILDER"}));
    EXPECT_FALSE(SettingsWritten(origins, {L"Bilder"}));
}

} // namespace
