// Printing and exporting the file list of the real main window: a job of three pages drawn into
// an enhanced metafile, the question and the note when no printer is set up, and the bytes of
// exported files.

#include "AppFixture.h"
#include "catalogue/filelist/ListExport.h"
#include "catalogue/filelist/ListPrinter.h"
#include "catalogue/shell/resource.h"
#include "tests/native/TestRecords.h"

#include <dlgs.h>
#include <winspool.h>

#include <fstream>
#include <iterator>

namespace {

using namespace WineTest;

const std::wstring kBase = L"C:\\sortaro-print";
const int kText = 30; // "Textdateien"

class ListPrintTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kBase.c_str(), nullptr);
        SetOption(L"", L"InstallDir", kBase); // an empty database
    }

    void TearDown() override
    {
        AppTest::TearDown();
        for (const std::wstring& name : Files())
            DeleteFileW((kBase + L"\\" + name).c_str());
        RemoveDirectoryW((kBase + L"\\folder.csv").c_str());
        RemoveDirectoryW(kBase.c_str());
    }

    void StartWith(const std::vector<TestRecord>& records, bool english = false)
    {
        SetOption(L"", L"language", english ? L"0" : L"1");
        StartToMainWindow(true);
        AddTestRecords(main->Model().Lists(), kText, records);
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
            ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    }

    // The names of the files in the test's folder.
    static std::vector<std::wstring> Files()
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        UniqueFindHandle find(FindFirstFileW((kBase + L"\\*").c_str(), &found));
        for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        return names;
    }
};

// A text drawn into the metafile, with its page (from 1) and the font it was drawn in.
struct Drawn {
    int page;
    int x, y;
    std::wstring text;
    LOGFONTW font;
};

// Pages recorded as comments in the metafile.
class CommentPages : public PageBracket {
public:
    explicit CommentPages(HDC hdc) : m_hdc(hdc) {}
    bool BeginPage() override { return GdiComment(m_hdc, 4, reinterpret_cast<const BYTE*>("page")); }
    bool EndPage() override { return true; }

private:
    HDC m_hdc;
};

struct Recording {
    int page = 0;
    std::vector<LOGFONTW> fonts{16};
    LOGFONTW font{};
    std::vector<Drawn> drawn;
};

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    auto& r = *reinterpret_cast<Recording*>(data);
    switch (record->iType) {
    case EMR_GDICOMMENT:
        ++r.page;
        break;
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        if (font->ihFont < r.fonts.size())
            r.fonts[font->ihFont] = font->elfw.elfLogFont;
        break;
    }
    case EMR_SELECTOBJECT: {
        const DWORD handle = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
        if (handle < r.fonts.size())
            r.font = r.fonts[handle];
        break;
    }
    case EMR_EXTTEXTOUTW: {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars =
            reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        r.drawn.push_back({r.page, static_cast<int>(text->emrtext.ptlReference.x),
                           static_cast<int>(text->emrtext.ptlReference.y), std::wstring(chars, text->emrtext.nChars),
                           r.font});
        break;
    }
    default:
        break;
    }
    return 1;
}

// Draws a job into a metafile made for the screen and reads back what was drawn.
std::vector<Drawn> Record(const PrintLayout& layout, const ListRows& rows)
{
    UniqueHdc screen(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    HDC hdc = CreateEnhMetaFileW(screen.Get(), nullptr, nullptr, nullptr);
    CommentPages pages(hdc);
    EXPECT_TRUE(DrawListPages(hdc, layout, rows, pages));
    HENHMETAFILE metafile = CloseEnhMetaFile(hdc);
    Recording recording;
    EnumEnhMetaFile(nullptr, metafile, Collect, &recording, nullptr);
    DeleteEnhMetaFile(metafile);
    return recording.drawn;
}

TEST_F(ListPrintTest, SelectedRowsArePrintedOnPagesOfTheDevicesResolutions)
{
    std::vector<std::wstring> paths;
    std::vector<TestRecord> records;
    for (int i = 0; i < 32; ++i)
        paths.push_back(L"C:\\Ordner\\" + std::to_wstring(i) + L"\\Ein sehr langer Dateiname, der nicht passt.txt");
    for (const std::wstring& path : paths)
        records.push_back({path.c_str(), 1536, 0, 0x21, L"Eine sehr lange Typbezeichnung"});
    StartWith(records);
    std::vector<int> selected;
    for (int row = 1; row < 32; ++row)
        selected.push_back(row);
    SelectRows(selected);

    // 600 by 300 dots per inch, 10 cm high: 15 lines a page, the 31 rows take three pages.
    const PrintLayout layout({600, 300, 1182}, ListPrintTexts(*main));
    ASSERT_EQ(layout.LinesPerPage(), 15);
    const std::vector<Drawn> drawn = Record(layout, main->List().ShownRows(true));
    auto find = [&](const std::wstring& text) {
        std::vector<const Drawn*> all;
        for (const Drawn& d : drawn)
            if (d.text == text)
                all.push_back(&d);
        return all;
    };
    for (int page = 1; page <= 3; ++page) {
        const auto number = find(L"(Seite " + std::to_wstring(page) + L")");
        ASSERT_EQ(number.size(), 1u) << "page " << page;
        EXPECT_EQ(number[0]->page, page);
        EXPECT_EQ(number[0]->x, 3304);                                        // 14 cm at 236 pixels a centimetre
        EXPECT_EQ(number[0]->y, 141);                                         // 1.2 cm at 118
        EXPECT_EQ(find(L"Dateiinformationen")[page - 1]->font.lfHeight, -58); // 14 pt at 300
    }
    EXPECT_TRUE(find(L"(Seite 4)").empty());
    EXPECT_EQ(drawn.back().page, 3);

    // Row 16 of the list is the 16th selected: the first line of the second page, cut.
    const auto first = find(L"C:\\Ordner\\16\\Ein sehr langer Dateiname, der nicht pa");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->page, 2);
    EXPECT_EQ(first[0]->x, 236);
    EXPECT_EQ(first[0]->y, 295); // 2.5 cm
    EXPECT_EQ(first[0]->font.lfHeight, -33);
    EXPECT_EQ(first[0]->font.lfWeight, FW_NORMAL);
    EXPECT_EQ(std::wstring(first[0]->font.lfFaceName), L"MS Sans Serif");
    EXPECT_EQ(find(L"Eine sehr lange Typbez").size(), 31u);
    EXPECT_EQ(find(L"2").size(), 31u); // the size column as shown
    EXPECT_TRUE(find(L"C:\\Ordner\\0\\Ein sehr langer Dateiname, der nicht pas").empty()) << "not selected";
    const auto last = find(L"C:\\Ordner\\31\\Ein sehr langer Dateiname, der nicht pa");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0]->page, 3);
}

TEST_F(ListPrintTest, WithoutPrinterTheUserIsToldAfterTheQuestion)
{
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed > 0 || count > 0)
        GTEST_SKIP() << "a printer is set up here: the printer dialog would wait for a person";
    StartWith({{L"C:\\a.txt", 1, 0, 0}});
    SelectRows({0});
    const struct {
        int answer;
        std::vector<std::wstring> shown;
    } cases[] = {
        {IDNO, {L"Frage"}},
        {IDYES, {L"Frage", L"Hinweis"}},
    };
    for (const auto& c : cases) {
        ShowRecorder recorder;
        recorder.ClickWhenShown(L"Frage", c.answer);
        recorder.ClickWhenShown(L"Hinweis", IDOK);
        main->ExecuteCommand(IDM_PRINT);
        Flush();
        ASSERT_EQ(recorder.shown, c.shown);
        EXPECT_EQ(recorder.messages[0], L"Wollen Sie die markierten wirklich Dateien drucken ? \n  ");
        if (c.shown.size() > 1) {
            EXPECT_NE(recorder.messages[1].find(L"kein Drucker"), std::wstring::npos) << recorder.messages[1];
        }
    }
    // A group's rows are categories: neither command is offered.
    TreeView_SelectItem(Tree(), TreeView_GetRoot(Tree()));
    Flush(50);
    EXPECT_FALSE(main->IsCommandEnabled(IDM_PRINT));
    EXPECT_FALSE(main->IsCommandEnabled(IDM_EXPORT_LIST));
}

// Answers the save dialog whose title is expected with a file name.
struct SaveAnswer {
    std::wstring title, path;
    bool asked = false;
};
SaveAnswer* g_answer = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK AnswerSave(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam && g_answer &&
        WindowText(msg->hwnd) == g_answer->title) {
        g_answer->asked = true;
        // The name box is a combo box in the explorer-style dialog, an edit box in the older one.
        SetDlgItemTextW(msg->hwnd, cmb13, g_answer->path.c_str());
        SetDlgItemTextW(msg->hwnd, edt1, g_answer->path.c_str());
        PostMessageW(msg->hwnd, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

std::string Bytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ListPrintTest, ExportWritesTheRowsAsShown)
{
    const std::vector<TestRecord> records = {
        {L"C:\\Daten\\Brief;1.txt", 1536, 0, 0x21, L"Textdatei"},
        {L"C:\\Daten\\Rechnung, alt.txt", 100, 0, 0, L"Textdatei"},
        {L"C:\\Daten\\Müller.txt", 0, 0, 0x20, L"Textdatei"},
    };
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        bool english;
        std::vector<int> selected;
        const wchar_t* title;
        std::string bytes;
    } cases[] = {
        {false,
         {1},
         L"Liste exportieren", // one row selected: the whole list
         bom + "Dateiname;Pfad;Typ;Groesse(KB);Geändert am;Attribute\r\n"
               "\"Brief;1.txt\";\"C:\\Daten\\Brief;1.txt\";Textdatei;2;;RA\r\n"
               "Rechnung, alt.txt;C:\\Daten\\Rechnung, alt.txt;Textdatei;0;;\r\n"
               "M\xC3\xBCller.txt;C:\\Daten\\M\xC3\xBCller.txt;Textdatei;0;;A\r\n"},
        {true,
         {0, 2},
         L"Export selected files",
         bom + "File,Path,Type,Size(KB),Date,Attributes\r\n"
               "Brief;1.txt,C:\\Daten\\Brief;1.txt,Textdatei,2,,RA\r\n"
               "M\xC3\xBCller.txt,C:\\Daten\\M\xC3\xBCller.txt,Textdatei,0,,A\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.english ? "English" : "German");
        StartWith(records, c.english);
        SelectRows(c.selected);
        SaveAnswer answer{c.title, kBase + (c.english ? L"\\list-en.csv" : L"\\list-de.csv")};
        g_answer = &answer;
        g_hook = SetWindowsHookExW(WH_CALLWNDPROC, AnswerSave, nullptr, GetCurrentThreadId());
        main->ExecuteCommand(IDM_EXPORT_LIST);
        UnhookWindowsHookEx(g_hook);
        g_answer = nullptr;
        EXPECT_TRUE(answer.asked);
        EXPECT_EQ(Bytes(answer.path), c.bytes);
    }
    EXPECT_EQ(Files(), (std::vector<std::wstring>{L"list-de.csv", L"list-en.csv"})) << "no temporary file is left";
}

TEST_F(ListPrintTest, AFailedExportLeavesNoFile)
{
    StartWith({{L"C:\\a.txt", 1, 0, 0}});
    CreateDirectoryW((kBase + L"\\folder.csv").c_str(), nullptr);
    const ListExport exporter(*main);
    for (const std::wstring& target : {kBase + L"\\missing\\list.csv", kBase + L"\\folder.csv"}) {
        DWORD error = 0;
        EXPECT_FALSE(exporter.Write(target, main->List().ShownRows(false), error)) << target;
        EXPECT_NE(error, 0u) << target;
    }
    EXPECT_EQ(Files(), std::vector<std::wstring>{});
    EXPECT_NE(GetFileAttributesW((kBase + L"\\folder.csv").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

} // namespace
