// The file commands on real files of the test prefix: delete with the shell's question answered
// both ways, copy and move through their dialog, rename, and the catalogue afterwards in every
// category that holds the file; commands on files whose volume is not there.

#include "AppFixture.h"
#include "catalogue/filelist/FileOperations.h"
#include "catalogue/shell/resource.h"
#include "tests/native/TestRecords.h"

#include <fstream>
#include <functional>

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

const std::wstring kBase = L"C:\\sortaro-fileops";
const std::wstring kSong = kBase + L"\\lied.mp3";
const std::wstring kOther = kBase + L"\\anders.mp3";
const std::wstring kTarget = kBase + L"\\ziel";
// An .MP3 is in both categories.
const int kMultimedia = 23, kMp3 = 45;

// Actions run from a timer once a window of this thread with the title is up: the timer runs in
// every modal loop, the shell's too.
struct PendingAction {
    std::wstring title;
    std::function<void(HWND)> act;
};
std::vector<PendingAction> g_pending;

struct WindowSearch {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (IsWindowVisible(hwnd) && WindowText(hwnd) == *search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindow(const std::wstring& title)
{
    WindowSearch search{&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR, DWORD)
{
    for (size_t i = 0; i < g_pending.size(); ++i)
        if (HWND window = VisibleWindow(g_pending[i].title)) {
            // Taken off first: the action may enter a modal loop that runs this timer again.
            PendingAction action = std::move(g_pending[i]);
            g_pending.erase(g_pending.begin() + static_cast<long>(i));
            action.act(window);
            return;
        }
}

void When(const std::wstring& title, std::function<void(HWND)> act)
{
    g_pending.push_back({title, std::move(act)});
}

std::wstring Unix(const wchar_t* variable)
{
    wchar_t value[MAX_PATH] = L"";
    GetEnvironmentVariableW(variable, value, MAX_PATH);
    std::wstring path = std::wstring(L"Z:") + value;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FileOperationsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kBase.c_str(), nullptr);
        CreateDirectoryW(kTarget.c_str(), nullptr);
        EmptyTrash();
        SetOption(L"", L"InstallDir", kBase);
        SetOption(L"FileEnding", std::to_wstring(kMultimedia), L".mp3+.wav");
        SetOption(L"FileEnding", std::to_wstring(kMp3), L".mp3");
        m_timer = SetTimer(nullptr, 0, 50, RunPending);
    }

    void TearDown() override
    {
        KillTimer(nullptr, m_timer);
        g_pending.clear();
        AppTest::TearDown();
        for (const wchar_t* name : {L"lied.mp3", L"anders.mp3", L"neu.mp3"}) {
            DeleteFileW((kBase + L"\\" + name).c_str());
            DeleteFileW((kTarget + L"\\" + name).c_str());
        }
        EmptyTrash();
        RemoveDirectoryW(kTarget.c_str());
        RemoveDirectoryW(kBase.c_str());
    }

    // The song's entries in the prefix's recycle bin: Wine adds a mark to each name there.
    static std::vector<std::wstring> Trashed(const wchar_t* folder = L"files")
    {
        const std::wstring trash = Unix(L"XDG_DATA_HOME") + L"\\Trash\\" + folder + L"\\";
        std::vector<std::wstring> paths;
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(FindFirstFileW((trash + L"lied.mp3*").c_str(), &data));
        for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &data))
            paths.push_back(trash + data.cFileName);
        return paths;
    }

    static void EmptyTrash()
    {
        for (const wchar_t* folder : {L"files", L"info"})
            for (const std::wstring& path : Trashed(folder))
                DeleteFileW(path.c_str());
    }

    // Both files in both categories, the MP3 category shown, the song's row selected.
    void StartWithSongs()
    {
        for (const std::wstring& file : {kSong, kOther})
            std::ofstream(std::string(file.begin(), file.end()), std::ios::binary) << "ID3 ";
        StartToMainWindow(true);
        for (int id : {kMultimedia, kMp3})
            AddTestRecords(main->Model().Lists(), id, {{kOther.c_str(), 4, 0, 0}, {kSong.c_str(), 4, 0, 0}});
        for (HTREEITEM item : TreeItemsInOrder(Tree()))
            if (TreeItemImage(Tree(), item) == kMp3)
                TreeView_SelectItem(Tree(), item);
        Flush(50);
        ASSERT_EQ(ListTexts(List()), (Texts{L"anders.mp3", L"lied.mp3"}));
        ListView_SetItemState(List(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    HWND List() const { return main->List().Hwnd(); }

    Texts Paths(int id) const
    {
        Texts paths;
        for (const FileRecord& record : main->Model().Lists()[id])
            paths.push_back(main->Model().Lists().Path(record));
        return paths;
    }

    // Both categories hold these paths, in this order.
    void ExpectCatalogue(const Texts& paths) const
    {
        EXPECT_EQ(Paths(kMultimedia), paths);
        EXPECT_EQ(Paths(kMp3), paths);
    }

    // A key pressed in the list, with Shift held or not.
    void Key(WORD key, bool shift = false)
    {
        SetFocus(List());
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(List(), WM_KEYDOWN, key, 0);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        Flush(50);
    }

    UINT_PTR m_timer = 0;
};

TEST_F(FileOperationsTest, DeleteAsksTheShellAndTakesTheFileOutOfEveryCategory)
{
    const struct {
        const char* what;
        bool shift;
        int answer;
        bool onDisk, inTrash;
    } cases[] = {
        {"declined", false, IDNO, true, false},
        {"to the recycle bin", false, IDYES, false, true},
        {"for good", true, IDYES, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithSongs();
        ShowRecorder shown;
        bool asked = false;
        When(L"Confirm file deletion", [&](HWND question) {
            asked = true;
            PostMessageW(question, WM_COMMAND, MAKEWPARAM(c.answer, BN_CLICKED), 0);
        });
        Key(VK_DELETE, c.shift);
        EXPECT_TRUE(asked) << "seen: " << testing::PrintToString(shown.shown);
        EXPECT_EQ(Exists(kSong), c.onDisk);
        EXPECT_EQ(Trashed().size(), c.inTrash ? 1u : 0u);
        EmptyTrash();
        ExpectCatalogue(c.onDisk ? Texts{kOther, kSong} : Texts{kOther});
        EXPECT_EQ(ListTexts(List()), c.onDisk ? (Texts{L"anders.mp3", L"lied.mp3"}) : Texts{L"anders.mp3"});
        // Declined, the selection stays for another try.
        EXPECT_EQ(ListView_GetSelectedCount(List()), c.onDisk ? 1u : 0u);
    }
}

TEST_F(FileOperationsTest, CopyAndMoveGoThroughTheirDialog)
{
    const std::wstring copied = kTarget + L"\\lied.mp3";
    const struct {
        int command;
        const wchar_t* typed;
        bool refused;
        Texts catalogue;
    } cases[] = {
        {IDM_COPY, L"C:\\nirgendwo", true, {kOther, kSong}},
        {IDM_COPY, L"C:\\sortaro-fileops\\ziel\\", false, {kOther, kSong, copied}},
        {IDM_MOVE, L"C:\\sortaro-fileops\\ziel", false, {kOther, copied}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
        DeleteFileW(copied.c_str());
        StartWithSongs();
        ShowRecorder shown;
        shown.ClickWhenShown(L"Hinweis", IDOK);
        Texts files;
        bool stayed = false;
        When(L"Kopieren / Verschieben von Dateien", [&](HWND dialog) {
            files = ListTexts(GetDlgItem(dialog, IDC_COPY_FILES));
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_COPY_MOVE) == BST_CHECKED, c.command == IDM_MOVE);
            SetDlgItemTextW(dialog, IDC_COPY_DESTINATION, c.typed);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            stayed = IsWindow(dialog) && IsWindowVisible(dialog);
            if (stayed)
                SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        main->ExecuteCommand(c.command);
        EXPECT_EQ(files, Texts{L"lied.mp3"});
        EXPECT_EQ(stayed, c.refused);
        EXPECT_EQ(shown.messages.size(), c.refused ? 1u : 0u);
        EXPECT_EQ(Exists(kSong), c.command == IDM_COPY);
        EXPECT_EQ(Exists(copied), !c.refused);
        ExpectCatalogue(c.catalogue);
        EXPECT_EQ(GetOption(L"", L"browsedir"), c.typed);
    }
}

TEST_F(FileOperationsTest, RenameRefusesNamesNoFileCanHave)
{
    StartWithSongs();
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    std::wstring oldName;
    std::vector<bool> stayed;
    When(L"Datei umbenennen", [&](HWND dialog) {
        oldName = WindowText(GetDlgItem(dialog, IDC_RENAME_OLD));
        for (const wchar_t* name : {L"", L"a?b", L"neu"}) {
            SetDlgItemTextW(dialog, IDC_RENAME_NEW, name);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            stayed.push_back(IsWindow(dialog) && IsWindowVisible(dialog));
        }
    });
    Key(VK_F2);
    EXPECT_EQ(oldName, L"lied");
    EXPECT_EQ(stayed, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(shown.messages.size(), 2u);
    EXPECT_TRUE(Exists(kBase + L"\\neu.mp3"));
    EXPECT_FALSE(Exists(kSong));
    ExpectCatalogue({kOther, kBase + L"\\neu.mp3"});
    EXPECT_EQ(ListTexts(List()), (Texts{L"anders.mp3", L"neu.mp3"}));
}

TEST_F(FileOperationsTest, CommandsOnAFileWhoseVolumeIsMissingSayWhichItIs)
{
    StartWithSongs();
    Catalogue& catalogue = main->Model().Lists();
    FileRecord& record = catalogue[kMp3][1];
    record.marks |= FileRecord::kOffline;
    const uint32_t folder = catalogue.AddFolder(L"E:\\Musik\\", catalogue.AddVolume({L"E:\\", L"LIEDER", 7, 5}));
    record.folder = folder;
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    for (int command : {IDM_OPEN, IDM_OPEN_WITH, IDM_PROPERTIES, IDM_COPY, IDM_MOVE, IDM_DELETE, IDM_RENAME})
        main->ExecuteCommand(command);
    Flush(50);
    ASSERT_EQ(shown.messages.size(), 7u) << testing::PrintToString(shown.shown);
    EXPECT_EQ(shown.messages[0],
              L"CD-ROM 'LIEDER' (E:) ist nicht eingelegt.\nDie Datei E:\\Musik\\lied.mp3 ist deshalb jetzt nicht "
              L"erreichbar.");
    EXPECT_EQ(std::count(shown.shown.begin(), shown.shown.end(), L"Hinweis"), 7);
    EXPECT_TRUE(Exists(kSong));
}

} // namespace
