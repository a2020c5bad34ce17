#include "DriveDialog.h"

#include "../shell/EnglishTexts.h"
#include "../shell/MainWindow.h"
#include "../shell/resource.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

DriveDialog::DriveDialog(MainWindow& main) : Dialog(IDD_DRIVES), m_main(main)
{
}

bool DriveDialog::OnInit()
{
    if (m_main.English())
        ApplyTexts(EnglishTexts::kDriveDialog);

    MakeCheckList(IDC_DRIVES_LIST);
    HWND list = Item(IDC_DRIVES_LIST);
    SHFILEINFOW info{};
    // The shell's small system image list: shared (LVS_SHAREIMAGELISTS), the list must not destroy it.
    ListView_SetImageList(list,
                          reinterpret_cast<HIMAGELIST>(
                              SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
                          LVSIL_SMALL);

    // The two links look like links.
    m_linkFont.Reset(CreateDerivedFont(false, true));
    for (int id : {IDC_DRIVES_ADD, IDC_DRIVES_REMOVE})
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), FALSE);
    return true;
}

int DriveDialog::RowCount() const
{
    return ListView_GetItemCount(Item(IDC_DRIVES_LIST));
}

std::wstring DriveDialog::RowCaption(int row) const
{
    wchar_t text[MAX_PATH * 2] = L"";
    ListView_GetItemText(Item(IDC_DRIVES_LIST), row, 0, text, ARRAYSIZE(text));
    return text;
}

bool DriveDialog::RowChecked(int row) const
{
    return ListView_GetCheckState(Item(IDC_DRIVES_LIST), row) != 0;
}

void DriveDialog::SetRowChecked(int row, bool checked)
{
    ListView_SetCheckState(Item(IDC_DRIVES_LIST), row, checked ? TRUE : FALSE);
}

int DriveDialog::AddRow(const std::wstring& caption, int icon, bool checked)
{
    std::wstring text = caption;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = RowCount();
    item.pszText = &text[0];
    item.iImage = icon;
    int row = ListView_InsertItem(Item(IDC_DRIVES_LIST), &item);
    if (row >= 0)
        SetRowChecked(row, checked);
    return row;
}

int DriveDialog::SelectedRow() const
{
    return ListView_GetNextItem(Item(IDC_DRIVES_LIST), -1, LVNI_SELECTED);
}

void DriveDialog::RemoveSelectedRow()
{
    int row = SelectedRow();
    if (row < 0)
        return;
    std::wstring caption = RowCaption(row);
    auto& folders = m_main.AddedFolders();
    auto found = std::find(folders.begin(), folders.end(), caption);
    if (found != folders.end())
        folders.erase(found);
    ListView_DeleteItem(Item(IDC_DRIVES_LIST), row);
    m_main.RemoveDriveEntry(row);
}

bool DriveDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_DRIVES_REMOVE && code == STN_CLICKED) {
        RemoveSelectedRow();
        return true;
    }
    if (id == IDC_DRIVES_ADD && code == STN_CLICKED) {
        m_main.Hinzufgen1Click();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void DriveDialog::OnOk()
{
    ShowWindow(Hwnd(), SW_HIDE);
    m_main.WriteHDwahl();
    m_main.ScanDrive();
}

void DriveDialog::OnCancel()
{
    m_main.EndApplication();
}

bool DriveDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    HWND control = reinterpret_cast<HWND>(msg == WM_SETCURSOR ? wParam : lParam);
    bool isLink = control == Item(IDC_DRIVES_ADD) || control == Item(IDC_DRIVES_REMOVE);
    if (msg == WM_CTLCOLORSTATIC && isLink) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, RGB(0, 102, 204));
        SetBkMode(hdc, TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    if (msg == WM_SETCURSOR && isLink) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    return false;
}
