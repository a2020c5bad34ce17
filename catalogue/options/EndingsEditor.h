#pragma once
// The extension list of a built-in category, as Options\FileEnding holds it under the
// category's id: shown at the mouse, and written back after a question
// (Dateiendungenbearbeiten1Click, WriteNewTreeEnding). Matching uses the new list from the next
// start on.

#include "../../common/Dialog.h"
#include "../../common/Registry.h"

#include <optional>
#include <string>

class Program;

// The stored list of a category; nothing when it is missing or empty.
std::optional<std::wstring> ReadTreeEnding(Registry& settings, int categoryId);
// Writes the list of a category, making the key when it is missing.
bool WriteNewTreeEnding(Registry& settings, int categoryId, const std::wstring& endings);

class EndingsEditor : public Dialog {
public:
    EndingsEditor(Program& program, int categoryId, std::wstring endings, POINT at);

    // "&Übernehmen": asks, writes on yes, closes either way.
    void Apply();

protected:
    bool OnInit() override;
    void OnOk() override { Apply(); }

private:
    Program& m_program;
    int m_categoryId;
    std::wstring m_endings;
    POINT m_at;
};

// The tree's "Dateiendungen &bearbeiten": the editor of a category's list, or the note that it
// has none.
void Dateiendungenbearbeiten1Click(Program& program, int categoryId);
