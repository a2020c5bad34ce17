#include "BrowserCaches.h"

#include "../catalogue/CatalogueFiles.h"

namespace {

// The stored path of the settings value name; nothing when the value does not exist (an empty
// stored path counts: it stops the search).
std::optional<std::wstring> StoredPath(Registry& registry, const std::wstring& optionsKey, const wchar_t* name)
{
    RegistryKeyScope key(registry, optionsKey, KeyAccess::Read);
    if (!key || !registry.ValueExists(name))
        return std::nullopt;
    return registry.ReadString(name).value_or(std::wstring());
}

} // namespace

namespace {

std::wstring OperaPath(Registry& registry, const std::wstring& optionsKey)
{
    if (auto stored = StoredPath(registry, optionsKey, L"operapath"))
        return *stored;
    RegistryKeyScope key(registry, L"Software\\Opera Software", KeyAccess::Read);
    if (!key || !registry.ValueExists(L"Last Directory"))
        return {};
    return registry.ReadString(L"Last Directory").value_or(std::wstring()) + L"\\Cache4";
}

std::wstring NetscapePath(Registry& registry, const std::wstring& optionsKey)
{
    if (auto stored = StoredPath(registry, optionsKey, L"netscapepath"))
        return *stored;
    RegistryKeyScope key(registry, L"Software\\Netscape\\Netscape Navigator\\Main\\", KeyAccess::Read);
    if (!key || !registry.ValueExists(L"Install Directory"))
        return {};
    std::wstring install = registry.ReadString(L"Install Directory").value_or(std::wstring());
    size_t slash = install.rfind(L'\\');
    return (slash == std::wstring::npos ? std::wstring() : install.substr(0, slash + 1)) + L"Users";
}

} // namespace

// A relative path (a bare "Users" from an Install Directory without a backslash, "\Cache4"
// from an empty Last Directory, or a relative stored path) would be walked below whatever the
// current folder is: it counts as none.
std::wstring GetOperaPath(Registry& registry, const std::wstring& optionsKey)
{
    std::wstring path = OperaPath(registry, optionsKey);
    return IsAbsolutePath(path) ? path : std::wstring();
}

std::wstring GetNetscapePath(Registry& registry, const std::wstring& optionsKey)
{
    std::wstring path = NetscapePath(registry, optionsKey);
    return IsAbsolutePath(path) ? path : std::wstring();
}
