#pragma once
// The system's sentence for a Win32 error code, in the system's language, for the messages that
// report a failed file or printer call.

#include <windows.h>

#include <string>

inline std::wstring SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring sentence = length && text ? std::wstring(text, length) : L"";
    LocalFree(text);
    // The system ends its sentences with a line break.
    while (!sentence.empty() && (sentence.back() == L'\n' || sentence.back() == L'\r' || sentence.back() == L' '))
        sentence.pop_back();
    return sentence.empty() ? L"(" + std::to_wstring(error) + L")" : sentence;
}
