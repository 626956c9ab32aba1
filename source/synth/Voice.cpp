#include "Voice.h"

#include <algorithm>

#include "Curves.h"
#include "Engine.h"

namespace zentlib
{
Voice::Voice(const Engine& engine, unsigned char note, unsigned char velocity, float sampleRate)
	: m_engine(engine), m_note(note), m_velocity(velocity), m_inverseRate(1.0f / sampleRate)
{
	const SinglePreset& single = engine.getCurrentSingle();
	const auto curve = static_cast<unsigned char>(std::min<uint32_t>(single.keyScaleCurve, 255));

	// Key scaling stretches or shortens the bend time by up to half.
	const float time = envDelayTime(single.autoBendTime);
	const float k = ksCurveMod(note, curve, false);
	m_autoBendTime = time + k * static_cast<float>(single.autoBendKeyScaleToTime - 50) * 0.02f * (time * 0.5f);
	m_autoBendInverse = m_autoBendTime > 0.0f ? 1.0f / m_autoBendTime : 0.0f;

	// Velocity 64 bends by the set depth whatever velToDepth says.
	const int d = single.autoBendDepth;
	const float depth = autoBendDepth(static_cast<unsigned char>(d < 50 ? 50 - d : d - 50)) * (d < 50 ? -1.0f : 1.0f);
	m_autoBendDepth = depth * 0.5f * (static_cast<float>(single.velToDepth - 50) * 0.02f) * (static_cast<float>(velocity - 64) / 63.0f) + depth;

	// A muted source is skipped unless it modulates its pair's partner; then it stays, silent.
	const int count = single.source2or4 != 0 ? 4 : 2;
	m_sources.reserve(count);
	for (int i = 0; i < count; ++i)
	{
		const bool muted = single.mute[i];
		const bool modulator = (i == 0 && single.ampModS1S2 != 0) || (i == 2 && single.ampModS3S4 != 0);
		if (muted && !modulator)
			continue;
		const size_t slot = m_sources.size();
		m_slotGains[slot] = muted ? 0.0f : 1.0f;
		m_slotSourceIndex[slot] = static_cast<uint64_t>(i);
		if ((i == 1 && single.ampModS1S2 != 0) || (i == 3 && single.ampModS3S4 != 0))
			m_modulationPairs.emplace_back(slot, slot - 1);
		m_sources.emplace_back(engine, i);
		m_sources.back().init(note, velocity, sampleRate);
	}
}

void Voice::process(float* left, float* right)
{
	// The bend starts at full depth and falls to 0 over the bend time in 1/128 semitone steps;
	// the vibrato then fades in over twice that time.
	if (m_engine.getCurrentSingle().autoBendTime == 0)
	{
		m_pitchModulation = m_engine.vibratoValue;
	}
	else
	{
		const float t = static_cast<float>(m_sampleCount) * m_inverseRate * m_autoBendInverse;
		const float a = std::clamp(1.0f - t, 0.0f, 1.0f);
		const float b = std::clamp((t - 1.0f) * 0.5f, 0.0f, 1.0f);
		m_pitchModulation = b * m_engine.vibratoValue + static_cast<float>(static_cast<int>(a * m_autoBendDepth * 128.0f)) * 0.0078125f;
	}
	processVoices(left, right);
	++m_sampleCount;
}

void Voice::processVoices(float* left, float* right)
{
	const size_t count = m_sources.size();
	for (size_t slot = 0; slot < count; ++slot)
	{
		m_slotOutputs[slot][0] = 0.0f;
		m_slotOutputs[slot][1] = 0.0f;
		m_sources[slot].process(&m_slotOutputs[slot][0], &m_slotOutputs[slot][1], m_slotAmplitudes[slot], *this);
	}

	// Ring modulation of the raw samples; the modulator's envelope does not act on the product.
	for (const auto& [modulated, modulating] : m_modulationPairs)
	{
		m_slotOutputs[modulated][0] = m_slotOutputs[modulating][0] * m_slotOutputs[modulated][0];
		m_slotOutputs[modulated][1] = m_slotOutputs[modulating][1] * m_slotOutputs[modulated][1];
	}

	for (size_t slot = 0; slot < count; ++slot)
	{
		const float mix = m_engine.sourceMixGain[m_slotSourceIndex[slot]];
		*left += m_slotOutputs[slot][0] * mix * m_slotGains[slot] * m_slotAmplitudes[slot];
		*right += m_slotOutputs[slot][1] * mix * m_slotGains[slot] * m_slotAmplitudes[slot];
	}
}

void Voice::onNoteOff(unsigned char velocity)
{
	for (Source& source : m_sources)
		source.onNoteOff(velocity);
}

void Voice::onNoteOff(unsigned char velocity, unsigned char release)
{
	for (Source& source : m_sources)
		source.onNoteOff(velocity, release);
}

bool Voice::isFinished() const
{
	return std::all_of(m_sources.begin(), m_sources.end(), [](const Source& s) { return s.isFinished(); });
}

uint8_t Voice::sourcesCount() const
{
	return m_engine.getCurrentSingle().source2or4 != 0 ? 4 : 2;
}
}
