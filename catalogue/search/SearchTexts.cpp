#include "SearchTexts.h"

#include "SearchIds.h"

namespace SearchTexts {

namespace {

const ControlText searchDialog[] = {
    {0, L"Search"},
    {IDC_SEARCH_HEADING, L"Search for files"},
    {IDC_SEARCH_NAME_LABEL, L"Search for"},
    {IDC_SEARCH_DRIVES_LABEL, L"File drive"},
    {IDC_SEARCH_START, L"Search now"},
    {IDC_SEARCH_CANCEL, L"Cancel search"},
    {IDC_SEARCH_INSERT_GROUP, L"Found files insert to node 'Search'"},
    {IDC_SEARCH_INSERT_NOT, L"not"},
    {IDC_SEARCH_INSERT_APPEND, L"and delete not it's content"},
    {IDC_SEARCH_INSERT_REPLACE, L"and delete it's content"},
    {IDC_SEARCH_CATALOGUE, L"search the catalogue"},
    {IDC_SEARCH_MATCH_CASE, L"Match case"},
};

const ControlText strings[] = {
    {IDS_SEARCH_COLUMN_BASE + 0, L"File"},
    {IDS_SEARCH_COLUMN_BASE + 1, L"Folder"},
    {IDS_SEARCH_COLUMN_BASE + 2, L"Type"},
    {IDS_SEARCH_COLUMN_BASE + 3, L"Size"},
    {IDS_SEARCH_COLUMN_BASE + 4, L"Date"},
    {IDS_SEARCH_COLUMN_BASE + 5, L"Attributes"},
    {IDS_SEARCH_LOCAL_DRIVES, L"Local drives "},
    {IDS_SEARCH_USER_DEFINED, L"User defind"},
    {IDS_SEARCH_SELECTED_DRIVES, L"Selected Drives"},
    {IDS_SEARCH_BUSY, L"Searching. Please wait. . ."},
    {IDS_SEARCH_DONE, L"Ready"},
};

} // namespace

const TextTable kSearchDialog = MakeTable(searchDialog);
const TextTable kStrings = MakeTable(strings);

std::wstring LocalDrivesCaption(const std::wstring& prefix, const std::vector<std::wstring>& driveCaptions)
{
    std::wstring summary;
    for (const std::wstring& caption : driveCaptions) {
        const size_t bracket = caption.find(L'(');
        summary += caption.substr(bracket == std::wstring::npos ? 0 : bracket) + L"; ";
    }
    if (!summary.empty())
        summary.pop_back();
    return prefix + summary;
}

} // namespace SearchTexts
