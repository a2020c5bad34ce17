#pragma once
// The two small modal dialogs of the installer: the language choice before the wizard and the
// cancel question that every page can raise.

#include "common/Dialog.h"

// "Sprache / Language": English or Deutsch, English preselected.
class LanguageDialog : public Dialog {
public:
    LanguageDialog();
    // Runs the dialog; true when "Deutsch" was chosen.
    bool ChooseGerman(HWND owner);
    bool GermanChosen() const { return m_german; }

protected:
    bool OnInit() override;
    void OnOk() override;
    void OnCancel() override {} // the dialog has only OK

private:
    bool m_german = false;
};

// "Installation abbrechen": yes ends the installer, no goes on.
class CancelQuestion : public Dialog {
public:
    explicit CancelQuestion(bool german);
    // Runs the question; true for yes.
    bool Ask(HWND owner);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    bool m_german;
};
