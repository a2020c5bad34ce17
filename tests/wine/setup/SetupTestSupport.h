#pragma once
// Helpers for the installer's tests under Wine: a scratch folder per test, small file
// helpers, a bounded message flush and answers for modal windows by their titles.

#include "setup/Installer.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace SetupTest {

// Dispatches messages until the queue has been empty for a moment or ms have passed.
void Flush(DWORD ms = 200);

// A fresh folder below the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    // path below the folder; the parents are made.
    std::wstring Make(const std::wstring& relative) const;

private:
    std::wstring m_path;
};

void WriteFile(const std::wstring& path, const std::string& bytes);
// A text file as UTF-8 with a byte order mark, lines joined by CR LF.
void WriteScript(const std::wstring& path, const std::vector<std::wstring>& lines);
std::string ReadFile(const std::wstring& path);
bool Exists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
// Calls visit for every file and folder below a folder, with its path relative to it.
void ForEachBelow(const std::wstring& folder, const std::function<void(const std::wstring&, bool isFolder)>& visit);

// Removes the installer's registration for uninstalling from both hives: a test's installation
// must not stay listed in the test prefix.
void ForgetRegistration();

// The environment of a test: every folder below the scratch folder.
InstallEnvironment TestEnvironment(const ScratchFolder& scratch);

struct ShortcutInfo {
    bool loaded = false;
    std::wstring target, workingFolder, description;
    int showCommand = 0;
};
// A .lnk file loaded back through the shell link object.
ShortcutInfo ReadShortcut(const std::wstring& path);

// A text value below HKEY_CURRENT_USER (or another root), "<missing>" when absent, and a
// number value.
std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name);
DWORD RegNumber(HKEY root, const std::wstring& key, const std::wstring& name, DWORD missing = 0xDEADBEEF);

std::wstring WindowText(HWND hwnd);
std::wstring ItemText(HWND dialog, int id);

// Answers top-level windows when they are shown: each rule names a title and what to do with
// the window (it runs inside the modal loop that shows it). Records every title shown, and the
// text of every message box.
class ModalAnswers {
public:
    using Action = std::function<void(HWND)>;
    ModalAnswers();
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // The rule is used once for each window shown with this title, in the order added.
    void On(const std::wstring& title, Action action);
    // Presses a button of the window (posted, so the modal loop handles it).
    static Action Press(int id);

    const std::vector<std::wstring>& Titles() const;
    // Message box texts and dialog texts seen, keyed by title: title + "|" + text.
    const std::vector<std::wstring>& Texts() const;
    int Count(const std::wstring& title) const;
};

} // namespace SetupTest
