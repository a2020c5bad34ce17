#include "DatabaseText.h"

#include <cstdint>

namespace DatabaseText {

bool Latin1CodePage::Encode(std::wstring_view text, std::string& out) const
{
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) > 0xFF)
            return false;
        out.push_back(static_cast<char>(c));
    }
    return true;
}

std::wstring Latin1CodePage::Decode(std::string_view bytes) const
{
    std::wstring text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

void AppendUtf8(std::wstring_view text, std::string& out)
{
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (sizeof(wchar_t) == 4)
            c = static_cast<uint32_t>(text[i]);
        else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(text[++i]) - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD; // a lone surrogate has no UTF-8 form
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

std::wstring DecodeUtf8(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead < 0x80             ? 0
                    : (lead & 0xE0) == 0xC0 ? 1
                    : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3
                                            : -1;
        uint32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = extra >= 0 && i + extra < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (next & 0x3F);
        }
        static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (valid && (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            valid = false;
        if (!valid) {
            text.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
            continue;
        }
        i += extra + 1;
        if (c >= 0x10000 && sizeof(wchar_t) == 2) {
            c -= 0x10000;
            text.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
        } else {
            text.push_back(static_cast<wchar_t>(c));
        }
    }
    return text;
}

std::optional<int> CategoryIdOfFileName(std::wstring_view name)
{
    if (name.size() < 5)
        return std::nullopt;
    std::wstring_view digits = name.substr(0, name.size() - 4);
    std::wstring_view extension = name.substr(name.size() - 4);
    static const wchar_t kDat[] = L".DAT";
    for (size_t i = 0; i < 4; ++i) {
        wchar_t c = extension[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != kDat[i])
            return std::nullopt;
    }
    if (digits.empty() || digits.size() > 2)
        return std::nullopt;
    int id = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        id = id * 10 + (c - L'0');
    }
    return id;
}

std::string FileStart(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? std::string(kUtf8Bom) : std::string();
}

bool AppendLine(std::wstring_view path, Encoding encoding, const AnsiCodePage& ansi, std::string& out)
{
    if (encoding == Encoding::Utf8) {
        AppendUtf8(path, out);
    } else {
        const size_t before = out.size();
        if (!ansi.Encode(path, out)) {
            out.resize(before);
            return false;
        }
    }
    out += "\r\n";
    return true;
}

LineReader::LineReader(const AnsiCodePage& ansi, LineHandler handler) : m_ansi(ansi), m_handler(std::move(handler))
{
}

void LineReader::Feed(std::string_view bytes)
{
    m_pending.append(bytes.data(), bytes.size());
    if (!m_started) {
        if (m_pending.size() < kUtf8Bom.size() && kUtf8Bom.substr(0, m_pending.size()) == m_pending)
            return; // perhaps the start of a byte order mark: wait for more
        m_started = true;
        if (m_pending.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
            m_utf8 = true;
            m_pending.erase(0, kUtf8Bom.size());
        }
    }
    size_t start = 0;
    for (;;) {
        size_t end = m_pending.find_first_of("\r\n", start);
        // A CR at the very end may be the first half of CR LF: keep it for the next piece.
        if (end == std::string::npos || (m_pending[end] == '\r' && end + 1 == m_pending.size()))
            break;
        EmitLine(std::string_view(m_pending).substr(start, end - start));
        start = end + 1;
        if (m_pending[end] == '\r' && m_pending[start] == '\n')
            ++start;
    }
    m_pending.erase(0, start);
}

void LineReader::Finish()
{
    if (!m_started && !m_pending.empty()) {
        m_started = true;
    }
    size_t end = m_pending.find_first_of("\r\n");
    EmitLine(std::string_view(m_pending).substr(0, end));
    m_pending.clear();
}

void LineReader::EmitLine(std::string_view bytes)
{
    if (bytes.empty())
        return;
    m_handler(m_utf8 ? DecodeUtf8(bytes) : m_ansi.Decode(bytes));
}

} // namespace DatabaseText
