#pragma once
// A program's registry accessor: a root key, and one key opened at a time for the duration of
// an operation. Values are text values throughout.

#include "UniqueHandle.h"

#include <optional>
#include <string>
#include <vector>

// How a key is opened: for reading only (a read then works on keys the user may not write),
// for writing, or created when it is missing.
enum class KeyAccess { Read, Write, Create };

class Registry {
public:
    explicit Registry(HKEY root = HKEY_CURRENT_USER) : m_root(root) {}

    void SetRoot(HKEY root) { m_root = root; }

    // Opens path below the root; closes any key open before.
    bool OpenKey(const std::wstring& path, KeyAccess access);
    void CloseKey() { m_key.Reset(); }
    bool IsOpen() const { return static_cast<bool>(m_key); }

    bool ValueExists(const std::wstring& name) const;
    // The text of a string value; nothing when the value is missing or holds no text.
    std::optional<std::wstring> ReadString(const std::wstring& name) const;
    bool WriteString(const std::wstring& name, const std::wstring& value) const;
    // A number stored as decimal text. target keeps its value when the value is missing or is
    // not a decimal number; the latter is logged.
    void ReadNumber(const std::wstring& name, int& target) const;
    // Value names in the order the registry enumerates them.
    std::vector<std::wstring> GetValueNames() const;
    // Names of the open key's subkeys, in the order the registry enumerates them.
    std::vector<std::wstring> GetKeyNames() const;

    // Keys below the root, independent of the open key.
    bool KeyExists(const std::wstring& path) const;
    bool DeleteKey(const std::wstring& path) const;

private:
    HKEY m_root;
    UniqueHKey m_key;
};

// RAII bracket: one operation opens its key and closes it again when done.
class RegistryKeyScope {
public:
    RegistryKeyScope(Registry& registry, const std::wstring& path, KeyAccess access)
        : m_registry(registry), m_open(registry.OpenKey(path, access))
    {
    }
    ~RegistryKeyScope() { m_registry.CloseKey(); }
    RegistryKeyScope(const RegistryKeyScope&) = delete;
    RegistryKeyScope& operator=(const RegistryKeyScope&) = delete;

    explicit operator bool() const { return m_open; }

private:
    Registry& m_registry;
    bool m_open;
};
