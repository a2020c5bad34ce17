#pragma once
// The catalogue as the program holds it, without any window: the hundred category lists, the
// extension map, the user-defined categories, the special folders, and the database read at
// start and written at close. Progress and cancel are passed in; the caller decides how the
// screen is kept alive meanwhile.

#include "../../common/Registry.h"
#include "../options/CategoryRenumbering.h"
#include "Catalogue.h"
#include "CatalogueFiles.h"
#include "ExtensionMatch.h"

#include <bitset>
#include <functional>
#include <string>
#include <vector>

// A user-defined category as the registry holds it: the value name and its definition text.
struct UserCategory {
    std::wstring name;
    std::wstring definition;
};

// Called before each database file with its name, and often while a file is read or written.
struct DatabaseProgress {
    std::function<void(const std::wstring& fileName)> file;
    std::function<void()> idle;
};

class CatalogueModel {
public:
    Catalogue& Lists() { return m_catalogue; }
    const Catalogue& Lists() const { return m_catalogue; }
    const ExtensionMap& Extensions() const { return m_extensionMap; }
    const std::vector<UserCategory>& UserCategories() const { return m_userCategories; }
    const std::wstring& OperaPath() const { return m_operaPath; }
    const std::wstring& NetscapePath() const { return m_netscapePath; }

    // The extension map of the built-in categories (Options\FileEnding).
    void LoadExtensionMap(Registry& settings);
    void LoadUserCategories(Registry& settings);
    // Adds the extensions of the first count user categories; their ids follow the built-in ones.
    void AddUserExtensions(size_t count);
    // The user categories got other ids: their lists, their extensions and what is known of
    // their files follow; those put aside are emptied.
    void RenumberUserCategories(const std::vector<CategoryRenumbering::Move>& moves);

    // True for the categories filled from special folders.
    static bool IsSpecialFolder(int categoryId);
    // Fills the special folders' categories from their folders; idle is called often.
    void FillSpecialFolders(Registry& settings, const int& cancel, const std::function<void()>& idle);

    // The catalogue's folder: Data below the installation folder, or beside the program.
    static std::wstring DataFolder(const std::wstring& installDir);
    // Reads every <id>.dat of folder with its facts file; a path whose file is gone is left out,
    // one whose volume is not there is kept as an offline record. A .dat with a facts file that
    // belongs to it is read without asking the file system about each line: its records carry
    // the stored facts, and its category is marked unchecked.
    void ReadDatabase(const std::wstring& folder, const int& cancel, const DatabaseProgress& progress);
    // The categories whose records were read with their stored facts and not yet compared with
    // the files on disk.
    using Categories = std::bitset<Catalogue::kListCount>;
    const Categories& Unchecked() const { return m_unchecked; }
    void SetChecked() { m_unchecked.reset(); }
    // After a new scan: adds the offline records of the catalogue in folder whose media come and
    // go (discs, removable drives, shares), so that the discs not in their drives are kept.
    void KeepOfflineRecords(const std::wstring& folder, const int& cancel, const DatabaseProgress& progress);
    // A category whose file (or facts) could not be read completely: its files are not written.
    bool Unsaved(int categoryId) const { return m_unsaved[categoryId]; }

    // What the writing of the database left undone; both empty when all was written.
    struct WriteReport {
        std::wstring failed;     // files (or the folder) that could not be written, one per line
        std::wstring leftUnread; // files not read completely at start, left as they are
    };
    // Writes one file per category of ids (special folders left out).
    WriteReport WriteDatabase(const std::wstring& folder, const std::vector<int>& ids, const int& cancel,
                              const DatabaseProgress& progress);

private:
    void ReadCategories(const std::wstring& folder, CatalogueLoader::Mode mode, const int& cancel,
                        const DatabaseProgress& progress);
    void ReadCategory(const std::wstring& file, int id, CatalogueLoader::Mode mode, const int& cancel,
                      const DatabaseProgress& progress);

    Catalogue m_catalogue;
    ExtensionMap m_extensionMap;
    CatalogueLoader m_loader{m_catalogue};
    std::vector<UserCategory> m_userCategories;
    std::wstring m_operaPath;
    std::wstring m_netscapePath;
    std::bitset<Catalogue::kListCount> m_unsaved;
    Categories m_unchecked;
};
