#include "SetupTestSupport.h"
#include "common/UniqueHandle.h"
#include "setup/Uninstaller.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

using namespace SetupTest;

namespace {

const std::wstring kExisting = std::wstring(kTestKey) + L"\\Existing";

bool KeyExists(HKEY root, const std::wstring& keyPath)
{
    UniqueHKey key;
    return RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

class Uninstall : public SetupFixture {
protected:
    // Installs the example into folder (Folder() when empty) as the wizard's run does; true
    // when nothing failed.
    bool Install(bool german = true, const std::wstring& folder = L"")
    {
        Installer installer = Load(ExampleScript(), german);
        if (!folder.empty())
            installer.SetDestination(folder);
        installer.Run();
        EXPECT_EQ(installer.Failures(), std::vector<std::wstring>{});
        return installer.Failures().empty();
    }
};

TEST_F(Uninstall, NothingOfTheInstallationIsLeftButTheCatalogue)
{
    SHSetValueW(HKEY_CURRENT_USER, kExisting.c_str(), L"Replaced", REG_SZ, L"vorher", sizeof(L"vorher"));
    SHSetValueW(HKEY_CURRENT_USER, kExisting.c_str(), L"Other", REG_SZ, L"bleibt", sizeof(L"bleibt"));
    WriteFile(env.programs + L"\\Andere\\Andere.lnk", "another program's group");
    WriteScript(env.source + L"\\Install.txt", ExampleScript());
    const std::map<std::wstring, std::string> before = Snapshot(scratch);

    ASSERT_TRUE(Install());
    const std::wstring uninstaller = L"\"" + Folder() + L"\\Uninstall.exe\" /uninstall";
    const std::pair<const wchar_t*, std::wstring> registered[] = {
        {L"DisplayName", L"Sortaro 3.0"},
        {L"InstallLocation", Folder()},
        {L"DisplayIcon", Folder() + L"\\Sortaro.exe"},
        {L"UninstallString", uninstaller},
        {L"QuietUninstallString", uninstaller + L" /S"},
    };
    for (const auto& value : registered)
        EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRegistration, value.first), value.second) << value.first;
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRegistration, L"NoModify"), 1u);
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRegistration, L"NoRepair"), 1u);
    EXPECT_GT(RegNumber(HKEY_LOCAL_MACHINE, kRegistration, L"EstimatedSize", 0), 0u);
    // The user's work in the catalogue folder, which the installation did not make.
    WriteFile(Folder() + L"\\Data\\9.dat", "C:\\Bilder\\urlaub.jpg\r\n");

    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    std::map<std::wstring, std::string> left = Snapshot(scratch);
    for (const wchar_t* kept : {L"target", L"target\\Sortaro", L"target\\Sortaro\\Data",
                                L"target\\Sortaro\\Data\\9.dat", L"target\\Sortaro\\Data\\katalog.dat"})
        EXPECT_EQ(left.erase(kept), 1u) << kept;
    EXPECT_EQ(left, before) << "files, shortcuts and folders are gone, the catalogue stays";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRegistration));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kOptions));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kExisting, L"Replaced"), L"vorher")
        << "a replaced value gets its old type and data back";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kExisting, L"Other"), L"bleibt");
    EXPECT_EQ(RegText(HKEY_USERS, env.userKeyName + L"\\" + kTestKey, L"User"), L"<missing>");

    // Installing again over the kept catalogue works, and uninstalling it without the
    // catalogue leaves nothing at all.
    ASSERT_TRUE(Install());
    EXPECT_EQ(ReadFile(Folder() + L"\\Data\\9.dat"), "C:\\Bilder\\urlaub.jpg\r\n");
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

TEST_F(Uninstall, TheLaterInstallationKeepsTheRegistration)
{
    // Removing the earlier of two installations leaves the later one registered. (Removed the
    // other way round, the earlier one gets its registration back: the end-to-end run finds it
    // by that registration.)
    const std::wstring later = scratch + L"\\other\\Sortaro";
    ASSERT_TRUE(Install());
    ASSERT_TRUE(Install(true, later));
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    EXPECT_EQ(FindInstallation(L""), later) << "found by its registration";
    EXPECT_EQ(SilentUninstall(later, std::nullopt), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRegistration)) << "no registration of a removed one";
}

TEST_F(Uninstall, AFileOfTheUsersKeepsItsFolder)
{
    ASSERT_TRUE(Install());
    WriteFile(Folder() + L"\\notizen.txt", "mine");
    Uninstaller uninstaller(Folder());
    uninstaller.Run(false);
    EXPECT_TRUE(uninstaller.Failures().empty());
    EXPECT_EQ(uninstaller.Kept(), std::vector<std::wstring>{L"Behalten: " + Folder()});
    EXPECT_FALSE(Exists(Folder() + L"\\Data")) << "the catalogue goes when the user says so";
    EXPECT_TRUE(Exists(Folder() + L"\\notizen.txt"));
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
        EXPECT_EQ(FindInstallation(L""), Folder()) << "but it can still be removed as usual";
    }
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0) << "the rewritten log lets a second run finish";
    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRegistration));
}

TEST_F(Uninstall, ACancelledInstallationCanBeUndone)
{
    // Cancelled before the registry entries and the registration: the process ends.
    Load({L"[ProgramGroup]", L"Sortaro;", L"[COPYFILES]", L"Ziel\\Sortaro.exe;", L"WinStartMenu\\Sortaro.exe;", L"]"})
        .CopyFiles();
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 0);
    EXPECT_FALSE(Exists(scratch + L"\\target")) << "with the folders it made";
    EXPECT_FALSE(Exists(env.programs + L"\\Sortaro"));
}

TEST_F(Uninstall, ALogThatCannotBeTrustedRemovesNothing)
{
    // One damaged record refuses the whole log, and nothing it lists is removed. (Where there
    // is no log at all, the end-to-end run gets its refusal.)
    const std::wstring wide = Folder();
    const std::string folder(wide.begin(), wide.end()); // the scratch path is ASCII
    WriteFile(Folder() + L"\\victim.txt", "keep me");
    WriteFile(Folder() + L"\\Uninstall.log", "SORTARO-UNINSTALL\t1\tSortaro\t" + folder + "\r\nFile\t" + folder +
                                                 "\\victim.txt\r\nFile\tvictim.txt\r\n");
    Uninstaller uninstaller(Folder());
    EXPECT_EQ(uninstaller.GetState(), Uninstaller::State::Refused);
    EXPECT_NE(uninstaller.Problem(true).find(L"beschädigt, Zeile 3"), std::wstring::npos)
        << uninstaller.Problem(true).c_str();
    EXPECT_EQ(SilentUninstall(Folder(), std::nullopt), 2);
    EXPECT_TRUE(Exists(Folder() + L"\\victim.txt"));
}

TEST_F(Uninstall, InteractiveQuestionsAndReport)
{
    struct Case {
        const char* what;
        bool german;
        int answer, keep; // to the questions whether to uninstall and whether to keep the catalogue
        const wchar_t* title;
        const wchar_t* report; // the start of the closing report
    };
    const Case cases[] = {
        {"no", true, IDNO, 0, L"Deinstallation von Sortaro", nullptr},
        {"yes, keep", true, IDYES, IDYES, L"Deinstallation von Sortaro",
         L"Sortaro wurde von Ihrem Rechner entfernt.\n\nBehalten: "},
        {"yes, delete", false, IDYES, IDNO, L"Uninstall Sortaro", L"Sortaro has been removed from your computer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Install(c.german));
        ModalAnswers answers;
        for (int button : {c.answer, c.keep, IDOK})
            answers.On(c.title, ModalAnswers::Press(button));
        const bool removed = c.answer == IDYES;
        EXPECT_EQ(InteractiveUninstall(Folder(), std::nullopt, nullptr), removed ? 0 : 1);
        const std::vector<std::wstring>& texts = answers.Texts();
        ASSERT_EQ(texts.size(), removed ? 3u : 1u);
        EXPECT_NE(texts[0].find(L" Sortaro "), std::wstring::npos) << "the question names the program";
        if (removed) {
            EXPECT_NE(texts[1].find(Folder() + L"\\Data"), std::wstring::npos) << "and the catalogue's folder";
            EXPECT_EQ(texts[2].rfind(std::wstring(c.title) + L"|" + c.report, 0), 0u) << texts[2].c_str();
        }
        EXPECT_EQ(Exists(Folder() + L"\\Sortaro.exe"), !removed);
        EXPECT_EQ(Exists(Folder() + L"\\Data"), c.keep != IDNO);
        // The next case starts from a fresh installation.
        SilentUninstall(Folder(), std::nullopt);
        RemoveTree(scratch + L"\\target");
    }
}

} // namespace
