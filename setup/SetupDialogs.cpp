#include "SetupDialogs.h"

#include "SetupTexts.h"
#include "resource.h"

using SetupTexts::Id;
using SetupTexts::Text;

LanguageDialog::LanguageDialog() : Dialog(IDD_LANGUAGE)
{
}

bool LanguageDialog::ChooseGerman(HWND owner)
{
    m_german = false;
    Run(owner);
    return m_german;
}

bool LanguageDialog::OnInit()
{
    HWND list = Item(IDC_LANGUAGE_LIST);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(Id::LanguageEnglish, true)));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(Id::LanguageGerman, true)));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    return true;
}

void LanguageDialog::OnOk()
{
    m_german = SendMessageW(Item(IDC_LANGUAGE_LIST), LB_GETCURSEL, 0, 0) == 1;
    Close(IDOK);
}

CancelQuestion::CancelQuestion(bool german) : Dialog(IDD_CANCEL_QUESTION), m_german(german)
{
}

bool CancelQuestion::Ask(HWND owner)
{
    return Run(owner) == IDYES;
}

bool CancelQuestion::OnInit()
{
    // The window title stays German in both languages.
    SetWindowTextW(Hwnd(), Text(Id::CancelTitle, m_german));
    SetItemText(IDC_CANCEL_HEADING, Text(Id::CancelHeading, m_german));
    SetItemText(IDC_CANCEL_TEXT, Text(Id::CancelText, m_german));
    SetItemText(IDYES, Text(Id::CancelYes, m_german));
    SetItemText(IDNO, Text(Id::CancelNo, m_german));
    return true;
}

bool CancelQuestion::OnCommand(int id, int, HWND)
{
    switch (id) {
    case IDYES:
        Close(IDYES);
        return true;
    case IDNO:
    case IDCANCEL: // Esc and the close box answer no
        Close(IDNO);
        return true;
    default:
        return false;
    }
}
