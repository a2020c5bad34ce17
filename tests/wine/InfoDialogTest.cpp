// The information dialog: its texts, the running system's version and memory, its links and
// size, its close picture, and the tool button that opens it.

#include "AppFixture.h"
#include "catalogue/info/InfoDialog.h"
#include "catalogue/info/SystemInfoText.h"
#include "catalogue/shell/resource.h"

namespace {

using namespace WineTest;
using Texts = std::vector<std::wstring>;

class InfoDialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, m_separator, ARRAYSIZE(m_separator));
    }
    void TearDown() override
    {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, m_separator);
        AppTest::TearDown();
    }

    wchar_t m_separator[8] = L"";
};

TEST_F(InfoDialogTest, ShowsTheProgramAndTheRunningSystem)
{
    // The user's thousands separator, as the control panel would set it.
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L".");
    StartToMainWindow(true);
    InfoDialog dialog(*main);
    ASSERT_TRUE(dialog.CreateModeless(main->Hwnd()));

    Texts texts{WindowText(dialog.Hwnd())};
    for (int id : {IDC_INFO_NAME, IDC_INFO_VERSION, IDC_INFO_PLATFORMS, IDC_INFO_MAIL, IDC_INFO_WEB, IDC_INFO_PRODUCT,
                   IDC_INFO_SYSTEM_VERSION})
        texts.push_back(dialog.ItemText(id));
    // The prefix runs as Wine's default, Windows 7 with service pack 1.
    EXPECT_EQ(texts, (Texts{L"Information", L"Sortaro", L"Version 1.309", L"Windows XP/Vista/7/8/8.1/10/11",
                            L"info@sortaro.example", L"www.sortaro.example", L"Microsoft Windows 7 ",
                            L"Version 6.1 (Build 7601)Service Pack 1"}));

    // The whole memory, also beyond the 4 GB where the old query stopped.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(dialog.ItemText(IDC_INFO_MEMORY), L"Verfügbarer realer Speicher : " +
                                                    SystemInfoText::GroupThousands(memory.ullTotalPhys / 1024, L".") +
                                                    L" KB ");

    EXPECT_EQ(dialog.LinkTarget(IDC_INFO_MAIL), L"mailto:info@sortaro.example");
    EXPECT_EQ(dialog.LinkTarget(IDC_INFO_WEB), L"http://www.sortaro.example");
    RECT box{};
    GetWindowRect(dialog.Hwnd(), &box);
    const int dpi = GetDeviceCaps(WindowDc(nullptr).Dc(), LOGPIXELSX);
    EXPECT_EQ(box.right - box.left, MulDiv(336, dpi, 96));
    EXPECT_EQ(box.bottom - box.top, MulDiv(228, dpi, 96));

    SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_INFO_CLOSE, STN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.Item(IDC_INFO_CLOSE)));
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "the close picture closes";
}

TEST_F(InfoDialogTest, ToolButtonShowsTheDialog)
{
    StartToMainWindow(true);
    ShowRecorder shown;
    shown.ClickWhenShown(L"Information", IDOK);
    main->ExecuteCommand(IDM_INFO);
    EXPECT_NE(shown.IndexOf(L"Information"), -1);
}

} // namespace
