// Feeds arbitrary bytes to the SysEx splitter and parser. Beyond memory safety it checks that every
// single the parser accepts survives a trip through the dump writer unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "synth/Sysex.h"

using namespace zentlib;

// Log lines go to standard output; libFuzzer reports on standard error.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	std::freopen("/dev/null", "w", stdout);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::vector<uint8_t> bytes(data, data + size);
	Sysex::SysexResult result;
	Sysex::readBuffer(result, bytes, 255);

	// The whole input as one message, in a buffer of exactly its size, with a channel filter
	// taken from its length so filtered and unfiltered reads both happen.
	if (size > 0)
	{
		std::unique_ptr<uint8_t[]> exact(new uint8_t[size]);
		std::memcpy(exact.get(), data, size);
		Sysex::readSysex(result, exact.get(), size, static_cast<uint8_t>(size % 17));
	}

	for (const SinglePreset& single : result.singles)
	{
		// A name cut short by a zero byte keeps a blank before it, which the written blank
		// padding then trims away.
		const size_t nameLength = std::strlen(single.name);
		if (nameLength > 0 && single.name[nameLength - 1] == ' ')
			continue;
		std::vector<uint8_t> message;
		if (!Sysex::writeSingle(message, single, 0, StorageLocation::InternalLow, 0))
			std::abort();
		Sysex::SysexResult back;
		if (!Sysex::readSysex(back, message.data(), message.size(), 0) || back.singles.size() != 1 ||
		    !(back.singles[0] == single))
			std::abort();
	}
	return 0;
}
