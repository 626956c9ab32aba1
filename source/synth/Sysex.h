#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentlib
{
// The emulated hardware's SysEx protocol. Every operation is static and keeps no state; failures
// are a false result and one log line, and writers replace the whole content of the output vector.
class Sysex
{
public:
	// Wraps a 76-byte single body (a single record without name, mute byte and checksum) in a
	// one-single dump to internal memory.
	static bool convertPhmPreset(std::vector<uint8_t>& out, uint8_t channel, uint8_t number, const std::string& name,
	                             const uint8_t* data, size_t size);
};
}
