#include "AppFixture.h"
#include "catalogue/shell/resource.h"

using WineTest::GetOption;
using WineTest::WindowText;

namespace {

using SettingsTest = AppTest;

TEST_F(SettingsTest, ValuesThatAreNoNumbersKeepTheirDefaults)
{
    NoDrives();
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    WineTest::SetOption(L"", L"language", L"deutsch");
    WineTest::SetOption(L"", L"database", L"ja");
    WineTest::SetOption(L"", L"includehiddenfiles", L"");
    WineTest::SetOption(L"ScreenSettings", L"left", L"abc");
    WineTest::SetOption(L"ScreenSettings", L"width", L"-");
    WineTest::SetOption(L"ScreenSettings", L"treewidthmain", L"breit");
    WineTest::SetOption(L"ScreenSettings", L"raster", L"x");
    WineTest::SetOption(L"Vorschau", L"Enabled", L"?");
    Start();
    EXPECT_EQ(WindowText(StartupHwnd()), L"Sortaro Auswahl der Datenträger") << "still German";
    RECT before;
    GetWindowRect(main->Hwnd(), &before);
    int treeBefore = main->TreeWidth();
    Click(StartupHwnd(), IDOK);
    Click(DrivesHwnd(), IDOK);
    ASSERT_TRUE(IsWindowVisible(main->Hwnd())) << "start-up completes";
    RECT after;
    GetWindowRect(main->Hwnd(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(main->TreeWidth(), treeBefore);
    EXPECT_FALSE(main->List().GridLines());
    EXPECT_FALSE(main->PreviewVisible());
    EXPECT_EQ(main->Options().database, 0);
    EXPECT_EQ(main->Options().language, 1);
}

TEST_F(SettingsTest, OptionsAreReadAtStart)
{
    WineTest::SetOption(L"", L"database", L"1");
    WineTest::SetOption(L"", L"SaveSettings", L"1");
    WineTest::SetOption(L"", L"includehiddenfiles", L"1");
    WineTest::SetOption(L"", L"InstallDir", L"C:\\Programme\\Sortaro");
    WineTest::SetOption(L"", L"language", L"2"); // any non-zero value is German
    Start();
    EXPECT_EQ(main->Options().database, 1);
    EXPECT_EQ(main->Options().saveSettings, 1);
    EXPECT_EQ(main->Options().includeHiddenFiles, 1);
    EXPECT_EQ(main->Options().installDir, L"C:\\Programme\\Sortaro");
    EXPECT_FALSE(main->English());
    EXPECT_FALSE(main->Options().windowsFolder.empty());
    EXPECT_EQ(GetOption(L"", L"language"), L"2") << "the language is never written by the program";
}

TEST_F(SettingsTest, UserCategoriesFollowTheSearchNode)
{
    WineTest::SetOption(L"UserFiles", L"Bilder", L".JPG+.PNG|Default");
    WineTest::SetOption(L"UserFiles", L"Quellcode", L".CPP+.H|C:\\windows\\notepad.exe");
    WineTest::SetOption(L"UserFiles", L"Kaputt", L".XYZ|C:\\no such file.exe");
    StartToMainWindow(true);
    std::vector<std::wstring> top = ChildTexts();
    ASSERT_GE(top.size(), 20u);
    EXPECT_EQ(top[16], L"Suchen");
    // Registry order; Wine lists value names sorted.
    std::vector<std::wstring> users(top.begin() + 17, top.end());
    EXPECT_EQ(users, (std::vector<std::wstring>{L"Bilder", L"Kaputt", L"Quellcode"}));
    HWND tree = main->Tree().Hwnd();
    for (int k = 0; k < 3; ++k) {
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = FindNode(users[k]);
        TreeView_GetItem(tree, &tv);
        EXPECT_EQ(tv.iImage, 47 + k);
        EXPECT_EQ(tv.iSelectedImage, 47 + k);
    }
    HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
    EXPECT_EQ(ImageList_GetImageCount(images), 50) << "a picture per category, blank where the icon is unreadable";
}

} // namespace
