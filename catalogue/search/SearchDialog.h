#pragma once
// The search dialog: finds files by a part of their full path, on the drives or in one folder
// (the disk search, which walks the folders again), or in the catalogue as the user types (the
// catalogue search, which also finds the files of discs not inserted); shows the hits in a
// virtual list and, when it closes, puts them into the Search category as the user chose.

#include "../../common/Controls.h"
#include "../../common/Dialog.h"
#include "../../common/Program.h"
#include "../../common/Splitter.h"
#include "../../common/UniqueHandle.h"
#include "../catalogue/Catalogue.h"
#include "CatalogueSearch.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CategoryTreePane;

class SearchDialog : public Dialog {
public:
    enum class InsertOption { Not, Append, Replace };
    static constexpr int kColumnCount = 6;

    // onInserted is called after the results went into the Search category.
    SearchDialog(Program& program, Catalogue& catalogue, std::function<void()> onInserted);
    ~SearchDialog() override;

    // The tool button "Suchen": selects the Search node, then shows the dialog modally.
    static void Suchen1Click(Program& program, Catalogue& catalogue, CategoryTreePane& tree,
                             std::function<void()> onInserted);

    // The drive list: one entry per local drive of My Computer (removable, fixed, CD-ROM, RAM
    // disk), then the entry for all of them (selected), then the entry for a folder.
    void SetSearchPath();
    int DriveCount() const { return static_cast<int>(m_driveRoots.size()); }
    std::wstring EntryCaption(int row) const;
    // The "Suchen in" field after a change of the selected entries; with browse set (a click),
    // the folder picker opens for the user-defined entry.
    void DriveListClick(bool browse);

    // "Jetzt suchen": the disk search, or at once the catalogue query.
    void SearchNowClick();
    // "Suche abbrechen".
    void CancelClick();
    // One disk search from the dialog's inputs into the results.
    void SearchFiles();
    bool Searching() const { return m_searching; }

    // The catalogue search: on while the box "im Katalog suchen" is checked.
    bool CatalogueMode() const;
    bool MatchCase() const;
    // Runs the query of the name field now (typing runs it after a short pause).
    void RunCatalogueQuery();
    // A query waits for the keys to pause, or runs.
    bool QueryBusy() const { return m_queryPending || m_queryRunning; }

    // The results shown: the catalogue's hits in the catalogue search, else the disk's.
    size_t ResultCount() const;
    const FileRecord& ResultAt(size_t row) const;
    InsertOption Option() const;
    // The results into the Search category, by the option chosen; nothing with "nicht einfügen".
    void AddSearchItems();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;
    void OnOk() override {}
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    struct ShellInfo {
        int icon;
        std::wstring typeName;
    };
    void CreateResultView();
    void Layout();
    void UpdateModeControls();
    void ShowResults();
    void FinishClose();
    void SetBusy(bool busy);
    void ListView2Data(NMLVDISPINFOW& info);
    LRESULT OnResultDraw(NMLVCUSTOMDRAW& draw) const;
    void OfflineTip(NMLVGETINFOTIPW& tip) const;
    const ShellInfo& ShellInfoOf(const FileRecord& record);
    bool Paint(HDC hdc) const;
    void SearchUserFolder(class DiskSearch& search, const std::wstring& pattern);
    int Scale(int pixels) const { return MulDiv(pixels, m_dpi, 96); }

    Program& m_program;
    Catalogue& m_catalogue;
    std::function<void()> m_onInserted;

    std::vector<std::wstring> m_driveRoots; // "C:\", one per drive entry
    std::vector<FileRecord> m_diskResults;
    // Kept from one opening to the next (see the constructor); checked against the catalogue at
    // the first query and after the hits went into the Search category.
    std::shared_ptr<CatalogueIndex> m_index;
    bool m_indexChecked = false;
    CatalogueQuery m_query{*m_index};
    std::unordered_map<std::wstring, ShellInfo> m_shellInfo; // by upper-case extension

    StatusBar m_status;
    Splitter m_splitter;
    UniqueHFont m_headingFont;
    int m_dpi = 96;
    int m_panelWidth = 0;
    int m_minPanelWidth = 0;
    int m_minHeight = 0; // of the window: the left panel's controls all show

    bool m_searching = false;
    bool m_queryPending = false;
    bool m_queryRunning = false;
    bool m_queryRestart = false;
    bool m_closeRequested = false;
};
