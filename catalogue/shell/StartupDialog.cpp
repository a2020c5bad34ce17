#include "StartupDialog.h"

#include "../../common/Program.h"
#include "DriveDialog.h"
#include "EnglishTexts.h"
#include "resource.h"

#include <commctrl.h>

StartupDialog::StartupDialog(Program& program, std::function<void()> onContinue)
    : Dialog(IDD_STARTUP), m_program(program), m_onContinue(std::move(onContinue))
{
}

bool StartupDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(EnglishTexts::kStartupDialog);
    MakeCheckList(IDC_STARTUP_DRIVE_TYPES);
    HWND list = Item(IDC_STARTUP_DRIVE_TYPES);
    for (int row = 0; row < DriveDialog::kDriveTypeCount; ++row) {
        std::wstring text = m_program.Text(IDS_DRIVE_TYPE_BASE + row);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = &text[0];
        ListView_InsertItem(list, &item);
    }
    CheckRadioButton(Hwnd(), IDC_STARTUP_DATABASE, IDC_STARTUP_RESCAN, IDC_STARTUP_RESCAN);
    return true;
}

int StartupDialog::RowCount() const
{
    return ListView_GetItemCount(Item(IDC_STARTUP_DRIVE_TYPES));
}

bool StartupDialog::RowChecked(int row) const
{
    return ListView_GetCheckState(Item(IDC_STARTUP_DRIVE_TYPES), row) != 0;
}

void StartupDialog::SetRowChecked(int row, bool checked)
{
    ListView_SetCheckState(Item(IDC_STARTUP_DRIVE_TYPES), row, checked ? TRUE : FALSE);
}

std::wstring StartupDialog::RowFlags() const
{
    return CheckFlags(IDC_STARTUP_DRIVE_TYPES);
}

void StartupDialog::ApplyRowFlags(const std::wstring& text) const
{
    ApplyCheckFlags(IDC_STARTUP_DRIVE_TYPES, text);
}

bool StartupDialog::RescanSelected() const
{
    return IsDlgButtonChecked(Hwnd(), IDC_STARTUP_RESCAN) == BST_CHECKED;
}

void StartupDialog::SelectRescan(bool rescan)
{
    CheckRadioButton(Hwnd(), IDC_STARTUP_DATABASE, IDC_STARTUP_RESCAN,
                     rescan ? IDC_STARTUP_RESCAN : IDC_STARTUP_DATABASE);
}

void StartupDialog::EnableButtons()
{
    EnableWindow(Item(IDOK), TRUE);
    EnableWindow(Item(IDCANCEL), TRUE);
    SendMessageW(Hwnd(), DM_SETDEFID, IDOK, 0);
}

void StartupDialog::OnOk()
{
    if (m_onContinue)
        m_onContinue();
}

void StartupDialog::OnCancel()
{
    m_program.EndApplication();
}
