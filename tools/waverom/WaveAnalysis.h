#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "RomLayout.h"

// Reads a wave ROM image from its raw bytes and measures its waves: the figures the report tool
// prints and the image tests check.
namespace waverom
{
struct RomView
{
	uint32_t rate = 0;
	std::vector<double> samples; // (byte - 128) / 128
	std::vector<uint32_t> cues;  // positions in identifier order
	std::vector<std::string> labels;

	// False when the image is not a RIFF WAVE with 8-bit data or a chunk runs past its end.
	bool parse(const uint8_t* data, size_t size);
};

using Cycle = std::array<double, 256>;
using Harmonics = std::array<double, 129>;

// Table t (0..4) of cyclic wave w (0..203), mirrored into its full cycle as the player does.
Cycle cyclicCycle(const RomView& rom, size_t wave, size_t table);
// Amplitude of each harmonic 0..128 of a cycle; a full-scale sine harmonic has amplitude 1.
Harmonics harmonics(const Cycle& cycle);
// Highest harmonic a table may hold without aliasing at the top of its key range.
int harmonicLimit(size_t table);

// A sampled wave as the waveform builder cuts it from its label token.
struct PcmWave
{
	int number = 0; // 205..256
	uint32_t start = 0;
	uint32_t length = 0; // the played length: doubled for ping-pong, spanning for extended
	bool pingPong = false;
	bool extended = false;
	std::vector<double> data;
};

// Whether a sampled segment (index 0..29) is pitched at 68.
bool isPitched(size_t segment);
// 64-bit FNV-1a of a byte range, to pin the generated image.
uint64_t fnv1a(const uint8_t* data, size_t size);
// Segment index of a sampled wave, from its start.
size_t segmentOf(const RomView& rom, uint32_t start);

// Every sampled wave named by the labels of the sampled segments, ordered by wave number.
std::vector<PcmWave> pcmWaves(const RomView& rom);

// Used share of the byte range, 0..1.
double rangeUse(const std::vector<double>& x);
double rangeUse(const Cycle& x);
// Peak level in dBFS of the last fraction of a signal.
double tailPeakDb(const std::vector<double>& x, double fraction);
// The jump from the last sample back to the first, and the wave's typical step (the 95th
// percentile of the absolute sample-to-sample differences, at least one byte step).
double seamJump(const std::vector<double>& x);
double typicalStep(const std::vector<double>& x);

struct PitchEstimate
{
	double hz = 0.0;
	double cents = 0.0;      // against the reference
	double strengthDb = 0.0; // the fundamental against the strongest partial
};
// The strongest spectral peak within half a semitone of the reference, over count samples from
// offset, Hann-windowed and searched in steps of a tenth of a cent.
PitchEstimate estimatePitch(const std::vector<double>& x, size_t offset, size_t count, double rate, double reference);
}
