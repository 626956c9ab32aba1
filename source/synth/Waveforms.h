#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "StaticArray.h"
#include "WaveformNames.h"

namespace zentlib
{
// The 256 waveforms the sources play, built once from the wave ROM image and read-only afterwards.
// Waves 0..203 are single-cycle waves with one 256-sample table per key range; waves 204..255 are
// sampled sounds that point into the ROM samples (the ping-pong ones into their own doubled copy).
// Entries point into this object, so it is neither copied nor moved.
class Waveforms
{
public:
	static constexpr size_t KeyCount = 128;
	static constexpr size_t CyclicWaveCount = 204;
	static constexpr size_t CyclicTablesPerWave = 5;
	static constexpr size_t CyclicTableLength = 256;
	static constexpr size_t CyclicSegmentLength = 640;

	// One key's view of a waveform.
	struct WaveformData
	{
		const float* data = nullptr;
		uint64_t length = 0; // a power of two
		float rootFreq = 0.0f; // pitch of the data when played at the ROM rate
	};

	struct Waveform
	{
		Waveform() { perKey.resize(KeyCount); }

		StaticArray<WaveformData, KeyCount> perKey;
		std::vector<float> buffer; // ping-pong waves only
		bool looped = false;
		bool pingPong = false;
		bool extended = false; // spans more than one cue segment
		float romRate = 0.0f;
	};

	// Builds every waveform from the embedded wave ROM.
	Waveforms();
	// Builds every waveform from the given ROM image instead.
	Waveforms(const unsigned char* image, size_t size);

	Waveforms(const Waveforms&) = delete;
	Waveforms& operator=(const Waveforms&) = delete;

	void loadFromMemory();
	void loadFromMemory(const unsigned char* image, size_t size);

	static const char* getName(unsigned char wave) { return g_waveformNames[wave]; }

	// Only plain forward loops may start anywhere: a one-shot must start at its attack, and a
	// ping-pong or multi-segment wave has a shape that a random start would cut.
	bool canRandomStart(unsigned char wave) const;

	const Waveform& getWaveform(unsigned char wave) const { return m_waveforms[wave]; }

private:
	void clear();
	void buildCyclic(size_t index, size_t start, float romRate);

	std::array<Waveform, g_waveformCount> m_waveforms;
	std::vector<float> m_rom;
	std::array<float, CyclicWaveCount * CyclicTablesPerWave * CyclicTableLength> m_cyclicTables{};
};
}
