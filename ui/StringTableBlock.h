#pragma once
// Reading one string of a string-table block as the resource compiler lays it
// out: sixteen entries, each a 16-bit length followed by that many UTF-16 units.

#include <cstddef>
#include <string>

namespace Ui {

// String id of the first entry of block `block` (blocks are numbered from 1).
constexpr unsigned StringTableBlockOf(unsigned id) { return id / 16 + 1; }

// Entry index (0 to 15) of the block's data; empty when the entry is empty or
// the data ends before it.
std::wstring StringFromTableBlock(const void* data, std::size_t size, unsigned index);

}  // namespace Ui
