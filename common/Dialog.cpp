#include "Dialog.h"

#include "Log.h"
#include "ScreenDpi.h"
#include "SettingsText.h"

#include <commctrl.h>

#include <vector>

Dialog::~Dialog()
{
    if (m_hwnd && !m_modal) {
        SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        DestroyWindow(m_hwnd);
    }
}

INT_PTR Dialog::Run(HWND owner)
{
    m_modal = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND owner)
{
    m_modal = false;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner, StaticDlgProc,
                                   reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr || Log::LastError(L"dialog", L"CreateDialogParamW");
}

void Dialog::Close(INT_PTR result)
{
    if (!m_hwnd)
        return;
    if (m_modal) {
        EndDialog(m_hwnd, result);
    } else {
        HWND hwnd = m_hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        m_hwnd = nullptr;
        DestroyWindow(hwnd);
    }
}

std::wstring Dialog::ItemText(int id) const
{
    HWND item = Item(id);
    int length = GetWindowTextLengthW(item);
    std::wstring text(length + 1, L'\0');
    length = GetWindowTextW(item, &text[0], length + 1);
    text.resize(length > 0 ? length : 0);
    return text;
}

void Dialog::ApplyTexts(const TextTable& table) const
{
    for (const ControlText& t : table) {
        if (t.id == 0)
            SetWindowTextW(m_hwnd, t.text);
        else
            SetDlgItemTextW(m_hwnd, t.id, t.text);
    }
}

void Dialog::CenterOnOwner() const
{
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    RECT area{}, box{};
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(m_hwnd, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(m_hwnd, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT Dialog::CreateDerivedFont(bool bold, bool underline) const
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    if (bold)
        lf.lfWeight = FW_BOLD;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectW(&lf);
}

void Dialog::MakeCheckList(int listId) const
{
    HWND list = Item(listId);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT rc;
    GetClientRect(list, &rc);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = rc.right - GetSystemMetrics(SM_CXVSCROLL);
    ListView_InsertColumn(list, 0, &column);
}

namespace {

std::vector<bool> CheckMarks(HWND list)
{
    std::vector<bool> rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
        rows.push_back(ListView_GetCheckState(list, row) != 0);
    return rows;
}

} // namespace

std::wstring Dialog::CheckFlags(int listId) const
{
    return SettingsText::FormatFlagText(CheckMarks(Item(listId)));
}

void Dialog::ApplyCheckFlags(int listId, const std::wstring& text) const
{
    HWND list = Item(listId);
    std::vector<bool> rows = CheckMarks(list);
    SettingsText::ApplyFlagText(text, rows);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        ListView_SetCheckState(list, row, rows[row] ? TRUE : FALSE);
}

HWND Dialog::DialogOf(HWND hwnd)
{
    HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    wchar_t className[16] = L"";
    if (root && GetClassNameW(root, className, ARRAYSIZE(className)) && lstrcmpW(className, L"#32770") == 0)
        return root;
    return nullptr;
}

bool Dialog::OnCommand(int id, int, HWND)
{
    // A disabled button must not answer to Enter or Esc either.
    HWND button = Item(id);
    if (button && !IsWindowEnabled(button))
        return true;
    if (id == IDOK) {
        OnOk();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
        return TRUE;
    default: {
        INT_PTR result = 0;
        return OnMessage(msg, wParam, lParam, result) ? result : FALSE;
    }
    }
}

INT_PTR CALLBACK Dialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    try {
        if (msg == WM_INITDIALOG) {
            const bool focusSet = !self->OnInit();
            // Dialog units grow with the scale: at 150 % or 200 % a dialog designed for a small
            // screen may no longer fit it.
            FitWindowInWorkArea(hwnd, Overflow::Centre);
            return focusSet ? FALSE : TRUE;
        }
        INT_PTR result = self->HandleMessage(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->m_hwnd = nullptr;
        }
        return result;
    } catch (...) {
        Log::Write(LogLevel::Error, L"dialog", L"exception in message 0x%04x", msg);
        return FALSE;
    }
}
