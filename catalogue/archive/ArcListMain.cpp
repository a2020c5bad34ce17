// sortaro-arclist: lists archives the way Sortaro's archive preview reads them.
//
//   sortaro-arclist [--json | --tsv] [--dirs] [--ansi] [--spec PATTERN]... [--exclude PATTERN]...
//                   ARCHIVE...
//
// For each archive: its detected type and start offset, then one line per entry with name,
// date, packed and unpacked size, method, CRC and attributes. --json prints JSON lines, --tsv
// tab-separated fields. Exit status 0 when every archive was listed completely, 1 otherwise (the
// entries of a damaged archive read before the damage are still printed), 2 for usage.
#include "catalogue/archive/ArcList.h"
#include "catalogue/archive/ArcReader.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void Write(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Usage()
{
    std::fputs("usage: sortaro-arclist [--json | --tsv] [--dirs] [--ansi] [--spec PATTERN]... "
               "[--exclude PATTERN]... ARCHIVE...\n",
               stderr);
    return 2;
}

int Run(const std::vector<std::wstring>& args)
{
    ArcList::Format format = ArcList::Format::Text;
    TArcReader reader;
    std::vector<std::wstring> archives;
    std::vector<std::wstring> specs;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--json") {
            format = ArcList::Format::Json;
        } else if (a == L"--tsv") {
            format = ArcList::Format::Tsv;
        } else if (a == L"--dirs") {
            reader.ShowEmptyDirs = true;
        } else if (a == L"--ansi") {
            reader.TranslateOemChar = false;
        } else if ((a == L"--spec" || a == L"--exclude") && i + 1 < args.size()) {
            (a == L"--spec" ? specs : reader.ExcludeSpec).push_back(args[++i]);
        } else if (a == L"--help" || a == L"-h" || (a.size() > 1 && a[0] == L'-' && a != L"-")) {
            return Usage();
        } else {
            archives.push_back(a);
        }
    }
    if (archives.empty())
        return Usage();
    if (!specs.empty())
        reader.FileSpec = specs;

    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    int status = 0;
    std::vector<TArcEntry> entries;
    for (const std::wstring& archive : archives) {
        std::string error;
        reader.OnError = [&](TArcError code, const std::wstring&, const std::wstring&) {
            if (error.empty())
                error = ArcErrorText(code);
        };
        reader.SetArchiveFile(archive);
        if (!IsRecognised(reader.ArcType())) {
            Write(ArcList::ErrorLine(format, archive, reader.ArcType(),
                                     reader.ArcType() == atFileOpenErr ? ArcErrorText(TArcError::FileNotFound)
                                                                       : ArcErrorText(TArcError::UnknownFileType)));
            status = 1;
            continue;
        }
        Write(ArcList::ArchiveLine(format, archive, reader.ArcType(), reader.StartOffset()));
        const bool complete = reader.ReadEntries(entries);
        for (const TArcEntry& e : entries)
            Write(ArcList::EntryLine(format, e));
        if (!entries.empty() || complete)
            Write(ArcList::TotalsLine(format, entries.size(), reader.PackedTotal(), reader.UnpackedTotal()));
        if (!complete) {
            // Damaged: what was read before the damage is listed above, the reason after it.
            Write(ArcList::ErrorLine(format, archive, reader.ArcType(),
                                     error.empty() ? ArcErrorText(TArcError::ReadError) : error));
            status = 1;
        }
    }
    std::fflush(stdout);
    return status;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv)
{
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(DecodeUtf8(reinterpret_cast<const uint8_t*>(argv[i]), std::strlen(argv[i])));
    return Run(args);
}
#endif
