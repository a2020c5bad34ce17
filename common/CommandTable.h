#pragma once
// The commands of a window: one row per command with what it does, when it is enabled and when
// it carries a check mark. WM_COMMAND, the menus and the tool bar all read the table; each part
// of the window adds its own rows.

#include <windows.h>

#include <functional>
#include <vector>

struct CommandRow {
    int id;
    std::function<void()> run;      // empty: the command is listed and does nothing yet
    std::function<bool()> enabled;  // empty: always enabled
    std::function<bool()> checked;  // empty: never checked
};

class CommandTable {
public:
    void Add(CommandRow row) { m_rows.push_back(std::move(row)); }
    const CommandRow* Find(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    // Runs an enabled command; false when the id is unknown or the command disabled.
    bool Execute(int id) const;
    // Enables and checks the items of a menu about to open (not its submenus: they get their
    // own WM_INITMENUPOPUP).
    void UpdateMenu(HMENU menu) const;
    // Enables and checks the buttons of a tool bar that stand for commands of the table.
    void UpdateToolBar(HWND toolbar) const;

private:
    std::vector<CommandRow> m_rows;
};
