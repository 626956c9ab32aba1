// Arbitrary bytes as the Standard MIDI File the host plays: read or refused, never read outside the input.
#include "HostError.h"
#include "MidiFileReader.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	try
	{
		const MidiSequence sequence = readStandardMidiFile(std::vector<uint8_t>(data, data + size), "fuzz");
		// Every message comes from bytes of the file, and none starts without a status.
		size_t bytes = 0;
		for (const MidiSequence::Event& e : sequence.events)
		{
			if (e.bytes.empty() || e.bytes[0] < 0x80 || !(e.seconds >= 0))
				std::abort();
			bytes += e.bytes.size();
		}
		if (bytes > 2 * size + 16)
			std::abort();
	}
	catch (const HostError&)
	{
	}
	return 0;
}
