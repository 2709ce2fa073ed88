#include "lang/stored_pack.h"

const uint8_t kStoredPack[] = {
#include "stored_pack.inc"
};

const uint32_t kStoredPackSize = sizeof(kStoredPack);
