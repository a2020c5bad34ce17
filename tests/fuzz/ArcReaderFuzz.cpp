// libFuzzer target: detection and every walk over arbitrary bytes. Built with clang, ASan and
// UBSan (tools/fuzz-archive.sh); a finding is a crash, a sanitizer report or a hang.
#include "catalogue/archive/ArcReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryFileSystem files;
    // A few inputs take the removable-disk branches of the detection, and the ".jar" name.
    files.SetRemovable(size % 7 == 3, size % 14 == 3);
    const std::wstring name = size % 5 == 1 ? L"c:\\fuzz\\input.jar" : L"c:\\fuzz\\input.bin";
    files.Add(name, std::vector<uint8_t>(data, data + size), 1614834368);
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
