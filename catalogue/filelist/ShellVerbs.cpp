#include "ShellVerbs.h"

#include "FileListIds.h"

namespace {

struct VerbCommand {
    const wchar_t* verb;
    int command;
};

// The shell's entry numbers differ between Windows versions and with every shell extension
// installed; the verbs stay. "cut" and "copy" would only put the files on the clipboard: the
// program's move-to and copy-to dialogs take their place, as they keep the catalogue right.
const VerbCommand kTakenOver[] = {
    {L"delete", IDM_DELETE},
    {L"cut", IDM_MOVE},
    {L"copy", IDM_COPY},
    {L"rename", IDM_RENAME},
};

bool SameVerb(std::wstring_view verb, const wchar_t* known)
{
    // Verbs are ASCII; extensions are not bound to the case Windows uses.
    size_t i = 0;
    for (; i < verb.size() && known[i]; ++i) {
        wchar_t c = verb[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != known[i])
            return false;
    }
    return i == verb.size() && !known[i];
}

} // namespace

int ProgramCommandForVerb(std::wstring_view verb)
{
    for (const VerbCommand& entry : kTakenOver)
        if (SameVerb(verb, entry.verb))
            return entry.command;
    return 0;
}

int ProgramCommandForOwnEntry(int id)
{
    switch (id) {
    case kShellMenuRename:
        return IDM_RENAME;
    case kShellMenuSelectAll:
        return IDM_SELECT_ALL;
    case kShellMenuInvertSelection:
        return IDM_INVERT_SELECTION;
    default:
        return 0;
    }
}
