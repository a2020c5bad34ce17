#pragma once
// The preview pane beside the file list: a title strip with its close button, and below it one
// viewer at a time for the file pressed in the list: text, picture, icons, sound, film or the
// contents of an archive. Which viewer a file gets is decided by its extension through the
// preview list of the settings (Options\Vorschau).

#include "../../common/UniqueHandle.h"
#include "../../common/Window.h"
#include "PreviewList.h"
#include "Viewer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Program;

// The file of the list row a mouse button was pressed on.
struct PreviewFile {
    std::wstring path;
    uint64_t size = 0;
    // Not empty when the file's volume is not available: the pane shows this instead.
    std::wstring offlineNote;
};

class PreviewPane : public Window, private PreviewHost {
public:
    explicit PreviewPane(Program& program);
    ~PreviewPane() override;

    // onClose is the close button of the title strip: it switches the pane off.
    bool Create(HWND parent, int id, int dpi, std::function<void()> onClose);
    // Where the viewers' status texts go: the fourth part of the status bar.
    void SetStatusHandler(std::function<void(const std::wstring&)> status) { m_status = std::move(status); }
    // The texts of the title strip and the viewers in the interface language.
    void ApplyTexts();

    // (Re)reads the preview list from the settings.
    void GetVorschau();
    const std::vector<PreviewEntry>& Entries() const { return m_entries; }

    // Every mouse button pressed in the file list: stops a listing still running, empties the
    // pane, and with the left or middle button, the switch on and a row selected, shows file.
    void ListView1MouseDown(UINT button, bool switchOn, const PreviewFile* file);
    // Hides every viewer and stops what they run.
    void Reset();
    // The sound and film timer, stopped when the pane is switched with the tool bar.
    void StopMediaTimer();

    std::wstring Heading() const;
    // The viewer of a kind, once made; null for the kinds not shown in this pane.
    Viewer* ViewerOf(ViewerKind kind) const { return m_viewers[static_cast<int>(kind)].get(); }
    HWND NoteHwnd() const { return m_note; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // PreviewHost
    HWND Pane() const override { return Hwnd(); }
    RECT ViewArea() const override;
    Program& App() override { return m_program; }
    int Dpi() const override { return m_dpi; }

    int Scale(int pixels) const { return MulDiv(pixels, m_dpi, 96); }
    void LayoutStrip(int width);

    bool AnyViewerBusy() const;

    Program& m_program;
    std::function<void()> m_onClose;
    std::function<void(const std::wstring&)> m_status;
    // A press that came while a viewer was busy: dispatched once that viewer has unwound.
    struct Pending {
        UINT button;
        bool switchOn;
        bool hasFile;
        PreviewFile file;
    };
    std::unique_ptr<Pending> m_pending;
    int m_dpi = 96;
    HWND m_close = nullptr;
    HWND m_caption = nullptr;
    HWND m_note = nullptr; // says why a file is not shown (its volume is not there)
    HWND m_tips = nullptr;
    UniqueHFont m_boldFont;
    std::vector<PreviewEntry> m_entries;
    // By ViewerKind. The film viewer refers to the sound viewer; it is destroyed first, as an
    // array's elements go from the last to the first.
    std::unique_ptr<Viewer> m_viewers[6];
};
