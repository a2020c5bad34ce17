#pragma once
// The archive reader: walks the directory of the archive that SetArchiveFile classified and
// reports its entries, through events (Activate) or as lists (the queries). Portable.

#include "catalogue/archive/RegisterArcReader.h"

#include <vector>

class TArcReader : public TRegisterArcReader {
public:
    using TRegisterArcReader::TRegisterArcReader;

    // Walks the archive and fires the events; true when the archive was valid and listed
    // completely (also when no entry passed the filter), false when it could not be read or is
    // damaged (the entries before the damage have been reported then).
    bool Activate();

    // The names of all entries that pass the filter, in archive order; emptied on failure.
    bool FilesInArchive(std::vector<std::wstring>* list);

    // Fills Entry() with the last entry matching name (all fields empty when none does); false
    // as for Activate.
    bool GetFileInfo(const std::wstring& name);

    // One walk for what FilesInArchive and one GetFileInfo per name give: one row per entry
    // that passes the filter, in archive order, each holding the fields of the last entry with
    // the same name. False when the archive could not be listed completely: the rows then hold
    // the entries read before the damage.
    bool ReadEntries(std::vector<TArcEntry>& entries);

private:
    enum class Sink { Events, Names, Entries, Quiet };
    class Walk;
    friend class Walk;

    bool RunWalk(Sink sink);

    Sink m_sink = Sink::Events;
    int m_depth = 0; // walks running: a caller's OnProgress may start a query inside a walk
    std::vector<std::wstring>* m_names = nullptr;
    std::vector<TArcEntry>* m_entries = nullptr;
};
