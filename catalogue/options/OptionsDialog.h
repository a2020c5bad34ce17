#pragma once
// The options dialog: four pages (user-defined categories, preview lists, preview options and
// browser cache paths, database), filled from the program's state and handed back as a whole
// on OK. Nothing is stored before OK; what OK does is the caller's (SaveOptions).

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"
#include "OptionsState.h"

#include <functional>
#include <string>

class Program;

class OptionsDialog : public Dialog {
public:
    static constexpr int kPageCount = 4;

    // onConfirm runs on OK with the dialog's state, before the closing message.
    OptionsDialog(Program& program, OptionsState initial, std::function<void(const OptionsState&)> onConfirm);

    // The controls' state as OK would store it.
    OptionsState State() const;

    void ShowPage(int page);
    int Page() const;

    // The user category list.
    int RowCount() const;
    int SelectedRow() const;
    void SelectRow(int row);
    UserCategoryRow Row(int row) const;
    void AddRow(const UserCategoryRow& row);
    void SetRow(int row, const UserCategoryRow& values);
    void RemoveRow(int row);

    // The buttons of the first page: the new-category dialog, and the question before a row goes.
    void Hinzufuegen();
    void Aendern();
    void Loeschen();
    // OK: the state to onConfirm, the note that some changes need a new scan, and closing.
    void Confirm();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;
    void OnOk() override { Confirm(); }

private:
    // The row's picture: the small system icon of its icon file, or of the program.
    int RowImage(const std::wstring& icon) const;
    void Browse(int fieldId);

    Program& m_program;
    OptionsState m_initial;
    std::function<void(const OptionsState&)> m_onConfirm;
};
