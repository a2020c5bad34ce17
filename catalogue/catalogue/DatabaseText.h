#pragma once
// The text of the catalogue database files: one full path per line, CR LF, in the system's
// 8-bit (ANSI) code page; a file in which some path has no form in that code page is written
// as UTF-8 with a byte order mark instead. Portable: the code page conversion is passed in.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace DatabaseText {

// The 8-bit code page of the system.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // Appends the text in the code page; false when some character has no form there.
    virtual bool Encode(std::wstring_view text, std::string& out) const = 0;
    virtual std::wstring Decode(std::string_view bytes) const = 0;
};

// Latin-1: every character up to U+00FF. For tests and for systems without a code page of
// their own.
class Latin1CodePage : public AnsiCodePage {
public:
    bool Encode(std::wstring_view text, std::string& out) const override;
    std::wstring Decode(std::string_view bytes) const override;
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void AppendUtf8(std::wstring_view text, std::string& out);
// Invalid sequences become U+FFFD.
std::wstring DecodeUtf8(std::string_view bytes);

// The category id of a database file name: decimal digits followed by ".dat" in any case,
// 0 to 99. Anything else is not a database file.
std::optional<int> CategoryIdOfFileName(std::wstring_view name);

// Encodes the lines of one file. Start with Ansi; when AppendLine answers false the caller
// starts the file again with Utf8 (which never fails).
enum class Encoding { Ansi, Utf8 };
std::string FileStart(Encoding encoding);
bool AppendLine(std::wstring_view path, Encoding encoding, const AnsiCodePage& ansi, std::string& out);

// CRC-32 (the polynomial of ZIP and PNG), continued from crc; 0 to start.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Where a file's bytes go, in pieces; Restart starts the file again, empty.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(std::string_view bytes) = 0;
    virtual bool Restart() = 0;
};

// Writes a database file of count lines, line(k) giving the k-th path: in the ANSI code page
// while every path has a form there, otherwise the whole file again as UTF-8. The bytes go to
// the sink in pieces of about 256 KB. goOn is asked before every line; when it answers false
// the writing stops as Cancelled. size and check are the bytes written and their CRC-32.
enum class WriteOutcome { Written, Cancelled, Failed };
struct WrittenText {
    WriteOutcome outcome = WriteOutcome::Failed;
    uint64_t size = 0;
    uint32_t check = 0;
};
WrittenText WriteLines(size_t count, const std::function<std::wstring(size_t)>& line, const AnsiCodePage& ansi,
                       ByteSink& sink, const std::function<bool()>& goOn);

// Splits the bytes of a database file into lines, handed on one by one without their line
// break (CR LF, LF or CR); empty lines are dropped. The encoding is taken from the first bytes:
// UTF-8 after a byte order mark, otherwise the ANSI code page. Bytes may come in pieces of any
// size; a line is never cut.
class LineReader {
public:
    using LineHandler = std::function<void(const std::wstring& line)>;
    LineReader(const AnsiCodePage& ansi, LineHandler handler);

    void Feed(std::string_view bytes);
    void Finish();

private:
    void EmitLine(std::string_view bytes);

    const AnsiCodePage& m_ansi;
    LineHandler m_handler;
    std::string m_pending;
    std::wstring m_line; // the line handed on, its room kept for the next
    bool m_started = false;
    bool m_utf8 = false;
};

} // namespace DatabaseText
