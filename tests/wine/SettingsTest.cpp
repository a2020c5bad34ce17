// Settings read at start: values that are no numbers, and the user-defined categories.

#include "AppFixture.h"

namespace {

using SettingsTest = AppTest;

TEST_F(SettingsTest, ValuesThatAreNoNumbersKeepTheirDefaults)
{
    using WineTest::SetOption;
    SetOption(L"", L"SaveSettings", L"1");
    SetOption(L"", L"language", L"deutsch");
    SetOption(L"", L"database", L"ja");
    SetOption(L"", L"includehiddenfiles", L"");
    SetOption(L"ScreenSettings", L"left", L"abc");
    SetOption(L"ScreenSettings", L"width", L"-");
    SetOption(L"ScreenSettings", L"treewidthmain", L"breit");
    SetOption(L"ScreenSettings", L"raster", L"x");
    SetOption(L"Vorschau", L"Enabled", L"?");
    NoDrives();
    Start();
    EXPECT_EQ(WineTest::WindowText(StartupHwnd()), L"Sortaro Auswahl der Datenträger") << "still German";
    RECT before;
    GetWindowRect(main->Hwnd(), &before);
    const int treeBefore = main->TreeWidth();
    Click(StartupHwnd(), IDOK);
    Click(DrivesHwnd(), IDOK);
    ASSERT_TRUE(IsWindowVisible(main->Hwnd())) << "start-up completes";
    RECT after;
    GetWindowRect(main->Hwnd(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(main->TreeWidth(), treeBefore);
    EXPECT_FALSE(ListView_GetExtendedListViewStyle(main->List().Hwnd()) & LVS_EX_GRIDLINES);
    EXPECT_FALSE(main->PreviewVisible());
    EXPECT_EQ(main->Options().database, 0);
    EXPECT_EQ(main->Options().includeHiddenFiles, 0);
}

TEST_F(SettingsTest, UserCategoriesFollowTheSearchNode)
{
    WineTest::SetOption(L"UserFiles", L"Bilder", L".JPG+.PNG|Default");
    WineTest::SetOption(L"UserFiles", L"Quellcode", L".CPP+.H|C:\\windows\\notepad.exe");
    WineTest::SetOption(L"UserFiles", L"Kaputt", L".XYZ|C:\\no such file.exe");
    StartToMainWindow(true);
    const std::vector<HTREEITEM> top = TreeChildren(Tree(), TreeView_GetRoot(Tree()));
    ASSERT_EQ(top.size(), 20u);
    EXPECT_EQ(TreeItemText(Tree(), top[16]), L"Suchen");
    // Registry order; Wine lists value names sorted. Picture and selected picture are the id.
    const wchar_t* users[] = {L"Bilder", L"Kaputt", L"Quellcode"};
    for (int k = 0; k < 3; ++k) {
        TVITEMW tv{};
        tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        wchar_t text[64] = L"";
        tv.pszText = text;
        tv.cchTextMax = 64;
        tv.hItem = top[17 + k];
        TreeView_GetItem(Tree(), &tv);
        EXPECT_EQ(std::wstring(text), users[k]);
        EXPECT_EQ(tv.iImage, 47 + k);
        EXPECT_EQ(tv.iSelectedImage, 47 + k);
    }
    HIMAGELIST images = TreeView_GetImageList(Tree(), TVSIL_NORMAL);
    EXPECT_EQ(ImageList_GetImageCount(images), 50) << "a picture per category, blank where the icon is unreadable";
}

} // namespace
