#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "SampleInputs.h"
#include "Source.h"

namespace zentlib
{
class Engine;

// One sounding note: the two or four sources of the single that was current at note-on, with
// amplitude-modulation pairs, the auto bend and the vibrato fade-in.
class Voice
{
public:
	Voice(const Engine& engine, unsigned char note, unsigned char velocity, float sampleRate);

	// One sample added to the engine's accumulators: pitch modulation, then the sources. Reads the
	// single and the engine anew on every call.
	void process(float* left, float* right);
	// Runs the sources, applies the modulation pairs and adds the mix.
	void processVoices(float* left, float* right);

	// The engine's per-sample path: one sample added to `sum`, which stands for both channels since
	// they receive the same terms. What the voice reads from the single is taken anew only when
	// the inputs' settings serial moved. True when every envelope has finished.
	inline bool render(const SampleInputs& in, float& sum);

	void onNoteOff(unsigned char velocity);
	void onNoteOff(unsigned char velocity, unsigned char release);

	// Every envelope has ended (also true for a voice without sources).
	bool isFinished() const;
	// 2 or 4, from the current single at the time of the call.
	uint8_t sourcesCount() const;

	unsigned char getNote() const { return m_note; }
	unsigned char getVelocity() const { return m_velocity; }
	// Semitones that sources with vibrato and auto bend add to their pitch this sample.
	float getPitchModulation() const { return m_pitchModulation; }

private:
	void refreshSwitches(const SampleInputs& in);
	inline void updatePitchModulation(const SampleInputs& in);
	// Runs the sources and hands each slot's mixed term to `add`, in slot order.
	template <typename Add>
	inline bool renderSources(const SampleInputs& in, Add&& add);
	template <size_t Slots, typename Add>
	inline bool renderSlots(const SampleInputs& in, Add&& add);

	const Engine& m_engine;
	uint8_t m_note;
	uint8_t m_velocity;
	float m_inverseRate;
	std::vector<Source> m_sources; // in slot order
	std::vector<std::pair<uint64_t, uint64_t>> m_modulationPairs; // (modulated slot, modulating slot)
	float m_slotOutputs[4][2] = {};
	float m_slotAmplitudes[4] = {};
	float m_slotGains[4] = {}; // 0 for a muted source kept only as a modulator
	uint64_t m_slotSourceIndex[4] = {};
	uint32_t m_sampleCount = 0;
	float m_autoBendTime = 0.0f; // seconds
	float m_autoBendInverse = 0.0f;
	float m_autoBendDepth = 0.0f; // semitones, signed
	float m_pitchModulation = 0.0f;

	uint8_t m_ringModulated = 0;  // bit s: slot s is multiplied by slot s - 1 (the pairs above)
	bool m_autoBendOff = false;   // the current single's autoBendTime is 0
	uint32_t m_settingsSerial = 0; // of the inputs the switches were taken from
	uint32_t m_pitchSerial = 0;
};

bool Voice::render(const SampleInputs& in, float& sum)
{
	if (in.settingsSerial != m_settingsSerial)
		refreshSwitches(in);
	updatePitchModulation(in);
	const bool finished = renderSources(in, [&sum](float term) { sum += term; });
	++m_sampleCount;
	return finished;
}

void Voice::updatePitchModulation(const SampleInputs& in)
{
	// The bend starts at full depth and falls to 0 over the bend time in 1/128 semitone steps;
	// the vibrato then fades in over twice that time.
	float modulation;
	if (m_autoBendOff)
	{
		modulation = in.vibratoValue;
	}
	else
	{
		const float t = static_cast<float>(m_sampleCount) * m_inverseRate * m_autoBendInverse;
		const float a = std::clamp(1.0f - t, 0.0f, 1.0f);
		const float b = std::clamp((t - 1.0f) * 0.5f, 0.0f, 1.0f);
		modulation = b * in.vibratoValue + static_cast<float>(static_cast<int>(a * m_autoBendDepth * 128.0f)) * 0.0078125f;
	}

	// The sources' pitch sums only change with their inputs (NaN counts as a change).
	if (!(modulation == m_pitchModulation) || in.pitchSerial != m_pitchSerial)
	{
		m_pitchSerial = in.pitchSerial;
		for (Source& source : m_sources)
			source.markPitchChanged();
	}
	m_pitchModulation = modulation;
}

template <typename Add>
bool Voice::renderSources(const SampleInputs& in, Add&& add)
{
	switch (m_sources.size())
	{
	case 1:
		return renderSlots<1>(in, add);
	case 2:
		return renderSlots<2>(in, add);
	case 3:
		return renderSlots<3>(in, add);
	case 4:
		return renderSlots<4>(in, add);
	default:
		return true;
	}
}

template <size_t Slots, typename Add>
bool Voice::renderSlots(const SampleInputs& in, Add&& add)
{
	Source* sources = m_sources.data();
	float outputs[Slots];
	float amplitudes[Slots];
	// Unrolled, the slots' values stay in registers.
#pragma GCC unroll 4
	for (size_t s = 0; s < Slots; ++s)
	{
		float sample;
		amplitudes[s] = sources[s].render(in, m_pitchModulation, sample);
		outputs[s] = 0.0f + sample; // the slot starts at 0 and takes the sample
	}

	// Ring modulation of the raw samples; the modulator's envelope does not act on the product.
#pragma GCC unroll 4
	for (size_t s = 1; s < Slots; ++s)
	{
		if (m_ringModulated & (1u << s))
			outputs[s] = outputs[s - 1] * outputs[s];
	}

	bool finished = true;
#pragma GCC unroll 4
	for (size_t s = 0; s < Slots; ++s)
	{
		add(outputs[s] * in.sourceMixGain[m_slotSourceIndex[s]] * m_slotGains[s] * amplitudes[s]);
		finished = finished && sources[s].isFinished();
	}
	return finished;
}
}
