#include "Wizard.h"

#include "SetupDialogs.h"
#include "SetupFormat.h"
#include "SetupTexts.h"
#include "common/Log.h"
#include "common/MessagePump.h"
#include "common/UniqueHandle.h"
#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>

using SetupTexts::Id;
using SetupTexts::Text;

namespace {

constexpr int kGroupDepth = 8; // guards against folder loops through links

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

} // namespace

Wizard::Wizard(Installer& installer, HWND owner, std::function<void(int)> onEnd)
    : m_installer(installer), m_owner(owner), m_onEnd(std::move(onEnd))
{
}

Wizard::~Wizard()
{
    // The tree's items free their PIDLs while the tree still exists.
    if (m_pages[static_cast<int>(PageKind::Destination)])
        TreeView_DeleteAllItems(GetDlgItem(PageHwnd(PageKind::Destination), IDC_DESTINATION_TREE));
}

bool Wizard::Create()
{
    for (int i = 0; i < kPageCount; ++i) {
        m_pages[i] = std::make_unique<WizardPage>(static_cast<PageKind>(i), *this);
        if (!m_pages[i]->Create(m_owner))
            return false;
    }
    EnableWindow(GetDlgItem(PageHwnd(PageKind::Welcome), IDC_BUTTON_BACK), FALSE);
    EnableWindow(GetDlgItem(PageHwnd(PageKind::Progress), IDOK), FALSE);
    EnableWindow(GetDlgItem(PageHwnd(PageKind::Progress), IDC_BUTTON_BACK), FALSE);
    EnableWindow(GetDlgItem(PageHwnd(PageKind::Finish), IDC_BUTTON_CANCEL), FALSE);
    EnableWindow(GetDlgItem(PageHwnd(PageKind::Finish), IDC_BUTTON_BACK), FALSE);
    m_tree.InitTree(GetDlgItem(PageHwnd(PageKind::Destination), IDC_DESTINATION_TREE));
    return true;
}

void Wizard::Start()
{
    Language();
    m_installer.ReadLateParameters();
    m_needed = m_installer.GetFileSize();
    RestSize();
    m_installer.CheckRenameFile();
    m_tree.FillTreeView();
    SetDlgItemTextW(PageHwnd(PageKind::Group), IDC_GROUP_FIELD, m_installer.ProgramGroup().c_str());
    ReadDirectory(m_installer.Environment().programs);
    Show(PageKind::Welcome);
}

void Wizard::Language()
{
    for (auto& page : m_pages)
        page->ApplyTexts(m_installer.German(), m_installer.AppName(), m_installer.Product(), m_installer.Title());
}

void Wizard::RestSize()
{
    const std::wstring& programFiles = m_installer.Environment().programFiles;
    SetDlgItemTextW(PageHwnd(PageKind::Destination), IDC_DESTINATION_FOLDER,
                    SetupFormat::DefaultDestination(programFiles, m_installer.ProgramGroup()).c_str());
    ComputeSpace(programFiles);
}

void Wizard::ComputeSpace(const std::wstring& path)
{
    m_free = FreeSpaceOf(path);
    m_rest = m_free - m_needed;
    SetDlgItemTextW(PageHwnd(PageKind::Destination), IDC_DESTINATION_SPACE,
                    SetupFormat::SpaceLine(m_needed, m_free, m_installer.German(), DecimalSeparator()).c_str());
}

void Wizard::Show(PageKind kind)
{
    WizardPage& next = Page(kind);
    if (m_current && m_current != &next) {
        // The next page takes the place of the current one.
        RECT rc;
        GetWindowRect(m_current->Hwnd(), &rc);
        SetWindowPos(next.Hwnd(), HWND_TOPMOST, rc.left, rc.top, 0, 0, SWP_NOSIZE);
    }
    ShowWindow(next.Hwnd(), SW_SHOW);
    SetForegroundWindow(next.Hwnd());
    // The focus goes to the button that moves on, or to cancel where that is all there is.
    HWND focus = GetDlgItem(next.Hwnd(), IDOK);
    if (!IsWindowEnabled(focus))
        focus = GetDlgItem(next.Hwnd(), IDC_BUTTON_CANCEL);
    if (IsWindowEnabled(focus))
        SendMessageW(next.Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    if (m_current && m_current != &next)
        ShowWindow(m_current->Hwnd(), SW_HIDE);
    m_current = &next;
}

void Wizard::End(int code)
{
    if (m_ended)
        return;
    m_ended = true;
    for (auto& page : m_pages)
        ShowWindow(page->Hwnd(), SW_HIDE);
    m_current = nullptr;
    if (m_onEnd)
        m_onEnd(code);
}

int Wizard::MessageBoxOnPage(const wchar_t* text, const wchar_t* title, UINT type)
{
    return MessageBoxW(m_current ? m_current->Hwnd() : m_owner, text, title, type);
}

std::wstring Wizard::FieldText(PageKind kind, int id)
{
    HWND field = GetDlgItem(PageHwnd(kind), id);
    std::wstring text(GetWindowTextLengthW(field) + 1, L'\0');
    text.resize(GetWindowTextW(field, &text[0], static_cast<int>(text.size())));
    return text;
}

void Wizard::OnPageButton(PageKind kind, int id)
{
    if (m_ended)
        return;
    switch (id) {
    case IDOK:
        BitBtn2Click(kind);
        break;
    case IDC_BUTTON_BACK:
        BitBtn3Click(kind);
        break;
    case IDC_BUTTON_CANCEL:
        BitBtn1Click(kind);
        break;
    case IDCANCEL: // the close box and Esc, on every page
        EndeProgramm();
        break;
    default:
        break;
    }
}

void Wizard::BitBtn1Click(PageKind kind)
{
    // The licence page's left button declines: the installer ends without a question.
    if (kind == PageKind::Licence)
        End(1);
    else
        EndeProgramm();
}

void Wizard::BitBtn2Click(PageKind kind)
{
    switch (kind) {
    case PageKind::Welcome:
        if (LoadLicence())
            Show(PageKind::Licence);
        break;
    case PageKind::Licence:
        Show(PageKind::Destination);
        break;
    case PageKind::Destination:
        DestinationNext();
        break;
    case PageKind::Group:
        m_installer.SetGroup(FieldText(PageKind::Group, IDC_GROUP_FIELD));
        m_installer.SetDesktopShortcut(IsDlgButtonChecked(PageHwnd(PageKind::Group), IDC_GROUP_DESKTOP) == BST_CHECKED);
        BuildSummary();
        Show(PageKind::Summary);
        break;
    case PageKind::Summary:
        Install();
        break;
    case PageKind::Progress:
        break;
    case PageKind::Finish:
        Finish();
        break;
    }
}

void Wizard::BitBtn3Click(PageKind kind)
{
    switch (kind) {
    case PageKind::Licence:
        Show(PageKind::Welcome);
        break;
    case PageKind::Destination:
        Show(PageKind::Licence);
        break;
    case PageKind::Group:
        Show(PageKind::Destination);
        break;
    case PageKind::Summary:
        Show(PageKind::Group);
        break;
    default: // no way back from the welcome, progress and finish pages
        break;
    }
}

bool Wizard::LoadLicence()
{
    const wchar_t* name = m_installer.German() ? L"Vertrag.txt" : L"Vertrag_E.txt";
    std::optional<std::wstring> text = ReadTextFile(m_installer.Environment().source + L"\\" + name);
    if (!text) {
        MessageBoxOnPage(Text(Id::LicenceMissing, m_installer.German()),
                         Text(Id::LicenceMissingTitle, m_installer.German()), MB_OK | MB_ICONWARNING);
        End(2);
        return false;
    }
    // The edit control breaks lines only at CR LF.
    std::wstring joined;
    for (const std::wstring& line : SplitLines(*text))
        joined += line + L"\r\n";
    SetDlgItemTextW(PageHwnd(PageKind::Licence), IDC_LICENCE_TEXT, joined.c_str());
    return true;
}

void Wizard::DestinationNext()
{
    std::wstring field = FieldText(PageKind::Destination, IDC_DESTINATION_FOLDER);
    if (m_rest < 0) {
        MessageBoxOnPage(Text(Id::NoSpace, true), Text(Id::HintTitle, true), MB_OK | MB_ICONWARNING);
        return;
    }
    if (!Contains(field, L"\\")) {
        MessageBoxOnPage(Text(Id::NoFolder, true), Text(Id::HintTitle, true), MB_OK | MB_ICONWARNING);
        return;
    }
    m_installer.SetDestination(field);
    Show(PageKind::Group);
}

void Wizard::PickFolder(HTREEITEM item)
{
    std::wstring path = m_tree.PathOf(item);
    HWND page = PageHwnd(PageKind::Destination);
    std::wstring field = SetupFormat::PickedDestination(path, m_installer.ProgramGroup());
    SetDlgItemTextW(page, IDC_DESTINATION_FOLDER, field.c_str());
    // After the field's own change notification, which enables the button again.
    EnableWindow(GetDlgItem(page, IDOK), Contains(path, L"\\"));
    if (Contains(field, L":\\"))
        ComputeSpace(field);
}

void Wizard::OnPageCommand(PageKind kind, int id, int code)
{
    // A folder typed by hand may be taken again; the next button checks it.
    if (kind == PageKind::Destination && id == IDC_DESTINATION_FOLDER && code == EN_CHANGE && !m_ended)
        EnableWindow(GetDlgItem(PageHwnd(kind), IDOK), TRUE);
}

LRESULT Wizard::OnPageNotify(PageKind kind, const NMHDR& header)
{
    if (kind == PageKind::Destination) {
        m_tree.OnNotify(header);
        if (header.code == TVN_SELCHANGEDW)
            PickFolder(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
    } else if (kind == PageKind::Group && header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && change.lParam >= 0 &&
            change.lParam < static_cast<LPARAM>(m_groups.size())) {
            SetDlgItemTextW(PageHwnd(kind), IDC_GROUP_FIELD, m_groups[change.lParam].c_str());
        }
    }
    return 0;
}

void Wizard::ReadDirectory(const std::wstring& folder)
{
    HWND list = GetDlgItem(PageHwnd(PageKind::Group), IDC_GROUP_LIST);
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(list, images, LVSIL_SMALL);
    ListView_DeleteAllItems(list);
    m_groups.clear();
    if (!folder.empty())
        ReadDirectoryBelow(folder, L"", 0);
}

void Wizard::ReadDirectoryBelow(const std::wstring& folder, const std::wstring& relative, int depth)
{
    if (depth >= kGroupDepth)
        return;
    HWND list = GetDlgItem(PageHwnd(PageKind::Group), IDC_GROUP_LIST);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*.*").c_str(), &data));
    if (!find)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || lstrcmpW(data.cFileName, L".") == 0 ||
            lstrcmpW(data.cFileName, L"..") == 0)
            continue;
        std::wstring path = folder + L"\\" + data.cFileName;
        std::wstring groupPath = relative.empty() ? std::wstring(data.cFileName) : relative + L"\\" + data.cFileName;
        SHFILEINFOW info{};
        SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        // The entry shows the group's own name; a click takes its path below the programs
        // folder, so that a nested group is not mistaken for a new top-level one.
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = data.cFileName;
        item.iImage = info.iIcon;
        item.lParam = static_cast<LPARAM>(m_groups.size());
        m_groups.push_back(groupPath);
        ListView_InsertItem(list, &item);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            ReadDirectoryBelow(path, groupPath, depth + 1);
    } while (FindNextFileW(find.Get(), &data));
}

void Wizard::BuildSummary()
{
    SetupFormat::SummaryInput in;
    in.destination = FieldText(PageKind::Destination, IDC_DESTINATION_FOLDER);
    in.group = FieldText(PageKind::Group, IDC_GROUP_FIELD);
    in.desktopShortcut = m_installer.DesktopShortcut();
    in.needed = m_needed;
    in.freeBytes = m_free;
    in.rest = m_rest;
    std::wstring text;
    for (const std::wstring& line : SetupFormat::SummaryLines(in, m_installer.German(), DecimalSeparator()))
        text += line + L"\r\n";
    SetDlgItemTextW(PageHwnd(PageKind::Summary), IDC_SUMMARY_TEXT, text.c_str());
}

void Wizard::Install()
{
    HWND progress = PageHwnd(PageKind::Progress);
    HWND animation = GetDlgItem(progress, IDC_PROGRESS_ANIMATION);
    // The shell's own "copy file" animation; a shell without it just leaves the space empty.
    if (HMODULE shell = GetModuleHandleW(L"shell32.dll")) {
        if (SendMessageW(animation, ACM_OPENW, reinterpret_cast<WPARAM>(shell),
                         reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(161))))
            SendMessageW(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, -1));
    }
    // From here on a yes to the cancel question lets the run finish first.
    m_running = true;
    Show(PageKind::Progress);
    MessagePump::ProcessMessages();

    m_installer.OnStatus(
        [progress](const std::wstring& text) { SetDlgItemTextW(progress, IDC_PROGRESS_STATUS, text.c_str()); });
    m_installer.OnPump([] { MessagePump::ProcessMessages(); });
    m_installer.Run();
    m_running = false;
    m_installer.OnPump(nullptr);
    SendMessageW(animation, ACM_STOP, 0, 0);

    // A yes to the cancel question during the run ends the installer now that it is done.
    if (m_endAfterRun) {
        End(1);
        return;
    }
    bool german = m_installer.German();
    if (!m_installer.Failures().empty()) {
        // Say what failed rather than claim success.
        std::wstring text = Text(Id::FailuresIntro, german);
        text += L"\n";
        for (const std::wstring& failure : m_installer.Failures())
            text += L"\n" + failure;
        MessageBoxOnPage(text.c_str(), Text(Id::FailuresTitle, german), MB_OK | MB_ICONWARNING);
        SetDlgItemTextW(PageHwnd(PageKind::Finish), IDC_HEADING, Text(Id::FinishHeadingFailed, german));
    }
    Show(PageKind::Finish);
}

void Wizard::Finish()
{
    if (IsDlgButtonChecked(PageHwnd(PageKind::Finish), IDC_FINISH_LAUNCH) == BST_CHECKED)
        m_installer.Launch(m_owner);
    End(m_installer.Failures().empty() ? 0 : 3);
}

void Wizard::EndeProgramm()
{
    if (m_asking || m_ended)
        return;
    m_asking = true;
    CancelQuestion question(m_installer.German());
    bool yes = question.Ask(m_current ? m_current->Hwnd() : m_owner);
    m_asking = false;
    if (!yes)
        return;
    if (m_running)
        m_endAfterRun = true;
    else
        End(1);
}
