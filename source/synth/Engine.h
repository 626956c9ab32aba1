#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "IEngineListener.h"
#include "Lfo.h"
#include "ParameterManager.h"
#include "CParam.h"
#include "Resampler.h"
#include "SMidiEvent.h"
#include "SampleInputs.h"
#include "SinglePreset.h"
#include "Sysex.h"
#include "Vibrato.h"
#include "Voice.h"
#include "Waveforms.h"

namespace zentlib
{
struct SavedState;

// The synthesizer: the 768 singles twice (factory and editable), the waveforms, the sounding voices,
// the MIDI controller state, the parameter store and the rate converter. No lock of its own: the
// owner serialises every call. The voices, sources, LFO and vibrato read the public members below
// directly while they render.
class Engine
{
public:
	static constexpr float InternalSamplerate = 49920.0f;
	static constexpr size_t StorageCount = 12;
	static constexpr size_t SinglesPerStorage = 64;
	static constexpr size_t FactorySingleCount = StorageCount * SinglesPerStorage;

	// The MIDI receive settings, saved and restored as one block.
	enum MidiSetting : size_t
	{
		midiChannel = 0,
		omni = 1,
		receiveProgramChange = 2,
		receivePressure = 3,
		unusedSetting4 = 4,
		receiveModWheel = 5,
		receiveVolume = 6,
		receiveHoldPedal = 7,
		unusedSetting8 = 8,
		receiveSysex = 9,
		receivePan = 10,
		MidiSettingCount = 11
	};

	explicit Engine(IEngineListener* listener);
	~Engine();
	Engine(const Engine&) = delete;
	Engine& operator=(const Engine&) = delete;

	// --- singles store
	bool setSingle(size_t index);
	bool setSingle(size_t index, const SinglePreset& preset);
	bool setSingles(size_t first, const std::vector<SinglePreset>& presets);
	void setCurrentSingleName(const std::string& name);
	bool isSingleModified(size_t index) const;
	bool restoreFactorySingle(size_t index);
	SinglePreset getFactorySingle(size_t index) const;
	bool swapSources(size_t a, size_t b);
	size_t singleCount() const { return FactorySingleCount; }
	size_t getSingleCount() const { return singles.size(); }
	size_t getCurrentSingleIndex() const { return currentSingle; }
	const SinglePreset& getCurrentSingle() const { return singles[currentSingle]; }
	static std::string getSingleNumberAsName(size_t index);
	static std::string getStorageName(size_t index);
	void dumpSingle(const SinglePreset& single) const;
	void applySingleToParameters(const SinglePreset& single);

	// --- rendering and MIDI input
	void setSamplerate(float rate);
	void process(float** outputs, int frames, std::vector<SMidiEvent>& events);
	void processAudio(float** outputs, int frames, const std::vector<SMidiEvent>& events);
	void processMidiEvent(const SMidiEvent& event);
	void processMidiNoteOn(uint8_t note, uint8_t velocity);
	void processMidiNoteOff(uint8_t note, uint8_t velocity);
	void clearAllVoices();
	float getProcessingSamplerate() const;
	void processParameterChange(EParam p, float value);
	// The per-sample values that voices and sources read, as they stand.
	SampleInputs sampleInputs() const;
	void onHoldPedalChanged();
	void createVoice(uint8_t note, uint8_t velocity);
	void stopVoicesForNote(uint8_t note, uint8_t velocity, bool immediately);

	// --- SysEx
	void processMidiSysex(const std::vector<uint8_t>& message);
	bool sendParameterAsSysex(EParam parameter, float value) const;

	// --- saved state
	bool saveState(std::vector<uint8_t>& data);
	bool loadState(const std::vector<uint8_t>& data);
	// What a save keeps, the owner's block aside, copied into state.
	void copyState(SavedState& state) const;
	// A whole state (read by readState) in place of the engine's, with the switch to its current single; state
	// is left holding the store it replaced.
	void takeState(SavedState& state);

	// --- members, in the hardware model's order
	IEngineListener* listener;
	std::vector<SinglePreset> factorySingles;
	std::vector<SinglePreset> singles;
	Waveforms waveforms;
	size_t currentSingle = 0;
	Lfo lfo;
	Vibrato vibrato;
	float modWheel = 0.0f;
	float pitchBend = 0.0f;
	float pressure = 0.0f;
	bool holdPedal = false;
	float panLeft = 1.0f;
	float panRight = 1.0f;
	float midiVolume = 1.0f;
	int32_t pitchBendRange = 12;
	float masterTune = 0.0f;
	float lfoValue = 0.0f;
	float vibratoValue = 0.0f;
	float pitchBendSemitones = 0.0f;
	float pressureFreqOffset = 0.0f;
	uint8_t rpnLsb = 0x7F;
	uint8_t rpnMsb = 0x7F;
	uint8_t bankSelect = 255;
	std::list<Voice> voices;
	float hostSamplerate = 0.0f;
	std::unique_ptr<Resampler> resampler;
	ParameterManager parameters;
	float sourceMixGain[4] = {1.0f, 1.0f, 1.0f, 1.0f};
	uint8_t noteDown[128] = {};
	uint8_t noteSustained[128] = {};
	std::vector<uint8_t> heldNotes; // oldest first; room for every key is reserved once
	uint32_t midiSettings[MidiSettingCount] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

private:
	using ParameterSet = std::bitset<ParamCount>;

	void pushSingleToParameters(const SinglePreset& single);
	void pushSingleToParameters(const SinglePreset& single, const ParameterSet& which);
	void applyParameterChanges(const std::vector<Sysex::ParameterChange>& changes);
	void swapReceivedSources(size_t a, size_t b, ParameterSet& moved);
	void processControlChange(uint8_t controller, uint8_t value);
	void processProgramChange(uint8_t program);
	void renderSilence(float** outputs, int frames);
	void restoreParameter(uint32_t p, float value);

	// Notes for the voices' caches, moved on by the render loop (see SampleInputs).
	void notePitchInputs();

	std::vector<float> m_scratch[2]; // stands in for an output channel the host did not provide
	uint32_t m_settingsSerial = 0;
	uint32_t m_pitchSerial = 0;
	float m_pitchInputs[3] = {}; // master tune, bend and pressure offset as the voices last saw them
};
}
