#include "setup/UninstallLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace UninstallLog;
using SetupTexts::Id;

const std::wstring kFolder = L"C:\\Program Files\\Sortaro";

std::wstring Text(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    return text;
}

TEST(UninstallLog, RecordsSurviveTheRoundTrip)
{
    // Kind, path, root, value name, language, and a replaced value's type and data.
    const std::vector<Record> records = {
        {Kind::Language, L"", L"", L"", false, {}, {}},
        {Kind::Folder, kFolder, L"", L"", true, {}, {}},
        {Kind::File, kFolder + L"\\Sortaro.exe", L"", L"", true, {}, {}},
        {Kind::File, kFolder + L"\\50%\ttab\r\nbreak.txt", L"", L"", true, {}, {}}, // escapes: %, tab, CR, LF
        {Kind::Shortcut, L"\\\\server\\share\\Sortaro.lnk", L"", L"", true, {}, {}},
        {Kind::Catalogue, kFolder + L"\\Data", L"", L"", true, {}, {}},
        {Kind::Key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sortaro", L"HKLM", L"", true, {}, {}},
        {Kind::Value, L"Software\\Sortaro\\Options", L"HKCU", L"language", true, {}, {}},
        {Kind::Value, L"S-1-5-21\\Software\\Sortaro", L"HKUS", L"InstallDir", true, 1, {'C', 0, ':', 0, 0, 0}},
        {Kind::Value, L"Software\\Sortaro", L"HKCU", L"", true, 3, {}},
    };
    std::wstring text = HeaderLine(kProduct, kFolder) + L"\r\n";
    for (const Record& record : records)
        text += RecordLine(record) + L"\r\n";
    ParseResult parsed = Parse(text, kProduct, kFolder);
    ASSERT_TRUE(parsed.log) << static_cast<int>(parsed.error) << " line " << parsed.line;
    EXPECT_EQ(parsed.log->records, records);
    EXPECT_FALSE(parsed.log->German());
    EXPECT_EQ(parsed.log->Catalogue(), kFolder + L"\\Data");
    EXPECT_EQ(RecordLine(records[8]), L"Value\tHKUS\tS-1-5-21\\Software\\Sortaro\tInstallDir\t1\t43003A000000");
}

TEST(UninstallLog, RefusesWhatItCannotTrust)
{
    const std::wstring header = HeaderLine(kProduct, kFolder);
    struct Case {
        const char* what;
        std::wstring text;
        Id error; // Id::Count: accepted
        std::size_t line;
        std::size_t records;
    };
    const Case cases[] = {
        {"header only", Text({header}), Id::Count, 0, 0},
        {"folder in another case with a final backslash",
         Text({HeaderLine(kProduct, L"c:\\program files\\SORTARO\\"), L"File\tC:\\x\\a"}), Id::Count, 0, 1},
        {"empty file", L"", Id::LogBadHeader, 1, 0},
        {"not a log", Text({L"[AppName]", L"Sortaro;"}), Id::LogBadHeader, 1, 0},
        {"unknown version", Text({L"SORTARO-UNINSTALL\t2\tSortaro\t" + kFolder}), Id::LogUnknownVersion, 1, 0},
        {"another product", Text({HeaderLine(L"Other", kFolder)}), Id::LogOtherProduct, 1, 0},
        {"another folder", Text({HeaderLine(kProduct, L"D:\\Sortaro")}), Id::LogOtherFolder, 1, 0},
        {"folder is a drive root", Text({HeaderLine(kProduct, L"C:\\")}), Id::LogOtherFolder, 1, 0},
        {"unknown record", Text({header, L"Delete\tC:\\x"}), Id::LogBadRecord, 2, 0},
        {"blank line", Text({header, L"File\tC:\\x\\a", L"", L"File\tC:\\x\\b"}), Id::LogBadRecord, 3, 0},
        {"relative path", Text({header, L"File\tSortaro.exe"}), Id::LogBadRecord, 2, 0},
        {"drive root", Text({header, L"Folder\tC:\\"}), Id::LogBadRecord, 2, 0},
        {"dot-dot", Text({header, L"File\tC:\\x\\..\\Windows\\a.dll"}), Id::LogBadRecord, 2, 0},
        {"empty name", Text({header, L"Folder\tC:\\x\\\\y"}), Id::LogBadRecord, 2, 0},
        {"bare UNC share", Text({header, L"Folder\t\\\\server\\share"}), Id::LogBadRecord, 2, 0},
        {"extra field", Text({header, L"File\tC:\\x\\a\tmore"}), Id::LogBadRecord, 2, 0},
        {"catalogue outside the folder", Text({header, L"Catalogue\tC:\\Data"}), Id::LogBadRecord, 2, 0},
        {"catalogue is the folder itself", Text({header, L"Catalogue\t" + kFolder}), Id::LogBadRecord, 2, 0},
        {"unknown registry root", Text({header, L"Key\tHKXX\tSoftware\\Sortaro"}), Id::LogBadRecord, 2, 0},
        {"key path of a root", Text({header, L"Key\tHKCU\t"}), Id::LogBadRecord, 2, 0},
        {"value with five fields", Text({header, L"Value\tHKCU\tSoftware\\S\tx\t1"}), Id::LogBadRecord, 2, 0},
        {"odd hex", Text({header, L"Value\tHKCU\tSoftware\\S\tx\t1\tABC"}), Id::LogBadRecord, 2, 0},
        {"lower-case hex", Text({header, L"Value\tHKCU\tSoftware\\S\tx\t1\tab"}), Id::LogBadRecord, 2, 0},
        {"negative type", Text({header, L"Value\tHKCU\tSoftware\\S\tx\t-1\t00"}), Id::LogBadRecord, 2, 0},
        {"unknown escape", Text({header, L"File\tC:\\x\\%41"}), Id::LogBadRecord, 2, 0},
        {"escape cut short", Text({header, L"File\tC:\\x\\a%2"}), Id::LogBadRecord, 2, 0},
        {"unknown language", Text({header, L"Language\tFR"}), Id::LogBadRecord, 2, 0},
        // A record cut off while it was written is the end of a cancelled installation.
        {"last line cut off", Text({header, L"File\tC:\\x\\a"}) + L"Fil", Id::Count, 0, 1},
        {"last line complete but broken", Text({header, L"File\tC:\\x\\a", L"Fil"}), Id::LogBadRecord, 3, 0},
        {"cut-off line in the middle", Text({header}) + L"Fil\rFile\tC:\\x\\a", Id::LogBadRecord, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParseResult parsed = Parse(c.text, kProduct, kFolder);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.line, c.line);
        EXPECT_EQ(parsed.log ? parsed.log->records.size() : 0u, c.records);
        EXPECT_EQ(parsed.log.has_value(), c.error == Id::Count);
    }
}

TEST(UninstallLog, InsideTheFolder)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        bool inside;
    };
    const Case cases[] = {
        {L"C:\\Programme\\Sortaro\\Data", L"C:\\Programme\\Sortaro", true},
        {L"c:\\programme\\sortaro\\data", L"C:\\Programme\\Sortaro\\", true},
        {L"C:\\Programme\\Sortaro", L"C:\\Programme\\Sortaro", false},
        {L"C:\\Programme\\Sortaro2\\Data", L"C:\\Programme\\Sortaro", false},
        {L"C:\\Programme", L"C:\\Programme\\Sortaro", false},
        {L"C:\\Data", L"C:\\", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInside(c.path, c.folder), c.inside) << c.path << L" in " << c.folder;
}

} // namespace
