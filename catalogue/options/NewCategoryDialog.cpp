#include "NewCategoryDialog.h"

#include "../../common/Program.h"
#include "../catalogue/ProgramIds.h"
#include "OptionsDialog.h"
#include "OptionsIds.h"
#include "OptionsTexts.h"

#include <commdlg.h>
#include <shellapi.h>

NewCategoryDialog::NewCategoryDialog(Program& program, const UserCategoryRow* change)
    : Dialog(IDD_NEW_CATEGORY), m_program(program), m_change(change != nullptr)
{
    if (change)
        m_result = *change;
    else
        m_result.icon = L"Default";
}

bool NewCategoryDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(OptionsTexts::kNewCategoryDialog);
    CenterOnOwner();
    SetItemText(IDC_NEWCAT_NAME, m_result.name.c_str());
    SetItemText(IDC_NEWCAT_ENDINGS, m_result.extensions.c_str());
    SetItemText(IDC_NEWCAT_ICON, m_result.icon.c_str());
    // The program's own picture unless a changed row names a file of its own.
    ShowIcon(m_change && lstrcmpiW(m_result.icon.c_str(), L"DEFAULT") != 0 ? m_result.icon : std::wstring());
    return true;
}

void NewCategoryDialog::ShowIcon(const std::wstring& path)
{
    UniqueHIcon icon;
    if (path.empty()) {
        icon.Reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, 32, 32, 0)));
    } else {
        SHFILEINFOW info{};
        if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON))
            icon.Reset(info.hIcon);
    }
    SendDlgItemMessageW(Hwnd(), IDC_NEWCAT_PICTURE, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    m_icon = std::move(icon);
}

void NewCategoryDialog::SetIconFile(const std::wstring& path)
{
    ShowIcon(path);
    SetItemText(IDC_NEWCAT_ICON, path.c_str());
}

void NewCategoryDialog::BrowseIcon()
{
    // The filter is "name|pattern|..." in the string table; the dialog wants NUL separators.
    std::wstring filter = m_program.Text(IDS_OPT_PICTURE_FILTER);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.push_back(L'\0');
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&ofn))
        SetIconFile(file);
}

void NewCategoryDialog::OnOk()
{
    m_result.name = ItemText(IDC_NEWCAT_NAME);
    m_result.extensions = ItemText(IDC_NEWCAT_ENDINGS);
    m_result.icon = ItemText(IDC_NEWCAT_ICON);
    Close(IDOK);
}

bool NewCategoryDialog::OnCommand(int id, int code, HWND control)
{
    if ((id == IDC_NEWCAT_BROWSE && code == BN_CLICKED) || (id == IDC_NEWCAT_PICTURE && code == STN_CLICKED)) {
        BrowseIcon();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}
