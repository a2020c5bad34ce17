#include "ExampleScript.h"
#include "setup/InstallScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

const Lines kExample = ExampleScript();

TEST(InstallScript, WorkedExampleParameters)
{
    InstallScript script(kExample);
    struct Case {
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"[AppName", L"Sortaro 3.0"},
        {L"[Title", L"Sortaro"},
        {L"[product", L"für Win9x/2000/ME/NT"},
        {L"[ProgramGroup", L"Sortaro"},
        {L"[description", L"Dateikatalog"},
        {L"[English", L"1"},
        {L"[MainFile", L"Sortaro.exe"},
        {L"[MakeDir", L"%Ziel\\Data"},
        {L"[Missing", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(script.GetParameter(c.key), c.value) << c.key;
}

TEST(InstallScript, WorkedExampleSections)
{
    InstallScript script(kExample);
    Lines copies = script.CopyFilesLines();
    ASSERT_EQ(copies.size(), 6u);
    EXPECT_EQ(copies.back(), L"]");

    std::vector<CopyKind> kinds;
    std::vector<std::wstring> paths;
    for (const std::wstring& line : copies) {
        if (auto entry = ParseCopyLine(line)) {
            kinds.push_back(entry->kind);
            paths.push_back(entry->relativePath);
        }
    }
    EXPECT_EQ(kinds, (std::vector<CopyKind>{CopyKind::Destination, CopyKind::Destination, CopyKind::System,
                                            CopyKind::StartMenu, CopyKind::Desktop}));
    EXPECT_EQ(paths, (Lines{L"Sortaro.exe", L"liesmich.txt", L"extra.dll", L"Sortaro.exe", L"Sortaro.exe"}));

    Lines registry = script.AddRegLines();
    ASSERT_EQ(registry.size(), 2u);
    auto language = ParseRegLine(registry[0]);
    ASSERT_TRUE(language);
    EXPECT_EQ(language->root, RegRoot::CurrentUser);
    EXPECT_EQ(language->keyPath, L"Software\\Sortaro\\Options");
    EXPECT_EQ(language->valueName, L"language");
    EXPECT_EQ(language->type, RegType::String);
    EXPECT_EQ(language->data, L"%Language");

    auto rename = script.RenameFiles();
    EXPECT_TRUE(rename.hasHeader);
    ASSERT_TRUE(rename.entry);
    EXPECT_EQ(rename.entry->first, L"SortaroNT.exe");
    EXPECT_EQ(rename.entry->second, L"Sortaro.exe");
    EXPECT_EQ(rename.entry->platform, 2);
}

TEST(InstallScript, HeadersAndParameterValues)
{
    struct Case {
        const char* what;
        Lines lines;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {"header in capitals is found for any-case headers", {L"[APPNAME]", L"X;"}, L"[AppName", L"X"},
        {"value keeps inner blanks", {L"[AppName]", L"Sortaro 3.0;"}, L"[AppName", L"Sortaro 3.0"},
        {"a value without terminator loses its last real character",
         {L"[AppName]", L"Sortaro"},
         L"[AppName",
         L"Sortar"},
        {"a comment naming the header before the real one counts",
         {L"; see [Title] below", L"wrong;", L"[Title]", L"right;"},
         L"[Title",
         L"wrong"},
        {"header as the last line gives the empty text", {L"[Title]"}, L"[Title", L""},
        {"header matched anywhere in the line", {L"  xx[Title]yy", L"T;"}, L"[Title", L"T"},
        {"lines are not trimmed", {L"[Title]", L"  T ;"}, L"[Title", L"  T "},
        {"an empty value line gives the empty text", {L"[Title]", L"", L"X;"}, L"[Title", L""},
        {"no script at all", {}, L"[Title", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallScript(c.lines).GetParameter(c.key), c.value) << c.what;
}

TEST(InstallScript, HeaderCaseRules)
{
    InstallScript lower(
        {L"[addreg]", L"HKCU,,K,v,s,d;", L"]", L"[renamefiles]", L"a,b,2;", L"[copyfiles]", L"Ziel\\a.txt;", L"]"});
    EXPECT_TRUE(lower.AddRegLines().empty()) << "[AddReg] must be written exactly";
    EXPECT_FALSE(lower.RenameFiles().hasHeader) << "[RenameFiles] must be written exactly";
    EXPECT_EQ(lower.CopyFilesLines(), (Lines{L"Ziel\\a.txt;", L"]"})) << "[COPYFILES] in any case";
}

TEST(InstallScript, SectionEnds)
{
    struct Case {
        const char* what;
        Lines lines;
        Lines copies;
        Lines registry;
    };
    const Case cases[] = {
        {"the end line of [COPYFILES] is still an entry, in [AddReg] it is not",
         {L"[COPYFILES]", L"Ziel\\a]b.txt;", L"Ziel\\c.txt;", L"[AddReg]", L"HKCU,,K,a]b,s,x;", L"HKCU,,K,c,s,y;"},
         {L"Ziel\\a]b.txt;"},
         {}},
        {"a following header ends a section",
         {L"[COPYFILES]", L"Ziel\\a.txt;", L"[AddReg]", L"HKCU,,K,v,s,d;", L"[MainFile]", L"a.exe;"},
         {L"Ziel\\a.txt;", L"[AddReg]"},
         {L"HKCU,,K,v,s,d;"}},
        {"a section without end line runs to the end of the script",
         {L"[AddReg]", L"HKCU,,K,v,s,d;", L"HKCU,,K,w,s,e;"},
         {},
         {L"HKCU,,K,v,s,d;", L"HKCU,,K,w,s,e;"}},
        {"empty sections", {L"[COPYFILES]", L"]", L"[AddReg]", L"]"}, {L"]"}, {}},
        {"blank and comment lines are no [AddReg] entries; a comment with \"]\" still ends it",
         {L"[AddReg]", L"", L"   ", L"\t", L"; Optionen", L"  # x", L"// y", L"HKCU,,K,v,s,d;", L"; ende ]",
          L"HKCU,,K,w,s,e;"},
         {},
         {L"HKCU,,K,v,s,d;"}},
        {"missing sections", {L"[AppName]", L"X;"}, {}, {}},
        {"header as the last line", {L"[AddReg]"}, {}, {}},
    };
    for (const Case& c : cases) {
        InstallScript script(c.lines);
        EXPECT_EQ(script.CopyFilesLines(), c.copies) << c.what;
        EXPECT_EQ(script.AddRegLines(), c.registry) << c.what;
    }
}

TEST(InstallScript, CopyLines)
{
    struct Case {
        const wchar_t* line;
        bool entry;
        CopyKind kind;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"Ziel\\Data\\liesmich.txt;", true, CopyKind::Destination, L"Data\\liesmich.txt"},
        {L"WinSystemDir\\extra.dll;", true, CopyKind::System, L"extra.dll"},
        {L"WinStartMenu\\Sortaro.exe;", true, CopyKind::StartMenu, L"Sortaro.exe"},
        {L"DesktopPath\\Sortaro.exe;", true, CopyKind::Desktop, L"Sortaro.exe"},
        {L"ziel\\a.txt;", false, CopyKind::Destination, L""},  // prefixes are case-sensitive
        {L" Ziel\\a.txt;", false, CopyKind::Destination, L""}, // and must stand at the start
        {L"Extra\\Ziel\\a.txt;", false, CopyKind::Destination, L""},
        {L"Ziel\\;", false, CopyKind::Destination, L""}, // nothing after the prefix
        {L"Ziel\\", false, CopyKind::Destination, L""},
        {L"]", false, CopyKind::Destination, L""},
        {L"", false, CopyKind::Destination, L""},
        {L"Ziel\\a.txt", true, CopyKind::Destination, L"a.tx"}, // the last character is the terminator
    };
    for (const Case& c : cases) {
        auto entry = ParseCopyLine(c.line);
        ASSERT_EQ(entry.has_value(), c.entry) << c.line;
        if (entry) {
            EXPECT_EQ(entry->kind, c.kind) << c.line;
            EXPECT_EQ(entry->relativePath, c.path) << c.line;
        }
    }
}

TEST(InstallScript, ShortcutNames)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Sortaro.exe", L"Sortaro.lnk"}, {L"x.py", L"x.lnk"},
        {L"readme", L"readme.lnk"},       {L"bin\\tool.exe", L"bin\\tool.lnk"},
        {L"v1.2\\run", L"v1.2\\run.lnk"}, {L"a.b.html", L"a.b.lnk"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutName(c.first), c.second) << c.first;
}

TEST(InstallScript, RegistryLines)
{
    struct Case {
        const wchar_t* line;
        bool parsed;
        RegRoot root;
        const wchar_t* key;
        const wchar_t* name;
        RegType type;
        const wchar_t* data;
    };
    const Case cases[] = {
        {L"HKCU,,Software\\S,language,s,%Language;", true, RegRoot::CurrentUser, L"Software\\S", L"language",
         RegType::String, L"%Language"},
        {L"HKLM,ignored,K,n,i,42;", true, RegRoot::LocalMachine, L"K", L"n", RegType::Integer, L"42"},
        {L"HKUS,,\\Software\\S,n,s,x; comment", true, RegRoot::Users, L"\\Software\\S", L"n", RegType::String, L"x"},
        {L"HKCR,,K,n,s,no terminator", true, RegRoot::ClassesRoot, L"K", L"n", RegType::String, L""},
        {L"HKCC,,K,n,s,a,b;", true, RegRoot::CurrentConfig, L"K", L"n", RegType::String, L"a,b"},
        {L"HKDD,,K,,s,default value;", true, RegRoot::DynData, L"K", L"", RegType::String, L"default value"},
        {L"hkcu,,K,n,s,x;", true, RegRoot::None, L"K", L"n", RegType::String, L"x"},
        {L"HKCU,,K,n,S,x;", true, RegRoot::CurrentUser, L"K", L"n", RegType::None, L"x"},
        {L"HKCU,,K,n,b,x;", true, RegRoot::CurrentUser, L"K", L"n", RegType::None, L"x"},
        {L"HKCU,,K,n;", false, RegRoot::None, L"", L"", RegType::None, L""},
        {L"", false, RegRoot::None, L"", L"", RegType::None, L""},
    };
    for (const Case& c : cases) {
        auto entry = ParseRegLine(c.line);
        ASSERT_EQ(entry.has_value(), c.parsed) << c.line;
        if (!entry)
            continue;
        EXPECT_EQ(entry->root, c.root) << c.line;
        EXPECT_EQ(entry->keyPath, c.key) << c.line;
        EXPECT_EQ(entry->valueName, c.name) << c.line;
        EXPECT_EQ(entry->type, c.type) << c.line;
        EXPECT_EQ(entry->data, c.data) << c.line;
    }
}

TEST(InstallScript, RootNames)
{
    const std::pair<const wchar_t*, RegRoot> cases[] = {
        {L"HKCR", RegRoot::ClassesRoot},   {L"HKCU", RegRoot::CurrentUser},
        {L"HKLM", RegRoot::LocalMachine},  {L"HKUS", RegRoot::Users},
        {L"HKCC", RegRoot::CurrentConfig}, {L"HKDD", RegRoot::DynData},
        {L"HKU", RegRoot::None},           {L"hklm", RegRoot::None},
        {L" HKCU", RegRoot::None},         {L"", RegRoot::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetHKEY(c.first), c.second) << c.first;
}

TEST(InstallScript, Variables)
{
    ScriptVariables vars;
    vars.destination = L"C:\\Programme\\Sortaro";
    vars.desktop = L"C:\\Desktop";
    vars.system = L"C:\\WINDOWS\\system32";
    vars.programs = L"C:\\Start\\Programme";
    vars.programGroup = L"Sortaro";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"%Ziel\\Sortaro.exe", L"C:\\Programme\\Sortaro\\Sortaro.exe"},
        {L"%Ziel", L"C:\\Programme\\Sortaro"},
        {L"%Language", L"1"},
        {L"%ziel\\x", L"\\x"}, // names are case-sensitive: the empty value, then the rest
        {L"%WinDesktopPath\\a", L"C:\\Desktop\\a"},
        {L"%WinSystemDir", L"C:\\WINDOWS\\system32"},
        {L"%ZielStartMenu", L"C:\\Start\\Programme\\Sortaro"},
        {L"%Unknown", L""},
        {L"literal text", L"literal text"},
        {L"C:\\x", L"C:\\x"},
        {L"100%", L""}, // a "%" anywhere makes the text a variable name
    };
    for (const auto& c : cases)
        EXPECT_EQ(vars.Resolve(c.first), c.second) << c.first;
    vars.german = false;
    EXPECT_EQ(vars.Resolve(L"%Language"), L"0");
}

TEST(InstallScript, PathsStayInsideTheirFolder)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"Sortaro.exe", true},
        {L"Data\\liesmich.txt", true},
        {L"Data/sub\\a.txt", true},
        {L"a\\\\b", true}, // a doubled separator is read as one
        {L"Data\\", true},
        {L"a..b.txt", true},
        {L"v1.2.\\x", true},
        {L"console.txt", true},
        {L"com10", true},
        {L"", false},
        {L"\\", false},
        {L"..", false},
        {L"..\\..\\X\\y.dll", false},
        {L"Data\\..\\..\\y.dll", false},
        {L"Data\\..\\a.txt", false}, // inside after all, but ".." is refused wherever it stands
        {L"Data/../../y.dll", false},
        {L"a\\.\\b", false},
        {L".. \\y.dll", false}, // Windows drops trailing blanks and dots: ".. " and "..." are ".." and "."
        {L"...\\y.dll", false},
        {L"a\\. .", false},
        {L"\\Windows\\y.dll", false},
        {L"/etc/y", false},
        {L"\\\\server\\share\\y.dll", false},
        {L"\\\\?\\C:\\y.dll", false},
        {L"\\\\.\\PhysicalDrive0", false},
        {L"C:\\Windows\\y.dll", false},
        {L"C:y.dll", false},
        {L"a.txt:stream", false},
        {L"NUL", false},
        {L"Data\\nul.txt", false},
        {L"com1", false},
        {L"LPT9.log", false},
        {L"aux .txt", false},
        {L"CONOUT$", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StaysInsideFolder(c.first), c.second) << c.first;
}

TEST(InstallScript, RenameEntries)
{
    struct Case {
        const char* what;
        Lines lines;
        bool header;
        bool entry;
        int platform;
    };
    const Case cases[] = {
        {"well formed", {L"[RenameFiles]", L"a.exe,b.exe,2;"}, true, true, 2},
        {"platform 0", {L"[RenameFiles]", L"a.exe,b.exe,0;"}, true, true, 0},
        {"not a number", {L"[RenameFiles]", L"a.exe,b.exe,two;"}, true, false, 0},
        {"number with blank", {L"[RenameFiles]", L"a.exe,b.exe, 2;"}, true, false, 0},
        {"empty number", {L"[RenameFiles]", L"a.exe,b.exe,;"}, true, false, 0},
        {"one comma", {L"[RenameFiles]", L"a.exe,2;"}, true, false, 0},
        {"empty name", {L"[RenameFiles]", L",b.exe,2;"}, true, false, 0},
        {"header last", {L"[RenameFiles]"}, true, false, 0},
        {"no header", {L"[AppName]", L"x;"}, false, false, 0},
    };
    for (const Case& c : cases) {
        auto rename = InstallScript(c.lines).RenameFiles();
        EXPECT_EQ(rename.hasHeader, c.header) << c.what;
        ASSERT_EQ(rename.entry.has_value(), c.entry) << c.what;
        if (rename.entry) {
            EXPECT_EQ(rename.entry->platform, c.platform) << c.what;
        }
    }
}

TEST(InstallScript, VariantForThePlatform)
{
    struct Case {
        const char* what;
        const wchar_t* entry; // nullptr: no [RenameFiles] section
        const wchar_t* copied;
        int platform;
        const wchar_t* source;
    };
    const Case cases[] = {
        {"platform matches: the first stands in for the second", L"SortaroNT.exe,Sortaro.exe,2;", L"Sortaro.exe", 2,
         L"SortaroNT.exe"},
        {"names compare in any case", L"SortaroNT.exe,Sortaro.exe,2;", L"SORTARO.EXE", 2, L"SortaroNT.exe"},
        {"platform differs: the second itself", L"SortaroNT.exe,Sortaro.exe,2;", L"Sortaro.exe", 0, L"Sortaro.exe"},
        {"other files are themselves", L"SortaroNT.exe,Sortaro.exe,2;", L"liesmich.txt", 2, L"liesmich.txt"},
        {"in a subfolder", L"bin\\nt.dll,bin\\x.dll,1;", L"bin\\x.dll", 1, L"bin\\nt.dll"},
        {"malformed entry", L"SortaroNT.exe,Sortaro.exe,zwei;", L"Sortaro.exe", 2, L"Sortaro.exe"},
        {"a first name outside the medium", L"..\\evil.exe,Sortaro.exe,2;", L"Sortaro.exe", 2, L"Sortaro.exe"},
        {"no section", nullptr, L"Sortaro.exe", 2, L"Sortaro.exe"},
    };
    for (const Case& c : cases) {
        Lines lines = {L"[AppName]", L"x;"};
        if (c.entry)
            lines.insert(lines.end(), {L"[RenameFiles]", c.entry});
        EXPECT_EQ(InstallScript(lines).SourceFor(c.copied, c.platform), c.source) << c.what;
    }
}

TEST(InstallScript, DecimalValues)
{
    struct Case {
        const wchar_t* text;
        bool valid;
        std::uint32_t value;
    };
    const Case cases[] = {
        {L"0", true, 0},
        {L"42", true, 42},
        {L"-1", true, 0xFFFFFFFFu},
        {L"4294967295", true, 0xFFFFFFFFu},
        {L"-2147483648", true, 0x80000000u},
        {L"4294967296", false, 0},
        {L"-2147483649", false, 0},
        {L"12345678901", false, 0},
        {L"", false, 0},
        {L"-", false, 0},
        {L" 1", false, 0},
        {L"1x", false, 0},
        {L"0x10", false, 0},
        {L"+1", false, 0},
    };
    for (const Case& c : cases) {
        auto value = ParseDecimal32(c.text);
        ASSERT_EQ(value.has_value(), c.valid) << c.text;
        if (value) {
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
}

TEST(InstallScript, ProductText)
{
    EXPECT_EQ(AdjustProductText(L"für Win9x/2000/ME/NT", false), L"for Win9x/2000/ME/NT");
    EXPECT_EQ(AdjustProductText(L"für Win9x/2000/ME/NT", true), L"für Win9x/2000/ME/NT");
    EXPECT_EQ(AdjustProductText(L"abc", false), L"for ");
    EXPECT_EQ(AdjustProductText(L"", false), L"for ");
}

TEST(InstallScript, TextDecoding)
{
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBF[AppName]"));
    EXPECT_FALSE(HasUtf8Bom("[AppName]"));
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
    struct Case {
        std::string bytes;
        bool valid;
        std::wstring text;
    };
    const Case cases[] = {
        {"f\xC3\xBCr", true, L"f\u00fcr"},
        {"\xE2\x82\xAC", true, L"\u20ac"},
        {"plain", true, L"plain"},
        {"f\xFCr", false, L""},       // Latin-1 is not UTF-8
        {"\xC3", false, L""},         // cut short
        {"\xC0\xAF", false, L""},     // overlong
        {"\xED\xA0\x80", false, L""}, // surrogate
    };
    for (const Case& c : cases) {
        auto text = DecodeUtf8(c.bytes);
        ASSERT_EQ(text.has_value(), c.valid) << c.bytes;
        if (text) {
            EXPECT_EQ(*text, c.text);
        }
    }
    EXPECT_EQ(SplitLines(L"a\r\nb\nc\rd\r\n"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitLines(L"a\r\n\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(SplitLines(L""), Lines{});
}

} // namespace
