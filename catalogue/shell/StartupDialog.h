#pragma once
// The start-up choice: read the catalogue from the database or scan the drives again, and
// which drive types the scan takes in.

#include "../../common/Dialog.h"

class MainWindow;

class StartupDialog : public Dialog {
public:
    explicit StartupDialog(MainWindow& main);

    int RowCount() const;
    bool RowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    bool RescanSelected() const;
    void SelectRescan(bool rescan);
    // The buttons stay disabled until the main window has been set up.
    void EnableButtons();

protected:
    bool OnInit() override;
    void OnOk() override;
    void OnCancel() override;

private:
    MainWindow& m_main;
};
