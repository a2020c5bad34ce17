#include "ListPrinter.h"

#include "../../common/Log.h"
#include "../catalogue/ProgramIds.h"
#include "FileListIds.h"
#include "SystemError.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

namespace {

class PrinterPages : public PageBracket {
public:
    explicit PrinterPages(HDC hdc) : m_hdc(hdc) {}
    bool BeginPage() override { return StartPage(m_hdc) > 0; }
    bool EndPage() override { return ::EndPage(m_hdc) > 0; }

private:
    HDC m_hdc;
};

// The fonts of a job, each made once, at the device's vertical resolution.
class PrintFonts {
public:
    explicit PrintFonts(const PrintLayout& layout) : m_layout(layout) {}
    HFONT Get(PrintFont font)
    {
        for (const auto& made : m_fonts)
            if (made.first == font)
                return made.second.Get();
        UniqueHFont handle(CreateFontW(-m_layout.FontPixels(font), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
        if (!handle)
            return nullptr;
        m_fonts.emplace_back(font, std::move(handle));
        return m_fonts.back().second.Get();
    }

private:
    const PrintLayout& m_layout;
    std::vector<std::pair<PrintFont, UniqueHFont>> m_fonts;
};

// Whether any printer is set up, local or connected.
bool AnyPrinter()
{
    DWORD needed = 0;
    DWORD count = 0;
    // Level 4 only reads the registry: no driver is asked. Without a buffer the call fails with
    // the size it needs, which is 0 when there is no printer.
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0 || count > 0;
}

} // namespace

bool DrawListPages(HDC hdc, const PrintLayout& layout, const ListRows& rows, PageBracket& pages)
{
    PrintFonts fonts(layout);
    for (int page = 0; page < layout.PageCount(rows.count); ++page) {
        if (!pages.BeginPage())
            return false;
        // Windows 9x sets the DC back to its defaults at every page start: the modes and the
        // font are set on each page. The job's fonts are deleted when this returns: none stays
        // selected.
        SetBkMode(hdc, TRANSPARENT);
        SetTextAlign(hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        SelectObjectGuard original(hdc, GetStockObject(DEVICE_DEFAULT_FONT));
        for (const PrintedText& text : layout.Page(page, rows)) {
            HFONT font = fonts.Get(text.font);
            if (!font)
                return Log::LastError(L"print", L"CreateFontW");
            SelectObject(hdc, font);
            if (!TextOutW(hdc, text.x, text.y, text.text.c_str(), static_cast<int>(text.text.size())))
                return Log::LastError(L"print", L"TextOutW");
        }
        if (!pages.EndPage())
            return false;
    }
    return true;
}

PrintTexts ListPrintTexts(const Program& program)
{
    PrintTexts texts;
    texts.title = program.Text(IDS_PRINT_TITLE);
    texts.madeBy = program.Text(IDS_PRINT_MADE_BY);
    texts.program = program.Text(IDS_APP_TITLE);
    texts.page = program.Text(IDS_PRINT_PAGE);
    texts.file = program.Text(IDS_PRINT_FILE);
    for (size_t i = 0; i < texts.columns.size(); ++i)
        texts.columns[i] = program.Text(IDS_COLUMN_BASE + 2 + static_cast<unsigned>(i));
    return texts;
}

void ListPrinter::Listedrucken2Click(const ListRows& rows)
{
    if (MessageBoxW(m_program.Owner(), m_program.Text(IDS_PRINT_QUESTION).c_str(),
                    m_program.Text(IDS_QUESTION_TITLE).c_str(), MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES)
        return;
    UniqueHdc printer = ChoosePrinter();
    if (!printer)
        return;
    const HDC hdc = printer.Get();
    const PrintLayout layout(
        {GetDeviceCaps(hdc, LOGPIXELSX), GetDeviceCaps(hdc, LOGPIXELSY), GetDeviceCaps(hdc, PHYSICALHEIGHT)},
        ListPrintTexts(m_program));
    if (!layout.Usable()) {
        Log::Write(LogLevel::Warning, L"print", L"the printer reports no resolution or page height");
        ReportFailure(0);
        return;
    }
    const std::wstring title = m_program.Text(IDS_PRINT_DOCUMENT);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = title.c_str();
    SetLastError(0);
    if (StartDocW(hdc, &document) <= 0) {
        const DWORD error = GetLastError();
        // The user declined a question of the driver, such as the name of the file to print to.
        if (error != ERROR_CANCELLED)
            ReportFailure(error);
        return;
    }
    WaitCursor wait;
    PrinterPages pages(hdc);
    SetLastError(0);
    if (!DrawListPages(hdc, layout, rows, pages)) {
        const DWORD error = GetLastError();
        AbortDoc(hdc);
        ReportFailure(error);
        return;
    }
    if (EndDoc(hdc) <= 0)
        ReportFailure(GetLastError());
}

UniqueHdc ListPrinter::ChoosePrinter()
{
    // Wine's dialog opens with an empty list when no printer is set up, where Windows' ends at
    // once with PDERR_NODEFAULTPRN: asked first, both say the same.
    if (!AnyPrinter()) {
        SayNoPrinter();
        return UniqueHdc();
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_program.Owner();
    // The selected rows are printed, whole: no page range, no selection choice. Copies are the
    // driver's, or the choice is not offered. PD_NOWARNING: the missing printer is said below,
    // in the program's language.
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOWARNING;
    const BOOL chosen = PrintDlgW(&dialog);
    const DWORD failure = chosen ? 0 : CommDlgExtendedError();
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    UniqueHdc printer(chosen ? dialog.hDC : nullptr);
    if (failure == PDERR_NODEFAULTPRN || failure == PDERR_NODEVICES) {
        SayNoPrinter();
    } else if (failure != 0) {
        Log::Write(LogLevel::Warning, L"print", L"PrintDlgW failed: 0x%lx", failure);
        ReportFailure(0);
    } else if (chosen && !printer) {
        ReportFailure(0);
    }
    return printer;
}

void ListPrinter::SayNoPrinter() const
{
    MessageBoxW(m_program.Owner(), m_program.Text(IDS_NO_PRINTER).c_str(), m_program.Text(IDS_NOTE_TITLE).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void ListPrinter::ReportFailure(DWORD error) const
{
    std::wstring text = m_program.Text(IDS_PRINT_FAILED);
    if (error != 0)
        text += L"\n\n" + SystemErrorText(error);
    MessageBoxW(m_program.Owner(), text.c_str(), m_program.Text(IDS_ERROR_TITLE).c_str(), MB_OK | MB_ICONERROR);
}
