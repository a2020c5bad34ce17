#pragma once
// The small install script that shows every section at work. Its two registry values go below
// the given key: the tests under Wine keep theirs apart from the program's own settings.

#include <string>
#include <vector>

inline std::vector<std::wstring> ExampleScript(const std::wstring& settingsKey = L"Software\\Sortaro\\Options")
{
    return {
        L"[AppName]",
        L"Sortaro 3.0;",
        L"[Title]",
        L"Sortaro;",
        L"[product]",
        L"für Win9x/2000/ME/NT;",
        L"[ProgramGroup]",
        L"Sortaro;",
        L"[description]",
        L"Dateikatalog;",
        L"[English]",
        L"1;",
        L"[MainFile]",
        L"Sortaro.exe;",
        L"[MakeDir]",
        L"%Ziel\\Data;",
        L"[RenameFiles]",
        L"SortaroNT.exe,Sortaro.exe,2;",
        L"[COPYFILES]",
        L"Ziel\\Sortaro.exe;",
        L"Ziel\\liesmich.txt;",
        L"WinSystemDir\\extra.dll;",
        L"WinStartMenu\\Sortaro.exe;",
        L"DesktopPath\\Sortaro.exe;",
        L"]",
        L"[AddReg]",
        L"HKCU,," + settingsKey + L",language,s,%Language;",
        L"HKCU,," + settingsKey + L",InstallDir,s,%Ziel;",
        L"]",
    };
}
