// A text converter for the tests, with the office converters' entry points and calling
// convention. A file starting "SORTARODOC " becomes rich text of the rest of the file, sent in
// small pieces as a large document is; one starting "SORTAROBAD" passes the format check, but
// its conversion fails after half a document has been sent.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The file named in the block, an OEM file name as converters receive it.
std::string Contents(HANDLE fileName)
{
    std::string name(static_cast<const char*>(GlobalLock(fileName)));
    GlobalUnlock(fileName);
    OemToCharA(&name[0], &name[0]);
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

extern "C" {

__declspec(dllexport) LONG WINAPI InitConverter32(HANDLE /*owner*/, char* /*module*/)
{
    return 1;
}

__declspec(dllexport) short WINAPI IsFormatCorrect32(HANDLE fileName, HANDLE /*formatClass*/)
{
    const std::string start = Contents(fileName).substr(0, 11);
    return start == "SORTARODOC " || start.rfind("SORTAROBAD", 0) == 0;
}

__declspec(dllexport) short WINAPI
    ForeignToRtf32(HANDLE fileName, void* /*storage*/, HANDLE transfer, HANDLE /*formatClass*/, HANDLE /*subset*/,
                   LONG(WINAPI* out)(LONG count, LONG percent))
{
    const std::string bytes = Contents(fileName);
    const bool bad = bytes.rfind("SORTAROBAD", 0) == 0;
    const std::string rtf = bad ? "{\\rtf1\\ansi Halb" : "{\\rtf1\\ansi " + bytes.substr(11) + "}";
    for (size_t at = 0; at < rtf.size(); at += 7) {
        const size_t count = std::min<size_t>(7, rtf.size() - at);
        memcpy(GlobalLock(transfer), rtf.data() + at, count);
        GlobalUnlock(transfer);
        if (const LONG answer = out(static_cast<LONG>(count), static_cast<LONG>(100 * at / rtf.size())); answer < 0)
            return static_cast<short>(answer);
    }
    return bad ? -9 : 0; // the document is damaged
}

} // extern "C"
