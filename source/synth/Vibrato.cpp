#include "Vibrato.h"

#include <algorithm>

#include "Curves.h"
#include "Engine.h"

namespace zentlib
{
float Vibrato::process(float, float lfo) const
{
	const SinglePreset& single = m_engine->singles[m_engine->currentSingle];

	const int d = single.vibratoDepth;
	const float sign = d < 50 ? -1.0f : 1.0f;
	float depth = vibratoDepth(static_cast<unsigned char>(d < 50 ? 50 - d : d - 50)) * sign;

	// Pressure moves the depth towards or away from zero but never past it.
	if (single.pressureToVibrato != 50)
	{
		const int e = single.pressureToVibrato - 50;
		depth = depth + sign * (static_cast<float>(e) * 12.0f * 0.02f * m_engine->pressure);
		depth = d >= 50 ? std::clamp(depth, 0.0f, 12.0f) : std::clamp(depth, -12.0f, 0.0f);
	}

	if (single.vibWheelMode == 0)
		depth = depth + m_engine->modWheel;

	return std::clamp(depth, -12.0f, 12.0f) * lfo;
}
}
