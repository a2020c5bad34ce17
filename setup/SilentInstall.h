#pragma once
// setup.exe /S: the installation without any window, with the values the wizard would offer.

#include "SetupFormat.h"

struct InstallEnvironment;

// Returns the exit code: 0 installed, 2 the script is missing, 3 something failed during the
// run, 4 the destination is not a folder or its drive is too full. What went wrong goes to
// standard error.
int SilentInstall(const InstallEnvironment& env, const SetupFormat::Options& options);

// Writes a line to standard error (the parent's console when there is no handle).
void WriteError(const std::wstring& text);
