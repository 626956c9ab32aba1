#include "PcmWaves.h"

#include "DetMath.h"
#include "Quantize.h"
#include "RomLayout.h"

namespace waverom
{
std::vector<uint8_t> buildPcmSegment(size_t segment)
{
	const size_t length = g_pcmSegments[segment].length;
	std::vector<uint8_t> out(length);
	for (size_t i = 0; i < length; ++i)
	{
		const double fade = 1.0 - static_cast<double>(i) / static_cast<double>(length);
		out[i] = toByte(0.95 * fade * fade * sinTurns(415.28961 * static_cast<double>(i) / kRomRate));
	}
	return out;
}
}
