#include "MainWindow.h"

#include "../../common/Log.h"
#include "../../common/MessagePump.h"
#include "../catalogue/CategoryTree.h"
#include "../catalogue/DriveDialog.h"
#include "ScanProgressDialog.h"
#include "SettingsKeys.h"
#include "StartupDialog.h"
#include "WaitDialog.h"
#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>

template <typename T> void MainWindow::Retire(std::unique_ptr<T>& dialog)
{
    if (!dialog)
        return;
    dialog->Close(IDOK);
    m_retired.push_back(std::move(dialog));
    PostMessageW(Hwnd(), WM_APP_RELEASE_DIALOGS, 0, 0);
}

// The scan retires the drive dialog from another file.
template void MainWindow::Retire<DriveDialog>(std::unique_ptr<DriveDialog>& dialog);

void MainWindow::ReleaseRetiredDialogs()
{
    m_retired.clear();
}

void MainWindow::FormCreate()
{
    m_addedFolders.clear();
    m_options.language = 1;
    NeuEinlesen();
    FillFolderIDS();
    if (m_startup)
        m_startup->EnableButtons();
    // The sort mark of the name column, which the first header click turns round.
    m_markerShown = true;
    ShowSortMarker();
}

void MainWindow::NeuEinlesen()
{
    for (bool& mark : m_driveTypeMarks)
        mark = false;

    GetUserFiles();
    LoadExtensionMap();

    {
        RegistryKeyScope key(m_registry, SettingsKeys::kOptions, true);
        if (key)
            m_registry.ReadNumber(L"includehiddenfiles", m_options.includeHiddenFiles);
    }

    wchar_t windows[MAX_PATH] = L"";
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    m_windowsFolder.assign(windows, length < MAX_PATH ? length : 0);
    CancelRequested = 0;

    m_startup = std::make_unique<StartupDialog>(*this);
    if (!m_startup->CreateModeless(Hwnd())) {
        m_startup.reset();
        return;
    }
    for (int row = 0; row < kDriveTypeCount; ++row)
        m_startup->SetRowChecked(row, true);
    GetDatenwahl();
    ShowWindow(m_startup->Hwnd(), SW_SHOW);
    UpdateWindow(m_startup->Hwnd());
    SetForegroundWindow(m_startup->Hwnd());
}

void MainWindow::StartupContinue()
{
    if (!m_startup)
        return;
    m_startupSource = m_startup->RescanSelected() ? 0 : 1;
    for (int row = 0; row < kDriveTypeCount; ++row)
        m_driveTypeMarks[row] = m_startup->RowChecked(row);
    WriteDatenwahl();
    InitData();
}

void MainWindow::InitData()
{
    Retire(m_startup);
    DeleteNodesAfterSearch();

    // The shell's system image lists, shared with the shell: the list must not destroy them.
    SHFILEINFOW info{};
    m_systemImagesSmall = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    m_systemImagesLarge = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    ListView_SetImageList(m_list, m_systemImagesSmall, LVSIL_SMALL);
    ListView_SetImageList(m_list, m_systemImagesLarge, LVSIL_NORMAL);

    if (m_startupSource == 0) {
        m_drives = std::make_unique<DriveDialog>(*this);
        if (m_drives->CreateModeless(Hwnd())) {
            FillDriveList();
            GetHDwahl();
            ShowWindow(m_drives->Hwnd(), SW_SHOW);
            SetForegroundWindow(m_drives->Hwnd());
        }
    } else {
        m_wait = std::make_unique<WaitDialog>(*this, WaitDialog::Use::Load);
        if (m_wait->CreateModeless(Hwnd())) {
            ShowWindow(m_wait->Hwnd(), SW_SHOW);
            UpdateWindow(m_wait->Hwnd());
        }
        ReadDatenBank();
        if (CancelRequested || m_ended)
            return;
        m_wait.reset();
        if (m_options.saveSettings) {
            GetSettings();
            GetColumnWidth();
        }
        ShowMainWindow();
    }

    AppendUserCategoryNodes();
    HTREEITEM root = TreeView_GetRoot(m_tree);
    TreeView_SelectItem(m_tree, root);
    TreeView_Expand(m_tree, root, TVE_EXPAND);

    RegistryKeyScope key(m_registry, SettingsKeys::kVorschau, false);
    if (key)
        m_registry.ReadNumber(L"Enabled", m_options.previewShown);
    if (m_options.previewShown)
        ShowPreviewPane(true);
    if (m_startupSource == 1)
        TreeView1Change();
}

void MainWindow::DeleteNodesAfterSearch()
{
    // The designed tree ends at the search node; whatever follows it in tree order was added at
    // run time and goes.
    const std::wstring searchText = CategoryName(CategoryTree::kSearchId);
    const std::vector<HTREEITEM> order = NodesInTreeOrder();
    size_t search = order.size();
    for (size_t i = 0; i < order.size() && search == order.size(); ++i)
        if (NodeText(order[i]) == searchText)
            search = i;
    // Later nodes in tree order are never ancestors of earlier ones, so deleting from the end
    // never deletes a node twice.
    for (size_t i = order.size(); i-- > search + 1;)
        TreeView_DeleteItem(m_tree, order[i]);
}

void MainWindow::AppendUserCategoryNodes()
{
    HTREEITEM root = TreeView_GetRoot(m_tree);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const size_t limit = CategoryTree::kCategoryCount - CategoryTree::kBuiltInCount;
    // The ids end at 99: categories beyond the 53rd are refused, and the user is told which.
    if (m_userCategories.size() > limit) {
        std::wstring refused;
        for (size_t k = limit; k < m_userCategories.size(); ++k)
            refused += L"\n" + m_userCategories[k].name;
        MessageBoxW(GetForegroundWindow(), (Text(IDS_TOO_MANY_CATEGORIES) + refused).c_str(),
                    Text(IDS_NOTE_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
    }
    for (size_t k = 0; k < m_userCategories.size() && k < limit; ++k) {
        const UserCategory& category = m_userCategories[k];
        const int id = CategoryTree::kBuiltInCount + static_cast<int>(k);
        const UserDefinition definition = SplitUserDefinition(category.definition);
        AppendExtensionList(m_extensionMap, definition.extensions, id);
        const std::wstring& iconSource = definition.icon;

        UniqueHIcon small, large;
        if (iconSource == L"Default") {
            small.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, 16, 16, 0)));
            large.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, 32, 32, 0)));
        } else {
            SHFILEINFOW info{};
            if (SHGetFileInfoW(iconSource.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON))
                small.Reset(info.hIcon);
            if (SHGetFileInfoW(iconSource.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON))
                large.Reset(info.hIcon);
        }
        // The picture's index must equal the category id, also when the icon cannot be read:
        // then a blank picture holds its place.
        for (HIMAGELIST list : {m_categoryImagesSmall.Get(), m_categoryImagesLarge.Get()}) {
            HICON icon = list == m_categoryImagesSmall.Get() ? small.Get() : large.Get();
            if (ImageList_GetImageCount(list) != id)
                ImageList_SetImageCount(list, id);
            if (!icon || ImageList_ReplaceIcon(list, -1, icon) < 0)
                ImageList_SetImageCount(list, id + 1);
        }

        InsertCategoryNode(root, category.name, id);
    }
}

void MainWindow::EndApplication()
{
    CancelRequested = 1;
    if (!m_ended) {
        m_ended = true;
        PostQuitMessage(0);
    }
}

void MainWindow::FormClose()
{
    if (m_closing)
        return;
    m_closing = true;
    if (m_options.saveSettings)
        SaveSettings();
    ShowWindow(Hwnd(), SW_HIDE);
    CancelRequested = 0;
    MessagePump::ProcessMessages();
    if (m_options.database && !CancelRequested) {
        m_wait = std::make_unique<WaitDialog>(*this, WaitDialog::Use::Save);
        if (m_wait->CreateModeless(Hwnd())) {
            MessagePump::ProcessMessages();
            ShowWindow(m_wait->Hwnd(), SW_SHOW);
            UpdateWindow(m_wait->Hwnd());
            MessagePump::ProcessMessages();
            m_wait->HideLowerLabel();
        }
        WriteDatenBank();
        MessagePump::ProcessMessages();
        m_wait.reset();
    }
    DestroyWindow(Hwnd());
}
