#pragma once

// A small instrument built on the platform's base classes, to test the platform layer and the host without the
// real instrument. Component 'aumu' 'vTst' 'Venz'. One stereo output. Sine voices with a "Gain" and a "Tone"
// parameter (0..1), three factory presets, CC 7 sets the gain and tells the host, a program change selects a
// preset, and every SysEx message received is sent back unchanged through the MIDI output at the next render and
// kept in the saved state under "vTst_chunk".
//
// For the validator's own tests the environment variable VIREL_TEST_INSTRUMENT_FAULT can build one fault in:
// "parameter-not-restored" (a restore leaves Tone at its default), "render-allocates" (every block allocates),
// "nan-output" (once a note has played, each block starts with a sample that is not a number),
// "state-changes" (every save differs from the one before) or "preset-beyond-range" (a preset sets Tone to 1.5).

#include "AUInstrumentBase.h"

#include <memory>
#include <vector>

class TestInstrument : public AUInstrumentBase
{
public:
	static constexpr OSType kSubType = 0x76547374; // 'vTst'
	static constexpr OSType kManufacturer = 0x56656E7A; // 'Venz'
	enum
	{
		kParamGain = 0,
		kParamTone = 1,
		kNumParams = 2,
		kNumPresets = 3
	};

	explicit TestInstrument(AudioComponentInstance instance);

	OSStatus Initialize() override;
	UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override;
	OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32& size,
		Boolean& writable) override;
	OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data) override;
	OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
		UInt32 size) override;
	OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info) override;
	OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
		AudioUnitParameterValue value, UInt32 bufferOffset) override;
	bool ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format) override;
	OSStatus GetPresets(CFArrayRef* outData) const override;
	OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
	OSStatus SaveState(CFPropertyListRef* outData) override;
	OSStatus RestoreState(CFPropertyListRef data) override;
	OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& time, UInt32 frames) override;

protected:
	OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 startFrame) override;
	OSStatus HandleSysEx(const UInt8* data, UInt32 length) override;

private:
	struct Event
	{
		UInt8 status, data1, data2;
		UInt32 offset;
		std::vector<UInt8> sysex;
	};
	struct Voice
	{
		UInt8 note;
		double phase, step, amplitude;
	};

	void apply(const Event& e);
	void selectPreset(int index);
	void sendMidi(const std::vector<UInt8>& bytes);
	void notifyParameter(AudioUnitParameterID id);

	enum class Fault
	{
		None,
		ParameterNotRestored,
		RenderAllocates,
		NanOutput,
		StateChanges,
		MidiBeforeInitialisation,
		PresetBeyondRange
	};

	std::vector<Event> m_pending;
	std::vector<Voice> m_voices;
	std::vector<UInt8> m_lastSysEx;
	AUMIDIOutputCallbackStruct m_midiOut{};
	AudioTimeStamp m_lastTime{};
	double m_sampleRate = 44100;
	Fault m_fault = Fault::None;
	bool m_played = false;
	int m_saves = 0;
	std::unique_ptr<float[]> m_scratch;
};
