// The 1989 LZARI coder (Haruhiko Okumura) as published: N = 4096, F = 60, THRESHOLD = 2,
// 15-bit arithmetic, the static position model. The encoder is the one the lzari tool uses
// to make the stored language pack; the plain decoder is the yardstick the program's own
// decoder is tested and timed against. Streams carry a 4-byte little-endian length header.
#pragma once

#include <cstdint>
#include <vector>

namespace lzari {

// The header and the bit stream the published encoder writes for `text`.
std::vector<uint8_t> Encode(const std::vector<uint8_t>& text);

// Decodes `packed` the way the published decoder does: bits past its end read as 1, and the
// output runs to the length in the header, the last match possibly beyond it. Fewer than
// four bytes give no output. `limit` caps the output for streams with absurd headers.
std::vector<uint8_t> DecodeReference(const std::vector<uint8_t>& packed, uint32_t limit = 0xFFFFFFFFu);

}  // namespace lzari
