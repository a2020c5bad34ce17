#pragma once
// The information dialog: the program, its platforms and maker with two links (e-mail and web
// page), and the Windows product, version and physical memory of the running system.

#include "../../common/Dialog.h"
#include "../../common/UniqueHandle.h"

#include <string>

class Program;

class InfoDialog : public Dialog {
public:
    explicit InfoDialog(Program& program);

    // What a link opens: "mailto:" with the e-mail address, or the web address; empty for a
    // control that is no link.
    std::wstring LinkTarget(int id) const;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void AddHint(HWND tips, int id, const std::wstring& text) const;
    HBRUSH ColorStatic(HDC hdc, HWND control) const;

    Program& m_program;
    UniqueHFont m_boldFont;
    UniqueHFont m_linkFont;
    UniqueHBrush m_stripBrush;
};

// The tool button "Info": shows the dialog modally.
void Info1Click(Program& program);
