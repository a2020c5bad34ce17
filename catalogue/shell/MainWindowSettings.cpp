#include "MainWindow.h"

#include "../../common/ScreenDpi.h"
#include "../catalogue/SettingsKeys.h"
#include "StartupDialog.h"

namespace {

const wchar_t* Flag(bool on)
{
    return on ? L"1" : L"0";
}

} // namespace

void MainWindow::GetUserFiles()
{
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, KeyAccess::Read);
        if (key) {
            m_registry.ReadNumber(L"database", m_options.database);
            m_registry.ReadNumber(L"SaveSettings", m_options.saveSettings);
            m_registry.ReadNumber(L"language", m_options.language);
            if (auto dir = m_registry.ReadString(L"InstallDir"))
                m_options.installDir = *dir;
        }
    }
    m_list->NewListView1();
    if (English())
        LanguageE();
    m_model.LoadUserCategories(m_registry);
}

void MainWindow::GetDatenwahl()
{
    StartupDialog* startup = m_dialogs.startup.get();
    if (!startup)
        return;
    RegistryKeyScope key(m_registry, SettingsKeys::kOptions, KeyAccess::Read);
    if (!key)
        return;
    if (auto text = m_registry.ReadString(L"datafrom"))
        startup->ApplyRowFlags(*text);
    if (auto text = m_registry.ReadString(L"scannewdata"))
        startup->SelectRescan(*text == L"0");
}

void MainWindow::WriteDatenwahl()
{
    StartupDialog* startup = m_dialogs.startup.get();
    if (!startup)
        return;
    RegistryKeyScope key(m_registry, SettingsKeys::kOptions, KeyAccess::Create);
    if (!key)
        return;
    m_registry.WriteString(L"datafrom", startup->RowFlags());
    m_registry.WriteString(L"scannewdata", startup->RescanSelected() ? L"0" : L"1");
}

void MainWindow::SaveSettings()
{
    {
        RegistryKeyScope key(m_registry, SettingsKeys::kVorschau, KeyAccess::Create);
        if (key)
            m_registry.WriteString(L"Enabled", Flag(m_previewVisible));
    }
    RegistryKeyScope key(m_registry, SettingsKeys::kScreenSettings, KeyAccess::Create);
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
    m_registry.WriteString(L"rowselect", Flag(m_list->RowSelect()));
    m_registry.WriteString(L"raster", Flag(m_list->GridLines()));
    m_registry.WriteString(L"left", std::to_wstring(bounds.left));
    m_registry.WriteString(L"top", std::to_wstring(bounds.top));
    m_registry.WriteString(L"width", std::to_wstring(bounds.right - bounds.left));
    m_registry.WriteString(L"height", std::to_wstring(bounds.bottom - bounds.top));
    m_registry.WriteString(L"treewidthmain", std::to_wstring(m_treeWidth));
    m_registry.WriteString(L"treewidthpreview", std::to_wstring(m_previewWidth));
}

void MainWindow::GetSettings()
{
    RegistryKeyScope key(m_registry, SettingsKeys::kScreenSettings, KeyAccess::Read);
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
    // Bounds stored on a monitor that is gone, at another resolution or with a size too small
    // to use would lose the window to the user: keep the size sensible and the whole window
    // inside the work area of the monitor nearest to where it was.
    width = std::max(width, GetSystemMetrics(SM_CXMIN));
    height = std::max(height, GetSystemMetrics(SM_CYMIN));
    const ScreenRect stored{left, top, width, height};
    const ScreenRect fitted = FitInWorkArea(stored, WorkAreaNear(stored), Overflow::Nudge);
    SetWindowPos(Hwnd(), nullptr, fitted.left, fitted.top, fitted.width, fitted.height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's minimum size, larger at a larger scale, may have grown it past the edge.
    FitWindowInWorkArea(Hwnd(), Overflow::Nudge);

    m_registry.ReadNumber(L"treewidthmain", m_treeWidth);
    m_registry.ReadNumber(L"treewidthpreview", m_previewWidth);
    m_treeWidth = std::max(0, m_treeWidth);
    m_previewWidth = std::max(0, m_previewWidth);

    int flag = m_list->RowSelect() ? 1 : 0;
    m_registry.ReadNumber(L"rowselect", flag);
    m_list->SetRowSelect(flag != 0);
    flag = m_list->GridLines() ? 1 : 0;
    m_registry.ReadNumber(L"raster", flag);
    m_list->SetGridLines(flag != 0);
    Layout();
}
