#include "FileDataObject.h"

#include "../../common/Log.h"

#include <shlobj.h>

#include <cstring>
#include <new>

namespace {

const wchar_t kChannel[] = L"data";

// A copy of global memory, for a caller that frees what it gets.
HGLOBAL CopyGlobal(HGLOBAL source)
{
    const SIZE_T size = GlobalSize(source);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy)
        return nullptr;
    const void* from = GlobalLock(source);
    void* to = GlobalLock(copy);
    if (from && to)
        std::memcpy(to, from, size);
    GlobalUnlock(copy);
    GlobalUnlock(source);
    if (!from || !to) {
        GlobalFree(copy);
        return nullptr;
    }
    return copy;
}

// DROPFILES followed by the paths, each ended by a null, and a null after the last.
HGLOBAL DropFiles(const std::vector<std::wstring>& paths)
{
    SIZE_T size = sizeof(DROPFILES) + sizeof(wchar_t);
    for (const std::wstring& path : paths)
        size += (path.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = memory ? static_cast<DROPFILES*>(GlobalLock(memory)) : nullptr;
    if (!drop) {
        if (memory)
            GlobalFree(memory);
        return nullptr;
    }
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

class FileDataObject final : public IDataObject {
public:
    explicit FileDataObject(IDataObject* shellData) : m_shell(shellData)
    {
        if (m_shell)
            m_shell->AddRef();
    }
    FileDataObject(const FileDataObject&) = delete;
    FileDataObject& operator=(const FileDataObject&) = delete;

    // Takes over the memory.
    bool Hold(CLIPFORMAT format, HGLOBAL memory)
    {
        if (!memory)
            return false;
        STGMEDIUM medium{};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = memory;
        FORMATETC etc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (SUCCEEDED(SetData(&etc, &medium, TRUE)))
            return true;
        GlobalFree(memory);
        return false;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!format || !medium)
            return E_INVALIDARG;
        if (const Entry* own = Find(*format)) {
            HGLOBAL copy = CopyGlobal(own->memory);
            if (!copy)
                return E_OUTOFMEMORY;
            *medium = STGMEDIUM{};
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = copy;
            return S_OK;
        }
        return m_shell ? m_shell->GetData(format, medium) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override
    {
        return m_shell ? m_shell->GetDataHere(format, medium) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (!format)
            return E_INVALIDARG;
        if (Find(*format))
            return S_OK;
        return m_shell ? m_shell->QueryGetData(format) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    // Kept here rather than given to the shell's object: a drop target's answers
    // ("Performed DropEffect" and the like) and the preferred effect. Not every shell's data
    // object takes formats it did not make.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override
    {
        if (!format || !medium)
            return E_INVALIDARG;
        if (format->tymed != TYMED_HGLOBAL || medium->tymed != TYMED_HGLOBAL || !medium->hGlobal)
            return DV_E_TYMED;
        HGLOBAL memory = release ? medium->hGlobal : CopyGlobal(medium->hGlobal);
        if (!memory)
            return E_OUTOFMEMORY;
        try {
            for (Entry& entry : m_own)
                if (entry.format == format->cfFormat) {
                    GlobalFree(entry.memory);
                    entry.memory = memory;
                    return S_OK;
                }
            m_own.push_back({format->cfFormat, memory});
        } catch (const std::bad_alloc&) {
            if (!release)
                GlobalFree(memory);
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        try {
            std::vector<FORMATETC> formats;
            for (const Entry& entry : m_own)
                formats.push_back({entry.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
            ComPtr<IEnumFORMATETC> shellFormats;
            if (m_shell && SUCCEEDED(m_shell->EnumFormatEtc(DATADIR_GET, shellFormats.Put())) && shellFormats) {
                FORMATETC format;
                while (shellFormats->Next(1, &format, nullptr) == S_OK) {
                    // Device descriptions are not passed on: the list is copied by value.
                    if (format.ptd)
                        CoTaskMemFree(format.ptd);
                    format.ptd = nullptr;
                    bool known = false;
                    for (const Entry& entry : m_own)
                        known |= entry.format == format.cfFormat;
                    if (!known)
                        formats.push_back(format);
                }
            }
            return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        CLIPFORMAT format;
        HGLOBAL memory;
    };

    ~FileDataObject()
    {
        for (Entry& entry : m_own)
            GlobalFree(entry.memory);
        if (m_shell)
            m_shell->Release();
    }

    const Entry* Find(const FORMATETC& format) const
    {
        if (!(format.tymed & TYMED_HGLOBAL) || format.dwAspect != DVASPECT_CONTENT)
            return nullptr;
        for (const Entry& entry : m_own)
            if (entry.format == format.cfFormat)
                return &entry;
        return nullptr;
    }

    LONG m_references = 1;
    IDataObject* m_shell;
    std::vector<Entry> m_own;
};

class FileDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of DragFiles, for the drag's duration.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override
    {
        if (escapePressed || (keys & MK_RBUTTON))
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

IDataObject* NewFileDataObject(IDataObject* shellData, const std::vector<std::wstring>& paths)
{
    auto* data = new (std::nothrow) FileDataObject(shellData);
    if (!data)
        return nullptr;
    if (!shellData && !data->Hold(CF_HDROP, DropFiles(paths))) {
        Log::Write(LogLevel::Error, kChannel, L"no memory for %u paths", static_cast<unsigned>(paths.size()));
        data->Release();
        return nullptr;
    }
    return data;
}

HRESULT SetPreferredDropEffect(IDataObject& data, DWORD effect)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    auto* value = memory ? static_cast<DWORD*>(GlobalLock(memory)) : nullptr;
    if (!value) {
        if (memory)
            GlobalFree(memory);
        return E_OUTOFMEMORY;
    }
    *value = effect;
    GlobalUnlock(memory);
    FORMATETC format{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT)), nullptr,
                     DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = memory;
    const HRESULT hr = data.SetData(&format, &medium, TRUE);
    if (FAILED(hr))
        GlobalFree(memory);
    return hr;
}

DWORD DragFiles(IDataObject& data, DWORD allowedEffects)
{
    FileDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(&data, &source, allowedEffects, &effect);
    if (FAILED(hr))
        Log::Failed(kChannel, L"DoDragDrop", hr);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
