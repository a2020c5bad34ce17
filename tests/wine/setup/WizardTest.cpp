#include "SetupTestSupport.h"
#include "setup/Backdrop.h"
#include "setup/resource.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace SetupTest;

namespace {

const wchar_t* const kTestKey = L"Software\\SortaroSetupTest";
const wchar_t* const kQuestion = L"Installation abbrechen";

std::vector<std::wstring> Script(bool offerEnglish, const std::vector<std::wstring>& copies = {})
{
    std::vector<std::wstring> lines = {
        L"[AppName]",
        L"Sortaro 3.0;",
        L"[Title]",
        L"Sortaro;",
        L"[product]",
        L"für Win9x/2000/ME/NT;",
        L"[ProgramGroup]",
        L"Sortaro;",
        L"[description]",
        L"Dateikatalog;",
        L"[MainFile]",
        L"Sortaro.exe;",
        L"[MakeDir]",
        L"%Ziel\\Data;",
        L"[English]",
        offerEnglish ? L"1;" : L"0;",
        L"[COPYFILES]",
        L"Ziel\\Sortaro.exe;",
        L"WinStartMenu\\Sortaro.exe;",
        L"DesktopPath\\Sortaro.exe;",
    };
    lines.insert(lines.end(), copies.begin(), copies.end());
    lines.insert(lines.end(), {L"]", L"[AddReg]", L"HKCU,,Software\\SortaroSetupTest,language,s,%Language;",
                               L"HKCU,,Software\\SortaroSetupTest,InstallDir,s,%Ziel;", L"]"});
    return lines;
}

class WizardFlow : public testing::Test {
protected:
    void SetUp() override
    {
        env = TestEnvironment(scratch);
        WriteFile(env.source + L"\\Sortaro.exe", "program");
        WriteFile(env.source + L"\\Data\\liesmich.txt", "lies mich");
        WriteScript(env.source + L"\\Vertrag.txt", {L"Lizenzvereinbarung", L"Zweite Zeile"});
        WriteScript(env.source + L"\\Vertrag_E.txt", {L"Licence Agreement", L"Second line"});
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
    }
    void TearDown() override
    {
        backdrop.reset();
        Flush(50);
        SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
        ForgetRegistration();
    }

    // Writes the script, creates the backdrop (answering the language dialog through the
    // answers set up before) and lets the start timer tick three times.
    void Start(const std::vector<std::wstring>& lines, int ticks = 3)
    {
        WriteScript(env.source + L"\\Install.txt", lines);
        backdrop = std::make_unique<Backdrop>([this](int code) { ends.push_back(code); });
        ASSERT_TRUE(backdrop->Create(env, false));
        for (int i = 0; i < ticks; ++i)
            backdrop->Tick();
        Flush();
    }

    Wizard& W() { return *backdrop->GetWizard(); }
    HWND Page(PageKind kind) { return W().PageHwnd(kind); }
    bool Shown(PageKind kind) { return IsWindowVisible(Page(kind)) != FALSE; }
    HWND Item(PageKind kind, int id) { return GetDlgItem(Page(kind), id); }
    std::wstring Text(PageKind kind, int id) { return ItemText(Page(kind), id); }
    bool Enabled(PageKind kind, int id) { return IsWindowEnabled(Item(kind, id)) != FALSE; }

    void Click(PageKind kind, int id)
    {
        SendMessageW(Item(kind, id), BM_CLICK, 0, 0);
        Flush();
    }

    // The wizard from the welcome page to the summary, the folder typed by hand.
    void WalkToSummary(bool desktop)
    {
        Click(PageKind::Welcome, IDOK);
        Click(PageKind::Licence, IDOK);
        SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, Destination().c_str());
        Click(PageKind::Destination, IDOK);
        if (!desktop)
            Click(PageKind::Group, IDC_GROUP_DESKTOP);
        Click(PageKind::Group, IDOK);
        ASSERT_TRUE(Shown(PageKind::Summary));
    }

    std::wstring Destination() const { return scratch.Path() + L"\\target\\Sortaro"; }

    // The pages on screen, in page order.
    std::vector<PageKind> ShownPages()
    {
        std::vector<PageKind> shown;
        for (int i = 0; i < kPageCount; ++i)
            if (Shown(static_cast<PageKind>(i)))
                shown.push_back(static_cast<PageKind>(i));
        return shown;
    }

    ScratchFolder scratch;
    InstallEnvironment env;
    std::unique_ptr<Backdrop> backdrop;
    std::vector<int> ends;
};

TEST_F(WizardFlow, WelcomeOpensOnTheThirdTick)
{
    Start(Script(false), 2);
    EXPECT_EQ(backdrop->Ticks(), 2);
    EXPECT_TRUE(ShownPages().empty());
    backdrop->Tick();
    Flush();
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});
    EXPECT_EQ(WindowText(backdrop->Hwnd()), L"Kelvane Sortaro 3.0");
}

TEST_F(WizardFlow, GermanFromWelcomeToFinish)
{
    Start(Script(false));
    ASSERT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});
    const struct {
        int id;
        const wchar_t* text;
    } welcome[] = {
        {IDC_APP_NAME, L"Sortaro 3.0"},
        {IDC_PRODUCT, L"für Win9x/2000/ME/NT"},
        {IDC_PRODUCT_WORD, L"Kelvane"},
        {IDC_HEADING, L"Willkommen zum Setup von"},
        {IDC_WELCOME_TITLE, L"Sortaro"},
        {IDC_WELCOME_INSTALL_LABEL, L"Kelvane installiert"},
        {IDC_WELCOME_INSTALL_LINE, L"Sortaro auf Ihrem Rechner"},
        {IDC_BUTTON_CANCEL, L"&Abbrechen"},
        {IDOK, L"&Weiter >"},
        {IDC_BUTTON_BACK, L"< &Zurück"},
    };
    for (const auto& t : welcome)
        EXPECT_EQ(Text(PageKind::Welcome, t.id), t.text) << t.id;
    EXPECT_EQ(WindowText(Page(PageKind::Welcome)), L"Kelvane Sortaro 3.0");
    EXPECT_FALSE(Enabled(PageKind::Welcome, IDC_BUTTON_BACK));
    RECT client;
    GetClientRect(Page(PageKind::Welcome), &client);
    EXPECT_EQ(client.right, 552);
    EXPECT_EQ(client.bottom, 364);

    Click(PageKind::Welcome, IDOK);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Licence});
    EXPECT_EQ(Text(PageKind::Licence, IDC_LICENCE_TEXT), L"Lizenzvereinbarung\r\nZweite Zeile\r\n");
    EXPECT_EQ(Text(PageKind::Licence, IDC_BUTTON_CANCEL), L"&Nein");
    EXPECT_EQ(Text(PageKind::Licence, IDOK), L"&Ja");
    EXPECT_EQ(GetFocus(), Item(PageKind::Licence, IDOK)) << "Enter moves on";
    Click(PageKind::Licence, IDC_BUTTON_BACK);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Destination});
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_FOLDER), env.programFiles + L"\\Sortaro");
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_SPACE).rfind(L"braucht: 0", 0), 0u);
    EXPECT_EQ(W().Needed(), 7.0) << "the size of Sortaro.exe";
    SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, Destination().c_str());
    Click(PageKind::Destination, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Group});
    EXPECT_EQ(Text(PageKind::Group, IDC_GROUP_FIELD), L"Sortaro");
    EXPECT_EQ(IsDlgButtonChecked(Page(PageKind::Group), IDC_GROUP_DESKTOP), BST_CHECKED);
    Click(PageKind::Group, IDC_GROUP_DESKTOP);
    Click(PageKind::Group, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Summary});
    std::wstring summary = Text(PageKind::Summary, IDC_SUMMARY_TEXT);
    EXPECT_EQ(summary.rfind(L"Zielordner :\r\n      " + Destination() +
                                L"\r\n \r\n \r\nProgrammgruppe :\r\n      "
                                L"Sortaro\r\n \r\n \r\nVerknüpfung auf "
                                L"Desktop anlegen :\r\n      Nein\r\n",
                            0),
              0u)
        << summary.c_str();
    Click(PageKind::Summary, IDC_BUTTON_BACK);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Group});
    Click(PageKind::Group, IDOK);
    Click(PageKind::Summary, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation erfolgreich abgeschlossen");
    EXPECT_EQ(Text(PageKind::Finish, IDOK), L"&Beenden");
    EXPECT_FALSE(Enabled(PageKind::Finish, IDC_BUTTON_CANCEL));
    EXPECT_FALSE(Enabled(PageKind::Finish, IDC_BUTTON_BACK));
    EXPECT_EQ(IsDlgButtonChecked(Page(PageKind::Finish), IDC_FINISH_LAUNCH), BST_CHECKED);
    EXPECT_EQ(Text(PageKind::Progress, IDC_PROGRESS_STATUS), L"Erstelle Registrierungseinträge . . . ");

    EXPECT_EQ(ReadFile(Destination() + L"\\Sortaro.exe"), "program");
    EXPECT_EQ(ReadFile(Destination() + L"\\Data\\liesmich.txt"), "lies mich");
    EXPECT_TRUE(ReadShortcut(env.programs + L"\\Sortaro\\Sortaro.lnk").loaded);
    EXPECT_FALSE(Exists(env.desktop + L"\\Sortaro.lnk"));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"language"), L"1");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"InstallDir"), Destination());

    Click(PageKind::Finish, IDC_FINISH_LAUNCH);
    Click(PageKind::Finish, IDOK);
    EXPECT_EQ(ends, std::vector<int>{0});
    EXPECT_TRUE(ShownPages().empty());
}

TEST_F(WizardFlow, EnglishChosenInTheLanguageDialog)
{
    ModalAnswers answers;
    std::vector<std::wstring> choices;
    answers.On(L"Kelvane", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
        for (int i = 0; i < static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[64] = L"";
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            choices.push_back(text);
        }
        choices.push_back(std::to_wstring(SendMessageW(list, LB_GETCURSEL, 0, 0)));
        choices.push_back(ItemText(dialog, IDC_LANGUAGE_HEADING));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    Start(Script(true));
    EXPECT_EQ(choices, (std::vector<std::wstring>{L"English", L"Deutsch", L"0", L"Sprache / Language"}));
    EXPECT_EQ(Text(PageKind::Welcome, IDC_HEADING), L"Welcome to Setup");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_WELCOME_INSTALL_LABEL), L"Kelvane will install");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_WELCOME_INSTALL_LINE), L"Sortaro on your Computer");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_BUTTON_CANCEL), L"&Cancel");
    EXPECT_EQ(Text(PageKind::Welcome, IDOK), L"&Next");
    EXPECT_EQ(Text(PageKind::Licence, IDOK), L"&Accept");
    EXPECT_EQ(Text(PageKind::Licence, IDC_BUTTON_CANCEL), L"&NO");
    EXPECT_EQ(Text(PageKind::Group, IDC_HEADING), L"Choose the Prgram group");
    EXPECT_EQ(Text(PageKind::Progress, IDC_PROGRESS_LABEL), L"Action");
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_SPACE).rfind(L"Required: ", 0), 0u);

    WalkToSummary(false);
    EXPECT_EQ(Text(PageKind::Licence, IDC_LICENCE_TEXT), L"Licence Agreement\r\nSecond line\r\n");
    std::wstring summary = Text(PageKind::Summary, IDC_SUMMARY_TEXT);
    EXPECT_NE(summary.find(L"Shortcut to Desktop :\r\n      N0\r\n"), std::wstring::npos) << summary.c_str();
    EXPECT_NE(summary.find(L"Diskspace :\r\n      Needed : 0"), std::wstring::npos) << summary.c_str();
    EXPECT_EQ(Text(PageKind::Summary, IDOK), L"&Install");
    Click(PageKind::Summary, IDOK);
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation finished");
    EXPECT_EQ(Text(PageKind::Finish, IDC_FINISH_LAUNCH), L"Launch application after Finish");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"language"), L"0");
}

TEST_F(WizardFlow, GermanChosenOnAnEnglishSystemKeepsTheEnglishProductText)
{
    env.germanLocale = false;
    ModalAnswers answers;
    answers.On(L"Kelvane", [](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_SETCURSEL, 1, 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    Start(Script(true));
    EXPECT_EQ(Text(PageKind::Welcome, IDC_HEADING), L"Willkommen zum Setup von");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_PRODUCT), L"for Win9x/2000/ME/NT");
}

TEST_F(WizardFlow, DeclineEndsWithoutTheQuestion)
{
    ModalAnswers answers;
    WriteFile(env.source + L"\\SortaroNT.exe", "program for NT");
    std::vector<std::wstring> lines = Script(false);
    lines.insert(lines.end(), {L"[RenameFiles]", L"SortaroNT.exe,Sortaro.exe,2;"});
    Start(lines);
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDC_BUTTON_CANCEL);
    EXPECT_EQ(ends, std::vector<int>{1});
    EXPECT_EQ(answers.Count(kQuestion), 0);
    EXPECT_TRUE(ShownPages().empty());
    EXPECT_FALSE(Exists(Destination()));
    // The platform's variant is chosen when copying: the medium is as it was.
    EXPECT_EQ(ReadFile(env.source + L"\\Sortaro.exe"), "program");
    EXPECT_EQ(ReadFile(env.source + L"\\SortaroNT.exe"), "program for NT");
}

TEST_F(WizardFlow, CancelQuestionNoGoesOnYesEnds)
{
    struct Case {
        bool english;
        const wchar_t* heading;
        const wchar_t* yes;
        const wchar_t* no;
    };
    const Case cases[] = {
        {false, L"Installation abbrechen", L"&Ja", L"&Nein"},
        {true, L"Cancel Setup", L"Yes", L"No"},
    };
    for (const Case& c : cases) {
        ends.clear();
        ModalAnswers answers;
        if (c.english)
            answers.On(L"Kelvane", ModalAnswers::Press(IDOK));
        std::vector<std::wstring> seen;
        answers.On(kQuestion, [&](HWND question) {
            seen = {ItemText(question, IDC_CANCEL_HEADING), ItemText(question, IDYES), ItemText(question, IDNO)};
            PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
        });
        Start(Script(c.english));
        Click(PageKind::Welcome, IDC_BUTTON_CANCEL);
        EXPECT_EQ(seen, (std::vector<std::wstring>{c.heading, c.yes, c.no}));
        EXPECT_TRUE(ends.empty());
        EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});

        // The close box asks as well, on any page.
        Click(PageKind::Welcome, IDOK);
        answers.On(kQuestion, ModalAnswers::Press(IDYES));
        SendMessageW(Page(PageKind::Licence), WM_CLOSE, 0, 0);
        Flush();
        EXPECT_EQ(answers.Count(kQuestion), 2);
        EXPECT_EQ(ends, std::vector<int>{1});
        backdrop.reset();
    }
}

TEST_F(WizardFlow, ClosingTheFinishPageAsks)
{
    ModalAnswers answers;
    Start(Script(false));
    WalkToSummary(true);
    Click(PageKind::Summary, IDOK);
    ASSERT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    answers.On(kQuestion, ModalAnswers::Press(IDNO));
    SendMessageW(Page(PageKind::Finish), WM_CLOSE, 0, 0);
    Flush();
    EXPECT_EQ(answers.Count(kQuestion), 1);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    EXPECT_TRUE(ends.empty());
    EXPECT_TRUE(ReadShortcut(env.desktop + L"\\Sortaro.lnk").loaded);
}

TEST_F(WizardFlow, YesDuringTheRunEndsAfterIt)
{
    ModalAnswers answers;
    Start(Script(false));
    WalkToSummary(true);
    answers.On(kQuestion, ModalAnswers::Press(IDYES));
    // Pressed as soon as the progress page processes its messages.
    PostMessageW(Item(PageKind::Progress, IDC_BUTTON_CANCEL), BM_CLICK, 0, 0);
    Click(PageKind::Summary, IDOK);
    EXPECT_EQ(answers.Count(kQuestion), 1);
    EXPECT_EQ(ends, std::vector<int>{1});
    EXPECT_EQ(ReadFile(Destination() + L"\\Sortaro.exe"), "program") << "the run is not interrupted";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTestKey, L"InstallDir"), Destination());
}

TEST_F(WizardFlow, FailuresAreShownBeforeTheFinishPage)
{
    ModalAnswers answers;
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Start(Script(false, {L"Ziel\\fehlt.txt;"}));
    WalkToSummary(true);
    Click(PageKind::Summary, IDOK);
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], L"Hinweis|Die Installation ist nicht vollständig. Folgendes ist fehlgeschlagen:\n\n"
                                  L"Datei nicht kopiert: fehlt.txt");
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation unvollständig abgeschlossen");
    Click(PageKind::Finish, IDC_FINISH_LAUNCH);
    Click(PageKind::Finish, IDOK);
    EXPECT_EQ(ends, std::vector<int>{3});
}

TEST_F(WizardFlow, MissingLicenceEndsTheInstaller)
{
    DeleteFileW((env.source + L"\\Vertrag.txt").c_str());
    ModalAnswers answers;
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Start(Script(false));
    Click(PageKind::Welcome, IDOK);
    EXPECT_EQ(
        answers.Texts(),
        std::vector<std::wstring>{L"Hinweis|Die Lizenzvereinbarung wurde nicht gefunden.\n.Installation wird beendet"});
    EXPECT_EQ(ends, std::vector<int>{2});
}

TEST_F(WizardFlow, MissingScript)
{
    struct Case {
        bool germanLocale;
        const wchar_t* text;
    };
    const Case cases[] = {
        {true, L"FEHLER|Die Datei Install.Txt kann nicht gelesen werden !\nAbbruch der Installation."},
        {false, L"Note|File Install.Txt was not found !\nInstallation will be canceled."},
    };
    for (const Case& c : cases) {
        ends.clear();
        env.germanLocale = c.germanLocale;
        ModalAnswers answers;
        const wchar_t* title = c.germanLocale ? L"FEHLER" : L"Note";
        answers.On(title, ModalAnswers::Press(IDOK));
        answers.On(title, ModalAnswers::Press(IDOK)); // the system's own error text follows
        Backdrop missing([this](int code) { ends.push_back(code); });
        EXPECT_FALSE(missing.Create(env, false));
        ASSERT_EQ(answers.Texts().size(), 2u);
        EXPECT_EQ(answers.Texts()[0], c.text);
        EXPECT_EQ(ends, std::vector<int>{2});
    }
}

TEST_F(WizardFlow, DestinationNeedsAFolder)
{
    ModalAnswers answers;
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Start(Script(false));
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDOK);
    SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, L"Sortaro");
    Click(PageKind::Destination, IDOK);
    EXPECT_EQ(answers.Texts(),
              std::vector<std::wstring>{L"Hinweis|Bestimmen Sie einen Ordner zur Installation des Programms !"});
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Destination});
}

TEST_F(WizardFlow, DestinationTreeOfTheShellNamespace)
{
    Start(Script(false));
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDOK);
    HWND tree = Item(PageKind::Destination, IDC_DESTINATION_TREE);
    ASSERT_GT(TreeView_GetCount(tree), 0u);

    // My Computer has a shell name without "\": next is disabled.
    HTREEITEM computer = nullptr;
    std::wstring names;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        names += W().Tree().PathOf(item) + L"; ";
        if (lstrcmpiW(W().Tree().PathOf(item).c_str(), L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}") == 0)
            computer = item;
    }
    ASSERT_NE(computer, nullptr) << names.c_str();
    TreeView_SelectItem(tree, computer);
    Flush();
    EXPECT_FALSE(Enabled(PageKind::Destination, IDOK));

    // Its children are read when it is expanded: the drives, in the shell's order.
    EXPECT_EQ(TreeView_GetChild(tree, computer), nullptr);
    TreeView_Expand(tree, computer, TVE_EXPAND);
    Flush();
    HTREEITEM driveC = nullptr;
    for (HTREEITEM item = TreeView_GetChild(tree, computer); item; item = TreeView_GetNextSibling(tree, item))
        if (W().Tree().PathOf(item) == L"C:\\")
            driveC = item;
    ASSERT_NE(driveC, nullptr);
    TreeView_SelectItem(tree, driveC);
    Flush();
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_FOLDER), L"C:\\Sortaro") << "a drive root takes no extra \\";
    EXPECT_TRUE(Enabled(PageKind::Destination, IDOK));
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_SPACE).rfind(L"braucht: ", 0), 0u);

    // Collapsing forgets the children; expanding reads them again. By the keyboard, as a user
    // would: a TVM_EXPAND after the first one sends no notifications.
    TreeView_SelectItem(tree, computer);
    SendMessageW(tree, WM_KEYDOWN, VK_LEFT, 0);
    Flush();
    EXPECT_EQ(TreeView_GetChild(tree, computer), nullptr);
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
    Flush();
    EXPECT_NE(TreeView_GetChild(tree, computer), nullptr);

    // Typing by hand makes next usable again; the check comes with the click.
    TreeView_SelectItem(tree, computer);
    Flush();
    SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, Destination().c_str());
    EXPECT_TRUE(Enabled(PageKind::Destination, IDOK));
}

TEST_F(WizardFlow, GroupListShowsTheProgramGroups)
{
    scratch.Make(L"programs\\Zubehör\\Spiele");
    scratch.Make(L"programs\\Werkzeuge");
    Start(Script(false));
    HWND list = Item(PageKind::Group, IDC_GROUP_LIST);
    std::vector<std::wstring> captions;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t text[MAX_PATH] = L"";
        ListView_GetItemText(list, i, 0, text, MAX_PATH);
        captions.push_back(text);
    }
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Spiele", L"Werkzeuge", L"Zubehör"}));
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = L"Spiele";
    int nested = ListView_FindItem(list, -1, &find);
    ASSERT_GE(nested, 0);
    ListView_SetItemState(list, nested, LVIS_SELECTED, LVIS_SELECTED);
    Flush();
    EXPECT_EQ(Text(PageKind::Group, IDC_GROUP_FIELD), L"Zubehör\\Spiele");
}

} // namespace
