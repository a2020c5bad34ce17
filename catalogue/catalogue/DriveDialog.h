#pragma once
// The choice of drives and folders to scan: one checked row per drive of the chosen types and
// per folder the user added.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"

#include <string>

class MainWindow;

class DriveDialog : public Dialog {
public:
    explicit DriveDialog(MainWindow& main);

    int RowCount() const;
    std::wstring RowCaption(int row) const;
    bool RowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    // Appends a checked row for a folder, with the shell's icon for it.
    int AddFolderRow(const std::wstring& path);
    int SelectedRow() const;
    // "Entfernen": the selected row goes, and with it its folder from the added folders.
    void RemoveSelectedRow();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override;
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    MainWindow& m_main;
    UniqueHFont m_linkFont;
};
