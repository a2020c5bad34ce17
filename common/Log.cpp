#include "Log.h"

#include <cstdarg>
#include <cwchar>
#include <string>

namespace {

struct LogConfig {
    bool enabled = false;
    bool debug = false;
    std::wstring channels; // empty = every channel
    std::wstring file;
};

std::wstring Env(const wchar_t* name)
{
    wchar_t buffer[512];
    DWORD n = GetEnvironmentVariableW(name, buffer, ARRAYSIZE(buffer));
    return (n > 0 && n < ARRAYSIZE(buffer)) ? std::wstring(buffer, n) : std::wstring();
}

const LogConfig& Config()
{
    static const LogConfig config = [] {
        LogConfig c;
        std::wstring setting = Env(L"SORTARO_LOG");
        if (setting.empty())
            return c;
        c.enabled = true;
        c.debug = setting.find(L"debug") != std::wstring::npos;
        if (setting.find(L"all") == std::wstring::npos)
            c.channels = L"," + setting + L",";
        c.file = Env(L"SORTARO_LOG_FILE");
        return c;
    }();
    return config;
}

bool ChannelOn(const LogConfig& c, const wchar_t* channel)
{
    return c.channels.empty() || c.channels.find(std::wstring(L",") + channel + L",") != std::wstring::npos;
}

const wchar_t* LevelName(LogLevel level)
{
    switch (level) {
    case LogLevel::Error:
        return L"error";
    case LogLevel::Warning:
        return L"warning";
    case LogLevel::Info:
        return L"info";
    case LogLevel::Debug:
        return L"debug";
    }
    return L"?";
}

void AppendToFile(const std::wstring& path, const std::wstring& line)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

namespace Log {

void Write(LogLevel level, const wchar_t* channel, const wchar_t* format, ...)
{
    const LogConfig& c = Config();
    if (!c.enabled || (level == LogLevel::Debug && !c.debug) || !ChannelOn(c, channel))
        return;
    wchar_t text[1024];
    va_list args;
    va_start(args, format);
    _vsnwprintf(text, ARRAYSIZE(text) - 1, format, args);
    va_end(args);
    text[ARRAYSIZE(text) - 1] = L'\0';
    std::wstring line = std::wstring(L"Sortaro ") + channel + L" " + LevelName(level) + L": " + text + L"\r\n";
    OutputDebugStringW(line.c_str());
    if (!c.file.empty())
        AppendToFile(c.file, line);
}

bool LastError(const wchar_t* channel, const wchar_t* what)
{
    DWORD error = GetLastError();
    Write(LogLevel::Error, channel, L"%ls failed, error %lu", what, error);
    return false;
}

HRESULT Failed(const wchar_t* channel, const wchar_t* what, HRESULT hr)
{
    Write(LogLevel::Error, channel, L"%ls failed, hr 0x%08lx", what, static_cast<unsigned long>(hr));
    return hr;
}

} // namespace Log
