#pragma once

#include <cstdint>
#include <limits>

#include "Env.h"
#include "SampleInputs.h"
#include "SinglePreset.h"

namespace zentlib
{
class Engine;
class Voice;

// 2^x by the classic fast approximation, all in single precision. Exact where the sources need
// it: 440 Hz at pitch 69 and 880 Hz at 81.
float fastPow2(float x);

// One oscillator of a sounding note: a waveform read by linear interpolation at a pitch fixed at
// note-on plus the engine's per-sample modulation, with its own envelope. It adds its raw sample
// to the voice's slot and hands its amplitude back; the voice does the mixing.
class Source
{
public:
	Source(const Engine& engine, int index);

	// Sets the source up for a note from the engine's current single.
	void init(unsigned char note, unsigned char velocity, float sampleRate);

	// One sample: adds the raw sample to *left and *right and writes the envelope amplitude. A
	// source still in its delay adds nothing and does not move. Reads the single and the engine
	// anew on every call.
	void process(float* left, float* right, float& amplitude, const Voice& voice);

	// The voice's per-sample step, on the switches taken by the last refreshSwitches: returns the
	// amplitude and writes the raw sample (0 while the envelope is in its delay).
	inline float render(const SampleInputs& in, float pitchModulation, float& sample);
	// Takes over the current single's switches that the source reads while it sounds, and the
	// level they give at this pressure.
	void refreshSwitches(float pressure);
	// The pitch sum's inputs may have changed: the next sample computes it again.
	void markPitchChanged() { m_pitchDirty = true; }

	// Releases with the current single's release setting; the velocity is not used.
	void onNoteOff(unsigned char velocity);
	// Releases with the given release setting 0..100.
	void onNoteOff(unsigned char velocity, unsigned char release);

	// This source's record in the current single.
	const SingleSource& getSource() const;

	const Env& getEnv() const { return m_env; }
	bool isFinished() const { return m_env.state == Env::Finished; }
	// Semitones on the MIDI note scale, fixed at note-on.
	double getPitch() const { return m_pitch; }

private:
	// The pitch sum and, when it changed, the phase increment.
	void updateIncrement(const SampleInputs& in, float pitchModulation);

	const Engine* m_engine;
	uint8_t m_index;
	double m_pitch = 0.0;
	uint8_t m_velocity = 0;
	Env m_env;
	const float* m_data = nullptr;
	uint64_t m_length = 0; // a power of two
	double m_phase = 0.0; // read position in samples
	double m_step = 0.0; // phase increment per hertz
	float m_rate = 0.0f;
	float m_level = 0.0f;
	float m_decayTime = 0.0f;
	float m_sustain = 0.0f;
	double m_increment = -1.0; // for m_lastPitch
	// Not a number until the first sample: no pitch sum equals it, so that sample always computes
	// the increment, whatever its pitch.
	double m_lastPitch = std::numeric_limits<double>::quiet_NaN();
	double m_minPitch = 0.0;

	// Read from the current single by refreshSwitches, which the voice calls whenever it may have
	// changed, instead of on every sample.
	bool m_usesPitchModulation = false; // vibABend
	bool m_usesPressureOffset = false;  // pressureToFreq
	float m_liveLevel = 0.0f;           // the level after pressure
	bool m_pitchDirty = true;
};

float Source::render(const SampleInputs& in, float pitchModulation, float& sample)
{
	const float e = m_env.process(m_decayTime, m_sustain, m_rate);
	if (m_env.state == Env::Delay)
	{
		sample = 0.0f;
		return 0.0f;
	}

	const uint64_t mask = m_length - 1;
	const float position = static_cast<float>(m_phase);
	const auto i = static_cast<int64_t>(position);
	const float f = position - static_cast<float>(i);
	const float a = m_data[i & mask];
	sample = a + (m_data[(i + 1) & mask] - a) * f;

	if (m_pitchDirty)
		updateIncrement(in, pitchModulation);

	// Every wave loops over its whole power-of-two length.
	m_phase += m_increment;
	const auto whole = static_cast<int64_t>(static_cast<float>(m_phase));
	m_phase = static_cast<double>(whole & static_cast<int64_t>(mask)) + (m_phase - static_cast<double>(whole));
	return e * m_liveLevel;
}
}
