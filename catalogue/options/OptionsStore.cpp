#include "OptionsStore.h"

#include "../catalogue/SettingsKeys.h"

namespace {

const wchar_t* Flag(bool on)
{
    return on ? L"1" : L"0";
}

} // namespace

void WriteOptions(Registry& settings, const OptionsState& state, bool userFiles)
{
    settings.DeleteKey(SettingsKeys::kVorschau);
    {
        RegistryKeyScope key(settings, SettingsKeys::kVorschau, KeyAccess::Create);
        if (key) {
            for (int i = 0; i < OptionsState::kPreviewCount; ++i)
                settings.WriteString(OptionsState::kPreviewNames[i], state.previewLists[i]);
            settings.WriteString(L"Enabled", Flag(state.previewAtStart));
        }
    }
    {
        RegistryKeyScope key(settings, SettingsKeys::kOptions, KeyAccess::Create);
        if (key) {
            settings.WriteString(L"includehiddenfiles", Flag(state.includeHidden));
            settings.WriteString(L"SaveSettings", Flag(state.saveDesktop));
            settings.WriteString(L"database", Flag(state.saveDatabase));
            settings.WriteString(L"operapath", state.operaPath);
            settings.WriteString(L"netscapepath", state.netscapePath);
        }
    }
    if (!userFiles)
        return;
    settings.DeleteKey(SettingsKeys::kUserFiles);
    RegistryKeyScope key(settings, SettingsKeys::kUserFiles, KeyAccess::Create);
    if (!key)
        return;
    // A name twice: the later row's definition replaces the earlier one's.
    for (const UserCategoryRow& row : state.categories)
        settings.WriteString(row.name, row.extensions + L"|" + row.icon);
}
