#pragma once

#include <cstdint>

namespace zentlib
{
// The engine values that voices and sources read on every sample, gathered by the engine once per
// sample so that no source reaches through the engine for them.
struct SampleInputs
{
	float masterTune = 0.0f;
	float pitchBendSemitones = 0.0f;
	float pressureFreqOffset = 0.0f;
	float pressure = 0.0f;
	float vibratoValue = 0.0f;
	float sourceMixGain[4] = {1.0f, 1.0f, 1.0f, 1.0f};
	// Moves on whenever the current single or the controllers may have changed: a new block, a
	// parameter step, a MIDI event. Voices cache what they read from the single until it moves.
	uint32_t settingsSerial = 0;
	// Moves on whenever master tune, the bend or the pressure offset changed.
	uint32_t pitchSerial = 0;
};
}
