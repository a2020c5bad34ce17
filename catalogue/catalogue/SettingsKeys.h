#pragma once
// Where the settings live, below HKEY_CURRENT_USER.

namespace SettingsKeys {

constexpr const wchar_t* kOptions = L"Software\\Sortaro\\Options";
constexpr const wchar_t* kFileEnding = L"Software\\Sortaro\\Options\\FileEnding";
constexpr const wchar_t* kUserFiles = L"Software\\Sortaro\\Options\\UserFiles";
constexpr const wchar_t* kAddedDirs = L"Software\\Sortaro\\Options\\AddedDirs";
constexpr const wchar_t* kVorschau = L"Software\\Sortaro\\Options\\Vorschau";
constexpr const wchar_t* kScreenSettings = L"Software\\Sortaro\\Options\\ScreenSettings";
constexpr const wchar_t* kColumnsMain = L"Software\\Sortaro\\Options\\ColumnsMain";

} // namespace SettingsKeys
