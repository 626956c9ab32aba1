#pragma once

namespace zentlib
{
class Engine;

// Turns the LFO into a pitch offset in semitones from the current single's vibrato depth, channel
// pressure and (in depth mode) the modulation wheel. Stateless apart from its engine.
class Vibrato
{
public:
	explicit Vibrato(const Engine& engine) : m_engine(&engine) {}

	// -12..+12 semitones; the rate is not used.
	float process(float sampleRate, float lfo) const;

private:
	const Engine* m_engine;
};
}
