#include "common/SettingsText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct DecimalCase {
    const wchar_t* text;
    std::optional<int> expected;
};

TEST(SettingsText, ParseDecimalAcceptsOnlyStrictDecimalText)
{
    const DecimalCase cases[] = {
        {L"0", 0},
        {L"1", 1},
        {L"356", 356},
        {L"-12", -12},
        {L"+7", 7},
        {L"007", 7},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"", std::nullopt},
        {L"-", std::nullopt},
        {L" 1", std::nullopt},
        {L"1 ", std::nullopt},
        {L"1.5", std::nullopt},
        {L"abc", std::nullopt},
        {L"12x", std::nullopt},
        {L"0x10", std::nullopt},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999", std::nullopt},
    };
    for (const DecimalCase& c : cases)
        EXPECT_EQ(SettingsText::ParseDecimal(c.text), c.expected)
            << "text \"" << testing::PrintToString(c.text) << "\"";
}

struct FlagCase {
    const wchar_t* text;
    std::vector<bool> before;
    std::vector<bool> after;
};

TEST(SettingsText, ApplyFlagTextSetsRowsByPosition)
{
    const FlagCase cases[] = {
        {L"1010", {false, false, false, false}, {true, false, true, false}},
        {L"0000", {true, true, true, true}, {false, false, false, false}},
        // Shorter than the list: the remaining rows keep their state.
        {L"0", {true, true, true, true}, {false, true, true, true}},
        {L"", {true, false}, {true, false}},
        // Longer than the list: the surplus is ignored.
        {L"01101", {true, true}, {false, true}},
        // Any non-zero digit checks the row.
        {L"92", {false, false}, {true, true}},
        // A character that is no digit leaves its row alone.
        {L"x0", {true, true}, {true, false}},
        {L"1", {}, {}},
    };
    for (const FlagCase& c : cases) {
        std::vector<bool> rows = c.before;
        SettingsText::ApplyFlagText(c.text, rows);
        EXPECT_EQ(rows, c.after) << "text " << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(SettingsText, FormatFlagTextIsTheInverseOfApply)
{
    EXPECT_EQ(SettingsText::FormatFlagText({true, false, true, true}), L"1011");
    EXPECT_EQ(SettingsText::FormatFlagText({}), L"");
    std::vector<bool> rows = {false, false, false, false};
    SettingsText::ApplyFlagText(SettingsText::FormatFlagText({true, false, false, true}), rows);
    EXPECT_EQ(rows, (std::vector<bool>{true, false, false, true}));
}

} // namespace
