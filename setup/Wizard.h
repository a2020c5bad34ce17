#pragma once
// The wizard's flow: welcome, licence, destination, group, summary, progress and finish, the
// cancel question, and the values kept across the pages.

#include "DestinationTree.h"
#include "Installer.h"
#include "WizardPage.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Wizard : public WizardPage::Host {
public:
    // onEnd receives the installer's exit code: 0 finished, 1 cancelled or declined, 2 a file
    // of the medium is missing, 3 finished with failures.
    Wizard(Installer& installer, HWND owner, std::function<void(int)> onEnd);
    ~Wizard() override;
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // Creates every page, hidden.
    bool Create();
    // The third timer tick: texts in the chosen language (Language), the late parameters, the
    // needed space, the default destination and space line (RestSize), the check of the
    // [RenameFiles] entry; then the welcome page opens.
    void Start();

    WizardPage& Page(PageKind kind) { return *m_pages[static_cast<int>(kind)]; }
    HWND PageHwnd(PageKind kind) { return Page(kind).Hwnd(); }
    // The page on screen, or nullptr once the installer has ended.
    WizardPage* Current() { return m_current; }
    bool Ended() const { return m_ended; }
    DestinationTree& Tree() { return m_tree; }

    double Needed() const { return m_needed; }
    double FreeBytes() const { return m_free; }
    double Rest() const { return m_rest; }

    // Page handlers, also called by the tests.
    void OnPageButton(PageKind kind, int id) override;
    void OnPageCommand(PageKind kind, int id, int code) override;
    LRESULT OnPageNotify(PageKind kind, const NMHDR& header) override;

    void EndeProgramm();
    void Language();
    void RestSize();
    void ReadDirectory(const std::wstring& folder);

private:
    void Show(PageKind kind);
    void End(int code);
    // The page buttons: cancel (decline on the licence page), next (accept, install, finish)
    // and back.
    void BitBtn1Click(PageKind kind);
    void BitBtn2Click(PageKind kind);
    void BitBtn3Click(PageKind kind);
    bool LoadLicence();
    void DestinationNext();
    void PickFolder(HTREEITEM item);
    void ComputeSpace(const std::wstring& path);
    void BuildSummary();
    void Install();
    void Finish();
    void ReadDirectoryBelow(const std::wstring& folder, const std::wstring& relative, int depth);
    int MessageBoxOnPage(const wchar_t* text, const wchar_t* title, UINT type);
    std::wstring FieldText(PageKind kind, int id);

    Installer& m_installer;
    HWND m_owner;
    std::function<void(int)> m_onEnd;
    std::array<std::unique_ptr<WizardPage>, kPageCount> m_pages;
    WizardPage* m_current = nullptr;
    DestinationTree m_tree;
    std::vector<std::wstring> m_groups; // relative paths of the group list's entries
    double m_needed = 0;
    double m_free = 0;
    double m_rest = 0;
    bool m_ended = false;
    bool m_running = false;
    bool m_endAfterRun = false;
    bool m_asking = false;
};
