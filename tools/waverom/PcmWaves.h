#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace waverom
{
// The sampled segment with the given index (0..29) as unsigned 8-bit samples of its full length.
std::vector<uint8_t> buildPcmSegment(size_t segment);
}
