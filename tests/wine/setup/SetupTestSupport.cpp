#include "SetupTestSupport.h"
#include "../MessageFlush.h"

#include "common/MessagePump.h"
#include "common/UniqueHandle.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <deque>
#include <utility>

namespace SetupTest {

namespace {

struct Rule {
    std::wstring title;
    ModalAnswers::Action action;
};

HHOOK g_hook = nullptr;
std::deque<Rule> g_rules;
std::vector<std::wstring> g_titles;
std::vector<std::wstring> g_texts;

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam &&
        !(GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD)) {
        std::wstring title = WindowText(msg->hwnd);
        g_titles.push_back(title);
        // The message text of a message box is the static control 0xFFFF.
        std::wstring text = ItemText(msg->hwnd, 0xFFFF);
        if (!text.empty())
            g_texts.push_back(title + L"|" + text);
        for (auto it = g_rules.begin(); it != g_rules.end(); ++it) {
            if (it->title == title) {
                ModalAnswers::Action action = std::move(it->action);
                g_rules.erase(it);
                action(msg->hwnd);
                break;
            }
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

int g_scratchCount = 0;

} // namespace

void Flush(DWORD ms)
{
    FlushMessages(ms);
}

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"setup-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++g_scratchCount);
    if (m_path.back() == L'\\')
        m_path.pop_back();
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(m_path);
}

std::wstring ScratchFolder::Make(const std::wstring& relative) const
{
    std::wstring path = m_path + L"\\" + relative;
    MakeDirectory(path);
    return path;
}

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    std::size_t slash = path.find_last_of(L'\\');
    MakeDirectory(path.substr(0, slash));
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteScript(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
    WriteFile(path, "\xEF\xBB\xBF" + utf8);
}

std::string ReadFile(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    RemoveDirectoryW(path.c_str());
}

namespace {

void VisitBelow(const std::wstring& folder, const std::wstring& relative,
                const std::function<void(const std::wstring&, bool isFolder)>& visit)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(path, isFolder);
        if (isFolder)
            VisitBelow(folder + L"\\" + name, path, visit);
    } while (FindNextFileW(find.Get(), &data));
}

} // namespace

void ForEachBelow(const std::wstring& folder, const std::function<void(const std::wstring&, bool isFolder)>& visit)
{
    VisitBelow(folder, L"", visit);
}

void ForgetRegistration()
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        SHDeleteKeyW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sortaro");
}

InstallEnvironment TestEnvironment(const ScratchFolder& scratch)
{
    InstallEnvironment env = InstallEnvironment::Detect();
    env.platform = 2;
    env.germanLocale = true;
    env.source = scratch.Make(L"medium");
    env.system = scratch.Make(L"system");
    env.programs = scratch.Make(L"programs");
    env.desktop = scratch.Make(L"desktop");
    env.programFiles = scratch.Make(L"programfiles");
    return env;
}

ShortcutInfo ReadShortcut(const std::wstring& path)
{
    ShortcutInfo info;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put()))) ||
        FAILED(link->QueryInterface(IID_PPV_ARGS(file.Put()))) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return info;
    wchar_t text[MAX_PATH] = L"";
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    info.target = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH);
    info.workingFolder = text;
    text[0] = 0;
    link->GetDescription(text, MAX_PATH);
    info.description = text;
    link->GetShowCmd(&info.showCommand);
    info.loaded = true;
    return info;
}

std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name)
{
    wchar_t buffer[2048];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    UniqueHKey handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.Put()) != ERROR_SUCCESS ||
        RegQueryValueExW(handle.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return L"<missing>";
    return std::wstring(buffer, size / sizeof(wchar_t)).c_str();
}

DWORD RegNumber(HKEY root, const std::wstring& key, const std::wstring& name, DWORD missing)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    UniqueHKey handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.Put()) != ERROR_SUCCESS ||
        RegQueryValueExW(handle.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return missing;
    return value;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring();
}

ModalAnswers::ModalAnswers()
{
    g_rules.clear();
    g_titles.clear();
    g_texts.clear();
    g_hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
}

ModalAnswers::~ModalAnswers()
{
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_rules.clear();
}

void ModalAnswers::On(const std::wstring& title, Action action)
{
    g_rules.push_back({title, std::move(action)});
}

ModalAnswers::Action ModalAnswers::Press(int id)
{
    return [id](HWND hwnd) { PostMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0); };
}

const std::vector<std::wstring>& ModalAnswers::Titles() const
{
    return g_titles;
}

const std::vector<std::wstring>& ModalAnswers::Texts() const
{
    return g_texts;
}

int ModalAnswers::Count(const std::wstring& title) const
{
    int count = 0;
    for (const std::wstring& t : g_titles)
        count += t == title ? 1 : 0;
    return count;
}

} // namespace SetupTest
