#pragma once
// "Kategorie anlegen": the name, extension list and icon file of a user-defined category, for
// a new row of the options dialog's list or for the selected one.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"
#include "OptionsState.h"

class Program;

class NewCategoryDialog : public Dialog {
public:
    // change: the row to change; null to add one.
    NewCategoryDialog(Program& program, const UserCategoryRow* change);

    // The texts as "&Weiter" took them, with the previous id of the row changed.
    const UserCategoryRow& Result() const { return m_result; }

    // A picture file for the icon: shown, and its path into the icon field.
    void SetIconFile(const std::wstring& path);
    // The picture file dialog of the picture and the "..." button.
    void BrowseIcon();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override;

private:
    void ShowIcon(const std::wstring& path);

    Program& m_program;
    bool m_change;
    UserCategoryRow m_result;
    UniqueHIcon m_icon;
};
