#pragma once
// Diagnostic log: channels and levels, switched on by the environment variable SORTARO_LOG
// ("all", or channel names separated by commas, optionally "debug" for the verbose level) and
// written to OutputDebugStringW; SORTARO_LOG_FILE names a file that receives a copy.

#include <windows.h>

enum class LogLevel { Error, Warning, Info, Debug };

namespace Log {

void Write(LogLevel level, const wchar_t* channel, const wchar_t* format, ...);

// Logs a failed Win32 call with the thread's last error code and returns false.
bool LastError(const wchar_t* channel, const wchar_t* what);

// Logs a failed COM call and returns the HRESULT unchanged.
HRESULT Failed(const wchar_t* channel, const wchar_t* what, HRESULT hr);

} // namespace Log

// Early return for HRESULT-returning code, keeping the happy path flat.
#define RETURN_IF_FAILED(channel, expr)                                                                                \
    do {                                                                                                               \
        HRESULT hr_ = (expr);                                                                                          \
        if (FAILED(hr_))                                                                                               \
            return Log::Failed(channel, L## #expr, hr_);                                                               \
    } while (0)
