#pragma once

#include <cstdint>
#include <utility>
#include <vector>

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

	// One sample added to the engine's accumulators: pitch modulation, then the sources.
	void process(float* left, float* right);
	// Runs the sources, applies the modulation pairs and adds the mix.
	void processVoices(float* left, float* right);

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
};
}
