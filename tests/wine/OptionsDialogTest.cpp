// The options dialog: filled from what the program holds, nothing stored on cancel, the
// keys it owns on OK; its new-category dialog; and the extension editor of a tree category.

#include "AppFixture.h"
#include "catalogue/options/EndingsEditor.h"
#include "catalogue/options/NewCategoryDialog.h"
#include "catalogue/options/OptionsDialog.h"
#include "catalogue/shell/resource.h"

#include <filesystem>
#include <map>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;
// Every value of the keys the dialog writes, by key and name.
using Snapshot = std::map<std::wstring, std::wstring>;

const std::wstring kInstall = L"C:\\sortaro-options";

Snapshot TakeSnapshot()
{
    Snapshot values;
    for (const wchar_t* key : {L"", L"Vorschau", L"UserFiles"})
        for (const std::wstring& name : ValueNames(key))
            values[std::wstring(key) + L"\\" + name] = GetOption(key, name);
    return values;
}

class OptionsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::filesystem::create_directories(kInstall);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        std::filesystem::remove_all(kInstall);
    }

    // The main window up, with two user categories and the options set.
    void StartWithOptions(const wchar_t* language = L"1")
    {
        SetOption(L"", L"InstallDir", kInstall);
        SetOption(L"", L"language", language);
        SetOption(L"", L"includehiddenfiles", L"1");
        SetOption(L"", L"netscapepath", L"C:\\ns");
        SetOption(L"", L"operapath", L"C:\\op");
        SetOption(L"UserFiles", L"Bilder", L".BMP+.JPG|Default");
        SetOption(L"UserFiles", L"Texte", L".TXT|C:\\windows\\notepad.exe");
        SetOption(L"Vorschau", L"Textdatei", L".TXT.DOC");
        SetOption(L"Vorschau", L"Compressed", L".ZIP");
        SetOption(L"Vorschau", L"Enabled", L"0");
        StartToMainWindow(true);
    }

    std::unique_ptr<OptionsDialog> OpenDialog()
    {
        auto dialog = main->MakeOptionsDialog();
        EXPECT_TRUE(dialog->CreateModeless(main->Hwnd()));
        return dialog;
    }
};

TEST_F(OptionsTest, FilledFromTheProgram)
{
    StartWithOptions();
    auto dialog = OpenDialog();
    const OptionsState state = dialog->State();
    ASSERT_EQ(state.categories.size(), 2u);
    EXPECT_EQ(state.categories[0].name, L"Bilder");
    EXPECT_EQ(state.categories[0].extensions, L".BMP+.JPG");
    EXPECT_EQ(state.categories[0].icon, L"Default");
    EXPECT_EQ(state.categories[1].icon, L"C:\\windows\\notepad.exe");
    EXPECT_EQ(state.categories[1].previousId, 48);
    EXPECT_EQ(Texts(std::begin(state.previewLists), std::end(state.previewLists)),
              (Texts{L".TXT.DOC", L"", L"", L"", L"", L".ZIP"}));
    EXPECT_EQ(state.netscapePath, L"C:\\ns");
    EXPECT_EQ(state.operaPath, L"C:\\op");
    EXPECT_TRUE(state.includeHidden);
    EXPECT_FALSE(state.saveDatabase || state.saveDesktop || state.previewAtStart);

    // One page at a time (the dialog itself is not shown here).
    dialog->ShowPage(2);
    auto shown = [&](int id) { return (GetWindowLongPtrW(dialog->Item(id), GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(IDC_OPT_NETSCAPE_PATH));
    EXPECT_FALSE(shown(IDC_OPT_CATEGORIES));
}

TEST_F(OptionsTest, TextsInBothLanguages)
{
    const struct {
        const wchar_t* language;
        std::vector<std::pair<int, std::wstring>> texts; // control id (0: caption) and text
        Texts tabs;
        std::wstring firstColumn;
    } cases[] = {
        {L"1",
         {{0, L"Optionen"},
          {IDOK, L"&OK "},
          {IDC_OPT_DATABASE, L"Beim Beenden die Datenbank im Ordner \"Data\" abspeichern."},
          {IDC_OPT_PREVIEW_HINT, L"Sie können Dateiendungen hinzufügen oder entfernen. Bitte die Syntax beachten "
                                 L"z.b.\r\n.TXT  (eine Dateiendung wird berücksichtigt)\r\n.TXT.DOC  (zwei "
                                 L"Dateiendungen werden berücksichtigt)"}},
         {L"Dateiendungen ", L"Vorschaudateien", L"Vorschauoptionen", L"Datenbank"},
         L"Kategorie"},
        {L"0",
         {{0, L"Options"},
          {IDOK, L"&OK "},
          {IDCANCEL, L"Cancel"},
          {IDC_OPT_HEADING, L"User defind"},
          {IDC_OPT_DATABASE, L"Store information in folder 'Data'"}},
         {L"File extensions", L"Preview files", L"Preview options", L"Database"},
         L"Categorie"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << c.language);
        ClearSettings();
        StartWithOptions(c.language);
        auto dialog = OpenDialog();
        for (const auto& text : c.texts)
            EXPECT_EQ(WindowText(text.first ? dialog->Item(text.first) : dialog->Hwnd()), text.second);
        Texts tabs;
        for (int page = 0; page < OptionsDialog::kPageCount; ++page) {
            wchar_t text[64] = L"";
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = ARRAYSIZE(text);
            TabCtrl_GetItem(dialog->Item(IDC_OPT_TABS), page, &item);
            tabs.push_back(text);
        }
        EXPECT_EQ(tabs, c.tabs);
        wchar_t column[64] = L"";
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = column;
        lvc.cchTextMax = ARRAYSIZE(column);
        ListView_GetColumn(dialog->Item(IDC_OPT_CATEGORIES), 0, &lvc);
        EXPECT_EQ(std::wstring(column), c.firstColumn);
        dialog.reset();
        Stop();
    }
}

// The tool button opens the dialog; its cancel, also after rows were added, writes nothing.
TEST_F(OptionsTest, CancelWritesNothing)
{
    StartWithOptions();
    const Snapshot before = TakeSnapshot();
    {
        ShowRecorder shown;
        shown.ClickWhenShown(L"Optionen", IDCANCEL);
        main->ExecuteCommand(IDM_OPTIONS);
        EXPECT_NE(shown.IndexOf(L"Optionen"), -1);
    }
    auto dialog = OpenDialog();
    dialog->AddRow({L"Neu", L".NEU", L"Default", -1});
    SendMessageW(dialog->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    Flush();
    EXPECT_EQ(TakeSnapshot(), before);
}

TEST_F(OptionsTest, OkWritesItsKeys)
{
    StartWithOptions();
    auto dialog = OpenDialog();
    dialog->AddRow({L"Neu", L".NEU", L"Default", -1});
    dialog->SetItemText(IDC_OPT_PREVIEW_FIELD_BASE + 1, L".JPG.GIF");
    for (int id : {IDC_OPT_HIDDEN_FILES, IDC_OPT_PREVIEW_AT_START, IDC_OPT_DATABASE})
        SendMessageW(dialog->Item(id), BM_CLICK, 0, 0);
    dialog->SetItemText(IDC_OPT_OPERA_PATH, L"");
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    dialog->Confirm();
    Flush();

    EXPECT_EQ(shown.messages, Texts{L"Einige Änderungen werden erst\nnach erneutem Einlesen wirksam !"});
    const Snapshot expected = {
        {L"\\InstallDir", kInstall},
        {L"\\language", L"1"},
        {L"\\datafrom", L"0000"},
        {L"\\scannewdata", L"1"},
        {L"\\includehiddenfiles", L"0"},
        {L"\\SaveSettings", L"0"},
        {L"\\database", L"1"},
        {L"\\netscapepath", L"C:\\ns"},
        {L"\\operapath", L""},
        {L"Vorschau\\Textdatei", L".TXT.DOC"},
        {L"Vorschau\\Bilddatei", L".JPG.GIF"},
        {L"Vorschau\\Symboldatei", L""},
        {L"Vorschau\\Sounddatei", L""},
        {L"Vorschau\\Filmdatei", L""},
        {L"Vorschau\\Compressed", L".ZIP"},
        {L"Vorschau\\Enabled", L"1"},
        {L"UserFiles\\Bilder", L".BMP+.JPG|Default"},
        {L"UserFiles\\Texte", L".TXT|C:\\windows\\notepad.exe"},
        {L"UserFiles\\Neu", L".NEU|Default"},
    };
    EXPECT_EQ(TakeSnapshot(), expected);
    // What the program holds follows at once.
    EXPECT_EQ(main->Options().database, 1);
    EXPECT_EQ(main->Options().includeHiddenFiles, 0);
    EXPECT_EQ(main->Model().UserCategories().size(), 3u);
    EXPECT_NE(FindNode(L"Neu"), nullptr);
}

TEST_F(OptionsTest, RemovingARowAsksFirst)
{
    StartWithOptions();
    const struct {
        int answer;
        int rowsLeft;
    } cases[] = {{IDNO, 2}, {IDYES, 1}};
    for (const auto& c : cases) {
        auto dialog = OpenDialog();
        dialog->SelectRow(0);
        ShowRecorder shown;
        shown.ClickWhenShown(L"Frage", c.answer);
        dialog->Loeschen();
        EXPECT_EQ(shown.messages, Texts{L"Wollen Sie den Eintrag entfernen ?"});
        EXPECT_EQ(dialog->RowCount(), c.rowsLeft);
    }
}

TEST_F(OptionsTest, NewCategoryDialog)
{
    StartWithOptions(L"0");
    auto options = OpenDialog();
    {
        // Add: a new row, with the program's icon until another is chosen.
        ShowRecorder shown;
        shown.ClickWhenShown(L"Create new categorie", IDOK);
        options->Hinzufuegen();
        ASSERT_EQ(options->RowCount(), 3);
        const UserCategoryRow added = options->Row(2);
        EXPECT_EQ(added.icon, L"Default");
        EXPECT_EQ(added.previousId, -1);
    }
    // Change: the row's texts in the fields, the new ones back, the row's origin kept.
    const UserCategoryRow row = options->Row(1);
    NewCategoryDialog change(*main, &row);
    ASSERT_TRUE(change.CreateModeless(options->Hwnd()));
    EXPECT_EQ(WindowText(change.Item(IDC_NEWCAT_NAME)), L"Texte");
    EXPECT_EQ(WindowText(change.Item(IDC_NEWCAT_ICON)), L"C:\\windows\\notepad.exe");
    EXPECT_EQ(WindowText(change.Item(IDC_NEWCAT_ENDINGS_LABEL)), L"Enter file extentions i.e. '.TXT+.DOC'");
    change.SetItemText(IDC_NEWCAT_NAME, L"Notizen");
    change.SetIconFile(L"Default");
    SendMessageW(change.Item(IDOK), BM_CLICK, 0, 0);
    Flush();
    EXPECT_EQ(change.Result().name, L"Notizen");
    EXPECT_EQ(change.Result().extensions, L".TXT");
    EXPECT_EQ(change.Result().icon, L"Default");
    EXPECT_EQ(change.Result().previousId, 48);
}

TEST_F(OptionsTest, ExtensionEditorOfATreeCategory)
{
    SetOption(L"FileEnding", L"3", L".BMP");
    StartWithOptions();
    // From the tree's menu: a category without a list gets a note instead of the editor.
    const struct {
        const wchar_t* node;
        const wchar_t* shownTitle;
        int button;
    } opened[] = {{L"Temp", L"Hinweis", IDOK}, {L"BMP (Bitmap)", L"Dateiendungen  bearbeiten", IDCANCEL}};
    for (const auto& c : opened) {
        SCOPED_TRACE(testing::Message() << c.node);
        main->Tree().Select(FindNode(c.node));
        ShowRecorder shown;
        shown.ClickWhenShown(c.shownTitle, c.button);
        main->ExecuteCommand(IDM_TREE_EDIT_ENDINGS);
        EXPECT_EQ(shown.shown, Texts{c.shownTitle});
    }
    // "&Übernehmen" writes only after yes, and closes either way.
    const struct {
        int answer;
        const wchar_t* stored;
    } applied[] = {{IDNO, L".BMP"}, {IDYES, L".BMP+.DIB"}};
    for (const auto& c : applied) {
        EndingsEditor editor(*main, 3, L".BMP", POINT{10, 10});
        ASSERT_TRUE(editor.CreateModeless(main->Hwnd()));
        EXPECT_EQ(WindowText(editor.Item(IDC_ENDINGS_FIELD)), L".BMP");
        editor.SetItemText(IDC_ENDINGS_FIELD, L".BMP+.DIB");
        ShowRecorder shown;
        shown.ClickWhenShown(L"Frage", c.answer);
        editor.Apply();
        EXPECT_EQ(shown.messages, Texts{L"Sollen die Änderungen übernommen werden ?"});
        EXPECT_EQ(editor.Hwnd(), nullptr);
        EXPECT_EQ(GetOption(L"FileEnding", L"3"), c.stored);
    }
}

} // namespace
