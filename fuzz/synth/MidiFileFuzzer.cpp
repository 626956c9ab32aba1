// Walks arbitrary bytes as a Standard MIDI File through the same stream walk the file reader uses.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "synth/MidiToSysex.h"

using namespace zentlib;

// Log lines go to standard output; libFuzzer reports on standard error.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	std::freopen("/dev/null", "w", stdout);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (size == 0)
		return 0;
	std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
	if (!file)
		return 0;
	std::vector<uint8_t> out;
	MidiToSysex::readStream(out, file);
	std::fclose(file);

	// Each event takes at least three bytes of the file and adds at most one more than the file's size;
	// only the last one can be cut off by the end of the file, and its zero padding stops at 1 MiB.
	const size_t paddingLimit = size_t(1) << 20;
	if (out.size() > (size / 3 + 1) * (size + 1) + paddingLimit)
		std::abort();
	return 0;
}
