#pragma once
// The preview pane beside the file list: a white panel under its heading. The viewers that
// fill it sit below the heading.

#include "../../common/Window.h"

#include <string>

class PreviewPane : public Window {
public:
    bool Create(HWND parent, int id, const std::wstring& heading);
    void SetHeading(const std::wstring& heading);
    std::wstring Heading() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_heading = nullptr;
};
