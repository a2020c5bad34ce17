#pragma once
// One office text converter library, loaded for the length of one conversion: it turns a
// foreign document into rich text through the converters' published entry points. The
// converter hands the rich text back through a callback that carries no context of its own,
// so at most one converter may be loaded at a time.

#include "ConverterList.h"

#include <windows.h>

#include <memory>
#include <string>

class TRtfConverter {
public:
    // Loads the library at path and initialises it for owner. Null, with the reason in error,
    // when it cannot be loaded, lacks an entry point it needs, refuses to start, or another
    // converter is loaded.
    static std::unique_ptr<TRtfConverter> Create(HWND owner, const std::wstring& path, std::wstring& error);
    ~TRtfConverter();
    TRtfConverter(const TRtfConverter&) = delete;
    TRtfConverter& operator=(const TRtfConverter&) = delete;

    // True when the converter takes the file at path for its format.
    bool CheckFormat(const std::wstring& path, std::wstring& error);
    // The file at path as rich text; formatClass empty lets the converter tell the format.
    bool Import(const std::wstring& path, const std::string& formatClass, std::string& rtf, std::wstring& error);

private:
    enum Entry {
        kInitConverter,
        kUninitConverter,
        kIsFormatCorrect,
        kForeignToRtf,
        kRtfToForeign,
        kRegisterApp,
        kFetchError,
        kGetReadNames,
        kGetWriteNames,
        kRegisterConverter,
        kEntryCount
    };

    TRtfConverter() = default;
    template <typename Fn> Fn EntryAs(Entry entry) const
    {
        // Through a pointer to a function without parameters: the cast is then no warning.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(m_entries[entry]));
    }
    std::wstring ErrorText(long code, const wchar_t* otherwise) const;
    static LONG WINAPI TakePiece(LONG count, LONG percent);

    HMODULE m_library = nullptr;
    bool m_initialised = false;
    FARPROC m_entries[kEntryCount] = {};
    // While ForeignToRtf32 runs: the block the converter writes into, and what it wrote.
    HGLOBAL m_transfer = nullptr;
    std::string* m_rtf = nullptr;
};

// The converters registered for import: under the machine-wide key, then under the keys of
// Word 95 and Word 97 of the current user.
ConverterList ReadImportConverters();
