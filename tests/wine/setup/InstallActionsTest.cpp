#include "SetupTestSupport.h"
#include "tests/native/ExampleScript.h"
#include "common/UniqueHandle.h"
#include "setup/Installer.h"
#include "setup/SilentInstall.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <map>

using namespace SetupTest;

namespace {

const wchar_t* const kTestKey = L"Software\\SortaroSetupTest";

// Every file below a folder with its content, by path relative to it.
std::map<std::wstring, std::string> Snapshot(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files;
    ForEachBelow(folder, [&](const std::wstring& relative, bool isFolder) {
        if (!isFolder)
            files[relative] = ReadFile(folder + L"\\" + relative);
    });
    return files;
}

class InstallActions : public testing::Test {
protected:
    void SetUp() override
    {
        env = TestEnvironment(scratch);
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
    }
    void TearDown() override
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
        SHDeleteKeyW(HKEY_USERS, (env.userKeyName + L"\\" + kTestKey).c_str());
        ForgetRegistration();
    }

    // An installer for a script written into the medium folder and read back from there.
    Installer Load(const std::vector<std::wstring>& lines)
    {
        WriteScript(env.source + L"\\Install.txt", lines);
        DWORD error = 0;
        std::optional<InstallScript> script = LoadInstallScript(env.source + L"\\Install.txt", error);
        EXPECT_TRUE(script.has_value()) << error;
        Installer installer(env, script.value_or(InstallScript()));
        installer.ReadParameters();
        installer.ReadLateParameters();
        installer.SetDestination(scratch.Path() + L"\\target\\Sortaro");
        return installer;
    }

    std::wstring Target(const std::wstring& relative) const
    {
        return scratch.Path() + L"\\target\\Sortaro\\" + relative;
    }

    ScratchFolder scratch;
    InstallEnvironment env;
};

TEST_F(InstallActions, RunCopiesFilesFolderShortcutsAndRegistry)
{
    WriteFile(env.source + L"\\Sortaro.exe", "program");
    WriteFile(env.source + L"\\liesmich.txt", "lies mich");
    WriteFile(env.source + L"\\Data\\a.txt", "ziel-unterordner");
    WriteFile(env.source + L"\\Data\\b.dat", "db");
    WriteFile(env.source + L"\\Data\\sub\\c.txt", "deep");
    WriteFile(env.source + L"\\extra.dll", "dll");
    Installer installer = Load({
        L"[AppName]",
        L"Sortaro 3.0;",
        L"[ProgramGroup]",
        L"Sortaro;",
        L"[description]",
        L"Dateikatalog;",
        L"[MakeDir]",
        L"%Ziel\\Data;",
        L"[MainFile]",
        L"Sortaro.exe;",
        L"[COPYFILES]",
        L"Ziel\\Sortaro.exe;",
        L"Ziel\\liesmich.txt;",
        L"Ziel\\Data\\a.txt;",
        L"WinSystemDir\\extra.dll;",
        L"WinStartMenu\\Sortaro.exe;",
        L"DesktopPath\\Sortaro.exe;",
        L"]",
        L"[AddReg]",
        L"HKCU,,Software\\SortaroSetupTest,language,s,%Language;",
        L"HKCU,,Software\\SortaroSetupTest,InstallDir,s,%Ziel;",
        L"HKCU,,Software\\SortaroSetupTest\\Sub,Program,s,%Ziel\\Sortaro.exe;",
        L"HKCU,,Software\\SortaroSetupTest,Count,i,42;",
        L"HKCU,,Software\\SortaroSetupTest,Literal,s,plain text; ignored",
        L"HKUS,,\\Software\\SortaroSetupTest,User,s,below the user key;",
        L"]",
    });
    std::vector<std::wstring> statuses;
    installer.OnStatus([&](const std::wstring& text) { statuses.push_back(text); });
    installer.Run();

    EXPECT_TRUE(installer.Failures().empty()) << installer.Failures().front();
    EXPECT_EQ(ReadFile(Target(L"Sortaro.exe")), "program");
    EXPECT_EQ(ReadFile(Target(L"liesmich.txt")), "lies mich");
    EXPECT_EQ(ReadFile(Target(L"Data\\a.txt")), "ziel-unterordner") << "target subfolders are made before copying";
    EXPECT_EQ(ReadFile(env.system + L"\\extra.dll"), "dll");
    EXPECT_EQ(ReadFile(Target(L"Data\\b.dat")), "db") << "the [MakeDir] folder copy";
    EXPECT_EQ(ReadFile(Target(L"Data\\sub\\c.txt")), "deep");

    for (const std::wstring& link : {env.programs + L"\\Sortaro\\Sortaro.lnk", env.desktop + L"\\Sortaro.lnk"}) {
        ShortcutInfo info = ReadShortcut(link);
        ASSERT_TRUE(info.loaded) << link.c_str();
        EXPECT_EQ(info.target, Target(L"Sortaro.exe"));
        EXPECT_EQ(info.workingFolder, scratch.Path() + L"\\target\\Sortaro");
        EXPECT_EQ(info.description, L"Dateikatalog");
        // Set as 5 (SW_SHOW); the link format keeps only normal, maximised and minimised and
        // stores every other command as normal.
        EXPECT_EQ(info.showCommand, SW_SHOWNORMAL);
    }

    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"language"), L"1");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"InstallDir"), scratch.Path() + L"\\target\\Sortaro");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Sub", L"Program"), Target(L"Sortaro.exe"));
    EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, kTestKey, L"Count"), 42u);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"Literal"), L"plain text");
    EXPECT_EQ(RegText(HKEY_USERS, env.userKeyName + L"\\" + kTestKey, L"User"), L"below the user key");

    const std::vector<std::wstring> expected = {
        L"Kopiere Dateien . . . ",
        L"Installieren der Datei Sortaro.exe",
        L"Installieren der Datei liesmich.txt",
        L"Installieren der Datei Data\\a.txt",
        L"Installieren der Datei extra.dll",
        L"Erstelle Verknüpfungen . . . ",
        L"Installieren der Datei Sortaro.exe",
        L"Installieren der Datei Sortaro.exe",
        L"Erstelle Registrierungseinträge . . . ",
    };
    EXPECT_EQ(statuses, expected);
}

TEST_F(InstallActions, EnglishStatusTexts)
{
    WriteFile(env.source + L"\\a.txt", "a");
    Installer installer = Load({L"[COPYFILES]", L"Ziel\\a.txt;", L"WinStartMenu\\a.txt;", L"]"});
    installer.SetGerman(false);
    std::vector<std::wstring> statuses;
    installer.OnStatus([&](const std::wstring& text) { statuses.push_back(text); });
    installer.Run();
    EXPECT_EQ(statuses,
              (std::vector<std::wstring>{L"Copy Files . . . ", L"Installing a.txt", L"Create Shortcuts . . . ",
                                         L"Installating a.txt", L"Registry Entries . . . "}));
}

TEST_F(InstallActions, FailuresAreListed)
{
    WriteFile(env.source + L"\\present.txt", "x");
    Installer installer = Load({
        L"[MakeDir]",
        L"Data;",
        L"[RenameFiles]",
        L"a.exe,b.exe,zwei;",
        L"[COPYFILES]",
        L"Ziel\\missing.txt;",
        L"Ziel\\present.txt;",
        L"]",
        L"[AddReg]",
        L"HKCU,,Software\\SortaroSetupTest,Good,s,1;",
        L"HKXX,,Software\\SortaroSetupTest,BadRoot,s,1;",
        L"HKCU,,Software\\SortaroSetupTest,BadType,x,1;",
        L"HKCU,,Software\\SortaroSetupTest,BadNumber,i,12a;",
        L"HKCU,Software\\SortaroSetupTest;",
        L"]",
    });
    installer.CheckRenameFile();
    installer.Run();
    const std::vector<std::wstring> expected = {
        L"Fehlerhafte Zeile in Install.txt übergangen: [RenameFiles] a.exe,b.exe,zwei;",
        L"Datei nicht kopiert: missing.txt",
        L"Fehlerhafte Zeile in Install.txt übergangen: [MakeDir] Data",
        L"Fehlerhafte Zeile in Install.txt übergangen: HKXX,,Software\\SortaroSetupTest,BadRoot,s,1;",
        L"Fehlerhafte Zeile in Install.txt übergangen: HKCU,,Software\\SortaroSetupTest,BadType,x,1;",
        L"Registrierungseintrag nicht geschrieben: HKCU,,Software\\SortaroSetupTest,BadNumber,i,12a;",
        L"Fehlerhafte Zeile in Install.txt übergangen: HKCU,Software\\SortaroSetupTest;",
    };
    EXPECT_EQ(installer.Failures(), expected);
    EXPECT_EQ(ReadFile(Target(L"present.txt")), "x") << "the run goes on after a failure";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"Good"), L"1");
    EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, kTestKey, L"BadNumber"), 0xDEADBEEFu) << "no guessed number is written";
}

TEST_F(InstallActions, FailedShortcutIsListed)
{
    // A file where the group folder should be: neither the folder nor the link can be made.
    WriteFile(env.programs + L"\\Blocked", "not a folder");
    Installer installer = Load({L"[ProgramGroup]", L"Blocked;", L"[COPYFILES]", L"WinStartMenu\\a.exe;", L"]"});
    installer.Run();
    ASSERT_EQ(installer.Failures().size(), 2u);
    EXPECT_EQ(installer.Failures()[0], L"Ordner nicht erstellt: " + env.programs + L"\\Blocked");
    EXPECT_EQ(installer.Failures()[1], L"Verknüpfung nicht erstellt: " + env.programs + L"\\Blocked\\a.lnk");
}

TEST_F(InstallActions, DesktopOptionAndEmptySection)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> copies;
        bool desktop;
        bool groupLink;
        bool desktopLink;
    };
    const Case cases[] = {
        {"desktop option off", {L"WinStartMenu\\a.exe;", L"DesktopPath\\a.exe;", L"]"}, false, true, false},
        {"desktop option on", {L"WinStartMenu\\a.exe;", L"DesktopPath\\a.exe;", L"]"}, true, true, true},
        {"empty section makes only the group folder", {L"]"}, true, false, false},
    };
    for (const Case& c : cases) {
        RemoveTree(env.programs + L"\\Gruppe");
        DeleteFileW((env.desktop + L"\\a.lnk").c_str());
        std::vector<std::wstring> lines = {L"[ProgramGroup]", L"Gruppe;", L"[COPYFILES]"};
        lines.insert(lines.end(), c.copies.begin(), c.copies.end());
        Installer installer = Load(lines);
        installer.SetDesktopShortcut(c.desktop);
        installer.Run();
        EXPECT_TRUE(Exists(env.programs + L"\\Gruppe")) << c.what;
        EXPECT_EQ(Exists(env.programs + L"\\Gruppe\\a.lnk"), c.groupLink) << c.what;
        EXPECT_EQ(Exists(env.desktop + L"\\a.lnk"), c.desktopLink) << c.what;
        EXPECT_TRUE(installer.Failures().empty()) << c.what;
    }
}

TEST_F(InstallActions, WorkedExampleTwiceFromTheSameMedium)
{
    struct Case {
        const char* what;
        int platform;
        bool variantOnMedium;
        int exitCode;
        std::string installed; // Sortaro.exe in the destination, "" when missing
    };
    const Case cases[] = {
        {"the platform's variant under the target name", 2, true, 0, "program for NT"},
        {"another platform gets the file itself", 0, true, 0, "program"},
        {"a missing variant is a failure, never the other variant", 2, false, 3, ""},
    };
    const std::wstring destination = scratch.Path() + L"\\target\\Sortaro";
    for (const Case& c : cases) {
        RemoveTree(env.source);
        RemoveTree(destination);
        WriteFile(env.source + L"\\Sortaro.exe", "program");
        if (c.variantOnMedium)
            WriteFile(env.source + L"\\SortaroNT.exe", "program for NT");
        WriteFile(env.source + L"\\liesmich.txt", "lies mich");
        WriteFile(env.source + L"\\extra.dll", "dll");
        WriteFile(env.source + L"\\Data\\katalog.dat", "db");
        WriteScript(env.source + L"\\Install.txt", ExampleScript(kTestKey));
        const std::map<std::wstring, std::string> medium = Snapshot(env.source);
        env.platform = c.platform;
        SetupFormat::Options options;
        options.silent = true;
        options.destination = destination;
        // A repair or reinstall starts from the same medium; a CD could not be changed anyway.
        for (int run = 1; run <= 2; ++run) {
            EXPECT_EQ(SilentInstall(env, options), c.exitCode) << c.what << ", run " << run;
            EXPECT_EQ(Snapshot(env.source), medium) << c.what << ", run " << run;
            EXPECT_EQ(ReadFile(Target(L"Sortaro.exe")), c.installed) << c.what << ", run " << run;
            EXPECT_FALSE(Exists(Target(L"SortaroNT.exe"))) << c.what << ", run " << run;
            EXPECT_EQ(ReadFile(Target(L"liesmich.txt")), "lies mich") << c.what << ", run " << run;
            EXPECT_EQ(ReadFile(Target(L"Data\\katalog.dat")), "db") << c.what << ", run " << run;
            EXPECT_EQ(ReadFile(env.system + L"\\extra.dll"), "dll") << c.what << ", run " << run;
            EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"InstallDir"), destination) << c.what << ", run " << run;
        }
    }
}

TEST_F(InstallActions, MissingVariantIsListed)
{
    WriteFile(env.source + L"\\Sortaro.exe", "program");
    Installer installer =
        Load({L"[RenameFiles]", L"SortaroNT.exe,Sortaro.exe,2;", L"[COPYFILES]", L"Ziel\\Sortaro.exe;", L"]"});
    installer.CheckRenameFile();
    installer.Run();
    EXPECT_EQ(installer.Failures(),
              std::vector<std::wstring>{L"Datei nicht kopiert: SortaroNT.exe \u2192 Sortaro.exe"});
    EXPECT_FALSE(Exists(Target(L"Sortaro.exe")));
}

TEST_F(InstallActions, PathsOutsideTheirFoldersAreRefused)
{
    // Each of these would reach a file beside or above the scratch folder's own folders.
    WriteFile(env.source + L"\\Sortaro.exe", "program");
    WriteFile(scratch.Path() + L"\\outside.exe", "outside");
    WriteFile(scratch.Path() + L"\\escaped\\y.dll", "outside");
    Installer installer = Load({
        L"[ProgramGroup]",
        L"Sortaro;",
        L"[MakeDir]",
        L"%Ziel\\..\\..\\escaped;",
        L"[RenameFiles]",
        L"..\\outside.exe,Sortaro.exe,2;",
        L"[COPYFILES]",
        L"Ziel\\..\\..\\escaped\\y.dll;",
        L"Ziel\\..\\escaped\\y.dll;",
        L"WinSystemDir\\..\\escaped.dll;",
        L"Ziel\\Sortaro.exe;",
        L"WinStartMenu\\..\\..\\escaped.exe;",
        L"DesktopPath\\..\\escaped.exe;",
        L"WinStartMenu\\Sortaro.exe;",
        L"]",
    });
    std::map<std::wstring, std::string> before = Snapshot(scratch.Path());
    installer.CheckRenameFile();
    installer.Run();
    const wchar_t* const refused = L"Pfad außerhalb seines Ordners in Install.txt übergangen: ";
    std::vector<std::wstring> expected;
    for (const wchar_t* what :
         {L"[RenameFiles] ..\\outside.exe,Sortaro.exe,2;", L"Ziel\\..\\..\\escaped\\y.dll;",
          L"Ziel\\..\\escaped\\y.dll;", L"WinSystemDir\\..\\escaped.dll;", L"[MakeDir] %Ziel\\..\\..\\escaped",
          L"WinStartMenu\\..\\..\\escaped.exe;", L"DesktopPath\\..\\escaped.exe;"})
        expected.push_back(refused + std::wstring(what));
    EXPECT_EQ(installer.Failures(), expected);
    EXPECT_EQ(ReadFile(Target(L"Sortaro.exe")), "program") << "a refused [RenameFiles] entry chooses no variant";
    // Only the allowed copy and shortcut are new; nothing else changed.
    std::map<std::wstring, std::string> expectedFiles = before;
    expectedFiles[L"target\\Sortaro\\Sortaro.exe"] = "program";
    expectedFiles[L"programs\\Sortaro\\Sortaro.lnk"] = ReadFile(env.programs + L"\\Sortaro\\Sortaro.lnk");
    std::map<std::wstring, std::string> after = Snapshot(scratch.Path());
    // The uninstaller and its log, which every installation leaves, are checked elsewhere.
    EXPECT_EQ(after.erase(L"target\\Sortaro\\Uninstall.exe") + after.erase(L"target\\Sortaro\\Uninstall.log"), 2u);
    EXPECT_EQ(after, expectedFiles);
    EXPECT_FALSE(Exists(scratch.Path() + L"\\target\\escaped"));
    EXPECT_FALSE(Exists(scratch.Path() + L"\\escaped.lnk"));
}

TEST_F(InstallActions, BlankAndCommentLinesInstallCompletely)
{
    WriteFile(env.source + L"\\Sortaro.exe", "program");
    WriteScript(env.source + L"\\Install.txt",
                {L"[ProgramGroup]", L"Sortaro;", L"[COPYFILES]", L"; the program", L"", L"Ziel\\Sortaro.exe;", L"]",
                 L"[AddReg]", L"; settings of the catalogue", L"", L"   ",
                 L"HKCU,,Software\\SortaroSetupTest,language,s,%Language;", L"# its folder", L"// and more",
                 L"HKCU,,Software\\SortaroSetupTest,InstallDir,s,%Ziel;", L"", L"]"});
    SetupFormat::Options options;
    options.silent = true;
    options.destination = scratch.Path() + L"\\target\\Sortaro";
    EXPECT_EQ(SilentInstall(env, options), 0) << "/S reports complete success";
    EXPECT_EQ(ReadFile(Target(L"Sortaro.exe")), "program");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"language"), L"1");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"InstallDir"), options.destination);
}

TEST_F(InstallActions, NeededSpace)
{
    WriteFile(env.source + L"\\a.bin", std::string(1000, 'a'));
    WriteFile(env.source + L"\\sub\\b.bin", std::string(234, 'b'));
    WriteFile(env.source + L"\\c.dll", std::string(66, 'c'));
    WriteFile(env.source + L"\\Data\\big.dat", std::string(5000, 'd'));
    Installer installer = Load({L"[MakeDir]", L"%Ziel\\Data;", L"[copyfiles]", L"Ziel\\a.bin;", L"Ziel\\sub\\b.bin;",
                                L"WinSystemDir\\c.dll;", L"Ziel\\missing.bin;", L"WinStartMenu\\a.bin;", L"]"});
    // Shortcuts, missing files and the [MakeDir] folder add nothing.
    EXPECT_EQ(installer.GetFileSize(), 1300.0);
}

TEST_F(InstallActions, MakeDirectoryCreatesParents)
{
    std::wstring deep = scratch.Path() + L"\\x\\y\\z";
    EXPECT_TRUE(MakeDirectory(deep));
    EXPECT_TRUE(Exists(deep));
    EXPECT_TRUE(MakeDirectory(deep)) << "an existing folder is fine";
    WriteFile(scratch.Path() + L"\\file", "f");
    EXPECT_FALSE(MakeDirectory(scratch.Path() + L"\\file\\below"));
}

TEST_F(InstallActions, ScriptCharacterSets)
{
    // "für" in the ANSI code page (Windows-1252 here) and in UTF-8 with its mark.
    struct Case {
        std::string bytes;
        const wchar_t* product;
    };
    const Case cases[] = {
        {"[product]\r\nf\xFCr Windows;\r\n", L"für Windows"},
        {"\xEF\xBB\xBF[product]\r\nf\xC3\xBCr Windows;\r\n", L"für Windows"},
        {"[product]\nf\xC3\xBCr;", L"f\u00c3\u00bcr"}, // UTF-8 without its mark is read as ANSI
    };
    for (const Case& c : cases) {
        WriteFile(env.source + L"\\Install.txt", c.bytes);
        DWORD error = 0;
        auto script = LoadInstallScript(env.source + L"\\Install.txt", error);
        ASSERT_TRUE(script);
        EXPECT_EQ(script->GetParameter(L"[product"), c.product);
    }
    DWORD error = 0;
    EXPECT_FALSE(LoadInstallScript(env.source + L"\\Nothing.txt", error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(InstallActions, ProductTextFollowsTheLocale)
{
    for (bool german : {true, false}) {
        env.germanLocale = german;
        Installer installer = Load({L"[product]", L"für Win9x/2000/ME/NT;", L"[English]", L"1;"});
        EXPECT_EQ(installer.Product(), german ? L"für Win9x/2000/ME/NT" : L"for Win9x/2000/ME/NT");
        EXPECT_TRUE(installer.OffersEnglish());
        EXPECT_TRUE(installer.German()) << "the flag is German again after the parameters";
    }
}

TEST_F(InstallActions, LocaleFromTheCountryName)
{
    const wchar_t* const key = L"Control Panel\\International";
    std::wstring saved = RegText(HKEY_CURRENT_USER, key, L"sCountry");
    struct Case {
        const wchar_t* country; // nullptr: no value
        bool german;
    };
    const Case cases[] = {
        {L"Deutschland", true}, {L"United States", false}, {L"deutsch (Schweiz)", true}, {nullptr, true}};
    UniqueHKey international;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, international.Put(), nullptr),
        ERROR_SUCCESS);
    for (const Case& c : cases) {
        if (c.country)
            RegSetValueExW(international.Get(), L"sCountry", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.country),
                           static_cast<DWORD>((lstrlenW(c.country) + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(international.Get(), L"sCountry");
        EXPECT_EQ(InstallEnvironment::Detect().germanLocale, c.german) << (c.country ? c.country : L"none");
    }
    if (saved != L"<missing>")
        RegSetValueExW(international.Get(), L"sCountry", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.c_str()),
                       static_cast<DWORD>((saved.size() + 1) * sizeof(wchar_t)));
}

TEST_F(InstallActions, EnvironmentOfThisMachine)
{
    InstallEnvironment here = InstallEnvironment::Detect();
    EXPECT_EQ(here.platform, 2) << "Wine reports an NT version 5 or later";
    EXPECT_NE(here.userKeyName, L"");
    EXPECT_NE(here.programFiles, L"");
    EXPECT_NE(here.programs, L"");
    EXPECT_NE(here.desktop, L"");
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(here.system, system);
}

} // namespace
