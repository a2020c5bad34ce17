// The registration that lets Windows list and remove the program ("Programs and Features",
// "Apps"), and the copy of the installer that does the removing.

#include "Installer.h"

#include "common/Log.h"

using SetupTexts::Id;

namespace {

struct RegValue {
    const wchar_t* name;
    std::wstring text; // a string value, or
    DWORD number = 0;  // a number value when text is empty
};

} // namespace

void Installer::Register()
{
    // Without a log there is nothing an uninstaller could safely remove.
    if (!m_record.Active())
        return;
    const std::wstring folder = m_vars.destination;
    const std::wstring uninstaller = folder + L"\\" + UninstallLog::kUninstallerName;
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    m_record.File(uninstaller);
    if (!CopyFileW(self, uninstaller.c_str(), FALSE)) {
        Log::LastError(L"setup", uninstaller.c_str());
        Fail(Id::FailedCopy, UninstallLog::kUninstallerName);
        return;
    }

    // An installation for all users (Program Files, the common start menu) registers for the
    // machine; where that hive cannot be written (no administrator rights, Windows 9x) for the user.
    HKEY root = HKEY_CURRENT_USER;
    const wchar_t* rootName = L"HKCU";
    UniqueHKey probe;
    if (m_env.platform != 0 && RegCreateKeyExW(HKEY_LOCAL_MACHINE, UninstallLog::kUninstallKeys, 0, nullptr, 0,
                                               KEY_CREATE_SUB_KEY, nullptr, probe.Put(), nullptr) == ERROR_SUCCESS) {
        root = HKEY_LOCAL_MACHINE;
        rootName = L"HKLM";
    }
    const std::wstring keyPath = std::wstring(UninstallLog::kUninstallKeys) + L"\\" + UninstallLog::kProduct;

    WIN32_FILE_ATTRIBUTE_DATA selfData{};
    GetFileAttributesExW(self, GetFileExInfoStandard, &selfData);
    double bytes = GetFileSize() + selfData.nFileSizeLow;
    const std::wstring quoted = L"\"" + uninstaller + L"\" /uninstall";
    const RegValue values[] = {
        {L"DisplayName", m_appName.empty() ? UninstallLog::kProduct : m_appName},
        {L"DisplayVersion", UninstallLog::kDisplayVersion},
        {L"DisplayIcon", folder + L"\\" + (m_mainFile.empty() ? UninstallLog::kUninstallerName : m_mainFile)},
        {L"InstallLocation", folder},
        {L"UninstallString", quoted},
        {L"QuietUninstallString", quoted + L" /S"},
        {L"EstimatedSize", L"", static_cast<DWORD>((bytes + 1023) / 1024)}, // in KiB
        {L"NoModify", L"", 1},
        {L"NoRepair", L"", 1},
    };
    for (const RegValue& value : values) {
        m_record.BeforeValue(root, rootName, keyPath, value.name);
        UniqueHKey key;
        LONG status = RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
        if (status == ERROR_SUCCESS && !value.text.empty())
            status = RegSetValueExW(key.Get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                    static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
        else if (status == ERROR_SUCCESS)
            status = RegSetValueExW(key.Get(), value.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                                    sizeof(value.number));
        if (status != ERROR_SUCCESS)
            Fail(Id::FailedRegistry, std::wstring(rootName) + L"\\" + keyPath + L"\\" + value.name);
    }
}
