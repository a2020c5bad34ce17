#include "FileListOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <new>

UpperCaseTable::UpperCaseTable(const std::function<void(wchar_t* text, size_t length)>& toUpper) : m_table(0x10000)
{
    // In pieces, leaving the surrogate halves out: they have no case and are no text alone.
    std::vector<wchar_t> piece;
    auto convert = [&](uint32_t first, uint32_t last) {
        piece.clear();
        for (uint32_t c = first; c <= last; ++c)
            piece.push_back(static_cast<wchar_t>(c));
        toUpper(piece.data(), piece.size());
        for (uint32_t c = first; c <= last; ++c) {
            uint32_t upper = static_cast<uint32_t>(piece[c - first]);
            // A mapping that leaves 16 bits, or makes a character into the end of a text, is no
            // upper-casing: the character stays.
            m_table[c] = static_cast<uint16_t>(upper == 0 || upper > 0xFFFF ? c : upper);
        }
    };
    convert(1, 0xD7FF);
    convert(0xE000, 0xFFFF);
    for (uint32_t c = 0xD800; c < 0xE000; ++c)
        m_table[c] = static_cast<uint16_t>(c);
    m_table[0] = 0;
}

namespace {

// Both texts end with a zero.
int CompareUpperZ(const wchar_t* a, const wchar_t* b, const UpperCaseTable& upper)
{
    for (;; ++a, ++b) {
        const auto ca = static_cast<uint32_t>(upper(*a));
        const auto cb = static_cast<uint32_t>(upper(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

// A text against the text made of first followed by second.
int CompareWithPieces(const wchar_t* text, std::wstring_view first, const wchar_t* second, const UpperCaseTable& upper)
{
    for (wchar_t c : first) {
        const auto ct = static_cast<uint32_t>(upper(*text));
        const auto cf = static_cast<uint32_t>(upper(c));
        if (ct != cf)
            return ct < cf ? -1 : 1;
        ++text;
    }
    return CompareUpperZ(text, second, upper);
}

template <typename T> int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The attribute bits that make letters (R, H, S, A) as an index 0..15.
unsigned LetterBits(uint32_t attributes)
{
    return (attributes & 0x7) | ((attributes & 0x20) ? 0x8 : 0);
}

uint64_t WriteTime(const FileRecord& record)
{
    return (static_cast<uint64_t>(record.writeTimeHigh) << 32) | record.writeTimeLow;
}

// Places of texts among each other: equal texts share a place.
std::vector<uint32_t> Ranks(const std::vector<std::wstring>& texts, const UpperCaseTable& upper)
{
    std::vector<uint32_t> order(texts.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return CompareUpper(texts[a], texts[b], upper) < 0; });
    std::vector<uint32_t> rank(texts.size());
    uint32_t place = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && CompareUpper(texts[order[i - 1]], texts[order[i]], upper) != 0)
            ++place;
        rank[order[i]] = place;
    }
    return rank;
}

} // namespace

int CompareUpper(std::wstring_view a, std::wstring_view b, const UpperCaseTable& upper)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<uint32_t>(upper(a[i]));
        const auto cb = static_cast<uint32_t>(upper(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return Order(a.size(), b.size());
}

RecordOrder::RecordOrder(const Catalogue& catalogue, SortKey key, bool flag, const UpperCaseTable& upper)
    : m_catalogue(catalogue), m_key(key), m_flag(flag), m_upper(upper)
{
    if (key == SortKey::Type) {
        std::vector<std::wstring> names;
        for (size_t i = 0; i < catalogue.TypeNameCount(); ++i)
            names.push_back(catalogue.TypeNameAt(static_cast<uint16_t>(i)));
        m_typeRank = Ranks(names, upper);
    } else if (key == SortKey::Attributes) {
        std::vector<std::wstring> letters;
        for (unsigned bits = 0; bits < 16; ++bits)
            letters.push_back(AttributeLetters((bits & 0x7) | ((bits & 0x8) ? 0x20 : 0)));
        m_attributeRank = Ranks(letters, upper);
    }
}

int RecordOrder::ComparePaths(const FileRecord& a, const FileRecord& b) const
{
    if (a.folder == b.folder)
        return CompareUpperZ(a.name, b.name, m_upper);
    // The path is the folder followed by the name: compare the two pieces as one text.
    const std::wstring_view folderA = m_catalogue.Folder(a), folderB = m_catalogue.Folder(b);
    size_t i = 0;
    const size_t common = std::min(folderA.size(), folderB.size());
    for (; i < common; ++i) {
        const auto ca = static_cast<uint32_t>(m_upper(folderA[i]));
        const auto cb = static_cast<uint32_t>(m_upper(folderB[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (folderA.size() == folderB.size())
        return CompareUpperZ(a.name, b.name, m_upper);
    // One folder goes on where the other ends and its name begins.
    if (folderA.size() == common)
        return CompareWithPieces(a.name, folderB.substr(common), b.name, m_upper);
    return -CompareWithPieces(b.name, folderA.substr(common), a.name, m_upper);
}

int RecordOrder::CompareValues(const FileRecord& a, const FileRecord& b) const
{
    switch (m_key) {
    case SortKey::Name:
        return CompareUpperZ(a.name, b.name, m_upper);
    case SortKey::Path:
        return ComparePaths(a, b);
    case SortKey::Type:
        return Order(m_typeRank[a.typeName], m_typeRank[b.typeName]);
    case SortKey::Size:
        return Order(a.Size(), b.Size());
    case SortKey::Date:
        return Order(WriteTime(a), WriteTime(b));
    case SortKey::Attributes:
        return Order(m_attributeRank[LetterBits(a.attributes)], m_attributeRank[LetterBits(b.attributes)]);
    }
    return 0;
}

int RecordOrder::Compare(const FileRecord& a, const FileRecord& b) const
{
    const int order = CompareValues(a, b);
    // Names run from A with the flag clear; every other key runs from the largest.
    const bool ascending = (m_key == SortKey::Name) != m_flag;
    return ascending ? order : -order;
}

void SortRecords(const Catalogue& catalogue, Catalogue::List& list, SortKey key, bool flag, const UpperCaseTable& upper)
{
    RecordOrder order(catalogue, key, flag, upper);
    // Sorted as a block where memory allows: a deque's iterators cost a lookup each step.
    std::vector<FileRecord> records;
    try {
        records.assign(list.begin(), list.end());
    } catch (const std::bad_alloc&) {
        std::stable_sort(list.begin(), list.end(), order); // sorts in place when it gets no buffer
        return;
    }
    std::stable_sort(records.begin(), records.end(), order);
    std::copy(records.begin(), records.end(), list.begin());
}

std::wstring KilobyteText(uint64_t bytes)
{
    return std::to_wstring(bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0));
}

std::wstring ThreeDecimals(double value, std::wstring_view decimalSeparator)
{
    wchar_t number[64];
    std::swprintf(number, 64, L"%.3f", value);
    std::wstring text = number;
    const size_t dot = text.find(L'.');
    if (dot != std::wstring::npos)
        text.replace(dot, 1, decimalSeparator);
    return text;
}
