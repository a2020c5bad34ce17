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
    // Appends a row with its caption and system icon; the main window pairs it with an entry
    // of category list 0.
    int AddRow(const std::wstring& caption, int icon, bool checked);
    int SelectedRow() const;
    // "Entfernen": the selected row goes, with its list-0 entry and its folder in the added
    // folders.
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
