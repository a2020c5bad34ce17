#pragma once
// What the preview pane asks of each of its viewers (text, picture, icon, sound and film,
// archive contents), and what a viewer may ask of the pane. A viewer owns its controls, all
// children of the pane, and keeps them hidden until it shows a file.

#include <windows.h>

#include <cstdint>
#include <string>

class Program;

// The pane, as a viewer sees it.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    // The pane window: the parent of every viewer's controls.
    virtual HWND Pane() const = 0;
    // Where a viewer may draw: the pane below its title strip (bars a viewer shows are its own).
    virtual RECT ViewArea() const = 0;
    // Texts, language, the shared cancel flag.
    virtual Program& App() = 0;
    // The pane's scale: pixels at 96 dots per inch times Scale() / 96.
    virtual int Dpi() const = 0;
};

class Viewer {
public:
    virtual ~Viewer() = default;
    // Creates the viewer's controls, hidden. False when they cannot be made.
    virtual bool Create(PreviewHost& host) = 0;
    // Shows the file at path; ext is its upper-cased extension with its dot. A file the viewer
    // cannot show leaves it empty, without a message.
    virtual void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) = 0;
    // Hides what the viewer shows and stops what it runs (timers, players, listings).
    virtual void Reset() = 0;
    // True while the viewer is inside a long loop that pumps messages (an archive listing): a
    // new preview waits until it has unwound.
    virtual bool Busy() const { return false; }
    // Stops the viewer's timer, if it has one, leaving what plays playing.
    virtual void StopTimer() {}
    // The pane was resized.
    virtual void Layout() {}
    // The interface language changed: texts and hints again.
    virtual void ApplyTexts() {}
    // Messages the pane receives for the viewer's controls: WM_COMMAND, WM_NOTIFY, WM_TIMER,
    // WM_HSCROLL. True when the viewer handled it; result is then the answer.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) { return false; }
};
