#pragma once
// The check of a catalogue read with its stored facts: the files to ask the file system about,
// taken from the lists once, and what a look at each file gives. Portable; the asking itself
// is done by CatalogueChecker on a thread of its own, which reads this list and nothing else.
// The list holds the files' names and folders as the catalogue's text store keeps them: texts
// that never move and are freed only with the catalogue, which must outlive the list.

#include "Catalogue.h"
#include "CatalogueEdit.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

class CheckList {
public:
    // Takes the records of the marked categories that are not offline, each file once however
    // many categories hold it, with the facts of its first record. List 0, the drive dialog's
    // entries, is never taken.
    void Collect(const Catalogue& catalogue, const std::bitset<Catalogue::kListCount>& categories);

    size_t Size() const { return m_files.size(); }
    std::wstring Path(size_t index) const;
    // The root of the volume the file was found on at the load, and that volume's serial
    // number (0 when none is known).
    const std::wstring& Root(size_t index) const { return m_volumes[m_folders[m_files[index].folder].volume].root; }
    uint32_t Serial(size_t index) const { return m_volumes[m_folders[m_files[index].folder].volume].serial; }

    // What the file system said of a file: gone, or its facts now. True, with the update for
    // the catalogue, when that is not what the catalogue holds.
    bool Compare(size_t index, const CatalogueEdit::FileFacts* found, CatalogueEdit::FileUpdate& update) const;

private:
    struct Folder {
        std::wstring_view text; // in the catalogue's text store, which keeps it as long as it lives
        uint32_t volume;        // index into m_volumes
    };
    struct Volume {
        std::wstring root;
        uint32_t serial;
    };
    struct File {
        uint32_t folder;    // index into m_folders
        const wchar_t* name; // in the catalogue's text store; a rename stores a new text
        CatalogueEdit::FileFacts facts;
    };
    std::vector<Folder> m_folders;
    std::vector<Volume> m_volumes;
    std::vector<File> m_files;
};
