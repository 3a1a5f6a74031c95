#pragma once
#include <cstdint>

#include "core/Bytes.h"

// Length of the sound in a RIFF/WAVE file from its header: the byte rate of
// the "fmt " chunk and the size of the "data" chunk. -1 when the bytes are no
// wave file this can read (too short, wrong tags, zero rate).
int64_t WaveDurationMs(const TBytes& head, int64_t fileSize);
