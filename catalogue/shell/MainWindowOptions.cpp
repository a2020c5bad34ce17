// The options dialog's side of the main window: what it shows, what its OK changes in the
// program, and the user categories' catalogue files, which follow the categories' new ids.

#include "MainWindow.h"

#include "../catalogue/CategoryTree.h"
#include "../catalogue/SettingsKeys.h"
#include "../options/BrowserCaches.h"
#include "../options/DataRenumbering.h"
#include "../options/OptionsDialog.h"
#include "../options/OptionsIds.h"
#include "../options/OptionsStore.h"
#include "../preview/PreviewPane.h"
#include "resource.h"

namespace {

std::vector<std::wstring> NamesOf(const std::vector<UserCategory>& categories)
{
    std::vector<std::wstring> names;
    for (const UserCategory& category : categories)
        names.push_back(category.name);
    return names;
}

} // namespace

OptionsState MainWindow::CurrentOptions()
{
    OptionsState state;
    state.netscapePath = GetNetscapePath(m_registry, SettingsKeys::kOptions);
    state.operaPath = GetOperaPath(m_registry, SettingsKeys::kOptions);
    state.saveDatabase = m_options.database != 0;
    state.previewAtStart = m_options.previewShown != 0;
    state.saveDesktop = m_options.saveSettings != 0;
    state.includeHidden = m_options.includeHiddenFiles != 0;
    for (int i = 0; i < OptionsState::kPreviewCount; ++i)
        for (const PreviewEntry& entry : m_preview->Entries())
            if (entry.name == OptionsState::kPreviewNames[i]) {
                state.previewLists[i] = entry.extensions;
                break;
            }
    const std::vector<UserCategory>& categories = m_model.UserCategories();
    for (size_t k = 0; k < categories.size(); ++k) {
        const UserDefinition definition = SplitUserDefinition(categories[k].definition);
        const int id = CategoryTree::kBuiltInCount + static_cast<int>(k);
        state.categories.push_back(
            {categories[k].name, definition.extensions, definition.icon, id < CategoryTree::kCategoryCount ? id : -1});
    }
    return state;
}

std::unique_ptr<OptionsDialog> MainWindow::MakeOptionsDialog()
{
    return std::make_unique<OptionsDialog>(*this, CurrentOptions(),
                                           [this](const OptionsState& state) { SaveOptions(state); });
}

void MainWindow::Optionen1Click()
{
    MakeOptionsDialog()->Run(Hwnd());
}

void MainWindow::SaveOptions(const OptionsState& state)
{
    // The files of the categories leave their ids before the settings number the categories
    // anew, and take their new ids after (see CategoryRenumbering).
    const std::wstring folder = CatalogueModel::DataFolder(m_options.installDir);
    const CategoryRenumbering::Origins origins = CategoryRenumbering::OriginsOf(state.categories);
    const bool renumber = DataRenumbering::Begin(folder, origins);
    WriteOptions(m_registry, state, renumber);
    m_options.previewShown = state.previewAtStart ? 1 : 0;
    m_options.includeHiddenFiles = state.includeHidden ? 1 : 0;
    m_options.saveSettings = state.saveDesktop ? 1 : 0;
    m_options.database = state.saveDatabase ? 1 : 0;
    m_preview->GetVorschau();
    GetUserFiles();
    if (!renumber) {
        MessageBoxW(GetForegroundWindow(), Text(IDS_OPT_RENAME_FAILED).c_str(), Text(IDS_ERROR_TITLE).c_str(),
                    MB_OK | MB_ICONERROR);
        return;
    }
    const std::vector<std::wstring> names = NamesOf(m_model.UserCategories());
    DataRenumbering::Finish(folder, names);

    // The lists in memory follow, and the tree's nodes of the user categories are made anew so
    // that each shows the list of its new id.
    std::vector<int> ids;
    for (int id = CategoryTree::kBuiltInCount; id < CategoryTree::kCategoryCount; ++id)
        ids.push_back(id);
    m_model.RenumberUserCategories(CategoryRenumbering::Plan(ids, names, origins));
    HTREEITEM selected = m_tree->Selected();
    const bool userSelected = selected && m_tree->Category(selected) >= CategoryTree::kBuiltInCount;
    m_tree->DeleteNodesAfterSearch();
    m_tree->AppendUserCategoryNodes(m_model.UserCategories());
    if (userSelected)
        m_tree->SelectRoot();
    m_list->TreeView1Change();
}

void MainWindow::RecoverUserCategoryFiles()
{
    DataRenumbering::Recover(CatalogueModel::DataFolder(m_options.installDir), NamesOf(m_model.UserCategories()));
}
