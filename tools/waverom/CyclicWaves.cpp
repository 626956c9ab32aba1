#include "CyclicWaves.h"

#include "DetMath.h"
#include "Quantize.h"
#include "RomLayout.h"

namespace waverom
{
std::vector<uint8_t> buildCyclicArea()
{
	std::vector<uint8_t> out;
	out.reserve(kCyclicCount * kCyclicSegment);
	for (size_t w = 0; w < kCyclicCount; ++w)
		for (size_t t = 0; t < kTablesPerWave; ++t)
			for (size_t j = 0; j < kHalfCycle; ++j)
				out.push_back(toByte(0.95 * sinTurns((static_cast<double>(j) + 0.5) / 256.0)));
	return out;
}
}
