#include "synth/WavLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Damaged images log warnings by the thousand; writing them would cost most of the run time.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	std::freopen("/dev/null", "w", stdout);
	return 0;
}

// Reads arbitrary bytes as an in-memory WAV image, with and without the optional outputs, and
// touches everything handed back so that out-of-bounds pointers show up.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const float* direct = nullptr;
	size_t count = 0;
	std::vector<float> samples;
	int rate = 0;
	std::vector<zentlib::CuePoint> cues;
	volatile float sink = 0.0f;
	if (zentlib::WavLoader::load(&direct, count, samples, rate, &cues, data, size) && direct)
	{
		for (size_t i = 0; i < count; ++i)
			sink = sink + direct[i];
	}
	for (const zentlib::CuePoint& cue : cues)
		sink = sink + static_cast<float>(cue.label.size());

	count = 0;
	zentlib::WavLoader::load(nullptr, count, samples, rate, nullptr, data, size);
	for (float s : samples)
		sink = sink + s;
	return 0;
}
