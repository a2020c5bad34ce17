#include "setup/SetupFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace SetupFormat;

TEST(SetupFormat, MegabyteTexts)
{
    struct Case {
        double bytes;
        wchar_t separator;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1572864, L',', L"1,500"}, {0, L'.', L"0.000"},        {524, L'.', L"0.000"},
        {525, L'.', L"0.001"},     {-524288, L',', L"-0,500"}, {10.5 * 1073741824.0, L'.', L"10752.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MegabyteText(c.bytes, c.separator), c.text) << c.bytes;
}

TEST(SetupFormat, DriveNumbers)
{
    const std::pair<const wchar_t*, int> cases[] = {
        {L"A:", 1}, {L"c:", 3}, {L"C:", 3}, {L"Z:", 26}, {L"", 0}, {L"C", 0}, {L"\\\\", 0}, {L"1:", 0}, {L"C:\\", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetNumber(c.first), c.second) << c.first;
}

TEST(SetupFormat, PlatformNumbers)
{
    const std::pair<std::uint32_t, int> cases[] = {
        {0xC0000A04u, 0}, // Windows 98: high bit set
        {0x05650004u, 1}, // NT 4
        {0x08930005u, 2}, // 2000
        {0x4A61000Au, 2}, // 10
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlatformFromVersion(c.first), c.second) << std::hex << c.first;
}

TEST(SetupFormat, UserKeyName)
{
    const std::vector<std::wstring> keys = {L".DEFAULT", L"S-1-5-18", L"S-1-5-21-1-1000_Classes", L"S-1-5-21-1-1000"};
    EXPECT_EQ(ChooseUserKeyName(keys, 2), L"S-1-5-18");
    EXPECT_EQ(ChooseUserKeyName(keys, 1), L"S-1-5-18");
    EXPECT_EQ(ChooseUserKeyName(keys, 0), L".DEFAULT");
    EXPECT_EQ(ChooseUserKeyName({L".default", L"x_classes", L"S-1"}, 2), L"S-1");
    EXPECT_EQ(ChooseUserKeyName({L".DEFAULT", L"S-1_Classes"}, 2), L".DEFAULT");
    EXPECT_EQ(ChooseUserKeyName({}, 2), L".DEFAULT");
}

TEST(SetupFormat, LocaleFlag)
{
    EXPECT_TRUE(GermanFromCountry(std::wstring(L"deutsch (Schweiz)")));
    EXPECT_FALSE(GermanFromCountry(std::wstring(L"Österreich")));
    EXPECT_FALSE(GermanFromCountry(std::wstring(L"")));
    EXPECT_TRUE(GermanFromCountry(std::nullopt)) << "German when the locale cannot be read";
}

TEST(SetupFormat, SpaceLines)
{
    EXPECT_EQ(SpaceLine(1048576, 3 * 1048576, true, L','), L"braucht: 1,000 MB ; frei: 3,000 MB ; übrig: 2,000 MB");
    EXPECT_EQ(SpaceLine(1048576, 3 * 1048576, false, L'.'), L"Required: 1.000 MB ; free: 3.000 MB ; rest 2.000 MB");
    EXPECT_EQ(SpaceLine(2 * 1048576, 1048576, false, L'.'), L"Required: 2.000 MB ; free: 1.000 MB ; rest -1.000 MB");
}

TEST(SetupFormat, Summary)
{
    SummaryInput in{L"C:\\Programme\\Sortaro", L"Sortaro", false, 1048576, 2097152, 1048576};
    std::vector<std::wstring> english = SummaryLines(in, false, L'.');
    ASSERT_EQ(english.size(), 16u);
    EXPECT_EQ(english[0], L"Destination directory :");
    EXPECT_EQ(english[1], L"      C:\\Programme\\Sortaro");
    EXPECT_EQ(english[2], L" ");
    EXPECT_EQ(english[4], L"Programm group :");
    EXPECT_EQ(english[9], L"      N0") << "the English summary says N0 for an unchecked option";
    EXPECT_EQ(english[14], L"      Free on drive C:\\ : 2.000 MB");
    EXPECT_EQ(english[15], L"      Rest :1.000 MB");

    in.desktopShortcut = true;
    std::vector<std::wstring> german = SummaryLines(in, true, L',');
    EXPECT_EQ(german[9], L"      Ja");
    EXPECT_EQ(german[13], L"      Benötigt : 1,000 MB");
    EXPECT_EQ(german[14], L"      Frei auf Laufwerk C:\\ : 2,000 MB");
}

TEST(SetupFormat, Destinations)
{
    EXPECT_EQ(PickedDestination(L"D:\\", L"Sortaro"), L"D:\\Sortaro");
    EXPECT_EQ(PickedDestination(L"D:\\Tools", L"Sortaro"), L"D:\\Tools\\Sortaro");
    EXPECT_EQ(PickedDestination(L"", L"Sortaro"), L"Sortaro");
}

TEST(SetupFormat, CommandLines)
{
    struct Case {
        std::vector<std::wstring> args;
        bool ok;
        bool silent;
        const wchar_t* destination;
        int german; // -1 unset
        bool uninstall = false;
    };
    const Case cases[] = {
        {{}, true, false, L"", -1},
        {{L"/S"}, true, true, L"", -1},
        {{L"/s", L"/lang=en"}, true, true, L"", 0},
        {{L"/S", L"/LANG=DE", L"/D=C:\\Program Files\\Sortaro"}, true, true, L"C:\\Program Files\\Sortaro", 1},
        {{L"/S", L"/D=C:\\Program", L"Files\\Sortaro"}, true, true, L"C:\\Program Files\\Sortaro", -1},
        {{L"/S", L"/D="}, false, false, L"", -1},
        {{L"/S", L"/LANG=FR"}, false, false, L"", -1},
        {{L"/X"}, false, false, L"", -1},
        {{L"/uninstall", L"/S"}, true, true, L"", -1, true},
        {{L"/UnInstall", L"/LANG=EN", L"/D=C:\\Programme\\Katalog"}, true, false, L"C:\\Programme\\Katalog", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        ParsedCommandLine parsed = ParseCommandLine(c.args);
        ASSERT_EQ(parsed.options.has_value(), c.ok);
        if (!parsed.options) {
            EXPECT_FALSE(parsed.error.empty());
            continue;
        }
        EXPECT_EQ(parsed.options->silent, c.silent);
        EXPECT_EQ(parsed.options->uninstall, c.uninstall);
        EXPECT_EQ(parsed.options->destination, c.destination);
        EXPECT_EQ(parsed.options->german.has_value() ? (*parsed.options->german ? 1 : 0) : -1, c.german);
    }
}

} // namespace
