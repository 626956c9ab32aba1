#pragma once

#include <cstdint>
#include <vector>

namespace zentlib
{
// One MIDI message inside a block. A non-empty sysex vector marks a SysEx event (the whole message,
// F0 to F7); then the three status and data bytes are ignored.
struct SMidiEvent
{
	uint8_t status = 0;
	uint8_t data1 = 0;
	uint8_t data2 = 0;
	std::vector<uint8_t> sysex;
	uint32_t sampleOffset = 0;
};
}
