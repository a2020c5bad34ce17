#pragma once
// Exporting the file list as a CSV file (ListCsv): the save dialog, and the file written
// through a temporary file beside it, so that a failed write never leaves half a file.

#include "../../common/Program.h"
#include "ListRows.h"

#include <windows.h>

#include <string>

class ListExport {
public:
    explicit ListExport(Program& program) : m_program(program) {}
    ListExport(const ListExport&) = delete;
    ListExport& operator=(const ListExport&) = delete;

    // The export command for these rows; selectedOnly: they are the selected rows, not all,
    // which the save dialog's title says.
    void Run(const ListRows& rows, bool selectedOnly);
    // Writes the column captions and the rows to path; false with the error code. The
    // separator is the semicolon in German, as German spreadsheets expect it, and the comma in
    // English.
    bool Write(const std::wstring& path, const ListRows& rows, DWORD& error) const;

private:
    // The file the user chose; empty when the dialog was cancelled.
    std::wstring AskPath(bool selectedOnly) const;

    Program& m_program;
};
