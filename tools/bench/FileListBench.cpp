// Measures the file list on a category of 1,000,000 records built in memory: selecting the
// category, the sort keys, the selection commands with their totals, the row data of one screen
// (first display and again) and a full repaint, and the memory per record. Then, to show where
// time goes: the row data straight from the callback, the cost of one message to the list and
// the tree, and inverting a full selection on smaller lists, split into its list calls. Runs the
// real main window in this process with a clean settings key. Prints the figures; asserts nothing.
// Usage: filelist_bench [RECORDS]

#include "catalogue/shell/DriveDialog.h"
#include "catalogue/shell/MainWindow.h"
#include "catalogue/shell/StartupDialog.h"
#include "common/MessagePump.h"
#include "tests/wine/MessageFlush.h"
#include "tools/bench/BenchMeasures.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kCategory = 30; // "Textdateien": a leaf of the tree
constexpr int kOtherCategory = 29;
constexpr size_t kDefaultRecords = 1000000;
// The other categories a file of the big one sits in, as the scan files a file under every
// category its extension names (and the empty files' category): with these, each file is in
// one to three categories, two on average.
constexpr int kAlsoIn[] = {27, 28};

double Ms(double seconds)
{
    return seconds * 1000.0;
}

void ClearSettings()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
}

void SetOption(const wchar_t* name, const wchar_t* value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Sortaro\\Options", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool Click(HWND dialog, int id)
{
    if (!dialog)
        return false;
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    FlushMessages(300);
    return true;
}

std::wstring StatusText(HWND status, int panel)
{
    const auto length = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, panel, 0));
    std::wstring text(length + 1u, L'\0');
    SendMessageW(status, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

void PrintStatus(const MainWindow& main)
{
    std::wprintf(L"    status bar: \"%ls\" | \"%ls\"\n", StatusText(main.Status().Hwnd(), 1).c_str(),
                 StatusText(main.Status().Hwnd(), 2).c_str());
    std::fflush(stdout);
}

void PrintStep(const wchar_t* what, double seconds, const wchar_t* target)
{
    if (seconds < 1.0)
        std::wprintf(L"%-44ls %9.2f ms  %ls\n", what, Ms(seconds), target);
    else
        std::wprintf(L"%-44ls %9.3f s   %ls\n", what, seconds, target);
    std::fflush(stdout);
}

// A category as a working disk might fill it: about 5,000 project folders, report and note
// names in mixed case, sizes from empty to a few megabytes, dates over twenty years, mostly the
// archive bit with some read-only, hidden and system files. Seeded, so every run sees the same.
void BuildRecords(Catalogue& catalogue, Catalogue::List& list, size_t count)
{
    const int listId = static_cast<int>(&list - &catalogue[0]);
    std::mt19937_64 random(4711);
    std::vector<uint32_t> folders;
    for (int project = 0; project < 500; ++project)
        for (int sub = 0; sub < 10; ++sub) {
            wchar_t folder[64];
            std::swprintf(folder, 64, L"C:\\Daten\\Projekt%04d\\Unterordner%d\\", project, sub);
            folders.push_back(catalogue.FindOrAddFolder(folder));
        }
    static const wchar_t* const kStems[] = {L"bericht",  L"Bericht", L"NOTIZ", L"Protokoll", L"angebot",
                                            L"Rechnung", L"readme",  L"Liste", L"brief",     L"Entwurf"};
    static const struct {
        const wchar_t* extension;
        const wchar_t* typeName;
        int weight;
    } kTypes[] = {
        {L".txt", L"Textdokument", 40},    {L".TXT", L"Textdokument", 5},
        {L".log", L"Textdokument", 15},    {L".doc", L"Microsoft Word-Dokument", 20},
        {L".rtf", L"Rich Text Format", 8}, {L".pdf", L"Adobe Acrobat-Dokument", 12},
    };
    std::vector<int> typeByWeight;
    std::vector<uint16_t> typeNames;
    for (size_t i = 0; i < ARRAYSIZE(kTypes); ++i) {
        typeNames.push_back(catalogue.InternTypeName(kTypes[i].typeName));
        typeByWeight.insert(typeByWeight.end(), static_cast<size_t>(kTypes[i].weight), static_cast<int>(i));
    }
    // 1 January 2004 to about 2024, in the file system's 100 ns units.
    constexpr uint64_t kFirstTime = 127173888000000000ull;
    constexpr uint64_t kYear = 315576000000000ull;
    std::uniform_int_distribution<size_t> folderPick(0, folders.size() - 1);
    std::uniform_int_distribution<size_t> stemPick(0, ARRAYSIZE(kStems) - 1);
    std::uniform_int_distribution<size_t> typePick(0, typeByWeight.size() - 1);
    std::uniform_real_distribution<double> logSize(0.0, std::log(4.0 * 1048576.0));
    std::uniform_int_distribution<uint64_t> timePick(0, 20 * kYear);
    std::uniform_int_distribution<int> percent(0, 99);
    for (size_t i = 0; i < count; ++i) {
        const auto& type = kTypes[typeByWeight[typePick(random)]];
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls_%06zu%ls", kStems[stemPick(random)], i, type.extension);
        FileRecord record;
        record.folder = folders[folderPick(random)];
        record.name = catalogue.StoreText(name);
        record.SetSize(percent(random) < 3 ? 0 : static_cast<uint64_t>(std::exp(logSize(random))));
        const uint64_t time = kFirstTime + timePick(random);
        record.writeTimeLow = static_cast<uint32_t>(time);
        record.writeTimeHigh = static_cast<uint32_t>(time >> 32);
        const int roll = percent(random);
        record.attributes = roll < 6    ? FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY
                            : roll < 8  ? FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN
                            : roll < 9  ? FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM
                            : roll < 12 ? 0
                                        : FILE_ATTRIBUTE_ARCHIVE;
        record.typeName = typeNames[static_cast<size_t>(&type - kTypes)];
        // As the scan does: one entry for the file, a line in each of its categories.
        const uint32_t entry = catalogue.AddEntry(record, record.name);
        catalogue[listId].Append(entry);
        const int more = static_cast<int>(i % 3);
        for (int k = 0; k < more; ++k)
            catalogue[kAlsoIn[k]].Append(entry);
    }
}

// Asks the list for the texts of the visible rows in all columns, as a repaint would: the list
// is owner-data, so each text comes from the program's row-data callback.
// With column set, only that column.
size_t FetchScreen(HWND list, int top, int rows, int column = -1)
{
    size_t characters = 0;
    wchar_t text[520];
    const int first = column < 0 ? 0 : column;
    const int end = column < 0 ? FileListPane::kColumnCount : column + 1;
    for (int row = top; row < top + rows; ++row)
        for (int c = first; c < end; ++c) {
            text[0] = L'\0';
            ListView_GetItemText(list, row, c, text, ARRAYSIZE(text));
            characters += std::wcslen(text);
        }
    return characters;
}

// The same texts asked of the main window's row-data callback directly, as the list's own
// notification does it, without a message to the list itself.
size_t FetchScreenFromCallback(MainWindow& main, int top, int rows)
{
    HWND list = main.List().Hwnd();
    size_t characters = 0;
    wchar_t text[520];
    for (int row = top; row < top + rows; ++row)
        for (int column = 0; column < FileListPane::kColumnCount; ++column) {
            NMLVDISPINFOW info{};
            info.hdr.hwndFrom = list;
            info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
            info.hdr.code = LVN_GETDISPINFOW;
            info.item.mask = LVIF_TEXT;
            info.item.iItem = row;
            info.item.iSubItem = column;
            info.item.pszText = text;
            info.item.cchTextMax = ARRAYSIZE(text);
            text[0] = L'\0';
            SendMessageW(main.Hwnd(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
            characters += std::wcslen(text);
        }
    return characters;
}

// The rows among [top, top + rows) whose records have not been shown yet.
int RowsNotShown(MainWindow& main, int top, int rows)
{
    const auto& records = main.Model().Lists()[kCategory];
    int count = 0;
    for (int row = top; row < top + rows && row < static_cast<int>(records.size()); ++row)
        if (records[static_cast<size_t>(row)].iconIndex < 0)
            ++count;
    return count;
}

void SelectRow(HWND list, int row)
{
    ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

// Inverting a selection of every row, on lists of growing size in the other category (its
// records copied from the big one), split into its two list calls as the command makes them:
// the walk over the selected rows and the deselection of all.
void InvertAllBySize(MainWindow& main, HTREEITEM other, HTREEITEM big)
{
    HWND tree = main.Tree().Hwnd();
    HWND list = main.List().Hwnd();
    const auto& source = main.Model().Lists()[kCategory];
    std::wprintf(L"invert the selection (all selected), by list size:\n");
    for (size_t rows : {5000, 10000, 20000}) {
        if (rows > source.size())
            break;
        auto& target = main.Model().Lists()[kOtherCategory];
        target.Entries().assign(source.Entries().begin(), source.Entries().begin() + static_cast<std::ptrdiff_t>(rows));
        TreeView_SelectItem(tree, big);
        FlushMessages(300);
        TreeView_SelectItem(tree, other);
        FlushMessages(300);
        main.List().Alleauswhlen2Click();
        FlushMessages(300);
        double start = Now();
        main.List().Auswahlumkehren2Click();
        const double command = Now() - start;
        FlushMessages(300);
        const std::wstring status = StatusText(main.Status().Hwnd(), 1);

        main.List().Alleauswhlen2Click();
        FlushMessages(300);
        start = Now();
        int selected = 0;
        for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(list, row, LVNI_SELECTED))
            ++selected;
        const double walk = Now() - start;
        // Without drawing, as in the command.
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        start = Now();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        const double clear = Now() - start;
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        FlushMessages(300);
        std::wprintf(L"    %6zu rows: %8.1f ms (\"%ls\"); walk over the %d selected rows (LVM_GETNEXTITEM) "
                     L"%.1f ms, deselect all %.1f ms\n",
                     rows, Ms(command), status.c_str(), selected, Ms(walk), Ms(clear));
        std::fflush(stdout);
    }
    main.Model().Lists()[kOtherCategory].clear();
}

int Run(size_t recordCount)
{
    // The program's own start-up as the tests run it: no drive type marked, so that the drive
    // dialog lists none and the scan finds nothing; both dialogs answered with OK.
    SetOption(L"datafrom", L"0000");
    SetOption(L"scannewdata", L"0");
    auto main = std::make_unique<MainWindow>();
    if (!main->Create()) {
        std::wprintf(L"the main window could not be created\n");
        return 1;
    }
    FlushMessages(300);
    if (!Click(main->Startup() ? main->Startup()->Hwnd() : nullptr, IDOK) ||
        !Click(main->Drives() ? main->Drives()->Hwnd() : nullptr, IDOK) || !IsWindowVisible(main->Hwnd())) {
        std::wprintf(L"the main window did not come up\n");
        return 1;
    }
    HWND tree = main->Tree().Hwnd();
    HWND list = main->List().Hwnd();
    HTREEITEM node = FindCategoryNode(tree, kCategory);
    HTREEITEM other = FindCategoryNode(tree, kOtherCategory);
    if (!node || !other || TreeView_GetChild(tree, node)) {
        std::wprintf(L"no leaf node for category %d\n", kCategory);
        return 1;
    }
    TreeView_SelectItem(tree, other);
    FlushMessages(300);

    const size_t memoryBefore = PrivateBytes();
    double start = Now();
    BuildRecords(main->Model().Lists(), main->Model().Lists()[kCategory], recordCount);
    const double buildTime = Now() - start;
    main->Model().Lists().Compact();
    const size_t memoryAfter = PrivateBytes();
    const Catalogue& catalogue = main->Model().Lists();
    const size_t lines = catalogue.RecordCount();
    std::wprintf(L"records: %zu files in %zu folders, built in %.3f s; %zu records (lines), each file in 1 to 3 "
                 L"categories\n",
                 catalogue[kCategory].size(), static_cast<size_t>(5000), buildTime, lines);
    std::wprintf(L"memory: private bytes %.1f MB -> %.1f MB: %.1f bytes per record (target at most 48); the "
                 L"catalogue counts %.1f bytes per record (entry %zu bytes a file, 4 a record, names, lookup "
                 L"table, folders, type names)\n",
                 memoryBefore / 1048576.0, memoryAfter / 1048576.0,
                 lines ? double(memoryAfter - memoryBefore) / double(lines) : 0.0,
                 lines ? double(catalogue.MemoryBytes()) / double(lines) : 0.0, sizeof(FileRecord));

    start = Now();
    TreeView_SelectItem(tree, node);
    PrintStep(L"select the category", Now() - start, L"(target under 100 ms)");
    // The first paint of the new rows asks the shell for each file type's icon and name.
    start = Now();
    UpdateWindow(list);
    PrintStep(L"  first paint of the top rows", Now() - start, L"(for information)");
    FlushMessages(300);
    PrintStatus(*main);

    const struct {
        SortKey key;
        const wchar_t* what;
        const wchar_t* target;
    } sorts[] = {
        {SortKey::Name, L"sort by name", L"(target at most 0.3 s)"},
        {SortKey::Size, L"sort by size", L"(target at most 0.2 s)"},
        {SortKey::Path, L"sort by path", L"(target at most 0.5 s)"},
        {SortKey::Date, L"sort by date", L"(target at most 0.2 s)"},
        {SortKey::Type, L"sort by type", L"(target at most 0.2 s)"},
        {SortKey::Attributes, L"sort by attributes", L"(target at most 0.2 s)"},
        {SortKey::Name, L"sort by name again (from type order)", L"(target at most 0.3 s)"},
    };
    // From the scan's order, then each key again from a shuffled order, where the rows'
    // records and names lie anywhere in memory.
    std::mt19937 shuffle(1234);
    for (bool shuffled : {false, true}) {
        if (shuffled)
            std::wprintf(L"from a shuffled order:\n");
        for (const auto& sort : sorts) {
            if (shuffled) {
                std::vector<uint32_t>& entries = main->Model().Lists()[kCategory].Entries();
                std::shuffle(entries.begin(), entries.end(), shuffle);
            }
            start = Now();
            main->List().SortCommand(sort.key);
            PrintStep(sort.what, Now() - start, sort.target);
            FlushMessages(300);
        }
    }
    wchar_t first[MAX_PATH] = L"";
    wchar_t last[MAX_PATH] = L"";
    ListView_GetItemText(list, 0, 0, first, MAX_PATH);
    ListView_GetItemText(list, ListView_GetItemCount(list) - 1, 0, last, MAX_PATH);
    std::wprintf(L"    rows: %d, first \"%ls\", last \"%ls\"\n", ListView_GetItemCount(list), first, last);
    PrintStatus(*main);

    start = Now();
    main->List().Alleauswhlen2Click();
    PrintStep(L"select all with the total", Now() - start, L"(target under 0.1 s)");
    // The program's own part of the selection commands: the total of the rows' sizes; the rest
    // is the list control's.
    start = Now();
    volatile const uint64_t bytes = SumList(main->Model().Lists(), main->Model().Lists()[kCategory]).bytes;
    PrintStep(L"  of it the total of all rows", Now() - start, L"(for information)");
    static_cast<void>(bytes);
    FlushMessages(300);
    PrintStatus(*main);

    start = Now();
    main->List().Auswahlumkehren2Click();
    PrintStep(L"invert the selection (all selected)", Now() - start, L"(target under 0.1 s)");
    FlushMessages(300);
    PrintStatus(*main);

    const int rowCount = ListView_GetItemCount(list);
    for (int row : {3, 17, rowCount / 2, rowCount - 2})
        SelectRow(list, row);
    FlushMessages(300);
    start = Now();
    main->List().Auswahlumkehren2Click();
    PrintStep(L"invert the selection (4 rows selected)", Now() - start, L"(target under 0.1 s)");
    FlushMessages(300);
    PrintStatus(*main);

    start = Now();
    main->List().UnselectAll();
    PrintStep(L"unselect all", Now() - start, L"(target under 0.1 s)");
    FlushMessages(300);
    PrintStatus(*main);

    // One screen in the middle of the list. The scroll's repaint is dropped, so that the rows'
    // data is first asked for in the timed fetch.
    const int middle = rowCount / 2;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_EnsureVisible(list, middle, FALSE);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ValidateRect(list, nullptr);
    const int top = ListView_GetTopIndex(list);
    const int rows = ListView_GetCountPerPage(list);
    const int notShown = RowsNotShown(*main, top, rows);
    start = Now();
    size_t characters = FetchScreen(list, top, rows);
    const double cold = Now() - start;
    start = Now();
    characters += FetchScreen(list, top, rows);
    const double warm = Now() - start;
    std::wprintf(L"row data of one screen: rows %d to %d (%d rows x %d columns, %d of them never shown before), "
                 L"%zu characters\n",
                 top, top + rows - 1, rows, FileListPane::kColumnCount, notShown, characters);
    PrintStep(L"  first time", cold, L"(target under 5 ms)");
    PrintStep(L"  again", warm, L"(target under 5 ms)");
    // Where the time of a screen goes: each column on its own.
    std::wprintf(L"    by column, again:");
    for (int column = 0; column < FileListPane::kColumnCount; ++column) {
        start = Now();
        FetchScreen(list, top, rows, column);
        std::wprintf(L" %d: %.2f ms", column, Ms(Now() - start));
    }
    std::wprintf(L"\n");
    start = Now();
    FetchScreenFromCallback(*main, top, rows);
    PrintStep(L"  the same texts straight from the callback", Now() - start, L"(no message to the list)");
    wchar_t sample[MAX_PATH] = L"";
    ListView_GetItemText(list, middle, 1, sample, MAX_PATH);
    std::wprintf(L"    row %d path: \"%ls\"\n", middle, sample);
    FlushMessages(300);

    start = Now();
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    PrintStep(L"full repaint of the list", Now() - start, L"(for information)");
    FlushMessages(300);

    // What one message to the list costs on its own, for the figures above that send one per
    // row or per text.
    const struct {
        HWND hwnd;
        UINT msg;
        const wchar_t* what;
    } plain[] = {
        {list, LVM_GETITEMCOUNT, L"LVM_GETITEMCOUNT to the list"},
        {tree, TVM_GETCOUNT, L"TVM_GETCOUNT to the tree"},
        {main->Hwnd(), WM_NULL, L"WM_NULL to the main window"},
    };
    for (const auto& message : plain) {
        start = Now();
        for (int i = 0; i < 5000; ++i)
            SendMessageW(message.hwnd, message.msg, 0, 0);
        std::wprintf(L"one plain message, %ls: %.1f us\n", message.what, Ms(Now() - start) * 1000.0 / 5000);
    }
    // The list is subclassed (SetWindowSubclass), and comctl32 finds a window's subclass chain
    // with GetPropW, which under Wine asks the server.
    start = Now();
    for (int i = 0; i < 5000; ++i)
        GetPropW(list, L"CC32SubclassInfo");
    std::wprintf(L"one GetPropW on the list: %.1f us\n", Ms(Now() - start) * 1000.0 / 5000);
    FlushMessages(300);

    InvertAllBySize(*main, other, node);

    main.reset();
    FlushMessages(100);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const size_t records = argc > 1 ? static_cast<size_t>(std::wcstoul(argv[1], nullptr, 10)) : kDefaultRecords;
    // The user's own settings play no part, and none are left behind.
    ClearSettings();
    const int status = Run(records);
    ClearSettings();
    return status;
}
