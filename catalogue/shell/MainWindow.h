#pragma once
// The main window, a frame of panes: it creates the category tree, the file list and the
// preview, lays them out with their splitters, owns the tool bar, menus and status bar, and
// routes WM_NOTIFY to the pane whose control sent it and WM_COMMAND through the command table,
// where each pane keeps its own rows. It also runs the start-up and shutdown flow and keeps the
// window's settings. Its members are split over four files: MainWindow.cpp (window, layout,
// routing and commands), MainWindowStartup.cpp (start-up, scan, database and shutdown),
// MainWindowSettings.cpp (the registry settings) and MainWindowOptions.cpp (the options dialog).

#include "../../common/CommandTable.h"
#include "../../common/Controls.h"
#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "../../common/Window.h"
#include "../catalogue/CatalogueModel.h"
#include "../catalogue/CategoryTreePane.h"
#include "../filelist/FileListPane.h"
#include "../options/OptionsState.h"
#include "DriveDialog.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CatalogueChecker;
class Dialog;
class OptionsDialog;
class StartupDialog;
class WaitDialog;
class ScanProgressDialog;
class PreviewPane;
class Splitter;

// The values of Software\Sortaro\Options read at start.
struct ProgramOptions {
    int database = 0;           // write the catalogue database at close
    int saveSettings = 0;       // restore and store the window layout
    int language = 1;           // 1 German, 0 English
    std::wstring installDir;    // parent of the Data folder
    int includeHiddenFiles = 0; // the scan also walks hidden items
    int previewShown = 0;       // open the preview pane at start
    std::wstring windowsFolder;
};

// Posted to the main window: frees the dialogs closed from their own handlers.
constexpr UINT WM_APP_RELEASE_DIALOGS = WM_APP + 2;
// Posted to the main window by the check of the catalogue: updates wait, or the check is over.
constexpr UINT WM_APP_CATALOGUE_CHECKED = WM_APP + 3;

class MainWindow : public Window, public Program {
public:
    MainWindow();
    ~MainWindow() override;

    // Creates the hidden main window and runs FormCreate, which shows the start-up dialog.
    bool Create();

    // Set by every cancel button of a wait or progress dialog; long loops stop when it is set.
    int CancelRequested = 0;

    // Program
    bool English() const override { return m_options.language == 0; }
    std::wstring Text(unsigned stringId) const override;
    Registry& Settings() override { return m_registry; }
    int& CancelFlag() override { return CancelRequested; }
    HWND Owner() const override { return Hwnd(); }
    void EndApplication() override;
    void ExecuteCommand(int id) override;
    void TrackMenu(HMENU menu, POINT screen) override;

    const ProgramOptions& Options() const { return m_options; }
    bool ApplicationEnded() const { return m_phase == Phase::Ended; }

    // Start-up and shutdown, in the order they run.
    void FormCreate();
    void NeuEinlesen();
    void StartupContinue(); // "Weiter" of the start-up dialog
    void InitData();
    void ReadDatenBank();
    void ScanDrive();
    // The catalogue database at close: one file per leaf category.
    void WriteDatenBank();
    void FormClose();
    // True while the catalogue read from its stored facts is compared with the disk.
    bool CatalogueCheckRunning() const { return m_check != nullptr; }

    // Settings (registry) operations.
    void GetUserFiles();
    void GetDatenwahl();
    void WriteDatenwahl();
    void GetSettings();
    void SaveSettings();

    // The options dialog, filled from what the program holds (Optionen1Click runs it), and
    // what its OK does: the registry written, the preview list and user categories read again,
    // and the user categories' catalogue files and lists renumbered to their new ids.
    std::unique_ptr<OptionsDialog> MakeOptionsDialog();
    void Optionen1Click();
    void SaveOptions(const OptionsState& state);

    // Commands: enabled and checked states for the menus and the tool bar.
    bool IsCommandEnabled(int id) const { return m_commands.Enabled(id); }
    bool IsCommandChecked(int id) const { return m_commands.Checked(id); }
    // The popup of one of the menu resources (IDR_*_MENU), the panes' included.
    HMENU Menu(int menuId) const;
    void ShowToolbarMenu(int commandId);
    void LanguageE();
    // Moved to a monitor of another scale (WM_DPICHANGED): pictures, sizes and layout for the
    // new one, the window at the place Windows suggests.
    void OnDpiChanged(int dpi, const RECT* suggested);
    int Dpi() const { return m_dpi; }

    // Parts, for the dialogs and for tests.
    CatalogueModel& Model() { return m_model; }
    CategoryTreePane& Tree() { return *m_tree; }
    FileListPane& List() { return *m_list; }
    PreviewPane* Preview() const { return m_preview.get(); }
    StartupDialog* Startup() const { return m_dialogs.startup.get(); }
    DriveDialog* Drives() const { return m_dialogs.drives.get(); }
    const StatusBar& Status() const { return m_status; }
    HWND ToolBar() const { return m_toolbar; }
    bool PreviewVisible() const { return m_previewVisible; }
    void ShowPreviewPane(bool show);
    // The tool bar's preview switch: also stops the sound and film timer.
    void Vorschau1Click();
    int TreeWidth() const { return m_treeWidth; }
    int PreviewWidth() const { return m_previewWidth; }
    int StartupSource() const { return m_startup.source; }
    bool DriveTypeMark(int row) const { return m_startup.driveTypes[row]; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Where the program is between its start and its end.
    enum class Phase { Open, Closing, Ended };
    // The start-up dialog's answers.
    struct StartupChoice {
        int source = 0; // 1 = read the database, 0 = scan
        bool driveTypes[DriveDialog::kDriveTypeCount] = {};
    };
    // The dialogs of the start-up and shutdown flow, and those closed from their own handlers,
    // which are freed once the message loop is back.
    struct Dialogs {
        std::unique_ptr<StartupDialog> startup;
        std::unique_ptr<DriveDialog> drives;
        std::unique_ptr<WaitDialog> wait;
        std::unique_ptr<ScanProgressDialog> scanProgress;
        std::vector<std::unique_ptr<Dialog>> retired;
    };

    // MainWindow.cpp
    bool CreateChildren();
    bool CreateToolBar();
    // The tool bar's pictures in the size that suits the scale, and its buttons sized to them.
    void LoadToolbarImages();
    void AddCommands();
    void Layout();
    int Scale(int pixels) const;
    LRESULT OnNotify(const NMHDR& header);
    // A menu message for the shell's context menu while it is open; its answer when the shell
    // has handled the message.
    std::optional<LRESULT> OnShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void ShowMainWindow();
    // A mouse button pressed in the file list: the preview of the row it selected.
    void PreviewPressedRow(UINT button);

    // MainWindowStartup.cpp
    template <typename T> void Retire(std::unique_ptr<T>& dialog);
    void AppendUserCategories();

    // MainWindowOptions.cpp
    OptionsState CurrentOptions();
    // A renumbering of the user categories' files that a crash cut short.
    void RecoverUserCategoryFiles();
    // A status text of the wait dialog, with the screen kept alive.
    void ShowWaitStatus(const std::wstring& text);
    // The check of the records read with their stored facts, in the background: started when
    // the main window shows; what it finds is applied on this thread, when no dialog or menu of
    // this window holds records; stopped at close, where what it found is applied first.
    static constexpr UINT_PTR kCheckRetryTimer = 1;
    void StartCatalogueCheck();
    void ApplyCatalogueCheck(bool closing);
    void StopCatalogueCheck();

    CatalogueModel m_model;
    CommandTable m_commands;
    ProgramOptions m_options;
    Registry m_registry;
    OleScope m_ole;
    Phase m_phase = Phase::Open;
    StartupChoice m_startup;
    Dialogs m_dialogs;
    std::unique_ptr<CatalogueChecker> m_check;

    StatusBar m_status;
    std::unique_ptr<CategoryTreePane> m_tree;
    std::unique_ptr<FileListPane> m_list;
    std::unique_ptr<PreviewPane> m_preview;
    std::unique_ptr<Splitter> m_treeSplitter;
    std::unique_ptr<Splitter> m_previewSplitter;
    HWND m_rebar = nullptr;
    HWND m_toolbar = nullptr;
    UniqueImageList m_toolbarImages;
    UniqueHMenu m_menus[3]; // the tool bar's drop-down menus
    std::wstring m_tipText;

    int m_dpi = 96;
    int m_treeWidth = 0;
    int m_previewWidth = 0;
    bool m_previewVisible = false;
};
