#pragma once
// Printing the file list: the question, the printer setup dialog, and the print job, whose
// pages PrintLayout places and DrawListPages draws.

#include "../../common/Program.h"
#include "../../common/UniqueHandle.h"
#include "ListRows.h"
#include "PrintLayout.h"

#include <windows.h>

// Where the pages of a drawing go: a printer starts and ends each page. False when the device
// refused the page.
class PageBracket {
public:
    virtual ~PageBracket() = default;
    virtual bool BeginPage() = 0;
    virtual bool EndPage() = 0;
};

// Draws every page of a job printing rows on hdc, each between BeginPage and EndPage; the
// fonts are "MS Sans Serif", their heights in pixels of the vertical resolution. False when a
// page was refused or a text could not be drawn, with the thread's last error set.
bool DrawListPages(HDC hdc, const PrintLayout& layout, const ListRows& rows, PageBracket& pages);

// The page header's texts and the column headings in the interface language.
PrintTexts ListPrintTexts(const Program& program);

class ListPrinter {
public:
    explicit ListPrinter(Program& program) : m_program(program) {}
    ListPrinter(const ListPrinter&) = delete;
    ListPrinter& operator=(const ListPrinter&) = delete;

    // The print command for these rows: asks, lets the user choose the printer and prints.
    void Listedrucken2Click(const ListRows& rows);

private:
    // The DC of the printer chosen; none when the user cancelled or there is no printer (said).
    UniqueHdc ChoosePrinter();
    void SayNoPrinter() const;
    void ReportFailure(DWORD error) const;

    Program& m_program;
};
