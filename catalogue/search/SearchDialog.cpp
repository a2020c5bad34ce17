#include "SearchDialog.h"

#include "../../common/MessagePump.h"
#include "../catalogue/CatalogueFiles.h"
#include "../catalogue/CatalogueIds.h"
#include "../catalogue/CatalogueModel.h"
#include "../catalogue/CategoryTree.h"
#include "../catalogue/CategoryTreePane.h"
#include "../catalogue/ProgramIds.h"
#include "../filelist/FileListIds.h"
#include "../filelist/LocaleUpperCase.h"
#include "../filelist/FolderPickers.h"
#include "../filelist/OfflineNote.h"
#include "DiskSearch.h"
#include "SearchIds.h"
#include "SearchTexts.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

// Typing is coalesced: the query runs once the keys have paused this long.
constexpr UINT_PTR kQueryTimer = 1;
constexpr UINT kQueryDelayMs = 25;
// Files searched between two looks at the clock while a query runs.
constexpr size_t kQuerySlice = 65536;
// How often a long query or disk search lets the dialog's messages through.
constexpr DWORD kPumpIntervalMs = 40;

// The window as designed at 96 dots per inch, and the result view's column widths.
constexpr int kDesignWidth = 754;
constexpr int kDesignHeight = 429;
constexpr int kSplitterWidth = 3;
constexpr int kStatusPanelWidth = 50;
constexpr int kDriveColumnWidth = 240;
constexpr int kColumnWidths[SearchDialog::kColumnCount] = {180, 200, 120, 60, 60, 50};
// The left panel's right edge in dialog units: its controls end at 201.
constexpr int kPanelDialogUnits = 209;

constexpr int kPanelControls[] = {
    IDC_SEARCH_HEADING,    IDC_SEARCH_NAME_LABEL,    IDC_SEARCH_CATALOGUE,     IDC_SEARCH_MATCH_CASE,
    IDC_SEARCH_IN_LABEL,   IDC_SEARCH_DRIVES_LABEL,  IDC_SEARCH_INSERT_GROUP,  IDC_SEARCH_INSERT_NOT,
    IDC_SEARCH_INSERT_APPEND, IDC_SEARCH_INSERT_REPLACE,
};

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error);
    LocalFree(buffer);
    return text;
}

int SmallIconOf(const std::wstring& path)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

// The index of the last dialog, kept for the next: building it reads every record and name,
// checking it only hashes them. The catalogue counts no changes, so the check is what tells.
std::shared_ptr<CatalogueIndex> KeptIndex()
{
    static const auto kept = std::make_shared<CatalogueIndex>();
    // Another dialog still open on it (the program opens one at a time) gets one of its own.
    return kept.use_count() == 1 ? kept : std::make_shared<CatalogueIndex>();
}

} // namespace

SearchDialog::SearchDialog(Program& program, Catalogue& catalogue, std::function<void()> onInserted)
    : Dialog(IDD_SEARCH), m_program(program), m_catalogue(catalogue), m_onInserted(std::move(onInserted)),
      m_index(KeptIndex())
{
}

SearchDialog::~SearchDialog() = default;

void SearchDialog::Suchen1Click(Program& program, Catalogue& catalogue, CategoryTreePane& tree,
                                std::function<void()> onInserted)
{
    // The Search node is the first in tree order with the category's name in the language shown.
    const std::wstring name = tree.CategoryName(CategoryTree::kSearchId);
    for (HTREEITEM item : TreeItemsInOrder(tree.Hwnd()))
        if (tree.NodeText(item) == name) {
            tree.Select(item);
            break;
        }
    SearchDialog dialog(program, catalogue, std::move(onInserted));
    dialog.Run(program.Owner());
}

bool SearchDialog::OnInit()
{
    {
        WindowDc screen(nullptr);
        m_dpi = GetDeviceCaps(screen.Dc(), LOGPIXELSX);
    }
    if (m_dpi <= 0)
        m_dpi = 96;
    if (m_program.English())
        ApplyTexts(SearchTexts::kSearchDialog);
    m_headingFont.Reset(CreateDerivedFont(true, false));
    SendMessageW(Item(IDC_SEARCH_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont.Get()), FALSE);
    CheckDlgButton(Hwnd(), IDC_SEARCH_INSERT_APPEND, BST_CHECKED);

    RECT panel{0, 0, kPanelDialogUnits, 0};
    MapDialogRect(Hwnd(), &panel);
    m_panelWidth = m_minPanelWidth = panel.right;
    m_status.Create(Hwnd(), IDC_SEARCH_STATUS, {});
    // Two panels; the last reaches to the right edge, as its texts are longer than the panel.
    const int edges[] = {Scale(kStatusPanelWidth), -1};
    SendMessageW(m_status.Hwnd(), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    m_splitter.Create(Hwnd(), IDC_SEARCH_SPLITTER, [this](int x) {
        RECT client;
        GetClientRect(Hwnd(), &client);
        m_panelWidth = std::max(m_minPanelWidth, std::min(x, static_cast<int>(client.right) - Scale(100)));
        Layout();
    });

    // The shell's small system image list, shared: the lists must not destroy it.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    HWND drives = Item(IDC_SEARCH_DRIVES);
    ListView_SetImageList(drives, images, LVSIL_SMALL);
    ListView_SetExtendedListViewStyleEx(drives, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = Scale(kDriveColumnWidth);
    ListView_InsertColumn(drives, 0, &column);
    CreateResultView();
    ListView_SetImageList(Item(IDC_SEARCH_RESULTS), images, LVSIL_SMALL);
    SetSearchPath();

    // The catalogue search is the first choice when there is a catalogue: files from the
    // database or a scan, beyond the special folders filled at every start and the results of
    // earlier searches.
    bool loaded = false;
    for (int id = 1; id < Catalogue::kListCount && !loaded; ++id)
        loaded = !CatalogueModel::IsSpecialFolder(id) && id != CategoryTree::kSearchId && !m_catalogue[id].empty();
    CheckDlgButton(Hwnd(), IDC_SEARCH_CATALOGUE, loaded ? BST_CHECKED : BST_UNCHECKED);
    UpdateModeControls();

    // Centred on the screen at its designed size, or taller where the left panel's controls
    // need more (another font, another scale).
    RECT group{}, window{}, client{}, status{};
    GetWindowRect(Item(IDC_SEARCH_INSERT_GROUP), &group);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&group), 2);
    GetWindowRect(Hwnd(), &window);
    GetClientRect(Hwnd(), &client);
    GetWindowRect(m_status.Hwnd(), &status);
    const int frame = (window.bottom - window.top) - client.bottom;
    const int needed = group.bottom + Scale(8) + (status.bottom - status.top) + frame;
    const int width = Scale(kDesignWidth), height = std::max(Scale(kDesignHeight), needed);
    m_minHeight = height;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(Hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER);
    Layout();
    return true;
}

void SearchDialog::CreateResultView()
{
    HWND list = Item(IDC_SEARCH_RESULTS);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    for (int i = 0; i < kColumnCount; ++i) {
        std::wstring caption = m_program.Text(IDS_SEARCH_COLUMN_BASE + i);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = i == 3 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = Scale(kColumnWidths[i]);
        column.pszText = &caption[0];
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
}

void SearchDialog::Layout()
{
    RECT client;
    GetClientRect(Hwnd(), &client);
    SendMessageW(m_status.Hwnd(), WM_SIZE, 0, 0);
    RECT status{};
    GetWindowRect(m_status.Hwnd(), &status);
    const int height = std::max(0, static_cast<int>(client.bottom - (status.bottom - status.top)));
    const int left = m_panelWidth + Scale(kSplitterWidth);
    MoveWindow(m_splitter.Hwnd(), m_panelWidth, 0, Scale(kSplitterWidth), height, TRUE);
    MoveWindow(Item(IDC_SEARCH_RESULTS), left, 0, std::max(0, static_cast<int>(client.right) - left), height, TRUE);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool SearchDialog::Paint(HDC hdc) const
{
    // The left panel is white, the rest the dialog's face.
    RECT client;
    GetClientRect(Hwnd(), &client);
    RECT panel = client;
    panel.right = m_panelWidth;
    FillRect(hdc, &panel, GetSysColorBrush(COLOR_WINDOW));
    RECT rest = client;
    rest.left = m_panelWidth;
    FillRect(hdc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool SearchDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (msg) {
    case WM_SIZE:
        Layout();
        return true;
    case WM_ERASEBKGND:
        result = Paint(reinterpret_cast<HDC>(wParam));
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        for (int id : kPanelControls)
            if (control == Item(id)) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
                return true;
            }
        return false;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_minPanelWidth + Scale(150);
        info->ptMinTrackSize.y = m_minHeight;
        return true;
    }
    case WM_TIMER:
        if (wParam != kQueryTimer)
            return false;
        KillTimer(Hwnd(), kQueryTimer);
        m_queryPending = false;
        RunCatalogueQuery();
        return true;
    default:
        return false;
    }
}

bool SearchDialog::OnCommand(int id, int code, HWND control)
{
    switch (id) {
    case IDC_SEARCH_START:
        if (IsWindowEnabled(Item(id)))
            SearchNowClick();
        return true;
    case IDC_SEARCH_CANCEL:
        if (IsWindowEnabled(Item(id)))
            CancelClick();
        return true;
    case IDC_SEARCH_NAME:
        // Each change restarts the query once the keys pause.
        if (code == EN_CHANGE && CatalogueMode())
            m_queryPending = SetTimer(Hwnd(), kQueryTimer, kQueryDelayMs, nullptr) != 0;
        return true;
    case IDC_SEARCH_CATALOGUE:
    case IDC_SEARCH_MATCH_CASE:
        if (code != BN_CLICKED)
            return true;
        UpdateModeControls();
        if (CatalogueMode())
            RunCatalogueQuery();
        else
            ShowResults();
        return true;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

LRESULT SearchDialog::OnNotify(const NMHDR& header)
{
    if (header.idFrom == IDC_SEARCH_DRIVES) {
        if (header.code == NM_CLICK)
            DriveListClick(true);
        else if (header.code == LVN_ITEMCHANGED &&
                 (reinterpret_cast<const NMLISTVIEW&>(header).uChanged & LVIF_STATE))
            DriveListClick(false);
        return 0;
    }
    if (header.idFrom != IDC_SEARCH_RESULTS)
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOW:
        ListView2Data(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return 0;
    case NM_CUSTOMDRAW:
        return OnResultDraw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
    case LVN_GETINFOTIPW:
        OfflineTip(const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header)));
        return 0;
    default:
        return 0;
    }
}

// The drive list ------------------------------------------------------------------------------

void SearchDialog::SetSearchPath()
{
    WaitCursor wait;
    HWND list = Item(IDC_SEARCH_DRIVES);
    ListView_DeleteAllItems(list);
    m_driveRoots.clear();
    auto addEntry = [list](const std::wstring& caption, int icon) {
        std::wstring text = caption;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = &text[0];
        item.iImage = icon;
        return ListView_InsertItem(list, &item);
    };

    std::vector<std::wstring> captions;
    for (const FolderPickers::ComputerDrive& drive : FolderPickers::ComputerDrives(Hwnd())) {
        // Network drives and drives of no known type are not searched.
        const UINT type = GetDriveTypeW(drive.root.c_str());
        if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED && type != DRIVE_CDROM && type != DRIVE_RAMDISK)
            continue;
        if (addEntry(drive.caption, SmallIconOf(drive.root)) < 0)
            continue;
        m_driveRoots.push_back(drive.root);
        captions.push_back(drive.caption);
    }
    const std::wstring all = SearchTexts::LocalDrivesCaption(m_program.Text(IDS_SEARCH_LOCAL_DRIVES), captions);
    const int allRow = addEntry(all, SmallIconOf(L"C:\\"));
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    addEntry(m_program.Text(IDS_SEARCH_USER_DEFINED), SmallIconOf(windows));
    ListView_SetItemState(list, allRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetItemText(IDC_SEARCH_IN, all.c_str());
}

std::wstring SearchDialog::EntryCaption(int row) const
{
    wchar_t text[MAX_PATH * 2] = L"";
    ListView_GetItemText(Item(IDC_SEARCH_DRIVES), row, 0, text, ARRAYSIZE(text));
    return text;
}

void SearchDialog::DriveListClick(bool browse)
{
    const std::vector<int> rows = SelectedRows(Item(IDC_SEARCH_DRIVES));
    if (rows.empty())
        return;
    const std::wstring caption = EntryCaption(rows.front());
    SetItemText(IDC_SEARCH_IN,
                rows.size() == 1 ? caption.c_str() : m_program.Text(IDS_SEARCH_SELECTED_DRIVES).c_str());
    if (browse && rows.front() == DriveCount() + 1) {
        std::wstring folder = ItemText(IDC_SEARCH_IN);
        FolderPickers::BrowseFolders(m_program.English(), folder);
        SetItemText(IDC_SEARCH_IN, folder.c_str());
    }
}

// The disk search -----------------------------------------------------------------------------

void SearchDialog::SetBusy(bool busy)
{
    EnableWindow(Item(IDC_SEARCH_START), busy ? FALSE : TRUE);
    EnableWindow(Item(IDC_SEARCH_CANCEL), busy ? TRUE : FALSE);
    // The mode cannot change under a running search.
    EnableWindow(Item(IDC_SEARCH_CATALOGUE), busy ? FALSE : TRUE);
    if (!busy) {
        SendMessageW(Hwnd(), DM_SETDEFID, IDC_SEARCH_START, 0);
        if (GetFocus() == nullptr || GetFocus() == Item(IDC_SEARCH_CANCEL))
            SetFocus(Item(IDC_SEARCH_START));
    }
}

void SearchDialog::SearchNowClick()
{
    if (CatalogueMode()) {
        KillTimer(Hwnd(), kQueryTimer);
        m_queryPending = false;
        RunCatalogueQuery();
        return;
    }
    {
        WaitCursor wait;
        SetBusy(true);
        m_status.SetText(1, m_program.Text(IDS_SEARCH_BUSY));
        m_diskResults.clear();
        ShowResults();
        m_searching = true;
        SearchFiles();
        m_searching = false;
        if (Hwnd()) {
            SetBusy(false);
            m_status.SetText(1, m_program.Text(IDS_SEARCH_DONE));
        }
    }
    if (m_closeRequested)
        FinishClose();
}

void SearchDialog::CancelClick()
{
    SetBusy(false);
    m_program.CancelFlag() = 1;
    MessagePump::ProcessMessages();
}

void SearchDialog::SearchFiles()
{
    const std::wstring pattern = ItemText(IDC_SEARCH_NAME);
    m_diskResults.clear();
    int& cancel = m_program.CancelFlag();
    cancel = 0;
    DiskSearch search(m_catalogue, cancel, [] { MessagePump::ProcessMessagesEvery(kPumpIntervalMs); });
    const std::vector<int> rows = SelectedRows(Item(IDC_SEARCH_DRIVES));
    const int drives = DriveCount();
    if (!rows.empty()) {
        if (rows.front() == drives + 1) {
            SearchUserFolder(search, pattern);
        } else if (rows.front() == drives) {
            for (int drive = 0; drive < drives && !cancel; ++drive)
                search.SearchFolder(m_driveRoots[drive], pattern, m_diskResults);
        } else {
            for (int row : rows)
                if (row < drives && !cancel)
                    search.SearchFolder(m_driveRoots[row], pattern, m_diskResults);
        }
    }
    ShowResults();
}

void SearchDialog::SearchUserFolder(DiskSearch& search, const std::wstring& pattern)
{
    // The folder part up to the last backslash (a drive's root keeps it), and its last name.
    const std::wstring text = ItemText(IDC_SEARCH_IN);
    const size_t slash = text.rfind(L'\\');
    if (slash == std::wstring::npos)
        return;
    std::wstring folder = text.substr(0, slash + 1);
    const std::wstring name = text.substr(slash + 1);
    if (folder.size() > 3)
        folder.pop_back();
    if (!IsAbsolutePath(folder) || !IsFolder(folder))
        return;
    if (name.empty()) {
        search.SearchFolder(folder, pattern, m_diskResults);
        return;
    }
    const std::wstring path = folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
    SetLastError(ERROR_SUCCESS);
    if (!IsFolder(path)) {
        // A name that is a file, or none, says why in the system's words.
        const DWORD error = GetLastError() == ERROR_SUCCESS ? ERROR_DIRECTORY : GetLastError();
        MessageBoxW(Hwnd(), SystemErrorText(error).c_str(), m_program.Text(IDS_ERROR_TITLE).c_str(),
                    MB_OK | MB_ICONERROR);
        return;
    }
    search.SearchFolder(path, pattern, m_diskResults);
}

// The catalogue search ------------------------------------------------------------------------

bool SearchDialog::CatalogueMode() const
{
    return IsDlgButtonChecked(Hwnd(), IDC_SEARCH_CATALOGUE) == BST_CHECKED;
}

bool SearchDialog::MatchCase() const
{
    return IsDlgButtonChecked(Hwnd(), IDC_SEARCH_MATCH_CASE) == BST_CHECKED;
}

void SearchDialog::UpdateModeControls()
{
    // The drives and the folder belong to the disk search, the case to the catalogue's (the
    // disk search always matches case).
    const BOOL catalogue = CatalogueMode() ? TRUE : FALSE;
    EnableWindow(Item(IDC_SEARCH_MATCH_CASE), catalogue);
    for (int id : {IDC_SEARCH_IN, IDC_SEARCH_DRIVES})
        EnableWindow(Item(id), !catalogue);
}

void SearchDialog::RunCatalogueQuery()
{
    // Called again from the messages let through below: the running query starts over.
    if (m_queryRunning) {
        m_queryRestart = true;
        return;
    }
    if (!m_indexChecked) {
        WaitCursor wait;
        m_index->Refresh(m_catalogue);
        m_indexChecked = true;
    }
    m_queryRunning = true;
    do {
        m_queryRestart = false;
        // The rows are other files now: no selection stays on them.
        ListView_SetItemState(Item(IDC_SEARCH_RESULTS), -1, 0, LVIS_SELECTED);
        m_query.Start(SearchPattern(ItemText(IDC_SEARCH_NAME), MatchCase(), LocaleUpperCase()));
        DWORD last = GetTickCount();
        while (!m_query.Step(kQuerySlice)) {
            if (GetTickCount() - last < kPumpIntervalMs)
                continue;
            // The first hits are shown, and the keys typed meanwhile handled.
            ShowResults();
            MessagePump::ProcessMessages();
            last = GetTickCount();
            if (m_queryRestart || m_closeRequested || !Hwnd())
                break;
        }
    } while (m_queryRestart && !m_closeRequested && Hwnd());
    m_queryRunning = false;
    if (m_closeRequested) {
        FinishClose();
        return;
    }
    ShowResults();
}

// Results -------------------------------------------------------------------------------------

size_t SearchDialog::ResultCount() const
{
    return CatalogueMode() ? m_query.Hits().size() : m_diskResults.size();
}

const FileRecord& SearchDialog::ResultAt(size_t row) const
{
    return CatalogueMode() ? m_index->Record(m_query.Hits()[row]) : m_diskResults[row];
}

void SearchDialog::ShowResults()
{
    if (!Hwnd())
        return;
    const size_t count = ResultCount();
    ListView_SetItemCountEx(Item(IDC_SEARCH_RESULTS), static_cast<int>(count), LVSICF_NOSCROLL);
    m_status.SetText(0, std::to_wstring(count));
}

const SearchDialog::ShellInfo& SearchDialog::ShellInfoOf(const FileRecord& record)
{
    // Every file of a type shows the type's icon and name: the shell is asked once per type,
    // by the extension alone, so that no disc is asked for a file not inserted.
    std::wstring extension;
    if (const wchar_t* dot = std::wcsrchr(record.name, L'.'))
        for (const wchar_t* c = dot + 1; *c; ++c)
            extension += static_cast<wchar_t>(std::towupper(*c));
    auto found = m_shellInfo.find(extension);
    if (found == m_shellInfo.end()) {
        SHFILEINFOW shell{};
        SHGetFileInfoW((L"file." + extension).c_str(), FILE_ATTRIBUTE_NORMAL, &shell, sizeof(shell),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        found = m_shellInfo.emplace(extension, ShellInfo{shell.iIcon, shell.szTypeName}).first;
    }
    return found->second;
}

void SearchDialog::ListView2Data(NMLVDISPINFOW& info)
{
    LVITEMW& item = info.item;
    const bool wantsText = (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0;
    if (wantsText)
        item.pszText[0] = L'\0';
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= ResultCount())
        return;
    const FileRecord& record = ResultAt(static_cast<size_t>(item.iItem));
    const ShellInfo& shell = ShellInfoOf(record);
    if (item.mask & LVIF_IMAGE)
        item.iImage = record.iconIndex >= 0 ? record.iconIndex : shell.icon;
    if (!wantsText)
        return;
    std::wstring text;
    switch (item.iSubItem) {
    case 0:
        text = record.name;
        break;
    case 1:
        text = m_catalogue.Path(record);
        break;
    case 2:
        text = record.typeName ? m_catalogue.TypeName(record) : shell.typeName;
        break;
    case 3:
        text = KilobyteText(record.Size());
        break;
    case 4:
        text = FormatRecordDate(record);
        break;
    case 5:
        text = AttributeLetters(record.attributes);
        break;
    default:
        break;
    }
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

LRESULT SearchDialog::OnResultDraw(NMLVCUSTOMDRAW& draw) const
{
    // Files of volumes not there are greyed, as in the file list.
    LRESULT result = CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CatalogueMode() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const size_t row = draw.nmcd.dwItemSpec;
        if (row < ResultCount() && ResultAt(row).Offline())
            draw.clrText = GetSysColor(COLOR_GRAYTEXT);
    }
    return result;
}

void SearchDialog::OfflineTip(NMLVGETINFOTIPW& tip) const
{
    if (tip.iItem < 0 || static_cast<size_t>(tip.iItem) >= ResultCount() || !tip.pszText || tip.cchTextMax <= 0)
        return;
    const FileRecord& record = ResultAt(static_cast<size_t>(tip.iItem));
    if (!record.Offline())
        return;
    VolumeIdentity volume = m_catalogue.VolumeOf(record);
    if (volume.root.empty())
        volume.root = VolumeRootOf(m_catalogue.Folder(record));
    const OfflineTexts texts{m_program.Text(IDS_OFFLINE_CDROM), m_program.Text(IDS_OFFLINE_REMOVABLE),
                             m_program.Text(IDS_OFFLINE_NETWORK), m_program.Text(IDS_OFFLINE_DRIVE)};
    std::wstring text = OfflineNote(volume, texts);
    if (tip.dwFlags == 0 && tip.pszText[0])
        text = tip.pszText + (L"\r\n" + text);
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

// Closing -------------------------------------------------------------------------------------

SearchDialog::InsertOption SearchDialog::Option() const
{
    if (IsDlgButtonChecked(Hwnd(), IDC_SEARCH_INSERT_NOT) == BST_CHECKED)
        return InsertOption::Not;
    if (IsDlgButtonChecked(Hwnd(), IDC_SEARCH_INSERT_REPLACE) == BST_CHECKED)
        return InsertOption::Replace;
    return InsertOption::Append;
}

void SearchDialog::AddSearchItems()
{
    const InsertOption option = Option();
    if (option == InsertOption::Not)
        return;
    // Copied first: the catalogue's hits may be records of the Search category itself.
    std::vector<FileRecord> results;
    results.reserve(ResultCount());
    for (size_t row = 0; row < ResultCount(); ++row)
        results.push_back(ResultAt(row));
    auto& list = m_catalogue[CategoryTree::kSearchId];
    if (option == InsertOption::Replace)
        list.clear();
    for (const FileRecord& record : results)
        list.push_back(record);
    // The index points into the lists, which have changed.
    m_indexChecked = false;
    m_query.Start(SearchPattern());
    if (m_onInserted)
        m_onInserted();
}

void SearchDialog::OnCancel()
{
    // Closing while a search runs: it stops first, and the dialog closes when it has.
    if (m_searching || m_queryRunning) {
        m_closeRequested = true;
        m_program.CancelFlag() = 1;
        return;
    }
    FinishClose();
}

void SearchDialog::FinishClose()
{
    m_closeRequested = false;
    if (!Hwnd())
        return;
    KillTimer(Hwnd(), kQueryTimer);
    AddSearchItems();
    Close(IDCANCEL);
}
