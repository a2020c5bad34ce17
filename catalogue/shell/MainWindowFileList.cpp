// The file list: the selected category's records or the selected group's child categories in a
// virtual list, their sorting, the selection commands and the list's mouse and keyboard.

#include "MainWindow.h"

#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>
#include <cwctype>

namespace {

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

// The rows the list shows as selected, in ascending order.
std::vector<int> SelectedRows(HWND list)
{
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(ListView_GetSelectedCount(list)));
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

} // namespace

// Selection of a tree node ----------------------------------------------------------------------

void MainWindow::TreeView1Change()
{
    // A preview still loading from an earlier click stops.
    CancelRequested = 1;
    SendMessageW(m_status, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(L""));
    WaitCursor wait;
    HTREEITEM node = TreeView_GetSelection(m_tree);
    if (!node)
        return;
    SetWindowTextW(m_headerLabel, NodeText(node).c_str());
    ShowHeaderIcon(NodeCategory(node));
    // The rows of the previous node are not the rows of this one: their selection goes, quietly,
    // so that the status bar keeps the new count.
    ClearSelectionQuietly();
    if (TreeView_GetChild(m_tree, node)) {
        m_listMode = 0;
        AttachImages();
        FillListViewOrdner();
    } else {
        m_listMode = 1;
        AttachImages();
        FillListView1();
    }
}

void MainWindow::RefreshList()
{
    TreeView1Change();
}

void MainWindow::ShowHeaderIcon(int categoryId)
{
    if (categoryId < 0 || categoryId >= ImageList_GetImageCount(m_categoryImagesLarge.Get()))
        return;
    UniqueHIcon icon(ImageList_GetIcon(m_categoryImagesLarge.Get(), categoryId, ILD_NORMAL));
    if (!icon)
        return;
    SendMessageW(m_headerPicture, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    m_headerIcon = std::move(icon);
}

void MainWindow::AttachImages()
{
    // Category pictures for the group view, the shell's file icons for the file view; small or
    // large by the view style.
    const bool small = m_viewStyle != ViewStyle::LargeIcons;
    HIMAGELIST images;
    if (m_listMode == 0)
        images = small ? m_categoryImagesSmall.Get() : m_categoryImagesLarge.Get();
    else
        images = small ? m_systemImagesSmall : m_systemImagesLarge;
    ListView_SetImageList(m_list, images, small ? LVSIL_SMALL : LVSIL_NORMAL);
}

void MainWindow::FillListView1()
{
    WaitCursor wait;
    RedrawGuard redraw(m_list);
    m_listMode = 1;
    double total = 0;
    HTREEITEM node = TreeView_GetSelection(m_tree);
    if (node) {
        const int id = NodeCategory(node);
        m_currentCategory = id >= 0 && id < Catalogue::kListCount ? id : 0;
        for (const FileRecord& record : m_catalogue[m_currentCategory])
            total += static_cast<double>(record.Size());
    }
    const auto count = static_cast<int>(m_catalogue[m_currentCategory].size());
    ListView_SetItemCountEx(m_list, count, LVSICF_NOSCROLL);
    SetStatusCount(count);
    SendMessageW(m_status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(MegabyteText(total / 1048576.0).c_str()));
    m_listMode = -1;
}

void MainWindow::FillListViewOrdner()
{
    RedrawGuard redraw(m_list);
    m_listMode = 0;
    m_groupRows.clear();
    HTREEITEM node = TreeView_GetSelection(m_tree);
    for (HTREEITEM child = node ? TreeView_GetChild(m_tree, node) : nullptr; child;
         child = TreeView_GetNextSibling(m_tree, child))
        m_groupRows.push_back(child);
    ListView_SetItemCountEx(m_list, static_cast<int>(m_groupRows.size()), LVSICF_NOSCROLL);
    SetStatusCount(static_cast<int>(m_groupRows.size()));
}

void MainWindow::SetStatusCount(int count)
{
    const std::wstring text = std::to_wstring(count) + Text(IDS_OBJECTS);
    SendMessageW(m_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::SetStatusSelection(const double* kilobytes)
{
    const std::wstring count = std::to_wstring(ListView_GetSelectedCount(m_list)) + Text(IDS_SELECTED);
    SendMessageW(m_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(count.c_str()));
    if (kilobytes) {
        // The group view's rows are categories: they have no size to add up.
        const std::wstring size = m_listMode == 0 ? std::wstring() : MegabyteText(*kilobytes / 1024.0);
        SendMessageW(m_status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(size.c_str()));
    }
}

// Rows ------------------------------------------------------------------------------------------

void MainWindow::FillShellInfo(FileRecord& record)
{
    const bool folder = (record.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::wstring extension;
    if (!folder) {
        const wchar_t* dot = std::wcsrchr(record.name, L'.');
        if (dot)
            for (const wchar_t* c = dot + 1; *c; ++c)
                extension += static_cast<wchar_t>(std::towupper(*c));
    }
    SHFILEINFOW shell{};
    if (!folder && HasOwnIcon(extension)) {
        SHGetFileInfoW(m_catalogue.Path(record).c_str(), 0, &shell, sizeof(shell),
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        record.iconIndex = shell.iIcon;
        if (record.typeName == 0)
            record.typeName = m_catalogue.InternTypeName(shell.szTypeName);
        return;
    }
    // Every file of a type shows the type's icon and name: the shell is asked once per type.
    const std::wstring key = folder ? std::wstring(L"\\") : extension;
    auto found = m_shellInfoByExtension.find(key);
    if (found == m_shellInfoByExtension.end()) {
        const std::wstring sample = folder ? std::wstring(L"folder") : L"file." + extension;
        SHGetFileInfoW(sample.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &shell,
                       sizeof(shell), SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        found = m_shellInfoByExtension.emplace(key, ShellInfo{shell.iIcon, m_catalogue.InternTypeName(shell.szTypeName)})
                    .first;
    }
    record.iconIndex = found->second.icon;
    if (record.typeName == 0)
        record.typeName = found->second.typeName;
}

void MainWindow::ListView1Data(NMLVDISPINFOW& info)
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
            text = NodeText(m_groupRows[item.iItem]);
        if (item.mask & LVIF_IMAGE)
            item.iImage = NodeCategory(m_groupRows[item.iItem]);
    } else {
        auto& list = m_catalogue[m_currentCategory];
        if (item.iItem < 0 || item.iItem >= static_cast<int>(list.size()))
            return;
        FileRecord& record = list[item.iItem];
        if (record.iconIndex < 0)
            FillShellInfo(record);
        if (item.mask & LVIF_IMAGE)
            item.iImage = record.iconIndex;
        if (!wantsText)
            return;
        switch (item.iSubItem) {
        case 0:
            lstrcpynW(item.pszText, record.name, item.cchTextMax);
            return;
        case 1:
            text = m_catalogue.Path(record);
            break;
        case 2:
            text = m_catalogue.TypeName(record);
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
    }
    if (wantsText)
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

// Mouse and keyboard ----------------------------------------------------------------------------

void MainWindow::ListView1DblClick()
{
    const int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (row < 0)
        return;
    if (m_listMode == 0) {
        if (row >= static_cast<int>(m_groupRows.size()))
            return;
        HTREEITEM child = m_groupRows[row];
        TreeView_SelectItem(m_tree, child);
        if (TreeView_GetChild(m_tree, child))
            TreeView_Expand(m_tree, child, TVE_EXPAND);
        return;
    }
    if (row >= static_cast<int>(m_catalogue[m_currentCategory].size()))
        return;
    const std::wstring path = m_catalogue.Path(GetShellItem(row));
    ShellExecuteW(GetForegroundWindow(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::ListKeyDown(const NMLVKEYDOWN& key)
{
    if (key.wVKey == VK_DELETE && ListView_GetSelectedCount(m_list) > 0)
        ExecuteCommand(IDM_DELETE);
    else if (key.wVKey == 'A' && GetKeyState(VK_CONTROL) < 0)
        Alleauswhlen2Click();
}

// Sorting ---------------------------------------------------------------------------------------

const UpperCaseTable& MainWindow::LocaleUpperCase()
{
    if (!m_upperCase)
        m_upperCase = std::make_unique<UpperCaseTable>([](wchar_t* text, size_t length) {
            std::vector<wchar_t> upper(length);
            if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text, static_cast<int>(length), upper.data(),
                             static_cast<int>(length)) == static_cast<int>(length))
                std::copy(upper.begin(), upper.end(), text);
            else
                CharUpperBuffW(text, static_cast<DWORD>(length));
        });
    return *m_upperCase;
}

void MainWindow::CreateSortMarkers()
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

void MainWindow::ShowSortMarker()
{
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
        if (m_markerShown && i == m_lastClickedColumn) {
            item.fmt |= HDF_BITMAP;
            item.mask |= HDI_BITMAP;
            item.hbm = SortMarker(m_sortFlag);
        }
        Header_SetItem(header, i, &item);
    }
}

void MainWindow::ListView1ColumnClick(int column)
{
    if (column != m_lastClickedColumn)
        m_lastClickedColumn = column;
    else
        m_sortFlag = !m_sortFlag;
    m_markerShown = true;
    ShowSortMarker();
    if (column < 0 || column >= kSortKeyCount)
        return;
    m_sortKey = static_cast<SortKey>(column);
    HTREEITEM node = TreeView_GetSelection(m_tree);
    if (node && !TreeView_GetChild(m_tree, node)) {
        WaitCursor wait;
        SortCommand(m_sortKey);
    }
}

void MainWindow::SortCommand(SortKey key)
{
    m_sortMenuKey = key;
    m_sortKey = key;
    HTREEITEM node = TreeView_GetSelection(m_tree);
    if (!node || TreeView_GetChild(m_tree, node))
        return;
    const int id = NodeCategory(node);
    if (id < 0 || id >= Catalogue::kListCount)
        return;
    WaitCursor wait;
    m_currentCategory = id;
    SortRecords(m_catalogue, m_catalogue[id], key, m_sortFlag, LocaleUpperCase());
    FillListView1();
}

// Selection -------------------------------------------------------------------------------------

void MainWindow::Alleauswhlen2Click()
{
    FlagScope sweep(m_sweeping);
    SetFocus(m_list);
    double kilobytes = 0;
    {
        RedrawGuard redraw(m_list);
        ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED);
        if (m_listMode != 0)
            for (const FileRecord& record : m_catalogue[m_currentCategory])
                kilobytes += static_cast<double>(record.Size()) / 1024.0;
    }
    SetStatusSelection(&kilobytes);
}

void MainWindow::Auswahlumkehren2Click()
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
        if (selected == rows) {
            ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
        } else {
            ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED);
            for (int row : before)
                ListView_SetItemState(m_list, row, 0, LVIS_SELECTED);
        }
        if (m_listMode != 0 && selected != rows) {
            const auto& list = m_catalogue[m_currentCategory];
            std::vector<bool> wasSelected(list.size());
            for (int row : before)
                if (row < static_cast<int>(list.size()))
                    wasSelected[row] = true;
            for (size_t i = 0; i < list.size() && i < static_cast<size_t>(rows); ++i)
                if (!wasSelected[i])
                    kilobytes += static_cast<double>(list[i].Size()) / 1024.0;
        }
    }
    SetStatusSelection(&kilobytes);
}

void MainWindow::ClearSelectionQuietly()
{
    if (ListView_GetSelectedCount(m_list) == 0)
        return;
    FlagScope sweep(m_sweeping);
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
}

void MainWindow::UnselectAll()
{
    FlagScope sweep(m_sweeping);
    WaitCursor wait;
    SetFocus(m_list);
    {
        RedrawGuard redraw(m_list);
        ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    }
    SetStatusSelection(nullptr);
}

void MainWindow::GetSelItems()
{
    if (m_listMode == 0 || ListView_GetSelectedCount(m_list) == 0)
        return;
    m_selectedFiles.clear();
    FlagScope sweep(m_sweeping);
    const auto& list = m_catalogue[m_currentCategory];
    for (int row : SelectedRows(m_list)) {
        if (row >= static_cast<int>(list.size()))
            break;
        const FileRecord& record = list[row];
        m_selectedFiles.push_back({m_catalogue.Path(record), record.name, record.iconIndex, row});
    }
}
