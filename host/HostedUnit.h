#pragma once

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

#include <mutex>
#include <string>
#include <vector>

struct MIDIPacketList;

// One open instance of a component, spoken to only through the Audio Unit C interface, as a DAW speaks to it.
class HostedUnit
{
public:
	struct Parameter
	{
		AudioUnitParameterID id;
		std::string name;
		AudioUnitParameterInfo info;
	};
	struct Preset
	{
		SInt32 number;
		std::string name;
	};

	explicit HostedUnit(AudioComponent component);
	~HostedUnit();
	HostedUnit(const HostedUnit&) = delete;
	HostedUnit& operator=(const HostedUnit&) = delete;

	AudioUnit unit() const { return m_unit; }

	// Output format and block size, then initialisation; the MIDI output is captured when the unit offers one.
	void prepare(double sampleRate, UInt32 maxFrames);

	std::vector<Parameter> parameters();
	// The display text of a value (the current one when value is null); empty when the unit has none.
	std::string valueText(AudioUnitParameterID id, const AudioUnitParameterValue* value);
	AudioUnitParameterValue parameter(AudioUnitParameterID id);
	void setParameter(const std::string& idOrName, float value);
	std::vector<Preset> presets();
	void selectPreset(const std::string& numberOrName);

	void restoreState(const std::string& path);
	void saveState(const std::string& path);

	void sendSysEx(const std::vector<UInt8>& message);
	void sendMidi(const std::vector<UInt8>& message, UInt32 offset);

	// Renders one block into left and right (each at least frames long), advancing the sample time.
	void render(float* left, float* right, UInt32 frames);

	// SysEx the unit sent through its MIDI output, in order.
	std::vector<std::vector<UInt8>> takeMidiOutput();

private:
	static OSStatus onMidiOutput(void* userData, const AudioTimeStamp* time, UInt32 output, const MIDIPacketList* list);
	void check(OSStatus status, const std::string& what);

	AudioUnit m_unit = nullptr;
	double m_sampleTime = 0;
	std::vector<UInt8> m_bufferList;
	std::mutex m_midiMutex;
	std::vector<std::vector<UInt8>> m_midiOut;
	std::vector<UInt8> m_partialSysEx;
};
