#pragma once

// Loads the built instrument bundle the way a host does (Info.plist, executable, factory function) and
// drives one instance through the Audio Unit C interface only.

#include <AudioToolbox/AudioUnitUtilities.h>
#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CFStandIn.h>
#include <CoreMIDI/CoreMIDI.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace auhost
{
constexpr OSType kType = 0x61756D75; // 'aumu'
constexpr OSType kSubType = 0x7652656C; // 'vRel'
constexpr OSType kManufacturer = 0x56656E7A; // 'Venz'

// The bundle's component, registered once per process; fails the test when the bundle cannot be loaded.
AudioComponent component();
// A symbol the bundle's executable exports.
void* pluginSymbol(const char* name);

// One MIDI packet as the instrument handed it to the host's MIDI output callback.
struct SentPacket
{
	std::vector<uint8_t> bytes;
	MIDITimeStamp packetTime = 0;
	UInt32 packetCount = 0;
	AudioTimeStamp blockTime{};
};

// Collects what the instrument sends to its MIDI output; the callback may run on any thread.
class MidiOutCapture
{
public:
	static OSStatus callback(void* userData, const AudioTimeStamp* time, UInt32 outputNumber, const MIDIPacketList* list);
	std::vector<SentPacket> packets() const;
	void clear();
	OSStatus result = noErr;

private:
	mutable std::mutex m_mutex;
	std::vector<SentPacket> m_packets;
};

// Renders stereo blocks and keeps the sample time moving, as a host does.
class Instance
{
public:
	Instance();
	~Instance();
	Instance(const Instance&) = delete;
	Instance& operator=(const Instance&) = delete;

	AudioUnit unit() const { return m_unit; }
	// Closes the instance now, on the calling thread; the destructor then has nothing to close.
	void close();
	OSStatus initialize(double sampleRate = 44100.0);
	OSStatus render(UInt32 frames, std::vector<float>& left, std::vector<float>& right);
	// Renders frames in blocks and appends them.
	void renderInto(size_t frames, UInt32 block, std::vector<float>& left, std::vector<float>& right);
	OSStatus midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset = 0);
	OSStatus sysex(const std::vector<uint8_t>& message);
	void connectMidiOut(MidiOutCapture& capture);

	float parameter(AudioUnitParameterID id);
	std::string parameterText(AudioUnitParameterID id, const float* value = nullptr);
	int presentPresetNumber();
	std::string presentPresetName();
	// The class-info dictionary; the caller releases it.
	CFPropertyListRef saveState(OSStatus* status = nullptr);
	OSStatus restoreState(CFPropertyListRef state);

private:
	AudioUnit m_unit = nullptr;
	Float64 m_sampleTime = 0;
};

// Listens on the main run loop, as a host's parameter listener does, to the begin, value and end events of the
// given parameters; runLoop delivers what is pending.
class ParameterEvents
{
public:
	struct Event
	{
		AudioUnitEventType type;
		AudioUnitParameterID id;
		bool operator==(const Event&) const = default;
	};

	ParameterEvents(AudioUnit unit, const std::vector<AudioUnitParameterID>& ids);
	~ParameterEvents();
	ParameterEvents(const ParameterEvents&) = delete;
	ParameterEvents& operator=(const ParameterEvents&) = delete;

	static void runLoop();
	std::vector<Event> received;

private:
	AUEventListenerRef m_listener = nullptr;
};

// Turns the main run loop long enough for the instrument to announce, from there, what changed on other threads.
void turnMainLoop();

// A state as the XML a host writes to a preset file: what byte-for-byte comparisons compare.
std::string xmlOf(CFPropertyListRef state);

std::string toString(CFStringRef text);
double rms(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX);
}

// Every test gets the component and checks that nothing made by Core Foundation outlives its instance.
class AuTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		auhost::component();
		m_liveObjects = cf::liveObjectCount();
		m_liveAllocations = cf::liveAllocationCount();
	}
	void TearDown() override
	{
		EXPECT_EQ(cf::liveObjectCount(), m_liveObjects);
		EXPECT_EQ(cf::liveAllocationCount(), m_liveAllocations);
	}

	long m_liveObjects = 0;
	long m_liveAllocations = 0;
};
