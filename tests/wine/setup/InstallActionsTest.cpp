#include "SetupTestSupport.h"
#include "setup/SilentInstall.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

using namespace SetupTest;

namespace {

using InstallActions = SetupFixture;

TEST_F(InstallActions, RunCopiesFilesFolderShortcutsAndRegistry)
{
    Installer installer = Load(ExampleScript());
    std::vector<std::wstring> statuses;
    installer.OnStatus([&](const std::wstring& text) { statuses.push_back(text); });
    installer.Run();

    EXPECT_EQ(installer.Failures(), std::vector<std::wstring>{}) << "comment lines are no failures";
    EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), "program");
    EXPECT_EQ(ReadFile(Folder() + L"\\Hilfe\\liesmich.txt"), "lies mich") << "subfolders are made before copying";
    EXPECT_EQ(ReadFile(env.system + L"\\extra.dll"), "dll");
    EXPECT_EQ(ReadFile(Folder() + L"\\Data\\katalog.dat"), "db") << "the [MakeDir] folder copy";
    for (const std::wstring& link : {env.programs + L"\\Sortaro\\Sortaro.lnk", env.desktop + L"\\Sortaro.lnk"}) {
        SCOPED_TRACE(link.c_str());
        ShortcutInfo info = ReadShortcut(link);
        ASSERT_TRUE(info.loaded);
        EXPECT_EQ(info.target, Folder() + L"\\Sortaro.exe");
        EXPECT_EQ(info.workingFolder, Folder());
        EXPECT_EQ(info.description, L"Dateikatalog");
        // Set as 5 (SW_SHOW); the link format keeps only normal, maximised and minimised and
        // stores every other command as normal.
        EXPECT_EQ(info.showCommand, SW_SHOWNORMAL);
    }
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kOptions, L"language"), L"1");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kOptions, L"InstallDir"), Folder());
    EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Replaced"), 7u);
    EXPECT_EQ(RegText(HKEY_USERS, env.userKeyName + L"\\" + kTestKey, L"User"), L"below the user key");

    const std::vector<std::wstring> expected = {
        L"Kopiere Dateien . . . ",
        L"Installieren der Datei Sortaro.exe",
        L"Installieren der Datei Hilfe\\liesmich.txt",
        L"Installieren der Datei extra.dll",
        L"Erstelle Verknüpfungen . . . ",
        L"Installieren der Datei Sortaro.exe",
        L"Installieren der Datei Sortaro.exe",
        L"Erstelle Registrierungseinträge . . . ",
    };
    EXPECT_EQ(statuses, expected);
}

TEST_F(InstallActions, FailuresAreListed)
{
    // A file where the group folder should be: neither the folder nor the link can be made.
    WriteFile(env.programs + L"\\Blocked", "not a folder");
    Installer installer =
        Load({L"[ProgramGroup]", L"Blocked;", L"[MakeDir]", L"Data;", L"[RenameFiles]", L"a.exe,b.exe,zwei;",
              L"[COPYFILES]", L"Ziel\\missing.txt;", L"Ziel\\Sortaro.exe;", L"WinStartMenu\\a.exe;", L"]", L"[AddReg]",
              L"HKCU,,Software\\SortaroSetupTest,Good,s,1;", L"HKXX,,Software\\SortaroSetupTest,BadRoot,s,1;",
              L"HKCU,,Software\\SortaroSetupTest,BadNumber,i,12a;", L"]"});
    installer.CheckRenameFile();
    installer.Run();
    const std::vector<std::wstring> expected = {
        L"Fehlerhafte Zeile in Install.txt übergangen: [RenameFiles] a.exe,b.exe,zwei;",
        L"Datei nicht kopiert: missing.txt",
        L"Fehlerhafte Zeile in Install.txt übergangen: [MakeDir] Data",
        L"Ordner nicht erstellt: " + env.programs + L"\\Blocked",
        L"Verknüpfung nicht erstellt: " + env.programs + L"\\Blocked\\a.lnk",
        L"Fehlerhafte Zeile in Install.txt übergangen: HKXX,,Software\\SortaroSetupTest,BadRoot,s,1;",
        L"Registrierungseintrag nicht geschrieben: HKCU,,Software\\SortaroSetupTest,BadNumber,i,12a;",
    };
    EXPECT_EQ(installer.Failures(), expected);
    EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), "program") << "the run goes on after a failure";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"Good"), L"1");
    EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, kTestKey, L"BadNumber"), 0xDEADBEEFu) << "no guessed number is written";
}

TEST_F(InstallActions, SilentInstallTwiceFromTheSameMedium)
{
    // With its variant on the medium, the platform's file is installed under the entry's name;
    // without it the copy fails rather than installing the other variant.
    const std::pair<bool, std::string> cases[] = {{true, "program for NT"}, {false, ""}};
    std::vector<std::wstring> lines = ExampleScript();
    lines.insert(lines.end(), {L"[RenameFiles]", L"SortaroNT.exe,Sortaro.exe,2;"});
    WriteScript(env.source + L"\\Install.txt", lines);
    SetupFormat::Options options;
    options.silent = true;
    options.destination = Folder();
    for (const auto& [variantOnMedium, installed] : cases) {
        RemoveTree(Folder());
        if (variantOnMedium)
            WriteFile(env.source + L"\\SortaroNT.exe", "program for NT");
        else
            DeleteFileW((env.source + L"\\SortaroNT.exe").c_str());
        const std::map<std::wstring, std::string> medium = Snapshot(env.source);
        // A repair or reinstall starts from the same medium; a CD could not be changed anyway.
        for (int run = 1; run <= 2; ++run) {
            SCOPED_TRACE(testing::Message() << "variant on the medium " << variantOnMedium << ", run " << run);
            EXPECT_EQ(SilentInstall(env, options), variantOnMedium ? 0 : 3);
            EXPECT_EQ(Snapshot(env.source), medium);
            EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), installed);
            EXPECT_FALSE(Exists(Folder() + L"\\SortaroNT.exe"));
        }
    }
}

TEST_F(InstallActions, PathsOutsideTheirFoldersAreRefused)
{
    // Each of these would reach a file beside or above the scratch folder's own folders.
    WriteFile(scratch + L"\\outside.exe", "outside");
    WriteFile(scratch + L"\\escaped\\y.dll", "outside");
    Installer installer = Load(
        {L"[ProgramGroup]", L"Sortaro;", L"[MakeDir]", L"%Ziel\\..\\..\\escaped;", L"[RenameFiles]",
         L"..\\outside.exe,Sortaro.exe,2;", L"[COPYFILES]", L"Ziel\\..\\..\\escaped\\y.dll;",
         L"Ziel\\..\\escaped\\y.dll;", L"WinSystemDir\\..\\escaped.dll;", L"Ziel\\Sortaro.exe;",
         L"WinStartMenu\\..\\..\\escaped.exe;", L"DesktopPath\\..\\escaped.exe;", L"WinStartMenu\\Sortaro.exe;", L"]"});
    std::map<std::wstring, std::string> before = Snapshot(scratch);
    installer.CheckRenameFile();
    installer.Run();
    std::vector<std::wstring> expected;
    for (const wchar_t* what :
         {L"[RenameFiles] ..\\outside.exe,Sortaro.exe,2;", L"Ziel\\..\\..\\escaped\\y.dll;",
          L"Ziel\\..\\escaped\\y.dll;", L"WinSystemDir\\..\\escaped.dll;", L"[MakeDir] %Ziel\\..\\..\\escaped",
          L"WinStartMenu\\..\\..\\escaped.exe;", L"DesktopPath\\..\\escaped.exe;"})
        expected.push_back(L"Pfad außerhalb seines Ordners in Install.txt übergangen: " + std::wstring(what));
    EXPECT_EQ(installer.Failures(), expected);
    EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), "program") << "a refused [RenameFiles] entry chooses no variant";
    // Only the allowed copy and shortcut, the uninstaller and its log are new; nothing else changed.
    std::map<std::wstring, std::string> after = Snapshot(scratch);
    for (const wchar_t* made :
         {L"target", L"target\\Sortaro", L"target\\Sortaro\\Sortaro.exe", L"target\\Sortaro\\Uninstall.exe",
          L"target\\Sortaro\\Uninstall.log", L"programs\\Sortaro", L"programs\\Sortaro\\Sortaro.lnk"})
        EXPECT_EQ(after.erase(made), 1u) << made;
    EXPECT_EQ(after, before);
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

TEST_F(InstallActions, ScriptCharacterSets)
{
    // Without the UTF-8 mark the script is read in the ANSI code page (Windows-1252 here).
    WriteFile(env.source + L"\\Install.txt", "[product]\r\nf\xFCr Windows;\r\n");
    DWORD error = 0;
    auto script = LoadInstallScript(env.source + L"\\Install.txt", error);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->GetParameter(L"[product"), L"für Windows");
    EXPECT_FALSE(LoadInstallScript(env.source + L"\\Nothing.txt", error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(InstallActions, LocaleFromTheCountryName)
{
    const wchar_t* const key = L"Control Panel\\International";
    const std::wstring saved = RegText(HKEY_CURRENT_USER, key, L"sCountry");
    auto set = [&](const std::wstring& country) {
        if (country == L"<missing>")
            SHDeleteValueW(HKEY_CURRENT_USER, key, L"sCountry");
        else
            SHSetValueW(HKEY_CURRENT_USER, key, L"sCountry", REG_SZ, country.c_str(),
                        static_cast<DWORD>((country.size() + 1) * sizeof(wchar_t)));
    };
    for (const auto& [country, german] :
         {std::pair<std::wstring, bool>{L"Deutschland", true}, {L"United States", false}, {L"<missing>", true}}) {
        set(country);
        EXPECT_EQ(InstallEnvironment::Detect().germanLocale, german) << country.c_str();
    }
    set(saved);
}

} // namespace
