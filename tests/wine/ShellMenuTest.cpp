// The file list and the shell: the shell's context menu of real files and which of its entries
// the program runs itself, the menu a right-click in the list shows, and the files that Ctrl+C
// and Ctrl+X put on the clipboard.

#include "AppFixture.h"
#include "catalogue/filelist/FileListIds.h"
#include "catalogue/filelist/FileListTexts.h"
#include "catalogue/filelist/ShellContextMenu.h"
#include "catalogue/filelist/ShellVerbs.h"
#include "tests/native/TestRecords.h"

#include <shellapi.h>

#include <fstream>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

const std::wstring kBase = L"C:\\sortaro-shellmenu";
const std::wstring kOne = kBase + L"\\eins\\";
const std::wstring kTwo = kBase + L"\\zwei\\";
const Texts kFiles = {kOne + L"a.txt", kOne + L"b.txt", kTwo + L"c.txt"};
const int kText = 30; // the leaf category "Textdateien"

// The files of the tests, made afresh for each.
class ShellFiles {
public:
    ShellFiles()
    {
        for (const std::wstring& folder : {kBase, kOne, kTwo})
            CreateDirectoryW(folder.c_str(), nullptr);
        for (const std::wstring& path : kFiles)
            std::ofstream(path.c_str()) << "text";
    }
    ~ShellFiles()
    {
        SHFILEOPSTRUCTW remove{};
        const std::wstring from = kBase + L'\0';
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&remove);
    }
};

// A program whose texts are the file list's and which records the commands it is asked to run.
class RecordingProgram : public Program {
public:
    explicit RecordingProgram(bool english) : m_english(english)
    {
        m_owner = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~RecordingProgram() override { DestroyWindow(m_owner); }

    std::vector<int> commands;

    bool English() const override { return m_english; }
    std::wstring Text(unsigned id) const override
    {
        if (const wchar_t* english = m_english ? FileListTexts::kStrings.Find(static_cast<int>(id)) : nullptr)
            return english;
        wchar_t text[256] = L"";
        LoadStringW(GetModuleHandleW(nullptr), id, text, ARRAYSIZE(text));
        return text;
    }
    Registry& Settings() override { return m_settings; }
    int& CancelFlag() override { return m_cancel; }
    HWND Owner() const override { return m_owner; }
    void EndApplication() override {}
    void ExecuteCommand(int id) override { commands.push_back(id); }
    void TrackMenu(HMENU, POINT) override {}

private:
    bool m_english;
    HWND m_owner = nullptr;
    Registry m_settings;
    int m_cancel = 0;
};

std::wstring ItemText(HMENU menu, int position)
{
    wchar_t text[128] = L"";
    GetMenuStringW(menu, position, text, ARRAYSIZE(text), MF_BYPOSITION);
    return text;
}

// The shell's context menu of the files a.txt and b.txt, built as the list builds it.
struct BuiltMenu {
    explicit BuiltMenu(RecordingProgram& program) : menu(program)
    {
        EXPECT_EQ(items.Bind(kOne, {L"a.txt", L"b.txt"}, program.Owner()), S_OK);
        EXPECT_TRUE(menu.Create(items, program.Owner()));
        EXPECT_TRUE(menu.Fill());
    }
    // The id of the shell's entry with this verb, or 0.
    int IdOf(const std::wstring& verb) const
    {
        for (int i = 0; i < GetMenuItemCount(menu.Menu()); ++i) {
            const int id = static_cast<int>(GetMenuItemID(menu.Menu(), i));
            if (id > 0 && id <= kShellMenuLastShellId && menu.Verb(id) == verb)
                return id;
        }
        return 0;
    }
    ShellFolderItems items;
    ShellContextMenu menu;
};

TEST(ShellContextMenuTest, TheShellsEntriesComeFirstAndTheProgramsLast)
{
    ShellFiles files;
    const struct {
        bool english;
        Texts own;
    } languages[] = {
        {false, {L"Umbenennen", L"Alles markieren", L"Markierung umdrehen"}},
        {true, {L"Rename", L"Select all", L"Invert selection"}},
    };
    for (const auto& l : languages) {
        RecordingProgram program(l.english);
        BuiltMenu built(program);
        HMENU menu = built.menu.Menu();
        const int count = GetMenuItemCount(menu);
        ASSERT_GT(count, 4);
        EXPECT_EQ((Texts{ItemText(menu, count - 3), ItemText(menu, count - 2), ItemText(menu, count - 1)}), l.own);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(kShellMenuInvertSelection));
        EXPECT_TRUE(GetMenuState(menu, count - 4, MF_BYPOSITION) & MF_SEPARATOR);
        // The shell's own entries, found by their verbs.
        EXPECT_NE(built.IdOf(L"open"), 0);
        EXPECT_NE(built.IdOf(L"properties"), 0);
    }
}

TEST(ShellContextMenuTest, EntriesThatChangeFilesRunTheProgramsCommands)
{
    ShellFiles files;
    RecordingProgram program(false);
    BuiltMenu built(program);
    const struct {
        const wchar_t* verb; // of a shell entry; null: the id is the program's own
        int id;
        int command;
    } cases[] = {
        {L"delete", 0, IDM_DELETE},
        {L"cut", 0, IDM_MOVE},
        {L"copy", 0, IDM_COPY},
        {nullptr, kShellMenuRename, IDM_RENAME},
        {nullptr, kShellMenuSelectAll, IDM_SELECT_ALL},
        {nullptr, kShellMenuInvertSelection, IDM_INVERT_SELECTION},
    };
    for (const auto& c : cases) {
        const int id = c.verb ? built.IdOf(c.verb) : c.id;
        ASSERT_NE(id, 0) << c.verb;
        program.commands.clear();
        built.menu.Dispatch(id, program.Owner(), POINT{});
        EXPECT_EQ(program.commands, std::vector<int>{c.command}) << id;
    }
    // Any other entry is the shell's to run: "Create link" makes a shortcut beside the files.
    // Wine has none to make; its shell says so, and the two boxes of a failed entry show it.
    program.commands.clear();
    const int link = built.IdOf(L"link");
    ASSERT_NE(link, 0);
    ShowRecorder shown;
    shown.ClickWhenShown(L"Sortaro", IDOK);
    built.menu.Dispatch(link, program.Owner(), POINT{});
    Flush(100);
    EXPECT_TRUE(program.commands.empty());
    WIN32_FIND_DATAW found;
    if (!UniqueFindHandle(FindFirstFileW((kOne + L"*.lnk").c_str(), &found))) {
        ASSERT_EQ(shown.messages.size(), 2u);
        EXPECT_EQ(shown.messages[0], L"Error!!");
        EXPECT_EQ(shown.messages[1].substr(0, 3), L"hr=");
        EXPECT_NE(shown.messages[1], L"hr=0");
    }
    // The menu dismissed runs nothing.
    built.menu.Dispatch(0, program.Owner(), POINT{});
    EXPECT_TRUE(program.commands.empty());
}

// While it lives: each menu about to open is recorded with the text of its last entry, and
// closed again as a user pressing Esc would.
class MenuRecorder {
public:
    MenuRecorder()
    {
        s_menus = &menus;
        m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~MenuRecorder()
    {
        UnhookWindowsHookEx(m_hook);
        s_menus = nullptr;
    }
    MenuRecorder(const MenuRecorder&) = delete;
    MenuRecorder& operator=(const MenuRecorder&) = delete;

    std::vector<std::pair<HMENU, std::wstring>> menus;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && msg->message == WM_INITMENUPOPUP && !HIWORD(msg->lParam) && s_menus) {
            auto menu = reinterpret_cast<HMENU>(msg->wParam);
            s_menus->emplace_back(menu, ItemText(menu, GetMenuItemCount(menu) - 1));
            PostMessageW(msg->hwnd, WM_CANCELMODE, 0, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static std::vector<std::pair<HMENU, std::wstring>>* s_menus;
    HHOOK m_hook;
};

std::vector<std::pair<HMENU, std::wstring>>* MenuRecorder::s_menus = nullptr;

class ShellMenuTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        SetOption(L"", L"InstallDir", kBase);
    }

    // The main window with the test's files, a file that is gone and a file whose CD is not
    // in the drive, in this order, in "Textdateien".
    void StartWithFiles()
    {
        StartToMainWindow(true);
        std::vector<TestRecord> records;
        for (const std::wstring& path : kFiles)
            records.push_back({path.c_str(), 4, 0, 0x20});
        const std::wstring gone = kOne + L"weg.txt";
        records.push_back({gone.c_str(), 4, 0, 0x20});
        records.push_back({L"E:\\cd.txt", 4, 0, 0x20});
        Catalogue& catalogue = main->Model().Lists();
        AddTestRecords(catalogue, kText, records);
        FileRecord& offline = catalogue[kText].back();
        offline.marks |= FileRecord::kOffline;
        catalogue.SetFolderVolume(offline.folder, catalogue.AddVolume({L"E:\\", L"FOTOS", 1, DRIVE_CDROM}));
        ShowCategory();
    }

    void ShowCategory()
    {
        for (HTREEITEM item : TreeItemsInOrder(Tree()))
            if (TreeItemImage(Tree(), item) == kText)
                TreeView_SelectItem(Tree(), item);
        Flush(50);
    }

    HWND List() const { return main->List().Hwnd(); }

    void SelectRows(const std::vector<int>& rows)
    {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    void RightClick()
    {
        NMHDR header{List(), IDC_FILE_LIST, static_cast<UINT>(NM_RCLICK)};
        SendMessageW(main->Hwnd(), WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&header));
        Flush(50);
    }

    void PressWithControl(WORD key)
    {
        SetFocus(List());
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(List(), WM_KEYDOWN, key, 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        Flush(50);
    }

    ShellFiles m_files;
};

TEST_F(ShellMenuTest, RightClickShowsTheMenuThatFitsTheSelection)
{
    enum Shown { None, Background, FileMenu, ShellMenu };
    const struct {
        const char* what;
        bool group;
        std::vector<int> rows;
        Shown shown;
    } cases[] = {
        {"nothing selected", false, {}, Background},
        {"files of one folder", false, {0, 1}, ShellMenu},
        {"files of two folders", false, {0, 2}, FileMenu},
        {"a file that is gone", false, {3}, FileMenu},
        {"a file on a CD not in the drive", false, {4}, FileMenu},
        {"no category in a group", true, {}, Background},
        {"categories of a group", true, {0}, None},
    };
    StartWithFiles();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.group)
            TreeView_SelectItem(Tree(), TreeView_GetRoot(Tree()));
        else
            ShowCategory();
        Flush(50);
        SelectRows(c.rows);
        MenuRecorder recorder;
        RightClick();
        if (c.shown == None) {
            EXPECT_TRUE(recorder.menus.empty());
            continue;
        }
        ASSERT_EQ(recorder.menus.size(), 1u);
        const HMENU menu = recorder.menus[0].first;
        EXPECT_EQ(menu == main->Menu(IDR_LIST_BACKGROUND_MENU), c.shown == Background);
        EXPECT_EQ(menu == main->Menu(IDR_LIST_MENU), c.shown == FileMenu);
        EXPECT_EQ(recorder.menus[0].second == L"Markierung umdrehen", c.shown == ShellMenu);
    }
}

TEST_F(ShellMenuTest, ControlCAndXPutTheFilesOnTheClipboard)
{
    const UINT dropEffect = RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT);
    const struct {
        WORD key;
        std::vector<int> rows;
        Texts paths;
        DWORD effect;
    } cases[] = {
        {'C', {0, 1}, {kFiles[0], kFiles[1]}, DROPEFFECT_COPY},
        {'X', {0, 2}, {kFiles[0], kFiles[2]}, DROPEFFECT_MOVE}, // two folders
    };
    StartWithFiles();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.key));
        SelectRows(c.rows);
        PressWithControl(c.key);
        ASSERT_TRUE(OpenClipboard(nullptr));
        Texts paths;
        if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP)))
            for (UINT i = 0; i < DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); ++i) {
                wchar_t path[MAX_PATH] = L"";
                DragQueryFileW(drop, i, path, ARRAYSIZE(path));
                paths.push_back(path);
            }
        DWORD effect = 0;
        if (HANDLE memory = GetClipboardData(dropEffect)) {
            effect = *static_cast<const DWORD*>(GlobalLock(memory));
            GlobalUnlock(memory);
        }
        CloseClipboard();
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(effect, c.effect);
    }

    // A file whose CD is not in the drive stays off the clipboard, and the user learns why.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    ShowRecorder shown;
    shown.ClickWhenShown(L"Sortaro", IDOK);
    SelectRows({0, 4});
    PressWithControl('C');
    EXPECT_EQ(shown.messages, Texts{L"CD-ROM 'FOTOS' (E:) ist nicht eingelegt"});
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
}

} // namespace
