#include "RtfConverter.h"

#include "../../common/Registry.h"
#include "../../common/UniqueHandle.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

// The converter interface as office packages publish it: every entry point and the callback
// are PASCAL functions, that is __stdcall in 32-bit code, exported under their plain names.
// Names and texts are 8-bit strings; file names, format classes and the transfer buffer travel
// in movable global memory blocks. A converter's result (FCE) is a 16-bit signed code: 1 and
// 0 answer the format check, 0 is success elsewhere, and every failure is negative.
namespace {

using Fce = short;
using InitConverterFn = LONG(WINAPI*)(HANDLE owner, char* module);
using UninitConverterFn = void(WINAPI*)();
using IsFormatCorrectFn = Fce(WINAPI*)(HANDLE fileName, HANDLE formatClass);
using RtfCallbackFn = LONG(WINAPI*)(LONG count, LONG percent);
using ForeignToRtfFn = Fce(WINAPI*)(HANDLE fileName, void* storage, HANDLE transfer, HANDLE formatClass, HANDLE subset,
                                    RtfCallbackFn callback);
using FetchErrorFn = LONG(WINAPI*)(LONG code, char* text, LONG size);

const Fce kFceTrue = 1;
const LONG kFceNoMemory = -8; // the callback's answer that makes the converter stop
const SIZE_T kTransferSize = 16384;
const SIZE_T kClassSize = 256;

const char* const kEntryNames[] = {
    "InitConverter32", "UninitConverter",   "IsFormatCorrect32", "ForeignToRtf32", "RtfToForeign32",
    "RegisterApp",     "CchFetchLpszError", "GetReadNames",      "GetWriteNames",  "FRegisterConverter",
};

using UniqueGlobal = UniqueHandle<HandleTraits::NullInvalid<HGLOBAL, GlobalFree>>;

TRtfConverter* g_current = nullptr;

// A movable global block holding text and its terminator, at least size bytes long.
HGLOBAL GlobalText(const std::string& text, SIZE_T size = 0)
{
    HGLOBAL block = GlobalAlloc(GHND, std::max(size, static_cast<SIZE_T>(text.size() + 1)));
    if (!block)
        return nullptr;
    if (void* bytes = GlobalLock(block)) {
        memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        return block;
    }
    GlobalFree(block);
    return nullptr;
}

std::optional<std::string> Narrow(UINT codePage, const std::wstring& text)
{
    // Without best fit: a character the code page lacks must not quietly become another one.
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}

// Converters take file names in the OEM code page, as DOS had them, unless the program has
// told them otherwise through RegisterApp. A name with characters the OEM code page lacks is
// given in its short form, which has none.
std::optional<std::string> ConverterFileName(const std::wstring& path)
{
    if (auto name = Narrow(CP_OEMCP, path))
        return name;
    wchar_t shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    return Narrow(CP_OEMCP, shortPath);
}

} // namespace

std::unique_ptr<TRtfConverter> TRtfConverter::Create(HWND owner, const std::wstring& path, std::wstring& error)
{
    if (g_current) {
        error = L"Program attempted to create multiple instances of the TRtfConverter class.";
        return nullptr;
    }
    std::unique_ptr<TRtfConverter> converter(new TRtfConverter());
    g_current = converter.get();
    // No box asking for a missing disk; a converter's own libraries are looked for beside it.
    const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    converter->m_library =
        LoadLibraryExW(path.c_str(), nullptr, PathIsRelativeW(path.c_str()) ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(errorMode);
    if (!converter->m_library) {
        error = L"Unable to load library";
        return nullptr;
    }
    for (int entry = 0; entry < kEntryCount; ++entry)
        converter->m_entries[entry] = GetProcAddress(converter->m_library, kEntryNames[entry]);
    if (!converter->m_entries[kInitConverter] || !converter->m_entries[kIsFormatCorrect] ||
        !converter->m_entries[kForeignToRtf]) {
        error = L"Unable to initialize library (required entry points missing)";
        return nullptr;
    }
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (converter->EntryAs<InitConverterFn>(kInitConverter)(owner, module) == 0) {
        error = L"Unable to initialize library (initialization failed)";
        return nullptr;
    }
    converter->m_initialised = true;
    return converter;
}

TRtfConverter::~TRtfConverter()
{
    if (m_initialised && m_entries[kUninitConverter])
        EntryAs<UninitConverterFn>(kUninitConverter)();
    if (m_library)
        FreeLibrary(m_library);
    g_current = nullptr;
}

std::wstring TRtfConverter::ErrorText(long code, const wchar_t* otherwise) const
{
    char text[257] = "";
    if (code >= 0 || !m_entries[kFetchError])
        return otherwise;
    const LONG length = EntryAs<FetchErrorFn>(kFetchError)(code, text, 256);
    if (length <= 0)
        return otherwise;
    text[std::min<LONG>(length, 256)] = '\0';
    wchar_t wide[257] = L"";
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, ARRAYSIZE(wide));
    return wide;
}

bool TRtfConverter::CheckFormat(const std::wstring& path, std::wstring& error)
{
    const std::optional<std::string> name = ConverterFileName(path);
    if (!name) {
        error = L"No file name the converter can take";
        return false;
    }
    UniqueGlobal file(GlobalText(*name));
    UniqueGlobal formatClass(GlobalText("", kClassSize));
    if (!file || !formatClass) {
        error = L"Insufficient memory";
        return false;
    }
    const Fce answer = EntryAs<IsFormatCorrectFn>(kIsFormatCorrect)(file.Get(), formatClass.Get());
    if (answer != kFceTrue) {
        error = ErrorText(answer, L"Format invalid");
        return false;
    }
    return true;
}

bool TRtfConverter::Import(const std::wstring& path, const std::string& formatClass, std::string& rtf,
                           std::wstring& error)
{
    const std::optional<std::string> name = ConverterFileName(path);
    if (!name) {
        error = L"No file name the converter can take";
        return false;
    }
    UniqueGlobal file(GlobalText(*name));
    UniqueGlobal classBlock(GlobalText(formatClass, kClassSize));
    UniqueGlobal subset(GlobalText(""));
    UniqueGlobal transfer(GlobalAlloc(GHND, kTransferSize));
    if (!file || !classBlock || !subset || !transfer) {
        error = L"Insufficient memory";
        return false;
    }
    rtf.clear();
    m_transfer = transfer.Get();
    m_rtf = &rtf;
    const Fce result = EntryAs<ForeignToRtfFn>(kForeignToRtf)(file.Get(), nullptr, transfer.Get(), classBlock.Get(),
                                                              subset.Get(), TakePiece);
    m_transfer = nullptr;
    m_rtf = nullptr;
    // A failure may come after part of the document: that part is no document to show. Nor
    // is nothing at all, whatever the converter answered.
    if (result < 0 || rtf.empty()) {
        error = ErrorText(result, L"Conversion failed");
        rtf.clear();
        return false;
    }
    return true;
}

LONG WINAPI TRtfConverter::TakePiece(LONG count, LONG /*percent*/)
{
    TRtfConverter* self = g_current;
    // The converter may have grown the block, never beyond what it holds.
    if (!self || !self->m_transfer || count < 0 || static_cast<SIZE_T>(count) > GlobalSize(self->m_transfer))
        return kFceNoMemory;
    const void* bytes = GlobalLock(self->m_transfer);
    if (!bytes)
        return kFceNoMemory;
    LONG answer = 0;
    try {
        self->m_rtf->append(static_cast<const char*>(bytes), static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        answer = kFceNoMemory;
    }
    GlobalUnlock(self->m_transfer);
    return answer;
}

ConverterList ReadImportConverters()
{
    // Under a 64-bit Windows this 32-bit program reads the 32-bit view of the machine-wide key,
    // where the converters it can load are registered.
    static const struct {
        HKEY root;
        const wchar_t* key;
        const wchar_t* application;
    } kPlaces[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools\\Text Converters\\Import", L""},
        {HKEY_CURRENT_USER, L"Software\\Microsoft\\Word\\7.0\\Text Converters\\Import", L"Word 95"},
        {HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\8.0\\Word\\Text Converters\\Import", L"Word 97"},
    };
    ConverterList list;
    for (const auto& place : kPlaces) {
        Registry registry(place.root);
        std::vector<std::wstring> names;
        if (RegistryKeyScope key{registry, place.key, KeyAccess::Read})
            names = registry.GetKeyNames();
        for (const std::wstring& name : names) {
            RegistryKeyScope key(registry, place.key + (L"\\" + name), KeyAccess::Read);
            if (key)
                list.Add(name, registry.ReadString(L"Name").value_or(L""),
                         registry.ReadString(L"Extensions").value_or(L""), registry.ReadString(L"Path").value_or(L""),
                         place.application);
        }
    }
    return list;
}
