#pragma once
// Support for the installer's tests under Wine: a fixture with a scratch folder that holds a
// medium, small file and registry functions, and answers for modal windows by their titles. The
// .cpp holds the tests' main function as well.

#include "setup/Installer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace SetupTest {

// The tests' registry values go below this key, apart from the program's own settings.
constexpr const wchar_t* kTestKey = L"Software\\SortaroSetupTest";
constexpr const wchar_t* kOptions = L"Software\\SortaroSetupTest\\Options";
// The registration for uninstalling, below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
inline const std::wstring kRegistration = std::wstring(UninstallLog::kUninstallKeys) + L"\\Sortaro";

// The parents are made.
void WriteFile(const std::wstring& path, const std::string& bytes);
// A text file as UTF-8 with a byte order mark, lines joined by CR LF.
void WriteScript(const std::wstring& path, const std::vector<std::wstring>& lines);
std::string ReadFile(const std::wstring& path);
bool Exists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
// Every file and folder below a folder by its path relative to it: a file's content, "<folder>"
// for a folder.
std::map<std::wstring, std::string> Snapshot(const std::wstring& folder);

// The script the tests install, every section at work: the program, a file in a subfolder of
// the destination, one for the system folder, both shortcuts, the [MakeDir] folder, a comment
// in each list, and values below kTestKey (in a key it makes, a number replacing one of
// kTestKey\Existing, one below the user key). moreCopies go at the end of [COPYFILES].
std::vector<std::wstring> ExampleScript(bool offerEnglish = false, const std::vector<std::wstring>& moreCopies = {});

// A scratch folder with the medium the example script names (and the licence texts), and the
// other folders of an environment below it. The test's values and the registration for
// uninstalling are removed from the prefix's registry before and after.
class SetupFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The installation folder the tests use; it is not there at first.
    std::wstring Folder() const { return scratch + L"\\target\\Sortaro"; }
    // An installer for a script written into the medium and read back from there, its
    // parameters read, installing into Folder().
    Installer Load(const std::vector<std::wstring>& lines, bool german = true);

    std::wstring scratch;
    InstallEnvironment env;
};

struct ShortcutInfo {
    bool loaded = false;
    std::wstring target, workingFolder, description;
    int showCommand = 0;
};
// A .lnk file loaded back through the shell link object.
ShortcutInfo ReadShortcut(const std::wstring& path);

// A text value, "<missing>" when absent, and a number value.
std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name);
DWORD RegNumber(HKEY root, const std::wstring& key, const std::wstring& name, DWORD missing = 0xDEADBEEF);

std::wstring WindowText(HWND hwnd);
std::wstring ItemText(HWND dialog, int id);

// Answers top-level windows when they are shown: each rule names a title and what to do with
// the window (it runs inside the modal loop that shows it), once, in the order added. Records
// the title of every window shown, and title + "|" + text of every message box.
class ModalAnswers {
public:
    using Action = std::function<void(HWND)>;
    ModalAnswers();
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    void On(const std::wstring& title, Action action) { m_rules.push_back({title, std::move(action)}); }
    // Presses a button of the window (posted, so the modal loop handles it).
    static Action Press(int id)
    {
        return [id](HWND hwnd) { PostMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0); };
    }
    const std::vector<std::wstring>& Texts() const { return m_texts; }
    int Count(const std::wstring& title) const
    {
        return static_cast<int>(std::count(m_titles.begin(), m_titles.end(), title));
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    std::vector<std::pair<std::wstring, Action>> m_rules;
    std::vector<std::wstring> m_titles, m_texts;
};

} // namespace SetupTest
