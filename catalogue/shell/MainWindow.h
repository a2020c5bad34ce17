#pragma once
// The main window: owner of the catalogue's shared state, the start-up and shutdown flow, the
// settings and the command surface. Its members are split over several files by concern:
// MainWindow.cpp (window and layout), MainWindowCommands.cpp (commands, menus, language),
// MainWindowStartup.cpp (start-up and shutdown), MainWindowSettings.cpp (registry settings),
// MainWindowCatalogue.cpp (drives, scan and database), MainWindowFileList.cpp (the file list).

#include "../../common/UniqueHandle.h"
#include "../../common/Window.h"
#include "../../common/ControlText.h"
#include "../catalogue/Catalogue.h"
#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/ExtensionMatch.h"
#include "../filelist/FileListOrder.h"
#include "Registry.h"

#include <memory>
#include <unordered_map>
#include <string>
#include <vector>

class Dialog;
class StartupDialog;
class WaitDialog;
class ScanProgressDialog;
class DriveDialog;
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
};

// A user-defined category as the registry holds it: the value name and its definition text.
struct UserCategory {
    std::wstring name;
    std::wstring definition;
};

enum class ViewStyle { LargeIcons, SmallIcons, List, Details };

// A selected row of the file view, as the file commands take it.
struct SelectedFile {
    std::wstring path;
    std::wstring name;
    int iconIndex = -1; // in the system image list
    int row = 0;        // also the record's index in the current category's list
};

// Posted to the main window: frees the dialogs closed from their own handlers.
constexpr UINT WM_APP_RELEASE_DIALOGS = WM_APP + 2;

class MainWindow : public Window {
public:
    static constexpr int kDriveTypeCount = 4;
    static constexpr int kColumnCount = 6;

    MainWindow();
    ~MainWindow() override;

    // Creates the hidden main window and runs FormCreate, which shows the start-up dialog.
    bool Create();

    // Set by every cancel button of a wait or progress dialog; long loops stop when it is set.
    int CancelRequested = 0;

    const ProgramOptions& Options() const { return m_options; }
    bool English() const { return m_options.language == 0; }
    Registry& SettingsRegistry() { return m_registry; }
    // A string of the string table in the interface language.
    std::wstring Text(unsigned stringId) const;
    std::wstring CategoryName(int categoryId) const;

    // Start-up and shutdown, in the order they run.
    void FormCreate();
    void NeuEinlesen();
    void FillFolderIDS();
    void StartupContinue(); // "Weiter" of the start-up dialog
    void InitData();
    void ReadDatenBank();
    void ScanDrive();
    // The catalogue database at close: one file per leaf category.
    void WriteDatenBank();
    void FormClose();
    // A cancel before the main window is up: end at once, writing nothing.
    void EndApplication();
    bool ApplicationEnded() const { return m_ended; }

    // Settings (registry) operations.
    void GetUserFiles();
    void GetDatenwahl();
    void WriteDatenwahl();
    void GetHDwahl();
    void WriteHDwahl();
    void GetSettings();
    void SaveSettings();
    void GetColumnWidth();
    void WriteColumnWidth();

    // The catalogue: the 100 category lists, the extension map and the database folder.
    Catalogue& CategoryLists() { return m_catalogue; }
    const ExtensionMap& Extensions() const { return m_extensionMap; }
    int CurrentCategory() const { return m_currentCategory; }
    // Record index of the current category's list.
    const FileRecord& GetShellItem(int index) const;
    std::wstring DataFolder() const;
    void LoadExtensionMap();
    // One stored path into a record of categoryId; a path whose file is gone is left out.
    void FillNodes(int categoryId, const std::wstring& path);
    const std::wstring& OperaPath() const { return m_operaPath; }
    const std::wstring& NetscapePath() const { return m_netscapePath; }

    // The drive dialog's rows, each with its entry in category list 0.
    void FillDriveList();
    void AddDriveEntry(const std::wstring& caption, int icon, const std::wstring& path, bool checked, bool addedByUser);
    void RemoveDriveEntry(int row);
    // "Hinzufügen": a folder chosen by the user becomes a checked row.
    void Hinzufgen1Click();
    // Resolves a folder through the shell and appends it as a row; false (after a message) when
    // it cannot be resolved.
    bool FindPidlShellFolder(const std::wstring& path, bool checked);
    std::wstring SpecialFolder(int csidl) const;

    // The file list's view of the selected tree node (MainWindowFileList.cpp).
    void TreeView1Change();
    void FillListView1();
    void FillListViewOrdner();
    // True while the rows are the selected group's child categories.
    bool GroupView() const { return m_listMode == 0; }
    // Double-click and Enter: the first selected row's category is selected, or its file opened.
    void ListView1DblClick();
    // F5: the list made anew from the catalogue.
    void RefreshList();

    // Sorting: a header click, and the six sort commands (one per key).
    void ListView1ColumnClick(int column);
    void SortCommand(SortKey key);
    SortKey CurrentSortKey() const { return m_sortKey; }
    bool SortFlag() const { return m_sortFlag; }
    // The header markers: the upward triangle while the direction flag is set.
    HBITMAP SortMarker(bool up) const { return up ? m_markerUp.Get() : m_markerDown.Get(); }

    // Selection, with the count and the size total in the status bar.
    void Alleauswhlen2Click();
    void Auswahlumkehren2Click();
    void UnselectAll();
    // Rebuilds the selected-file list from the list's selection (file view only).
    void GetSelItems();
    const std::vector<SelectedFile>& SelectedFiles() const { return m_selectedFiles; }

    // Puts in the English texts of the main window.
    void LanguageE();
    // (Re)creates the file list's six columns in the interface language.
    void NewListView1();

    // Commands: the one table behind WM_COMMAND, menu initialisation and the tool bar.
    void ExecuteCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    // The popup of one of the menu resources (IDR_*_MENU).
    HMENU Menu(int menuId) const;
    void ShowToolbarMenu(int commandId);

    // Parts, for the dialogs and for tests.
    StartupDialog* Startup() const { return m_startup.get(); }
    DriveDialog* Drives() const { return m_drives.get(); }
    WaitDialog* Wait() const { return m_wait.get(); }
    ScanProgressDialog* ScanProgress() const { return m_scanProgress.get(); }
    HWND TreeView() const { return m_tree; }
    HWND FileList() const { return m_list; }
    HWND StatusBar() const { return m_status; }
    HWND ToolBar() const { return m_toolbar; }
    HWND FolderLabel() const { return m_headerLabel; }
    PreviewPane* Preview() const { return m_preview.get(); }
    bool PreviewVisible() const { return m_previewVisible; }
    void ShowPreviewPane(bool show);
    int TreeWidth() const { return m_treeWidth; }
    int PreviewWidth() const { return m_previewWidth; }
    bool GridLines() const { return m_gridLines; }
    bool RowSelect() const { return m_rowSelect; }
    ViewStyle CurrentViewStyle() const { return m_viewStyle; }
    int StartupSource() const { return m_startupSource; }
    bool DriveTypeMark(int row) const { return m_driveTypeMarks[row]; }
    std::vector<std::wstring>& AddedFolders() { return m_addedFolders; }
    const std::vector<UserCategory>& UserCategories() const { return m_userCategories; }
    const std::wstring& WindowsFolder() const { return m_windowsFolder; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // MainWindow.cpp
    bool CreateChildren();
    bool CreateToolBar();
    void CreateDesignedTree();
    // A category's node: text, and the category id as image, selected image and item data.
    HTREEITEM InsertCategoryNode(HTREEITEM parent, const std::wstring& text, int categoryId);
    // Every node of the tree, each before its children, siblings in order.
    std::vector<HTREEITEM> NodesInTreeOrder() const;
    int NodeCategory(HTREEITEM item) const;
    std::wstring NodeText(HTREEITEM item) const;
    void Layout();
    int Scale(int pixels) const;
    void OnSize();
    LRESULT OnNotify(const NMHDR& header);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnTreeRightClick();
    void OnListRightClick();
    void ShowMainWindow();
    void SetGridLines(bool on);
    void SetRowSelect(bool on);
    void SetViewStyle(ViewStyle style);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // MainWindowCommands.cpp
    struct CommandEntry;
    static const CommandEntry* FindCommand(int id);
    void OnCommand(int id);
    void UpdateToolBar();
    void Rasterlinien1Click();
    void ganzeZeielmarkieren1Click();
    void GroeSymbole2Click();
    void KleineSymbole2Click();
    void Liste2Click();
    void Details2Click();
    bool IsLargeIconView() const { return m_viewStyle == ViewStyle::LargeIcons; }
    bool IsSmallIconView() const { return m_viewStyle == ViewStyle::SmallIcons; }
    bool IsListView() const { return m_viewStyle == ViewStyle::List; }
    bool IsDetailsView() const { return m_viewStyle == ViewStyle::Details; }
    bool IsSortedByName() const { return m_sortMenuKey == SortKey::Name; }
    bool IsSortedByPath() const { return m_sortMenuKey == SortKey::Path; }
    bool IsSortedByType() const { return m_sortMenuKey == SortKey::Type; }
    bool IsSortedBySize() const { return m_sortMenuKey == SortKey::Size; }
    bool IsSortedByDate() const { return m_sortMenuKey == SortKey::Date; }
    bool IsSortedByAttributes() const { return m_sortMenuKey == SortKey::Attributes; }
    void NachName1Click() { SortCommand(SortKey::Name); }
    void NachPfad1Click() { SortCommand(SortKey::Path); }
    void NachTyp2Click() { SortCommand(SortKey::Type); }
    void NachGre1Click() { SortCommand(SortKey::Size); }
    void NachDatum2Click() { SortCommand(SortKey::Date); }
    void NachAttributen1Click() { SortCommand(SortKey::Attributes); }
    void OnInitMenuPopup(HMENU menu);
    void ApplyMenuTexts(int menuId, const TextTable& table);
    void TrackMenu(int menuId, POINT screen);
    void Beenden3Click();
    void TogglePreview();
    void ExpandAllNodes();
    void CollapseAllNodes();
    void CollapseNode();
    bool CanEditEndings() const;

    // MainWindowStartup.cpp
    // Closes a dialog whose own handler may be running further up the stack; the object is
    // freed once the message loop is back.
    template <typename T> void Retire(std::unique_ptr<T>& dialog);
    void ReleaseRetiredDialogs();
    void AppendUserCategoryNodes();
    void DeleteNodesAfterSearch();

    // MainWindowFileList.cpp
    void SetStatusCount(int count);
    void SetStatusSelection(const double* kilobytes);
    void ListView1Data(NMLVDISPINFOW& info);
    void AttachImages();
    void ShowHeaderIcon(int categoryId);
    void ShowSortMarker();
    void CreateSortMarkers();
    void ClearSelectionQuietly();
    // Icon index and type name of a record from the shell, asked once per record; files whose
    // icon depends only on their extension share one answer.
    void FillShellInfo(FileRecord& record);
    void ListKeyDown(const NMLVKEYDOWN& key);
    const UpperCaseTable& LocaleUpperCase();

    Catalogue m_catalogue;
    ExtensionMap m_extensionMap;
    CatalogueLoader m_loader{m_catalogue};
    int m_currentCategory = 0;
    int m_listMode = -1; // 0: the rows are the selected group's child nodes
    std::vector<HTREEITEM> m_groupRows;
    bool m_sweeping = false; // set while a loop touches every row: the row texts are not wanted
    SortKey m_sortKey = SortKey::Name;
    SortKey m_sortMenuKey = SortKey::Name; // the checked sort command
    bool m_sortFlag = false;
    int m_lastClickedColumn = 0;
    bool m_markerShown = false;
    UniqueHBitmap m_markerUp;
    UniqueHBitmap m_markerDown;
    std::unique_ptr<UpperCaseTable> m_upperCase;
    std::vector<SelectedFile> m_selectedFiles;
    struct ShellInfo {
        int icon;
        uint16_t typeName;
    };
    std::unordered_map<std::wstring, ShellInfo> m_shellInfoByExtension;
    std::wstring m_operaPath;
    std::wstring m_netscapePath;
    HIMAGELIST m_systemImagesSmall = nullptr; // the shell's: never destroyed here
    HIMAGELIST m_systemImagesLarge = nullptr;

    ProgramOptions m_options;
    Registry m_registry;
    OleScope m_ole;
    bool m_oleFailed = false;

    int m_startupSource = 0; // 1 = read the database, 0 = scan
    bool m_driveTypeMarks[kDriveTypeCount] = {};
    std::vector<std::wstring> m_addedFolders;
    std::vector<UserCategory> m_userCategories;
    std::wstring m_windowsFolder;
    int m_builtInImageCount = 0;
    bool m_ended = false;
    bool m_closing = false;

    std::unique_ptr<StartupDialog> m_startup;
    std::unique_ptr<DriveDialog> m_drives;
    std::unique_ptr<WaitDialog> m_wait;
    std::unique_ptr<ScanProgressDialog> m_scanProgress;
    std::vector<std::unique_ptr<Dialog>> m_retired;

    HWND m_rebar = nullptr;
    HWND m_toolbar = nullptr;
    HWND m_headerPicture = nullptr;
    HWND m_headerLabel = nullptr;
    HWND m_tree = nullptr;
    HWND m_list = nullptr;
    bool m_pointerOverRow = false; // the mouse last moved over a row of the list
    HWND m_status = nullptr;
    std::unique_ptr<Splitter> m_treeSplitter;
    std::unique_ptr<Splitter> m_previewSplitter;
    std::unique_ptr<PreviewPane> m_preview;

    UniqueImageList m_toolbarImages;
    UniqueImageList m_categoryImagesSmall;
    UniqueImageList m_categoryImagesLarge;
    UniqueHFont m_headerFont;
    UniqueHIcon m_headerIcon;
    UniqueHMenu m_menus[6];
    std::wstring m_tipText;

    int m_dpi = 96;
    int m_treeWidth = 0;
    int m_previewWidth = 0;
    bool m_previewVisible = false;
    bool m_gridLines = false;
    bool m_rowSelect = false;
    ViewStyle m_viewStyle = ViewStyle::Details;
};
