// Program entry of setup.exe: the wizard, with /S the silent installation, with /uninstall the
// removal of an installation.

#include "Backdrop.h"
#include "SilentInstall.h"
#include "Uninstaller.h"
#include "common/MessagePump.h"

#include <commctrl.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);

    std::vector<std::wstring> args;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.emplace_back(argv[i]);
        LocalFree(argv);
    }
    SetupFormat::ParsedCommandLine parsed = SetupFormat::ParseCommandLine(args);
    if (!parsed.options) {
        WriteError(parsed.error);
        return 64;
    }
    // The copy kept in the installation folder removes, whatever switches it gets: started by
    // a double click it would otherwise look for an installation medium there.
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* name = wcsrchr(self, L'\\');
    if (name && lstrcmpiW(name + 1, UninstallLog::kUninstallerName) == 0)
        parsed.options->uninstall = true;
    if (parsed.options->uninstall)
        return RunUninstall(*parsed.options);
    if (parsed.options->silent)
        return SilentInstall(InstallEnvironment::Detect(), *parsed.options);

    // The shell link object and the folder tree need COM on this thread.
    OleScope ole;
    Backdrop backdrop;
    if (!backdrop.Create(InstallEnvironment::Detect()))
        return backdrop.Ended() ? backdrop.ExitCode() : 2;
    return MessagePump::Run(backdrop.Hwnd(), nullptr);
}
