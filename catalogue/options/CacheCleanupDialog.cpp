#include "CacheCleanupDialog.h"

#include "../../common/Program.h"
#include "../catalogue/ProgramIds.h"
#include "CacheCleanupIds.h"
#include "CacheCleanupTexts.h"
#include "UrlCache.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

const int kCleanupButtons[] = {IDOK, IDCANCEL, IDC_CLEANUP_FOLDER, IDC_CLEANUP_KEEP_COOKIES};

} // namespace

CacheCleanupDialog::CacheCleanupDialog(Program& program) : Dialog(IDD_CACHE_CLEANUP), m_program(program)
{
}

bool CacheCleanupDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(CacheCleanupTexts::kDialog);
    m_headingFont.Reset(CreateDerivedFont(true, false));
    SendMessageW(Item(IDC_CLEANUP_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont.Get()), FALSE);
    CenterOnOwner();
    return true;
}

bool CacheCleanupDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_CLEANUP_FOLDER && code == BN_CLICKED) {
        OpenCacheFolder();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

bool CacheCleanupDialog::KeepCookies() const
{
    return IsDlgButtonChecked(Hwnd(), IDC_CLEANUP_KEEP_COOKIES) == BST_CHECKED;
}

CacheCleanup::Result CacheCleanupDialog::Clean()
{
    for (int id : kCleanupButtons)
        EnableWindow(Item(id), FALSE);
    HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    CacheCleanup::Result result = CleanInternetCache(KeepCookies());
    SetCursor(cursor);
    for (int id : kCleanupButtons)
        EnableWindow(Item(id), TRUE);
    return result;
}

std::wstring CacheCleanupDialog::Report(const CacheCleanup::Result& result) const
{
    std::wstring text = m_program.Text(IDS_CLEANUP_REMOVED) + std::to_wstring(result.removed);
    text += L"\n" + m_program.Text(IDS_CLEANUP_FAILED) + std::to_wstring(result.failed);
    if (result.kept)
        text += L"\n" + m_program.Text(IDS_CLEANUP_KEPT) + std::to_wstring(result.kept);
    if (result.error)
        text += L"\n\n" + m_program.Text(IDS_CLEANUP_INCOMPLETE) + std::to_wstring(result.error);
    return text;
}

void CacheCleanupDialog::OnOk()
{
    const CacheCleanup::Result result = Clean();
    const bool complete = result.failed == 0 && result.error == 0;
    MessageBoxW(Hwnd(), Report(result).c_str(), m_program.Text(IDS_NOTE_TITLE).c_str(),
                MB_OK | (complete ? MB_ICONINFORMATION : MB_ICONWARNING));
    Close(IDOK);
}

void CacheCleanupDialog::OpenCacheFolder() const
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return;
    // Show command 5: the window in its current size and position.
    ShellExecuteW(GetForegroundWindow(), L"open", path, nullptr, nullptr, SW_SHOW);
}

void ToolButton15Click(Program& program)
{
    CacheCleanupDialog dialog(program);
    dialog.Run(program.Owner());
}
