// Office documents in the text viewer: the converters registered for Word 97 of the current
// user are offered the files of their patterns in description order. One whose library is
// missing is passed over, and a failed conversion falls through to the viewer's own load.

#include "AppFixture.h"
#include "catalogue/preview/PreviewIds.h"
#include "catalogue/preview/PreviewPane.h"
#include "catalogue/preview/RtfConverter.h"
#include "catalogue/preview/TextViewer.h"

#include <filesystem>
#include <fstream>

namespace {

using namespace WineTest;

const std::wstring kFolder = L"C:\\sortaro-convert";
const std::wstring kConverters = L"Software\\Microsoft\\Office\\8.0\\Word\\Text Converters";

// The tests' converter library, built beside this program.
std::wstring TestConverter()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    PathRemoveFileSpecW(self);
    return std::wstring(self) + L"\\" SORTARO_TEST_CONVERTER;
}

class ConverterTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::filesystem::create_directory(std::filesystem::path(kFolder));
        Register(L"Fehlt", L"Fehlender Konverter", L"C:\\nirgends\\fehlt.cnv");
        Register(L"Test", L"Sortaro-Testformat", TestConverter());
        SetOption(L"Vorschau", L"Textdatei", L".TXT.SDOC");
    }

    void TearDown() override
    {
        AppTest::TearDown();
        SHDeleteKeyW(HKEY_CURRENT_USER, kConverters.c_str());
        std::filesystem::remove_all(std::filesystem::path(kFolder));
    }

    static void Register(const std::wstring& key, const std::wstring& name, const std::wstring& path)
    {
        const std::wstring at = kConverters + L"\\Import\\" + key;
        SetValue(at, L"Name", name);
        SetValue(at, L"Extensions", L"sdoc");
        SetValue(at, L"Path", path);
    }

    // What the text viewer shows for a file with these bytes, pressed in the file list.
    std::wstring Shown(const std::wstring& name, const std::string& bytes)
    {
        PreviewFile file{kFolder + L"\\" + name, bytes.size(), L""};
        std::ofstream(std::filesystem::path(file.path), std::ios::binary) << bytes;
        main->Preview()->ListView1MouseDown(WM_LBUTTONDOWN, true, &file);
        return WindowText(GetDlgItem(main->Preview()->Hwnd(), IDC_PREVIEW_TEXT));
    }
};

TEST_F(ConverterTest, ConvertedDocumentsAndFailuresLoadedPlain)
{
    StartToMainWindow(false);
    const auto* text = static_cast<const TextViewer*>(main->Preview()->ViewerOf(ViewerKind::Text));
    EXPECT_EQ(text->Filter(), L"Fehlender Konverter - Word 97 (*.sdoc)|*.sdoc|"
                              L"Sortaro-Testformat - Word 97 (*.sdoc)|*.sdoc");
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
    for (const auto& c : cases)
        EXPECT_EQ(Shown(c.name, c.bytes), c.shown) << c.name;

    // The converter's callback knows no instance but the one loaded.
    std::wstring error;
    const auto loaded = TRtfConverter::Create(main->Hwnd(), TestConverter(), error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_FALSE(TRtfConverter::Create(main->Hwnd(), TestConverter(), error));
    EXPECT_EQ(error, L"Program attempted to create multiple instances of the TRtfConverter class.");
}

} // namespace
