#include "ShellFolderItems.h"

#include "../../common/Log.h"

namespace {

const wchar_t kChannel[] = L"shell";

// IShellFolder::ParseDisplayName takes a writable string.
HRESULT Parse(IShellFolder& folder, HWND owner, const std::wstring& name, PIDLIST_RELATIVE* pidl)
{
    std::wstring text = name;
    return folder.ParseDisplayName(owner, nullptr, &text[0], nullptr, pidl, nullptr);
}

} // namespace

ShellFolderItems::~ShellFolderItems()
{
    Clear();
}

void ShellFolderItems::Clear()
{
    for (PITEMID_CHILD item : m_items)
        CoTaskMemFree(item);
    m_items.clear();
    m_folder = ComPtr<IShellFolder>();
}

HRESULT ShellFolderItems::Bind(const std::wstring& folder, const std::vector<std::wstring>& names, HWND owner)
{
    Clear();
    if (names.empty())
        return E_INVALIDARG;
    ComPtr<IShellFolder> desktop;
    RETURN_IF_FAILED(kChannel, SHGetDesktopFolder(desktop.Put()));
    PIDLIST_RELATIVE folderId = nullptr;
    RETURN_IF_FAILED(kChannel, Parse(*desktop.Get(), owner, folder, &folderId));
    const HRESULT hr =
        desktop->BindToObject(folderId, nullptr, IID_IShellFolder, reinterpret_cast<void**>(m_folder.Put()));
    CoTaskMemFree(folderId);
    RETURN_IF_FAILED(kChannel, hr);
    m_items.reserve(names.size());
    for (const std::wstring& name : names) {
        PIDLIST_RELATIVE item = nullptr;
        const HRESULT parsed = Parse(*m_folder.Get(), owner, name, &item);
        if (FAILED(parsed)) {
            Clear();
            return Log::Failed(kChannel, name.c_str(), parsed);
        }
        // A plain name parses to one level below the folder: a child id.
        m_items.push_back(reinterpret_cast<PITEMID_CHILD>(item));
    }
    return S_OK;
}

HRESULT ShellFolderItems::GetUIObjectOf(HWND owner, REFIID riid, void** out) const
{
    *out = nullptr;
    if (!m_folder)
        return E_UNEXPECTED;
    return m_folder->GetUIObjectOf(owner, static_cast<UINT>(m_items.size()),
                                   const_cast<PCUITEMID_CHILD_ARRAY>(m_items.data()), riid, nullptr, out);
}
