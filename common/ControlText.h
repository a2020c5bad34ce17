#pragma once
// A text for a control, menu item or string, keyed by its resource id. Portable.

#include <cstddef>

struct ControlText {
    int id;
    const wchar_t* text;
};

struct TextTable {
    const ControlText* items;
    std::size_t count;

    const ControlText* begin() const { return items; }
    const ControlText* end() const { return items + count; }

    // The text for id, or nullptr when the table has none.
    const wchar_t* Find(int id) const
    {
        for (const ControlText& t : *this)
            if (t.id == id)
                return t.text;
        return nullptr;
    }
};

template <std::size_t N> constexpr TextTable MakeTable(const ControlText (&items)[N])
{
    return TextTable{items, N};
}
