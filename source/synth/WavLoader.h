#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentlib
{
// A named position in the sample data.
struct CuePoint
{
	uint64_t position = 0;
	std::string label;
};

// One record of a "cue " chunk as stored in the file (all fields little-endian).
struct SWaveFormatChunkCuePoint
{
	uint32_t cueId = 0;
	uint32_t position = 0;
	uint32_t chunkId = 0;
	uint32_t chunkStart = 0;
	uint32_t blockStart = 0;
	uint32_t sampleOffset = 0;
};
static_assert(sizeof(SWaveFormatChunkCuePoint) == 24);

// out[i] = in[i] / 32767
void convert(std::vector<float>& out, const short* in, size_t n);
// out[i] = (in[i] as unsigned byte - 128) / 128
void convert(std::vector<float>& out, const char* in, size_t n);

// Reads RIFF WAVE images into mono float samples with their cue points, and writes mono float
// files. Stateless; problems are logged.
class WavLoader
{
public:
	// Parses an image in memory. When 'direct' is given and the image holds 32-bit float samples,
	// no samples are copied: *direct points at them inside the image and 'count' receives their
	// number, all channels interleaved as stored. Samples not aligned for reading in place are
	// copied into 'samples' as stored, and *direct points at the copy. 'cues' is only touched when
	// the image has cue records.
	static bool load(const float** direct, size_t& count, std::vector<float>& samples, int& sampleRate,
	                 std::vector<CuePoint>* cues, const unsigned char* data, size_t size);

	static bool load(std::vector<float>& samples, int& sampleRate, std::vector<CuePoint>* cues,
	                 const std::string& path);

	// Writes a mono 32-bit float file; cue i gets the identifier i and a "labl" with its label.
	static bool write(const std::string& path, const std::vector<float>& samples, int sampleRate,
	                  std::vector<CuePoint>* cues);
};
}
