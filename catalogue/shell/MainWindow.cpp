#include "MainWindow.h"

#include "../../common/Log.h"
#include "../../common/ScreenDpi.h"
#include "../../common/Splitter.h"
#include "../catalogue/CatalogueChecker.h"
#include "../catalogue/CatalogueTexts.h"
#include "../catalogue/CategoryTree.h"
#include "../filelist/FileListTexts.h"
#include "../info/InfoDialog.h"
#include "../options/CacheCleanupDialog.h"
#include "../options/CacheCleanupTexts.h"
#include "../options/OptionsTexts.h"
#include "../preview/PreviewPane.h"
#include "../preview/PreviewTexts.h"
#include "../search/SearchDialog.h"
#include "../search/SearchTexts.h"
#include "EnglishTexts.h"
#include "MainLayout.h"
#include "ScanProgressDialog.h"
#include "StartupDialog.h"
#include "WaitDialog.h"
#include "resource.h"

#include <commctrl.h>

namespace {

const wchar_t kClassName[] = L"SortaroMainWindow";

// The window as designed at 96 dots per inch.
const int kDesignLeft = 356;
const int kDesignTop = 183;
const int kDesignWidth = 788;
const int kDesignHeight = 547;
const int kTreeWidth = 280;
const int kPreviewWidth = 247;
const int kHeaderHeight = 40;
const int kStatusWidths[] = {110, 140, 100, 200};
const int kMinWidth = 400;
const int kMinHeight = 300;
// Sent when the window moves to a monitor of another scale (Windows 8.1 and later).
constexpr UINT kWmDpiChanged = 0x02E0;

// The tool bar's drop-down menus, in the order of MainWindow::m_menus.
const int kToolbarMenuIds[] = {IDR_FILE_MENU, IDR_EDIT_MENU, IDR_VIEW_MENU};
const TextTable* const kToolbarMenuTexts[] = {&EnglishTexts::kFileMenu, &EnglishTexts::kEditMenu,
                                              &EnglishTexts::kViewMenu};

} // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow()
{
    // The check's thread posts to this window: it ends first.
    m_check.reset();
    // The dialogs are owned windows of this one: destroy them while it still exists.
    m_dialogs = Dialogs();
}

std::wstring MainWindow::Text(unsigned stringId) const
{
    if (English())
        for (const TextTable* table :
             {&EnglishTexts::kStrings, &CatalogueTexts::kStrings, &FileListTexts::kStrings, &PreviewTexts::kStrings,
              &SearchTexts::kStrings, &OptionsTexts::kStrings,
              &CacheCleanupTexts::kStrings})
            if (const wchar_t* english = table->Find(static_cast<int>(stringId)))
                return english;
    wchar_t buffer[512];
    int length = LoadStringW(GetModuleHandleW(nullptr), stringId, buffer, ARRAYSIZE(buffer));
    return std::wstring(buffer, length > 0 ? length : 0);
}

int MainWindow::Scale(int pixels) const
{
    return MulDiv(pixels, m_dpi, 96);
}

bool MainWindow::Create()
{
    m_dpi = SystemDpi();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SORTARO), IMAGE_ICON, 16, 16, 0));
    if (!Register(wc))
        return false;
    // The designed bounds at the screen's scale, kept inside the work area: at 150 % the
    // designed place on a 1280 x 1024 screen would put the status bar below its edge.
    const ScreenRect designed{kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight};
    ScreenRect first = ScaleToDpi(designed, m_dpi);
    first = FitInWorkArea(first, WorkAreaNear(first), Overflow::Centre);
    if (!Window::Create(kClassName, WS_EX_CONTROLPARENT, Text(IDS_APP_TITLE).c_str(),
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, first.left, first.top, first.width, first.height,
                        nullptr, nullptr))
        return false;
    // Where each monitor has its own scale, the one the window starts on may not have the
    // system's.
    if (const int dpi = WindowDpi(Hwnd()); dpi != m_dpi) {
        m_dpi = dpi;
        first = ScaleToDpi(designed, m_dpi);
        first = FitInWorkArea(first, WorkAreaNear(first), Overflow::Centre);
        SetWindowPos(Hwnd(), nullptr, first.left, first.top, first.width, first.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_treeWidth = Scale(kTreeWidth);
    m_previewWidth = Scale(kPreviewWidth);
    if (!CreateChildren())
        return false;
    // Without OLE the shell's clipboard verbs and drag and drop fail; the program still runs.
    if (FAILED(m_ole.Result()))
        MessageBoxW(Hwnd(), Text(IDS_OLE_INIT_FAILED).c_str(), Text(IDS_APP_TITLE).c_str(), MB_ICONERROR);
    FormCreate();
    return true;
}

bool MainWindow::CreateChildren()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND hwnd = Hwnd();
    for (int i = 0; i < 3; ++i) {
        m_menus[i].Reset(LoadMenuW(instance, MAKEINTRESOURCEW(kToolbarMenuIds[i])));
        if (!m_menus[i])
            return Log::LastError(L"main", L"LoadMenuW");
    }
    if (!CreateToolBar())
        return false;

    std::vector<int> widths;
    for (int width : kStatusWidths)
        widths.push_back(Scale(width));
    if (!m_status.Create(hwnd, IDC_STATUS, widths))
        return Log::LastError(L"main", L"status bar");
    SendMessageW(m_status.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // The first panel is drawn by the program and stays empty.
    m_status.SetOwnerDrawn(0);

    m_tree = std::make_unique<CategoryTreePane>(*this);
    if (!m_tree->Create(hwnd, m_dpi, [this] {
            if (IsWindowVisible(Hwnd()))
                m_list->TreeView1Change();
        }))
        return false;
    m_list = std::make_unique<FileListPane>(*this, m_model, *m_tree, m_status);
    if (!m_list->Create(hwnd, m_dpi))
        return false;

    m_treeSplitter = std::make_unique<Splitter>();
    m_treeSplitter->Create(hwnd, IDC_TREE_SPLITTER, [this](int x) {
        m_treeWidth = std::max(0, x);
        Layout();
    });
    m_previewSplitter = std::make_unique<Splitter>();
    m_previewSplitter->Create(hwnd, IDC_PREVIEW_SPLITTER, [this](int x) {
        RECT rc;
        GetClientRect(Hwnd(), &rc);
        m_previewWidth = std::max(0, static_cast<int>(rc.right) - x - Scale(3));
        Layout();
    });
    m_preview = std::make_unique<PreviewPane>(*this);
    // The close button of the pane switches it off; the sound and film timer goes on.
    if (!m_preview->Create(hwnd, IDC_PREVIEW, m_dpi, [this] { ShowPreviewPane(false); }))
        return false;
    m_preview->SetStatusHandler([this](const std::wstring& text) { m_status.SetText(3, text); });
    m_list->SetMouseDownHandler([this](UINT button) { PreviewPressedRow(button); });
    ShowWindow(m_previewSplitter->Hwnd(), SW_HIDE);
    AddCommands();
    Layout();
    return true;
}

bool MainWindow::CreateToolBar()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_rebar = CreateWindowExW(0, REBARCLASSNAMEW, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                  RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                              0, 0, 0, 0, Hwnd(), ControlId(IDC_REBAR), instance, nullptr);
    m_toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                                    CCS_NOPARENTALIGN,
                                0, 0, 0, 0, m_rebar, ControlId(IDC_TOOLBAR), instance, nullptr);
    if (!m_rebar || !m_toolbar)
        return Log::LastError(L"main", L"tool bar");
    SendMessageW(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(m_toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);

    struct ButtonSpec {
        int image; // -1 = separator
        int command;
        BYTE style;
    };
    const BYTE drop = BTNS_BUTTON | BTNS_WHOLEDROPDOWN;
    const ButtonSpec specs[] = {
        {0, IDM_TB_FILE, drop},
        {-1, 0, 0},
        {1, IDM_TB_EDIT, drop},
        {-1, 0, 0},
        {2, IDM_TB_VIEW, drop},
        {-1, 0, 0},
        {3, IDM_DELETE, BTNS_BUTTON},
        {-1, 0, 0},
        {4, IDM_SEARCH, BTNS_BUTTON},
        {5, IDM_PREVIEW, BTNS_BUTTON | BTNS_CHECK},
        {6, IDM_OPTIONS, BTNS_BUTTON},
        {-1, 0, 0},
        {7, IDM_CLEAN_INTERNET_FILES, BTNS_BUTTON},
        {-1, 0, 0},
        {8, IDM_INFO, BTNS_BUTTON},
        {-1, 0, 0},
    };
    TBBUTTON buttons[ARRAYSIZE(specs)] = {};
    for (size_t i = 0; i < ARRAYSIZE(specs); ++i) {
        buttons[i].iBitmap = specs[i].image < 0 ? 6 : specs[i].image;
        buttons[i].idCommand = specs[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = specs[i].image < 0 ? BTNS_SEP : specs[i].style;
        buttons[i].iString = -1;
    }
    SendMessageW(m_toolbar, TB_ADDBUTTONSW, ARRAYSIZE(buttons), reinterpret_cast<LPARAM>(buttons));

    REBARBANDINFOW band{};
    // The size of the XP-era structure: comctl32 6.0 on XP rejects the larger Vista one.
    band.cbSize = REBARBANDINFOW_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD;
    band.fStyle = RBBS_CHILDEDGE | RBBS_NOGRIPPER;
    band.hwndChild = m_toolbar;
    SendMessageW(m_rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    LoadToolbarImages();
    return true;
}

void MainWindow::LoadToolbarImages()
{
    // The strip is drawn at 32, 40, 48 and 64 pixels; one of them suits each usual scale.
    static const struct {
        int size;
        int bitmap;
    } kStrips[] = {{32, IDB_TOOLBAR}, {40, IDB_TOOLBAR_40}, {48, IDB_TOOLBAR_48}, {64, IDB_TOOLBAR_64}};
    const int size = BestPictureSize(Scale(32), {32, 40, 48, 64});
    int bitmap = IDB_TOOLBAR;
    for (const auto& strip : kStrips)
        if (strip.size == size)
            bitmap = strip.bitmap;
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 9, 0));
    UniqueHBitmap strip(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList_AddMasked(images.Get(), strip.Get(), RGB(255, 0, 255));
    SendMessageW(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    m_toolbarImages = std::move(images);
    SendMessageW(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(64), Scale(40)));

    SIZE extent{};
    SendMessageW(m_toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&extent));
    REBARBANDINFOW band{};
    band.cbSize = REBARBANDINFOW_V6_SIZE;
    band.fMask = RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.cxMinChild = extent.cx;
    band.cyMinChild = Scale(44);
    band.cx = extent.cx;
    SendMessageW(m_rebar, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
}

void MainWindow::OnDpiChanged(int dpi, const RECT* suggested)
{
    if (dpi > 0 && dpi != m_dpi) {
        m_treeWidth = MulDiv(m_treeWidth, dpi, m_dpi);
        m_previewWidth = MulDiv(m_previewWidth, dpi, m_dpi);
        m_dpi = dpi;
        m_tree->SetDpi(dpi);
        // Also attaches the tree's new pictures where the list shows categories.
        m_list->SetSystemImages(SystemImageList(Scale(16)), SystemImageList(Scale(32)));
        LoadToolbarImages();
        std::vector<int> widths;
        for (int width : kStatusWidths)
            widths.push_back(Scale(width));
        m_status.SetWidths(widths);
    }
    if (suggested)
        SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void MainWindow::AddCommands()
{
    // The frame's own commands; the panes add theirs.
    m_commands.Add({IDM_EXIT, [this] { PostMessageW(Hwnd(), WM_CLOSE, 0, 0); }, {}, {}});
    m_commands.Add({IDM_PREVIEW, [this] { Vorschau1Click(); }, {}, [this] { return m_previewVisible; }});
    m_commands.Add({IDM_SEARCH,
                    [this] { SearchDialog::Suchen1Click(*this, m_model.Lists(), *m_tree, [this] { m_list->RefreshList(); }); },
                    {}, {}});
    m_commands.Add({IDM_OPTIONS, [this] { Optionen1Click(); }, {}, {}});
    m_commands.Add({IDM_CLEAN_INTERNET_FILES, [this] { ToolButton15Click(*this); }, {}, {}});
    m_commands.Add({IDM_INFO, [this] { Info1Click(*this); }, {}, {}});
    m_tree->AddCommands(m_commands);
    m_list->AddCommands(m_commands);
}

void MainWindow::Layout()
{
    if (!m_preview)
        return;
    RECT client;
    GetClientRect(Hwnd(), &client);
    SendMessageW(m_status.Hwnd(), WM_SIZE, 0, 0);
    RECT statusRect;
    GetWindowRect(m_status.Hwnd(), &statusRect);
    int rebarHeight = static_cast<int>(SendMessageW(m_rebar, RB_GETBARHEIGHT, 0, 0));

    MainLayoutInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.coolBarHeight = std::max(rebarHeight, Scale(52));
    in.statusHeight = statusRect.bottom - statusRect.top;
    in.headerHeight = Scale(kHeaderHeight);
    in.treeWidth = m_treeWidth;
    in.previewWidth = m_previewWidth;
    in.previewVisible = m_previewVisible;
    in.splitterWidth = Scale(3);
    MainLayoutResult r = ComputeMainLayout(in);
    m_treeWidth = r.treeWidth;
    m_previewWidth = r.previewWidth;

    HDWP defer = BeginDeferWindowPos(9);
    auto place = [&defer](HWND hwnd, const LayoutRect& rc) {
        if (defer && hwnd)
            defer = DeferWindowPos(defer, hwnd, nullptr, rc.left, rc.top, rc.width, rc.height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_rebar, r.coolBar);
    const int pictureSize = std::min(Scale(36), r.header.height);
    place(m_tree->HeaderPicture(), {r.header.left + Scale(4), r.header.top, pictureSize, r.header.height});
    place(m_tree->HeaderLabel(), {r.header.left + Scale(8) + pictureSize, r.header.top,
                                  std::max(0, r.header.width - Scale(8) - pictureSize), r.header.height});
    place(m_tree->Hwnd(), r.tree);
    place(m_treeSplitter->Hwnd(), r.treeSplitter);
    place(m_list->Hwnd(), r.list);
    place(m_previewSplitter->Hwnd(), r.previewSplitter);
    place(m_preview->Hwnd(), r.preview);
    if (defer)
        EndDeferWindowPos(defer);
}

void MainWindow::ShowPreviewPane(bool show)
{
    m_previewVisible = show;
    ShowWindow(m_preview->Hwnd(), show ? SW_SHOW : SW_HIDE);
    ShowWindow(m_previewSplitter->Hwnd(), show ? SW_SHOW : SW_HIDE);
    SendMessageW(m_toolbar, TB_CHECKBUTTON, IDM_PREVIEW, MAKELPARAM(show ? TRUE : FALSE, 0));
    Layout();
}

void MainWindow::Vorschau1Click()
{
    m_preview->StopMediaTimer();
    ShowPreviewPane(!m_previewVisible);
}

void MainWindow::PreviewPressedRow(UINT button)
{
    // The fourth part of the status bar is the preview's; an offline row's note comes back below.
    m_status.SetText(3, L"");
    PreviewFile file;
    const FileRecord* record = m_list->FirstSelectedRecord();
    if (record) {
        file.path = m_model.Lists().Path(*record);
        file.size = record->Size();
        if (record->Offline()) {
            file.offlineNote = m_list->OfflineNoteOf(*record);
            m_status.SetText(3, file.offlineNote);
        }
    }
    m_preview->ListView1MouseDown(button, m_previewVisible, record ? &file : nullptr);
}

void MainWindow::ShowMainWindow()
{
    ShowWindow(Hwnd(), SW_SHOW);
    UpdateWindow(Hwnd());
    SetForegroundWindow(Hwnd());
    SetFocus(m_tree->Hwnd());
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        // Small enough for any screen, large enough that tree and list stay usable.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = Scale(kMinWidth);
        info->ptMinTrackSize.y = Scale(kMinHeight);
        return 0;
    }
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_TB_FILE || LOWORD(wParam) == IDM_TB_EDIT || LOWORD(wParam) == IDM_TB_VIEW)
            ShowToolbarMenu(LOWORD(wParam));
        else
            ExecuteCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_INITMENUPOPUP:
        m_commands.UpdateMenu(reinterpret_cast<HMENU>(wParam));
        OnShellMenuMessage(msg, wParam, lParam);
        return 0;
    case WM_DRAWITEM: {
        // The status bar's first panel: drawn by the program, and empty.
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == m_status.Hwnd())
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        OnShellMenuMessage(msg, wParam, lParam);
        return TRUE;
    }
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
        if (auto answer = OnShellMenuMessage(msg, wParam, lParam))
            return *answer;
        break;
    case WM_CTLCOLORSTATIC:
        if (m_tree && (reinterpret_cast<HWND>(lParam) == m_tree->HeaderLabel() ||
                       reinterpret_cast<HWND>(lParam) == m_tree->HeaderPicture())) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_APP_RELEASE_DIALOGS:
        m_dialogs.retired.clear();
        return 0;
    case WM_APP_CATALOGUE_CHECKED:
        ApplyCatalogueCheck(false);
        return 0;
    case WM_TIMER:
        if (wParam == kCheckRetryTimer) {
            KillTimer(Hwnd(), kCheckRetryTimer);
            ApplyCatalogueCheck(false);
            return 0;
        }
        break;
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_ENDSESSION:
        // Windows is logging off or shutting down: close as the user would have, so that the
        // settings and the catalogue are stored. Before the main window is up there is nothing
        // to store.
        if (wParam && IsWindowVisible(Hwnd()))
            FormClose();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

std::optional<LRESULT> MainWindow::OnShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The shell draws and fills the submenus of its context menu ("Send to", "Open with") only
    // when their messages reach it.
    LRESULT result = 0;
    if (m_list && m_list->OnMenuMessage(msg, wParam, lParam, result))
        return msg == WM_MEASUREITEM ? TRUE : result;
    return std::nullopt;
}

LRESULT MainWindow::OnNotify(const NMHDR& header)
{
    LRESULT result = 0;
    if (!m_tree || !m_list) // still being made, or being taken down
        return 0;
    if (header.hwndFrom == m_tree->Hwnd() && m_tree->OnNotify(header, result))
        return result;
    if (header.hwndFrom == m_list->Hwnd() && m_list->OnNotify(header, result))
        return result;
    if (header.hwndFrom == m_toolbar && header.code == TBN_DROPDOWN) {
        ShowToolbarMenu(reinterpret_cast<const NMTOOLBARW&>(header).iItem);
        return TBDDRET_DEFAULT;
    }
    if (header.hwndFrom == m_rebar && header.code == RBN_HEIGHTCHANGE) {
        Layout();
        return 0;
    }
    if (header.code == TTN_GETDISPINFOW) {
        static const struct {
            int command;
            unsigned text;
        } kTips[] = {
            {IDM_TB_FILE, IDS_TIP_FILE},    {IDM_TB_EDIT, IDS_TIP_EDIT},
            {IDM_TB_VIEW, IDS_TIP_VIEW},    {IDM_DELETE, IDS_TIP_DELETE},
            {IDM_SEARCH, IDS_TIP_SEARCH},   {IDM_PREVIEW, IDS_TIP_PREVIEW},
            {IDM_OPTIONS, IDS_TIP_OPTIONS}, {IDM_CLEAN_INTERNET_FILES, IDS_TIP_CLEAN},
            {IDM_INFO, IDS_TIP_INFO},
        };
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        for (const auto& tip : kTips)
            if (static_cast<int>(header.idFrom) == tip.command) {
                m_tipText = Text(tip.text);
                info.lpszText = &m_tipText[0];
            }
    }
    return 0;
}

// Commands ----------------------------------------------------------------------------------------

void MainWindow::ExecuteCommand(int id)
{
    if (m_commands.Execute(id))
        m_commands.UpdateToolBar(m_toolbar);
}

HMENU MainWindow::Menu(int menuId) const
{
    for (int i = 0; i < 3; ++i)
        if (kToolbarMenuIds[i] == menuId)
            return GetSubMenu(m_menus[i].Get(), 0);
    return menuId == IDR_TREE_MENU ? m_tree->Menu() : m_list->Menu(menuId);
}

void MainWindow::TrackMenu(HMENU menu, POINT screen)
{
    if (!menu)
        return;
    // TPM_RETURNCMD keeps the command on this stack, so a test can close the menu safely.
    const int command = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                       screen.y, 0, Hwnd(), nullptr);
    if (command)
        ExecuteCommand(command);
}

void MainWindow::ShowToolbarMenu(int commandId)
{
    const int menuId =
        commandId == IDM_TB_FILE ? IDR_FILE_MENU : commandId == IDM_TB_EDIT ? IDR_EDIT_MENU : IDR_VIEW_MENU;
    // Below the button's lower left corner, where a drop-down menu belongs.
    RECT button{};
    SendMessageW(m_toolbar, TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(m_toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    SendMessageW(m_toolbar, TB_PRESSBUTTON, commandId, MAKELPARAM(TRUE, 0));
    TrackMenu(Menu(menuId), POINT{button.left, button.bottom});
    SendMessageW(m_toolbar, TB_PRESSBUTTON, commandId, MAKELPARAM(FALSE, 0));
}

void MainWindow::LanguageE()
{
    m_tree->ApplyEnglish();
    m_list->ApplyEnglish();
    for (int i = 0; i < 3; ++i)
        ApplyMenuTexts(m_menus[i].Get(), *kToolbarMenuTexts[i]);
    m_preview->ApplyTexts();
    // The tool bar hints are looked up in the current language when they are shown.
}
