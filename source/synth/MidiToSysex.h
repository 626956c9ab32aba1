#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace zentlib
{
// Pulls the SysEx events out of a Standard MIDI File. Only meta events and SysEx events are
// understood; every other byte of a track is stepped over one at a time, so files that rely on
// running status or split SysEx events over several events are not supported.
class MidiToSysex
{
public:
	// Appends every SysEx event of the file as F0 followed by its data bytes. True when the file
	// was walked to its end; what was extracted before a failure stays in out.
	static bool readFile(std::vector<uint8_t>& out, const char* path);
	// The walk behind readFile, over a stream positioned at its start. The stream stays open.
	static bool readStream(std::vector<uint8_t>& out, std::FILE* file);

	// The next four bytes equal id[0..3].
	static bool checkChunk(std::FILE* file, const char* id);
	// Skips a chunk body by the length that comes next; true when that worked and the file goes on.
	static bool ignoreChunk(std::FILE* file);
	// A variable-length quantity; count receives the bytes it took, or 0 (and -1 is returned) when
	// the file ended inside it. Values beyond the signed 64-bit range stay at its maximum.
	static int64_t readVarLen(std::FILE* file, int* count);
	// Four bytes, most significant first; -1 when the file ends inside them.
	static int64_t getChunkLength(std::FILE* file);
};
}
