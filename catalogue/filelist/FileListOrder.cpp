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

// A row of the list being sorted with its key: a number, or 16 code units of its text.
struct KeyedRow {
    uint64_t key;
    uint64_t key2; // the units 9 to 16 of a text
    uint32_t row;
    uint32_t folder; // of a path
};

bool KeyLess(const KeyedRow& a, const KeyedRow& b)
{
    return a.key < b.key || (a.key == b.key && a.key2 < b.key2);
}

bool SameKey(const KeyedRow& a, const KeyedRow& b)
{
    return a.key == b.key && a.key2 == b.key2;
}

// Sorts by key, keeping the order of rows with equal keys: radix passes over the keys' bytes
// for many rows (a byte that is the same in every key is passed over), an insertion sort for
// few.
void SortByKey(KeyedRow* first, KeyedRow* last, std::vector<KeyedRow>& buffer)
{
    const size_t count = static_cast<size_t>(last - first);
    if (count < 2 || std::all_of(first + 1, last, [&](const KeyedRow& row) { return SameKey(row, *first); }))
        return;
    if (count < 32) {
        for (KeyedRow* at = first + 1; at < last; ++at) {
            const KeyedRow row = *at;
            KeyedRow* to = at;
            for (; to > first && KeyLess(row, to[-1]); --to)
                *to = to[-1];
            *to = row;
        }
        return;
    }
    if (count < 512) {
        std::stable_sort(first, last, KeyLess);
        return;
    }
    // Bytes 0 to 7 of key2, then of key: the least significant first.
    auto byteOf = [](const KeyedRow& row, unsigned byte) {
        return static_cast<unsigned>((byte < 8 ? row.key2 >> (8 * byte) : row.key >> (8 * (byte - 8))) & 0xFF);
    };
    std::vector<uint32_t> counts(16 * 256);
    for (const KeyedRow* at = first; at < last; ++at) {
        for (unsigned byte = 0; byte < 8; ++byte)
            ++counts[byte * 256 + ((at->key2 >> (8 * byte)) & 0xFF)];
        for (unsigned byte = 0; byte < 8; ++byte)
            ++counts[(byte + 8) * 256 + ((at->key >> (8 * byte)) & 0xFF)];
    }
    if (buffer.size() < count)
        buffer.resize(count);
    KeyedRow* from = first;
    KeyedRow* to = buffer.data();
    for (unsigned byte = 0; byte < 16; ++byte) {
        uint32_t* bucket = &counts[byte * 256];
        if (bucket[byteOf(*first, byte)] == count)
            continue; // the same byte in every key
        uint32_t place = 0;
        for (unsigned b = 0; b < 256; ++b) {
            const uint32_t n = bucket[b];
            bucket[b] = place;
            place += n;
        }
        for (const KeyedRow* at = from; at < from + count; ++at)
            to[bucket[byteOf(*at, byte)]++] = *at;
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + count, first);
}

bool HasByte(uint64_t key, unsigned value)
{
    for (unsigned byte = 0; byte < 8; ++byte)
        if (((key >> (8 * byte)) & 0xFF) == value)
            return true;
    return false;
}

// The texts of the rows: a folder (empty for the name key) followed by a name.
class RowTexts {
public:
    RowTexts(const std::vector<std::wstring_view>& folders, const std::vector<const wchar_t*>& names,
             const UpperCaseTable& upper)
        : m_folders(folders), m_names(names), m_upper(upper), m_folderKeys(folders.size())
    {
    }

    // The 16 units from position at as two keys.
    void Keys(const KeyedRow& row, size_t at, uint64_t& key, uint64_t& key2)
    {
        const std::wstring_view folder = m_folders[row.folder];
        if (at + 16 <= folder.size()) {
            // Within the folder: the same for all its files, made once per folder and place.
            FolderKey& known = m_folderKeys[row.folder];
            if (known.at != at + 1) {
                known.at = at + 1;
                Units(folder, m_names[row.row], at, known.key, known.key2);
            }
            key = known.key;
            key2 = known.key2;
            return;
        }
        Units(folder, m_names[row.row], at, key, key2);
    }

private:
    // 16 upper-cased code units from position at as two numbers that order like them: the
    // first unit in the highest byte, the end of the text and what follows it as 0. A unit of
    // 255 and above makes it and the rest 255, so that the texts that agree up to such a unit
    // fall together, to be ordered by the full comparison.
    void Units(std::wstring_view folder, const wchar_t* name, size_t at, uint64_t& key, uint64_t& key2) const
    {
        uint8_t units[16] = {};
        for (size_t n = 0; n < 16; ++n, ++at) {
            const wchar_t c = at < folder.size() ? folder[at] : name[at - folder.size()];
            if (c == 0)
                break;
            const auto unit = static_cast<uint32_t>(m_upper(c));
            if (unit >= 255) {
                std::fill(units + n, units + 16, static_cast<uint8_t>(255));
                break;
            }
            units[n] = static_cast<uint8_t>(unit);
        }
        key = key2 = 0;
        for (size_t n = 0; n < 8; ++n) {
            key = (key << 8) | units[n];
            key2 = (key2 << 8) | units[n + 8];
        }
    }

    struct FolderKey {
        size_t at = 0; // the place + 1 the keys are of; 0 for none yet
        uint64_t key = 0, key2 = 0;
    };
    const std::vector<std::wstring_view>& m_folders;
    const std::vector<const wchar_t*>& m_names;
    const UpperCaseTable& m_upper;
    std::vector<FolderKey> m_folderKeys;
};

// Orders rows by their texts 16 units at a time: rows whose units so far are the same are
// ordered by the next 16, until the texts end or differ. Rows of equal texts keep their order.
void SortTexts(std::vector<KeyedRow>& rows, RowTexts& texts, bool descending,
               const std::function<bool(uint32_t, uint32_t)>& fullLess)
{
    struct Range {
        size_t first, last, at;
    };
    std::vector<KeyedRow> buffer;
    std::vector<Range> pending{{0, rows.size(), 0}};
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        KeyedRow* first = rows.data() + range.first;
        KeyedRow* last = rows.data() + range.last;
        for (KeyedRow* at = first; at < last; ++at) {
            texts.Keys(*at, range.at, at->key, at->key2);
            if (descending) {
                at->key = ~at->key;
                at->key2 = ~at->key2;
            }
        }
        SortByKey(first, last, buffer);
        for (KeyedRow* run = first; run < last;) {
            KeyedRow* end = run + 1;
            while (end < last && SameKey(*end, *run))
                ++end;
            const uint64_t key = descending ? ~run->key : run->key;
            const uint64_t key2 = descending ? ~run->key2 : run->key2;
            if (end - run > 1 && (key2 & 0xFF) != 0) { // texts that go on alike so far
                if (HasByte(key, 255) || HasByte(key2, 255))
                    std::stable_sort(run, end, [&](const KeyedRow& a, const KeyedRow& b) { return fullLess(a.row, b.row); });
                else
                    pending.push_back({static_cast<size_t>(run - rows.data()), static_cast<size_t>(end - rows.data()),
                                       range.at + 16});
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
    // their upper-cased units 16 at a time. The order is RecordOrder's, with rows of equal
    // values in their previous order.
    try {
        const bool descending = (key == SortKey::Name) == flag;
        std::vector<KeyedRow> rows(entries.size());
        for (uint32_t i = 0; i < rows.size(); ++i)
            rows[i].row = i;
        auto fullLess = [&](uint32_t a, uint32_t b) {
            return order.Compare(catalogue.Entry(entries[a]), catalogue.Entry(entries[b])) < 0;
        };
        if (key == SortKey::Name || key == SortKey::Path) {
            std::vector<const wchar_t*> names(entries.size());
            std::vector<std::wstring_view> folders(key == SortKey::Path ? catalogue.FolderCount() : 1);
            for (size_t i = 0; i < names.size(); ++i) {
                const FileRecord& record = catalogue.Entry(entries[i]);
                names[i] = record.name;
                rows[i].folder = key == SortKey::Path ? record.folder : 0;
            }
            if (key == SortKey::Path)
                for (uint32_t f = 0; f < folders.size(); ++f)
                    folders[f] = catalogue.Folder(f);
            RowTexts texts(folders, names, upper);
            SortTexts(rows, texts, descending, fullLess);
        } else {
            for (KeyedRow& row : rows) {
                const uint64_t value = order.Value(catalogue.Entry(entries[row.row]));
                row.key = descending ? ~value : value;
                row.key2 = 0;
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
