#include "ShellContextMenu.h"

#include "../../common/Log.h"
#include "../catalogue/ProgramIds.h"
#include "FileListIds.h"
#include "ShellVerbs.h"

#include <cwchar>

namespace {

const wchar_t kChannel[] = L"shell";

} // namespace

bool ShellContextMenu::Create(const ShellFolderItems& items, HWND owner)
{
    HRESULT hr = items.GetUIObjectOf(owner, IID_IContextMenu, reinterpret_cast<void**>(m_menu.Put()));
    // The shell draws its submenus itself only when the host passes their messages on, which
    // needs IContextMenu2.
    if (SUCCEEDED(hr))
        hr = m_menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(m_menu2.Put()));
    if (FAILED(hr)) {
        Log::Failed(kChannel, L"IContextMenu2", hr);
        ShowFailure(IDS_SHELL_MENU_FAILED, IDS_SHELL_MENU_FAILED, 0, owner);
        ShowFailure(IDS_SHELL_HRESULT, IDS_SHELL_MENU_FAILED, hr, owner);
        return false;
    }
    if (FAILED(m_menu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(m_menu3.Put()))))
        m_menu3 = ComPtr<IContextMenu3>();
    return true;
}

bool ShellContextMenu::Fill()
{
    m_popup.Reset(CreatePopupMenu());
    if (!m_popup)
        return Log::LastError(kChannel, L"CreatePopupMenu");
    static const struct {
        int id;
        unsigned text;
    } kOwn[] = {{kShellMenuRename, IDS_SHELL_RENAME},
                {kShellMenuSelectAll, IDS_SHELL_SELECT_ALL},
                {kShellMenuInvertSelection, IDS_SHELL_INVERT_SELECTION}};
    for (const auto& own : kOwn)
        AppendMenuW(m_popup.Get(), MF_STRING, own.id, m_program.Text(own.text).c_str());
    const HRESULT hr = m_menu->QueryContextMenu(m_popup.Get(), 0, 1, kShellMenuLastShellId, CMF_EXPLORE);
    if (FAILED(hr)) {
        Log::Failed(kChannel, L"QueryContextMenu", hr);
        return false;
    }
    // A line between the shell's entries and the program's, as Explorer draws between groups.
    const int ownAt = GetMenuItemCount(m_popup.Get()) - static_cast<int>(ARRAYSIZE(kOwn));
    if (ownAt > 0 && !(GetMenuState(m_popup.Get(), ownAt - 1, MF_BYPOSITION) & MF_SEPARATOR))
        InsertMenuW(m_popup.Get(), ownAt, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    return true;
}

std::wstring ShellContextMenu::Verb(int id) const
{
    if (!m_menu || id < 1 || id > kShellMenuLastShellId)
        return {};
    const UINT_PTR offset = static_cast<UINT_PTR>(id - 1);
    wchar_t wide[128] = {};
    if (SUCCEEDED(
            m_menu->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wide), ARRAYSIZE(wide)))) {
        wide[ARRAYSIZE(wide) - 1] = 0;
        return wide;
    }
    // Extensions written for Windows 9x know only the narrow verb.
    char narrow[128] = {};
    if (FAILED(m_menu->GetCommandString(offset, GCS_VERBA, nullptr, narrow, ARRAYSIZE(narrow))))
        return {};
    narrow[ARRAYSIZE(narrow) - 1] = 0;
    std::wstring verb;
    for (const char* c = narrow; *c; ++c)
        verb += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return verb;
}

void ShellContextMenu::Dispatch(int id, HWND owner, POINT at)
{
    if (id <= 0 || !m_menu)
        return;
    if (const int own = ProgramCommandForOwnEntry(id)) {
        m_program.ExecuteCommand(own);
        return;
    }
    if (id > kShellMenuLastShellId)
        return;
    // Delete, cut, copy and rename go to the program's commands, which bring the catalogue in
    // line with the files afterwards.
    if (const int command = ProgramCommandForVerb(Verb(id))) {
        m_program.ExecuteCommand(command);
        return;
    }
    CMINVOKECOMMANDINFOEX info{};
    info.cbSize = sizeof(info);
    info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(id - 1);
    info.lpVerbW = MAKEINTRESOURCEW(id - 1);
    info.nShow = SW_SHOWNORMAL;
    info.ptInvoke = at;
    const HRESULT hr = m_menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
    // A dialog of the shell's that the user cancelled is no error.
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        Log::Failed(kChannel, L"InvokeCommand", hr);
        ShowFailure(IDS_SHELL_INVOKE_FAILED, IDS_APP_TITLE, 0, owner);
        ShowFailure(IDS_SHELL_HRESULT, IDS_APP_TITLE, hr, owner);
    }
}

bool ShellContextMenu::HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (m_menu3)
        return m_menu3->HandleMenuMsg2(msg, wParam, lParam, &result) == S_OK;
    // Menu characters need IContextMenu3.
    if (m_menu2 && msg != WM_MENUCHAR)
        return m_menu2->HandleMenuMsg(msg, wParam, lParam) == S_OK;
    return false;
}

void ShellContextMenu::ShowFailure(unsigned textId, unsigned captionId, HRESULT hr, HWND owner) const
{
    std::wstring text = m_program.Text(textId);
    if (textId == IDS_SHELL_HRESULT) {
        // The text is "hr=%lx" or the like: the error code goes where %lx stands.
        const size_t at = text.find(L"%lx");
        wchar_t code[16];
        swprintf(code, ARRAYSIZE(code), L"%lx", static_cast<unsigned long>(hr));
        if (at != std::wstring::npos)
            text.replace(at, 3, code);
    }
    MessageBoxW(owner, text.c_str(), m_program.Text(captionId).c_str(), MB_OK);
}
