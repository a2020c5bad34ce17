#pragma once
// The start-up choice: read the catalogue from the database or scan the drives again, and
// which drive types the scan takes in.

#include "../../common/Dialog.h"

#include <functional>
#include <string>

class Program;

class StartupDialog : public Dialog {
public:
    // onContinue: "Weiter" was pressed.
    StartupDialog(Program& program, std::function<void()> onContinue);

    int RowCount() const;
    bool RowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    // The drive types' check marks as stored ("datafrom"), and a stored text applied to them.
    std::wstring RowFlags() const;
    void ApplyRowFlags(const std::wstring& text) const;
    bool RescanSelected() const;
    void SelectRescan(bool rescan);
    // The buttons stay disabled until the main window has been set up.
    void EnableButtons();

protected:
    bool OnInit() override;
    void OnOk() override;
    void OnCancel() override;

private:
    Program& m_program;
    std::function<void()> m_onContinue;
};
