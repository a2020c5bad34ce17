#pragma once
// The order of a category's records as the file list sorts them, and the numbers the list
// shows. Portable.

#include "../catalogue/Catalogue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The sort keys, numbered like the file list's columns.
enum class SortKey : int { Name = 0, Path = 1, Type = 2, Size = 3, Date = 4, Attributes = 5 };
constexpr int kSortKeyCount = 6;

// Upper-casing of single UTF-16 code units by the user's locale, made once into a table so that
// a comparison never copies its texts. Code units beyond 16 bits stay as they are.
class UpperCaseTable {
public:
    // toUpper turns a buffer of code units into upper case in place.
    explicit UpperCaseTable(const std::function<void(wchar_t* text, size_t length)>& toUpper);
    wchar_t operator()(wchar_t c) const
    {
        return static_cast<uint32_t>(c) < m_table.size() ? static_cast<wchar_t>(m_table[c]) : c;
    }

private:
    std::vector<uint16_t> m_table;
};

// Compares two texts by their upper-cased code units: negative, 0 or positive. A text that is
// the start of the other is the smaller.
int CompareUpper(std::wstring_view a, std::wstring_view b, const UpperCaseTable& upper);

// The comparison of the file list's sort. For the name key the direction flag clear means
// A to Z; for the other keys it means largest, newest and last first, and the flag set turns
// that round. A record without a date is the oldest.
class RecordOrder {
public:
    RecordOrder(const Catalogue& catalogue, SortKey key, bool flag, const UpperCaseTable& upper);
    int Compare(const FileRecord& a, const FileRecord& b) const;
    bool operator()(const FileRecord& a, const FileRecord& b) const { return Compare(a, b) < 0; }
    // For the keys other than name and path: the number whose order is the key's, ascending.
    uint64_t Value(const FileRecord& record) const;

private:
    int CompareValues(const FileRecord& a, const FileRecord& b) const;
    int ComparePaths(const FileRecord& a, const FileRecord& b) const;

    const Catalogue& m_catalogue;
    SortKey m_key;
    bool m_flag;
    const UpperCaseTable& m_upper;
    std::vector<uint32_t> m_typeRank;      // type name index -> place among all type names
    std::vector<uint32_t> m_attributeRank; // R/H/S/A bits -> place of their letters
};

// Sorts a category's list in place, in RecordOrder's order. Records that compare equal keep
// their previous order, so that sorting by one key and then by another orders by the second
// key, then by the first.
void SortRecords(const Catalogue& catalogue, Catalogue::List& list, SortKey key, bool flag, const UpperCaseTable& upper);

// The bytes of a list's records and whether any of them is offline. The records are read in
// the order they lie in memory, which once the list is sorted is far from the list's order.
struct ListSums {
    uint64_t bytes = 0;
    bool anyOffline = false;
};
ListSums SumList(const Catalogue& catalogue, const Catalogue::List& list);

constexpr double kBytesPerKilobyte = 1024.0;
constexpr double kBytesPerMegabyte = 1048576.0;

// The size column: kilobytes with no decimals, rounded half away from zero.
std::wstring KilobyteText(uint64_t bytes);
// A figure with three decimals and the given decimal separator, without thousands separators:
// the megabytes of the status bar.
std::wstring ThreeDecimals(double value, std::wstring_view decimalSeparator);
