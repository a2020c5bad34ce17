#pragma once
// The text viewer: a read-only rich text view filling the pane below its title strip. A file in
// rich text format is shown formatted, any other as plain text in MS Sans Serif, 8 points. Only
// the first 16 MB of a file are loaded, with a line saying the rest is left out.

#include "Viewer.h"

class TextViewer : public Viewer {
public:
    bool Create(PreviewHost& host) override;
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void Layout() override;
    HWND Hwnd() const { return m_edit; }

    // The most of a file the view loads.
    static constexpr uint64_t kMaxBytes = 16u << 20;

private:
    void SetPlainFont();

    PreviewHost* m_host = nullptr;
    HWND m_edit = nullptr;
};
