// Measures the preview's viewers as a user meets them, each in a window standing in for the
// pane, from the call that shows a file to the picture on screen (the window updated): a
// 4000 x 3000 JPEG with its decoding alone beside it, rotating and flipping it, listing ZIPs of
// 10,000 and 100,000 entries, and a text file of 10 MB. Prints the figures; asserts nothing.
// Usage: preview_bench FOLDER [RUNS]   (FOLDER holds photo.jpg, entries-10000.zip,
// entries-100000.zip and text-10mb.txt)

#include "catalogue/preview/ArchiveViewer.h"
#include "catalogue/preview/JpegDecode.h"
#include "catalogue/preview/PictureViewer.h"
#include "catalogue/preview/PreviewIds.h"
#include "catalogue/preview/TextViewer.h"
#include "tests/wine/StandInPane.h"
#include "tools/bench/BenchMeasures.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Everything the window has to draw, drawn.
void Paint(HWND pane)
{
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// The median of runs of work, in milliseconds.
double Median(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back((Now() - start) * 1000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: preview_bench FOLDER [RUNS]\n");
        return 2;
    }
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    StandInPane host(400, 700, {0, 20, 380, 640});
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::wprintf(L"median of %d runs each, i.e. from the call to the window drawn:\n", runs);

    Dib24 decoded;
    const std::wstring photo = folder + L"photo.jpg";
    std::wprintf(L"  JPEG decoding alone (DecodeJpegFile)           %8.1f ms\n",
                 Median(runs, [&] { DecodeJpegFile(photo, decoded); }));
    PictureViewer picture;
    picture.Create(host);
    host.current = &picture;
    std::wprintf(L"  4000 x 3000 JPEG previewed                     %8.1f ms  (target under 300 ms)\n",
                 Median(runs, [&] {
                     picture.Show(photo, L".JPG", 0);
                     Paint(host.Pane());
                 }));
    const struct {
        const wchar_t* name;
        int id;
        const wchar_t* target;
    } tools[] = {{L"rotated", IDC_PICTURE_ROTATE, L"200"},
                 {L"flipped vertically", IDC_PICTURE_FLIP_VERTICAL, L"100"},
                 {L"flipped horizontally", IDC_PICTURE_FLIP_HORIZONTAL, L"100"}};
    const HWND toolbar = GetDlgItem(host.Pane(), IDC_PICTURE_TOOLBAR);
    for (const auto& tool : tools)
        std::wprintf(L"  the picture %-33ls %8.1f ms  (target under %ls ms)\n", tool.name,
                     Median(runs, [&] {
                         SendMessageW(host.Pane(), WM_COMMAND, tool.id, reinterpret_cast<LPARAM>(toolbar));
                         Paint(host.Pane());
                     }),
                     tool.target);
    picture.Reset();

    ArchiveViewer archive([](const std::wstring&) {});
    archive.Create(host);
    host.current = &archive;
    const struct {
        const wchar_t* entries;
        const wchar_t* target;
    } zips[] = {{L"10000", L"100 ms"}, {L"100000", L"1 s"}};
    for (const auto& zip : zips)
        std::wprintf(L"  ZIP of %-6ls entries listed                  %8.1f ms  (target under %ls)\n", zip.entries,
                     Median(runs, [&] {
                         archive.Show(folder + L"entries-" + zip.entries + L".zip", L".ZIP", 0);
                         Paint(host.Pane());
                     }),
                     zip.target);
    archive.Reset();

    TextViewer text;
    text.Create(host);
    host.current = &text;
    std::wprintf(L"  10 MB text file shown                          %8.1f ms  (target under 300 ms)\n",
                 Median(runs, [&] {
                     text.Reset(); // as the pane does before every file
                     text.Show(folder + L"text-10mb.txt", L".TXT", 0);
                     Paint(host.Pane());
                 }));
    std::wprintf(L"  (%u lines, %d characters in the view)\n", text.LongView().Lines().Count(),
                 GetWindowTextLengthW(text.LongView().Hwnd()));
    return 0;
}
