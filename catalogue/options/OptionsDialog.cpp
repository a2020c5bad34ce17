#include "OptionsDialog.h"

#include "../../common/Program.h"
#include "../catalogue/ProgramIds.h"
#include "../filelist/FolderPickers.h"
#include "NewCategoryDialog.h"
#include "OptionsIds.h"
#include "OptionsTexts.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

// The controls of each page, shown while its tab is selected.
const int kPageControls[OptionsDialog::kPageCount][16] = {
    {IDC_OPT_HEADING, IDC_OPT_CATEGORIES_HINT, IDC_OPT_CATEGORIES, IDC_OPT_ADD, IDC_OPT_CHANGE, IDC_OPT_REMOVE,
     IDC_OPT_HIDDEN_FILES},
    {IDC_OPT_PREVIEW_GROUP, IDC_OPT_PREVIEW_HINT, IDC_OPT_PREVIEW_LABEL_BASE, IDC_OPT_PREVIEW_LABEL_BASE + 1,
     IDC_OPT_PREVIEW_LABEL_BASE + 2, IDC_OPT_PREVIEW_LABEL_BASE + 3, IDC_OPT_PREVIEW_LABEL_BASE + 4,
     IDC_OPT_PREVIEW_LABEL_BASE + 5, IDC_OPT_PREVIEW_FIELD_BASE, IDC_OPT_PREVIEW_FIELD_BASE + 1,
     IDC_OPT_PREVIEW_FIELD_BASE + 2, IDC_OPT_PREVIEW_FIELD_BASE + 3, IDC_OPT_PREVIEW_FIELD_BASE + 4,
     IDC_OPT_PREVIEW_FIELD_BASE + 5},
    {IDC_OPT_PREVIEW_AT_START, IDC_OPT_SAVE_DESKTOP, IDC_OPT_NETSCAPE_LABEL, IDC_OPT_NETSCAPE_PATH,
     IDC_OPT_NETSCAPE_BROWSE, IDC_OPT_OPERA_LABEL, IDC_OPT_OPERA_PATH, IDC_OPT_OPERA_BROWSE,
     IDC_OPT_PREVIEW_OPTIONS_HINT},
    {IDC_OPT_DATABASE, IDC_OPT_DATABASE_HINT},
};

const int kColumnWidths[] = {120, 200, 200};

bool IsDefaultIcon(const std::wstring& icon)
{
    return lstrcmpiW(icon.c_str(), L"Default") == 0;
}

void SetCheck(HWND dialog, int id, bool on)
{
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::wstring ListText(HWND list, int row, int column)
{
    wchar_t text[1024] = L"";
    ListView_GetItemText(list, row, column, text, ARRAYSIZE(text));
    return text;
}

} // namespace

OptionsDialog::OptionsDialog(Program& program, OptionsState initial,
                             std::function<void(const OptionsState&)> onConfirm)
    : Dialog(IDD_OPTIONS), m_program(program), m_initial(std::move(initial)), m_onConfirm(std::move(onConfirm))
{
}

bool OptionsDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(OptionsTexts::kOptionsDialog);
    CenterOnOwner();

    HWND tabs = Item(IDC_OPT_TABS);
    for (int page = 0; page < kPageCount; ++page) {
        std::wstring text = m_program.Text(IDS_OPT_TAB_BASE + page);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = &text[0];
        TabCtrl_InsertItem(tabs, page, &item);
    }

    HWND list = Item(IDC_OPT_CATEGORIES);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SHFILEINFOW info{};
    // The system's image list belongs to the shell; the list shares it (LVS_SHAREIMAGELISTS).
    ListView_SetImageList(list,
                          reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info),
                                                                      SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
                          LVSIL_SMALL);
    for (int column = 0; column < 3; ++column) {
        std::wstring caption = m_program.Text(IDS_OPT_COLUMN_BASE + column);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        lvc.cx = kColumnWidths[column];
        lvc.pszText = &caption[0];
        lvc.iSubItem = column;
        ListView_InsertColumn(list, column, &lvc);
    }

    SetItemText(IDC_OPT_NETSCAPE_PATH, m_initial.netscapePath.c_str());
    SetItemText(IDC_OPT_OPERA_PATH, m_initial.operaPath.c_str());
    SetCheck(Hwnd(), IDC_OPT_DATABASE, m_initial.saveDatabase);
    SetCheck(Hwnd(), IDC_OPT_PREVIEW_AT_START, m_initial.previewAtStart);
    SetCheck(Hwnd(), IDC_OPT_SAVE_DESKTOP, m_initial.saveDesktop);
    SetCheck(Hwnd(), IDC_OPT_HIDDEN_FILES, m_initial.includeHidden);
    for (int i = 0; i < OptionsState::kPreviewCount; ++i)
        SetItemText(IDC_OPT_PREVIEW_FIELD_BASE + i, m_initial.previewLists[i].c_str());
    for (const UserCategoryRow& row : m_initial.categories)
        AddRow(row);
    ShowPage(0);
    return true;
}

OptionsState OptionsDialog::State() const
{
    OptionsState state;
    for (int row = 0; row < RowCount(); ++row)
        state.categories.push_back(Row(row));
    for (int i = 0; i < OptionsState::kPreviewCount; ++i)
        state.previewLists[i] = ItemText(IDC_OPT_PREVIEW_FIELD_BASE + i);
    state.netscapePath = ItemText(IDC_OPT_NETSCAPE_PATH);
    state.operaPath = ItemText(IDC_OPT_OPERA_PATH);
    state.previewAtStart = Checked(Hwnd(), IDC_OPT_PREVIEW_AT_START);
    state.saveDesktop = Checked(Hwnd(), IDC_OPT_SAVE_DESKTOP);
    state.saveDatabase = Checked(Hwnd(), IDC_OPT_DATABASE);
    state.includeHidden = Checked(Hwnd(), IDC_OPT_HIDDEN_FILES);
    return state;
}

void OptionsDialog::ShowPage(int page)
{
    if (page < 0 || page >= kPageCount)
        return;
    TabCtrl_SetCurSel(Item(IDC_OPT_TABS), page);
    for (int p = 0; p < kPageCount; ++p)
        for (int id : kPageControls[p])
            if (id)
                ShowWindow(Item(id), p == page ? SW_SHOW : SW_HIDE);
    // "Hinzufügen" is the default button of the first page, OK that of the others.
    SendMessageW(Hwnd(), DM_SETDEFID, page == 0 ? IDC_OPT_ADD : IDOK, 0);
}

int OptionsDialog::Page() const
{
    return TabCtrl_GetCurSel(Item(IDC_OPT_TABS));
}

int OptionsDialog::RowCount() const
{
    return ListView_GetItemCount(Item(IDC_OPT_CATEGORIES));
}

int OptionsDialog::SelectedRow() const
{
    return ListView_GetNextItem(Item(IDC_OPT_CATEGORIES), -1, LVNI_SELECTED);
}

void OptionsDialog::SelectRow(int row)
{
    ListView_SetItemState(Item(IDC_OPT_CATEGORIES), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

UserCategoryRow OptionsDialog::Row(int row) const
{
    HWND list = Item(IDC_OPT_CATEGORIES);
    UserCategoryRow values;
    values.name = ListText(list, row, 0);
    values.extensions = ListText(list, row, 1);
    values.icon = ListText(list, row, 2);
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (ListView_GetItem(list, &item))
        values.previousId = static_cast<int>(item.lParam);
    return values;
}

void OptionsDialog::AddRow(const UserCategoryRow& row)
{
    HWND list = Item(IDC_OPT_CATEGORIES);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<wchar_t*>(row.name.c_str());
    item.lParam = row.previousId;
    const int index = ListView_InsertItem(list, &item);
    if (index >= 0)
        SetRow(index, row);
}

void OptionsDialog::SetRow(int row, const UserCategoryRow& values)
{
    HWND list = Item(IDC_OPT_CATEGORIES);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(values.name.c_str());
    item.iImage = RowImage(values.icon);
    ListView_SetItem(list, &item);
    ListView_SetItemText(list, row, 1, const_cast<wchar_t*>(values.extensions.c_str()));
    ListView_SetItemText(list, row, 2, const_cast<wchar_t*>(values.icon.c_str()));
}

void OptionsDialog::RemoveRow(int row)
{
    ListView_DeleteItem(Item(IDC_OPT_CATEGORIES), row);
}

int OptionsDialog::RowImage(const std::wstring& icon) const
{
    std::wstring file = icon;
    if (IsDefaultIcon(icon)) {
        wchar_t module[MAX_PATH] = L"";
        const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
        file.assign(module, length < MAX_PATH ? length : 0);
    }
    SHFILEINFOW info{};
    if (file.empty() || !SHGetFileInfoW(file.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

void OptionsDialog::Hinzufuegen()
{
    NewCategoryDialog dialog(m_program, nullptr);
    if (dialog.Run(Hwnd()) == IDOK)
        AddRow(dialog.Result());
}

void OptionsDialog::Aendern()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const UserCategoryRow values = Row(row);
    NewCategoryDialog dialog(m_program, &values);
    if (dialog.Run(Hwnd()) == IDOK)
        SetRow(row, dialog.Result());
}

void OptionsDialog::Loeschen()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (MessageBoxW(Hwnd(), m_program.Text(IDS_OPT_REMOVE_QUESTION).c_str(),
                    m_program.Text(IDS_OPT_REMOVE_TITLE).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
        RemoveRow(row);
}

void OptionsDialog::Browse(int fieldId)
{
    std::wstring path = ItemText(fieldId);
    FolderPickers::BrowseFolders(m_program.English(), path);
    SetItemText(fieldId, path.c_str());
}

void OptionsDialog::Confirm()
{
    if (m_onConfirm)
        m_onConfirm(State());
    MessageBoxW(Hwnd(), m_program.Text(IDS_OPT_SAVED).c_str(), m_program.Text(IDS_NOTE_TITLE).c_str(),
                MB_OK | MB_ICONINFORMATION);
    Close(IDOK);
}

bool OptionsDialog::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return Dialog::OnCommand(id, code, control);
    switch (id) {
    case IDC_OPT_ADD:
        Hinzufuegen();
        return true;
    case IDC_OPT_CHANGE:
        Aendern();
        return true;
    case IDC_OPT_REMOVE:
        Loeschen();
        return true;
    case IDC_OPT_NETSCAPE_BROWSE:
        Browse(IDC_OPT_NETSCAPE_PATH);
        return true;
    case IDC_OPT_OPERA_BROWSE:
        Browse(IDC_OPT_OPERA_PATH);
        return true;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

LRESULT OptionsDialog::OnNotify(const NMHDR& header)
{
    if (header.idFrom == IDC_OPT_TABS && header.code == TCN_SELCHANGE)
        ShowPage(Page());
    return 0;
}
