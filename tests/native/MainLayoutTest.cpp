#include "catalogue/shell/MainLayout.h"

#include <gtest/gtest.h>

namespace {

MainLayoutInput Designed()
{
    // The main window as designed: client 780 x 513, cool bar 52, status bar 19.
    MainLayoutInput in;
    in.clientWidth = 780;
    in.clientHeight = 513;
    in.coolBarHeight = 52;
    in.statusHeight = 19;
    in.headerHeight = 40;
    in.treeWidth = 280;
    in.previewWidth = 247;
    in.splitterWidth = 3;
    return in;
}

TEST(MainLayout, DesignedSizeWithAndWithoutPreview)
{
    MainLayoutInput in = Designed();
    MainLayoutResult r = ComputeMainLayout(in);
    EXPECT_EQ(r.coolBar, (LayoutRect{0, 0, 780, 52}));
    EXPECT_EQ(r.status, (LayoutRect{0, 494, 780, 19}));
    EXPECT_EQ(r.header, (LayoutRect{0, 52, 280, 40}));
    EXPECT_EQ(r.tree, (LayoutRect{0, 92, 280, 402}));
    EXPECT_EQ(r.treeSplitter, (LayoutRect{280, 52, 3, 442}));
    EXPECT_EQ(r.list, (LayoutRect{283, 52, 497, 442}));
    EXPECT_EQ(r.preview.width, 0);
    EXPECT_EQ(r.previewWidth, 247) << "a hidden pane keeps its width for when it is shown";
    // Shown, the preview takes its width from the list.
    in.previewVisible = true;
    r = ComputeMainLayout(in);
    EXPECT_EQ(r.preview, (LayoutRect{533, 52, 247, 442}));
    EXPECT_EQ(r.previewSplitter, (LayoutRect{530, 52, 3, 442}));
    EXPECT_EQ(r.list, (LayoutRect{283, 52, 247, 442}));
}

TEST(MainLayout, PanelsGiveWayBeforeTheListDisappears)
{
    const struct {
        int clientWidth;
        int treeWidth;
        bool previewVisible;
        int expectTree;
        int expectPreview; // shown, or kept for when it is shown
    } cases[] = {
        // width, tree, visible -> tree, preview (list minimum 40, splitters 3, preview 247)
        {780, 280, true, 280, 247},  {500, 280, true, 280, 174}, {300, 280, true, 257, 0},
        {300, 280, false, 257, 247}, {10, 280, true, 0, 0},      {780, -5, false, 0, 247},
    };
    for (const auto& c : cases) {
        MainLayoutInput in = Designed();
        in.clientWidth = c.clientWidth;
        in.treeWidth = c.treeWidth;
        in.previewVisible = c.previewVisible;
        MainLayoutResult r = ComputeMainLayout(in);
        EXPECT_EQ(r.treeWidth, c.expectTree) << "client width " << c.clientWidth;
        EXPECT_EQ(c.previewVisible ? r.preview.width : r.previewWidth, c.expectPreview) << "width " << c.clientWidth;
        EXPECT_GE(r.list.width, 0);
        EXPECT_LE(r.list.left + r.list.width, c.clientWidth);
    }
}

} // namespace
