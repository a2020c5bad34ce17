#include "MainLayout.h"

#include <algorithm>

MainLayoutResult ComputeMainLayout(const MainLayoutInput& in)
{
    MainLayoutResult r;
    const int width = std::max(0, in.clientWidth);
    const int height = std::max(0, in.clientHeight);
    const int split = std::max(0, in.splitterWidth);

    r.coolBar = {0, 0, width, std::min(in.coolBarHeight, height)};
    const int statusHeight = std::min(in.statusHeight, height - r.coolBar.height);
    r.status = {0, height - statusHeight, width, statusHeight};

    const int top = r.coolBar.height;
    const int middle = std::max(0, r.status.top - top);

    // The list keeps its minimum width first; the preview gives way before the tree does.
    int room = std::max(0, width - in.minListWidth - split);
    int tree = std::clamp(in.treeWidth, 0, room);
    room = std::max(0, room - tree - split);
    int preview = in.previewVisible ? std::clamp(in.previewWidth, 0, room) : 0;
    r.treeWidth = tree;
    r.previewWidth = in.previewVisible ? preview : std::max(0, in.previewWidth);

    const int header = std::min(in.headerHeight, middle);
    r.header = {0, top, tree, header};
    r.tree = {0, top + header, tree, middle - header};
    r.treeSplitter = {tree, top, split, middle};

    const int listLeft = tree + split;
    int listRight = width;
    if (in.previewVisible) {
        r.preview = {width - preview, top, preview, middle};
        r.previewSplitter = {width - preview - split, top, split, middle};
        listRight = r.previewSplitter.left;
    }
    r.list = {listLeft, top, std::max(0, listRight - listLeft), middle};
    return r;
}
