#include "SilentInstall.h"

#include "Installer.h"
#include "SetupTexts.h"

using SetupTexts::Id;
using SetupTexts::Text;

void WriteError(const std::wstring& text)
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    // A GUI program started from a console has no standard handles of its own.
    if ((!handle || handle == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        handle = GetStdHandle(STD_ERROR_HANDLE);
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    std::wstring line = text + L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int SilentInstall(const InstallEnvironment& env, const SetupFormat::Options& options)
{
    DWORD error = 0;
    std::optional<InstallScript> script = LoadInstallScript(env.source + L"\\Install.txt", error);
    if (!script) {
        WriteError(Text(env.germanLocale ? Id::ScriptMissingGerman : Id::ScriptMissingEnglish, true) +
                   std::wstring(L" (") + env.source + L"\\Install.txt, error " + std::to_wstring(error) + L")");
        return 2;
    }
    Installer installer(env, std::move(*script));
    installer.ReadParameters();
    // The wizard's language: German, or English preselected when the script offers the choice.
    installer.SetGerman(options.german.value_or(!installer.OffersEnglish()));
    installer.ReadLateParameters();
    // As the wizard does: the needed space first, then the check of the [RenameFiles] entry.
    double needed = installer.GetFileSize();
    installer.CheckRenameFile();

    std::wstring destination = options.destination.empty()
                                   ? SetupFormat::DefaultDestination(env.programFiles, installer.ProgramGroup())
                                   : options.destination;
    bool german = installer.German();
    if (destination.find(L'\\') == std::wstring::npos) {
        WriteError(Text(Id::NoFolder, german) + std::wstring(L" (") + destination + L")");
        return 4;
    }
    if (FreeSpaceOf(destination) - needed < 0) {
        WriteError(Text(Id::NoSpace, german));
        return 4;
    }
    installer.SetDestination(destination);
    installer.SetGroup(installer.ProgramGroup());
    installer.SetDesktopShortcut(true);
    installer.Run();
    if (installer.Failures().empty())
        return 0;
    WriteError(Text(Id::FailuresIntro, german));
    for (const std::wstring& failure : installer.Failures())
        WriteError(L"  " + failure);
    return 3;
}
