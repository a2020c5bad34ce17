#pragma once
// The icon viewer: every large icon a file holds (a program, a library, an icon file), in a list
// of large icons filling the pane below its title strip.

#include "../../common/UniqueHandle.h"
#include "Viewer.h"

class IconViewer : public Viewer {
public:
    bool Create(PreviewHost& host) override;
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void Layout() override;

private:
    PreviewHost* m_host = nullptr;
    HWND m_list = nullptr;
    UniqueImageList m_images; // the list's own: destroyed with the viewer
};
