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

uint64_t RecordOrder::Value(const FileRecord& record) const
{
    switch (m_key) {
    case SortKey::Type:
        return m_typeRank[record.typeName];
    case SortKey::Size:
        return record.Size();
    case SortKey::Date:
        return WriteTime(record);
    case SortKey::Attributes:
        return m_attributeRank[LetterBits(record.attributes)];
    default:
        return 0;
    }
}

int RecordOrder::Compare(const FileRecord& a, const FileRecord& b) const
{
    const int order = CompareValues(a, b);
    // Names run from A with the flag clear; every other key runs from the largest.
    const bool ascending = (m_key == SortKey::Name) != m_flag;
    return ascending ? order : -order;
}

namespace {

// A row of the list being sorted with its key: a number, or 8 code units of its text.
struct KeyedRow {
    uint64_t key;
    uint32_t row;
};

// Sorts by key, keeping the order of rows with equal keys: radix passes over the key's bytes
// for many rows (a byte that is the same in every key is passed over), an insertion sort for
// few.
void SortByKey(KeyedRow* first, KeyedRow* last, std::vector<KeyedRow>& buffer)
{
    const size_t count = static_cast<size_t>(last - first);
    if (count < 2)
        return;
    if (count < 48) {
        for (KeyedRow* at = first + 1; at < last; ++at) {
            const KeyedRow row = *at;
            KeyedRow* to = at;
            for (; to > first && to[-1].key > row.key; --to)
                *to = to[-1];
            *to = row;
        }
        return;
    }
    if (count < 2048) {
        std::stable_sort(first, last, [](const KeyedRow& a, const KeyedRow& b) { return a.key < b.key; });
        return;
    }
    std::vector<uint32_t> counts(8 * 256);
    for (const KeyedRow* at = first; at < last; ++at)
        for (unsigned byte = 0; byte < 8; ++byte)
            ++counts[byte * 256 + ((at->key >> (8 * byte)) & 0xFF)];
    if (buffer.size() < count)
        buffer.resize(count);
    KeyedRow* from = first;
    KeyedRow* to = buffer.data();
    for (unsigned byte = 0; byte < 8; ++byte) {
        uint32_t* bucket = &counts[byte * 256];
        if (bucket[(first->key >> (8 * byte)) & 0xFF] == count)
            continue; // the same byte in every key
        uint32_t place = 0;
        for (unsigned b = 0; b < 256; ++b) {
            const uint32_t n = bucket[b];
            bucket[b] = place;
            place += n;
        }
        for (const KeyedRow* at = from; at < from + count; ++at)
            to[bucket[(at->key >> (8 * byte)) & 0xFF]++] = *at;
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + count, first);
}

// 8 upper-cased code units of a text from position at as a number that orders like them:
// the first unit in the highest byte, a unit of 255 and above as 255 (such keys are ordered
// by the full comparison), the end of the text and what follows it as 0.
template <typename TextAt> uint64_t TextChunk(const TextAt& textAt, uint32_t row, size_t at, const UpperCaseTable& upper)
{
    uint64_t key = 0;
    unsigned k = 0;
    for (; k < 8; ++k) {
        const wchar_t c = textAt(row, at + k);
        if (c == 0)
            break;
        const auto unit = static_cast<uint32_t>(upper(c));
        key = (key << 8) | (unit >= 255 ? 255 : unit);
    }
    return k == 8 ? key : key << (8 * (8 - k));
}

bool HasByte(uint64_t key, unsigned value)
{
    for (unsigned byte = 0; byte < 8; ++byte)
        if (((key >> (8 * byte)) & 0xFF) == value)
            return true;
    return false;
}

// Orders rows by their texts 8 units at a time: rows whose units so far are the same are
// ordered by the next 8, until the texts end or differ. Rows of equal texts keep their order.
template <typename TextAt>
void SortTexts(std::vector<KeyedRow>& rows, const TextAt& textAt, bool descending, const UpperCaseTable& upper,
               const std::function<bool(uint32_t, uint32_t)>& fullLess)
{
    struct Range {
        size_t first, last, depth;
    };
    std::vector<KeyedRow> buffer;
    std::vector<Range> pending{{0, rows.size(), 0}};
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        KeyedRow* first = rows.data() + range.first;
        KeyedRow* last = rows.data() + range.last;
        for (KeyedRow* at = first; at < last; ++at) {
            const uint64_t key = TextChunk(textAt, at->row, range.depth * 8, upper);
            at->key = descending ? ~key : key;
        }
        SortByKey(first, last, buffer);
        for (KeyedRow* run = first; run < last;) {
            KeyedRow* end = run + 1;
            while (end < last && end->key == run->key)
                ++end;
            const uint64_t key = descending ? ~run->key : run->key;
            if (end - run > 1 && (key & 0xFF) != 0) { // texts that go on alike so far
                if (HasByte(key, 255))
                    std::stable_sort(run, end, [&](const KeyedRow& a, const KeyedRow& b) { return fullLess(a.row, b.row); });
                else
                    pending.push_back({static_cast<size_t>(run - rows.data()), static_cast<size_t>(end - rows.data()),
                                       range.depth + 1});
            }
            run = end;
        }
    }
}

} // namespace

void SortRecords(const Catalogue& catalogue, Catalogue::List& list, SortKey key, bool flag, const UpperCaseTable& upper)
{
    RecordOrder order(catalogue, key, flag, upper);
    std::vector<uint32_t>& entries = list.Entries();
    // Each row's key is computed once, and the rows are sorted by it; texts are compared by
    // their upper-cased units 8 at a time. The order is RecordOrder's, with rows of equal
    // values in their previous order.
    try {
        const bool descending = (key == SortKey::Name) == flag;
        std::vector<KeyedRow> rows(entries.size());
        for (uint32_t i = 0; i < rows.size(); ++i)
            rows[i].row = i;
        auto fullLess = [&](uint32_t a, uint32_t b) {
            return order.Compare(catalogue.Entry(entries[a]), catalogue.Entry(entries[b])) < 0;
        };
        if (key == SortKey::Name) {
            std::vector<const wchar_t*> names(entries.size());
            for (size_t i = 0; i < names.size(); ++i)
                names[i] = catalogue.Entry(entries[i]).name;
            SortTexts(rows, [&](uint32_t row, size_t at) { return names[row][at]; }, descending, upper, fullLess);
        } else if (key == SortKey::Path) {
            struct PathText {
                const wchar_t* folder;
                uint32_t folderLength;
                const wchar_t* name;
            };
            std::vector<PathText> paths(entries.size());
            for (size_t i = 0; i < paths.size(); ++i) {
                const FileRecord& record = catalogue.Entry(entries[i]);
                const std::wstring_view folder = catalogue.Folder(record);
                paths[i] = {folder.data(), static_cast<uint32_t>(folder.size()), record.name};
            }
            SortTexts(
                rows,
                [&](uint32_t row, size_t at) {
                    const PathText& path = paths[row];
                    return at < path.folderLength ? path.folder[at] : path.name[at - path.folderLength];
                },
                descending, upper, fullLess);
        } else {
            for (KeyedRow& row : rows) {
                const uint64_t value = order.Value(catalogue.Entry(entries[row.row]));
                row.key = descending ? ~value : value;
            }
            std::vector<KeyedRow> buffer;
            SortByKey(rows.data(), rows.data() + rows.size(), buffer);
        }
        std::vector<uint32_t> sorted(entries.size());
        for (size_t i = 0; i < rows.size(); ++i)
            sorted[i] = entries[rows[i].row];
        entries.swap(sorted);
    } catch (const std::bad_alloc&) {
        // Too little memory for the keys: compared in place, which takes no more than a buffer
        // it may do without.
        std::stable_sort(entries.begin(), entries.end(), [&](uint32_t a, uint32_t b) {
            return order.Compare(catalogue.Entry(a), catalogue.Entry(b)) < 0;
        });
    }
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
