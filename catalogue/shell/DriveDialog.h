#pragma once
// The choice of drives and folders to scan: one checked row per drive of the chosen types and
// per folder the user added. Each row has its entry in category list 0, which the scan walks.

#include "../../common/Dialog.h"
#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "../catalogue/Catalogue.h"

#include <functional>
#include <string>
#include <vector>

class DriveDialog : public Dialog {
public:
    static constexpr int kDriveTypeCount = 4; // removable, fixed, CD-ROM, RAM disk

    // onOk starts the scan of the checked rows.
    DriveDialog(Program& program, Catalogue& catalogue, std::function<void()> onOk);

    int RowCount() const;
    std::wstring RowCaption(int row) const;
    bool RowChecked(int row) const;
    // The drive of a row's path: "C:" for the drive C: and for a folder on it; empty for a
    // folder on a network share.
    std::wstring RowDrive(int row) const;
    void SetRowChecked(int row, bool checked);
    int SelectedRow() const;
    // "Entfernen": the selected row goes, with its list-0 entry and its folder in the added
    // folders (also a folder marked as missing).
    void RemoveSelectedRow();

    // One row per drive of the marked types, then the stored check marks and added folders; a
    // stored folder the shell cannot resolve gets an unchecked row marked as missing.
    void FillDriveList(const bool driveTypes[kDriveTypeCount]);
    void GetHDwahl();
    void WriteHDwahl();
    // "Hinzufügen": a folder chosen by the user becomes a checked row.
    void Hinzufgen1Click();
    // Resolves a folder through the shell and appends it as a row; false (after a message) when
    // it cannot be resolved.
    bool FindPidlShellFolder(const std::wstring& path, bool checked);
    const std::vector<std::wstring>& AddedFolders() const { return m_addedFolders; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override;
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // The shell's parsing path of a folder; on failure the message that says why.
    const wchar_t* ResolveFolder(const std::wstring& path, std::wstring& parsingPath) const;
    void AddFolderRow(const std::wstring& folder, const std::wstring& parsingPath, bool checked);
    void AddMissingFolderRow(const std::wstring& folder);
    std::wstring MissingCaption(const std::wstring& folder) const;
    int AddRow(const std::wstring& caption, int icon, bool checked);
    void AddDriveEntry(const std::wstring& caption, int icon, const std::wstring& path, bool checked, bool addedByUser);

    Program& m_program;
    Catalogue& m_catalogue;
    std::function<void()> m_onOk;
    std::vector<std::wstring> m_addedFolders;
    UniqueHFont m_linkFont;
};
