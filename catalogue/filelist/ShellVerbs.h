#pragma once
// Which entries of the shell's context menu the program runs itself, and the ids of its own
// entries in that menu. Portable.

#include <string_view>

// The program's own entries, appended after the shell's.
constexpr int kShellMenuRename = 1025;
constexpr int kShellMenuSelectAll = 1026;
constexpr int kShellMenuInvertSelection = 1027;
// The shell numbers its entries from 1 up to this id, below the program's own.
constexpr int kShellMenuLastShellId = 1024;
static_assert(kShellMenuLastShellId < kShellMenuRename, "a shell entry would run a command of the program");

// The program's command that replaces the shell's entry with this canonical verb, so that the
// catalogue learns of the change: 0 when the shell runs the entry itself.
int ProgramCommandForVerb(std::wstring_view verb);

// The program's command behind one of its own entries; 0 for any other id.
int ProgramCommandForOwnEntry(int id);
