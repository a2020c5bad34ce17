#pragma once
// "Bitte warten": shown while the catalogue database is read at start or written at close.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"

#include <string>

class Program;

class WaitDialog : public Dialog {
public:
    enum class Use { Load, Save };

    WaitDialog(Program& program, Use use);

    void SetStatus(const std::wstring& text);
    void HideLowerLabel();

protected:
    bool OnInit() override;
    void OnOk() override {}
    void OnCancel() override;

private:
    Program& m_program;
    Use m_use;
    UniqueHFont m_bold;
};
