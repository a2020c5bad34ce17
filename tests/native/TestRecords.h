#pragma once
// Records made for tests: a full path with its size, last-write time, attributes and type name.

#include "catalogue/catalogue/Catalogue.h"

#include <cstdint>
#include <vector>

struct TestRecord {
    const wchar_t* path;
    uint64_t size;
    uint64_t writeTime; // 100 ns units; 0: no date
    uint32_t attributes;
    const wchar_t* type = L"";
};

// Appends the records to category id, in this order.
inline void AddTestRecords(Catalogue& catalogue, int id, const std::vector<TestRecord>& records)
{
    for (const TestRecord& r : records) {
        PathParts parts = SplitPath(r.path);
        FileRecord record;
        record.folder = catalogue.FindOrAddFolder(parts.folder);
        record.name = catalogue.StoreText(parts.name);
        record.SetSize(r.size);
        record.writeTimeLow = static_cast<uint32_t>(r.writeTime);
        record.writeTimeHigh = static_cast<uint32_t>(r.writeTime >> 32);
        record.attributes = r.attributes;
        record.typeName = catalogue.InternTypeName(r.type);
        catalogue[id].push_back(record);
    }
}
