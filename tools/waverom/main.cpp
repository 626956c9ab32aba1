// Builds the wave ROM image: writes the RIFF WAVE file given on the command line.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <stdexcept>

#include "CyclicWaves.h"
#include "PcmWaves.h"
#include "RomLayout.h"

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::cerr << "usage: virel_waverom_gen <output.wav>\n";
		return 2;
	}
	try
	{
		using namespace waverom;
		std::vector<uint8_t> samples(kSampleCount, 128);
		for (size_t s = 0; s < kPcmSegmentCount; ++s)
		{
			const std::vector<uint8_t> segment = buildPcmSegment(s);
			if (segment.size() != g_pcmSegments[s].length)
				throw std::logic_error("segment length mismatch");
			std::copy(segment.begin(), segment.end(), samples.begin() + g_pcmSegments[s].position);
		}
		const std::vector<uint8_t> cyclic = buildCyclicArea();
		if (cyclic.size() != kCyclicCount * kCyclicSegment)
			throw std::logic_error("cyclic area size mismatch");
		std::copy(cyclic.begin(), cyclic.end(), samples.begin() + kCyclicStart);

		const std::vector<uint8_t> image = buildImage(samples);
		FILE* f = std::fopen(argv[1], "wb");
		if (!f)
		{
			std::cerr << "virel_waverom_gen: cannot write " << argv[1] << "\n";
			return 1;
		}
		const bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size();
		if (std::fclose(f) != 0 || !ok)
		{
			std::cerr << "virel_waverom_gen: failed writing " << argv[1] << "\n";
			return 1;
		}
	}
	catch (const std::exception& e)
	{
		std::cerr << "virel_waverom_gen: " << e.what() << "\n";
		return 1;
	}
	return 0;
}
