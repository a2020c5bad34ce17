#pragma once
// Writes the uninstall log while the installation runs. Each record goes to the file before
// the change it describes is made, so that whatever happens next (a failure, a cancel, a
// crash) the log lists everything the installation may have created.

#include "UninstallLog.h"
#include "common/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

class InstallRecorder {
public:
    // MakeDirectory that notes the levels it makes; before Begin they wait for the log.
    bool MakeFolder(const std::wstring& path);

    // Opens folder\Uninstall.log. The records of an earlier installation into the same folder
    // are kept, so that uninstalling removes what both made; a log that cannot be read is
    // replaced. False when the log cannot be written.
    bool Begin(const std::wstring& folder, bool german);
    bool Active() const { return static_cast<bool>(m_file); }
    const std::wstring& LogPath() const { return m_path; }

    // Before a file is copied; a file outside the installation folder that is there already is
    // left out (see the .cpp).
    void File(const std::wstring& path);
    void Shortcut(const std::wstring& path);
    // The catalogue folder: recorded only when it lies inside the installation folder, so that
    // deleting it (which the user is asked about) never reaches a folder of anybody else's.
    void Catalogue(const std::wstring& folder);
    // Before a copy of a whole folder: the folders it will make and the files it will copy.
    void BeforeTreeCopy(const std::wstring& source, const std::wstring& target);
    // Before a registry value is written: the keys that will be made and the value it replaces.
    void BeforeValue(HKEY root, const std::wstring& rootName, const std::wstring& keyPath,
                     const std::wstring& valueName);

private:
    void Write(const UninstallLog::Record& record);
    void WriteLine(const std::wstring& line);
    void TreeBelow(const std::wstring& source, const std::wstring& target, int depth);

    UniqueFile m_file;
    std::wstring m_path;
    std::wstring m_folder;
    std::vector<std::wstring> m_pending; // folders made before the log was open
};
