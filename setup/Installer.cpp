#include "Installer.h"

#include "SetupFormat.h"
#include "common/Log.h"
#include "common/UniqueHandle.h"

#include <shellapi.h>
#include <shlobj.h>

using SetupTexts::Id;

namespace {

constexpr const wchar_t* kChannel = L"setup";

std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return L"";
    return path;
}

std::optional<std::wstring> ReadString(HKEY root, const wchar_t* keyPath, const wchar_t* name)
{
    UniqueHKey key;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[MAX_PATH * 2] = L"";
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return std::wstring(buffer, size / sizeof(wchar_t)).c_str();
}

std::vector<std::wstring> SubkeysOf(HKEY root)
{
    std::vector<std::wstring> names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasFiles(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(Join(folder, L"*.*").c_str(), &data));
    if (!find)
        return false;
    do {
        if (lstrcmpW(data.cFileName, L".") != 0 && lstrcmpW(data.cFileName, L"..") != 0)
            return true;
    } while (FindNextFileW(find.Get(), &data));
    return false;
}

// The script's bytes as text: ANSI code page unless marked as UTF-8.
std::wstring DecodeScript(const std::string& bytes)
{
    if (HasUtf8Bom(bytes)) {
        if (auto text = DecodeUtf8(std::string_view(bytes).substr(3)))
            return *text;
        Log::Write(LogLevel::Warning, kChannel, L"Install.txt is marked UTF-8 but is not; read as ANSI");
    }
    if (bytes.empty())
        return L"";
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return text;
}

} // namespace

std::wstring ParentOf(const std::wstring& path)
{
    std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

HKEY RootKey(RegRoot root)
{
    switch (root) {
    case RegRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegRoot::Users:
        return HKEY_USERS;
    case RegRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegRoot::DynData:
        return HKEY_DYN_DATA;
    case RegRoot::None:
        break;
    }
    return nullptr;
}

int GetWindowsVersion()
{
    return SetupFormat::PlatformFromVersion(GetVersion());
}

InstallEnvironment InstallEnvironment::Detect()
{
    InstallEnvironment env;
    env.platform = GetWindowsVersion();
    env.userKeyName = SetupFormat::ChooseUserKeyName(SubkeysOf(HKEY_USERS), env.platform);
    env.germanLocale =
        SetupFormat::GermanFromCountry(ReadString(HKEY_CURRENT_USER, L"Control Panel\\International", L"sCountry"));
    bool nt = env.platform != 0;
    env.programs = SpecialFolder(nt ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS);
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    env.source = folder;
    // Started from elsewhere (a script, a shortcut with another working folder), the medium is
    // still found: the folder of setup.exe when it holds the script and the current one does not.
    if (GetFileAttributesW((env.source + L"\\Install.txt").c_str()) == INVALID_FILE_ATTRIBUTES) {
        wchar_t exe[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring exeFolder = ParentOf(exe);
        if (GetFileAttributesW((exeFolder + L"\\Install.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
            env.source = exeFolder;
    }
    env.desktop = SpecialFolder(nt ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY);
    GetSystemDirectoryW(folder, MAX_PATH);
    env.system = folder;
    env.programFiles =
        ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir")
            .value_or(L"");
    return env;
}

std::optional<std::wstring> ReadTextFile(const std::wstring& path, DWORD* error)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (error)
            *error = GetLastError();
        return std::nullopt;
    }
    std::string bytes;
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    if (error)
        *error = 0;
    return DecodeScript(bytes);
}

std::optional<InstallScript> LoadInstallScript(const std::wstring& path, DWORD& error)
{
    std::optional<std::wstring> text = ReadTextFile(path, &error);
    if (!text)
        return std::nullopt;
    return InstallScript(SplitLines(*text));
}

bool MakeDirectory(const std::wstring& path)
{
    // Each level from the drive root on; creating one that exists is harmless.
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    return FolderExists(path);
}

HRESULT MakeShortcut(const std::wstring& target, const std::wstring& description, const std::wstring& linkPath,
                     const std::wstring& workingFolder)
{
    HRESULT init = CoInitialize(nullptr);
    HRESULT hr = [&]() -> HRESULT {
        ComPtr<IShellLinkW> link;
        RETURN_IF_FAILED(kChannel,
                         CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put())));
        RETURN_IF_FAILED(kChannel, link->SetWorkingDirectory(workingFolder.c_str()));
        RETURN_IF_FAILED(kChannel, link->SetPath(target.c_str()));
        RETURN_IF_FAILED(kChannel, link->SetShowCmd(SW_SHOW));
        RETURN_IF_FAILED(kChannel, link->SetDescription(description.c_str()));
        ComPtr<IPersistFile> file;
        RETURN_IF_FAILED(kChannel, link->QueryInterface(IID_PPV_ARGS(file.Put())));
        // Long paths are refused rather than cut to MAX_PATH characters.
        if (linkPath.size() >= MAX_PATH)
            return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        RETURN_IF_FAILED(kChannel, file->Save(linkPath.c_str(), TRUE));
        return S_OK;
    }();
    if (SUCCEEDED(init))
        CoUninitialize();
    return hr;
}

double FreeSpaceOf(const std::wstring& path)
{
    int drive = SetupFormat::GetNumber(path.substr(0, 2));
    std::wstring root;
    if (drive > 0)
        root = std::wstring(1, static_cast<wchar_t>(L'A' + drive - 1)) + L":\\";
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(drive > 0 ? root.c_str() : nullptr, &available, nullptr, nullptr))
        return 0;
    return static_cast<double>(available.QuadPart);
}

wchar_t DecimalSeparator()
{
    wchar_t separator[4] = L".";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, ARRAYSIZE(separator));
    return separator[0] ? separator[0] : L'.';
}

Installer::Installer(InstallEnvironment env, InstallScript script) : m_env(std::move(env)), m_script(std::move(script))
{
    m_vars.desktop = m_env.desktop;
    m_vars.system = m_env.system;
    m_vars.programs = m_env.programs;
    m_vars.german = m_env.germanLocale;
}

void Installer::ReadParameters()
{
    m_appName = m_script.GetParameter(L"[AppName");
    m_title = m_script.GetParameter(L"[Title");
    // The product text follows the locale, whatever language the user chooses later.
    m_product = AdjustProductText(m_script.GetParameter(L"[product"), m_env.germanLocale);
    m_programGroup = m_script.GetParameter(L"[ProgramGroup");
    m_description = m_script.GetParameter(L"[description");
    m_offersEnglish = m_script.GetParameter(L"[English") == L"1";
    m_vars.german = true;
    m_vars.programGroup = m_programGroup;
}

void Installer::ReadLateParameters()
{
    m_makeDir = m_script.GetParameter(L"[MakeDir");
    m_mainFile = m_script.GetParameter(L"[MainFile");
}

void Installer::Status(const std::wstring& text) const
{
    if (m_status)
        m_status(text);
}

void Installer::Pump() const
{
    if (m_pump)
        m_pump();
}

void Installer::Fail(Id reason, const std::wstring& what)
{
    Log::Write(LogLevel::Warning, kChannel, L"%ls%ls", SetupTexts::Text(reason, false), what.c_str());
    m_failures.push_back(SetupTexts::Text(reason, m_vars.german) + what);
}

void Installer::CheckRenameFile()
{
    // Only reported here: the medium is never changed (it may be read-only, and a second run
    // must find it as the first did). The variant is chosen when the files are copied.
    InstallScript::RenameLookup rename = m_script.RenameFiles();
    if (!rename.hasHeader)
        return;
    if (!rename.entry) {
        // A malformed entry chooses nothing: installing a variant on a guess could install the wrong one.
        Fail(Id::SkippedLine, L"[RenameFiles] " + rename.line);
        return;
    }
    if (!StaysInsideFolder(rename.entry->first) || !StaysInsideFolder(rename.entry->second))
        Fail(Id::RefusedPath, L"[RenameFiles] " + rename.line);
}

double Installer::GetFileSize() const
{
    double total = 0;
    for (const std::wstring& line : m_script.CopyFilesLines()) {
        auto entry = ParseCopyLine(line);
        if (!entry || (entry->kind != CopyKind::Destination && entry->kind != CopyKind::System) ||
            !StaysInsideFolder(entry->relativePath))
            continue;
        std::wstring source = Join(m_env.source, m_script.SourceFor(entry->relativePath, m_env.platform));
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &data))
            total += static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
    }
    return total;
}

void Installer::CopyFiles()
{
    Status(SetupTexts::Text(Id::StatusCopying, m_vars.german));
    if (!FolderExists(m_vars.destination) && !m_record.MakeFolder(m_vars.destination))
        Fail(Id::FailedFolder, m_vars.destination);
    if (!m_record.Begin(m_vars.destination, m_vars.german))
        Fail(Id::FailedLog, Join(m_vars.destination, UninstallLog::kLogName));

    for (const std::wstring& line : m_script.CopyFilesLines()) {
        Pump();
        auto entry = ParseCopyLine(line);
        if (!entry || (entry->kind != CopyKind::Destination && entry->kind != CopyKind::System))
            continue;
        if (!StaysInsideFolder(entry->relativePath)) {
            Fail(Id::RefusedPath, line);
            continue;
        }
        std::wstring targetFolder = entry->kind == CopyKind::Destination ? m_vars.destination : m_env.system;
        Status(SetupTexts::Text(Id::StatusInstallingFile, m_vars.german) + entry->relativePath);
        std::wstring target = Join(targetFolder, entry->relativePath);
        // Subfolders of the target are made first, so Ziel\Data\x.txt lands in Data.
        std::wstring parent = ParentOf(target);
        if (!FolderExists(parent))
            m_record.MakeFolder(parent);
        // The platform's variant is copied under the entry's name; when it is missing the copy
        // fails rather than installing the other variant.
        std::wstring variant = m_script.SourceFor(entry->relativePath, m_env.platform);
        m_record.File(target);
        if (!CopyFileW(Join(m_env.source, variant).c_str(), target.c_str(), FALSE)) {
            Log::LastError(kChannel, target.c_str());
            Fail(Id::FailedCopy,
                 variant == entry->relativePath ? variant : variant + L" \u2192 " + entry->relativePath);
        }
    }

    CopyFolder();

    Status(SetupTexts::Text(Id::StatusShortcuts, m_vars.german));
    std::wstring groupFolder = Join(m_env.programs, m_vars.programGroup);
    if (!FolderExists(groupFolder) && !m_record.MakeFolder(groupFolder))
        Fail(Id::FailedFolder, groupFolder);
    for (const std::wstring& line : m_script.CopyFilesLines()) {
        Pump();
        auto entry = ParseCopyLine(line);
        if (!entry || (entry->kind != CopyKind::StartMenu && entry->kind != CopyKind::Desktop))
            continue;
        if (entry->kind == CopyKind::Desktop && !m_desktopShortcut)
            continue;
        if (!StaysInsideFolder(entry->relativePath)) {
            Fail(Id::RefusedPath, line);
            continue;
        }
        std::wstring linkFolder = entry->kind == CopyKind::StartMenu ? groupFolder : m_env.desktop;
        std::wstring linkPath = Join(linkFolder, ShortcutName(entry->relativePath));
        Status(SetupTexts::Text(Id::StatusInstallingShortcut, m_vars.german) + entry->relativePath);
        std::wstring parent = ParentOf(linkPath);
        if (!FolderExists(parent))
            m_record.MakeFolder(parent);
        m_record.Shortcut(linkPath);
        if (FAILED(MakeShortcut(Join(m_vars.destination, entry->relativePath), m_description, linkPath,
                                m_vars.destination)))
            Fail(Id::FailedShortcut, linkPath);
    }
}

void Installer::Run()
{
    CopyFiles();
    RegistryEntries();
    Register();
}

void Installer::CopyFolder()
{
    if (m_makeDir.empty())
        return;
    std::size_t slash = m_makeDir.find(L'\\');
    std::wstring variable = slash == std::wstring::npos ? m_makeDir : m_makeDir.substr(0, slash);
    // Without a variable and a "\" the value names no folder; with an unknown variable it
    // would name a folder relative to wherever setup runs.
    if (m_makeDir.find(L'%') == std::wstring::npos || slash == std::wstring::npos ||
        m_vars.GetVaribale(variable).empty()) {
        Fail(Id::SkippedLine, L"[MakeDir] " + m_makeDir);
        return;
    }
    std::wstring rest = m_makeDir.substr(slash);
    // The rest names a folder below both the variable's folder and the medium; nothing after
    // the "\" names the two folders themselves (the medium's top files are copied).
    if (rest.size() > 1 && !StaysInsideFolder(rest.substr(1))) {
        Fail(Id::RefusedPath, L"[MakeDir] " + m_makeDir);
        return;
    }
    std::wstring folder = m_vars.Resolve(m_makeDir);
    if (!FolderExists(folder) && !m_record.MakeFolder(folder)) {
        Fail(Id::FailedFolder, folder);
        return;
    }
    m_record.Catalogue(folder);
    std::wstring sourceFolder = m_env.source + rest;
    // A medium without the folder, or with an empty one, has nothing to copy.
    if (!HasFiles(sourceFolder))
        return;
    m_record.BeforeTreeCopy(sourceFolder, folder);
    // Double-null-terminated lists.
    std::wstring from = Join(sourceFolder, L"*.*");
    from.push_back(L'\0');
    std::wstring to = folder;
    to.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = GetDesktopWindow();
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    // No error boxes of the shell either: failures are listed at the end of the run.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    int result = SHFileOperationW(&op);
    if (result != 0 || op.fAnyOperationsAborted) {
        Log::Write(LogLevel::Warning, kChannel, L"SHFileOperationW copy of %ls failed: %d", from.c_str(), result);
        Fail(Id::FailedFolderCopy, sourceFolder);
    }
}

void Installer::RegistryEntries()
{
    Status(SetupTexts::Text(Id::StatusRegistry, m_vars.german));
    for (const std::wstring& line : m_script.AddRegLines()) {
        Pump();
        auto entry = ParseRegLine(line);
        if (!entry || entry->root == RegRoot::None || entry->type == RegType::None) {
            Fail(Id::SkippedLine, line);
            continue;
        }
        if (entry->data.find(L'%') != std::wstring::npos)
            entry->data = m_vars.Resolve(entry->data);
        if (!WriteRegistryEntry(*entry))
            Fail(Id::FailedRegistry, line);
    }
}

bool Installer::WriteRegistryEntry(const RegEntry& entry)
{
    std::wstring keyPath = entry.keyPath;
    // Paths below HKEY_USERS begin with "\" and follow the user key's name directly.
    if (entry.root == RegRoot::Users)
        keyPath = m_env.userKeyName + keyPath;
    std::optional<std::uint32_t> number;
    if (entry.type == RegType::Integer) {
        number = ParseDecimal32(entry.data);
        if (!number)
            return false;
    }
    m_record.BeforeValue(RootKey(entry.root), entry.rootName, keyPath, entry.valueName);
    UniqueHKey key;
    LONG status = RegCreateKeyExW(RootKey(entry.root), keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  key.Put(), nullptr);
    if (status != ERROR_SUCCESS) {
        Log::Write(LogLevel::Warning, kChannel, L"cannot open %ls, error %ld", keyPath.c_str(), status);
        return false;
    }
    if (entry.type == RegType::String) {
        status = RegSetValueExW(key.Get(), entry.valueName.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(entry.data.c_str()),
                                static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t)));
    } else {
        DWORD value = *number;
        status = RegSetValueExW(key.Get(), entry.valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof(value));
    }
    return status == ERROR_SUCCESS;
}

bool Installer::Launch(HWND owner) const
{
    std::wstring file = Join(m_vars.destination, m_mainFile);
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", file.c_str(), nullptr, m_vars.destination.c_str(), SW_SHOWNORMAL));
    return result > 32;
}
