// GIF's variable-length LZW: codes from minCodeSize + 1 up to 12 bits, packed least
// significant bit first, a clear code first and whenever the code table is full, the end
// code last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvanth::imaging::encode {

// Compresses `count` indices, each below 2^minCodeSize (2 <= minCodeSize <= 8), and
// appends the code stream (without GIF's sub-block framing) to `out`.
void LzwCompress(const std::uint8_t* indices, std::size_t count, int minCodeSize,
                 std::vector<std::uint8_t>& out);

}  // namespace korvanth::imaging::encode
