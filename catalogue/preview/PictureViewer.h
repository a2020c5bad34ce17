#pragma once
// The picture viewer of the preview pane: GIF files play in the animated view; BMP and JPEG
// pictures are decoded to 24 bits and shown in the still view, shrunk to fit the pane. A tool
// bar zooms, turns and mirrors the still picture; the file itself is never written.

#include "Viewer.h"

#include "../../common/UniqueHandle.h"

#include <memory>
#include <string>

class StillView;
class AnimationView;

class PictureViewer : public Viewer {
public:
    PictureViewer();
    ~PictureViewer() override;

    bool Create(PreviewHost& host) override;
    // ".GIF", ".BMP" and ".JPG"; any other extension shows nothing.
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void Layout() override;
    void ApplyTexts() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    HWND StillHwnd() const;
    HWND AnimationHwnd() const;
    HWND Toolbar() const { return m_toolbar; }
    // The frames of the animation shown; 0 when none is.
    unsigned FrameCount() const;

private:
    void ShowStill(const std::wstring& path, const std::wstring& ext);
    void ShowAnimation(const std::wstring& path);
    void ShowToolbar();
    void RunTool(int id);
    int Scale(int pixels) const;

    PreviewHost* m_host = nullptr;
    std::unique_ptr<StillView> m_still;
    std::unique_ptr<AnimationView> m_animation;
    HWND m_toolbar = nullptr;
    UniqueImageList m_glyphs;
    std::wstring m_hints[5];
};
