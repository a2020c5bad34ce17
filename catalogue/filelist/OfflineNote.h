#pragma once
// The sentence that says which volume an offline record is on, for the status bar and the
// row's tip. Portable.

#include "../catalogue/Catalogue.h"

#include <string>

// One sentence per kind of drive, in the interface language; "%1" in it stands for the volume:
// "'FOTOS 2019' (E:)", "(E:)" for a volume without label, "\\server\share" for a share.
struct OfflineTexts {
    std::wstring cdRom;
    std::wstring removable;
    std::wstring network;
    std::wstring drive; // fixed drives, and drives of a kind not known
};

std::wstring OfflineNote(const VolumeIdentity& volume, const OfflineTexts& texts);
