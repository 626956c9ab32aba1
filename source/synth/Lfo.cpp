#include "Lfo.h"

#include <algorithm>
#include <cstdlib>

#include "Curves.h"
#include "Engine.h"

namespace zentlib
{
namespace
{
enum Shape : uint32_t
{
	Triangle = 0,
	Saw = 1,
	Square = 2,
	Random = 3,
};

// How long a changed output is held, like the hardware's control rate.
constexpr int32_t HoldMilliseconds = 17;
}

Lfo::Lfo(const Engine& engine) : m_engine(&engine)
{
	createRandomValue();
}

void Lfo::createRandomValue()
{
	m_randomValue = 2.0f * static_cast<float>(std::rand()) * (1.0f / 2147483648.0f) - 1.0f;
}

float Lfo::process(float sampleRate)
{
	const SinglePreset& single = m_engine->singles[m_engine->currentSingle];

	int speed = single.lfoSpeed;
	if (single.vibWheelMode == 1)
		speed = std::clamp(static_cast<int>(m_engine->modWheel * 32.0f + 0.5f) + speed, 0, 100);

	const float previousPhase = m_phase;
	m_phase += lfoSpeed(static_cast<unsigned char>(speed)) / sampleRate;
	m_phase -= static_cast<float>(static_cast<int>(m_phase));

	// Counting stops at zero: every value below 2 means "evaluate", and the counter must not wrap
	// when the output stays the same for hours.
	const int32_t before = m_holdCounter;
	if (before > 0)
		m_holdCounter = before - 1;
	if (before >= 2)
		return m_held * 0.015625f;

	const float p = m_phase;
	float y;
	switch (single.lfoShape)
	{
	case Saw:
		y = 2.0f * p - 1.0f;
		break;
	case Square:
		y = p >= 0.5f ? 1.0f : 0.0f;
		break;
	case Random:
		if (p < previousPhase)
			createRandomValue();
		y = m_randomValue;
		break;
	case Triangle:
	default:
		y = 4.0f * std::min(p, 1.0f - p) - 1.0f;
		break;
	}

	const auto q = static_cast<int8_t>(static_cast<int>(y * 64.0f));
	if (q != m_held)
	{
		m_held = q;
		m_holdCounter = static_cast<int32_t>(sampleRate) * HoldMilliseconds / 1000;
	}
	return m_held * 0.015625f;
}
}
