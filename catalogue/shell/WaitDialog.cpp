#include "WaitDialog.h"

#include "../../common/MessagePump.h"
#include "../../common/Program.h"
#include "EnglishTexts.h"
#include "resource.h"

WaitDialog::WaitDialog(Program& program, Use use) : Dialog(IDD_WAIT), m_program(program), m_use(use)
{
}

bool WaitDialog::OnInit()
{
    m_bold.Reset(CreateDerivedFont(true, false));
    for (int id : {IDC_WAIT_TITLE, IDC_WAIT_RIGHT})
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_bold.Get()), FALSE);

    if (m_use == Use::Load) {
        SetItemText(IDC_WAIT_TITLE, m_program.Text(IDS_WAIT_TITLE_LOAD).c_str());
        if (m_program.English())
            ApplyTexts(EnglishTexts::kWaitDialogAtStart);
    } else {
        SetItemText(IDC_WAIT_TITLE, m_program.Text(IDS_WAIT_TITLE_SAVE).c_str());
        if (m_program.English())
            ApplyTexts(EnglishTexts::kWaitDialogAtClose);
    }
    return true;
}

void WaitDialog::SetStatus(const std::wstring& text)
{
    SetItemText(IDC_WAIT_STATUS, text.c_str());
}

void WaitDialog::HideLowerLabel()
{
    ShowWindow(Item(IDC_WAIT_LOWER), SW_HIDE);
}

void WaitDialog::OnCancel()
{
    m_program.CancelFlag() = 1;
    MessagePump::ProcessMessages();
    m_program.EndApplication();
}
