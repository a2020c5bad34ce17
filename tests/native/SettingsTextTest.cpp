#include "common/SettingsText.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace {

TEST(SettingsText, ParseDecimalAcceptsOnlyStrictDecimalText)
{
    const std::pair<const wchar_t*, int> numbers[] = {{L"0", 0}, {L"356", 356}, {L"-12", -12}, {L"+7", 7}, {L"007", 7}};
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(SettingsText::ParseDecimal(text), number) << testing::PrintToString(text);
    EXPECT_EQ(SettingsText::ParseDecimal(L"2147483647"), INT_MAX);
    EXPECT_EQ(SettingsText::ParseDecimal(L"-2147483648"), INT_MIN);
    for (const wchar_t* text : {L"", L"-", L" 1", L"1 ", L"1.5", L"abc", L"12x", L"0x10", L"2147483648", L"-2147483649",
                                L"99999999999999999999"})
        EXPECT_EQ(SettingsText::ParseDecimal(text), std::nullopt) << testing::PrintToString(text);
}

TEST(SettingsText, ApplyFlagTextSetsRowsByPosition)
{
    const struct {
        const wchar_t* text;
        std::vector<bool> before;
        std::vector<bool> after;
    } cases[] = {
        {L"1010", {false, false, false, false}, {true, false, true, false}},
        {L"0000", {true, true, true, true}, {false, false, false, false}},
        {L"", {true, false}, {true, false}},
        {L"01101", {true, true}, {false, true}}, // the surplus is ignored
        // Any non-zero digit checks the row.
        {L"92", {false, false}, {true, true}},
        // A character that is no digit leaves its row alone.
        {L"x0", {true, true}, {true, false}},
        {L"1", {}, {}},
    };
    for (const auto& c : cases) {
        std::vector<bool> rows = c.before;
        SettingsText::ApplyFlagText(c.text, rows);
        EXPECT_EQ(rows, c.after) << "text " << testing::PrintToString(std::wstring(c.text));
    }
}

} // namespace
