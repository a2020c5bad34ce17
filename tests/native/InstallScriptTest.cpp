#include "setup/InstallScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

TEST(InstallScript, Parameters)
{
    struct Case {
        const char* what;
        Lines lines;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {"header in capitals is found for any-case headers", {L"[APPNAME]", L"X;"}, L"[AppName", L"X"},
        {"the value keeps its blanks, only the terminator goes", {L"[Title]", L"  T 3.0 ;"}, L"[Title", L"  T 3.0 "},
        {"without terminator the last real character goes", {L"[AppName]", L"Sortaro"}, L"[AppName", L"Sortar"},
        {"a comment naming the header before the real one counts",
         {L"; see [Title] below", L"wrong;", L"[Title]", L"right;"},
         L"[Title",
         L"wrong"},
        {"header as the last line gives the empty text", {L"[Title]"}, L"[Title", L""},
        {"an empty value line gives the empty text", {L"[Title]", L"", L"X;"}, L"[Title", L""},
        {"no such header", {L"[AppName]", L"X;"}, L"[Title", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallScript(c.lines).GetParameter(c.key), c.value) << c.what;
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
        {"[COPYFILES] in any case, [AddReg] written exactly",
         {L"[copyfiles]", L"Ziel\\a.txt;", L"]", L"[addreg]", L"HKCU,,K,v,s,d;", L"]"},
         {L"Ziel\\a.txt;", L"]"},
         {}},
        {"a section without end line runs to the end of the script",
         {L"[AddReg]", L"HKCU,,K,v,s,d;", L"HKCU,,K,w,s,e;"},
         {},
         {L"HKCU,,K,v,s,d;", L"HKCU,,K,w,s,e;"}},
        {"blank and comment lines are no [AddReg] entries; a comment with \"]\" still ends it",
         {L"[AddReg]", L"", L"   ", L"\t", L"; Optionen", L"  # x", L"// y", L"HKCU,,K,v,s,d;", L"; ende ]",
          L"HKCU,,K,w,s,e;"},
         {},
         {L"HKCU,,K,v,s,d;"}},
        {"missing sections", {L"[AppName]", L"X;"}, {}, {}},
        {"header as the last line", {L"[AddReg]"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallScript script(c.lines);
        EXPECT_EQ(script.CopyFilesLines(), c.copies);
        EXPECT_EQ(script.AddRegLines(), c.registry);
    }
}

TEST(InstallScript, CopyLines)
{
    struct Case {
        const wchar_t* line;
        CopyKind kind;
        const wchar_t* path; // nullptr: no entry
    };
    const Case cases[] = {
        {L"Ziel\\Data\\liesmich.txt;", CopyKind::Destination, L"Data\\liesmich.txt"},
        {L"WinSystemDir\\extra.dll;", CopyKind::System, L"extra.dll"},
        {L"WinStartMenu\\Sortaro.exe;", CopyKind::StartMenu, L"Sortaro.exe"},
        {L"DesktopPath\\Sortaro.exe;", CopyKind::Desktop, L"Sortaro.exe"},
        {L"Ziel\\a.txt", CopyKind::Destination, L"a.tx"},   // the last character is the terminator
        {L"ziel\\a.txt;", CopyKind::Destination, nullptr},  // prefixes are case-sensitive
        {L" Ziel\\a.txt;", CopyKind::Destination, nullptr}, // and must stand at the start
        {L"Ziel\\;", CopyKind::Destination, nullptr},       // nothing after the prefix
        {L"]", CopyKind::Destination, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto entry = ParseCopyLine(c.line);
        ASSERT_EQ(entry.has_value(), c.path != nullptr);
        if (entry) {
            EXPECT_EQ(entry->kind, c.kind);
            EXPECT_EQ(entry->relativePath, c.path);
        }
    }
}

TEST(InstallScript, ShortcutNames)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"Sortaro.exe", L"Sortaro.lnk"},
                                                               {L"readme", L"readme.lnk"},
                                                               {L"v1.2\\run", L"v1.2\\run.lnk"},
                                                               {L"a.b.html", L"a.b.lnk"}};
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutName(c.first), c.second) << c.first;
}

TEST(InstallScript, RegistryLines)
{
    struct Case {
        const wchar_t* line;
        RegRoot root;
        const wchar_t* key; // nullptr: the line is refused
        const wchar_t* name;
        RegType type;
        const wchar_t* data;
    };
    const Case cases[] = {
        {L"HKCU,,Software\\S,language,s,%Language;", RegRoot::CurrentUser, L"Software\\S", L"language", RegType::String,
         L"%Language"},
        {L"HKLM,ignored,K,n,i,42;", RegRoot::LocalMachine, L"K", L"n", RegType::Integer, L"42"},
        {L"HKUS,,\\Software\\S,n,s,x; comment", RegRoot::Users, L"\\Software\\S", L"n", RegType::String, L"x"},
        {L"HKCR,,K,n,s,no terminator", RegRoot::ClassesRoot, L"K", L"n", RegType::String, L""},
        {L"HKCC,,K,n,s,a,b;", RegRoot::CurrentConfig, L"K", L"n", RegType::String, L"a,b"},
        {L"HKDD,,K,,s,default value;", RegRoot::DynData, L"K", L"", RegType::String, L"default value"},
        // Root names and type letters are exact.
        {L"hkcu,,K,n,s,x;", RegRoot::None, L"K", L"n", RegType::String, L"x"},
        {L"HKU,,K,n,s,x;", RegRoot::None, L"K", L"n", RegType::String, L"x"},
        {L"HKCU,,K,n,S,x;", RegRoot::CurrentUser, L"K", L"n", RegType::None, L"x"},
        {L"HKCU,,K,n,b,x;", RegRoot::CurrentUser, L"K", L"n", RegType::None, L"x"},
        {L"HKCU,,K,n;", RegRoot::None, nullptr, L"", RegType::None, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto entry = ParseRegLine(c.line);
        ASSERT_EQ(entry.has_value(), c.key != nullptr);
        if (!entry)
            continue;
        EXPECT_EQ(entry->root, c.root);
        EXPECT_EQ(entry->keyPath, c.key);
        EXPECT_EQ(entry->valueName, c.name);
        EXPECT_EQ(entry->type, c.type);
        EXPECT_EQ(entry->data, c.data);
    }
}

TEST(InstallScript, Variables)
{
    ScriptVariables vars{L"C:\\Z", L"C:\\D", L"C:\\S", L"C:\\P", L"G"};
    // Names are case-sensitive ("%ziel" is unknown: the empty value, then the rest); a "%"
    // anywhere makes the text a variable name.
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"%Ziel\\a", L"C:\\Z\\a"},
        {L"%Ziel", L"C:\\Z"},
        {L"%Language", L"1"},
        {L"%ziel\\x", L"\\x"},
        {L"%WinDesktopPath\\a", L"C:\\D\\a"},
        {L"%WinSystemDir", L"C:\\S"},
        {L"%ZielStartMenu", L"C:\\P\\G"},
        {L"%Unknown", L""},
        {L"C:\\x", L"C:\\x"},
        {L"100%", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vars.Resolve(c.first), c.second) << c.first;
    vars.german = false;
    EXPECT_EQ(vars.Resolve(L"%Language"), L"0");
}

TEST(InstallScript, PathsStayInsideTheirFolder)
{
    const wchar_t* const inside[] = {
        L"Data\\liesmich.txt", L"Data/sub\\a.txt", L"a\\\\b",      L"Data\\",
        L"a..b.txt",           L"v1.2.\\x",        L"console.txt", L"com10",
    };
    for (const wchar_t* path : inside)
        EXPECT_TRUE(StaysInsideFolder(path)) << path;
    // ".." is refused wherever it stands, also where the path would end inside after all.
    // Windows drops trailing blanks and dots: ".. " and "..." are ".." and ".", "aux .txt" a device.
    const wchar_t* const outside[] = {
        L"\\",         L"..",         L"a\\..\\b.txt",      L"a/../../b",
        L"a\\.\\b",    L".. \\y.dll", L"...\\y.dll",        L"a\\. .",
        L"\\W\\y.dll", L"/etc/y",     L"\\\\srv\\s\\y.dll", L"\\\\?\\C:\\y.dll",
        L"C:\\y.dll",  L"C:y.dll",    L"a.txt:s",           L"Data\\nul.txt",
        L"com1",       L"LPT9.log",   L"aux .txt",          L"CONOUT$",
        L"",
    };
    for (const wchar_t* path : outside)
        EXPECT_FALSE(StaysInsideFolder(path)) << path;
}

TEST(InstallScript, RenameEntries)
{
    struct Case {
        const char* what;
        Lines lines;
        bool header;
        int platform; // -1: no usable entry
    };
    const Case cases[] = {
        {"well formed", {L"[RenameFiles]", L"a.exe,b.exe,2;"}, true, 2},
        {"not a number", {L"[RenameFiles]", L"a.exe,b.exe,two;"}, true, -1},
        {"number with blank", {L"[RenameFiles]", L"a.exe,b.exe, 2;"}, true, -1},
        {"one comma", {L"[RenameFiles]", L"a.exe,2;"}, true, -1},
        {"empty name", {L"[RenameFiles]", L",b.exe,2;"}, true, -1},
        {"header last", {L"[RenameFiles]"}, true, -1},
        {"the header is written exactly", {L"[renamefiles]", L"a.exe,b.exe,2;"}, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto rename = InstallScript(c.lines).RenameFiles();
        EXPECT_EQ(rename.hasHeader, c.header);
        EXPECT_EQ(rename.entry ? rename.entry->platform : -1, c.platform);
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
        {"platform matches: the first stands in for the second", L"nt.exe,a.exe,2;", L"a.exe", 2, L"nt.exe"},
        {"names compare in any case", L"nt.exe,a.exe,2;", L"A.EXE", 2, L"nt.exe"},
        {"platform differs: the second itself", L"nt.exe,a.exe,2;", L"a.exe", 0, L"a.exe"},
        {"other files are themselves", L"nt.exe,a.exe,2;", L"liesmich.txt", 2, L"liesmich.txt"},
        {"in a subfolder", L"bin\\nt.dll,bin\\x.dll,1;", L"bin\\x.dll", 1, L"bin\\nt.dll"},
        {"malformed entry", L"nt.exe,a.exe,zwei;", L"a.exe", 2, L"a.exe"},
        {"a first name outside the medium", L"..\\evil.exe,a.exe,2;", L"a.exe", 2, L"a.exe"},
        {"no section", nullptr, L"a.exe", 2, L"a.exe"},
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
    const std::pair<const wchar_t*, std::uint32_t> valid[] = {
        {L"42", 42u}, {L"-1", 0xFFFFFFFFu}, {L"4294967295", 0xFFFFFFFFu}, {L"-2147483648", 0x80000000u}};
    for (const auto& c : valid)
        EXPECT_EQ(ParseDecimal32(c.first), c.second) << c.first;
    for (const wchar_t* text : {L"4294967296", L"-2147483649", L"", L"-", L" 1", L"0x10", L"+1"})
        EXPECT_FALSE(ParseDecimal32(text)) << text;
}

TEST(InstallScript, ProductTextShorterThanItsGermanWord)
{
    // The usual texts are read off the wizard's welcome page in both locales.
    EXPECT_EQ(AdjustProductText(L"abc", false), L"for ");
}

TEST(InstallScript, TextDecoding)
{
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBF[AppName]"));
    EXPECT_FALSE(HasUtf8Bom("[AppName]"));
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
    EXPECT_EQ(DecodeUtf8("f\xC3\xBCr \xE2\x82\xAC"), L"f\u00fcr \u20ac");
    // Latin-1, cut short, overlong, a surrogate.
    for (const char* bytes : {"f\xFCr", "\xC3", "\xC0\xAF", "\xED\xA0\x80"})
        EXPECT_FALSE(DecodeUtf8(bytes)) << bytes;
    EXPECT_EQ(SplitLines(L"a\r\nb\nc\rd\r\n"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitLines(L"a\r\n\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(SplitLines(L""), Lines{});
}

} // namespace
