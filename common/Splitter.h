#pragma once
// A thin vertical bar between two panels; dragging it reports the pointer's x position in the
// parent's client coordinates.

#include "Window.h"

#include <functional>

class Splitter : public Window {
public:
    using MoveHandler = std::function<void(int parentX)>;

    bool Create(HWND parent, int id, MoveHandler onMove);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove(LPARAM lParam);

    MoveHandler m_onMove;
    int m_grabX = 0;
};
