// The sound and film viewer in the real main window: the commands its player gets from a press
// in the file list, the buttons and the slider; the media bar's texts; and a short sound opened
// by the system's player.

#include "AppFixture.h"
#include "catalogue/preview/MediaViewer.h"
#include "catalogue/preview/PreviewIds.h"
#include "catalogue/preview/PreviewPane.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace {

using namespace WineTest;
using Commands = std::vector<std::wstring>;

const std::wstring kFolder = L"C:\\sortaro-media";

// Records each command; answers from its table, or with an empty text.
struct FakeMci : MciChannel {
    MciAnswer Send(const std::wstring& command) override
    {
        sent.push_back(command);
        const auto answer = answers.find(command);
        return {0, answer == answers.end() ? L"" : answer->second};
    }
    // The commands sent, less the timer's ticks (a position and a length query), which come
    // whenever a test waits for messages.
    Commands Sent() const
    {
        Commands commands;
        for (size_t k = 0; k < sent.size(); ++k)
            if (sent[k] == L"status SortaroMedia position")
                ++k;
            else
                commands.push_back(sent[k]);
        return commands;
    }
    Commands sent;
    std::map<std::wstring, std::wstring> answers;
};

// 2.5 seconds of silence: 8000 samples of 8 bits a second, mono.
const std::string kWav =
    std::string("RIFF\x44\x4E\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0data\x20\x4E\0\0",
                44) +
    std::string(20000, '\x80');

class MediaViewerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CreateDirectoryW(kFolder.c_str(), nullptr);
        CreateDirectoryW((kFolder + L"\\Data").c_str(), nullptr);
        const std::pair<const char*, std::string> files[] = {
            {"kurzer ton.wav", kWav}, {"film.avi", "RIFF"}, {"leer.wav", ""}};
        std::string dat;
        for (const auto& [name, bytes] : files) {
            std::ofstream(std::filesystem::path(kFolder) / name, std::ios::binary) << bytes;
            dat += "C:\\sortaro-media\\" + std::string(name) + "\r\n";
        }
        std::ofstream(std::filesystem::path(kFolder + L"\\Data\\30.dat"), std::ios::binary) << dat;
        SetOption(L"", L"InstallDir", kFolder);
        SetOption(L"Vorschau", L"Sounddatei", L".WAV.MID");
        SetOption(L"Vorschau", L"Filmdatei", L".AVI");
        SetOption(L"Vorschau", L"Enabled", L"1");
        StartToMainWindow(true);
        TreeView_SelectItem(Tree(), FindNode(L"Textdateien"));
        Flush();
    }

    void TearDown() override
    {
        AppTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(kFolder), ignored);
    }

    MediaViewer& Media() const { return *static_cast<MediaViewer*>(main->Preview()->ViewerOf(ViewerKind::Sound)); }
    HWND Bar() const { return Media().BarHwnd(); }
    void Press(const std::wstring& name) { PressRow(main->List().Hwnd(), name); }

    FakeMci& InstallFake(std::map<std::wstring, std::wstring> answers)
    {
        auto fake = std::make_unique<FakeMci>();
        fake->answers = std::move(answers);
        FakeMci& installed = *fake;
        Media().SetMci(std::move(fake));
        return installed;
    }
};

TEST_F(MediaViewerTest, APressPlaysAtOnceAndTheBarFollowsThePlayer)
{
    FakeMci& mci = InstallFake({{L"status SortaroMedia length", L"187000"},
                                {L"status SortaroMedia length track 1", L"187000"},
                                {L"status SortaroMedia position", L"65000"}});
    const HWND film = GetDlgItem(main->Preview()->Hwnd(), IDC_MEDIA_FILM);
    const std::wstring open = L"open \"" + kFolder + L"\\";
    const Commands started = {L"play SortaroMedia", L"set SortaroMedia time format milliseconds",
                              L"status SortaroMedia length"};
    const struct {
        const wchar_t* name;
        Commands opened;
        bool film;
    } cases[] = {
        {L"kurzer ton.wav", {open + L"kurzer ton.wav\" alias SortaroMedia"}, false},
        {L"film.avi",
         {L"close SortaroMedia", open + L"film.avi\" alias SortaroMedia",
          L"window SortaroMedia handle " + std::to_wstring(reinterpret_cast<UINT_PTR>(film))},
         true},
    };
    for (const auto& c : cases) {
        mci.sent.clear();
        Press(c.name);
        Commands expected = c.opened;
        expected.insert(expected.end(), started.begin(), started.end());
        EXPECT_EQ(mci.Sent(), expected);
        EXPECT_TRUE(IsWindowVisible(Bar())) << c.name;
        EXPECT_EQ(IsWindowVisible(film) != FALSE, c.film) << c.name;
    }
    Media().Timer1Timer();
    EXPECT_EQ(WindowText(GetDlgItem(Bar(), IDC_MEDIA_TIME)), L"00:01:05 / 00:03:07");
    EXPECT_EQ(SendDlgItemMessageW(Bar(), IDC_MEDIA_SLIDER, TBM_GETPOS, 0, 0), 65000 * 100 / 187000);
    for (const auto& [id, hint] :
         {std::pair{IDC_MEDIA_PLAY, L"Play"}, {IDC_MEDIA_PAUSE, L"Pause"}, {IDC_MEDIA_STOP, L"Stop"}}) {
        wchar_t text[80] = L"";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = Bar();
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(Bar(), id));
        tool.lpszText = text;
        SendMessageW(Media().HintsHwnd(), TTM_GETTEXTW, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, hint);
    }
    // A drag to the middle of the slider: the player stops at the first move and plays from half
    // the length when the mouse is released.
    mci.sent.clear();
    const auto slider = reinterpret_cast<LPARAM>(GetDlgItem(Bar(), IDC_MEDIA_SLIDER));
    SendMessageW(GetDlgItem(Bar(), IDC_MEDIA_SLIDER), TBM_SETPOS, TRUE, 50);
    for (WORD code : {TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK})
        SendMessageW(Bar(), WM_HSCROLL, MAKEWPARAM(code, 50), slider);
    EXPECT_EQ(mci.Sent(),
              (Commands{L"stop SortaroMedia", L"status SortaroMedia length track 1", L"play SortaroMedia from 93500"}));
}

TEST_F(MediaViewerTest, AFileOfNoLengthThenTheButtonsAndTheNextPress)
{
    FakeMci& mci = InstallFake({{L"status SortaroMedia length", L"0"},
                                {L"status SortaroMedia length track 1", L"0"},
                                {L"status SortaroMedia position", L"65000"}});
    Press(L"kurzer ton.wav");
    // No length to divide by: the slider stays at the start, the time shown is none.
    SendDlgItemMessageW(Bar(), IDC_MEDIA_SLIDER, TBM_SETPOS, TRUE, 7);
    Media().Timer1Timer();
    EXPECT_EQ(WindowText(GetDlgItem(Bar(), IDC_MEDIA_TIME)), L"00:00:00 / 00:00:00");
    EXPECT_EQ(SendDlgItemMessageW(Bar(), IDC_MEDIA_SLIDER, TBM_GETPOS, 0, 0), 0);

    PreviewFile sound{kFolder + L"\\kurzer ton.wav", 20044, L""};
    const struct {
        std::function<void()> act;
        Commands sent;
        bool barShown;
    } steps[] = {
        {[&] { Click(Bar(), IDC_MEDIA_PAUSE); }, {L"pause SortaroMedia"}, true},
        {[&] { Click(Bar(), IDC_MEDIA_STOP); }, {L"stop SortaroMedia", L"seek SortaroMedia to 0"}, true},
        {[&] { Click(Bar(), IDC_MEDIA_PLAY); }, {L"play SortaroMedia from 0"}, true}, // back to the start
        {[&] { Click(Bar(), IDC_MEDIA_PLAY); }, {L"play SortaroMedia"}, true},        // on from where it is
        {[&] { main->Preview()->ListView1MouseDown(WM_RBUTTONDOWN, true, &sound); }, {L"close SortaroMedia"}, false},
        {[&] { Press(L"leer.wav"); }, {}, false}, // a file of size 0 is not played
        {[&] { Media().Show(kFolder + L"\\\"quoted\".wav", L".WAV", 44); }, {}, false}, // cannot be quoted
    };
    for (size_t k = 0; k < std::size(steps); ++k) {
        mci.sent.clear();
        steps[k].act();
        EXPECT_EQ(mci.Sent(), steps[k].sent) << "step " << k;
        EXPECT_EQ(IsWindowVisible(Bar()) != FALSE, steps[k].barShown) << "step " << k;
    }
}

// Under Wine the system's player opens a sound and tells its length, but plays nothing.
TEST_F(MediaViewerTest, TheSystemPlayerOpensASoundAndTellsItsLength)
{
    Press(L"kurzer ton.wav"); // a blank in the name: the path is quoted
    Media().Timer1Timer();
    EXPECT_EQ(WindowText(GetDlgItem(Bar(), IDC_MEDIA_TIME)), L"00:00:00 / 00:00:02");
}

} // namespace
