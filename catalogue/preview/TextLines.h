#pragma once
// A plain text held whole in memory with the start of each of its lines, for a view that lays
// out only the lines on screen. Lines end at CR LF, LF or a lone CR; a line longer than
// kMaxLineChars is shown as several lines of at most that many characters, so that no single
// line costs more to measure and draw than a screen's worth. Portable.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TextLines {
public:
    static constexpr uint32_t kMaxLineChars = 8192;

    void Assign(std::wstring text);
    void Clear() { Assign(std::wstring()); }

    const std::wstring& Text() const { return m_text; }
    // At least one line, also for an empty text; a text ending in a line break has an empty
    // last line.
    uint32_t Count() const { return static_cast<uint32_t>(m_starts.size()); }
    uint32_t Start(uint32_t line) const { return m_starts[line]; }
    // Without its line break.
    uint32_t Length(uint32_t line) const;
    std::wstring_view Line(uint32_t line) const { return std::wstring_view(m_text).substr(Start(line), Length(line)); }
    // The line holding a text offset: an offset on a line break belongs to the line it ends,
    // the end of a piece of a long line is the start of the next piece.
    uint32_t LineOf(uint32_t offset) const;
    // The line with the most characters: the one to measure for the width of the text.
    uint32_t LongestLine() const { return m_longest; }

private:
    std::wstring m_text;
    std::vector<uint32_t> m_starts{0};
    uint32_t m_longest = 0;
};

// The text between two offsets as the clipboard wants it: every line break as CR LF.
std::wstring ClipboardText(std::wstring_view text, size_t from, size_t to);

// How the bytes of a plain text file are encoded, told by their byte order mark: UTF-8 or
// UTF-16 (little endian) with their mark, the system's ANSI code page without one.
enum class TextEncoding { Ansi, Utf8, Utf16 };
struct TextStart {
    TextEncoding encoding;
    size_t markSize; // bytes of the byte order mark, skipped when decoding
};
TextStart DetectTextEncoding(std::string_view bytes);
