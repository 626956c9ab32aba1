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
		{
			m_modulationPairs.emplace_back(slot, slot - 1);
			m_ringModulated |= static_cast<uint8_t>(1u << slot);
		}
		m_sources.emplace_back(engine, i);
		m_sources.back().init(note, velocity, sampleRate);
	}
	refreshSwitches(engine.sampleInputs());
}

void Voice::refreshSwitches(const SampleInputs& in)
{
	m_settingsSerial = in.settingsSerial;
	m_autoBendOff = m_engine.getCurrentSingle().autoBendTime == 0;
	for (Source& source : m_sources)
		source.refreshSwitches(in.pressure);
}

void Voice::process(float* left, float* right)
{
	const SampleInputs in = m_engine.sampleInputs();
	refreshSwitches(in);
	updatePitchModulation(in);
	renderSources(in, [left, right](float term) {
		*left += term;
		*right += term;
	});
	++m_sampleCount;
}

void Voice::processVoices(float* left, float* right)
{
	const SampleInputs in = m_engine.sampleInputs();
	refreshSwitches(in);
	renderSources(in, [left, right](float term) {
		*left += term;
		*right += term;
	});
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
