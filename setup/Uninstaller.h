#pragma once
// setup.exe /uninstall: removes what the uninstall log of an installation lists, in reverse
// order, restoring registry values the installation replaced. The catalogue folder is kept
// unless the user asks to delete it; nothing the log does not list is touched.

#include "SetupFormat.h"
#include "UninstallLog.h"

#include <windows.h>

#include <string>
#include <vector>

class Uninstaller {
public:
    enum class State { Missing, Refused, Ready };

    // Reads folder\Uninstall.log.
    explicit Uninstaller(std::wstring folder);

    State GetState() const { return m_state; }
    const std::wstring& Folder() const { return m_folder; }
    // The installation's language (German when the log could not be read).
    bool German() const { return m_log.German(); }
    // Why the log is not used, in the given language.
    std::wstring Problem(bool german) const;
    // The catalogue folder when the log names one and it is there, else "".
    std::wstring Catalogue() const;

    // Removes everything the log lists, last record first. When something cannot be removed,
    // the log is written again with just those records, so that a later run can finish.
    void Run(bool keepCatalogue);

    // After Run: what could not be removed, and what was left on purpose, one text each.
    const std::vector<std::wstring>& Failures() const { return m_failures; }
    const std::vector<std::wstring>& Kept() const { return m_kept; }
    // The closing report: the outcome, then the failures and what was kept.
    std::wstring Report(bool german) const;

private:
    bool Undo(const UninstallLog::Record& record, bool keepCatalogue, bool german);
    void RemoveTree(const std::wstring& folder, bool german, bool& ok);
    bool MoveAwaySelf();

    std::wstring m_folder;
    State m_state = State::Missing;
    UninstallLog::Log m_log;
    SetupTexts::Id m_error = SetupTexts::Id::Count;
    std::size_t m_errorLine = 0;
    std::vector<std::wstring> m_failures;
    std::vector<std::wstring> m_kept;
    std::wstring m_self;                             // this program's own file, which Windows does not let it delete
    std::vector<std::wstring> m_foreignRegistration; // hives whose registration names another folder
};

// The folder of the installation to remove: the one given with /D=, else the folder of this
// program when it holds an uninstall log, else the registered installation's folder; "" if none.
std::wstring FindInstallation(const std::wstring& given);

// Without windows: exit code 0 removed, 2 no usable log (nothing removed), 3 something could
// not be removed (listed on standard error). The catalogue is kept.
int SilentUninstall(const std::wstring& folder, std::optional<bool> german);

// Asks once, asks whether to keep the catalogue (yes by default), removes and reports, all in
// message boxes. Exit codes as the silent uninstall, and 1 when the user says no.
int InteractiveUninstall(const std::wstring& folder, std::optional<bool> german, HWND owner);

// setup.exe /uninstall [/S] [/LANG=DE|EN] [/D=folder].
int RunUninstall(const SetupFormat::Options& options);
