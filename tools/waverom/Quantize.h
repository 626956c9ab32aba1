#pragma once

#include <cstdint>
#include <vector>

namespace waverom
{
// A sample in [-1, 1] as an unsigned 8-bit byte centred on 128. The most negative step is left
// out so that a mirrored (negated) half cycle stays inside the same range.
uint8_t toByte(double x);
// Scales the signal so that its largest magnitude is the given peak (nothing for silence).
void normalise(std::vector<double>& x, double peak);
}
