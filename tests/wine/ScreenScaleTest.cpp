// The main window and its pictures at the scales of today's screens (100, 125, 150 and 200 %).
// Wine reads the scale (LogPixels) when a process starts, so the test runs this executable
// again at each scale and puts the prefix's own setting back afterwards.

#include "AppFixture.h"
#include "common/ScreenDpi.h"

#include <string>

namespace {

using namespace WineTest;

const wchar_t kScaleVariable[] = L"SORTARO_TEST_DPI";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The pictures each scale asks for: tree, group view and tool bar.
struct Scale {
    int dpi;
    int small;
    int large;
};
const Scale kScales[] = {{96, 16, 32}, {120, 20, 40}, {144, 24, 48}, {192, 32, 64}};

// The prefix's LogPixels set for the processes started while it lives, then put back as it was.
class LogPixelsScope {
public:
    LogPixelsScope()
    {
        DWORD size = sizeof(m_old);
        m_had = SHGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", nullptr, &m_old, &size) == ERROR_SUCCESS;
    }
    ~LogPixelsScope()
    {
        if (m_had)
            Set(m_old);
        else
            SHDeleteValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
    }
    LogPixelsScope(const LogPixelsScope&) = delete;
    LogPixelsScope& operator=(const LogPixelsScope&) = delete;

    static void Set(DWORD dpi)
    {
        ASSERT_EQ(SHSetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)),
                  ERROR_SUCCESS);
    }

private:
    DWORD m_old = 96;
    bool m_had = false;
};

// Runs the AtScale tests in a process of their own at dpi; its exit code (0 when they passed).
DWORD RunAtScale(int dpi)
{
    LogPixelsScope::Set(static_cast<DWORD>(dpi));
    SetEnvironmentVariableW(kScaleVariable, std::to_wstring(dpi).c_str());
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=AtScale.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(self, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(kScaleVariable, nullptr);
    if (!started)
        return GetLastError();
    // A hung child must not keep the scale set for the tests after this one.
    if (WaitForSingleObject(process.hProcess, 12000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 0xdead);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(ScreenScale, MainWindowAtEachScale)
{
    LogPixelsScope scope;
    for (const Scale& scale : kScales)
        EXPECT_EQ(RunAtScale(scale.dpi), 0u) << "the tests at " << scale.dpi << " dpi failed (output above)";
}

bool Inside(HWND hwnd, const ScreenRect& work)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc.left >= work.left && rc.top >= work.top && rc.right <= work.left + work.width &&
           rc.bottom <= work.top + work.height;
}

ScreenRect BoundsOf(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return ToScreenRect(rc);
}

int IconSize(HIMAGELIST images)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    return cx;
}

// Started by MainWindowAtEachScale only, with the scale to expect in the environment.
class AtScale : public AppTest {
protected:
    void SetUp() override
    {
        wchar_t text[16] = L"";
        if (!GetEnvironmentVariableW(kScaleVariable, text, ARRAYSIZE(text)))
            GTEST_SKIP() << "runs in the processes ScreenScale.MainWindowAtEachScale starts";
        for (const Scale& s : kScales)
            if (s.dpi == _wtoi(text))
                scale = s;
        ASSERT_EQ(SystemDpi(), scale.dpi) << "the prefix's LogPixels did not take effect";
        AppTest::SetUp();
        work = WorkAreaNear(ScreenRect{0, 0, 1, 1});
    }

    Scale scale{};
    ScreenRect work;
};

TEST_F(AtScale, FirstStartLiesInsideTheWorkAreaWithPicturesOfTheScale)
{
    NoDrives();
    Start();
    EXPECT_TRUE(Inside(StartupHwnd(), work));
    Click(StartupHwnd(), IDOK);
    EXPECT_TRUE(Inside(DrivesHwnd(), work));
    Click(DrivesHwnd(), IDOK);
    ASSERT_TRUE(IsWindowVisible(main->Hwnd()));
    EXPECT_TRUE(Inside(main->Hwnd(), work));
    // The designed width (788 at 100 %) grows with the scale as far as the screen allows.
    EXPECT_EQ(BoundsOf(main->Hwnd()).width, std::min(ScaleToDpi(788, scale.dpi), work.width));

    EXPECT_EQ(IconSize(TreeView_GetImageList(Tree(), TVSIL_NORMAL)), scale.small);
    EXPECT_EQ(IconSize(main->Tree().Images(true)), scale.large);
    EXPECT_EQ(IconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(main->ToolBar(), TB_GETIMAGELIST, 0, 0))),
              scale.large);
    // The shell's file icons as large as the tree's pictures.
    EXPECT_EQ(IconSize(ListView_GetImageList(main->List().Hwnd(), LVSIL_SMALL)), scale.small);
}

TEST_F(AtScale, StoredBoundsThatDoNotFitAreBroughtInside)
{
    const struct {
        const wchar_t *left, *top, *width, *height;
    } stored[] = {
        {L"3000", L"2000", L"700", L"500"}, // on a monitor that is gone
        {L"40", L"30", L"3000", L"500"},    // wider than the screen
    };
    for (const auto& s : stored) {
        SetOption(L"", L"SaveSettings", L"1");
        for (const auto& [name, value] : {std::pair{L"left", s.left}, std::pair{L"top", s.top},
                                          std::pair{L"width", s.width}, std::pair{L"height", s.height}})
            SetOption(L"ScreenSettings", name, value);
        StartToMainWindow(false);
        EXPECT_TRUE(Inside(main->Hwnd(), work)) << s.left << "," << s.top << " " << s.width << " x " << s.height;
    }
}

using ScreenScaleTest = AppTest;

TEST_F(ScreenScaleTest, MovedToAMonitorOfAnotherScale)
{
    StartToMainWindow(false);
    ASSERT_EQ(main->Dpi(), 96);
    const int dpi = 144;
    const RECT suggested{50, 40, 50 + 1100, 40 + 800};
    SendMessageW(main->Hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(BoundsOf(main->Hwnd()), (ScreenRect{50, 40, 1100, 800}));
    EXPECT_EQ(main->Dpi(), dpi);
    EXPECT_EQ(IconSize(TreeView_GetImageList(Tree(), TVSIL_NORMAL)), 24);
    // The root's children in the list show the tree's new pictures.
    EXPECT_EQ(ListView_GetImageList(main->List().Hwnd(), LVSIL_SMALL), main->Tree().Images(false));
}

} // namespace
