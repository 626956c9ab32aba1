#pragma once

#include <cstdint>
#include <vector>

#include "SinglePreset.h"

namespace zentlib
{
// Everything a saved state holds, as plain values. The engine copies its own into one, and takes one in
// place of its own, while its owner holds the lock; the bytes are made and read without it.
struct SavedState
{
	// The MIDI settings words, little-endian, as many bytes of them as the state held (at most all of them).
	std::vector<uint8_t> settings;
	// Normalised, in parameter order; a state from another version may hold more or fewer than there are.
	std::vector<float> parameters;
	// The owner's block, opaque.
	std::vector<uint8_t> custom;
	uint32_t currentSingle = 0;
	std::vector<SinglePreset> singles;

	// Room for an engine's whole state, so that copying one in allocates nothing.
	void reserveForEngine();
};

// Appends the version-2 bytes of state. A single its reader would not take back as it is goes in with its
// values brought into their ranges.
void writeState(std::vector<uint8_t>& data, const SavedState& state);
// Reads a version-1 or version-2 state whole; false, with a log line saying why, when the bytes hold none.
bool readState(SavedState& state, const std::vector<uint8_t>& data);
}
