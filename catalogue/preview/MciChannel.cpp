#include "MciChannel.h"

#include "../../common/Log.h"

#include <windows.h>

#include <mmsystem.h>

namespace {

class SystemChannel : public MciChannel {
public:
    MciAnswer Send(const std::wstring& command) override
    {
        // MCI answers are numbers, modes and short lists: 128 characters hold any of them.
        wchar_t text[128] = L"";
        MciAnswer answer;
        answer.error = mciSendStringW(command.c_str(), text, ARRAYSIZE(text), nullptr);
        if (answer.error && !mciGetErrorStringW(answer.error, text, ARRAYSIZE(text)))
            text[0] = L'\0';
        answer.text = text;
        Log::Write(LogLevel::Debug, L"mci", L"%ls -> %lu %ls", command.c_str(), answer.error, text);
        return answer;
    }
};

} // namespace

std::unique_ptr<MciChannel> SystemMci()
{
    return std::make_unique<SystemChannel>();
}
