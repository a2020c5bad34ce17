#include "OfflineNote.h"

namespace {

// The system's drive types, as VolumeIdentity keeps them.
constexpr uint32_t kRemovable = 2;
constexpr uint32_t kRemote = 4;
constexpr uint32_t kCdRom = 5;

bool IsShare(const std::wstring& root)
{
    return root.compare(0, 2, L"\\\\") == 0;
}

std::wstring VolumeName(const VolumeIdentity& volume)
{
    std::wstring root = volume.root;
    if (!root.empty() && root.back() == L'\\')
        root.pop_back();
    // A share is known by its name; its label says less than that.
    if (IsShare(root))
        return root;
    std::wstring name;
    if (!volume.label.empty())
        name = L"'" + volume.label + L"'";
    if (!root.empty())
        name += (name.empty() ? L"(" : L" (") + root + L")";
    return name;
}

} // namespace

std::wstring OfflineNote(const VolumeIdentity& volume, const OfflineTexts& texts)
{
    const std::wstring& sentence = volume.driveType == kRemote || IsShare(volume.root) ? texts.network
                                   : volume.driveType == kCdRom                        ? texts.cdRom
                                   : volume.driveType == kRemovable                    ? texts.removable
                                                                                       : texts.drive;
    std::wstring note = sentence;
    size_t at = note.find(L"%1");
    if (at == std::wstring::npos)
        return note;
    const std::wstring name = VolumeName(volume);
    // Nothing known of the volume at all: the sentence closes up rather than show two spaces.
    if (name.empty() && at > 0 && note[at - 1] == L' ')
        note.erase(--at, 1);
    return note.replace(at, 2, name);
}
