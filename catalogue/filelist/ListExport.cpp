#include "ListExport.h"

#include "../../common/Log.h"
#include "../../common/UniqueHandle.h"
#include "../catalogue/ProgramIds.h"
#include "FileListIds.h"
#include "ListCsv.h"
#include "SystemError.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// Written in pieces of about this size.
constexpr size_t kPiece = 64 * 1024;

bool WriteBytes(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

} // namespace

void ListExport::Run(const ListRows& rows, bool selectedOnly)
{
    const std::wstring path = AskPath(selectedOnly);
    if (path.empty())
        return;
    WaitCursor wait;
    DWORD error = 0;
    if (Write(path, rows, error))
        return;
    std::wstring text = m_program.Text(IDS_EXPORT_FAILED);
    const size_t mark = text.find(L"%1");
    if (mark != std::wstring::npos)
        text.replace(mark, 2, path);
    text += L"\n\n" + SystemErrorText(error);
    MessageBoxW(m_program.Owner(), text.c_str(), m_program.Text(IDS_ERROR_TITLE).c_str(), MB_OK | MB_ICONERROR);
}

std::wstring ListExport::AskPath(bool selectedOnly) const
{
    // "CSV-Dateien (*.csv)|*.csv|...": the string table holds no zero characters.
    std::wstring filter = m_program.Text(IDS_EXPORT_FILTER) + L"|";
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    const std::wstring title = m_program.Text(selectedOnly ? IDS_EXPORT_SELECTED : IDS_EXPORT_ALL);
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_program.Owner();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) {
        if (const DWORD failure = CommDlgExtendedError())
            Log::Write(LogLevel::Warning, L"export", L"GetSaveFileNameW failed: 0x%lx", failure);
        return L"";
    }
    return file.data();
}

bool ListExport::Write(const std::wstring& path, const ListRows& rows, DWORD& error) const
{
    // The temporary file lies beside the target, so that putting it in place is a rename on one
    // volume; GetTempFileNameW makes a name no other file has.
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"csv", 0, temporary)) {
        error = GetLastError();
        return false;
    }
    bool written;
    {
        UniqueFile file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = static_cast<bool>(file);
        error = written ? 0 : GetLastError();
        const wchar_t separator = m_program.English() ? L',' : L';';
        std::wstring captions[6];
        for (int i = 0; i < 6; ++i)
            captions[i] = m_program.Text(IDS_COLUMN_BASE + i);
        std::string bytes(ListCsv::kStart);
        ListCsv::AppendLine(captions, 6, separator, bytes);
        for (size_t row = 0; written && row < rows.count; ++row) {
            const RowTexts texts = rows.at(row);
            ListCsv::AppendLine(texts.data(), texts.size(), separator, bytes);
            if (bytes.size() >= kPiece) {
                written = WriteBytes(file.Get(), bytes);
                bytes.clear();
            }
        }
        if (written && !(WriteBytes(file.Get(), bytes) && FlushFileBuffers(file.Get())))
            written = false;
        if (!written && error == 0)
            error = GetLastError();
    }
    if (written && !MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        written = false;
    }
    if (!written) {
        Log::Write(LogLevel::Warning, L"export", L"cannot write %ls: error %lu", path.c_str(), error);
        DeleteFileW(temporary);
    }
    return written;
}
