#include "MainWindow.h"

#include "../../common/Log.h"
#include "../catalogue/DriveDialog.h"
#include "../preview/PreviewPane.h"
#include "SettingsKeys.h"
#include "SettingsText.h"
#include "StartupDialog.h"
#include "resource.h"

#include <commctrl.h>

namespace {

// The check marks of a dialog's list as one flag text, and back.
template <typename CheckList> std::wstring RowFlags(const CheckList& list)
{
    std::vector<bool> rows;
    for (int row = 0; row < list.RowCount(); ++row)
        rows.push_back(list.RowChecked(row));
    return SettingsText::FormatFlagText(rows);
}

template <typename CheckList> void ApplyRowFlags(CheckList& list, const std::wstring& text)
{
    std::vector<bool> rows;
    for (int row = 0; row < list.RowCount(); ++row)
        rows.push_back(list.RowChecked(row));
    SettingsText::ApplyFlagText(text, rows);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        list.SetRowChecked(row, rows[row]);
}

const wchar_t* Flag(bool on)
{
    return on ? L"1" : L"0";
}

} // namespace

void MainWindow::GetUserFiles()
{
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, false);
        if (key) {
            m_registry.ReadNumber(L"database", m_options.database);
            m_registry.ReadNumber(L"SaveSettings", m_options.saveSettings);
            m_registry.ReadNumber(L"language", m_options.language);
            if (auto dir = m_registry.ReadString(L"InstallDir"))
                m_options.installDir = *dir;
        }
    }
    NewListView1();
    if (English())
        LanguageE();

    m_userCategories.clear();
    RegistryKeyScope key(m_registry, SettingsKeys::kUserFiles, false);
    if (!key)
        return;
    for (const std::wstring& name : m_registry.GetValueNames())
        m_userCategories.push_back({name, m_registry.ReadString(name).value_or(L"")});
}

void MainWindow::GetDatenwahl()
{
    if (!m_startup)
        return;
    RegistryKeyScope key(m_registry, SettingsKeys::kOptions, false);
    if (!key)
        return;
    if (auto text = m_registry.ReadString(L"datafrom"))
        ApplyRowFlags(*m_startup, *text);
    if (auto text = m_registry.ReadString(L"scannewdata"))
        m_startup->SelectRescan(*text == L"0");
}

void MainWindow::WriteDatenwahl()
{
    if (!m_startup)
        return;
    RegistryKeyScope key(m_registry, SettingsKeys::kOptions, true);
    if (!key)
        return;
    m_registry.WriteString(L"datafrom", RowFlags(*m_startup));
    m_registry.WriteString(L"scannewdata", m_startup->RescanSelected() ? L"0" : L"1");
}

void MainWindow::GetHDwahl()
{
    if (!m_drives)
        return;
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, false);
        if (key)
            if (auto text = m_registry.ReadString(L"hddata"))
                ApplyRowFlags(*m_drives, *text);
    }
    RegistryKeyScope key(m_registry, SettingsKeys::kAddedDirs, false);
    if (!key)
        return;
    m_addedFolders = m_registry.GetValueNames();
    // Resolved through the shell like a folder added now; one that is gone is reported.
    const std::vector<std::wstring> folders = m_addedFolders;
    for (const std::wstring& folder : folders)
        FindPidlShellFolder(folder, true);
}

void MainWindow::WriteHDwahl()
{
    if (!m_drives)
        return;
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, true);
        if (key)
            m_registry.WriteString(L"hddata", RowFlags(*m_drives));
    }
    m_registry.DeleteKey(SettingsKeys::kAddedDirs);
    RegistryKeyScope key(m_registry, SettingsKeys::kAddedDirs, true);
    if (!key)
        return;
    for (const std::wstring& folder : m_addedFolders)
        m_registry.WriteString(folder, L"");
}

void MainWindow::SaveSettings()
{
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kVorschau, true);
        if (key)
            m_registry.WriteString(L"Enabled", Flag(m_previewVisible));
    }
    RegistryKeyScope key(m_registry, SettingsKeys::kScreenSettings, true);
    if (!key)
        return;
    // The restored (normal) bounds: a minimised or maximised window at close must not store
    // the minimised position or the full screen.
    RECT bounds;
    GetWindowRect(Hwnd(), &bounds);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if ((IsIconic(Hwnd()) || IsZoomed(Hwnd())) && GetWindowPlacement(Hwnd(), &placement)) {
        // Placement coordinates are relative to the work area.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        bounds = placement.rcNormalPosition;
        OffsetRect(&bounds, work.left, work.top);
    }
    m_registry.WriteString(L"rowselect", Flag(m_rowSelect));
    m_registry.WriteString(L"raster", Flag(m_gridLines));
    m_registry.WriteString(L"left", std::to_wstring(bounds.left));
    m_registry.WriteString(L"top", std::to_wstring(bounds.top));
    m_registry.WriteString(L"width", std::to_wstring(bounds.right - bounds.left));
    m_registry.WriteString(L"height", std::to_wstring(bounds.bottom - bounds.top));
    m_registry.WriteString(L"treewidthmain", std::to_wstring(m_treeWidth));
    m_registry.WriteString(L"treewidthpreview", std::to_wstring(m_previewWidth));
}

void MainWindow::GetSettings()
{
    RegistryKeyScope key(m_registry, SettingsKeys::kScreenSettings, false);
    if (!key)
        return;
    RECT bounds;
    GetWindowRect(Hwnd(), &bounds);
    int left = bounds.left, top = bounds.top;
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    m_registry.ReadNumber(L"left", left);
    m_registry.ReadNumber(L"top", top);
    m_registry.ReadNumber(L"width", width);
    m_registry.ReadNumber(L"height", height);
    // A window stored on a monitor that is gone, or with a size too small to use, would be
    // lost to the user: keep the size sensible and the window on a screen.
    width = std::max(width, GetSystemMetrics(SM_CXMIN));
    height = std::max(height, GetSystemMetrics(SM_CYMIN));
    RECT wanted{left, top, left + width, top + height};
    if (!MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) {
        left = bounds.left;
        top = bounds.top;
    }
    SetWindowPos(Hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    m_registry.ReadNumber(L"treewidthmain", m_treeWidth);
    m_registry.ReadNumber(L"treewidthpreview", m_previewWidth);
    m_treeWidth = std::max(0, m_treeWidth);
    m_previewWidth = std::max(0, m_previewWidth);

    int flag = m_rowSelect ? 1 : 0;
    m_registry.ReadNumber(L"rowselect", flag);
    SetRowSelect(flag != 0);
    flag = m_gridLines ? 1 : 0;
    m_registry.ReadNumber(L"raster", flag);
    SetGridLines(flag != 0);
    Layout();
}

void MainWindow::WriteColumnWidth()
{
    RegistryKeyScope key(m_registry, SettingsKeys::kColumnsMain, true);
    if (!key)
        return;
    HWND header = ListView_GetHeader(m_list);
    int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i)
        m_registry.WriteString(std::to_wstring(i), std::to_wstring(ListView_GetColumnWidth(m_list, i)));
}

void MainWindow::GetColumnWidth()
{
    RegistryKeyScope key(m_registry, SettingsKeys::kColumnsMain, false);
    if (!key)
        return;
    HWND header = ListView_GetHeader(m_list);
    const int count = Header_GetItemCount(header);
    RedrawGuard redraw(m_list);
    for (const std::wstring& name : m_registry.GetValueNames()) {
        auto column = SettingsText::ParseDecimal(name);
        int width = -1;
        m_registry.ReadNumber(name, width);
        // Names that are no column of the list, and widths that are no width, are passed over.
        if (column && *column >= 0 && *column < count && width >= 0)
            ListView_SetColumnWidth(m_list, *column, width);
    }
}
