#pragma once
// The file list pane: the selected tree node's records, or a group's child categories, in a
// virtual list; its columns, icons, sorting, view styles, selection, status texts, keys and
// commands.

#include "../../common/CommandTable.h"
#include "../../common/Controls.h"
#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "../catalogue/CatalogueModel.h"
#include "../catalogue/CategoryTreePane.h"
#include "FileListOrder.h"
#include "ListRows.h"

#include <memory>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class FileOperations;
class ShellContextMenu;
class ShellFolderItems;

enum class ViewStyle { LargeIcons, SmallIcons, List, Details };

// A selected row of the file view, as the file commands take it.
struct SelectedFile {
    std::wstring path;
    std::wstring name;
    int iconIndex = -1; // in the system image list
    int row = 0;        // also the record's index in the category's list
};

// The files selected in the list when a command asks: taken fresh from the list every time, so
// that a command never acts on rows selected earlier or in another category.
struct Selection {
    int category = -1; // -1: the list shows a group's categories, or nothing
    std::vector<SelectedFile> files;
    bool Empty() const { return files.empty(); }
};

class FileListPane {
public:
    static constexpr int kColumnCount = 6;

    FileListPane(Program& program, CatalogueModel& model, CategoryTreePane& tree, const StatusBar& status);
    ~FileListPane();
    FileListPane(const FileListPane&) = delete;
    FileListPane& operator=(const FileListPane&) = delete;

    bool Create(HWND parent, int dpi);
    void AddCommands(CommandTable& commands);
    // WM_NOTIFY from the list; true when handled, with the result in result.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    HWND Hwnd() const { return m_list; }
    // IDR_LIST_MENU or IDR_LIST_BACKGROUND_MENU.
    HMENU Menu(int menuId) const;

    // The shell's system image lists, for the file view; the pictures of the current view are
    // attached again, also the tree's after it drew them anew.
    void SetSystemImages(HIMAGELIST small, HIMAGELIST large);
    // (Re)creates the six columns in the interface language.
    void NewListView1();
    void ApplyEnglish();
    void ReadColumnWidths();
    void WriteColumnWidths();

    // The rows of the selected tree node.
    void TreeView1Change();
    void FillListView1();
    void FillListViewOrdner();
    void RefreshList() { TreeView1Change(); }
    // The shown category's records were updated in place and those at removedRows (former
    // indexes, ascending) removed: the rows follow, the selected and focused rows that stay keep
    // their marks, and the rows on screen stay where they were as far as they can.
    void ShowUpdatedRows(const std::vector<size_t>& removedRows);
    // True while the rows are the selected group's child categories.
    bool GroupView() const { return m_listMode == 0; }
    int CurrentCategory() const { return m_currentCategory; }
    // Record index of the current category's list.
    const FileRecord& GetShellItem(int index) const { return m_model.Lists()[m_currentCategory][index]; }
    // Double-click and Enter: the first selected row's category is selected, or its file opened.
    void ListView1DblClick();

    // Sorting: a header click, and the six sort commands (one per key).
    void ListView1ColumnClick(int column);
    void SortCommand(SortKey key);
    SortKey CurrentSortKey() const { return m_sortKey; }
    bool SortFlag() const { return m_sortFlag; }
    // Shows the sort mark of the last clicked column (the name column at start).
    void ShowSortMarker();
    // The header markers: the upward triangle while the direction flag is set.
    HBITMAP SortMarker(bool up) const { return up ? m_markerUp.Get() : m_markerDown.Get(); }

    // Selection, with the count and the size total in the status bar.
    void Alleauswhlen2Click();
    void Auswahlumkehren2Click();
    void UnselectAll();
    Selection GetSelItems();
    // The file view's rows as the list shows them, in list order, for printing and export: the
    // selected ones or all; none in the group view.
    ListRows ShownRows(bool selectedOnly);
    // The record of the first selected row; null when none is selected or the rows are categories.
    const FileRecord* FirstSelectedRecord() const;
    // Which volume an offline record is on, in the interface language.
    std::wstring OfflineNoteOf(const FileRecord& record) const;
    // Called after the list has handled a mouse button pressed on it (WM_LBUTTONDOWN,
    // WM_RBUTTONDOWN or WM_MBUTTONDOWN), whatever was hit.
    FileOperations& Operations() { return *m_fileOperations; }
    void SetMouseDownHandler(std::function<void(UINT button)> handler) { m_onMouseDown = std::move(handler); }

    // Shell integration (FileListShell.cpp). The right-click menu: the shell's own for files of
    // one folder, the program's file menu for others, the background menu without a selection.
    void ListView1ContextPopup();
    // Shows the shell's menu of the files and runs the entry chosen; false when the shell gave
    // no menu.
    bool DoTheMenuThing(const ShellFolderItems& items, HWND owner, POINT point);
    // A menu message that reached the main window, passed on to the shell's open menu; true
    // when the shell has handled it, with its answer in result.
    bool OnMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Ctrl+C and Ctrl+X: the selected files on the clipboard, to be copied or moved by the
    // program they are pasted in.
    void CopyToClipboard(bool cut);
    // A drag of selected rows: the files go out to be copied or linked, never moved.
    void DragSelectedFiles();

    bool GridLines() const { return m_gridLines; }
    bool RowSelect() const { return m_rowSelect; }
    void SetGridLines(bool on);
    void SetRowSelect(bool on);
    ViewStyle CurrentViewStyle() const { return m_viewStyle; }
    void SetViewStyle(ViewStyle style);

private:
    void SetStatusCount(int count);
    void SetStatusSelection(const double* kilobytes);
    void ListView1Data(NMLVDISPINFOW& info);
    // The text of a file row's column as the list shows it.
    std::wstring CellText(FileRecord& record, int column);
    void PrintList();
    void ExportList();
    // The record of a row of the file view; null in the group view and beyond the rows.
    const FileRecord* RecordAt(int row) const;
    // Offline rows: greyed, with a mark on their icon, and their volume named in the status
    // bar and in the row's tip.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void DrawOfflineMark(HDC hdc, int row) const;
    void ShowOfflineNote();
    void OfflineTip(NMLVGETINFOTIPW& tip) const;
    void AttachImages();
    void CreateSortMarkers();
    void ClearSelectionQuietly();
    // Icon index and type name of a record from the shell, asked once per record; files whose
    // icon depends only on their extension share one answer.
    // Gives the icon index.
    int FillShellInfo(FileRecord& record);
    void ListKeyDown(const NMLVKEYDOWN& key);
    // The selected files for the clipboard or a drag; null when there are none, or (told to the
    // user) when one of them is offline.
    IDataObject* NewSelectionData();
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    Program& m_program;
    std::unique_ptr<FileOperations> m_fileOperations;
    std::function<void(UINT button)> m_onMouseDown;
    CatalogueModel& m_model;
    CategoryTreePane& m_tree;
    const StatusBar& m_status;
    HWND m_list = nullptr;
    int m_dpi = 96;
    UniqueHMenu m_menus[2];

    int m_currentCategory = 0;
    int m_listMode = -1; // 0: the rows are the selected group's child nodes
    std::vector<HTREEITEM> m_groupRows;
    bool m_sweeping = false;         // set while a loop touches every row: the row texts are not wanted
    bool m_pointerOverRow = false;   // the mouse last moved over a row
    bool m_anyOffline = false;       // some row of the file view is offline; found when the rows are filled
    bool m_offlineNoteShown = false; // the preview's status part holds an offline note
    SIZE m_iconSize{16, 16};         // of the images the list shows
    struct ShellInfo {
        int icon;
        uint16_t typeName;
    };
    std::unordered_map<std::wstring, ShellInfo> m_shellInfoByExtension;
    HIMAGELIST m_systemImagesSmall = nullptr; // the shell's: never destroyed here
    HIMAGELIST m_systemImagesLarge = nullptr;

    SortKey m_sortKey = SortKey::Name;
    SortKey m_sortMenuKey = SortKey::Name; // the checked sort command
    bool m_sortFlag = false;
    int m_lastClickedColumn = 0;
    bool m_markerShown = false;
    UniqueHBitmap m_markerUp;
    UniqueHBitmap m_markerDown;

    ShellContextMenu* m_openShellMenu = nullptr; // while the shell's menu is tracked

    bool m_gridLines = false;
    bool m_rowSelect = false;
    ViewStyle m_viewStyle = ViewStyle::Details;
};
