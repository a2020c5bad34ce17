// The medium's own Install.txt, read with the installer's rules: its parameters and the
// settings it gives Sortaro. What it installs, the end-to-end run installs.
#include "setup/InstallScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

InstallScript MediumScript()
{
    std::ifstream file(SORTARO_MEDIUM_DIR "/Install.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(HasUtf8Bom(bytes)) << "the script is UTF-8 with its mark";
    auto text = DecodeUtf8(bytes.size() >= 3 ? std::string_view(bytes).substr(3) : std::string_view());
    EXPECT_TRUE(text.has_value());
    return InstallScript(SplitLines(text.value_or(L"")));
}

TEST(MediumScript, Parameters)
{
    InstallScript script = MediumScript();
    EXPECT_EQ(script.GetParameter(L"[Title"), L"Sortaro");
    EXPECT_EQ(script.GetParameter(L"[ProgramGroup"), L"Sortaro");
    EXPECT_EQ(script.GetParameter(L"[MainFile"), L"Sortaro.exe");
    EXPECT_EQ(script.GetParameter(L"[MakeDir"), L"%Ziel\\Data");
    EXPECT_EQ(script.GetParameter(L"[English"), L"1");
    EXPECT_EQ(script.GetParameter(L"[product").substr(0, 4), L"für ") << "the English form replaces four characters";
    EXPECT_NE(script.GetParameter(L"[AppName"), L"");
    EXPECT_NE(script.GetParameter(L"[description"), L"");
    EXPECT_FALSE(script.RenameFiles().hasHeader) << "one program for every platform";
}

TEST(MediumScript, SettingsForSortaro)
{
    std::map<std::wstring, std::wstring> options, endings, preview;
    for (const std::wstring& line : MediumScript().AddRegLines()) {
        auto entry = ParseRegLine(line);
        ASSERT_TRUE(entry) << line;
        EXPECT_EQ(entry->root, RegRoot::CurrentUser) << line;
        EXPECT_EQ(entry->type, RegType::String) << line;
        if (entry->keyPath == L"Software\\Sortaro\\Options")
            options[entry->valueName] = entry->data;
        else if (entry->keyPath == L"Software\\Sortaro\\Options\\FileEnding")
            endings[entry->valueName] = entry->data;
        else if (entry->keyPath == L"Software\\Sortaro\\Options\\Vorschau")
            preview[entry->valueName] = entry->data;
        else
            ADD_FAILURE() << "unexpected key in " << line;
    }
    EXPECT_EQ(options, (std::map<std::wstring, std::wstring>{{L"language", L"%Language"}, {L"InstallDir", L"%Ziel"}}));

    // Every built-in category that is filled by extensions gets a list; groups, special
    // folders, the empty-file and the search category do not. The lists are upper-case
    // extensions with their dots, joined by "+"; a preview list has no separator at all.
    const std::wregex endingList(LR"(\.[A-Z0-9$~_*]+(\+\.[A-Z0-9$~_*]+)*)");
    std::set<int> ids;
    for (const auto& [name, list] : endings) {
        ids.insert(std::stoi(name));
        EXPECT_TRUE(std::regex_match(list, endingList)) << name << L": " << list;
    }
    const std::set<int> extensionCategories = {1,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 17,
                                               18, 20, 21, 23, 24, 25, 26, 27, 28, 29, 30, 34, 44, 45};
    EXPECT_EQ(ids, extensionCategories);

    std::set<std::wstring> names;
    for (const auto& [name, list] : preview) {
        names.insert(name);
        EXPECT_TRUE(std::regex_match(list, std::wregex(LR"((\.[A-Z0-9$~_*]+)+)"))) << name << L": " << list;
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"Bilddatei", L"Compressed", L"Filmdatei", L"Sounddatei", L"Symboldatei",
                                             L"Textdatei"}));
    EXPECT_NE(preview[L"Textdatei"].find(L".TXT"), std::wstring::npos);
    EXPECT_NE(preview[L"Bilddatei"].find(L".JPG"), std::wstring::npos);
    EXPECT_NE(preview[L"Compressed"].find(L".ZIP"), std::wstring::npos);
}

} // namespace
