#pragma once

#include <cstdint>

namespace zentlib
{
class Engine;

// The instrument's one LFO, shared by all voices. It imitates the hardware's stepped control
// rate: the output is quantised to 1/64 and, once it changes, held for 17 ms.
class Lfo
{
public:
	// Runs freely from here on; notes and program changes never reset it.
	explicit Lfo(const Engine& engine);

	// The output for this sample, -1..+1 in steps of 1/64 (the square runs 0..+1).
	float process(float sampleRate);

	// Draws the value of the random shape for the next cycle, -1..+1.
	void createRandomValue();

private:
	const Engine* m_engine;
	float m_phase = 0.0f; // 0 <= phase < 1
	float m_randomValue = 0.0f;
	int8_t m_held = 0; // the output being held, in 1/64
	int32_t m_holdCounter = 0; // samples left before a new output may be taken
};
}
