#include "catalogue/archive/ArcCommon.h"

namespace {

// Case folding for name comparison: ASCII and the Latin-1 letters, which covers what DOS and
// Windows archivers write; other characters compare as they are.
wchar_t Fold(wchar_t c)
{
    if (c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<wchar_t>(c - 32);
    return c;
}

// Glob match with "*" (any run) and "?" (one character), without regard to case. Iterative
// with one back-track point, so hostile patterns cannot make it exponential.
bool Glob(const std::wstring& text, const std::wstring& pattern)
{
    size_t t = 0;
    size_t p = 0;
    size_t starP = std::wstring::npos;
    size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(text[t]))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starT = t;
        } else if (starP != std::wstring::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

std::wstring WithoutTrailingDot(std::wstring s)
{
    if (!s.empty() && s.back() == L'.')
        s.pop_back();
    return s;
}

void Split(const std::wstring& path, std::wstring& dir, std::wstring& file, std::wstring& ext)
{
    const size_t slash = path.rfind(L'\\');
    dir = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    file = WithoutTrailingDot(slash == std::wstring::npos ? path : path.substr(slash + 1));
    const size_t dot = file.rfind(L'.');
    ext = dot == std::wstring::npos ? std::wstring() : file.substr(dot + 1);
}

} // namespace

bool TArcCommon::MatchesPattern(const std::wstring& name, const std::wstring& pattern)
{
    if (name.empty())
        return false;
    if (pattern == L"*.*")
        return true;
    std::wstring nameDir, nameFile, nameExt, patDir, patFile, patExt;
    Split(name, nameDir, nameFile, nameExt);
    Split(pattern, patDir, patFile, patExt);
    if (!Glob(nameFile, patFile) || !Glob(nameExt, patExt))
        return false;
    if (pattern.find(L'\\') != std::wstring::npos && !Glob(nameDir, patDir))
        return false;
    return true;
}

bool TArcCommon::CheckWildCard(const std::wstring& name) const
{
    if (name.empty())
        return false;
    bool accepted = false;
    for (const std::wstring& pattern : FileSpec) {
        if (MatchesPattern(name, pattern)) {
            accepted = true;
            break;
        }
    }
    if (!accepted)
        return false;
    for (const std::wstring& pattern : ExcludeSpec)
        if (MatchesPattern(name, pattern))
            return false;
    return true;
}
