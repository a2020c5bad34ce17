// Measures the start in database mode on a catalogue of a large tree: from launch to the main
// window with the category of all files selected and painted, to the end of the check of the
// records in the background, and the memory per record. Runs the real main window in this
// process with a settings key of its own making. Prints the figures; asserts nothing.
// Usage: launch_bench catalogue TREE DATA_FOLDER   (scans TREE with the program's scan once and
//                                                  writes the catalogue to DATA_FOLDER)
//        launch_bench launch INSTALL_FOLDER LAUNCH_MS (INSTALL_FOLDER\Data holds the catalogue;
//                                                  LAUNCH_MS: when the process was started,
//                                                  milliseconds since 1970, UTC)

#include "catalogue/catalogue/CatalogueCheck.h"
#include "catalogue/catalogue/CatalogueFiles.h"
#include "catalogue/catalogue/CategoryTree.h"
#include "catalogue/catalogue/DriveScan.h"
#include "catalogue/shell/MainWindow.h"
#include "catalogue/shell/StartupDialog.h"
#include "tests/wine/MessageFlush.h"
#include "tools/bench/BenchMeasures.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The category of all files: a user category matching every extension of three characters,
// which all files of the bench tree have. Pictures and music are in their own categories too.
const wchar_t kAllFiles[] = L"Alle Dateien";
const wchar_t kAllExtensions[] = L".***";
constexpr int kAllFilesId = CategoryTree::kBuiltInCount;
const struct {
    int id;
    const wchar_t* list;
} kCategories[] = {{9, L".JPG"}, {45, L".MP3"}};

void SetValue(const wchar_t* subKey, const wchar_t* name, const std::wstring& value)
{
    std::wstring key = L"Software\\Sortaro\\Options";
    if (*subKey)
        key += std::wstring(L"\\") + subKey;
    SHSetValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

double UnixMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ull) / 10000.0;
}

// User and kernel time of the calling thread.
double ThreadCpuSeconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

int CatalogueTree(const std::wstring& tree, const std::wstring& data)
{
    ExtensionMap map;
    AppendExtensionList(map, kAllExtensions, kAllFilesId);
    for (const auto& category : kCategories)
        AppendExtensionList(map, category.list, category.id);
    Catalogue catalogue;
    const int cancel = 0;
    DriveScan scan(catalogue, map, cancel);
    double start = Now();
    scan.ShowFolder(tree);
    const double scanTime = Now() - start;
    CreateDirectoryW(data.c_str(), nullptr);
    start = Now();
    for (int id = 1; id < Catalogue::kListCount; ++id)
        if (!catalogue[id].empty() &&
            WriteCategoryFile(data, id, catalogue, catalogue[id], cancel, nullptr) != WriteResult::Written) {
            std::wprintf(L"category %d could not be written\n", id);
            return 1;
        }
    std::wprintf(L"catalogued: %zu records (%zu in the category of all files), scan %.1f s, written in %.1f s\n",
                 catalogue.RecordCount(), catalogue[kAllFilesId].size(), scanTime, Now() - start);
    return 0;
}

int Launch(const std::wstring& install, double launchMs)
{
    // The program's own start in database mode: no drive type marked, the catalogue read, and
    // nothing written at close, so that every run reads the same catalogue.
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
    SetValue(L"", L"datafrom", L"0000");
    SetValue(L"", L"scannewdata", L"1");
    SetValue(L"", L"database", L"0");
    SetValue(L"", L"InstallDir", install);
    SetValue(L"UserFiles", kAllFiles, std::wstring(kAllExtensions) + L"|Default");
    for (const auto& category : kCategories)
        SetValue(L"FileEnding", std::to_wstring(category.id).c_str(), category.list);

    const double processStart = Now() - (UnixMs() - launchMs) / 1000.0;
    const size_t memoryBefore = PrivateBytes();
    const double start = Now();
    auto main = std::make_unique<MainWindow>();
    if (!main->Create() || !main->Startup()) {
        std::wprintf(L"the main window could not be created\n");
        return 1;
    }
    // The start-up dialog answered at once: the catalogue is read while the wait dialog shows.
    SendMessageW(GetDlgItem(main->Startup()->Hwnd(), IDOK), BM_CLICK, 0, 0);
    HWND tree = main->Tree().Hwnd();
    HTREEITEM node = FindCategoryNode(tree, kAllFilesId);
    if (!IsWindowVisible(main->Hwnd()) || !node) {
        std::wprintf(L"the main window or the category of all files did not come up\n");
        return 1;
    }
    TreeView_SelectItem(tree, node);
    UpdateWindow(main->Hwnd());
    UpdateWindow(main->List().Hwnd());
    const double painted = Now();
    const size_t memoryPainted = PrivateBytes();
    const bool checking = main->CatalogueCheckRunning();
    while (main->CatalogueCheckRunning())
        FlushMessages(100);
    const double checked = Now();
    const size_t memoryChecked = PrivateBytes();

    const Catalogue& catalogue = main->Model().Lists();
    const size_t records = catalogue.RecordCount();
    const size_t shown = static_cast<size_t>(ListView_GetItemCount(main->List().Hwnd()));
    std::wprintf(L"catalogue: %zu records, %zu rows shown in \"%ls\"\n", records, shown, kAllFiles);
    std::wprintf(L"launch to the main window, all files shown and painted: %.3f s from the process start "
                 L"(%.3f s in the process)  target 1.5 s\n",
                 painted - processStart, painted - start);
    if (checking) {
        // The files checked: each once, however many categories hold it.
        std::wprintf(L"launch to the check finished: %.3f s (the check %.3f s: %.3f ms per 1,000 files of %zu)\n",
                     checked - processStart, checked - painted, (checked - painted) * 1e6 / double(shown ? shown : 1),
                     shown);
    } else {
        std::wprintf(L"no check ran: the catalogue was read with a look at every file\n");
    }
    std::wprintf(L"memory: private bytes %.1f MB -> %.1f MB with the check's file list -> %.1f MB after the check: "
                 L"%.1f bytes per record after the load (%.1f while the check runs)\n",
                 memoryBefore / 1048576.0, memoryPainted / 1048576.0, memoryChecked / 1048576.0,
                 records ? double(memoryChecked - memoryBefore) / double(records) : 0.0,
                 records ? double(memoryPainted - memoryBefore) / double(records) : 0.0);
    std::fflush(stdout);
    main.reset();

    // Where the time to the main window goes: the load alone, and taking the files to check.
    if (!checking) {
        SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
        return 0;
    }
    CatalogueModel model;
    const int cancel = 0;
    double step = Now();
    double cpu = ThreadCpuSeconds();
    model.ReadDatabase(CatalogueModel::DataFolder(install), cancel, DatabaseProgress());
    const double loadTime = Now() - step;
    const double loadCpu = ThreadCpuSeconds() - cpu;
    step = Now();
    cpu = ThreadCpuSeconds();
    CheckList files;
    files.Collect(model.Lists(), model.Unchecked());
    // The processor time of this thread beside each: on a machine busy with other work the
    // time that passes says less.
    std::wprintf(L"  of which: the load %.3f s (%.3f s processor time of the thread; %.2f us per record), taking the "
                 L"%zu files to check %.3f s (%.3f s)\n",
                 loadTime, loadCpu, loadTime * 1e6 / double(model.Lists().RecordCount() ? model.Lists().RecordCount() : 1),
                 files.Size(), Now() - step, ThreadCpuSeconds() - cpu);
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Sortaro");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"catalogue" && argc > 3)
        return CatalogueTree(argv[2], argv[3]);
    if (mode == L"launch" && argc > 3)
        return Launch(argv[2], std::wcstod(argv[3], nullptr));
    std::fwprintf(stderr, L"usage: launch_bench catalogue TREE DATA_FOLDER | launch INSTALL_FOLDER LAUNCH_MS\n");
    return 2;
}
