#pragma once
// The installer's state and the actions that change the system: the space figures, the copies
// (with the platform's variant of a file), the folder copy, the shortcuts, the registry entries
// and the launch. No windows here: the wizard and the silent mode both drive it.

#include "InstallRecorder.h"
#include "InstallScript.h"
#include "SetupTexts.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the installer finds on the machine at start.
struct InstallEnvironment {
    int platform = 2;          // 0 Windows 9x, 1 NT 4, 2 NT 5 or later
    bool germanLocale = true;  // from the locale's country name
    std::wstring source;       // the folder of setup.exe and Install.txt
    std::wstring system;       // the Windows system folder
    std::wstring programs;     // the start menu's Programs folder
    std::wstring desktop;      // the desktop folder
    std::wstring programFiles; // ProgramFilesDir
    std::wstring userKeyName;  // below HKEY_USERS

    static InstallEnvironment Detect();
};

// Reads a text file of the medium (Install.txt, the licence texts): UTF-8 when it starts with
// the byte order mark, else the ANSI code page. nullopt when it cannot be read; error then
// holds the system's error code.
std::optional<std::wstring> ReadTextFile(const std::wstring& path, DWORD* error = nullptr);

// Reads Install.txt: UTF-8 when it starts with the byte order mark, else the ANSI code page.
// nullopt when it cannot be read; error then holds the system's error code.
std::optional<InstallScript> LoadInstallScript(const std::wstring& path, DWORD& error);

// The platform number: 0 Windows 9x, 1 NT before version 5, 2 NT 5 or later.
int GetWindowsVersion();

// Creates a folder and all its missing parents; true when it exists afterwards.
bool MakeDirectory(const std::wstring& path);

// The folder part of a path (before the last "\"); empty when there is none.
std::wstring ParentOf(const std::wstring& path);

// The predefined key of a registry root; nullptr for none.
HKEY RootKey(RegRoot root);

// Creates one shortcut file through the shell link object.
HRESULT MakeShortcut(const std::wstring& target, const std::wstring& description, const std::wstring& linkPath,
                     const std::wstring& workingFolder);

// Free bytes of the drive that a path's first two characters name (the current drive when
// they name none); 0 when the drive cannot be asked.
double FreeSpaceOf(const std::wstring& path);

// The system's decimal separator, for the megabyte texts.
wchar_t DecimalSeparator();

class Installer {
public:
    using StatusHandler = std::function<void(const std::wstring&)>;
    using PumpHandler = std::function<void()>;

    Installer(InstallEnvironment env, InstallScript script);

    const InstallEnvironment& Environment() const { return m_env; }
    const InstallScript& Script() const { return m_script; }

    // Start-up step 5: application name, title, product text (adjusted by the locale), program
    // group, description and the offer of English; the German flag is set back to 1.
    void ReadParameters();
    // Read at the third timer tick: the folder to copy and the main file.
    void ReadLateParameters();

    bool German() const { return m_vars.german; }
    void SetGerman(bool german) { m_vars.german = german; }
    bool OffersEnglish() const { return m_offersEnglish; }

    const std::wstring& AppName() const { return m_appName; }
    const std::wstring& Title() const { return m_title; }
    const std::wstring& Product() const { return m_product; }
    const std::wstring& ProgramGroup() const { return m_programGroup; }
    const std::wstring& Description() const { return m_description; }
    const std::wstring& MakeDir() const { return m_makeDir; }
    const std::wstring& MainFile() const { return m_mainFile; }

    // The values the wizard decides.
    const std::wstring& Destination() const { return m_vars.destination; }
    void SetDestination(const std::wstring& folder) { m_vars.destination = folder; }
    const std::wstring& Group() const { return m_vars.programGroup; }
    void SetGroup(const std::wstring& group) { m_vars.programGroup = group; }
    bool DesktopShortcut() const { return m_desktopShortcut; }
    void SetDesktopShortcut(bool on) { m_desktopShortcut = on; }
    const ScriptVariables& Variables() const { return m_vars; }

    // Reports a [RenameFiles] entry that cannot be used. The medium is only read: the variant
    // is copied under its target name by CopyFiles.
    void CheckRenameFile();
    // Bytes of the files the [CopyFiles] section copies.
    double GetFileSize() const;

    // The run: CopyFiles (copies, the folder copy, shortcuts), then RegistryEntries, then
    // Register. Everything it creates is recorded in the uninstall log as it goes.
    void Run();
    void CopyFiles();
    void RegistryEntries();
    // Keeps a copy of setup.exe as the uninstaller in the installation folder and registers it
    // under ...\CurrentVersion\Uninstall (the machine's hive when it can be written, else the user's).
    void Register();
    // The finish page's launch of destination\main file.
    bool Launch(HWND owner) const;

    // What went wrong in the run (and malformed lines met on the way), one text per item,
    // in the current language.
    const std::vector<std::wstring>& Failures() const { return m_failures; }

    void OnStatus(StatusHandler handler) { m_status = std::move(handler); }
    void OnPump(PumpHandler handler) { m_pump = std::move(handler); }

private:
    void Status(const std::wstring& text) const;
    void Pump() const;
    void Fail(SetupTexts::Id reason, const std::wstring& what);
    void CopyFolder();
    bool WriteRegistryEntry(const RegEntry& entry);

    InstallEnvironment m_env;
    InstallScript m_script;
    ScriptVariables m_vars;
    bool m_desktopShortcut = true;
    bool m_offersEnglish = false;
    std::wstring m_appName, m_title, m_product, m_programGroup, m_description, m_makeDir, m_mainFile;
    std::vector<std::wstring> m_failures;
    InstallRecorder m_record;
    StatusHandler m_status;
    PumpHandler m_pump;
};
