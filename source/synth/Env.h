#pragma once

#include <cmath>
#include <cstdint>

namespace zentlib
{
// A source's envelope: delay, then exponential attack, decay, sustain and release. The state x
// moves by x += coefficient * x once per sample, so a segment of N samples towards a target t
// starts with coefficient ln(t / x) / N. The output is 1 - x while attacking and x afterwards.
// A linear ramp is kept alongside; with blend 0 it does not reach the output.
struct Env
{
	enum State : uint32_t
	{
		Delay = 0,
		Attack = 1,
		Decay = 2,
		Sustain = 3,
		Release = 4,
		Finished = 5,
	};

	float value = 0.0f;
	float coefficient = 0.0f;
	float ramp = 0.0f;
	float rampStep = 0.0f;
	uint32_t state = Finished;
	uint32_t counter = 0;
	uint32_t delaySamples = 0;
	float attackTime = 0.0f;
	float floor = 0.001f; // the level treated as silence
	float rampFloor = 0.0f;
	float blend = 0.0f;

	// Starts a note: silent for delaySamples samples, then the attack.
	void start(uint32_t delay, float attackSeconds)
	{
		delaySamples = delay;
		attackTime = attackSeconds;
		value = 0.0f;
		ramp = 0.0f;
		state = Delay;
		counter = 0;
	}

	// Enters the release towards the floor, from the level being heard. An envelope that is still
	// silent (in its delay) finishes at once.
	void release(float releaseSeconds, float sampleRate)
	{
		if (state == Attack)
			value = 1.0f - value;
		if (value >= floor)
		{
			const float samples = releaseSeconds * sampleRate;
			coefficient = (std::log(floor) - std::log(value)) / samples;
			rampStep = (rampFloor - ramp) / samples;
			state = Release;
		}
		else
		{
			value = 0.0f;
			ramp = 0.0f;
			state = Finished;
		}
	}

	// One sample; returns the envelope's output.
	inline float process(float decayTime, float sustain, float sampleRate);

private:
	// The states in which something moves.
	float processSegment(float decayTime, float sustain, float sampleRate);

	// One exponential step; false when the value no longer moves (the step has underflowed).
	bool step()
	{
		const float before = value;
		value = value + coefficient * value;
		ramp = ramp + rampStep;
		return value != before;
	}

	void endAttack(float decayTime, float sustain, float sampleRate)
	{
		value = 1.0f - value;
		if (decayTime > 0.0f)
		{
			const float samples = decayTime * sampleRate;
			coefficient = (std::log(sustain) - std::log(value)) / samples;
			rampStep = (sustain - ramp) / samples;
			state = Decay;
		}
		else
		{
			value = sustain;
			state = Sustain;
		}
	}
};

float Env::process(float decayTime, float sustain, float sampleRate)
{
	++counter;
	// Where a held note spends its time: nothing moves.
	if (state == Sustain)
		return value + (ramp - value) * blend;
	return processSegment(decayTime, sustain, sampleRate);
}
}
