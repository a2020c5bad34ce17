// A text converter for the tests, with the entry points and calling convention of the office
// converters. A file that starts with "SORTARODOC " becomes rich text holding the rest of the
// file; one that starts with "SORTAROBAD" passes the format check, but its conversion fails
// after part of the document has been sent. The rich text goes out in small pieces, as a
// converter sends a large document.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The start of the file named in the block: an OEM file name, as the converters receive it.
std::string Contents(HANDLE fileName)
{
    const char* locked = static_cast<const char*>(GlobalLock(fileName));
    if (!locked)
        return "";
    std::string name(locked);
    GlobalUnlock(fileName);
    OemToCharA(&name[0], &name[0]);
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool Starts(const std::string& bytes, const char* magic)
{
    return bytes.compare(0, strlen(magic), magic) == 0;
}

} // namespace

extern "C" {

__declspec(dllexport) LONG WINAPI InitConverter32(HANDLE /*owner*/, char* /*module*/)
{
    return 1;
}

__declspec(dllexport) void WINAPI UninitConverter()
{
}

__declspec(dllexport) short WINAPI IsFormatCorrect32(HANDLE fileName, HANDLE /*formatClass*/)
{
    const std::string bytes = Contents(fileName);
    return Starts(bytes, "SORTARODOC ") || Starts(bytes, "SORTAROBAD");
}

__declspec(dllexport) short WINAPI
    ForeignToRtf32(HANDLE fileName, void* /*storage*/, HANDLE transfer, HANDLE /*formatClass*/, HANDLE /*subset*/,
                   LONG(WINAPI* out)(LONG count, LONG percent))
{
    const std::string bytes = Contents(fileName);
    const bool bad = Starts(bytes, "SORTAROBAD");
    const std::string rtf = bad ? "{\\rtf1\\ansi Halb" : "{\\rtf1\\ansi " + bytes.substr(11) + "}";
    for (size_t at = 0; at < rtf.size(); at += 7) {
        const size_t count = std::min<size_t>(7, rtf.size() - at);
        memcpy(GlobalLock(transfer), rtf.data() + at, count);
        GlobalUnlock(transfer);
        const LONG answer = out(static_cast<LONG>(count), static_cast<LONG>(100 * at / rtf.size()));
        if (answer < 0)
            return static_cast<short>(answer);
    }
    return bad ? -9 : 0; // the document is damaged
}

} // extern "C"
