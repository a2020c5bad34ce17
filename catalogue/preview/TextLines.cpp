#include "TextLines.h"

#include <algorithm>

void TextLines::Assign(std::wstring text)
{
    m_text = std::move(text);
    m_starts.assign(1, 0);
    m_longest = 0;
    uint32_t longestLength = 0;
    const wchar_t* const begin = m_text.data();
    const size_t size = m_text.size();
    size_t lineStart = 0;
    auto endLine = [&](size_t contentEnd, size_t next) {
        const uint32_t length = static_cast<uint32_t>(contentEnd - lineStart);
        if (length > longestLength) {
            longestLength = length;
            m_longest = Count() - 1;
        }
        m_starts.push_back(static_cast<uint32_t>(next));
        lineStart = next;
    };
    for (size_t at = 0; at < size;) {
        const wchar_t c = begin[at];
        if (c == L'\n') {
            endLine(at, at + 1);
            ++at;
        } else if (c == L'\r') {
            const size_t next = at + 1 < size && begin[at + 1] == L'\n' ? at + 2 : at + 1;
            endLine(at, next);
            at = next;
        } else if (at - lineStart == kMaxLineChars) {
            endLine(at, at);
        } else {
            ++at;
        }
    }
    const uint32_t lastLength = static_cast<uint32_t>(size - lineStart);
    if (lastLength > longestLength)
        m_longest = Count() - 1;
}

uint32_t TextLines::Length(uint32_t line) const
{
    const uint32_t start = m_starts[line];
    uint32_t end = line + 1 < Count() ? m_starts[line + 1] : static_cast<uint32_t>(m_text.size());
    if (end > start && m_text[end - 1] == L'\n')
        --end;
    if (end > start && m_text[end - 1] == L'\r')
        --end;
    return end - start;
}

uint32_t TextLines::LineOf(uint32_t offset) const
{
    const auto after = std::upper_bound(m_starts.begin() + 1, m_starts.end(), offset);
    return static_cast<uint32_t>(after - m_starts.begin()) - 1;
}

std::wstring ClipboardText(std::wstring_view text, size_t from, size_t to)
{
    to = std::min(to, text.size());
    std::wstring out;
    out.reserve(to > from ? to - from : 0);
    for (size_t at = from; at < to; ++at) {
        const wchar_t c = text[at];
        if (c == L'\r') {
            out += L"\r\n";
            if (at + 1 < to && text[at + 1] == L'\n')
                ++at;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

TextStart DetectTextEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return {TextEncoding::Utf8, 3};
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return {TextEncoding::Utf16, 2};
    return {TextEncoding::Ansi, 0};
}
