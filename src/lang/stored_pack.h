// The compressed language pack compiled into the program: a 4-byte little-endian length and
// the LZARI stream of the UTF-16 pack text. The build makes it from resources/lang/languages.txt.
#pragma once

#include <cstdint>

extern const uint8_t kStoredPack[];
extern const uint32_t kStoredPackSize;
