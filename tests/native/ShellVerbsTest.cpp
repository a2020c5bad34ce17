#include "catalogue/filelist/FileListIds.h"
#include "catalogue/filelist/ShellVerbs.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellVerbs, TheProgramTakesOverTheEntriesThatChangeFiles)
{
    const struct {
        const wchar_t* verb;
        int command;
    } cases[] = {
        {L"delete", IDM_DELETE},
        {L"cut", IDM_MOVE},
        {L"copy", IDM_COPY},
        {L"rename", IDM_RENAME},
        {L"Delete", IDM_DELETE}, // an extension's own spelling
        // Entries that change no file, or that the shell alone can run: left to it.
        {L"properties", 0},
        {L"open", 0},
        {L"link", 0},
        {L"paste", 0},
        {L"", 0}, // the entry gave no verb
        // Near misses are not the verbs.
        {L"copyto", 0},
        {L"cop", 0},
        {L"delete ", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramCommandForVerb(c.verb), c.command) << testing::PrintToString(std::wstring(c.verb));
}

} // namespace
