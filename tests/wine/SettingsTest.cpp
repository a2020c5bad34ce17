// Settings read at start: values that are no numbers, and the user-defined categories.

#include "AppFixture.h"

#include <algorithm>

namespace {

using namespace WineTest;
using SettingsTest = AppTest;

TEST_F(SettingsTest, ValuesThatAreNoNumbersKeepTheirDefaults)
{
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
    EXPECT_EQ(WindowText(StartupHwnd()), L"Sortaro Auswahl der Datenträger") << "still German";
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

TEST_F(SettingsTest, UserCategoriesFollowTheSearchNodeUpToTheLastId)
{
    auto name = [](int i) { return std::wstring(i < 10 ? L"U0" : L"U") + std::to_wstring(i); };
    // Fifty-five definitions, for fifty-three free ids. The first three name an icon: a
    // program's, a file that is not there, and the program's own; the others have no bar, so
    // that all of the text is the extension list.
    const wchar_t* icons[] = {L"|C:\\windows\\notepad.exe", L"|C:\\no such file.exe", L"|Default"};
    for (int i = 0; i < 55; ++i)
        SetOption(L"UserFiles", name(i), L".u" + std::to_wstring(i) + (i < 3 ? icons[i] : L""));
    ShowRecorder shown;
    shown.ClickWhenShown(L"Hinweis", IDOK);
    StartToMainWindow(true);
    ASSERT_EQ(shown.messages.size(), 1u) << "the categories refused are named";
    EXPECT_NE(shown.messages[0].find(L"U53"), std::wstring::npos);
    EXPECT_NE(shown.messages[0].find(L"U54"), std::wstring::npos);
    EXPECT_EQ(shown.messages[0].find(L"U52"), std::wstring::npos);

    // In the registry's order (Wine lists value names sorted), each with its id as picture.
    const std::vector<HTREEITEM> top = TreeChildren(Tree(), TreeView_GetRoot(Tree()));
    ASSERT_EQ(top.size(), 17u + 53u);
    EXPECT_EQ(TreeItemText(Tree(), top[16]), L"Suchen");
    for (int k = 0; k < 53; ++k) {
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = top[17 + k];
        TreeView_GetItem(Tree(), &tv);
        EXPECT_EQ(TreeItemText(Tree(), tv.hItem), name(k));
        EXPECT_EQ(tv.iImage, 47 + k);
        EXPECT_EQ(tv.iSelectedImage, 47 + k);
    }
    EXPECT_EQ(ImageList_GetImageCount(TreeView_GetImageList(Tree(), TVSIL_NORMAL)), 100)
        << "a picture per category, blank where the icon is unreadable";
    const ExtensionMap& map = main->Model().Extensions();
    EXPECT_NE(std::find_if(map.begin(), map.end(),
                           [](const ExtensionEntry& e) { return e.extension == L".U3" && e.categoryId == 50; }),
              map.end());
}

} // namespace
