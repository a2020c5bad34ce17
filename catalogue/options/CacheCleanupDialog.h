#pragma once
// The dialog that empties the system's internet cache ("Temporary Internet Files"), optionally
// keeping the cookies, and tells how many entries went.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"
#include "CacheCleanup.h"

#include <string>

class Program;

class CacheCleanupDialog : public Dialog {
public:
    explicit CacheCleanupDialog(Program& program);

    bool KeepCookies() const;
    // Runs the cleanup with the dialog's choice; its buttons are disabled meanwhile.
    CacheCleanup::Result Clean();
    // What the user is told after a cleanup, in the interface language.
    std::wstring Report(const CacheCleanup::Result& result) const;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // "Löschen": cleans, reports, closes.
    void OnOk() override;

private:
    void OpenCacheFolder() const;

    Program& m_program;
    UniqueHFont m_headingFont;
};

// The tool button that empties the internet cache: shows the dialog modally.
void ToolButton15Click(Program& program);
