#include "FileListOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <new>
#include <type_traits>

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
    uint64_t key2;   // the units 9 to 16 of a text; the row's place after a number
    uint32_t row;    // the row's place in the list
    uint32_t folder; // of a path
};

// A row sorted by its path, with the first 16 units of its name.
struct PathRow : KeyedRow {
    uint8_t name[16];
};

// A row sorted by a number, with its entry.
struct ValueRow {
    uint64_t key;
    uint32_t entry;
    static constexpr uint64_t key2 = 0;
};

template <typename Row> bool KeyLess(const Row& a, const Row& b)
{
    return a.key < b.key || (a.key == b.key && a.key2 < b.key2);
}

template <typename Row> bool SameKey(const Row& a, const Row& b)
{
    return a.key == b.key && a.key2 == b.key2;
}

unsigned LeadingZeroBytes(uint64_t value)
{
    unsigned bytes = 0;
    for (; bytes < 8 && (value >> 56) == 0; ++bytes)
        value <<= 8;
    return bytes;
}

// Sorts the rows at data by key, keeping the order of rows with equal keys, and leaves them at
// data, or at scratch with toScratch set. The rows are spread by the first byte in which their
// keys differ (the highest first) from one array into the other, and each part again by its
// next byte back, until a part is small enough for an insertion sort. Bytes the same in every
// key of a part are passed over, so a part costs as many passes as its keys have differing
// bytes at the top.
template <typename Row> void SortByKey(Row* data, Row* scratch, size_t count, bool toScratch)
{
    auto leave = [&] {
        if (toScratch)
            std::copy(data, data + count, scratch);
    };
    if (count < 48) {
        for (Row* at = data + 1; at < data + count; ++at) {
            const Row row = *at;
            Row* to = at;
            for (; to > data && KeyLess(row, to[-1]); --to)
                *to = to[-1];
            *to = row;
        }
        leave();
        return;
    }
    uint64_t differ = 0, differ2 = 0;
    for (const Row* at = data + 1; at < data + count; ++at) {
        differ |= at->key ^ data->key;
        differ2 |= at->key2 ^ data->key2;
    }
    if (differ == 0 && differ2 == 0) {
        leave();
        return;
    }
    // Bytes 0 to 7 of key, then of key2, counted from the highest.
    const unsigned byte = differ != 0 ? LeadingZeroBytes(differ) : 8 + LeadingZeroBytes(differ2);
    const unsigned shift = 8 * (7 - byte % 8);
    const bool inKey2 = byte >= 8;
    auto digit = [&](const Row& row) {
        return static_cast<unsigned>(((inKey2 ? row.key2 : row.key) >> shift) & 0xFF);
    };
    uint32_t counts[256] = {};
    for (const Row* at = data; at < data + count; ++at)
        ++counts[digit(*at)];
    uint32_t starts[257];
    starts[0] = 0;
    for (unsigned b = 0; b < 256; ++b)
        starts[b + 1] = starts[b] + counts[b];
    uint32_t place[256];
    std::copy(starts, starts + 256, place);
    for (const Row* at = data; at < data + count; ++at)
        scratch[place[digit(*at)]++] = *at;
    // The parts are at scratch now, and go back to data unless they are to stay.
    for (unsigned b = 0; b < 256; ++b)
        if (counts[b] > 0)
            SortByKey(scratch + starts[b], data + starts[b], counts[b], !toScratch);
}

template <typename Row> void SortByKey(Row* first, Row* last, std::vector<Row>& buffer)
{
    const size_t count = static_cast<size_t>(last - first);
    if (buffer.size() < count)
        buffer.resize(count);
    SortByKey(first, buffer.data(), count, false);
}

bool HasByte(uint64_t key, unsigned value)
{
    for (unsigned byte = 0; byte < 8; ++byte)
        if (((key >> (8 * byte)) & 0xFF) == value)
            return true;
    return false;
}

// 16 upper-cased code units as they go into two keys that order like them: the first unit in
// the highest byte, the end of the text and what follows it as 0. A unit of 255 and above makes
// it and the rest 255, so that the texts that agree up to such a unit fall together, to be
// ordered by the full comparison.
struct Units16 {
    uint8_t units[16] = {};
    size_t count = 0; // units set so far
    bool done = false;

    // Takes one code unit; false once the 16 are complete or the text has ended.
    bool Add(wchar_t c, const UpperCaseTable& upper)
    {
        if (done || count == 16)
            return false;
        const auto unit = static_cast<uint32_t>(upper(c));
        if (unit == 0 || unit >= 255) {
            if (unit != 0)
                std::fill(units + count, units + 16, static_cast<uint8_t>(255));
            done = true;
            return false;
        }
        units[count++] = static_cast<uint8_t>(unit);
        return true;
    }
    // Takes units made before; false as Add.
    bool AddMade(uint8_t unit)
    {
        if (done || count == 16)
            return false;
        if (unit == 0 || unit == 255) {
            std::fill(units + count, units + 16, unit);
            done = true;
            return false;
        }
        units[count++] = unit;
        return true;
    }
    void Keys(uint64_t& key, uint64_t& key2) const
    {
        key = key2 = 0;
        for (size_t n = 0; n < 8; ++n) {
            key = (key << 8) | units[n];
            key2 = (key2 << 8) | units[n + 8];
        }
    }
};

Units16 NameUnits(const wchar_t* name, const UpperCaseTable& upper)
{
    Units16 units;
    while (units.Add(*name, upper))
        ++name;
    return units;
}

// The texts of the rows: a folder (empty for the name key) followed by a name.
class RowTexts {
public:
    RowTexts(const Catalogue& catalogue, const std::vector<uint32_t>& entries, const std::vector<std::wstring_view>& folders,
             const UpperCaseTable& upper)
        : m_catalogue(catalogue), m_entries(entries), m_folders(folders), m_upper(upper), m_folderKeys(folders.size())
    {
    }

    // The 16 units from position at as two keys.
    template <typename Row> void Keys(const Row& row, size_t at, uint64_t& key, uint64_t& key2)
    {
        const std::wstring_view folder = m_folders[row.folder];
        if (at + 16 <= folder.size()) {
            // Within the folder: the same for all its files, made once per folder and place.
            FolderKey& known = m_folderKeys[row.folder];
            if (known.at != at + 1) {
                known.at = at + 1;
                Units(row, folder, at).Keys(known.key, known.key2);
            }
            key = known.key;
            key2 = known.key2;
            return;
        }
        Units(row, folder, at).Keys(key, key2);
    }

private:
    template <typename Row> Units16 Units(const Row& row, std::wstring_view folder, size_t at) const
    {
        Units16 units;
        for (; at < folder.size(); ++at)
            if (!units.Add(folder[at], m_upper))
                return units;
        size_t inName = at - folder.size();
        if constexpr (std::is_same_v<Row, PathRow>) {
            // The name's first 16 units come with the row.
            for (; inName < 16; ++inName)
                if (!units.AddMade(row.name[inName]))
                    return units;
        }
        const wchar_t* name = m_catalogue.Entry(m_entries[row.row]).name;
        // The name goes on past the units before inName.
        while (units.Add(name[inName], m_upper))
            ++inName;
        return units;
    }

    struct FolderKey {
        size_t at = 0; // the place + 1 the keys are of; 0 for none yet
        uint64_t key = 0, key2 = 0;
    };
    const Catalogue& m_catalogue;
    const std::vector<uint32_t>& m_entries;
    const std::vector<std::wstring_view>& m_folders;
    const UpperCaseTable& m_upper;
    std::vector<FolderKey> m_folderKeys;
};

// Orders rows by their texts 16 units at a time: rows whose units so far are the same are
// ordered by the next 16, until the texts end or differ. Rows of equal texts are in the order of
// their places in the list. The rows come with the keys of their first 16 units.
template <typename Row>
void SortTexts(std::vector<Row>& rows, RowTexts& texts, bool descending, const std::function<int(uint32_t, uint32_t)>& compare)
{
    struct Range {
        size_t first, last, at;
    };
    auto byPlace = [](const Row& a, const Row& b) { return a.row < b.row; };
    std::vector<Row> buffer;
    std::vector<Range> pending{{0, rows.size(), 0}};
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        Row* first = rows.data() + range.first;
        Row* last = rows.data() + range.last;
        if (range.at > 0)
            for (Row* at = first; at < last; ++at) {
                texts.Keys(*at, range.at, at->key, at->key2);
                if (descending) {
                    at->key = ~at->key;
                    at->key2 = ~at->key2;
                }
            }
        SortByKey(first, last, buffer);
        for (Row* run = first; run < last;) {
            Row* end = run + 1;
            while (end < last && SameKey(*end, *run))
                ++end;
            const uint64_t key = descending ? ~run->key : run->key;
            const uint64_t key2 = descending ? ~run->key2 : run->key2;
            if (end - run > 1) {
                if ((key2 & 0xFF) == 0) // the texts have ended, equal
                    std::sort(run, end, byPlace);
                else if (HasByte(key, 255) || HasByte(key2, 255))
                    std::sort(run, end, [&](const Row& a, const Row& b) {
                        const int order = compare(a.row, b.row);
                        return order < 0 || (order == 0 && a.row < b.row);
                    });
                else // texts that go on alike so far
                    pending.push_back({static_cast<size_t>(run - rows.data()), static_cast<size_t>(end - rows.data()),
                                       range.at + 16});
            }
            run = end;
        }
    }
}

// Calls visit(row, entry) for the list's rows in the order of their entries, which is about the
// order the records and their names lie in memory: reading them in this order is a walk, where
// the list's order (once sorted by anything) jumps about memory for each row.
template <typename Visit> void VisitInMemoryOrder(const Catalogue& catalogue, const std::vector<uint32_t>& entries, Visit visit)
{
    // A table by entry gives them in order, as long as no entry is in the list twice; if one
    // is, the list's order it is.
    std::vector<uint32_t> rowOf(catalogue.EntryCount(), 0);
    for (uint32_t i = 0; i < entries.size(); ++i) {
        if (rowOf[entries[i]] != 0) {
            for (uint32_t row = 0; row < entries.size(); ++row)
                visit(row, entries[row]);
            return;
        }
        rowOf[entries[i]] = i + 1;
    }
    for (uint32_t entry = 0; entry < rowOf.size(); ++entry)
        if (rowOf[entry] != 0)
            visit(rowOf[entry] - 1, entry);
}

template <typename Row>
void SortTextRows(const Catalogue& catalogue, std::vector<uint32_t>& entries, const std::vector<std::wstring_view>& folders,
                  bool descending, const UpperCaseTable& upper, const RecordOrder& order)
{
    RowTexts texts(catalogue, entries, folders, upper);
    std::vector<Row> rows(entries.size());
    size_t made = 0;
    VisitInMemoryOrder(catalogue, entries, [&](uint32_t place, uint32_t entry) {
        Row& row = rows[made++];
        row.row = place;
        const FileRecord& record = catalogue.Entry(entry);
        const Units16 name = NameUnits(record.name, upper);
        if constexpr (std::is_same_v<Row, PathRow>) {
            std::copy(name.units, name.units + 16, row.name);
            row.folder = record.folder;
            texts.Keys(row, 0, row.key, row.key2);
        } else {
            row.folder = 0;
            name.Keys(row.key, row.key2);
        }
        if (descending) {
            row.key = ~row.key;
            row.key2 = ~row.key2;
        }
    });
    auto compare = [&](uint32_t a, uint32_t b) {
        return order.Compare(catalogue.Entry(entries[a]), catalogue.Entry(entries[b]));
    };
    SortTexts(rows, texts, descending, compare);
    std::vector<uint32_t> sorted(entries.size());
    for (size_t i = 0; i < rows.size(); ++i)
        sorted[i] = entries[rows[i].row];
    entries.swap(sorted);
}

} // namespace

void SortRecords(const Catalogue& catalogue, Catalogue::List& list, SortKey key, bool flag, const UpperCaseTable& upper)
{
    RecordOrder order(catalogue, key, flag, upper);
    std::vector<uint32_t>& entries = list.Entries();
    // Each row's key is computed once, reading the records in memory order, and the rows are
    // sorted by it; texts are compared by their upper-cased units 16 at a time. The order is
    // RecordOrder's, with rows of equal values in the order of their places in the list.
    try {
        const bool descending = (key == SortKey::Name) == flag;
        if (key == SortKey::Name) {
            SortTextRows<KeyedRow>(catalogue, entries, std::vector<std::wstring_view>(1), descending, upper, order);
            return;
        }
        if (key == SortKey::Path) {
            std::vector<std::wstring_view> folders(catalogue.FolderCount());
            for (uint32_t f = 0; f < folders.size(); ++f)
                folders[f] = catalogue.Folder(f);
            SortTextRows<PathRow>(catalogue, entries, folders, descending, upper, order);
            return;
        }
        // The values go to their rows' places, and the rows in list order into the sort.
        std::vector<uint64_t> values(entries.size());
        VisitInMemoryOrder(catalogue, entries, [&](uint32_t place, uint32_t entry) {
            const uint64_t value = order.Value(catalogue.Entry(entry));
            values[place] = descending ? ~value : value;
        });
        std::vector<ValueRow> rows(entries.size());
        for (uint32_t i = 0; i < rows.size(); ++i)
            rows[i] = {values[i], entries[i]};
        values = std::vector<uint64_t>();
        std::vector<ValueRow> buffer;
        SortByKey(rows.data(), rows.data() + rows.size(), buffer);
        std::vector<uint32_t> sorted(entries.size());
        for (size_t i = 0; i < rows.size(); ++i)
            sorted[i] = rows[i].entry;
        entries.swap(sorted);
    } catch (const std::bad_alloc&) {
        // Too little memory for the keys: compared in place, which takes no more than a buffer
        // it may do without.
        std::stable_sort(entries.begin(), entries.end(), [&](uint32_t a, uint32_t b) {
            return order.Compare(catalogue.Entry(a), catalogue.Entry(b)) < 0;
        });
    }
}

ListSums SumList(const Catalogue& catalogue, const Catalogue::List& list)
{
    // A bit per entry, set for the list's: walking the bits reads the records in order. An
    // entry in the list twice is counted twice, in the list's order.
    const std::vector<uint32_t>& entries = list.Entries();
    std::vector<uint32_t> inList((catalogue.EntryCount() + 31) / 32);
    ListSums sums;
    for (uint32_t entry : entries) {
        uint32_t& word = inList[entry / 32];
        if (word & (1u << (entry % 32))) {
            const FileRecord& record = catalogue.Entry(entry);
            sums.bytes += record.Size();
            sums.anyOffline |= record.Offline();
        }
        word |= 1u << (entry % 32);
    }
    for (uint32_t word = 0; word < inList.size(); ++word)
        for (uint32_t bit = 0, bits = inList[word]; bits != 0; ++bit, bits >>= 1)
            if (bits & 1) {
                const FileRecord& record = catalogue.Entry(word * 32 + bit);
                sums.bytes += record.Size();
                sums.anyOffline |= record.Offline();
            }
    return sums;
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
