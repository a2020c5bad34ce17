#include "catalogue/filelist/ListCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ListCsv, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    const struct {
        std::vector<std::wstring> fields;
        wchar_t separator;
        std::string line;
    } cases[] = {
        {{L"a", L"b c"}, L';', "a;b c\r\n"},
        {{L"", L""}, L',', ",\r\n"},
        {{L"a;b", L"c,d"}, L';', "\"a;b\";c,d\r\n"},
        {{L"a;b", L"c,d"}, L',', "a;b,\"c,d\"\r\n"},
        {{L"say \"hi\""}, L';', "\"say \"\"hi\"\"\"\r\n"},
        {{L"two\r\nlines", L"x\ny"}, L';', "\"two\r\nlines\";\"x\ny\"\r\n"},
        {{L"Geändert am", L"\u20AC"}, L';', "Ge\xC3\xA4ndert am;\xE2\x82\xAC\r\n"},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        ListCsv::AppendLine(c.fields.data(), c.fields.size(), c.separator, out);
        EXPECT_EQ(out, "x" + c.line);
    }
}

} // namespace
