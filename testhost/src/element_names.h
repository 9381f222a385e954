// Element names: texts kept in blocks that never move, and names made from an element's
// integer index values only when someone reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vzt::detail {

// Copies text and its terminating zero into the last of blocks, opening a new block of
// blockSize bytes when it is full; "" when the text does not fit a block or memory runs out.
const char* KeepText(std::vector<char*>& blocks, std::size_t& used, std::size_t blockSize,
                     std::string_view text);
void FreeTexts(std::vector<char*>& blocks);

// The names made when read lie in one store shared by every array whose elements are named
// by their index values; it lives while any such array does.
void HoldIndexNames();
void ReleaseIndexNames();
// The name of the element with these index values, kept in that store.
const char* KeepIndexName(const std::int32_t* values, int count);

} // namespace vzt::detail
