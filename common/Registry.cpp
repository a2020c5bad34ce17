#include "Registry.h"

#include "Log.h"
#include "SettingsText.h"

#include <shlwapi.h>

bool Registry::OpenKey(const std::wstring& path, KeyAccess access)
{
    m_key.Reset();
    LONG status;
    if (access == KeyAccess::Create)
        status = RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                 nullptr, m_key.Put(), nullptr);
    else
        status = RegOpenKeyExW(m_root, path.c_str(), 0, access == KeyAccess::Write ? KEY_READ | KEY_WRITE : KEY_READ,
                               m_key.Put());
    if (status != ERROR_SUCCESS) {
        m_key.Release();
        if (status != ERROR_FILE_NOT_FOUND)
            Log::Write(LogLevel::Warning, L"registry", L"cannot open %ls, error %ld", path.c_str(), status);
        return false;
    }
    return true;
}

bool Registry::ValueExists(const std::wstring& name) const
{
    return m_key && RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::wstring> Registry::ReadString(const std::wstring& name) const
{
    if (!m_key)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        Log::Write(LogLevel::Warning, L"registry", L"value %ls is not text (type %lu)", name.c_str(), type);
        return std::nullopt;
    }
    // The stored data need not end in a terminator, nor be a whole number of characters.
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size / sizeof(wchar_t));
    std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

void Registry::ReadNumber(const std::wstring& name, int& target) const
{
    auto text = ReadString(name);
    if (!text)
        return;
    if (auto value = SettingsText::ParseDecimal(*text))
        target = *value;
    else
        Log::Write(LogLevel::Warning, L"registry", L"%ls is not a number: \"%ls\"", name.c_str(), text->c_str());
}

bool Registry::WriteString(const std::wstring& name, const std::wstring& value) const
{
    if (!m_key)
        return false;
    LONG status = RegSetValueExW(m_key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        Log::Write(LogLevel::Error, L"registry", L"cannot write %ls, error %ld", name.c_str(), status);
        return false;
    }
    return true;
}

std::vector<std::wstring> Registry::GetValueNames() const
{
    std::vector<std::wstring> names;
    if (!m_key)
        return names;
    DWORD maxNameLength = 0;
    if (RegQueryInfoKeyW(m_key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxNameLength,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring name(maxNameLength + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG status = RegEnumValueW(m_key.Get(), index, &name[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name.c_str(), length);
    }
    return names;
}

std::vector<std::wstring> Registry::GetKeyNames() const
{
    std::vector<std::wstring> names;
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0; m_key; ++index) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(m_key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

bool Registry::KeyExists(const std::wstring& path) const
{
    UniqueHKey key;
    return RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool Registry::DeleteKey(const std::wstring& path) const
{
    // SHDeleteKeyW removes the subkeys too and exists on every Windows from XP on.
    DWORD status = SHDeleteKeyW(m_root, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
