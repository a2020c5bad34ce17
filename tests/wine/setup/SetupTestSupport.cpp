#include "SetupTestSupport.h"

#include "common/UniqueHandle.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <fstream>

namespace SetupTest {

namespace {

// The answers of the test that runs: a hook procedure has no object of its own.
ModalAnswers* g_answers = nullptr;

int g_scratchCount = 0;

void ForgetTestKeys(const InstallEnvironment& env)
{
    SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
    SHDeleteKeyW(HKEY_USERS, (env.userKeyName + L"\\" + kTestKey).c_str());
    // A test's installation must not stay registered in the prefix.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        SHDeleteKeyW(root, kRegistration.c_str());
}

} // namespace

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    MakeDirectory(ParentOf(path));
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

void WriteScript(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    std::string utf8(text.size() * 3, '\0'); // at most three bytes per UTF-16 unit
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0],
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    WriteFile(path, "\xEF\xBB\xBF" + utf8);
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::map<std::wstring, std::string> Snapshot(const std::wstring& folder)
{
    std::map<std::wstring, std::string> items;
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder, error))
        items[item.path().lexically_relative(folder).wstring()] =
            item.is_directory() ? "<folder>" : ReadFile(item.path().wstring());
    return items;
}

void RemoveTree(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

std::vector<std::wstring> ExampleScript(bool offerEnglish, const std::vector<std::wstring>& moreCopies)
{
    std::vector<std::wstring> lines = {
        L"[AppName]",     L"Sortaro 3.0;",          L"[Title]",        L"Sortaro;",
        L"[product]",     L"für Win9x/2000/ME/NT;", L"[ProgramGroup]", L"Sortaro;",
        L"[description]", L"Dateikatalog;",         L"[English]",      offerEnglish ? L"1;" : L"0;",
        L"[MainFile]",    L"Sortaro.exe;",          L"[MakeDir]",      L"%Ziel\\Data;"};
    lines.insert(lines.end(),
                 {L"[COPYFILES]", L"; the program and its help", L"Ziel\\Sortaro.exe;", L"Ziel\\Hilfe\\liesmich.txt;",
                  L"WinSystemDir\\extra.dll;", L"WinStartMenu\\Sortaro.exe;", L"DesktopPath\\Sortaro.exe;"});
    lines.insert(lines.end(), moreCopies.begin(), moreCopies.end());
    lines.insert(lines.end(), {L"]", L"[AddReg]", L"; the catalogue's settings",
                               L"HKCU,,Software\\SortaroSetupTest\\Options,language,s,%Language;",
                               L"HKCU,,Software\\SortaroSetupTest\\Options,InstallDir,s,%Ziel;",
                               L"HKCU,,Software\\SortaroSetupTest\\Existing,Replaced,i,7;",
                               L"HKUS,,\\Software\\SortaroSetupTest,User,s,below the user key;", L"]"});
    return lines;
}

void SetupFixture::SetUp()
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    scratch = std::wstring(temp) + L"setup-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++g_scratchCount);
    RemoveTree(scratch);
    env = InstallEnvironment::Detect();
    env.platform = 2;
    env.germanLocale = true;
    for (auto [folder, name] : {std::pair{&env.source, L"medium"},
                                {&env.system, L"system"},
                                {&env.programs, L"programs"},
                                {&env.desktop, L"desktop"},
                                {&env.programFiles, L"programfiles"}})
        MakeDirectory(*folder = scratch + L"\\" + name);
    WriteFile(env.source + L"\\Sortaro.exe", "program");
    WriteFile(env.source + L"\\Hilfe\\liesmich.txt", "lies mich");
    WriteFile(env.source + L"\\extra.dll", "dll");
    WriteFile(env.source + L"\\Data\\katalog.dat", "db");
    WriteScript(env.source + L"\\Vertrag.txt", {L"Lizenzvereinbarung", L"Zweite Zeile"});
    WriteScript(env.source + L"\\Vertrag_E.txt", {L"Licence Agreement", L"Second line"});
    ForgetTestKeys(env);
}

void SetupFixture::TearDown()
{
    ForgetTestKeys(env);
    RemoveTree(scratch);
}

Installer SetupFixture::Load(const std::vector<std::wstring>& lines, bool german)
{
    WriteScript(env.source + L"\\Install.txt", lines);
    DWORD error = 0;
    std::optional<InstallScript> script = LoadInstallScript(env.source + L"\\Install.txt", error);
    EXPECT_TRUE(script.has_value()) << error;
    Installer installer(env, script.value_or(InstallScript()));
    installer.ReadParameters();
    installer.SetGerman(german);
    installer.ReadLateParameters();
    installer.SetDestination(Folder());
    return installer;
}

ShortcutInfo ReadShortcut(const std::wstring& path)
{
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put()))) ||
        FAILED(link->QueryInterface(IID_PPV_ARGS(file.Put()))) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return {};
    wchar_t text[3][MAX_PATH] = {};
    int show = 0;
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(text[1], MAX_PATH);
    link->GetDescription(text[2], MAX_PATH);
    link->GetShowCmd(&show);
    return {true, text[0], text[1], text[2], show};
}

std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name)
{
    wchar_t buffer[2048] = L"";
    DWORD size = sizeof(buffer) - sizeof(wchar_t); // room for the terminator SHGetValueW may not write
    DWORD type = 0;
    if (SHGetValueW(root, key.c_str(), name.c_str(), &type, buffer, &size) != ERROR_SUCCESS || type != REG_SZ)
        return L"<missing>";
    return buffer;
}

DWORD RegNumber(HKEY root, const std::wstring& key, const std::wstring& name, DWORD missing)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (SHGetValueW(root, key.c_str(), name.c_str(), &type, &value, &size) != ERROR_SUCCESS || type != REG_DWORD)
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
    g_answers = this;
    m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

ModalAnswers::~ModalAnswers()
{
    UnhookWindowsHookEx(m_hook);
    g_answers = nullptr;
}

LRESULT CALLBACK ModalAnswers::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    ModalAnswers* self = g_answers;
    if (self && code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam &&
        !(GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD)) {
        std::wstring title = WindowText(msg->hwnd);
        self->m_titles.push_back(title);
        // The message text of a message box is the static control 0xFFFF.
        std::wstring text = ItemText(msg->hwnd, 0xFFFF);
        if (!text.empty())
            self->m_texts.push_back(title + L"|" + text);
        auto rule =
            std::find_if(self->m_rules.begin(), self->m_rules.end(), [&](const auto& r) { return r.first == title; });
        if (rule != self->m_rules.end()) {
            Action action = std::move(rule->second);
            self->m_rules.erase(rule);
            action(msg->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace SetupTest

// The tests drive common controls and the shell link object.
int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);
    OleScope ole;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
