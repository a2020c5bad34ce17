#include "SetupTestSupport.h"
#include "common/UniqueHandle.h"
#include "setup/Uninstaller.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace SetupTest;

namespace {

const wchar_t* const kTestKey = L"Software\\SortaroSetupTest";
const wchar_t* const kRegistration = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sortaro";

void SetText(HKEY root, const std::wstring& keyPath, const wchar_t* name, const std::wstring& text)
{
    UniqueHKey key;
    RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool KeyExists(HKEY root, const std::wstring& keyPath)
{
    UniqueHKey key;
    return RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Every file and folder below a folder, as paths relative to it, sorted.
std::vector<std::wstring> Tree(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    ForEachBelow(folder, [&](const std::wstring& relative, bool) { paths.push_back(relative); });
    std::sort(paths.begin(), paths.end());
    return paths;
}

class Uninstall : public testing::Test {
protected:
    void SetUp() override
    {
        env = TestEnvironment(scratch);
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
        ForgetRegistration();
        WriteFile(env.source + L"\\Sortaro.exe", "program");
        WriteFile(env.source + L"\\extra.dll", "dll");
        WriteFile(env.source + L"\\Data\\liesmich.txt", "lies mich");
    }
    void TearDown() override
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
        SHDeleteKeyW(HKEY_USERS, (env.userKeyName + L"\\" + kTestKey).c_str());
        ForgetRegistration();
    }

    std::wstring Folder() const { return scratch.Path() + L"\\target\\Sortaro"; }

    // Installs the medium into folder (Folder() when empty) as the wizard's run does; true when
    // nothing failed.
    bool Install(bool german = true, std::wstring folder = L"")
    {
        WriteScript(env.source + L"\\Install.txt",
                    {
                        L"[AppName]",
                        L"Sortaro 1.309;",
                        L"[ProgramGroup]",
                        L"Sortaro;",
                        L"[description]",
                        L"Dateikatalog;",
                        L"[MainFile]",
                        L"Sortaro.exe;",
                        L"[MakeDir]",
                        L"%Ziel\\Data;",
                        L"[COPYFILES]",
                        L"Ziel\\Sortaro.exe;",
                        L"WinSystemDir\\extra.dll;",
                        L"WinStartMenu\\Sortaro.exe;",
                        L"DesktopPath\\Sortaro.exe;",
                        L"]",
                        L"[AddReg]",
                        L"HKCU,,Software\\SortaroSetupTest\\Options,language,s,%Language;",
                        L"HKCU,,Software\\SortaroSetupTest\\Options\\Deep,InstallDir,s,%Ziel;",
                        L"HKCU,,Software\\SortaroSetupTest\\Existing,Replaced,i,7;",
                        L"HKUS,,\\Software\\SortaroSetupTest,User,s,below the user key;",
                        L"]",
                    });
        DWORD error = 0;
        Installer installer(env, LoadInstallScript(env.source + L"\\Install.txt", error).value_or(InstallScript()));
        installer.ReadParameters();
        installer.SetGerman(german);
        installer.ReadLateParameters();
        installer.SetDestination(folder.empty() ? Folder() : folder);
        installer.Run();
        for (const std::wstring& failure : installer.Failures())
            ADD_FAILURE() << failure.c_str();
        return installer.Failures().empty();
    }

    ScratchFolder scratch;
    InstallEnvironment env;
};

TEST_F(Uninstall, NothingOfTheInstallationIsLeftButTheCatalogue)
{
    SetText(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Replaced", L"vorher");
    SetText(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Other", L"bleibt");
    WriteFile(env.programs + L"\\Andere\\Andere.lnk", "another program's group");
    const std::vector<std::wstring> before = Tree(scratch.Path());

    ASSERT_TRUE(Install());
    const std::wstring registration = kRegistration;
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"DisplayName"), L"Sortaro 1.309");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"DisplayVersion"), L"1.309");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"InstallLocation"), Folder());
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"DisplayIcon"), Folder() + L"\\Sortaro.exe");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"UninstallString"),
              L"\"" + Folder() + L"\\Uninstall.exe\" /uninstall");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"QuietUninstallString"),
              L"\"" + Folder() + L"\\Uninstall.exe\" /uninstall /S");
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, registration, L"NoModify"), 1u);
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, registration, L"NoRepair"), 1u);
    EXPECT_GT(RegNumber(HKEY_LOCAL_MACHINE, registration, L"EstimatedSize", 0), 0u);
    EXPECT_TRUE(Exists(Folder() + L"\\Uninstall.exe"));
    EXPECT_TRUE(Exists(Folder() + L"\\Uninstall.log"));
    EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Replaced"), 7u);
    // The user's work in the catalogue folder, which the installation did not make.
    WriteFile(Folder() + L"\\Data\\9.dat", "C:\\Bilder\\urlaub.jpg\r\n");

    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    std::vector<std::wstring> expected = before;
    expected.insert(expected.end(), {L"medium\\Install.txt", L"target", L"target\\Sortaro", L"target\\Sortaro\\Data",
                                     L"target\\Sortaro\\Data\\9.dat", L"target\\Sortaro\\Data\\liesmich.txt"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Tree(scratch.Path()), expected) << "files, shortcuts and folders are gone, the catalogue stays";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, registration));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Options"));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Replaced"), L"vorher")
        << "a replaced value gets its old type and data back";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Existing", L"Other"), L"bleibt");
    EXPECT_EQ(RegText(HKEY_USERS, env.userKeyName + L"\\" + kTestKey, L"User"), L"<missing>");

    // Installing again over the kept catalogue works, and uninstalling it without the
    // catalogue leaves nothing at all.
    ASSERT_TRUE(Install());
    EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), "program");
    EXPECT_EQ(ReadFile(Folder() + L"\\Data\\9.dat"), "C:\\Bilder\\urlaub.jpg\r\n");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, registration, L"InstallLocation"), Folder());
    Uninstaller again(Folder());
    ASSERT_EQ(again.GetState(), Uninstaller::State::Ready);
    EXPECT_EQ(again.Catalogue(), Folder() + L"\\Data") << "a kept catalogue is the new installation's";
    again.Run(false);
    EXPECT_TRUE(again.Failures().empty());
    EXPECT_FALSE(Exists(Folder())) << "the installation folder goes although the second run did not make it";
}

TEST_F(Uninstall, FilesThatWereThereBefore)
{
    // A file of the system folder that was there before may be another program's: it stays.
    // The program's own file from an earlier version without a log is this one's to remove.
    WriteFile(env.system + L"\\extra.dll", "another program's");
    WriteFile(Folder() + L"\\Sortaro.exe", "an earlier version");
    ASSERT_TRUE(Install());
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    EXPECT_EQ(ReadFile(env.system + L"\\extra.dll"), "dll") << "left in its new version, not deleted";
    EXPECT_FALSE(Exists(Folder() + L"\\Sortaro.exe"));
}

TEST_F(Uninstall, TwoInstallationsShareTheRegistration)
{
    const std::wstring first = Folder();
    const std::wstring second = scratch.Path() + L"\\other\\Sortaro";
    struct Case {
        const char* what;
        std::wstring removeFirst, removeSecond;
        std::wstring registeredBetween; // InstallLocation after the first removal
    };
    const Case cases[] = {
        {"the later one first: the earlier one's registration is back", second, first, first},
        {"the earlier one first: the later one keeps its registration", first, second, second},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Install(true, first)) << c.what;
        ASSERT_TRUE(Install(true, second)) << c.what;
        EXPECT_EQ(SilentUninstall(c.removeFirst, std::nullopt), 0) << c.what;
        EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRegistration, L"InstallLocation"), c.registeredBetween) << c.what;
        EXPECT_EQ(FindInstallation(L""), c.registeredBetween) << c.what;
        EXPECT_TRUE(Exists(c.removeSecond + L"\\Sortaro.exe")) << c.what;
        EXPECT_EQ(SilentUninstall(c.removeSecond, std::nullopt), 0) << c.what;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRegistration)) << c.what << ": no registration of a removed one";
    }
}

TEST_F(Uninstall, TheCatalogueGoesWhenTheUserSaysSo)
{
    struct Case {
        const char* what;
        bool userFile; // a file of the user's in the installation folder, which the log does not list
        std::vector<std::wstring> kept;
    };
    const Case cases[] = {
        {"everything goes", false, {}},
        {"the user's file stays, with its folder (not the folder above)", true, {L"Behalten: " + Folder()}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Install()) << c.what;
        WriteFile(Folder() + L"\\Data\\9.dat", "work");
        if (c.userFile)
            WriteFile(Folder() + L"\\notizen.txt", "mine");
        Uninstaller uninstaller(Folder());
        ASSERT_EQ(uninstaller.Catalogue(), Folder() + L"\\Data") << c.what;
        uninstaller.Run(false);
        EXPECT_TRUE(uninstaller.Failures().empty()) << c.what;
        EXPECT_EQ(uninstaller.Kept(), c.kept) << c.what;
        EXPECT_FALSE(Exists(Folder() + L"\\Data")) << c.what;
        EXPECT_EQ(Exists(Folder() + L"\\notizen.txt"), c.userFile) << c.what;
        EXPECT_EQ(Exists(scratch.Path() + L"\\target"), c.userFile) << c.what << ": the folders it made go when empty";
        EXPECT_EQ(uninstaller.Report(true).rfind(L"Sortaro wurde von Ihrem Rechner entfernt.", 0), 0u) << c.what;
        RemoveTree(scratch.Path() + L"\\target");
    }
}

TEST_F(Uninstall, AFileInUseIsReportedAndLeftForALaterRun)
{
    ASSERT_TRUE(Install());
    std::wstring program = Folder() + L"\\Sortaro.exe";
    {
        UniqueFile inUse(CreateFileW(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(inUse);
        Uninstaller uninstaller(Folder());
        uninstaller.Run(true);
        ASSERT_EQ(uninstaller.Failures(),
                  std::vector<std::wstring>{L"Nicht entfernt (in Benutzung oder gesperrt): " + program});
        EXPECT_NE(uninstaller.Report(true).find(L"Die Deinstallation ist nicht vollständig."), std::wstring::npos);
        EXPECT_FALSE(Exists(env.desktop + L"\\Sortaro.lnk")) << "the rest is removed";
        EXPECT_TRUE(Exists(Folder() + L"\\Uninstall.exe")) << "but it can still be removed as usual";
        EXPECT_EQ(FindInstallation(L""), Folder());
    }
    EXPECT_TRUE(Exists(program));
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0) << "the rewritten log lets a second run finish";
    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(Folder() + L"\\Uninstall.log"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRegistration));
}

TEST_F(Uninstall, ACancelledInstallationCanBeUndone)
{
    WriteScript(env.source + L"\\Install.txt", {L"[COPYFILES]", L"Ziel\\Sortaro.exe;", L"WinStartMenu\\Sortaro.exe;",
                                                L"]", L"[ProgramGroup]", L"Sortaro;"});
    {
        DWORD error = 0;
        Installer installer(env, LoadInstallScript(env.source + L"\\Install.txt", error).value_or(InstallScript()));
        installer.ReadParameters();
        installer.SetDestination(Folder());
        installer.CopyFiles(); // cancelled before the registry entries and the registration; the process ends
    }
    // A record cut off in the middle of writing.
    std::string log = ReadFile(Folder() + L"\\Uninstall.log");
    WriteFile(Folder() + L"\\Uninstall.log", log + "Fi");
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    EXPECT_FALSE(Exists(scratch.Path() + L"\\target"));
    EXPECT_FALSE(Exists(env.programs + L"\\Sortaro"));
}

TEST_F(Uninstall, ALogThatCannotBeTrustedRemovesNothing)
{
    const std::wstring folder = Folder();
    const std::string header = "\xEF\xBB\xBFSORTARO-UNINSTALL\t1\tSortaro\t";
    std::string narrow(folder.begin(), folder.end()); // the scratch path is ASCII
    struct Case {
        const char* what;
        std::string log; // "" : none
        const wchar_t* problem;
    };
    const Case cases[] = {
        {"no log", "", L"Es wurde keine Installation gefunden"},
        {"another folder", header + "C:\\Anderswo\r\nFile\t" + narrow + "\\victim.txt\r\n", L"anderen Ordner"},
        {"another product", "SORTARO-UNINSTALL\t1\tAnderes\t" + narrow + "\r\nFile\t" + narrow + "\\victim.txt\r\n",
         L"anderen Programm"},
        {"damaged record", header + narrow + "\r\nFile\t" + narrow + "\\victim.txt\r\nFile\tvictim.txt\r\n",
         L"beschädigt, Zeile 3"},
    };
    for (const Case& c : cases) {
        WriteFile(folder + L"\\victim.txt", "keep me");
        DeleteFileW((folder + L"\\Uninstall.log").c_str());
        if (!c.log.empty())
            WriteFile(folder + L"\\Uninstall.log", c.log);
        Uninstaller uninstaller(folder);
        EXPECT_NE(uninstaller.GetState(), Uninstaller::State::Ready) << c.what;
        EXPECT_NE(uninstaller.Problem(true).find(c.problem), std::wstring::npos)
            << c.what << ": " << uninstaller.Problem(true).c_str();
        EXPECT_EQ(SilentUninstall(folder, std::nullopt), 2) << c.what;
        EXPECT_TRUE(Exists(folder + L"\\victim.txt")) << c.what;
    }
}

TEST_F(Uninstall, InteractiveQuestionsAndReport)
{
    struct Case {
        const char* what;
        bool german;
        int answer; // to the question whether to uninstall
        int keep;   // to the question whether to keep the catalogue (0: not asked)
        int exitCode;
        const wchar_t* title;
        const wchar_t* report; // start of the final report, nullptr: none
        bool installed, catalogue;
    };
    const Case cases[] = {
        {"no", true, IDNO, 0, 1, L"Deinstallation von Sortaro", nullptr, true, true},
        {"yes, keep", true, IDYES, IDYES, 0, L"Deinstallation von Sortaro",
         L"Sortaro wurde von Ihrem Rechner entfernt.\n\nBehalten: ", false, true},
        {"yes, delete", false, IDYES, IDNO, 0, L"Uninstall Sortaro", L"Sortaro has been removed from your computer.",
         false, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Install(c.german)) << c.what;
        ModalAnswers answers;
        answers.On(c.title, ModalAnswers::Press(c.answer));
        if (c.keep)
            answers.On(c.title, ModalAnswers::Press(c.keep));
        answers.On(c.title, ModalAnswers::Press(IDOK));
        EXPECT_EQ(InteractiveUninstall(Folder(), std::nullopt, nullptr), c.exitCode) << c.what;
        const std::vector<std::wstring>& texts = answers.Texts();
        ASSERT_EQ(texts.size(), (c.keep ? 2u : 1u) + (c.report ? 1u : 0u)) << c.what;
        EXPECT_EQ(texts[0], std::wstring(c.title) + L"|" +
                                (c.german ? L"Möchten Sie Sortaro mit allen installierten Bestandteilen von Ihrem "
                                            L"Rechner entfernen ?"
                                          : L"Do you want to remove Sortaro and all of its installed components from "
                                            L"your computer ?"));
        if (c.keep) {
            EXPECT_NE(texts[1].find(Folder() + L"\\Data"), std::wstring::npos) << c.what;
        }
        if (c.report) {
            EXPECT_EQ(texts.back().rfind(std::wstring(c.title) + L"|" + c.report, 0), 0u)
                << c.what << ": " << texts.back().c_str();
        }
        EXPECT_EQ(Exists(Folder() + L"\\Sortaro.exe"), c.installed) << c.what;
        EXPECT_EQ(Exists(Folder() + L"\\Data"), c.catalogue) << c.what;
        // The next case starts from a fresh installation.
        SilentUninstall(Folder(), std::nullopt);
        RemoveTree(scratch.Path() + L"\\target");
    }
}

} // namespace
