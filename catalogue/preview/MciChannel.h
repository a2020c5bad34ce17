#pragma once
// The way to the system's media control interface (MCI): command strings in, answers out. The
// sound and film viewer talks to its player only through it, so that tests can put a recording
// channel in its place.

#include <memory>
#include <string>

struct MciAnswer {
    unsigned long error = 0; // 0: done
    // The answer of a command that was done; the error's description of one that failed.
    std::wstring text;
};

class MciChannel {
public:
    virtual ~MciChannel() = default;
    virtual MciAnswer Send(const std::wstring& command) = 0;
};

// The system's channel: mciSendStringW.
std::unique_ptr<MciChannel> SystemMci();
