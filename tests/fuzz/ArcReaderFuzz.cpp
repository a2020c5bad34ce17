// libFuzzer target: detection and every walk over arbitrary bytes. Built with clang, ASan and
// UBSan (tools/fuzz-archive.sh); a finding is a crash, a sanitizer report or a hang.
#include "catalogue/archive/ArcReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryFileSystem files;
    // A few inputs take the removable-disk branches of the detection.
    files.SetRemovable(size % 7 == 3, size % 14 == 3);
    // Some are named as the first volume of a set whose next volume holds the same bytes.
    static const wchar_t* const kNames[] = {L"c:\\fuzz\\input.bin", L"c:\\fuzz\\input.jar", L"c:\\fuzz\\input.rar",
                                            L"c:\\fuzz\\input.part1.rar", L"c:\\fuzz\\input.ace"};
    const std::wstring name = kNames[size % 5];
    const std::vector<uint8_t> bytes(data, data + size);
    files.Add(name, bytes, 1614834368);
    files.Add(L"c:\\fuzz\\input.r00", bytes);
    files.Add(L"c:\\fuzz\\input.part2.rar", bytes);
    files.Add(L"c:\\fuzz\\input.c00", bytes);
    TArcReader reader(files);
    reader.SetArchiveFile(name);
    std::vector<TArcEntry> entries;
    reader.ReadEntries(entries);
    std::vector<std::wstring> names;
    reader.FilesInArchive(&names);
    if (!names.empty())
        reader.GetFileInfo(names.back());
    reader.ShowEmptyDirs = true;
    reader.TranslateOemChar = false;
    reader.OnRead = [](const TArcEntry&, uint64_t, uint32_t) {};
    reader.Activate();
    return 0;
}
