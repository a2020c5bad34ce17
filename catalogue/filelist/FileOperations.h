#pragma once
// The file commands of the list: open, open with, properties, copy and move through their
// dialog, delete to the recycle bin (or past it) and rename through its dialog. The work is the
// shell's, with its own progress, questions and error messages; afterwards the catalogue is
// brought in line with what exists on disk, in every category that holds the files, and the
// list is filled anew.

#include "../../common/CommandTable.h"
#include "../../common/Dialog.h"
#include "../../common/Program.h"
#include "../catalogue/CatalogueModel.h"
#include "FileListIds.h"
#include "FileListPane.h"

#include <functional>
#include <string>

// The destination the copy/move dialog had when it was last closed (Options\browsedir).
std::wstring GetBrowseDir(Registry& settings);
void WriteBrowseDir(Registry& settings, const std::wstring& destination);

class CopyMoveDialog : public Dialog {
public:
    // Runs the copy or move; false keeps the dialog open (the destination was refused).
    using Confirm = std::function<bool(const std::wstring& destination, bool move, HWND dialog)>;
    CopyMoveDialog(Program& program, const Selection& files, std::wstring destination, bool move, Confirm confirm);

    std::wstring Destination() const { return ItemText(IDC_COPY_DESTINATION); }
    bool MoveChecked() const { return IsDlgButtonChecked(Hwnd(), IDC_COPY_MOVE) == BST_CHECKED; }
    // "Durchsuchen ...": a folder chosen in the shell's folder dialog becomes the destination.
    void BitBtn3Click();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override;     // BitBtn1Click
    void OnCancel() override; // BitBtn2Click

private:
    // Either way out: the destination is kept for the next time.
    void FormClose();

    Program& m_program;
    const Selection& m_files;
    std::wstring m_destination;
    bool m_move;
    Confirm m_confirm;
};

class RenameDialog : public Dialog {
public:
    // Renames to the new name; false keeps the dialog open (the name was refused).
    using Confirm = std::function<bool(const std::wstring& newName, HWND dialog)>;
    RenameDialog(Program& program, std::wstring oldName, Confirm confirm);

protected:
    bool OnInit() override;
    void OnOk() override; // Button1Click

private:
    Program& m_program;
    std::wstring m_oldName;
    Confirm m_confirm;
};

class FileOperations {
public:
    FileOperations(Program& program, CatalogueModel& model, FileListPane& list);

    void AddCommands(CommandTable& commands);

    void ffnen2Click();
    void ffnenmit1Click();
    void Eigenschaften2Click();
    void Verschiebennach1Click() { OpenCopyDialog(true); }
    void Kopierennach2Click() { OpenCopyDialog(false); }
    // To the recycle bin; Shift+Delete deletes for good, after the shell's own question.
    void Lschen2Click() { Loeschen(false); }
    void DeleteForGood() { Loeschen(true); }
    void Umbennenen1Click();

    // The work behind the dialogs, with the selection the command started with. False when the
    // destination or the new name is refused (after a message), so that the dialog stays.
    bool Kopieren(const Selection& files, const std::wstring& destination, bool move, HWND parent);
    bool RenameFile(const Selection& files, const std::wstring& newName, HWND parent);

    // The copy/move or rename dialog while it is open.
    Dialog* OpenDialog() const { return m_dialog; }

private:
    // The files selected now; none in the group view.
    Selection Take();
    // True (after a message naming the volume) when a selected file's volume is not there.
    bool RefuseOffline(const Selection& files);
    void Loeschen(bool forGood);
    void OpenCopyDialog(bool move);
    // The source record of a selected file: by its path, the row only as the first guess.
    const FileRecord* RecordOf(const Selection& files, const SelectedFile& file) const;
    void Message(HWND parent, const std::wstring& text) const;

    Program& m_program;
    CatalogueModel& m_model;
    FileListPane& m_list;
    Dialog* m_dialog = nullptr;
};
