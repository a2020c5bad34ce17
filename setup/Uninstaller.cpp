#include "Uninstaller.h"

#include "InstallScript.h"
#include "Installer.h"
#include "SilentInstall.h"
#include "common/Log.h"
#include "common/UniqueHandle.h"

#include <shlwapi.h>

#include <algorithm>

using SetupTexts::Id;
using SetupTexts::Text;
using UninstallLog::Kind;
using UninstallLog::Record;

namespace {

constexpr const wchar_t* kChannel = L"setup";

bool Same(const std::wstring& a, const std::wstring& b)
{
    return UpperCase(a) == UpperCase(b);
}

std::wstring RegistryText(const Record& record)
{
    std::wstring text = record.root + L"\\" + record.path;
    if (record.kind == Kind::Value)
        text += L"\\" + record.valueName;
    return text;
}

std::wstring TrimmedFolder(std::wstring folder)
{
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

std::wstring RegistrationKey()
{
    return std::wstring(UninstallLog::kUninstallKeys) + L"\\" + UninstallLog::kProduct;
}

// The folder the registration below root names, "" without one.
std::wstring RegisteredFolder(HKEY root)
{
    UniqueHKey key;
    wchar_t folder[MAX_PATH] = L"";
    DWORD size = sizeof(folder) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegOpenKeyExW(root, RegistrationKey().c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExW(key.Get(), L"InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return L"";
    return TrimmedFolder(folder);
}

void WriteLog(const std::wstring& path, const UninstallLog::Log& log, const std::vector<Record>& records)
{
    std::wstring text = UninstallLog::HeaderLine(log.product, log.folder) + L"\r\n";
    for (const Record& record : records)
        text += UninstallLog::RecordLine(record) + L"\r\n";
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8 = "\xEF\xBB\xBF" + std::string(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[3], bytes, nullptr, nullptr);
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr))
        Log::LastError(kChannel, path.c_str());
}

} // namespace

Uninstaller::Uninstaller(std::wstring folder) : m_folder(TrimmedFolder(std::move(folder)))
{
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    m_self = self;
    std::optional<std::wstring> text = ReadTextFile(m_folder + L"\\" + UninstallLog::kLogName);
    if (!text)
        return;
    UninstallLog::ParseResult parsed = UninstallLog::Parse(*text, UninstallLog::kProduct, m_folder);
    if (!parsed.log) {
        m_state = State::Refused;
        m_error = parsed.error;
        m_errorLine = parsed.line;
        return;
    }
    m_log = std::move(*parsed.log);
    m_state = State::Ready;
}

std::wstring Uninstaller::Problem(bool german) const
{
    std::wstring path = m_folder + L"\\" + UninstallLog::kLogName;
    if (m_state == State::Missing)
        return Text(Id::LogNotFound, german) + path;
    return Text(Id::LogRefused, german) + (L"\n" + path + L"\n") + Text(m_error, german) + Text(Id::LogLine, german) +
           std::to_wstring(m_errorLine);
}

std::wstring Uninstaller::Catalogue() const
{
    std::wstring catalogue = m_log.Catalogue();
    DWORD attributes = catalogue.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(catalogue.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? catalogue : L"";
}

void Uninstaller::Run(bool keepCatalogue)
{
    if (m_state != State::Ready)
        return;
    bool german = m_log.German();
    std::wstring logPath = m_folder + L"\\" + UninstallLog::kLogName;
    // The records are in memory now; the log goes first so that its folder can go at the end.
    DeleteFileW(logPath.c_str());
    // An installation into another folder made after this one owns the registration now.
    for (const wchar_t* root : {L"HKLM", L"HKCU"}) {
        std::wstring registered = RegisteredFolder(RootKey(GetHKEY(root)));
        if (!registered.empty() && !Same(registered, m_folder))
            m_foreignRegistration.push_back(root);
    }
    // The registration, the uninstaller and the folders go last, and only when everything else
    // has gone: until then the installation stays listed, and removable again.
    const std::wstring uninstaller = m_folder + L"\\" + UninstallLog::kUninstallerName;
    auto last = [&](const Record& record) {
        return ((record.kind == Kind::Key || record.kind == Kind::Value) && Same(record.path, RegistrationKey())) ||
               (record.kind == Kind::File && Same(record.path, uninstaller)) || record.kind == Kind::Folder;
    };
    std::vector<bool> done(m_log.records.size(), false);
    for (bool lastPass : {false, true}) {
        if (lastPass && !m_failures.empty())
            break;
        for (std::size_t i = m_log.records.size(); i-- > 0;)
            if (last(m_log.records[i]) == lastPass)
                done[i] = Undo(m_log.records[i], keepCatalogue, german);
    }
    if (!m_failures.empty()) {
        // What is left, and the folders that hold it, for a later run.
        std::vector<Record> left;
        for (std::size_t i = 0; i < m_log.records.size(); ++i) {
            const Record& record = m_log.records[i];
            bool there = GetFileAttributesW(record.path.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!done[i] || record.kind == Kind::Language ||
                ((record.kind == Kind::Folder || record.kind == Kind::Catalogue) && there))
                left.push_back(record);
        }
        WriteLog(logPath, m_log, left);
    }
    // A registration given back to an earlier installation that has been removed meanwhile
    // would list a program that is not there any more.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        std::wstring registered = RegisteredFolder(root);
        if (!registered.empty() &&
            GetFileAttributesW((registered + L"\\" + UninstallLog::kLogName).c_str()) == INVALID_FILE_ATTRIBUTES)
            SHDeleteKeyW(root, RegistrationKey().c_str());
    }
}

bool Uninstaller::Undo(const Record& record, bool keepCatalogue, bool german)
{
    const std::wstring catalogue = keepCatalogue ? m_log.Catalogue() : L"";
    auto inKeptCatalogue = [&](const std::wstring& path) {
        return !catalogue.empty() && (Same(path, catalogue) || UninstallLog::IsInside(path, catalogue));
    };
    if ((record.kind == Kind::Key || record.kind == Kind::Value) && Same(record.path, RegistrationKey()) &&
        std::find(m_foreignRegistration.begin(), m_foreignRegistration.end(), record.root) !=
            m_foreignRegistration.end())
        return true;
    switch (record.kind) {
    case Kind::Language:
        return true;
    case Kind::Catalogue: {
        if (GetFileAttributesW(record.path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        if (keepCatalogue) {
            m_kept.push_back(Text(Id::UninstallKept, german) + record.path);
            return true;
        }
        bool ok = true;
        RemoveTree(record.path, german, ok);
        return ok;
    }
    case Kind::File:
    case Kind::Shortcut: {
        if (inKeptCatalogue(record.path) || GetFileAttributesW(record.path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        SetFileAttributesW(record.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(record.path.c_str()))
            return true;
        if (Same(record.path, m_self) && MoveAwaySelf())
            return true;
        Log::LastError(kChannel, record.path.c_str());
        m_failures.push_back(Text(Id::UninstallNotRemoved, german) + record.path);
        return false;
    }
    case Kind::Folder: {
        if (inKeptCatalogue(record.path) || GetFileAttributesW(record.path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        if (RemoveDirectoryW(record.path.c_str()))
            return true;
        if (UninstallLog::IsInside(m_self, record.path) &&
            MoveFileExW(record.path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            return true;
        // A folder that holds something the log does not list stays, and the report says so,
        // unless it stays only because of the kept catalogue or a folder reported already.
        bool explained = !catalogue.empty() && UninstallLog::IsInside(catalogue, record.path);
        for (const std::wstring& kept : m_kept)
            explained = explained || kept.find(record.path + L"\\") != std::wstring::npos;
        if (!explained)
            m_kept.push_back(Text(Id::UninstallKept, german) + record.path);
        return true;
    }
    case Kind::Key: {
        HKEY root = RootKey(GetHKEY(record.root));
        UniqueHKey key;
        if (RegOpenKeyExW(root, record.path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
            return true;
        DWORD subkeys = 0;
        DWORD values = 0;
        RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        key.Reset();
        if (subkeys || values) {
            // Settings the program wrote there itself are the user's, like the catalogue.
            m_kept.push_back(Text(Id::UninstallKept, german) + RegistryText(record));
            return true;
        }
        LONG status = RegDeleteKeyW(root, record.path.c_str());
        if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
            return true;
        m_failures.push_back(Text(Id::UninstallRegistryNotRemoved, german) + RegistryText(record));
        return false;
    }
    case Kind::Value: {
        UniqueHKey key;
        LONG status = RegOpenKeyExW(RootKey(GetHKEY(record.root)), record.path.c_str(), 0, KEY_SET_VALUE, key.Put());
        // A key that is gone takes its values with it: nothing to remove, and a previous value is
        // not brought back into a key that someone (another installation's removal) deleted.
        if (status == ERROR_FILE_NOT_FOUND)
            return true;
        if (status == ERROR_SUCCESS && record.previousType) {
            status = RegSetValueExW(key.Get(), record.valueName.c_str(), 0, *record.previousType,
                                    record.previousData.empty() ? nullptr : record.previousData.data(),
                                    static_cast<DWORD>(record.previousData.size()));
            if (status == ERROR_SUCCESS)
                return true;
        } else if (status == ERROR_SUCCESS) {
            status = RegDeleteValueW(key.Get(), record.valueName.c_str());
            if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
                return true;
        }
        m_failures.push_back(
            Text(record.previousType ? Id::UninstallRegistryNotRestored : Id::UninstallRegistryNotRemoved, german) +
            RegistryText(record));
        return false;
    }
    }
    return true;
}

bool Uninstaller::MoveAwaySelf()
{
    // Windows does not let a running program delete its own file, but it lets it be renamed:
    // moved to the temporary folder, it leaves the installation folder empty and goes at the next
    // start of Windows. Where it cannot be moved (another drive) it goes at that start from here.
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring away = std::wstring(temp) + L"Sortaro-Uninstall-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (temp[0] && MoveFileExW(m_self.c_str(), away.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        MoveFileExW(away.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return true;
    }
    return MoveFileExW(m_self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

void Uninstaller::RemoveTree(const std::wstring& folder, bool german, bool& ok)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            // A link to a folder elsewhere goes, what it points to stays.
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(path, german, ok);
                continue;
            }
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool removed = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(path.c_str())
                                                                              : DeleteFileW(path.c_str());
            if (!removed) {
                Log::LastError(kChannel, path.c_str());
                m_failures.push_back(Text(Id::UninstallNotRemoved, german) + path);
                ok = false;
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    if (!RemoveDirectoryW(folder.c_str()) && ok) {
        m_failures.push_back(Text(Id::UninstallNotRemoved, german) + folder);
        ok = false;
    }
}

std::wstring Uninstaller::Report(bool german) const
{
    std::wstring report;
    if (m_failures.empty()) {
        report = m_log.product + Text(Id::UninstallDone, german);
    } else {
        report = Text(Id::UninstallIncomplete, german);
        for (const std::wstring& failure : m_failures)
            report += L"\n" + failure;
        report += L"\n\n" + std::wstring(Text(Id::UninstallRetry, german));
    }
    if (!m_kept.empty())
        report += L"\n";
    for (const std::wstring& kept : m_kept)
        report += L"\n" + kept;
    return report;
}

std::wstring FindInstallation(const std::wstring& given)
{
    if (!given.empty())
        return TrimmedFolder(given);
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring here = ParentOf(self);
    if (GetFileAttributesW((here + L"\\" + UninstallLog::kLogName).c_str()) != INVALID_FILE_ATTRIBUTES)
        return here;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        std::wstring registered = RegisteredFolder(root);
        if (!registered.empty())
            return registered;
    }
    return L"";
}

int SilentUninstall(const std::wstring& folder, std::optional<bool> german)
{
    Uninstaller uninstaller(folder);
    bool g = german.value_or(uninstaller.German());
    if (uninstaller.GetState() != Uninstaller::State::Ready) {
        WriteError(uninstaller.Problem(g));
        return 2;
    }
    uninstaller.Run(true);
    if (uninstaller.Failures().empty())
        return 0;
    WriteError(Text(Id::UninstallIncomplete, g));
    for (const std::wstring& failure : uninstaller.Failures())
        WriteError(L"  " + failure);
    return 3;
}

int InteractiveUninstall(const std::wstring& folder, std::optional<bool> german, HWND owner)
{
    Uninstaller uninstaller(folder);
    bool g = german.value_or(uninstaller.German());
    std::wstring title = Text(Id::UninstallTitle, g) + std::wstring(UninstallLog::kProduct);
    if (uninstaller.GetState() != Uninstaller::State::Ready) {
        MessageBoxW(owner, uninstaller.Problem(g).c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
        return 2;
    }
    std::wstring question =
        Text(Id::UninstallAsk, g) + std::wstring(UninstallLog::kProduct) + Text(Id::UninstallAskEnd, g);
    if (MessageBoxW(owner, question.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    bool keep = true;
    std::wstring catalogue = uninstaller.Catalogue();
    if (!catalogue.empty()) {
        std::wstring text = Text(Id::UninstallKeepCatalogue, g) + catalogue + Text(Id::UninstallKeepCatalogueEnd, g);
        // Keeping is the default: the catalogue is the user's work.
        keep = MessageBoxW(owner, text.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDNO;
    }
    uninstaller.Run(keep);
    bool complete = uninstaller.Failures().empty();
    MessageBoxW(owner, uninstaller.Report(g).c_str(), title.c_str(),
                MB_OK | (complete ? MB_ICONINFORMATION : MB_ICONWARNING));
    return complete ? 0 : 3;
}

int RunUninstall(const SetupFormat::Options& options)
{
    std::wstring folder = FindInstallation(options.destination);
    // Without a folder the reader reports the log as missing where this program lies.
    if (folder.empty()) {
        wchar_t self[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        folder = ParentOf(self);
    }
    return options.silent ? SilentUninstall(folder, options.german)
                          : InteractiveUninstall(folder, options.german, nullptr);
}
