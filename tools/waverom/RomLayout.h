#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where everything sits in the wave ROM image: the sample area, the 30 sampled segments with the
// labels that name their waves, and the 204 cyclic segments after them.
namespace waverom
{
constexpr uint32_t kRomRate = 50000;
constexpr size_t kSampleCount = 524288;
constexpr size_t kImageSize = 739648;
constexpr size_t kCueCount = 235;
constexpr size_t kPcmSegmentCount = 30;
constexpr size_t kCyclicCount = 204;
constexpr size_t kCyclicStart = 393216;
constexpr size_t kCyclicSegment = 640;
constexpr size_t kHalfCycle = 128;
constexpr size_t kTablesPerWave = 5;

struct PcmSegment
{
	uint32_t position;
	uint32_t length;
	const char* label;
};

extern const PcmSegment g_pcmSegments[kPcmSegmentCount];

// What the generator makes of each sampled segment (index 0..29): a sustained loop that wraps
// seamlessly, or a one-shot that starts from silence and dies away before its end.
bool isSustainedLoop(size_t segment);

// A sampled wave (205..256) as the player reads it from its label token: how many samples it
// plays before its start comes back (its segment, or all the segments an extended wave spans; a
// ping-pong turns at its segment's end and runs back to its start), and whether it is meant to
// come round: a seamless sustained loop, a ping-pong, and the waves named as loops (235..250),
// which repeat a phrase, a hit or several segments on purpose.
// 0 samples for a number that names no sampled wave.
struct SampledWave
{
	uint32_t comesBackAfter = 0;
	bool loops = false;
};
SampledWave sampledWave(int number);

// Position of cue i (0-based) in samples.
uint32_t cuePosition(size_t cue);
// Label text of cue i (0-based): the wave list for sampled segments, "Marker n" after them.
std::string cueLabel(size_t cue);

// The whole RIFF WAVE image around the given 524,288 unsigned 8-bit samples.
std::vector<uint8_t> buildImage(const std::vector<uint8_t>& samples);
}
