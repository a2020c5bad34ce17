#include "EndingsEditor.h"

#include "../../common/Program.h"
#include "../catalogue/ProgramIds.h"
#include "../catalogue/SettingsKeys.h"
#include "OptionsIds.h"
#include "OptionsTexts.h"

#include <algorithm>

std::optional<std::wstring> ReadTreeEnding(Registry& settings, int categoryId)
{
    RegistryKeyScope key(settings, SettingsKeys::kFileEnding, KeyAccess::Read);
    if (!key)
        return std::nullopt;
    std::optional<std::wstring> endings = settings.ReadString(std::to_wstring(categoryId));
    if (endings && endings->empty())
        return std::nullopt;
    return endings;
}

bool WriteNewTreeEnding(Registry& settings, int categoryId, const std::wstring& endings)
{
    RegistryKeyScope key(settings, SettingsKeys::kFileEnding, KeyAccess::Create);
    return key && settings.WriteString(std::to_wstring(categoryId), endings);
}

EndingsEditor::EndingsEditor(Program& program, int categoryId, std::wstring endings, POINT at)
    : Dialog(IDD_EDIT_ENDINGS), m_program(program), m_categoryId(categoryId), m_endings(std::move(endings)), m_at(at)
{
}

bool EndingsEditor::OnInit()
{
    if (m_program.English())
        ApplyTexts(OptionsTexts::kEndingsEditor);
    SetItemText(IDC_ENDINGS_FIELD, m_endings.c_str());
    // At the mouse, but whole on its monitor.
    RECT box;
    GetWindowRect(Hwnd(), &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(m_at, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = box.right - box.left, height = box.bottom - box.top;
    const int x = std::max<int>(monitor.rcWork.left, std::min<int>(m_at.x, monitor.rcWork.right - width));
    const int y = std::max<int>(monitor.rcWork.top, std::min<int>(m_at.y, monitor.rcWork.bottom - height));
    SetWindowPos(Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void EndingsEditor::Apply()
{
    if (MessageBoxW(Hwnd(), m_program.Text(IDS_ENDINGS_APPLY_QUESTION).c_str(),
                    m_program.Text(IDS_ENDINGS_APPLY_TITLE).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
        WriteNewTreeEnding(m_program.Settings(), m_categoryId, ItemText(IDC_ENDINGS_FIELD));
    Close(IDOK);
}

void Dateiendungenbearbeiten1Click(Program& program, int categoryId)
{
    const std::optional<std::wstring> endings = ReadTreeEnding(program.Settings(), categoryId);
    if (!endings) {
        MessageBoxW(program.Owner(), program.Text(IDS_ENDINGS_NONE).c_str(), program.Text(IDS_NOTE_TITLE).c_str(),
                    MB_OK | MB_ICONWARNING);
        return;
    }
    POINT at;
    GetCursorPos(&at);
    EndingsEditor editor(program, categoryId, *endings, at);
    editor.Run(program.Owner());
}
