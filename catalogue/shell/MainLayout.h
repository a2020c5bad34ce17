#pragma once
// Where the parts of the main window go, from the client size and the panel widths. Portable.

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

struct MainLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    int coolBarHeight = 0;
    int statusHeight = 0;
    int headerHeight = 0; // the strip with picture and label above the tree
    int treeWidth = 0;
    int previewWidth = 0;
    bool previewVisible = false;
    int splitterWidth = 3;
    int minListWidth = 40; // the panels give way before the list disappears
};

struct MainLayoutResult {
    LayoutRect coolBar;
    LayoutRect header;
    LayoutRect tree;
    LayoutRect treeSplitter;
    LayoutRect list;
    LayoutRect previewSplitter;
    LayoutRect preview;
    LayoutRect status;
    int treeWidth = 0;    // as used, after clamping
    int previewWidth = 0; // as used, after clamping
};

MainLayoutResult ComputeMainLayout(const MainLayoutInput& in);
