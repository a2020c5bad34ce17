// Measures JPEG decoding for the preview: DecodeJpegFile on one file, several times, with the
// file in the system's cache after the first run. Prints the figures; asserts nothing.
// Usage: picture_bench FILE [RUNS]

#include "catalogue/preview/JpegDecode.h"
#include "tools/bench/BenchMeasures.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: picture_bench FILE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    std::vector<double> times;
    Dib24 picture;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        if (!DecodeJpegFile(argv[1], picture)) {
            std::fwprintf(stderr, L"%ls: not decoded\n", argv[1]);
            return 1;
        }
        times.push_back((Now() - start) * 1000);
        std::wprintf(L"run %d: %.1f ms\n", i + 1, times.back());
    }
    std::sort(times.begin(), times.end());
    const double megapixels = double(picture.width) * picture.height / 1e6;
    std::wprintf(L"DecodeJpegFile, %d x %d (%.1f megapixels) to a 24-bit DIB: median %.1f ms, best %.1f ms"
                 L" (%.0f megapixels/s)\n",
                 picture.width, picture.height, megapixels, times[times.size() / 2], times.front(),
                 megapixels / (times[times.size() / 2] / 1000));
    return 0;
}
