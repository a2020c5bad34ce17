#include "DatabaseText.h"

#include <array>
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
    const char* bytesRead = m_pending.data();
    const size_t size = m_pending.size();
    for (;;) {
        // A plain loop: the line ends are searched in every byte of the catalogue.
        size_t end = start;
        while (end < size && bytesRead[end] != '\n' && bytesRead[end] != '\r')
            ++end;
        // A CR at the very end may be the first half of CR LF: keep it for the next piece.
        if (end == size || (bytesRead[end] == '\r' && end + 1 == size))
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
    // Most lines are ASCII, which every ANSI code page and UTF-8 read alike: widened into the
    // text of the line before, without a conversion or an allocation.
    const auto* unsignedBytes = reinterpret_cast<const unsigned char*>(bytes.data());
    unsigned char any = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        any |= unsignedBytes[i];
    if (any < 0x80) {
        m_line.resize(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i)
            m_line[i] = static_cast<wchar_t>(unsignedBytes[i]);
    } else {
        m_line = m_utf8 ? DecodeUtf8(bytes) : m_ansi.Decode(bytes);
    }
    m_handler(m_line);
}

namespace {

// Eight tables: the CRC goes eight bytes a step (every load checks each database file whole).
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

CrcTables MakeCrcTables()
{
    CrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
        for (size_t t = 1; t < tables.size(); ++t)
            tables[t][n] = (tables[t - 1][n] >> 8) ^ tables[0][tables[t - 1][n] & 0xFF];
    return tables;
}

uint32_t Word(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

} // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t size)
{
    static const CrcTables tables = MakeCrcTables();
    const auto* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    while (size >= 8) {
        const uint32_t low = crc ^ Word(bytes);
        const uint32_t high = Word(bytes + 4);
        crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
              tables[4][low >> 24] ^ tables[3][high & 0xFF] ^ tables[2][(high >> 8) & 0xFF] ^
              tables[1][(high >> 16) & 0xFF] ^ tables[0][high >> 24];
        bytes += 8;
        size -= 8;
    }
    while (size--)
        crc = tables[0][(crc ^ *bytes++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

namespace {

// Hands bytes on to a sink in pieces and keeps their count and CRC.
class CountedOutput {
public:
    explicit CountedOutput(ByteSink& sink) : m_sink(sink) {}
    std::string& Buffer() { return m_buffer; }
    bool Flush()
    {
        m_size += m_buffer.size();
        m_check = Crc32(m_check, m_buffer.data(), m_buffer.size());
        const bool ok = m_buffer.empty() || m_sink.Write(m_buffer);
        m_buffer.clear();
        return ok;
    }
    bool Restart()
    {
        m_buffer.clear();
        m_size = 0;
        m_check = 0;
        return m_sink.Restart();
    }
    uint64_t Size() const { return m_size; }
    uint32_t Check() const { return m_check; }

private:
    ByteSink& m_sink;
    std::string m_buffer;
    uint64_t m_size = 0;
    uint32_t m_check = 0;
};

constexpr size_t kFlushSize = 256 * 1024;

} // namespace

WrittenText WriteLines(size_t count, const std::function<std::wstring(size_t)>& line, const AnsiCodePage& ansi,
                       ByteSink& sink, const std::function<bool()>& goOn)
{
    WrittenText result;
    CountedOutput out(sink);
    for (Encoding encoding : {Encoding::Ansi, Encoding::Utf8}) {
        out.Buffer() = FileStart(encoding);
        bool complete = true;
        for (size_t k = 0; k < count; ++k) {
            if (!goOn()) {
                result.outcome = WriteOutcome::Cancelled;
                return result;
            }
            if (!AppendLine(line(k), encoding, ansi, out.Buffer())) {
                complete = false;
                break;
            }
            if (out.Buffer().size() >= kFlushSize && !out.Flush())
                return result;
        }
        if (complete)
            break;
        // A path the code page cannot hold: the whole file again, as UTF-8.
        if (!out.Restart())
            return result;
    }
    if (!out.Flush())
        return result;
    result = {WriteOutcome::Written, out.Size(), out.Check()};
    return result;
}

} // namespace DatabaseText
