// Documents in the text viewer through the converters registered for Word 97: one whose
// library is missing is passed over, and a failed conversion falls through to the plain load.

#include "AppFixture.h"
#include "catalogue/preview/PreviewIds.h"
#include "catalogue/preview/PreviewPane.h"
#include "catalogue/preview/RtfConverter.h"
#include "catalogue/preview/TextViewer.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace {

const std::filesystem::path kFolder = L"C:\\sortaro-convert";
const std::wstring kConverters = L"Software\\Microsoft\\Office\\8.0\\Word\\Text Converters";

class ConverterTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::filesystem::create_directory(kFolder);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        PathRemoveFileSpecW(self);
        converter = std::wstring(self) + L"\\" SORTARO_TEST_CONVERTER; // built beside the tests
        for (const auto& [key, name, path] : std::vector<std::array<std::wstring, 3>>{
                 {L"Fehlt", L"Fehlender Konverter", L"C:\\nirgends\\fehlt.cnv"}, {L"Test", L"Testformat", converter}}) {
            WineTest::SetValue(kConverters + L"\\Import\\" + key, L"Name", name);
            WineTest::SetValue(kConverters + L"\\Import\\" + key, L"Extensions", L"sdoc");
            WineTest::SetValue(kConverters + L"\\Import\\" + key, L"Path", path);
        }
        WineTest::SetOption(L"Vorschau", L"Textdatei", L".TXT.SDOC");
    }

    void TearDown() override
    {
        AppTest::TearDown();
        SHDeleteKeyW(HKEY_CURRENT_USER, kConverters.c_str());
        std::filesystem::remove_all(kFolder);
    }

    std::wstring converter;
};

TEST_F(ConverterTest, DocumentsConvertedFailuresLoadedPlain)
{
    StartToMainWindow(false);
    const auto* viewer = static_cast<const TextViewer*>(main->Preview()->ViewerOf(ViewerKind::Text));
    EXPECT_EQ(viewer->Filter(), L"Fehlender Konverter - Word 97 (*.sdoc)|*.sdoc|Testformat - Word 97 (*.sdoc)|*.sdoc");
    const struct {
        const wchar_t* name;
        const char* bytes;
        const wchar_t* shown;
    } cases[] = {
        {L"brief.sdoc", "SORTARODOC Hallo {\\b fett}", L"Hallo fett"}, // after the missing library
        {L"halb.sdoc", "SORTAROBAD Rest", L"SORTAROBAD Rest"},         // failed after half a document
        {L"fremd.sdoc", "etwas anderes", L"etwas anderes"},            // not the converter's format
        {L"notiz.txt", "SORTARODOC Text", L"SORTARODOC Text"},         // no converter for .TXT
    };
    for (const auto& c : cases) {
        PreviewFile file{(kFolder / c.name).wstring(), strlen(c.bytes), L""};
        std::ofstream(std::filesystem::path(file.path), std::ios::binary) << c.bytes;
        main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &file);
        EXPECT_EQ(WineTest::WindowText(GetDlgItem(main->Preview()->Hwnd(), IDC_PREVIEW_TEXT)), c.shown) << c.name;
    }

    // The converter's callback knows no instance but the one loaded.
    std::wstring error;
    const auto loaded = TRtfConverter::Create(main->Hwnd(), converter, error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_FALSE(TRtfConverter::Create(main->Hwnd(), converter, error));
    EXPECT_EQ(error, L"Program attempted to create multiple instances of the TRtfConverter class.");
}

} // namespace
