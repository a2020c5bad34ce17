// The preview pane in the real main window: the switch, the reset on every press in the file
// list, the dispatch by extension, and the text and icon viewers.

#include "AppFixture.h"
#include "catalogue/preview/PreviewIds.h"
#include "catalogue/preview/PreviewPane.h"
#include "catalogue/shell/resource.h"

#include <richedit.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace WineTest;

const std::wstring kFolder = L"C:\\sortaro-preview";

// A ZIP of empty stored files, written 2 January 2020 at 10:30.
std::string Zip(const std::vector<std::string>& names)
{
    auto bytes = [](uint32_t value, int count) {
        std::string out;
        for (int k = 0; k < count; ++k)
            out += static_cast<char>((value >> (8 * k)) & 0xFF);
        return out;
    };
    const uint32_t when = (((2020 - 1980) << 9 | 1 << 5 | 2) << 16) | (10 << 11 | 30 << 5);
    std::string local, central;
    for (const std::string& name : names) {
        const std::string common = bytes(10, 2) + bytes(0, 2) + bytes(0, 2) + bytes(when, 4) + bytes(0, 12) +
                                   bytes(static_cast<uint32_t>(name.size()), 2) + bytes(0, 2);
        central += "PK\x01\x02" + bytes(20, 2) + common + bytes(0, 6) + bytes(0, 4) +
                   bytes(static_cast<uint32_t>(local.size()), 4) + name;
        local += "PK\x03\x04" + common + name;
    }
    const auto count = static_cast<uint32_t>(names.size());
    return local + central + "PK\x05\x06" + bytes(0, 4) + bytes(count, 2) + bytes(count, 2) +
           bytes(static_cast<uint32_t>(central.size()), 4) + bytes(static_cast<uint32_t>(local.size()), 4) +
           bytes(0, 2);
}

// A press on a text file, from a timer that fires in the messages an archive listing processes.
PreviewPane* g_pressedPane = nullptr;
void CALLBACK PressTextDuringListing(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PreviewFile text{kFolder + L"\\notiz.txt", 10, L""};
    g_pressedPane->ListView1MouseDown(WM_LBUTTONDOWN, true, &text);
}

class PreviewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kFolder.c_str(), nullptr);
        CreateDirectoryW((kFolder + L"\\Data").c_str(), nullptr);
        Write(L"notiz.txt", "Hallo Welt");
        std::string longText;
        for (int line = 0; line < 4000; ++line)
            longText += std::string(98, 'x') + "\r\n";
        Write(L"lang.txt", longText);
        Write(L"brief.rtf", "{\\rtf1\\ansi {\\b Fett} und normal}");
        Write(L"ohne", "no extension");
        Write(L"bild.jp", "not a picture");
        Write(L"paket.zip", Zip({"eins.txt", "zwei.txt", "drei.txt"}));
        CopyFileA(SORTARO_TEST_DATA "/two-colours-13x16.jpg", "C:\\sortaro-preview\\foto.jpg", FALSE);
        Write(L"kaputt.zip", "PK\x03\x04 not really");
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program = self;
        program = program.substr(0, program.rfind(L'\\') + 1) + L"Sortaro.exe";
        CopyFileW(program.c_str(), (kFolder + L"\\prog.exe").c_str(), FALSE);
        std::string dat;
        for (const wchar_t* name :
             {L"lang.txt", L"notiz.txt", L"brief.rtf", L"ohne", L"bild.jp", L"prog.exe", L"paket.zip", L"kaputt.zip", L"foto.jpg"})
            dat += "C:\\sortaro-preview\\" + std::string(name, name + wcslen(name)) + "\r\n";
        std::ofstream(std::filesystem::path(kFolder + L"\\Data\\30.dat"), std::ios::binary) << dat;
        SetOption(L"", L"InstallDir", kFolder);
        SetOption(L"Vorschau", L"Textdatei", L".TXT.RTF");
        SetOption(L"Vorschau", L"Symboldatei", L".EXE.ICO");
        SetOption(L"Vorschau", L"Bilddatei", L".JPG.JPEG");
        SetOption(L"Vorschau", L"Compressed", L".ZIP.LZH");
    }

    void TearDown() override
    {
        AppTest::TearDown();
        SHFILEOPSTRUCTW remove{};
        std::wstring from = kFolder + L'\0';
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NO_UI;
        SHFileOperationW(&remove);
    }

    static void Write(const std::wstring& name, const std::string& bytes)
    {
        std::ofstream(std::filesystem::path(kFolder + L"\\" + name), std::ios::binary) << bytes;
    }

    // Starts from the catalogue and shows the text files.
    void StartWithList(bool previewAtStart)
    {
        SetOption(L"Vorschau", L"Enabled", previewAtStart ? L"1" : L"0");
        StartToMainWindow(true);
        TreeView_SelectItem(Tree(), FindNode(L"Textdateien"));
        Flush();
    }

    HWND List() const { return main->List().Hwnd(); }
    HWND Pane() const { return main->Preview()->Hwnd(); }
    HWND Part(int id) const { return GetDlgItem(Pane(), id); }

    void Press(const std::wstring& name) { PressRow(List(), name); }

    std::wstring ShownText() const
    {
        GETTEXTLENGTHEX length{GTL_DEFAULT, 1200};
        std::wstring text(SendMessageW(Part(IDC_PREVIEW_TEXT), EM_GETTEXTLENGTHEX,
                                       reinterpret_cast<WPARAM>(&length), 0), L'\0');
        GetWindowTextW(Part(IDC_PREVIEW_TEXT), &text[0], static_cast<int>(text.size() + 1));
        return text;
    }
};

TEST_F(PreviewTest, EachFileGoesToTheViewerOfItsExtension)
{
    StartWithList(true);
    ASSERT_TRUE(IsWindowVisible(Pane())) << "Enabled at start";
    const UINT icons = ExtractIconExW((kFolder + L"\\prog.exe").c_str(), -1, nullptr, nullptr, 0);
    ASSERT_GT(icons, 0u);
    const struct {
        const wchar_t* name;
        int shownPart; // 0: nothing
        const wchar_t* text;
    } cases[] = {
        {L"lang.txt", IDC_PREVIEW_LONG_TEXT, nullptr},
        {L"notiz.txt", IDC_PREVIEW_TEXT, L"Hallo Welt"}, // in a new view after the long text
        {L"brief.rtf", IDC_PREVIEW_TEXT, L"Fett und normal"},
        {L"prog.exe", IDC_PREVIEW_ICONS, nullptr},
        {L"foto.jpg", IDC_PICTURE_STILL, nullptr},
        {L"paket.zip", IDC_PREVIEW_ARCHIVE, nullptr},
        {L"kaputt.zip", IDC_PREVIEW_ARCHIVE, nullptr}, // not an archive: an empty list
        {L"ohne", 0, nullptr},    // no extension
        {L"bild.jp", 0, nullptr}, // ".JP" is in ".JPG.JPEG", but no picture viewer takes it
    };
    for (const auto& c : cases) {
        Press(c.name);
        for (int part : {IDC_PREVIEW_TEXT, IDC_PREVIEW_LONG_TEXT, IDC_PREVIEW_ICONS, IDC_PREVIEW_ARCHIVE, IDC_PICTURE_STILL})
            EXPECT_EQ(IsWindowVisible(Part(part)) != FALSE, part == c.shownPart) << c.name << " " << part;
        if (c.text) {
            EXPECT_EQ(ShownText(), c.text);
        }
        if (c.shownPart == IDC_PREVIEW_ICONS) {
            EXPECT_EQ(ListView_GetItemCount(Part(IDC_PREVIEW_ICONS)), static_cast<int>(icons));
        }
    }
    // A long plain text: every line in the light view, which scrolls and copies.
    Press(L"lang.txt");
    const HWND longText = Part(IDC_PREVIEW_LONG_TEXT);
    EXPECT_EQ(GetWindowTextLengthW(longText), 4000 * 100);
    SendMessageW(longText, WM_VSCROLL, SB_BOTTOM, 0);
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_POS | SIF_PAGE | SIF_RANGE;
    GetScrollInfo(longText, SB_VERT, &scroll);
    EXPECT_EQ(scroll.nMax, 4000);
    EXPECT_EQ(scroll.nPos + static_cast<int>(scroll.nPage), 4001) << "the last line at the bottom";
    SetFocus(longText);
    SendControlKey(longText, 'A');
    SendMessageW(longText, WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* copied = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_EQ(copied ? wcslen(copied) : 0u, 4000u * 100);
    CloseClipboard();

    // The archive's rows, in one walk, and the progress text of the last one.
    Press(L"paket.zip");
    const HWND archive = Part(IDC_PREVIEW_ARCHIVE);
    EXPECT_EQ(ListTexts(archive), (std::vector<std::wstring>{L"eins.txt", L"zwei.txt", L"drei.txt"}));
    EXPECT_EQ(ListTexts(archive, 2), std::vector<std::wstring>(3, L"0"));
    EXPECT_EQ(ListTexts(archive, 4), std::vector<std::wstring>(3, L"Stored"));
    const std::wstring date = ListTexts(archive, 1)[0]; // the user's short date and time
    EXPECT_TRUE(date.find(L"2020") != std::wstring::npos && date.find(L"10:30") != std::wstring::npos) << date;
    EXPECT_EQ(main->Status().Text(3), L"Extrahiere drei.txt (#3 von 3)");
}

TEST_F(PreviewTest, EveryPressEmptiesThePaneOnlyTheLeftOneShows)
{
    StartWithList(false);
    Press(L"notiz.txt");
    EXPECT_FALSE(IsWindowVisible(Pane())) << "switched off: nothing is shown";
    main->ExecuteCommand(IDM_PREVIEW);
    Press(L"notiz.txt");
    ASSERT_TRUE(IsWindowVisible(Part(IDC_PREVIEW_TEXT)));

    // The right button and a press with the switch off only empty the pane.
    PreviewFile file{kFolder + L"\\notiz.txt", 10, L""};
    main->Preview()->ListView1MouseDown(WM_RBUTTONDOWN, true, &file);
    EXPECT_FALSE(IsWindowVisible(Part(IDC_PREVIEW_TEXT)));
    main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &file);
    main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, false, &file);
    EXPECT_FALSE(IsWindowVisible(Part(IDC_PREVIEW_TEXT)));
    EXPECT_EQ(main->CancelRequested, 1) << "a listing still running stops";

    // Beyond 16 MB the rest of a text is left out, and the view says so.
    Write(L"riesig.txt", std::string((16u << 20) + 1, 'y'));
    PreviewFile huge{kFolder + L"\\riesig.txt", (16u << 20) + 1, L""};
    main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &huge);
    const HWND longText = Part(IDC_PREVIEW_LONG_TEXT);
    const std::wstring shown = WindowText(longText);
    EXPECT_EQ(shown.find(L'y', 16u << 20), std::wstring::npos);
    EXPECT_EQ(shown.substr(16u << 20), L"\r\n\r\n[Die Datei ist größer als 16 MB: gezeigt wird nur ihr Anfang.]");

    // A file whose volume is not there: the pane says so.
    file.offlineNote = L"CD-ROM (E:) ist nicht eingelegt";
    main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &file);
    EXPECT_TRUE(IsWindowVisible(main->Preview()->NoteHwnd()));
    EXPECT_EQ(WindowText(main->Preview()->NoteHwnd()), file.offlineNote);
    EXPECT_FALSE(IsWindowVisible(Part(IDC_PREVIEW_TEXT)));

    // A press while an archive is being listed stops the listing; its own preview follows once
    // the listing has unwound.
    std::vector<std::string> names;
    for (int k = 0; k < 40000; ++k)
        names.push_back("datei" + std::to_string(k) + ".txt");
    Write(L"gross.zip", Zip(names));
    g_pressedPane = main->Preview();
    SetTimer(nullptr, 0, 1, PressTextDuringListing);
    PreviewFile archive{kFolder + L"\\gross.zip", 0, L""};
    main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &archive);
    Flush();
    EXPECT_LT(ListView_GetItemCount(Part(IDC_PREVIEW_ARCHIVE)), 40000);
    EXPECT_FALSE(IsWindowVisible(Part(IDC_PREVIEW_ARCHIVE)));
    EXPECT_EQ(ShownText(), L"Hallo Welt");

    // The close button switches the pane off.
    SendMessageW(Part(IDC_PREVIEW_CLOSE), BM_CLICK, 0, 0);
    Flush();
    EXPECT_FALSE(IsWindowVisible(Pane()));
    EXPECT_FALSE(main->IsCommandChecked(IDM_PREVIEW));
}

} // namespace
