#pragma once
// The sound and film viewer: plays the file at once through the media control interface and
// shows the media bar at the bottom of the pane (a position slider, the time played and the
// whole length, Play, Pause and Stop); a film is drawn into the film display panel above it. A
// 100 ms timer keeps the slider and the time up to date. One player serves both kinds: the
// film kind of the preview list reaches it through FilmViewer().

#include "../../common/UniqueHandle.h"
#include "../../common/Window.h"
#include "MciChannel.h"
#include "Viewer.h"

#include <memory>
#include <optional>

class MediaViewer : public Viewer, private Window {
public:
    MediaViewer();
    ~MediaViewer() override;

    bool Create(PreviewHost& host) override;
    // A sound: the media bar only.
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void StopTimer() override;
    void Layout() override;
    void ApplyTexts() override;

    // The viewer of the film kind: this player and bar, with the film display.
    std::unique_ptr<Viewer> FilmViewer();
    // Puts another channel in place of the system's (tests); a file that is open is closed.
    void SetMci(std::unique_ptr<MciChannel> mci);

    HWND BarHwnd() const { return Hwnd(); }
    HWND HintsHwnd() const { return m_tips; }

    void BitBtn3Click(); // Play
    void BitBtn2Click(); // Pause
    void BitBtn1Click(); // Stop: back to the start
    void Timer1Timer();
    void RxSlider1MouseDown();
    void RxSlider1MouseUp();
    void Panel8Resize();

    // Most of the slider: the trackbar's own default range.
    static constexpr int kSliderMax = 100;

private:
    class Film;

    void ShowMedia(const std::wstring& path, uint64_t size, bool film);
    bool PlaySoundA(const std::wstring& path, bool film);
    void CloseMedia();
    // Sends command to the open file's player; a failure is reported in a message box.
    bool Command(const std::wstring& command, std::wstring* answer = nullptr);
    // A number the player answers; 0 when it cannot answer.
    uint64_t Number(const std::wstring& command);
    void StartTimer();
    void OnSliderScroll(int code);
    int Scale(int pixels) const { return MulDiv(pixels, m_host->Dpi(), 96); }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::unique_ptr<MciChannel> m_mci;
    PreviewHost* m_host = nullptr;
    HWND m_film = nullptr; // the film display: a child of the pane
    HWND m_slider = nullptr;
    HWND m_time = nullptr;
    HWND m_buttons[3] = {}; // Play, Pause, Stop
    HWND m_tips = nullptr;
    UniqueHFont m_timeFont;
    bool m_open = false;
    bool m_seeking = false;             // between the slider's first move and the end of the move
    std::optional<uint64_t> m_startPos; // where the next Play starts, when set
    std::wstring m_totalText;           // the length of the file, as a time text
};
