#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace waverom
{
// The 204 cyclic segments, 640 unsigned 8-bit samples each: five half cycles of 128 samples, one
// per key range, which the player mirrors into odd-symmetric 256-sample cycles.
std::vector<uint8_t> buildCyclicArea();
}
