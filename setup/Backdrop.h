#pragma once
// The installer's main window: the maximised backdrop with its picture, the application name
// and the product text. Creating it runs the start-up steps (environment, locale, script,
// parameters, language choice); its one-second timer opens the wizard on the third tick.

#include "Installer.h"
#include "Wizard.h"
#include "common/UniqueHandle.h"
#include "common/Window.h"

#include <functional>
#include <memory>

class Backdrop : public Window {
public:
    // onEnd receives the exit code when the installer ends; the default ends the message loop.
    explicit Backdrop(std::function<void(int)> onEnd = nullptr);
    ~Backdrop() override;

    // The start-up steps. False when the installer ended already (no script): the message
    // has been shown and onEnd called with 2.
    bool Create(InstallEnvironment env, bool show = true);

    Installer* GetInstaller() { return m_installer.get(); }
    Wizard* GetWizard() { return m_wizard.get(); }
    int Ticks() const { return m_ticks; }
    bool Ended() const { return m_ended; }
    int ExitCode() const { return m_exitCode; }

    // The start timer's handler; the third tick starts the wizard.
    void Tick();

    static constexpr UINT_PTR kStartTimer = 1;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void End(int code);

    std::function<void(int)> m_onEnd;
    std::unique_ptr<Installer> m_installer;
    std::unique_ptr<Wizard> m_wizard;
    UniqueHBitmap m_picture;
    UniqueHFont m_font; // the letters of the texts, at the scale m_fontDpi
    int m_fontDpi = 0;
    UniqueHIcon m_icon;
    int m_ticks = 0;
    bool m_showProduct = false;
    bool m_ended = false;
    int m_exitCode = 0;
};
