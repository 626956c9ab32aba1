#include "AuHost.h"

#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"
#include "synth/Sysex.h"

#include <cstring>

using namespace auhost;
using Bytes = std::vector<uint8_t>;

namespace
{
class MidiOut : public AuTest
{
protected:
	// The factory singles as the instrument starts with them.
	zentlib::Engine reference{QuietEngineListener::instance()};
};

void recordProperty(void* refCon, AudioUnit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
	if (scope == kAudioUnitScope_Global && element == 0)
		static_cast<std::vector<AudioUnitPropertyID>*>(refCon)->push_back(id);
}
}

TEST_F(MidiOut, ReceivedSingleIsConfirmedAndTheDumpRequestAnswered)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	MidiOutCapture capture;
	instance.connectMidiOut(capture);

	Bytes dump;
	ASSERT_TRUE(zentlib::Sysex::writeSingle(dump, reference.singles[70], 0, zentlib::StorageLocation::InternalLow, 5));
	Bytes request;
	ASSERT_TRUE(zentlib::Sysex::writeOneSingleRequest(request, 0, zentlib::StorageLocation::InternalLow, 5));
	ASSERT_EQ(instance.sysex(dump), noErr);
	ASSERT_EQ(instance.sysex(request), noErr);
	EXPECT_TRUE(capture.packets().empty()) << "SysEx waits for the next block";

	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);
	const auto packets = capture.packets();
	ASSERT_EQ(packets.size(), 2u);
	EXPECT_EQ(packets[0].bytes, (Bytes{0xF0, 0x40, 0x00, 0x40, 0x00, 0x03, 0xF7}));
	EXPECT_EQ(packets[1].bytes, dump) << "the stored single comes back as it was sent";
	EXPECT_EQ(packets[1].bytes.size(), 97u);
	for (const SentPacket& packet : packets)
	{
		EXPECT_EQ(packet.packetCount, 1u);
		EXPECT_EQ(packet.packetTime, 0u);
	}
}

TEST_F(MidiOut, RepliesCarryThePreviousBlocksTimeStamp)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	MidiOutCapture capture;
	instance.connectMidiOut(capture);
	Bytes request;
	ASSERT_TRUE(zentlib::Sysex::writeMachineIdRequest(request, 0));

	std::vector<float> left, right;
	for (int block = 0; block < 3; ++block)
	{
		ASSERT_EQ(instance.sysex(request), noErr);
		ASSERT_EQ(instance.render(512, left, right), noErr);
	}
	const auto packets = capture.packets();
	ASSERT_EQ(packets.size(), 3u);
	// Nothing has rendered before the first block: the reply goes out with an empty time stamp.
	EXPECT_EQ(packets[0].blockTime.mFlags, 0u);
	EXPECT_EQ(packets[0].blockTime.mSampleTime, 0.0);
	EXPECT_EQ(packets[1].blockTime.mFlags, UInt32(kAudioTimeStampSampleTimeValid));
	EXPECT_EQ(packets[1].blockTime.mSampleTime, 0.0);
	EXPECT_EQ(packets[2].blockTime.mSampleTime, 512.0);
}

TEST_F(MidiOut, WithoutACallbackNothingIsSentAndARefusedPacketIsLogged)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	Bytes request;
	ASSERT_TRUE(zentlib::Sysex::writeMachineIdRequest(request, 0));
	std::vector<float> left, right;
	ASSERT_EQ(instance.sysex(request), noErr);
	ASSERT_EQ(instance.render(512, left, right), noErr);

	MidiOutCapture capture;
	capture.result = -1;
	instance.connectMidiOut(capture);
	ASSERT_EQ(instance.sysex(request), noErr);
	std::vector<std::string> texts;
	{
		LogCapture log;
		ASSERT_EQ(instance.render(512, left, right), noErr);
		texts = log.texts();
	}
	EXPECT_EQ(capture.packets().size(), 1u);
	EXPECT_EQ(texts, std::vector<std::string>{"Failed to send midi packet to host"});
}

TEST_F(MidiOut, ChangingSinglesIsAnnouncedFromTheMainThreadAndRenamesTheCurrentPreset)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	std::vector<AudioUnitPropertyID> announced;
	for (AudioUnitPropertyID id : {kAudioUnitProperty_FactoryPresets, kAudioUnitProperty_CurrentPreset,
			 kAudioUnitProperty_PresentPreset})
		ASSERT_EQ(AudioUnitAddPropertyListener(instance.unit(), id, recordProperty, &announced), noErr);

	// A renamed copy of the current single, sent as a dump to its own place.
	zentlib::SinglePreset renamed = reference.singles[0];
	std::memcpy(renamed.name, "Renamed   ", 10);
	Bytes dump;
	ASSERT_TRUE(zentlib::Sysex::writeSingle(dump, renamed, 0, zentlib::StorageLocation::InternalLow, 0));
	ASSERT_EQ(instance.sysex(dump), noErr);
	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);
	EXPECT_TRUE(announced.empty()) << "nothing is announced from the render thread";
	EXPECT_EQ(instance.presentPresetName(), "Renamed") << "a read after the edit names it at once";
	turnMainLoop();
	EXPECT_EQ(announced, (std::vector<AudioUnitPropertyID>{24, 28, 36}));

	CFArrayRef presets = nullptr;
	UInt32 size = sizeof presets;
	ASSERT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size),
		noErr);
	EXPECT_EQ(toString(static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 0))->presetName), "Renamed");
	CFRelease(presets);

	// Another stored single changes: the host reads the whole list again.
	announced.clear();
	dump.clear();
	ASSERT_TRUE(zentlib::Sysex::writeSingle(dump, renamed, 0, zentlib::StorageLocation::InternalLow, 9));
	ASSERT_EQ(instance.sysex(dump), noErr);
	ASSERT_EQ(instance.render(512, left, right), noErr);
	turnMainLoop();
	EXPECT_EQ(announced, (std::vector<AudioUnitPropertyID>{24, 28, 36}));
	EXPECT_EQ(instance.presentPresetName(), "Renamed");
}
