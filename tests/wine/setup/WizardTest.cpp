#include "../MessageFlush.h"
#include "SetupTestSupport.h"
#include "setup/Backdrop.h"
#include "setup/resource.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace SetupTest;

namespace {

const wchar_t* const kQuestion = L"Installation abbrechen";

class WizardFlow : public SetupFixture {
protected:
    static void Flush(DWORD ms = 200) { FlushMessages(ms); }
    void TearDown() override
    {
        backdrop.reset();
        Flush(50);
        SetupFixture::TearDown();
    }

    // Writes the script, creates the backdrop (answering the language dialog through the
    // answers set up before) and lets the start timer tick.
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
        SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, Folder().c_str());
        Click(PageKind::Destination, IDOK);
        if (!desktop)
            Click(PageKind::Group, IDC_GROUP_DESKTOP);
        Click(PageKind::Group, IDOK);
        ASSERT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Summary});
    }

    // The pages on screen, in page order.
    std::vector<PageKind> ShownPages()
    {
        std::vector<PageKind> shown;
        for (int i = 0; i < kPageCount; ++i)
            if (IsWindowVisible(Page(static_cast<PageKind>(i))))
                shown.push_back(static_cast<PageKind>(i));
        return shown;
    }

    std::unique_ptr<Backdrop> backdrop;
    std::vector<int> ends;
};

TEST_F(WizardFlow, GermanFromWelcomeToFinish)
{
    Start(ExampleScript(), 2);
    EXPECT_TRUE(ShownPages().empty()) << "the welcome page waits for the third tick";
    backdrop->Tick();
    Flush();
    ASSERT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});
    EXPECT_EQ(WindowText(backdrop->Hwnd()), L"Kelvane Sortaro 3.0");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_APP_NAME), L"Sortaro 3.0");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_PRODUCT), L"für Win9x/2000/ME/NT");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_WELCOME_INSTALL_LINE), L"Sortaro auf Ihrem Rechner");
    EXPECT_FALSE(Enabled(PageKind::Welcome, IDC_BUTTON_BACK));

    Click(PageKind::Welcome, IDOK);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Licence});
    EXPECT_EQ(Text(PageKind::Licence, IDC_LICENCE_TEXT), L"Lizenzvereinbarung\r\nZweite Zeile\r\n");
    EXPECT_EQ(GetFocus(), Item(PageKind::Licence, IDOK)) << "Enter moves on";
    Click(PageKind::Licence, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Destination});
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_FOLDER), env.programFiles + L"\\Sortaro");
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_SPACE).rfind(L"braucht: 0", 0), 0u);
    SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, Folder().c_str());
    Click(PageKind::Destination, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Group});
    EXPECT_EQ(Text(PageKind::Group, IDC_GROUP_FIELD), L"Sortaro");
    EXPECT_EQ(IsDlgButtonChecked(Page(PageKind::Group), IDC_GROUP_DESKTOP), BST_CHECKED);
    Click(PageKind::Group, IDC_GROUP_DESKTOP);
    Click(PageKind::Group, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Summary});
    std::wstring summary = Text(PageKind::Summary, IDC_SUMMARY_TEXT);
    EXPECT_EQ(summary.rfind(L"Zielordner :\r\n      " + Folder() +
                                L"\r\n \r\n \r\nProgrammgruppe :\r\n      Sortaro\r\n \r\n \r\n"
                                L"Verknüpfung auf Desktop anlegen :\r\n      Nein\r\n",
                            0),
              0u)
        << summary.c_str();
    Click(PageKind::Summary, IDC_BUTTON_BACK);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Group});
    Click(PageKind::Group, IDOK);
    Click(PageKind::Summary, IDOK);

    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation erfolgreich abgeschlossen");
    EXPECT_FALSE(Enabled(PageKind::Finish, IDC_BUTTON_CANCEL));
    EXPECT_FALSE(Enabled(PageKind::Finish, IDC_BUTTON_BACK));
    EXPECT_EQ(IsDlgButtonChecked(Page(PageKind::Finish), IDC_FINISH_LAUNCH), BST_CHECKED);
    EXPECT_EQ(Text(PageKind::Progress, IDC_PROGRESS_STATUS), L"Erstelle Registrierungseinträge . . . ");
    EXPECT_EQ(ReadFile(Folder() + L"\\Sortaro.exe"), "program");
    EXPECT_FALSE(Exists(env.desktop + L"\\Sortaro.lnk"));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kOptions, L"language"), L"1");

    Click(PageKind::Finish, IDC_FINISH_LAUNCH);
    Click(PageKind::Finish, IDOK);
    EXPECT_EQ(ends, std::vector<int>{0});
    EXPECT_TRUE(ShownPages().empty());
}

TEST_F(WizardFlow, EnglishChosenInTheLanguageDialog)
{
    ModalAnswers answers;
    LRESULT preselected = -1;
    answers.On(L"Kelvane", [&](HWND dialog) {
        preselected = SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    std::vector<std::wstring> question;
    answers.On(kQuestion, [&](HWND dialog) {
        question = {ItemText(dialog, IDC_CANCEL_HEADING), ItemText(dialog, IDYES), ItemText(dialog, IDNO)};
        PostMessageW(GetDlgItem(dialog, IDNO), BM_CLICK, 0, 0);
    });
    Start(ExampleScript(true));
    EXPECT_EQ(preselected, 0) << "English, the first choice, is preselected";
    Click(PageKind::Welcome, IDC_BUTTON_CANCEL);
    EXPECT_EQ(question, (std::vector<std::wstring>{L"Cancel Setup", L"Yes", L"No"}));
    // Every page speaks English.
    EXPECT_EQ(Text(PageKind::Welcome, IDC_HEADING), L"Welcome to Setup");
    EXPECT_EQ(Text(PageKind::Group, IDC_HEADING), L"Choose the Prgram group");
    EXPECT_EQ(Text(PageKind::Licence, IDOK), L"&Accept");
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_SPACE).rfind(L"Required: ", 0), 0u);
    EXPECT_EQ(Text(PageKind::Progress, IDC_PROGRESS_LABEL), L"Action");
    EXPECT_EQ(Text(PageKind::Summary, IDOK), L"&Install");

    WalkToSummary(false);
    EXPECT_EQ(Text(PageKind::Licence, IDC_LICENCE_TEXT), L"Licence Agreement\r\nSecond line\r\n");
    Click(PageKind::Summary, IDOK);
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation finished");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kOptions, L"language"), L"0");
}

TEST_F(WizardFlow, GermanChosenOnAnEnglishSystemKeepsTheEnglishProductText)
{
    env.germanLocale = false;
    ModalAnswers answers;
    answers.On(L"Kelvane", [](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_SETCURSEL, 1, 0);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    Start(ExampleScript(true));
    EXPECT_EQ(Text(PageKind::Welcome, IDC_HEADING), L"Willkommen zum Setup von");
    EXPECT_EQ(Text(PageKind::Welcome, IDC_PRODUCT), L"for Win9x/2000/ME/NT");

    // Yes to the question ends the installer on any page but the progress page.
    answers.On(kQuestion, ModalAnswers::Press(IDYES));
    Click(PageKind::Welcome, IDOK);
    SendMessageW(Page(PageKind::Licence), WM_CLOSE, 0, 0);
    Flush();
    EXPECT_EQ(ends, std::vector<int>{1});
    EXPECT_TRUE(ShownPages().empty());
}

TEST_F(WizardFlow, CancelAsksDeclineDoesNot)
{
    ModalAnswers answers;
    std::vector<std::wstring> seen;
    answers.On(kQuestion, [&](HWND question) {
        seen = {ItemText(question, IDC_CANCEL_HEADING), ItemText(question, IDYES), ItemText(question, IDNO)};
        PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
    });
    answers.On(kQuestion, ModalAnswers::Press(IDNO));
    Start(ExampleScript());
    Click(PageKind::Welcome, IDC_BUTTON_CANCEL);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Installation abbrechen", L"&Ja", L"&Nein"}));
    // The close box asks as well; no goes on.
    SendMessageW(Page(PageKind::Welcome), WM_CLOSE, 0, 0);
    Flush();
    EXPECT_EQ(answers.Count(kQuestion), 2);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Welcome});
    EXPECT_TRUE(ends.empty());

    // Declining the licence ends at once, without the question.
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDC_BUTTON_CANCEL);
    EXPECT_EQ(answers.Count(kQuestion), 2);
    EXPECT_EQ(ends, std::vector<int>{1});
    EXPECT_TRUE(ShownPages().empty());
    EXPECT_FALSE(Exists(Folder()));
}

TEST_F(WizardFlow, FailuresAreShownBeforeTheFinishPage)
{
    ModalAnswers answers;
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Start(ExampleScript(false, {L"Ziel\\fehlt.txt;"}));
    WalkToSummary(true);
    Click(PageKind::Summary, IDOK);
    EXPECT_EQ(answers.Texts(), std::vector<std::wstring>{L"Hinweis|Die Installation ist nicht vollständig. Folgendes "
                                                         L"ist fehlgeschlagen:\n\nDatei nicht kopiert: fehlt.txt"});
    ASSERT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    EXPECT_EQ(Text(PageKind::Finish, IDC_HEADING), L"Installation unvollständig abgeschlossen");
    EXPECT_TRUE(ReadShortcut(env.desktop + L"\\Sortaro.lnk").loaded) << "the desktop shortcut as chosen";

    // Closing the finish page asks as well; no stays on it.
    answers.On(kQuestion, ModalAnswers::Press(IDNO));
    SendMessageW(Page(PageKind::Finish), WM_CLOSE, 0, 0);
    Flush();
    EXPECT_EQ(answers.Count(kQuestion), 1);
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Finish});
    Click(PageKind::Finish, IDC_FINISH_LAUNCH);
    Click(PageKind::Finish, IDOK);
    EXPECT_EQ(ends, std::vector<int>{3});
}

TEST_F(WizardFlow, MissingLicenceEndsTheInstaller)
{
    DeleteFileW((env.source + L"\\Vertrag.txt").c_str());
    ModalAnswers answers;
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Start(ExampleScript());
    Click(PageKind::Welcome, IDOK);
    EXPECT_EQ(
        answers.Texts(),
        std::vector<std::wstring>{L"Hinweis|Die Lizenzvereinbarung wurde nicht gefunden.\n.Installation wird beendet"});
    EXPECT_EQ(ends, std::vector<int>{2});
}

TEST_F(WizardFlow, MissingScript)
{
    const std::pair<bool, const wchar_t*> cases[] = {
        {true, L"FEHLER|Die Datei Install.Txt kann nicht gelesen werden !\nAbbruch der Installation."},
        {false, L"Note|File Install.Txt was not found !\nInstallation will be canceled."},
    };
    for (const auto& [germanLocale, text] : cases) {
        ends.clear();
        env.germanLocale = germanLocale;
        ModalAnswers answers;
        const wchar_t* title = germanLocale ? L"FEHLER" : L"Note";
        answers.On(title, ModalAnswers::Press(IDOK));
        answers.On(title, ModalAnswers::Press(IDOK)); // the system's own error text follows
        Backdrop missing([this](int code) { ends.push_back(code); });
        EXPECT_FALSE(missing.Create(env, false));
        ASSERT_EQ(answers.Texts().size(), 2u);
        EXPECT_EQ(answers.Texts()[0], text);
        EXPECT_EQ(ends, std::vector<int>{2});
    }
}

TEST_F(WizardFlow, DestinationTreeOfTheShellNamespace)
{
    ModalAnswers answers;
    Start(ExampleScript());
    Click(PageKind::Welcome, IDOK);
    Click(PageKind::Licence, IDOK);
    HWND tree = Item(PageKind::Destination, IDC_DESTINATION_TREE);

    // My Computer has a shell name without "\": next is disabled.
    HTREEITEM computer = nullptr;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
        if (lstrcmpiW(W().Tree().PathOf(item).c_str(), L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}") == 0)
            computer = item;
    ASSERT_NE(computer, nullptr);
    TreeView_SelectItem(tree, computer);
    Flush();
    EXPECT_FALSE(Enabled(PageKind::Destination, IDOK));

    // Its children, the drives, are read when it is expanded.
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
    EXPECT_EQ(Text(PageKind::Destination, IDC_DESTINATION_FOLDER), L"C:\\Sortaro");
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
    SetDlgItemTextW(Page(PageKind::Destination), IDC_DESTINATION_FOLDER, L"Sortaro");
    EXPECT_TRUE(Enabled(PageKind::Destination, IDOK));
    answers.On(L"Hinweis", ModalAnswers::Press(IDOK));
    Click(PageKind::Destination, IDOK);
    EXPECT_EQ(answers.Texts(),
              std::vector<std::wstring>{L"Hinweis|Bestimmen Sie einen Ordner zur Installation des Programms !"});
    EXPECT_EQ(ShownPages(), std::vector<PageKind>{PageKind::Destination});
}

TEST_F(WizardFlow, GroupListShowsTheProgramGroups)
{
    MakeDirectory(env.programs + L"\\Zubehör\\Spiele");
    MakeDirectory(env.programs + L"\\Werkzeuge");
    Start(ExampleScript());
    HWND list = Item(PageKind::Group, IDC_GROUP_LIST);
    std::vector<std::wstring> captions;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t text[MAX_PATH] = L"";
        ListView_GetItemText(list, i, 0, text, MAX_PATH);
        captions.push_back(text);
    }
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Spiele", L"Werkzeuge", L"Zubehör"}));
    LVFINDINFOW find{LVFI_STRING, L"Spiele", 0, {}, 0};
    int nested = ListView_FindItem(list, -1, &find);
    ASSERT_GE(nested, 0);
    ListView_SetItemState(list, nested, LVIS_SELECTED, LVIS_SELECTED);
    Flush();
    EXPECT_EQ(Text(PageKind::Group, IDC_GROUP_FIELD), L"Zubehör\\Spiele");
}

} // namespace
