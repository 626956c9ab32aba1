#pragma once

#include "MidiSequence.h"
#include "SysExWatch.h"

#include <cstdint>
#include <string>
#include <vector>

class HostedUnit;

// Plays a sequence through a unit block by block, as a DAW's audio thread does: each block's events at their
// frames, then the block. What the plug-in says of the SysEx it takes is watched.
class BlockRenderer
{
public:
	// `name` names the sequence's file in warnings.
	BlockRenderer(HostedUnit& unit, const MidiSequence& sequence, const std::string& name, double sampleRate);
	// A message for the start of the first block, from `where` in `file`.
	void sendSysEx(const std::vector<uint8_t>& message, const std::string& where, const std::string& file);
	// The next `frames` frames into left and right (each at least that long).
	void render(float* left, float* right, uint32_t frames);

private:
	HostedUnit& m_unit;
	const MidiSequence& m_sequence;
	const std::string m_name;
	const double m_rate;
	uint64_t m_start = 0;
	size_t m_next = 0;
	SysExWatch m_watch;
};
