#include "ArchiveViewer.h"

#include "../../common/Controls.h"
#include "../../common/MessagePump.h"
#include "../../common/Program.h"
#include "PreviewIds.h"

#include <commctrl.h>

namespace {

const struct {
    int width;
    int format;
} kColumns[] = {{140, LVCFMT_LEFT}, {100, LVCFMT_LEFT}, {80, LVCFMT_RIGHT}, {80, LVCFMT_RIGHT}, {80, LVCFMT_LEFT}};

// The entry's date in the short date and long time format; the time is left out at midnight.
std::wstring DateText(double days)
{
    int year, month, day, hour, minute, second;
    DaysToCivil(days, year, month, day, hour, minute, second);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    wchar_t date[80] = L"";
    wchar_t clock[80] = L"";
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80))
        return {};
    if (hour == 0 && minute == 0 && second == 0)
        return date;
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 80);
    return std::wstring(date) + L" " + clock;
}

} // namespace

bool ArchiveViewer::Create(PreviewHost& host)
{
    m_host = &host;
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                             WS_CHILD | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 0, 0, host.Pane(),
                             ControlId(IDC_PREVIEW_ARCHIVE), GetModuleHandleW(nullptr), nullptr);
    if (!m_list)
        return false;
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 5; ++column) {
        LVCOLUMNW info{};
        info.mask = LVCF_FMT | LVCF_WIDTH;
        info.fmt = kColumns[column].format;
        info.cx = MulDiv(kColumns[column].width, host.Dpi(), 96);
        ListView_InsertColumn(m_list, column, &info);
    }
    ApplyTexts();
    return true;
}

void ArchiveViewer::ApplyTexts()
{
    for (int column = 0; column < 5; ++column) {
        std::wstring text = m_host->App().Text(IDS_ARCHIVE_COLUMN_BASE + column);
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = &text[0];
        ListView_SetColumn(m_list, column, &info);
    }
}

void ArchiveViewer::Layout()
{
    const RECT area = m_host->ViewArea();
    MoveWindow(m_list, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void ArchiveViewer::Reset()
{
    ShowWindow(m_list, SW_HIDE);
}

void ArchiveViewer::Show(const std::wstring& path, const std::wstring& /*ext*/, uint64_t /*size*/)
{
    WaitCursor wait;
    Layout();
    ShowWindow(m_list, SW_SHOW);
    m_rows.clear();
    ListView_SetItemCountEx(m_list, 0, 0);
    int& cancel = m_host->App().CancelFlag();
    // The press that started this raised the flag for the listing before; this one runs until
    // the next press raises it again.
    cancel = 0;
    m_reader.SetArchiveFile(path);
    m_reader.FileSpec = {L"*.*"};
    m_reader.OnProgress = [&cancel] {
        MessagePump::ProcessMessagesEvery();
        return !cancel;
    };
    m_listing = true;
    m_reader.ReadEntries(m_rows); // a damaged archive keeps the rows before the damage
    m_listing = false;
    m_reader.OnProgress = nullptr;
    ListView_SetItemCountEx(m_list, static_cast<int>(m_rows.size()), 0);
    if (!m_rows.empty()) {
        const std::wstring count = std::to_wstring(m_rows.size());
        m_status(m_host->App().Text(IDS_ARCHIVE_EXTRACTING) + m_rows.back().FileName + L" (#" + count +
                 m_host->App().Text(IDS_ARCHIVE_OF) + count + L")");
    }
}

std::wstring ArchiveViewer::Cell(const TArcEntry& entry, int column) const
{
    switch (column) {
    case 0:
        return entry.FileName;
    case 1:
        return DateText(entry.Date);
    case 2:
        return std::to_wstring(entry.PackedSize);
    case 3:
        return std::to_wstring(entry.UnpackedSize);
    default:
        return entry.MethodText;
    }
}

bool ArchiveViewer::OnMessage(UINT msg, WPARAM /*wParam*/, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_NOTIFY)
        return false;
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.hwndFrom != m_list || header.code != LVN_GETDISPINFOW)
        return false;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < static_cast<int>(m_rows.size()) &&
        item.iSubItem >= 0 && item.iSubItem < 5)
        lstrcpynW(item.pszText, Cell(m_rows[item.iItem], item.iSubItem).c_str(), item.cchTextMax);
    result = 0;
    return true;
}
