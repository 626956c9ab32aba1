#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "Lfo.h"
#include "ParameterManager.h"
#include "SinglePreset.h"
#include "Vibrato.h"
#include "Voice.h"
#include "Waveforms.h"

namespace zentlib
{
class IEngineListener;

// The synthesizer: the 768 singles (factory copies and the editable store), the waveforms, the
// sounding voices, the MIDI controller state and the values that the per-sample loop hands to the
// voices. Sources, voices, the LFO and the vibrato read these members directly on the render
// thread, so they stay public.
class Engine
{
public:
	// Words of midiSettings.
	enum MidiSetting : size_t
	{
		midiChannel = 0,
		omni = 1,
		receiveProgramChange = 2,
		receivePressure = 3,
		receiveModWheel = 5,
		receiveVolume = 6,
		receiveHoldPedal = 7,
		receiveSysex = 9,
		receivePan = 10,
		MidiSettingCount = 11,
	};

	// An empty store and no listener: the caller fills singles before anything renders.
	Engine() = default;
	Engine(const Engine&) = delete;
	Engine& operator=(const Engine&) = delete;

	const SinglePreset& getCurrentSingle() const { return singles[currentSingle]; }
	SinglePreset& getCurrentSingle() { return singles[currentSingle]; }

	IEngineListener* listener = nullptr; // not owned
	std::vector<SinglePreset> factorySingles;
	std::vector<SinglePreset> singles; // the editable store; rendering reads it
	Waveforms waveforms;
	size_t currentSingle = 0;
	Lfo lfo{*this};
	Vibrato vibrato{*this};

	// Controllers, as last received.
	float modWheel = 0.0f; // 0..1
	float pitchBend = 0.0f; // -1 .. 1 - 1/8192
	float pressure = 0.0f; // 0..1
	bool holdPedal = false;
	float panLeft = 1.0f;
	float panRight = 1.0f;
	float midiVolume = 1.0f;
	int32_t pitchBendRange = 12; // semitones
	float masterTune = 0.0f; // semitones, -1..+1

	// Recomputed once per sample before the voices render.
	float lfoValue = 0.0f;
	float vibratoValue = 0.0f; // semitones
	float pitchBendSemitones = 0.0f;
	float pressureFreqOffset = 0.0f; // semitones

	uint8_t rpnLsb = 0x7F;
	uint8_t rpnMsb = 0x7F;
	uint8_t bankSelect = 255; // storage for the next program change; 255 = none

	std::list<Voice> voices; // oldest first

	float hostSamplerate = 0.0f;
	ParameterManager parameters; // the 109 parameters, smoothed

	float sourceMixGain[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // S1..S4

	uint8_t noteDown[128] = {};
	uint8_t noteSustained[128] = {};
	std::list<uint8_t> heldNotes; // in the order pressed, newest at the back

	uint32_t midiSettings[MidiSettingCount] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};
}
