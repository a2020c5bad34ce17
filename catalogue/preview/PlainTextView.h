#pragma once
// A read-only view of a long plain text: it keeps the text and the start of each line, and lays
// out and draws only the lines on screen, so that a text of many megabytes is on screen at once
// (a rich edit view formats all of it first, which takes seconds). Lines do not wrap; both scroll
// bars are always shown. The mouse selects, Ctrl+A selects all, Ctrl+C copies.

#include "../../common/UniqueHandle.h"
#include "../../common/Window.h"
#include "TextLines.h"

#include <string>

class PlainTextView : public Window {
public:
    bool Create(HWND parent, int controlId, int dpi);
    // Takes the text and shows its start.
    void SetText(std::wstring text);
    void Clear() { SetText(std::wstring()); }
    const TextLines& Lines() const { return m_lines; }
    int TopLine() const { return m_top; }
    // The selected part of the text, as offsets (from <= to).
    size_t SelectionStart() const { return std::min(m_anchor, m_caret); }
    size_t SelectionEnd() const { return std::max(m_anchor, m_caret); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnSize();
    void OnScroll(int bar, int request);
    void OnWheel(int delta);
    void OnKeyDown(UINT key);
    void OnMouse(UINT msg, int x, int y, bool shift);
    void OnCopy() const;

    void ScrollTo(int top, int left);
    void UpdateScrollBars();
    int VisibleLines() const;
    // The text offset under a point of the client area.
    uint32_t OffsetAt(int x, int y) const;
    // Width of the first count characters of a line, tabs expanded.
    int Extent(HDC hdc, uint32_t line, uint32_t count) const;
    void DrawLine(HDC hdc, uint32_t line, int y, const RECT& client) const;

    static constexpr int kMargin = 2;
    TextLines m_lines;
    UniqueHFont m_font;
    int m_lineHeight = 13;
    int m_charWidth = 6;
    int m_width = 0; // of the widest line measured, in pixels
    int m_top = 0;   // first line shown
    int m_left = 0;  // pixels scrolled to the right
    int m_wheel = 0; // wheel movement not yet turned into lines
    size_t m_anchor = 0;
    size_t m_caret = 0;
    bool m_selecting = false;
};
