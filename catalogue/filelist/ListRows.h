#pragma once
// Rows of the file list as the commands that print or export them take them: the texts of each
// row as the list shows them. Portable.

#include <array>
#include <cstddef>
#include <functional>
#include <string>

// The texts of one row, by column: name, path, type, size, date, attributes.
using RowTexts = std::array<std::wstring, 6>;

// The rows a command works on, in list order; at(k) gives the k-th, k < count.
struct ListRows {
    size_t count = 0;
    std::function<RowTexts(size_t)> at;
};
