// Measures the catalogue on a folder tree: the scan against a plain FindFirstFileW walk, the
// memory per record, and writing and loading the database against a plain
// GetFileAttributesExW over the same paths. Prints the figures; asserts nothing.
// Usage: catalogue_bench TREE DATA_FOLDER

#include "catalogue/catalogue/CatalogueFiles.h"
#include "catalogue/catalogue/CatalogueModel.h"
#include "catalogue/catalogue/DriveScan.h"
#include "catalogue/catalogue/ExtensionMatch.h"
#include "tools/bench/BenchMeasures.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The plain walk: what any program listing the tree has to do.
size_t PlainWalk(const std::wstring& folder)
{
    size_t items = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (data.cFileName[0] == L'.' &&
            (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0)))
            continue;
        ++items;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            items += PlainWalk(folder + L"\\" + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return items;
}

// Extension lists as an installation would put them in place, with a few patterns.
ExtensionMap BenchMap()
{
    const struct {
        int id;
        const wchar_t* list;
    } lists[] = {
        {1, L".ZIP+.ARJ+.LZH+.RAR+.7Z+.CAB+.GZ+.TAR+.TGZ+.ACE"},
        {3, L".BMP"},
        {8, L".GIF"},
        {9, L".JPG+.JPEG+.JPE"},
        {14, L".TIF+.TIFF"},
        {17, L".CUR+.ANI"},
        {18, L".ICO"},
        {20, L".TTF+.FON+.OTF"},
        {21, L".HLP+.CHM"},
        {23, L".MID+.WAV+.MP3+.AVI+.MPG+.MOV"},
        {24, L".MID+.RMI"},
        {25, L".AVI+.MPG+.MPEG+.MOV+.MP4"},
        {26, L".WAV"},
        {27, L".SCR"},
        {28, L".INF+.INI+.MSI"},
        {29, L".TMP+.~**+.$$$"},
        {30, L".TXT+.LOG+.DOC+.RTF+.PDF"},
        {34, L".BAK+.OLD+.BK*"},
        {44, L".HTM+.HTML+.CSS"},
        {45, L".MP3"},
    };
    ExtensionMap map;
    for (const auto& list : lists)
        AppendExtensionList(map, list.list, list.id);
    return map;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: catalogue_bench TREE DATA_FOLDER\n");
        return 2;
    }
    const std::wstring tree = argv[1];
    const std::wstring data = argv[2];
    CreateDirectoryW(data.c_str(), nullptr);

    // The plain walk twice, the first to bring the tree into the caches.
    double start = Now();
    size_t items = PlainWalk(tree);
    const double firstWalk = Now() - start;
    start = Now();
    PlainWalk(tree);
    double plainWalk = Now() - start;

    Catalogue catalogue;
    const ExtensionMap map = BenchMap();
    const int cancel = 0;
    const size_t memoryBefore = PrivateBytes();
    DriveScan scan(catalogue, map, cancel);
    start = Now();
    scan.ShowFolder(tree);
    const double scanTime = Now() - start;
    const size_t memoryAfter = PrivateBytes();
    const size_t records = catalogue.RecordCount();

    start = Now();
    PlainWalk(tree);
    plainWalk = std::min(plainWalk, Now() - start);

    std::wprintf(L"tree: %zu items (first plain walk %.3f s)\n", items, firstWalk);
    std::wprintf(L"scan: %.3f s, %.0f items/s; plain FindFirstFileW walk: %.3f s, %.0f items/s; ratio %.2f\n", scanTime,
                 items / scanTime, plainWalk, items / plainWalk, scanTime / plainWalk);
    std::wprintf(L"records: %zu; private bytes %zu -> %zu: %.1f bytes per record\n", records, memoryBefore, memoryAfter,
                 records ? double(memoryAfter - memoryBefore) / records : 0.0);

    // Write every category, then load it all back.
    start = Now();
    size_t files = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        if (catalogue[id].empty())
            continue;
        WriteCategoryFile(data, id, catalogue, catalogue[id], cancel, nullptr);
        ++files;
    }
    const double writeTime = Now() - start;

    std::vector<std::pair<int, std::wstring>> paths;
    for (int id = 1; id < Catalogue::kListCount; ++id)
        for (const FileRecord& record : catalogue[id])
            paths.emplace_back(id, catalogue.Path(record));

    // The load as the program does it: each .dat with its facts file.
    CatalogueModel model;
    start = Now();
    model.ReadDatabase(data, cancel, DatabaseProgress());
    const double loadTime = Now() - start;
    const Catalogue& loaded = model.Lists();

    uint64_t factsBytes = 0;
    for (int id = 1; id < Catalogue::kListCount; ++id) {
        WIN32_FILE_ATTRIBUTE_DATA facts;
        if (GetFileAttributesExW((data + L"\\" + std::to_wstring(id) + L".facts").c_str(), GetFileExInfoStandard,
                                 &facts))
            factsBytes += facts.nFileSizeLow;
    }

    start = Now();
    size_t found = 0;
    for (const auto& entry : paths) {
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExW(entry.second.c_str(), GetFileExInfoStandard, &attributes))
            ++found;
    }
    const double plainLoad = Now() - start;

    std::wprintf(L"database write: %zu files, %zu lines, %.3f s; facts files %.1f bytes per line\n", files,
                 paths.size(), writeTime, paths.empty() ? 0.0 : double(factsBytes) / paths.size());
    std::wprintf(L"database load: %.3f s (%zu records); plain GetFileAttributesExW over the same paths: %.3f s "
                 L"(%zu found); ratio %.2f\n",
                 loadTime, loaded.RecordCount(), plainLoad, found, loadTime / plainLoad);
    return loaded.RecordCount() == records ? 0 : 1;
}
