#include "MediaTime.h"

namespace {

std::wstring TwoDigits(uint64_t value)
{
    const std::wstring digits = std::to_wstring(value);
    return digits.size() < 2 ? L"0" + digits : digits;
}

} // namespace

std::wstring MediaTimeText(uint64_t milliseconds)
{
    const uint64_t seconds = milliseconds / 1000;
    const uint64_t hours = seconds / 3600;
    const uint64_t minutes = (seconds - 3600 * hours) / 60;
    return TwoDigits(hours) + L":" + TwoDigits(minutes) + L":" + TwoDigits(seconds - 3600 * hours - 60 * minutes);
}
