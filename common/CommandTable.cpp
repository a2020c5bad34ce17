#include "CommandTable.h"

#include <commctrl.h>

const CommandRow* CommandTable::Find(int id) const
{
    for (const CommandRow& row : m_rows)
        if (row.id == id)
            return &row;
    return nullptr;
}

bool CommandTable::Enabled(int id) const
{
    const CommandRow* row = Find(id);
    return row && (!row->enabled || row->enabled());
}

bool CommandTable::Checked(int id) const
{
    const CommandRow* row = Find(id);
    return row && row->checked && row->checked();
}

bool CommandTable::Execute(int id) const
{
    const CommandRow* row = Find(id);
    if (!row || !Enabled(id))
        return false;
    if (row->run)
        row->run();
    return true;
}

void CommandTable::UpdateMenu(HMENU menu) const
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info) || (info.fType & MFT_SEPARATOR) || info.hSubMenu)
            continue;
        const int id = static_cast<int>(info.wID);
        EnableMenuItem(menu, i, MF_BYPOSITION | (Enabled(id) ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, i, MF_BYPOSITION | (Checked(id) ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CommandTable::UpdateToolBar(HWND toolbar) const
{
    const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP || !Find(button.idCommand))
            continue;
        SendMessageW(toolbar, TB_ENABLEBUTTON, button.idCommand, MAKELPARAM(Enabled(button.idCommand), 0));
        SendMessageW(toolbar, TB_CHECKBUTTON, button.idCommand, MAKELPARAM(Checked(button.idCommand), 0));
    }
}
