#include "LocaleUpperCase.h"

#include <windows.h>

#include <algorithm>
#include <vector>

const UpperCaseTable& LocaleUpperCase()
{
    static const UpperCaseTable table([](wchar_t* text, size_t length) {
        std::vector<wchar_t> upper(length);
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text, static_cast<int>(length), upper.data(),
                         static_cast<int>(length)) == static_cast<int>(length))
            std::copy(upper.begin(), upper.end(), text);
        else
            CharUpperBuffW(text, static_cast<DWORD>(length));
    });
    return table;
}
