#include "CategoryRenumbering.h"

#include "../catalogue/CategoryTree.h"
#include "../catalogue/ExtensionMatch.h"

#include <algorithm>
#include <set>

namespace CategoryRenumbering {

namespace {

const wchar_t kJournalHeader[] = L"Sortaro user categories";
const wchar_t kTemporarySuffix[] = L".renumbering";

// Registry value names compare without regard to case.
std::wstring Key(const std::wstring& name)
{
    return UpperCase(name);
}

int OriginOf(const Origins& origins, const std::wstring& name)
{
    const std::wstring key = Key(name);
    for (const auto& origin : origins)
        if (Key(origin.first) == key)
            return origin.second;
    return -1;
}

} // namespace

Origins OriginsOf(const std::vector<UserCategoryRow>& rows)
{
    Origins origins;
    for (const UserCategoryRow& row : rows) {
        const std::wstring key = Key(row.name);
        auto same = std::find_if(origins.begin(), origins.end(),
                                 [&](const auto& origin) { return Key(origin.first) == key; });
        if (same == origins.end())
            origins.emplace_back(row.name, row.previousId);
        else if (row.previousId >= 0)
            same->second = row.previousId;
    }
    return origins;
}

std::vector<Move> Plan(const std::vector<int>& ids, const std::vector<std::wstring>& names, const Origins& origins)
{
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const size_t slots = static_cast<size_t>(CategoryTree::kCategoryCount - CategoryTree::kBuiltInCount);
    std::vector<Move> moves;
    for (int id : sorted) {
        int to = kPutAside;
        for (size_t k = 0; k < names.size() && k < slots && to == kPutAside; ++k)
            if (OriginOf(origins, names[k]) == id)
                to = CategoryTree::kBuiltInCount + static_cast<int>(k);
        moves.push_back({id, to});
    }
    return moves;
}

std::wstring DataFileName(int id, bool facts)
{
    return std::to_wstring(id) + (facts ? L".facts" : L".dat");
}

std::wstring TemporaryName(const std::wstring& name)
{
    return name + kTemporarySuffix;
}

std::wstring PutAsideName(const std::wstring& name, int attempt)
{
    return attempt == 0 ? name + L".removed" : name + L"." + std::to_wstring(attempt + 1) + L".removed";
}

std::wstring OriginalName(const std::wstring& temporary)
{
    const size_t suffix = std::char_traits<wchar_t>::length(kTemporarySuffix);
    if (temporary.size() <= suffix || temporary.compare(temporary.size() - suffix, suffix, kTemporarySuffix) != 0)
        return {};
    return temporary.substr(0, temporary.size() - suffix);
}

std::wstring FormatJournal(const Origins& origins)
{
    std::wstring text = kJournalHeader;
    text += L"\r\n";
    for (const auto& origin : origins)
        text += std::to_wstring(origin.second) + L"\t" + origin.first + L"\r\n";
    return text;
}

std::optional<Origins> ParseJournal(std::wstring_view text)
{
    // A journal cut short by a crash lacks its last line break.
    if (text.empty() || text.back() != L'\n')
        return std::nullopt;
    Origins origins;
    bool header = true;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\n', start);
        std::wstring_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        if (header) {
            if (line != kJournalHeader)
                return std::nullopt;
            header = false;
            continue;
        }
        const size_t tab = line.find(L'\t');
        if (tab == std::wstring_view::npos || tab == 0)
            return std::nullopt;
        std::wstring_view number = line.substr(0, tab);
        const bool negative = number.front() == L'-';
        if (negative)
            number.remove_prefix(1);
        if (number.empty() || number.size() > 3)
            return std::nullopt;
        int id = 0;
        for (wchar_t c : number) {
            if (c < L'0' || c > L'9')
                return std::nullopt;
            id = id * 10 + (c - L'0');
        }
        origins.emplace_back(std::wstring(line.substr(tab + 1)), negative ? -id : id);
    }
    if (header)
        return std::nullopt;
    return origins;
}

bool SettingsWritten(const Origins& journal, const std::vector<std::wstring>& names)
{
    std::set<std::wstring> expected, present;
    for (const auto& origin : journal)
        expected.insert(Key(origin.first));
    for (const std::wstring& name : names)
        present.insert(Key(name));
    return expected == present;
}

} // namespace CategoryRenumbering
