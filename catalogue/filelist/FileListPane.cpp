// The file list: the selected category's records or the selected group's child categories in a
// virtual list, their sorting, the selection commands and the list's mouse and keyboard.

#include "FileListPane.h"

#include "../../common/Log.h"
#include "../catalogue/SettingsKeys.h"
#include "../catalogue/CategoryTree.h"
#include "../../common/SettingsText.h"
#include "FileListIds.h"
#include "FileListTexts.h"
#include "LocaleUpperCase.h"
#include "FileOperations.h"
#include "ListExport.h"
#include "ListPrinter.h"
#include "OfflineNote.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

// Posted to the list by itself when a column divider drag has ended, so that the header has
// applied the new width before the widths are read.
const UINT WM_APP_COLUMNS_TRACKED = WM_APP + 1;

// The status bar's parts the list writes.
constexpr int kCountPart = 1;
constexpr int kSizePart = 2;
constexpr int kPreviewPart = 3;

const int kMenuIds[] = {IDR_LIST_MENU, IDR_LIST_BACKGROUND_MENU};

// The list view class's own procedure, which FileListPane::ListProc passes messages on to.
WNDPROC s_listViewProc = nullptr;

// Sets a flag for the guard's lifetime.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

std::wstring DecimalSeparator()
{
    wchar_t separator[8] = L".";
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, ARRAYSIZE(separator)))
        return L".";
    return separator;
}

std::wstring MegabyteText(double megabytes)
{
    return ThreeDecimals(megabytes, DecimalSeparator()) + L" MB";
}

// Extensions whose files carry an icon of their own; every other file shows its type's icon.
bool HasOwnIcon(const std::wstring& extension)
{
    static const wchar_t* const kOwnIcons[] = {L"EXE", L"ICO", L"CUR", L"ANI", L"LNK",
                                               L"URL", L"PIF", L"SCR", L"ICL", L"CPL"};
    for (const wchar_t* own : kOwnIcons)
        if (extension == own)
            return true;
    return false;
}

} // namespace

FileListPane::FileListPane(Program& program, CatalogueModel& model, CategoryTreePane& tree, const StatusBar& status)
    : m_program(program), m_fileOperations(std::make_unique<FileOperations>(program, model, *this)), m_model(model),
      m_tree(tree), m_status(status)
{
}

FileListPane::~FileListPane()
{
    // The list outlives this object by a moment: it must not call back into it.
    if (m_list)
        SetWindowLongPtrW(m_list, GWLP_USERDATA, 0);
}

bool FileListPane::Create(HWND parent, int dpi)
{
    m_dpi = dpi;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int i = 0; i < 2; ++i) {
        m_menus[i].Reset(LoadMenuW(instance, MAKEINTRESOURCEW(kMenuIds[i])));
        if (!m_menus[i])
            return Log::LastError(L"list", L"LoadMenuW");
    }
    // The window text is not shown: it is the name screen readers say.
    m_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, m_program.Text(IDS_LIST_NAME).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                 LVS_SHAREIMAGELISTS,
                             0, 0, 0, 0, parent, ControlId(IDC_FILE_LIST), instance, nullptr);
    if (!m_list)
        return Log::LastError(L"list", L"CreateWindowExW");
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FLATSB | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Storing the column widths when a divider drag ends, whatever else the list does, and the
    // hand cursor over rows. The list's procedure is replaced rather than subclassed through
    // comctl32: Wine looks a subclass up by a window property on every message, which made each
    // message to the list cost some 80 microseconds there.
    SetWindowLongPtrW(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    s_listViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FileListPane::ListProc)));
    return true;
}

void FileListPane::AddCommands(CommandTable& commands)
{
    m_fileOperations->AddCommands(commands);
    commands.Add({IDM_SORT_NONE, {}, {}, {}}); // listed, and doing nothing yet
    // A group's rows are categories: there is nothing to print or export.
    commands.Add({IDM_PRINT, [this] { PrintList(); }, [this] { return !GroupView(); }, {}});
    commands.Add({IDM_EXPORT_LIST, [this] { ExportList(); }, [this] { return !GroupView(); }, {}});
    commands.Add({IDM_SELECT_ALL, [this] { Alleauswhlen2Click(); }, {}, {}});
    commands.Add({IDM_INVERT_SELECTION, [this] { Auswahlumkehren2Click(); }, {}, {}});
    commands.Add({IDM_GRID_LINES, [this] { SetGridLines(!m_gridLines); }, {}, [this] { return m_gridLines; }});
    commands.Add({IDM_ROW_SELECT, [this] { SetRowSelect(!m_rowSelect); }, {}, [this] { return m_rowSelect; }});
    const struct {
        int id;
        ViewStyle style;
    } views[] = {{IDM_VIEW_LARGE, ViewStyle::LargeIcons},
                 {IDM_VIEW_SMALL, ViewStyle::SmallIcons},
                 {IDM_VIEW_LIST, ViewStyle::List},
                 {IDM_VIEW_DETAILS, ViewStyle::Details}};
    for (const auto& view : views)
        commands.Add({view.id, [this, style = view.style] { SetViewStyle(style); }, {},
                      [this, style = view.style] { return m_viewStyle == style; }});
    const struct {
        int id;
        SortKey key;
    } sorts[] = {{IDM_SORT_NAME, SortKey::Name}, {IDM_SORT_TYPE, SortKey::Type},
                 {IDM_SORT_SIZE, SortKey::Size}, {IDM_SORT_DATE, SortKey::Date},
                 {IDM_SORT_PATH, SortKey::Path}, {IDM_SORT_ATTRIBUTES, SortKey::Attributes}};
    for (const auto& sort : sorts)
        commands.Add({sort.id, [this, key = sort.key] { SortCommand(key); }, {},
                      [this, key = sort.key] { return m_sortMenuKey == key; }});
    commands.Add({IDM_REFRESH, [this] { RefreshList(); }, {}, {}});
}

bool FileListPane::OnNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case NM_RCLICK:
        ListView1ContextPopup();
        result = TRUE;
        return true;
    case LVN_BEGINDRAG:
        DragSelectedFiles();
        return true;
    case LVN_COLUMNCLICK:
        ListView1ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return true;
    case NM_DBLCLK:
    case NM_RETURN:
        ListView1DblClick();
        return true;
    case LVN_KEYDOWN:
        ListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header));
        return true;
    case LVN_GETDISPINFOW:
        ListView1Data(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return true;
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (!m_sweeping && (change.uChanged & LVIF_STATE) &&
            ((change.uOldState ^ change.uNewState) & (LVIS_FOCUSED | LVIS_SELECTED)))
            ShowOfflineNote();
        return true;
    }
    case LVN_GETINFOTIPW:
        OfflineTip(const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header)));
        return true;
    default:
        return false;
    }
}

HMENU FileListPane::Menu(int menuId) const
{
    for (int i = 0; i < 2; ++i)
        if (kMenuIds[i] == menuId)
            return GetSubMenu(m_menus[i].Get(), 0);
    return nullptr;
}

void FileListPane::SetSystemImages(HIMAGELIST small, HIMAGELIST large)
{
    m_systemImagesSmall = small;
    m_systemImagesLarge = large;
    ListView_SetImageList(m_list, small, LVSIL_SMALL);
    ListView_SetImageList(m_list, large, LVSIL_NORMAL);
    AttachImages();
}

void FileListPane::NewListView1()
{
    static const struct {
        int format;
        int width;
    } kColumns[kColumnCount] = {
        {LVCFMT_LEFT, 170}, {LVCFMT_LEFT, 120}, {LVCFMT_RIGHT, 77},
        {LVCFMT_RIGHT, 71}, {LVCFMT_RIGHT, 76}, {LVCFMT_RIGHT, 65},
    };
    // Called again after the options dialog: start from no columns rather than add six more.
    while (ListView_DeleteColumn(m_list, 0)) {
    }
    for (int i = 0; i < kColumnCount; ++i) {
        std::wstring caption = m_program.Text(IDS_COLUMN_BASE + i);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = MulDiv(kColumns[i].width, m_dpi, 96);
        column.pszText = &caption[0];
        column.iSubItem = i;
        ListView_InsertColumn(m_list, i, &column);
    }
    if (m_markerShown)
        ShowSortMarker();
}

void FileListPane::ApplyEnglish()
{
    ApplyMenuTexts(m_menus[0].Get(), FileListTexts::kListMenu);
    ApplyMenuTexts(m_menus[1].Get(), FileListTexts::kListBackgroundMenu);
    SetWindowTextW(m_list, m_program.Text(IDS_LIST_NAME).c_str());
}

void FileListPane::WriteColumnWidths()
{
    Registry& settings = m_program.Settings();
    RegistryKeyScope key(settings, SettingsKeys::kColumnsMain, KeyAccess::Create);
    if (!key)
        return;
    const int count = Header_GetItemCount(ListView_GetHeader(m_list));
    for (int i = 0; i < count; ++i)
        settings.WriteString(std::to_wstring(i), std::to_wstring(ListView_GetColumnWidth(m_list, i)));
}

void FileListPane::ReadColumnWidths()
{
    Registry& settings = m_program.Settings();
    RegistryKeyScope key(settings, SettingsKeys::kColumnsMain, KeyAccess::Read);
    if (!key)
        return;
    const int count = Header_GetItemCount(ListView_GetHeader(m_list));
    RedrawGuard redraw(m_list);
    for (const std::wstring& name : settings.GetValueNames()) {
        auto column = SettingsText::ParseDecimal(name);
        int width = -1;
        settings.ReadNumber(name, width);
        // Names that are no column of the list, and widths that are no width, are passed over.
        if (column && *column >= 0 && *column < count && width >= 0)
            ListView_SetColumnWidth(m_list, *column, width);
    }
}

// Selection of a tree node ----------------------------------------------------------------------

void FileListPane::TreeView1Change()
{
    // A preview still loading from an earlier click stops.
    m_program.CancelFlag() = 1;
    m_status.SetText(kPreviewPart, L"");
    m_offlineNoteShown = false;
    WaitCursor wait;
    HTREEITEM node = m_tree.Selected();
    if (!node)
        return;
    m_tree.ShowSelectionInHeader();
    // The rows of the previous node are not the rows of this one: their selection goes, quietly,
    // so that the status bar keeps the new count.
    ClearSelectionQuietly();
    m_listMode = m_tree.IsGroup(node) ? 0 : 1;
    AttachImages();
    if (m_listMode == 0)
        FillListViewOrdner();
    else
        FillListView1();
}

void FileListPane::AttachImages()
{
    // Category pictures for the group view, the shell's file icons for the file view; small or
    // large by the view style.
    const bool small = m_viewStyle != ViewStyle::LargeIcons;
    HIMAGELIST images;
    if (m_listMode == 0)
        images = m_tree.Images(!small);
    else
        images = small ? m_systemImagesSmall : m_systemImagesLarge;
    ListView_SetImageList(m_list, images, small ? LVSIL_SMALL : LVSIL_NORMAL);
    int cx = 0, cy = 0;
    if (images && ImageList_GetIconSize(images, &cx, &cy))
        m_iconSize = {cx, cy};
}

void FileListPane::FillListView1()
{
    WaitCursor wait;
    RedrawGuard redraw(m_list);
    m_listMode = 1;
    double total = 0;
    m_anyOffline = false;
    if (HTREEITEM node = m_tree.Selected()) {
        const int id = m_tree.Category(node);
        m_currentCategory = id >= 0 && id < Catalogue::kListCount ? id : 0;
        const ListSums sums = SumList(m_model.Lists(), m_model.Lists()[m_currentCategory]);
        total = static_cast<double>(sums.bytes);
        m_anyOffline = sums.anyOffline;
    }
    const auto count = static_cast<int>(m_model.Lists()[m_currentCategory].size());
    ListView_SetItemCountEx(m_list, count, LVSICF_NOSCROLL);
    SetStatusCount(count);
    m_status.SetText(kSizePart, MegabyteText(total / kBytesPerMegabyte));
    // The focused row may now be another record.
    ShowOfflineNote();
    m_listMode = -1;
}

void FileListPane::FillListViewOrdner()
{
    RedrawGuard redraw(m_list);
    m_listMode = 0;
    m_groupRows = m_tree.Children(m_tree.Selected());
    ListView_SetItemCountEx(m_list, static_cast<int>(m_groupRows.size()), LVSICF_NOSCROLL);
    SetStatusCount(static_cast<int>(m_groupRows.size()));
}

void FileListPane::ShowUpdatedRows(const std::vector<size_t>& removedRows)
{
    const Catalogue::List& list = m_model.Lists()[m_currentCategory];
    const int count = static_cast<int>(list.size());
    const int selectedBefore = static_cast<int>(ListView_GetSelectedCount(m_list));
    if (!removedRows.empty()) {
        FlagScope sweep(m_sweeping);
        RedrawGuard redraw(m_list);
        // A row's index after the removal; -1 for a removed row.
        auto after = [&](int row) {
            const auto at = std::lower_bound(removedRows.begin(), removedRows.end(), static_cast<size_t>(row));
            if (at != removedRows.end() && *at == static_cast<size_t>(row))
                return -1;
            return row - static_cast<int>(at - removedRows.begin());
        };
        const int rowsBefore = ListView_GetItemCount(m_list);
        const int top = ListView_GetTopIndex(m_list);
        const int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
        const bool allSelected = selectedBefore > 0 && selectedBefore == rowsBefore;
        const std::vector<int> selected =
            allSelected || selectedBefore == 0 ? std::vector<int>() : SelectedRows(m_list);
        SelectAllRows(m_list, false);
        ListView_SetItemCountEx(m_list, count, LVSICF_NOSCROLL);
        if (allSelected)
            SelectAllRows(m_list, true);
        for (int row : selected)
            if (after(row) >= 0)
                ListView_SetItemState(m_list, after(row), LVIS_SELECTED, LVIS_SELECTED);
        if (focused >= 0 && after(focused) >= 0)
            ListView_SetItemState(m_list, after(focused), LVIS_FOCUSED, LVIS_FOCUSED);
        // The first row on screen, or the next one left, comes back to the top.
        int newTop = top;
        while (newTop < rowsBefore && after(newTop) < 0)
            ++newTop;
        newTop = newTop < rowsBefore ? after(newTop) : count - 1;
        RECT box{};
        if (newTop >= 0 && ListView_GetItemRect(m_list, 0, &box, LVIR_BOUNDS) && box.bottom > box.top &&
            m_viewStyle == ViewStyle::Details)
            ListView_Scroll(m_list, 0, (newTop - ListView_GetTopIndex(m_list)) * (box.bottom - box.top));
    }
    InvalidateRect(m_list, nullptr, FALSE);
    const int selected = static_cast<int>(ListView_GetSelectedCount(m_list));
    double kilobytes = 0;
    if (selected == 0 || selected == count) {
        for (const FileRecord& record : list)
            kilobytes += static_cast<double>(record.Size()) / kBytesPerKilobyte;
    } else {
        FlagScope sweep(m_sweeping);
        for (int row : SelectedRows(m_list))
            if (row < count)
                kilobytes += static_cast<double>(list[row].Size()) / kBytesPerKilobyte;
    }
    if (selected > 0) {
        SetStatusSelection(&kilobytes);
        return;
    }
    SetStatusCount(count);
    m_status.SetText(kSizePart, MegabyteText(kilobytes / kBytesPerKilobyte));
    ShowOfflineNote();
}

void FileListPane::SetStatusCount(int count)
{
    m_status.SetText(kCountPart, std::to_wstring(count) + m_program.Text(IDS_OBJECTS));
}

void FileListPane::SetStatusSelection(const double* kilobytes)
{
    m_status.SetText(kCountPart, std::to_wstring(ListView_GetSelectedCount(m_list)) + m_program.Text(IDS_SELECTED));
    // The group view's rows are categories: they have no size to add up.
    if (kilobytes)
        m_status.SetText(kSizePart, m_listMode == 0 ? std::wstring() : MegabyteText(*kilobytes / kBytesPerKilobyte));
    // The selection commands change rows without a note each; the single selected row may be
    // another one now.
    ShowOfflineNote();
}

// Rows ------------------------------------------------------------------------------------------

namespace {

// The icon as the record keeps it: an index beyond 16 bits is not kept, and asked for again.
int KeepIcon(FileRecord& record, int icon)
{
    if (icon >= 0 && icon <= INT16_MAX)
        record.iconIndex = static_cast<int16_t>(icon);
    return icon;
}

} // namespace

int FileListPane::FillShellInfo(FileRecord& record)
{
    Catalogue& catalogue = m_model.Lists();
    const bool folder = (record.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::wstring extension;
    if (!folder) {
        const wchar_t* dot = std::wcsrchr(record.name, L'.');
        if (dot)
            for (const wchar_t* c = dot + 1; *c; ++c)
                extension += static_cast<wchar_t>(std::towupper(*c));
    }
    SHFILEINFOW shell{};
    // An offline file's icon is its type's: asked by its path, the shell would read a volume
    // that is not there, asking for the disc or waiting on the share.
    if (!folder && HasOwnIcon(extension) && !record.Offline()) {
        SHGetFileInfoW(catalogue.Path(record).c_str(), 0, &shell, sizeof(shell),
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        if (record.typeName == 0)
            record.typeName = catalogue.InternTypeName(shell.szTypeName);
        return KeepIcon(record, shell.iIcon);
    }
    // Every file of a type shows the type's icon and name: the shell is asked once per type.
    const std::wstring key = folder ? std::wstring(L"\\") : extension;
    auto found = m_shellInfoByExtension.find(key);
    if (found == m_shellInfoByExtension.end()) {
        const std::wstring sample = folder ? std::wstring(L"folder") : L"file." + extension;
        SHGetFileInfoW(sample.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &shell,
                       sizeof(shell), SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        found = m_shellInfoByExtension.emplace(key, ShellInfo{shell.iIcon, catalogue.InternTypeName(shell.szTypeName)})
                    .first;
    }
    if (record.typeName == 0)
        record.typeName = found->second.typeName;
    return KeepIcon(record, found->second.icon);
}

void FileListPane::ListView1Data(NMLVDISPINFOW& info)
{
    if (m_sweeping)
        return;
    LVITEMW& item = info.item;
    const bool wantsText = (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0;
    if (wantsText)
        item.pszText[0] = L'\0';
    std::wstring text;
    if (m_listMode == 0) {
        if (item.iItem < 0 || item.iItem >= static_cast<int>(m_groupRows.size()))
            return;
        if (item.iSubItem == 0)
            text = m_tree.NodeText(m_groupRows[item.iItem]);
        if (item.mask & LVIF_IMAGE)
            item.iImage = m_tree.Category(m_groupRows[item.iItem]);
    } else {
        Catalogue& catalogue = m_model.Lists();
        auto& list = catalogue[m_currentCategory];
        if (item.iItem < 0 || item.iItem >= static_cast<int>(list.size()))
            return;
        FileRecord& record = list[item.iItem];
        const int icon = record.iconIndex < 0 ? FillShellInfo(record) : record.iconIndex;
        if (item.mask & LVIF_IMAGE)
            item.iImage = icon;
        if (!wantsText)
            return;
        if (item.iSubItem == 0) {
            lstrcpynW(item.pszText, record.name, item.cchTextMax);
            return;
        }
        text = CellText(record, item.iSubItem);
    }
    if (wantsText)
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

std::wstring FileListPane::CellText(FileRecord& record, int column)
{
    // The icon and type are asked for at a row's first display: a row never shown yet gets them
    // here.
    if (record.iconIndex < 0)
        FillShellInfo(record);
    const Catalogue& catalogue = m_model.Lists();
    switch (column) {
    case 0:
        return record.name;
    case 1:
        return catalogue.Path(record);
    case 2:
        return catalogue.TypeName(record);
    case 3:
        return KilobyteText(record.Size());
    case 4:
        return FormatRecordDate(record);
    case 5:
        return AttributeLetters(record.attributes);
    default:
        return L"";
    }
}

const FileRecord* FileListPane::RecordAt(int row) const
{
    if (m_listMode == 0 || row < 0)
        return nullptr;
    const auto& list = m_model.Lists()[m_currentCategory];
    return row < static_cast<int>(list.size()) ? &list[row] : nullptr;
}

const FileRecord* FileListPane::FirstSelectedRecord() const
{
    return RecordAt(ListView_GetNextItem(m_list, -1, LVNI_SELECTED));
}

// Offline rows ----------------------------------------------------------------------------------

LRESULT FileListPane::OnCustomDraw(NMLVCUSTOMDRAW& draw) const
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        // The rows are announced one by one only while some of them are offline: the list
        // draws as fast as without this otherwise.
        return m_anyOffline && m_listMode != 0 ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
        const FileRecord* record = RecordAt(static_cast<int>(draw.nmcd.dwItemSpec));
        if (!record || !record->Offline())
            return CDRF_DODEFAULT;
        // Applies to the row's columns as well, as no column is drawn on its own.
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPOSTPAINT:
        DrawOfflineMark(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void FileListPane::DrawOfflineMark(HDC hdc, int row) const
{
    // The system image lists are the shell's, shared with every program: no overlay image can
    // be added to them, so the mark is drawn over the icon's lower left corner: a small circle
    // with a bar across, like a no-entry sign.
    RECT box{};
    if (!ListView_GetItemRect(m_list, row, &box, LVIR_ICON))
        return;
    // The image is centred in its box, which is wider than the image in the icon view.
    const int left = box.left + std::max(0, static_cast<int>(box.right - box.left - m_iconSize.cx) / 2);
    const int top = box.top + std::max(0, static_cast<int>(box.bottom - box.top - m_iconSize.cy) / 2);
    const int side = std::max(7, static_cast<int>(m_iconSize.cy) / 2) | 1;
    const int x = left;
    const int y = top + m_iconSize.cy - side;
    // The stock pen and brush of the DC take any colour: nothing is made or freed per row.
    SelectObjectGuard pen(hdc, GetStockObject(DC_PEN));
    SelectObjectGuard brush(hdc, GetStockObject(DC_BRUSH));
    SetDCPenColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetDCBrushColor(hdc, GetSysColor(COLOR_WINDOW));
    Ellipse(hdc, x, y, x + side, y + side);
    MoveToEx(hdc, x + 2, y + side / 2, nullptr);
    LineTo(hdc, x + side - 2, y + side / 2);
}

void FileListPane::ShowOfflineNote()
{
    // The focused row, or without one the row selected alone.
    int row = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
    if (row < 0 && ListView_GetSelectedCount(m_list) == 1)
        row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    const FileRecord* record = RecordAt(row);
    if (record && record->Offline()) {
        m_status.SetText(kPreviewPart, OfflineNoteOf(*record));
        m_offlineNoteShown = true;
    } else if (m_offlineNoteShown) {
        // Only the note goes: another text in the part is the preview's.
        m_status.SetText(kPreviewPart, L"");
        m_offlineNoteShown = false;
    }
}

void FileListPane::OfflineTip(NMLVGETINFOTIPW& tip) const
{
    const FileRecord* record = RecordAt(tip.iItem);
    if (!record || !record->Offline() || !tip.pszText || tip.cchTextMax <= 0)
        return;
    std::wstring text = OfflineNoteOf(*record);
    // Flags 0: the name does not fit its column and the tip holds it in full; it stays.
    if (tip.dwFlags == 0 && tip.pszText[0])
        text = tip.pszText + (L"\r\n" + text);
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

std::wstring FileListPane::OfflineNoteOf(const FileRecord& record) const
{
    const Catalogue& catalogue = m_model.Lists();
    VolumeIdentity volume = catalogue.VolumeOf(record);
    // A folder whose volume is not known: its path gives at least the root.
    if (volume.root.empty())
        volume.root = VolumeRootOf(catalogue.Folder(record));
    const OfflineTexts texts{m_program.Text(IDS_OFFLINE_CDROM), m_program.Text(IDS_OFFLINE_REMOVABLE),
                             m_program.Text(IDS_OFFLINE_NETWORK), m_program.Text(IDS_OFFLINE_DRIVE)};
    return OfflineNote(volume, texts);
}

// Mouse and keyboard ----------------------------------------------------------------------------

void FileListPane::ListView1DblClick()
{
    const int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (row < 0)
        return;
    if (m_listMode == 0) {
        if (row >= static_cast<int>(m_groupRows.size()))
            return;
        HTREEITEM child = m_groupRows[row];
        m_tree.Select(child);
        if (m_tree.IsGroup(child))
            TreeView_Expand(m_tree.Hwnd(), child, TVE_EXPAND);
        return;
    }
    m_program.ExecuteCommand(IDM_OPEN);
}

void FileListPane::ListKeyDown(const NMLVKEYDOWN& key)
{
    const bool selected = ListView_GetSelectedCount(m_list) > 0;
    if (key.wVKey == VK_DELETE && selected)
        m_program.ExecuteCommand(GetKeyState(VK_SHIFT) < 0 ? IDM_DELETE_FOR_GOOD : IDM_DELETE);
    else if (key.wVKey == VK_F2 && selected)
        m_program.ExecuteCommand(IDM_RENAME);
    else if (key.wVKey == 'A' && GetKeyState(VK_CONTROL) < 0)
        Alleauswhlen2Click();
    else if ((key.wVKey == 'C' || key.wVKey == 'X') && GetKeyState(VK_CONTROL) < 0)
        CopyToClipboard(key.wVKey == 'X');
}

LRESULT CALLBACK FileListPane::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<FileListPane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) // the pane is being destroyed
        return CallWindowProcW(s_listViewProc, hwnd, msg, wParam, lParam);
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA)
            PostMessageW(hwnd, WM_APP_COLUMNS_TRACKED, 0, 0);
    } else if (msg == WM_SYSKEYDOWN && wParam == VK_RETURN) {
        // Alt+Enter: the properties, as in the shell's own windows.
        self->m_program.ExecuteCommand(IDM_PROPERTIES);
        return 0;
    } else if (msg == WM_APP_COLUMNS_TRACKED) {
        self->WriteColumnWidths();
        return 0;
    } else if (msg == WM_MOUSEMOVE) {
        // The hand over a row, the arrow elsewhere: decided where the pointer moved.
        LVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        self->m_pointerOverRow = ListView_HitTest(hwnd, &hit) >= 0 && (hit.flags & LVHT_ONITEM);
        SetCursor(LoadCursorW(nullptr, self->m_pointerOverRow ? IDC_HAND : IDC_ARROW));
    } else if ((msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) && self->m_onMouseDown) {
        // The list selects the row first; the handler then sees the selection the press made.
        const LRESULT result = CallWindowProcW(s_listViewProc, hwnd, msg, wParam, lParam);
        self->m_onMouseDown(msg);
        return result;
    } else if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT &&
               self->m_pointerOverRow) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CallWindowProcW(s_listViewProc, hwnd, msg, wParam, lParam);
}

// View ------------------------------------------------------------------------------------------

void FileListPane::SetGridLines(bool on)
{
    m_gridLines = on;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_GRIDLINES, on ? LVS_EX_GRIDLINES : 0);
}

void FileListPane::SetRowSelect(bool on)
{
    m_rowSelect = on;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void FileListPane::SetViewStyle(ViewStyle style)
{
    static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
    m_viewStyle = style;
    ListView_SetView(m_list, kViews[static_cast<int>(style)]);
    AttachImages();
    InvalidateRect(GetParent(m_list), nullptr, TRUE);
}

// Sorting ---------------------------------------------------------------------------------------

void FileListPane::CreateSortMarkers()
{
    // Two 7 x 7 triangles in the button text colour on the header's own face colour.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF ink = GetSysColor(COLOR_BTNSHADOW);
    WindowDc screen(nullptr);
    for (bool up : {true, false}) {
        UniqueHBitmap bitmap(CreateCompatibleBitmap(screen.Dc(), 7, 7));
        UniqueHdc dc(CreateCompatibleDC(screen.Dc()));
        if (!bitmap || !dc)
            continue;
        {
            SelectObjectGuard select(dc.Get(), bitmap.Get());
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 7; ++x) {
                    // Rows 1 to 4 of the upward triangle hold 1, 3, 5 and 7 pixels.
                    const int row = up ? y - 1 : 5 - y;
                    const bool inside = row >= 0 && row < 4 && x >= 3 - row && x <= 3 + row;
                    SetPixel(dc.Get(), x, y, inside ? ink : face);
                }
        }
        (up ? m_markerUp : m_markerDown) = std::move(bitmap);
    }
}

void FileListPane::ShowSortMarker()
{
    m_markerShown = true;
    HWND header = ListView_GetHeader(m_list);
    if (!header)
        return;
    if (!m_markerUp)
        CreateSortMarkers();
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        // The alignment of the column stays.
        item.fmt = (item.fmt & HDF_JUSTIFYMASK) | HDF_STRING;
        item.mask = HDI_FORMAT;
        if (i == m_lastClickedColumn) {
            item.fmt |= HDF_BITMAP;
            item.mask |= HDI_BITMAP;
            item.hbm = SortMarker(m_sortFlag);
        }
        Header_SetItem(header, i, &item);
    }
}

void FileListPane::ListView1ColumnClick(int column)
{
    if (column != m_lastClickedColumn)
        m_lastClickedColumn = column;
    else
        m_sortFlag = !m_sortFlag;
    ShowSortMarker();
    if (column < 0 || column >= kSortKeyCount)
        return;
    m_sortKey = static_cast<SortKey>(column);
    HTREEITEM node = m_tree.Selected();
    if (node && !m_tree.IsGroup(node)) {
        WaitCursor wait;
        SortCommand(m_sortKey);
    }
}

void FileListPane::SortCommand(SortKey key)
{
    m_sortMenuKey = key;
    m_sortKey = key;
    HTREEITEM node = m_tree.Selected();
    if (!node || m_tree.IsGroup(node))
        return;
    const int id = m_tree.Category(node);
    if (id < 0 || id >= Catalogue::kListCount)
        return;
    WaitCursor wait;
    m_currentCategory = id;
    Catalogue& catalogue = m_model.Lists();
    SortRecords(catalogue, catalogue[id], key, m_sortFlag, LocaleUpperCase());
    FillListView1();
}

// Selection -------------------------------------------------------------------------------------

void FileListPane::Alleauswhlen2Click()
{
    FlagScope sweep(m_sweeping);
    SetFocus(m_list);
    double kilobytes = 0;
    {
        RedrawGuard redraw(m_list);
        SelectAllRows(m_list, true);
        if (m_listMode != 0)
            kilobytes = static_cast<double>(SumList(m_model.Lists(), m_model.Lists()[m_currentCategory]).bytes) /
                        kBytesPerKilobyte;
    }
    SetStatusSelection(&kilobytes);
}

void FileListPane::Auswahlumkehren2Click()
{
    SetFocus(m_list);
    FlagScope sweep(m_sweeping);
    const int rows = ListView_GetItemCount(m_list);
    const int selected = static_cast<int>(ListView_GetSelectedCount(m_list));
    // All rows selected: none will be; otherwise the rows that were selected are walked.
    const std::vector<int> before = selected == rows ? std::vector<int>() : SelectedRows(m_list);
    double kilobytes = 0;
    {
        RedrawGuard redraw(m_list);
        // Every row at once, then the rows that were selected off again: as many steps as
        // rows were selected, not as the list has rows.
        SelectAllRows(m_list, selected != rows);
        if (selected != rows)
            for (int row : before)
                ListView_SetItemState(m_list, row, 0, LVIS_SELECTED);
        if (m_listMode != 0 && selected != rows) {
            // All rows but those that were selected: the whole list's bytes less theirs.
            const auto& list = m_model.Lists()[m_currentCategory];
            uint64_t bytes = 0;
            if (static_cast<size_t>(rows) == list.size()) {
                bytes = SumList(m_model.Lists(), list).bytes;
                for (int row : before)
                    bytes -= list[row].Size();
            } else {
                std::vector<bool> wasSelected(list.size());
                for (int row : before)
                    if (row < static_cast<int>(list.size()))
                        wasSelected[row] = true;
                for (size_t i = 0; i < list.size() && i < static_cast<size_t>(rows); ++i)
                    if (!wasSelected[i])
                        bytes += list[i].Size();
            }
            kilobytes = static_cast<double>(bytes) / kBytesPerKilobyte;
        }
    }
    SetStatusSelection(&kilobytes);
}

void FileListPane::ClearSelectionQuietly()
{
    if (ListView_GetSelectedCount(m_list) == 0)
        return;
    FlagScope sweep(m_sweeping);
    SelectAllRows(m_list, false);
}

void FileListPane::UnselectAll()
{
    FlagScope sweep(m_sweeping);
    WaitCursor wait;
    SetFocus(m_list);
    {
        RedrawGuard redraw(m_list);
        SelectAllRows(m_list, false);
    }
    SetStatusSelection(nullptr);
}

Selection FileListPane::GetSelItems()
{
    Selection selection;
    HTREEITEM node = m_tree.Selected();
    // The group view's rows are categories, not files.
    if (!node || m_tree.IsGroup(node) || m_tree.Category(node) != m_currentCategory)
        return selection;
    selection.category = m_currentCategory;
    FlagScope sweep(m_sweeping);
    const Catalogue& catalogue = m_model.Lists();
    const auto& list = catalogue[m_currentCategory];
    for (int row : SelectedRows(m_list)) {
        if (row >= static_cast<int>(list.size()))
            break;
        const FileRecord& record = list[row];
        selection.files.push_back({catalogue.Path(record), record.name, record.iconIndex, row});
    }
    return selection;
}

// Printing and export -----------------------------------------------------------------------------

ListRows FileListPane::ShownRows(bool selectedOnly)
{
    HTREEITEM node = m_tree.Selected();
    if (!node || m_tree.IsGroup(node) || m_tree.Category(node) != m_currentCategory)
        return {};
    std::vector<int> rows;
    if (selectedOnly) {
        FlagScope sweep(m_sweeping);
        rows = SelectedRows(m_list);
    } else {
        rows.resize(static_cast<size_t>(ListView_GetItemCount(m_list)));
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<int>(i);
    }
    const int category = m_currentCategory;
    return {rows.size(), [this, category, rows = std::move(rows)](size_t k) {
                RowTexts texts;
                auto& list = m_model.Lists()[category];
                if (k < rows.size() && rows[k] < static_cast<int>(list.size()))
                    for (int column = 0; column < kColumnCount; ++column)
                        texts[column] = CellText(list[rows[k]], column);
                return texts;
            }};
}

void FileListPane::PrintList()
{
    ListPrinter(m_program).Listedrucken2Click(ShownRows(true));
}

void FileListPane::ExportList()
{
    // One selected row is most often just the row last clicked: the whole list is meant.
    const bool selectedOnly = ListView_GetSelectedCount(m_list) > 1;
    ListExport(m_program).Run(ShownRows(selectedOnly), selectedOnly);
}
