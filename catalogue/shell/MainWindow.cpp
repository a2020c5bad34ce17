#include "MainWindow.h"

#include "../../common/Log.h"
#include "../../common/Splitter.h"
#include "../catalogue/CategoryTree.h"
#include "../catalogue/DriveDialog.h"
#include "../preview/PreviewPane.h"
#include "EnglishTexts.h"
#include "MainLayout.h"
#include "ScanProgressDialog.h"
#include "StartupDialog.h"
#include "WaitDialog.h"
#include "resource.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

const wchar_t kClassName[] = L"SortaroMainWindow";
// Sent to itself when a column divider drag has ended, so that the header has applied the
// new width before the widths are read.
const UINT WM_APP_COLUMNS_TRACKED = WM_APP + 1;

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

// The list view class's own procedure, which MainWindow::ListProc passes messages on to.
WNDPROC s_listViewProc = nullptr;

// A child window's id, in the menu parameter of CreateWindowExW.
HMENU ControlId(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

} // namespace

MainWindow::MainWindow()
{
    // Without OLE the shell's clipboard verbs and drag and drop fail; the program still runs.
    if (FAILED(m_ole.Result()))
        m_oleFailed = true;
}

MainWindow::~MainWindow()
{
    // The dialogs are owned windows of this one: destroy them while it still exists.
    m_startup.reset();
    m_drives.reset();
    m_wait.reset();
    m_scanProgress.reset();
    m_retired.clear();
    // The list outlives this object by a moment: it must not call back into it.
    if (m_list)
        SetWindowLongPtrW(m_list, GWLP_USERDATA, 0);
}

std::wstring MainWindow::Text(unsigned stringId) const
{
    if (English())
        if (const wchar_t* english = EnglishTexts::kStrings.Find(static_cast<int>(stringId)))
            return english;
    wchar_t buffer[512];
    int length = LoadStringW(GetModuleHandleW(nullptr), stringId, buffer, ARRAYSIZE(buffer));
    return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring MainWindow::CategoryName(int categoryId) const
{
    if (English())
        if (const wchar_t* english = CategoryTree::EnglishName(categoryId))
            return english;
    return Text(IDS_CATEGORY_BASE + categoryId);
}

int MainWindow::Scale(int pixels) const
{
    return MulDiv(pixels, m_dpi, 96);
}

bool MainWindow::Create()
{
    {
        WindowDc screen(nullptr);
        m_dpi = GetDeviceCaps(screen.Dc(), LOGPIXELSX);
    }
    if (m_dpi <= 0)
        m_dpi = 96;
    m_treeWidth = Scale(kTreeWidth);
    m_previewWidth = Scale(kPreviewWidth);

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
    if (!Window::Create(kClassName, WS_EX_CONTROLPARENT, Text(IDS_APP_TITLE).c_str(),
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, Scale(kDesignLeft), Scale(kDesignTop),
                        Scale(kDesignWidth), Scale(kDesignHeight), nullptr, nullptr))
        return false;
    if (!CreateChildren())
        return false;
    if (m_oleFailed)
        MessageBoxW(Hwnd(), Text(IDS_OLE_INIT_FAILED).c_str(), Text(IDS_APP_TITLE).c_str(), MB_ICONERROR);
    FormCreate();
    return true;
}

bool MainWindow::CreateChildren()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND hwnd = Hwnd();

    for (int i = 0; i < 6; ++i) {
        HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_FILE_MENU + i));
        if (!menu)
            return Log::LastError(L"main", L"LoadMenuW");
        m_menus[i].Reset(menu);
    }

    if (!CreateToolBar())
        return false;

    // Category pictures: a 16 x 16 list for the tree and a 32 x 32 list for the file list,
    // numbered like the categories; user categories append theirs later.
    m_categoryImagesSmall.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, CategoryTree::kBuiltInCount, 8));
    m_categoryImagesLarge.Reset(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, CategoryTree::kBuiltInCount, 8));
    for (int i = 0; i < CategoryTree::kBuiltInCount; ++i) {
        for (auto* list : {&m_categoryImagesSmall, &m_categoryImagesLarge}) {
            int size = list == &m_categoryImagesSmall ? 16 : 32;
            UniqueHIcon icon(static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(IDI_CATEGORY_BASE + i), IMAGE_ICON, size, size, 0)));
            ImageList_AddIcon(list->Get(), icon.Get());
        }
    }
    m_builtInImageCount = ImageList_GetImageCount(m_categoryImagesSmall.Get());

    // The header strip above the tree: the selected node's picture and text.
    m_headerPicture = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 0, 0, 0,
                                      hwnd, ControlId(IDC_TREE_HEADER_PICTURE), instance, nullptr);
    m_headerIcon.Reset(ImageList_GetIcon(m_categoryImagesLarge.Get(), CategoryTree::kRootId, ILD_NORMAL));
    SendMessageW(m_headerPicture, STM_SETICON, reinterpret_cast<WPARAM>(m_headerIcon.Get()), 0);
    m_headerLabel = CreateWindowExW(0, L"STATIC", Text(IDS_FOLDER_LABEL).c_str(),
                                    WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0, hwnd,
                                    ControlId(IDC_TREE_HEADER_LABEL), instance, nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(10, m_dpi, 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Comic Sans MS", LF_FACESIZE);
    m_headerFont.Reset(CreateFontIndirectW(&lf));
    SendMessageW(m_headerLabel, WM_SETFONT, reinterpret_cast<WPARAM>(m_headerFont.Get()), FALSE);

    // The window texts of tree and list are not shown: they are the names screen readers say.
    m_tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, Text(IDS_TREE_NAME).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_SHOWSELALWAYS |
                                 TVS_FULLROWSELECT | TVS_DISABLEDRAGDROP,
                             0, 0, 0, 0, hwnd, ControlId(IDC_TREE), instance, nullptr);
    TreeView_SetImageList(m_tree, m_categoryImagesSmall.Get(), TVSIL_NORMAL);
    TreeView_SetIndent(m_tree, Scale(19));
    CreateDesignedTree();

    m_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, Text(IDS_LIST_NAME).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                 LVS_SHAREIMAGELISTS,
                             0, 0, 0, 0, hwnd, ControlId(IDC_FILE_LIST), instance, nullptr);
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FLATSB | LVS_EX_DOUBLEBUFFER);

    m_status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd,
                               ControlId(IDC_STATUS), instance, nullptr);
    int edges[4];
    int right = 0;
    for (int i = 0; i < 4; ++i)
        edges[i] = right += Scale(kStatusWidths[i]);
    SendMessageW(m_status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    // The first panel is drawn by the program and stays empty.
    SendMessageW(m_status, SB_SETTEXTW, 0 | SBT_OWNERDRAW, 0);

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
    m_preview = std::make_unique<PreviewPane>();
    if (!m_preview->Create(hwnd, IDC_PREVIEW, Text(IDS_PREVIEW_HEADING)))
        return false;
    ShowWindow(m_previewSplitter->Hwnd(), SW_HIDE);

    // Storing the column widths when a divider drag ends, whatever else the list does, and the
    // hand cursor over rows. The list's procedure is replaced rather than subclassed through
    // comctl32: Wine looks a subclass up by a window property on every message, which made each
    // message to the list cost some 80 microseconds there.
    SetWindowLongPtrW(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    s_listViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::ListProc)));

    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND child : {m_tree, m_list, m_status})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
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

    m_toolbarImages.Reset(ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 9, 0));
    UniqueHBitmap strip(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList_AddMasked(m_toolbarImages.Get(), strip.Get(), RGB(255, 0, 255));
    SendMessageW(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_toolbarImages.Get()));

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
    SendMessageW(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(64), Scale(40)));

    SIZE size{};
    SendMessageW(m_toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    REBARBANDINFOW band{};
    // The size of the XP-era structure: comctl32 6.0 on XP rejects the larger Vista one.
    band.cbSize = REBARBANDINFOW_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.fStyle = RBBS_CHILDEDGE | RBBS_NOGRIPPER;
    band.hwndChild = m_toolbar;
    band.cxMinChild = size.cx;
    band.cyMinChild = Scale(44);
    band.cx = size.cx;
    SendMessageW(m_rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    return true;
}

void MainWindow::CreateDesignedTree()
{
    HTREEITEM parents[8] = {TVI_ROOT};
    const DesignedNode* nodes = CategoryTree::Nodes();
    for (size_t i = 0; i < CategoryTree::NodeCount(); ++i) {
        const DesignedNode& node = nodes[i];
        HTREEITEM item = InsertCategoryNode(parents[node.depth], CategoryName(node.categoryId), node.categoryId);
        if (node.depth + 1 < static_cast<int>(ARRAYSIZE(parents)))
            parents[node.depth + 1] = item;
    }
}

HTREEITEM MainWindow::InsertCategoryNode(HTREEITEM parent, const std::wstring& text, int categoryId)
{
    std::wstring buffer = text;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = &buffer[0];
    insert.item.iImage = insert.item.iSelectedImage = categoryId;
    insert.item.lParam = categoryId;
    return TreeView_InsertItem(m_tree, &insert);
}

std::vector<HTREEITEM> MainWindow::NodesInTreeOrder() const
{
    std::vector<HTREEITEM> order;
    std::vector<HTREEITEM> pending; // a stack: the next node to visit is at the back
    auto pushChildren = [&](HTREEITEM first) {
        size_t at = pending.size();
        for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(m_tree, item))
            pending.insert(pending.begin() + at, item);
    };
    pushChildren(TreeView_GetRoot(m_tree));
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        order.push_back(item);
        pushChildren(TreeView_GetChild(m_tree, item));
    }
    return order;
}

int MainWindow::NodeCategory(HTREEITEM item) const
{
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    return TreeView_GetItem(m_tree, &tv) ? tv.iImage : -1;
}

std::wstring MainWindow::NodeText(HTREEITEM item) const
{
    wchar_t text[256] = L"";
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = ARRAYSIZE(text);
    TreeView_GetItem(m_tree, &tv);
    return text;
}

void MainWindow::Layout()
{
    if (!m_status)
        return;
    RECT client;
    GetClientRect(Hwnd(), &client);
    SendMessageW(m_status, WM_SIZE, 0, 0);
    RECT statusRect;
    GetWindowRect(m_status, &statusRect);
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
    place(m_headerPicture, {r.header.left + Scale(4), r.header.top, pictureSize, r.header.height});
    place(m_headerLabel, {r.header.left + Scale(8) + pictureSize, r.header.top,
                          std::max(0, r.header.width - Scale(8) - pictureSize), r.header.height});
    place(m_tree, r.tree);
    place(m_treeSplitter->Hwnd(), r.treeSplitter);
    place(m_list, r.list);
    place(m_previewSplitter->Hwnd(), r.previewSplitter);
    place(m_preview->Hwnd(), r.preview);
    if (defer)
        EndDeferWindowPos(defer);
}

void MainWindow::OnSize()
{
    Layout();
}

void MainWindow::ShowPreviewPane(bool show)
{
    m_previewVisible = show;
    ShowWindow(m_preview->Hwnd(), show ? SW_SHOW : SW_HIDE);
    ShowWindow(m_previewSplitter->Hwnd(), show ? SW_SHOW : SW_HIDE);
    SendMessageW(m_toolbar, TB_CHECKBUTTON, IDM_PREVIEW, MAKELPARAM(show ? TRUE : FALSE, 0));
    Layout();
}

void MainWindow::ShowMainWindow()
{
    ShowWindow(Hwnd(), SW_SHOW);
    UpdateWindow(Hwnd());
    SetForegroundWindow(Hwnd());
    SetFocus(m_tree);
}

void MainWindow::SetGridLines(bool on)
{
    m_gridLines = on;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_GRIDLINES, on ? LVS_EX_GRIDLINES : 0);
}

void MainWindow::SetRowSelect(bool on)
{
    m_rowSelect = on;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void MainWindow::SetViewStyle(ViewStyle style)
{
    static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
    m_viewStyle = style;
    ListView_SetView(m_list, kViews[static_cast<int>(style)]);
    AttachImages();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_GETMINMAXINFO: {
        // Small enough for any screen, large enough that tree and list stay usable.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = Scale(kMinWidth);
        info->ptMinTrackSize.y = Scale(kMinHeight);
        return 0;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == m_headerLabel || reinterpret_cast<HWND>(lParam) == m_headerPicture) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_APP_RELEASE_DIALOGS:
        ReleaseRetiredDialogs();
        return 0;
    case WM_APP_COLUMNS_TRACKED:
        WriteColumnWidth();
        return 0;
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

LRESULT MainWindow::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom == m_toolbar && header.code == TBN_DROPDOWN) {
        ShowToolbarMenu(reinterpret_cast<const NMTOOLBARW&>(header).iItem);
        return TBDDRET_DEFAULT;
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
        return 0;
    }
    if (header.hwndFrom == m_tree && header.code == NM_RCLICK) {
        OnTreeRightClick();
        return TRUE;
    }
    if (header.hwndFrom == m_list && header.code == NM_RCLICK) {
        OnListRightClick();
        return TRUE;
    }
    if (header.hwndFrom == m_list) {
        switch (header.code) {
        case LVN_COLUMNCLICK:
            ListView1ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return 0;
        case NM_DBLCLK:
        case NM_RETURN:
            ListView1DblClick();
            return 0;
        case NM_CLICK:
            CancelRequested = 1;
            return 0;
        case LVN_KEYDOWN:
            ListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header));
            return 0;
        default:
            break;
        }
    }
    if (header.hwndFrom == m_list && header.code == LVN_GETDISPINFOW) {
        ListView1Data(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return 0;
    }
    if (header.hwndFrom == m_tree && header.code == TVN_SELCHANGEDW) {
        if (IsWindowVisible(Hwnd()))
            TreeView1Change();
        return 0;
    }
    if (header.hwndFrom == m_rebar && header.code == RBN_HEIGHTCHANGE) {
        Layout();
        return 0;
    }
    return 0;
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    // The status bar's first panel: drawn by the program, and empty.
    if (item.hwndItem == m_status)
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::OnTreeRightClick()
{
    POINT screen;
    GetCursorPos(&screen);
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(m_tree, &hit.pt);
    HTREEITEM item = TreeView_HitTest(m_tree, &hit);
    if (!item || !(hit.flags & TVHT_ONITEM)) {
        TreeView_SelectItem(m_tree, nullptr);
        return;
    }
    TreeView_SelectItem(m_tree, item);
    TrackMenu(IDR_TREE_MENU, screen);
}

void MainWindow::OnListRightClick()
{
    POINT screen;
    GetCursorPos(&screen);
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(m_list, &hit.pt);
    int row = ListView_HitTest(m_list, &hit);
    TrackMenu(row >= 0 ? IDR_LIST_MENU : IDR_LIST_BACKGROUND_MENU, screen);
}

LRESULT CALLBACK MainWindow::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) // the main window is being destroyed
        return CallWindowProcW(s_listViewProc, hwnd, msg, wParam, lParam);
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA)
            PostMessageW(self->Hwnd(), WM_APP_COLUMNS_TRACKED, 0, 0);
    } else if (msg == WM_MOUSEMOVE) {
        // The hand over a row, the arrow elsewhere: decided where the pointer moved.
        LVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        self->m_pointerOverRow = ListView_HitTest(hwnd, &hit) >= 0 && (hit.flags & LVHT_ONITEM);
        SetCursor(LoadCursorW(nullptr, self->m_pointerOverRow ? IDC_HAND : IDC_ARROW));
    } else if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT &&
               self->m_pointerOverRow) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CallWindowProcW(s_listViewProc, hwnd, msg, wParam, lParam);
}
