// Measures the catalogue search on 1,000,000 files in 5,000 folders built in memory (a third of
// them listed in a second category as well): building the index, queries of several kinds
// straight on the engine, and in the real search dialog the time from a key press in the name
// field to the hits on screen. Runs the real main window in this process with a clean settings
// key. Prints the figures, each beside its target; asserts nothing.
// Usage: search_bench [RECORDS]

#include "catalogue/search/CatalogueSearch.h"
#include "catalogue/search/SearchDialog.h"
#include "catalogue/search/SearchIds.h"
#include "catalogue/shell/DriveDialog.h"
#include "catalogue/shell/MainWindow.h"
#include "catalogue/shell/StartupDialog.h"
#include "tests/wine/MessageFlush.h"
#include "tools/bench/BenchMeasures.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kDefaultRecords = 1000000;

void SetOption(const wchar_t* name, const wchar_t* value)
{
    SHSetValueW(HKEY_CURRENT_USER, L"Software\\Sortaro\\Options", name, REG_SZ, value,
                static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
}

bool Click(HWND dialog, int id)
{
    if (!dialog)
        return false;
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    FlushMessages(300);
    return true;
}

// 500 projects of 10 subfolders, names of ten stems in mixed case with a running number and
// one of six extensions. Seeded, so every run sees the same.
void BuildRecords(Catalogue& catalogue, size_t count)
{
    std::mt19937 random(4711);
    std::vector<uint32_t> folders;
    for (int project = 0; project < 500; ++project)
        for (int sub = 0; sub < 10; ++sub) {
            wchar_t folder[64];
            std::swprintf(folder, 64, L"C:\\Daten\\Projekt%04d\\Unterordner%d\\", project, sub);
            folders.push_back(catalogue.FindOrAddFolder(folder));
        }
    static const wchar_t* const kStems[] = {L"bericht",  L"Bericht", L"NOTIZ", L"Protokoll", L"angebot",
                                            L"Rechnung", L"readme",  L"Liste", L"brief",     L"Entwurf"};
    static const wchar_t* const kExtensions[] = {L".txt", L".TXT", L".log", L".doc", L".rtf", L".pdf"};
    for (size_t i = 0; i < count; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls_%06zu%ls", kStems[random() % 10], i, kExtensions[random() % 6]);
        FileRecord record;
        record.folder = folders[random() % folders.size()];
        record.name = catalogue.StoreText(name);
        record.SetSize(random() % 4000000);
        catalogue[30].push_back(record);
        if (i % 3 == 0)
            catalogue[9].push_back(record);
    }
}

void PrintStep(const wchar_t* what, double seconds, size_t hits, const wchar_t* target)
{
    std::wprintf(L"%-52ls %9.2f ms %8zu hits  %ls\n", what, seconds * 1000.0, hits, target);
    std::fflush(stdout);
}

// A query straight on the engine, in one go; the best of three runs.
size_t TimeQuery(const CatalogueIndex& index, const wchar_t* what, const SearchPattern& pattern, const wchar_t* target)
{
    double best = 1e9;
    size_t hits = 0;
    for (int run = 0; run < 3; ++run) {
        CatalogueQuery query(index);
        const double start = Now();
        query.Start(pattern);
        query.Step(static_cast<size_t>(-1));
        best = std::min(best, Now() - start);
        hits = query.Hits().size();
    }
    PrintStep(what, best, hits, target);
    return hits;
}

// A key typed into the name field, then the messages handled until the result view holds the
// hits and has drawn them.
void TimeKey(SearchDialog& dialog, wchar_t key, size_t expected, const wchar_t* what)
{
    HWND list = GetDlgItem(dialog.Hwnd(), IDC_SEARCH_RESULTS);
    const double start = Now();
    SendMessageW(GetDlgItem(dialog.Hwnd(), IDC_SEARCH_NAME), WM_CHAR, key, 0);
    double shown = 0;
    while (Now() - start < 5.0) {
        MessagePump::ProcessMessages();
        if (!dialog.QueryBusy() && static_cast<size_t>(ListView_GetItemCount(list)) == expected) {
            UpdateWindow(list);
            shown = Now() - start;
            break;
        }
        Sleep(1);
    }
    PrintStep(what, shown, static_cast<size_t>(ListView_GetItemCount(list)),
              L"(target: first results under 100 ms)");
}

int Run(size_t recordCount)
{
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
    Catalogue& catalogue = main->Model().Lists();
    double start = Now();
    BuildRecords(catalogue, recordCount);
    std::wprintf(L"records: %zu files in 5000 folders (%zu records in the lists), built in %.2f s\n", recordCount,
                 catalogue.RecordCount(), Now() - start);

    const size_t memoryBefore = PrivateBytes();
    CatalogueIndex index;
    start = Now();
    index.Build(catalogue);
    const double buildTime = Now() - start;
    std::wprintf(L"%-52ls %9.2f ms  %ls\n", L"build the index (when the catalogue has changed)", buildTime * 1000.0,
                 L"(for information)");
    std::wprintf(L"index: %zu files, %zu bytes kept = %.1f bytes per file (target at most 16); private bytes "
                 L"+%.1f MB\n",
                 index.Size(), index.MemoryBytes(), double(index.MemoryBytes()) / double(index.Size()),
                 double(PrivateBytes() - memoryBefore) / 1048576.0);
    start = Now();
    index.Refresh(catalogue);
    std::wprintf(L"%-52ls %9.2f ms  %ls\n", L"check the index, catalogue unchanged (next opening)",
                 (Now() - start) * 1000.0, L"(for information)");

    const UpperCaseTable upper([](wchar_t* text, size_t length) {
        std::vector<wchar_t> out(length);
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text, static_cast<int>(length), out.data(),
                         static_cast<int>(length)) == static_cast<int>(length))
            std::copy(out.begin(), out.end(), text);
    });
    const wchar_t* const kTarget = L"(target under 50 ms)";
    TimeQuery(index, L"substring, rare: \"_004711\"", SearchPattern(L"_004711", false, upper), kTarget);
    TimeQuery(index, L"substring, common: \"bericht\"", SearchPattern(L"bericht", false, upper), kTarget);
    TimeQuery(index, L"substring, a name part: \"otiz_0\"", SearchPattern(L"otiz_0", false, upper), kTarget);
    TimeQuery(index, L"substring, a folder: \"projekt0042\"", SearchPattern(L"projekt0042", false, upper), kTarget);
    TimeQuery(index, L"substring, across folder and name: \"ordner3\\brief\"",
              SearchPattern(L"ordner3\\brief", false, upper), kTarget);
    TimeQuery(index, L"substring, no hit: \"zebra\"", SearchPattern(L"zebra", false, upper), kTarget);
    TimeQuery(index, L"case-sensitive: \"Bericht\"", SearchPattern(L"Bericht", true, upper), kTarget);
    TimeQuery(index, L"wildcard on the name: \"brief*.txt\"", SearchPattern(L"brief*.txt", false, upper), kTarget);
    TimeQuery(index, L"wildcard on the path: \"*\\projekt01??\\*.pdf\"",
              SearchPattern(L"*\\projekt01??\\*.pdf", false, upper), kTarget);
    {
        CatalogueQuery query(index);
        query.Start(SearchPattern(L"beri", false, upper));
        query.Step(static_cast<size_t>(-1));
        const double narrowStart = Now();
        query.Start(SearchPattern(L"bericht", false, upper));
        query.Step(static_cast<size_t>(-1));
        PrintStep(L"\"beri\" lengthened to \"bericht\" (previous hits only)", Now() - narrowStart,
                  query.Hits().size(), kTarget);
    }

    // The dialog opened, its first query building the index, then the user typing "b", "r",
    // "i", "e", "f" into its name field; then opened again, on the catalogue unchanged.
    const auto open = [&](const wchar_t* what) {
        auto dialog = std::make_unique<SearchDialog>(*main, catalogue, std::function<void()>());
        if (!dialog->CreateModeless(main->Hwnd())) {
            std::wprintf(L"the search dialog could not be created\n");
            return std::unique_ptr<SearchDialog>();
        }
        FlushMessages(300);
        const double opened = Now();
        dialog->RunCatalogueQuery();
        std::wprintf(L"%-52ls %9.2f ms  %ls\n", what, (Now() - opened) * 1000.0, L"(for information)");
        return dialog;
    };
    auto dialog = open(L"dialog: index built at the first query");
    if (!dialog)
        return 1;
    std::wstring typed;
    for (wchar_t key : std::wstring(L"brief")) {
        typed += key;
        CatalogueQuery expected(index);
        expected.Start(SearchPattern(typed, false, upper));
        expected.Step(static_cast<size_t>(-1));
        const std::wstring what = L"dialog: key press to hits shown, \"" + typed + L"\"";
        TimeKey(*dialog, key, expected.Hits().size(), what.c_str());
    }
    dialog->Close(IDCANCEL);
    dialog.reset();
    dialog = open(L"dialog opened again: the kept index checked");
    if (dialog)
        dialog->Close(IDCANCEL);
    dialog.reset();
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
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
    const int status = Run(records);
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
    return status;
}
