#pragma once
// "Bitte warten": shown while the catalogue database is read at start or written at close.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"

#include <string>

class MainWindow;

class WaitDialog : public Dialog {
public:
    enum class Use { Load, Save };

    WaitDialog(MainWindow& main, Use use);

    void SetStatus(const std::wstring& text);
    void HideLowerLabel();

protected:
    bool OnInit() override;
    void OnOk() override {}
    void OnCancel() override;

private:
    MainWindow& m_main;
    Use m_use;
    UniqueHFont m_bold;
};
