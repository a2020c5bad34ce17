#include "catalogue/archive/ArcList.h"

#include "catalogue/archive/ArcFile.h"

#include <cstdio>

namespace {

std::string Number(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    return text;
}

std::string Hex(uint32_t value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", width, value);
    return text;
}

// The DOS attribute letters the catalogue shows: read-only, hidden, system, volume, directory,
// archive.
std::string AttributeLetters(uint32_t attributes)
{
    const char* const letters = "RHSVDA";
    std::string text;
    for (int bit = 0; bit < 6; ++bit)
        text.push_back((attributes >> bit) & 1 ? letters[bit] : '-');
    return text;
}

// Tabs and line breaks inside a name would break a tab-separated line.
std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

std::string ArcList::FormatDate(double days)
{
    int year, month, day, hour, minute, second;
    DaysToCivil(days, year, month, day, hour, minute, second);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

std::string ArcList::JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
    return out;
}

std::string ArcList::ArchiveLine(Format format, const std::wstring& archive, TArcType type, uint64_t start)
{
    const std::string name = EncodeUtf8(archive);
    switch (format) {
    case Format::Json:
        return "{\"archive\":" + JsonString(name) + ",\"type\":\"" + ArcTypeName(type) +
               "\",\"start\":" + Number(start) + "}\n";
    case Format::Tsv:
        return "archive\t" + TsvField(name) + "\t" + ArcTypeName(type) + "\t" + Number(start) + "\n";
    case Format::Text:
        break;
    }
    return name + ": " + ArcTypeName(type) + ", start offset " + Number(start) + "\n";
}

std::string ArcList::EntryLine(Format format, const TArcEntry& e)
{
    const std::string name = EncodeUtf8(e.FileName);
    const std::string method = EncodeUtf8(e.MethodText);
    switch (format) {
    case Format::Json:
        return "{\"name\":" + JsonString(name) + ",\"date\":\"" + FormatDate(e.Date) +
               "\",\"packed\":" + Number(e.PackedSize) + ",\"unpacked\":" + Number(e.UnpackedSize) +
               ",\"method\":" + JsonString(method) + ",\"crc\":\"" + Hex(e.Crc, 8) +
               "\",\"attributes\":" + Number(e.ExternalAttr) + ",\"encrypted\":" + (e.Encrypted ? "true" : "false") +
               ",\"ratio\":" + Number(static_cast<uint64_t>(e.Ratio)) + ",\"offset\":" + Number(e.HeaderOffset) + "}\n";
    case Format::Tsv:
        return TsvField(name) + "\t" + FormatDate(e.Date) + "\t" + Number(e.PackedSize) + "\t" +
               Number(e.UnpackedSize) + "\t" + TsvField(method) + "\t" + Hex(e.Crc, 8) + "\t" + Hex(e.ExternalAttr, 4) +
               "\n";
    case Format::Text:
        break;
    }
    char sizes[48];
    std::snprintf(sizes, sizeof sizes, "%10llu %10llu", static_cast<unsigned long long>(e.PackedSize),
                  static_cast<unsigned long long>(e.UnpackedSize));
    std::string padded = method;
    if (padded.size() < 11)
        padded.resize(11, ' ');
    return "  " + FormatDate(e.Date) + " " + sizes + " " + padded + " " + Hex(e.Crc, 8) + " " +
           AttributeLetters(e.ExternalAttr) + "  " + name + "\n";
}

std::string ArcList::TotalsLine(Format format, size_t count, uint64_t packed, uint64_t unpacked)
{
    if (format != Format::Text)
        return std::string();
    return "  " + Number(count) + (count == 1 ? " entry, " : " entries, ") + Number(packed) + " packed, " +
           Number(unpacked) + " unpacked, " + Number(static_cast<uint64_t>(CompressionRatio(packed, unpacked))) +
           "% saved\n";
}

std::string ArcList::ErrorLine(Format format, const std::wstring& archive, TArcType type, const std::string& message)
{
    const std::string name = EncodeUtf8(archive);
    switch (format) {
    case Format::Json:
        return "{\"archive\":" + JsonString(name) + ",\"type\":\"" + ArcTypeName(type) +
               "\",\"error\":" + JsonString(message) + "}\n";
    case Format::Tsv:
        return "error\t" + TsvField(name) + "\t" + ArcTypeName(type) + "\t" + TsvField(message) + "\n";
    case Format::Text:
        break;
    }
    return name + ": " + ArcTypeName(type) + ", " + message + "\n";
}
