#pragma once
// What the benchmark programs measure with: a clock in seconds, the private memory of the
// process, and the tree node of a category.

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <vector>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Committed private memory of the process, added up region by region: Wine reports no private
// usage in the process counters.
inline size_t PrivateBytes()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break; // the end of the address space
        address = next;
    }
    return total;
}

// The tree node of a category: the nodes carry the category id as item data.
inline HTREEITEM FindCategoryNode(HWND tree, int categoryId)
{
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            TVITEMW tv{};
            tv.mask = TVIF_PARAM;
            tv.hItem = item;
            if (TreeView_GetItem(tree, &tv) && tv.lParam == categoryId)
                return item;
            if (HTREEITEM child = TreeView_GetChild(tree, item))
                pending.push_back(child);
        }
    }
    return nullptr;
}
