#include "TextViewer.h"

#include "../../common/Controls.h"
#include "../../common/Log.h"
#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "PreviewIds.h"
#include "RtfConverter.h"

#include <richedit.h>

#include <cstring>
#include <string>

namespace {

// The rich edit library of the system, loaded once: version 4.1 where there is one (XP SP1 on),
// version 2 or 3 otherwise.
const wchar_t* RichEditClass()
{
    static const wchar_t* const kClass = [] {
        if (LoadLibraryW(L"msftedit.dll"))
            return L"RICHEDIT50W";
        LoadLibraryW(L"riched20.dll");
        return L"RichEdit20W";
    }();
    return kClass;
}

// The bytes handed to the view, from memory.
struct StreamSource {
    const char* data;
    size_t left;
};

DWORD CALLBACK ReadPiece(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const size_t count = std::min(source->left, static_cast<size_t>(wanted));
    std::memcpy(buffer, source->data, count);
    source->data += count;
    source->left -= count;
    *given = static_cast<LONG>(count);
    return 0;
}

// The first bytes of a file, at most limit.
bool ReadStart(const std::wstring& path, uint64_t limit, std::string& bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return false;
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), limit)));
    DWORD read = 0;
    size_t at = 0;
    while (at < bytes.size() &&
           ReadFile(file.Get(), &bytes[at], static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 20)), &read,
                    nullptr) &&
           read)
        at += read;
    bytes.resize(at);
    return true;
}

} // namespace

bool TextViewer::MakeView()
{
    if (m_edit)
        DestroyWindow(m_edit);
    m_edit = CreateWindowExW(0, RichEditClass(), L"",
                             WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_DISABLENOSCROLL |
                                 ES_NOHIDESEL,
                             0, 0, 0, 0, m_host->Pane(), ControlId(IDC_PREVIEW_TEXT), GetModuleHandleW(nullptr),
                             nullptr);
    if (!m_edit)
        return false;
    // Texts of any length: the default limit is 32,767 characters.
    SendMessageW(m_edit, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMaxBytes * 2));
    return true;
}

bool TextViewer::Create(PreviewHost& host)
{
    m_host = &host;
    if (!MakeView() || !m_long.Create(host.Pane(), IDC_PREVIEW_LONG_TEXT, host.Dpi()))
        return false;
    // Read once: converters installed later are seen at the next start.
    m_converters = ReadImportConverters();
    m_filter = m_converters.FilterText();
    return true;
}

void TextViewer::Layout()
{
    const RECT area = m_host->ViewArea();
    MoveWindow(m_edit, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    MoveWindow(m_long.Hwnd(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void TextViewer::Reset()
{
    ShowWindow(m_edit, SW_HIDE);
    ShowWindow(m_long.Hwnd(), SW_HIDE);
    m_long.Clear();
}

void TextViewer::SetPlainFont()
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
    format.yHeight = 8 * 20; // 8 points, in twips
    format.crTextColor = RGB(0, 0, 0);
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = DEFAULT_PITCH;
    wcscpy_s(format.szFaceName, L"MS Sans Serif");
    SendMessageW(m_edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void TextViewer::StreamIn(const char* data, size_t size, WPARAM format)
{
    StreamSource source{data, size};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadPiece;
    SendMessageW(m_edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

bool TextViewer::GetFilterIndex(const std::wstring& ext, const std::wstring& filter, const std::wstring& path)
{
    for (int index : ConvertersFor(filter, ext))
        if (TextFilter(path, index))
            return true;
    return false;
}

int TextViewer::TextFilter(const std::wstring& path, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_converters.Items().size())
        return 0;
    const TextConverter& converter = m_converters.Items()[static_cast<size_t>(index)];
    std::wstring error;
    std::string rtf;
    bool converted = false;
    m_converting = true;
    if (auto library = TRtfConverter::Create(m_host->App().Owner(), converter.path, error))
        converted = library->CheckFormat(path, error) && library->Import(path, "", rtf, error);
    m_converting = false;
    if (converted) {
        StreamIn(rtf.data(), rtf.size(), SF_RTF);
        return 1;
    }
    Log::Write(LogLevel::Info, L"preview", L"%ls (%ls) did not convert %ls: %ls", converter.description.c_str(),
               converter.path.c_str(), path.c_str(), error.c_str());
    SetWindowTextW(m_edit, m_host->App().Text(IDS_PREVIEW_CONVERT_FAILED).c_str());
    return 0;
}

void TextViewer::Show(const std::wstring& path, const std::wstring& ext, uint64_t /*size*/)
{
    // A view that holds a long text is made anew: emptying it can take far longer than filling
    // a new one (minutes for 10 MB under Wine).
    if (GetWindowTextLengthW(m_edit) > kLongText)
        MakeView();
    Layout();
    ShowWindow(m_edit, SW_SHOW);
    if (GetFilterIndex(ext, m_filter, path)) {
        SendMessageW(m_edit, EM_SETSEL, 0, 0);
        SendMessageW(m_edit, EM_SCROLLCARET, 0, 0);
        return;
    }
    std::string bytes;
    SetWindowTextW(m_edit, L"");
    if (!ReadStart(path, kMaxBytes + 1, bytes))
        return;
    const bool cut = bytes.size() > kMaxBytes;
    if (cut)
        bytes.resize(static_cast<size_t>(kMaxBytes));
    if (bytes.size() > kLongPlainBytes && bytes.compare(0, 5, "{\\rtf") != 0) {
        ShowLong(bytes, cut);
        return;
    }
    WPARAM format = SF_TEXT;
    size_t skip = 0;
    if (bytes.compare(0, 5, "{\\rtf") == 0) {
        format = SF_RTF;
    } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        format = (CP_UTF8 << 16) | SF_USECODEPAGE | SF_TEXT;
        skip = 3;
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        format = SF_TEXT | SF_UNICODE;
        skip = 2;
    }
    if (format != SF_RTF)
        SetPlainFont();
    StreamIn(bytes.data() + skip, bytes.size() - skip, format);
    if (cut) {
        // Beyond 16 MB a 32-bit process would soon run out of address space: the rest is left out.
        // The rich text view holds a plain text of that size only when a converter made it.
        const std::wstring note = L"\r\n\r\n" + m_host->App().Text(IDS_PREVIEW_TEXT_CUT);
        SendMessageW(m_edit, EM_SETSEL, -1, -1);
        SendMessageW(m_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(note.c_str()));
    }
    SendMessageW(m_edit, EM_SETSEL, 0, 0);
    SendMessageW(m_edit, EM_SCROLLCARET, 0, 0);
}

void TextViewer::ShowLong(const std::string& bytes, bool cut)
{
    ShowWindow(m_edit, SW_HIDE);
    const TextStart start = DetectTextEncoding(bytes);
    const char* data = bytes.data() + start.markSize;
    const int size = static_cast<int>(bytes.size() - start.markSize);
    std::wstring text;
    if (start.encoding == TextEncoding::Utf16) {
        text.resize(static_cast<size_t>(size) / sizeof(wchar_t));
        std::memcpy(&text[0], data, text.size() * sizeof(wchar_t));
    } else {
        const UINT codePage = start.encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
        text.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, data, size, nullptr, 0)));
        MultiByteToWideChar(codePage, 0, data, size, &text[0], static_cast<int>(text.size()));
    }
    if (cut)
        text += L"\r\n\r\n" + m_host->App().Text(IDS_PREVIEW_TEXT_CUT);
    m_long.SetText(std::move(text));
    ShowWindow(m_long.Hwnd(), SW_SHOW);
}
