#include "Env.h"

namespace zentlib
{
float Env::processSegment(float decayTime, float sustain, float sampleRate)
{
	float out = value;
	switch (state)
	{
	case Delay:
		if (counter >= delaySamples)
		{
			state = Attack;
			if (attackTime > 0.0f)
			{
				const float samples = attackTime * sampleRate;
				value = 1.0f;
				coefficient = std::log(floor) / samples;
				rampStep = (1.0f - rampFloor) / samples;
			}
			else
			{
				value = 0.0f;
				coefficient = 0.001f;
				ramp = 1.0f;
			}
			out = 1.0f - value;
		}
		break;
	case Attack:
		if (value > floor && step())
		{
			out = 1.0f - value;
		}
		else
		{
			endAttack(decayTime, sustain, sampleRate);
			out = value;
		}
		break;
	case Decay:
		if (sustain >= value || !step())
			state = Sustain;
		out = value;
		break;
	case Release:
		if (floor >= value || !step())
			state = Finished;
		out = value;
		break;
	default:
		break;
	}
	return out + (ramp - out) * blend;
}
}
