#pragma once
// Base of every dialog: the object lives in DWLP_USER from WM_INITDIALOG on. The virtual
// handlers hold the logic so that tests can call them without entering a modal loop.

#include "ControlText.h"

#include <windows.h>

#include <string>

class Dialog {
public:
    explicit Dialog(UINT templateId) : m_templateId(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal: returns the code passed to Close, or -1 when the dialog could not be created.
    INT_PTR Run(HWND owner);
    // Modeless: the message loop routes keyboard input through IsDialogMessageW.
    bool CreateModeless(HWND owner);
    // Ends a modal dialog or destroys a modeless one.
    void Close(INT_PTR result);

    HWND Hwnd() const noexcept { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const wchar_t* text) const { SetDlgItemTextW(m_hwnd, id, text); }
    // Puts each text of the table into its control; id 0 stands for the dialog's caption.
    void ApplyTexts(const TextTable& table) const;

    // Moves the dialog to the middle of its owner (of the work area when it has none or the
    // owner is hidden).
    void CenterOnOwner() const;

    // The dialog's font, made bold or underlined, for labels that stand out.
    HFONT CreateDerivedFont(bool bold, bool underline) const;
    // Makes a list view control a one-column list of check boxes as wide as the control.
    void MakeCheckList(int listId) const;
    // The check marks of such a list as a text of "1"/"0" flags, and a stored text applied to
    // them (see SettingsText).
    std::wstring CheckFlags(int listId) const;
    void ApplyCheckFlags(int listId, const std::wstring& text) const;

    // The dialog that contains hwnd, for the message loop's IsDialogMessageW.
    static HWND DialogOf(HWND hwnd);

protected:
    virtual bool OnInit() { return true; }
    virtual bool OnCommand(int id, int code, HWND control);
    virtual LRESULT OnNotify(const NMHDR&) { return 0; }
    virtual void OnOk() { Close(IDOK); }
    virtual void OnCancel() { Close(IDCANCEL); }
    // Messages not cracked by the base; return true when handled, with the result in result.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    bool m_modal = false;
};
