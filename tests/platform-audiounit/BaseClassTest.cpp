#include "AUInstrumentBase.h"

#include <CoreFoundation/CFStandIn.h>
#include <CoreMIDI/CoreMIDI.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
// Records what the MIDI dispatch of the base classes calls.
class RecordingInstrument : public AUInstrumentBase
{
public:
	RecordingInstrument() : AUInstrumentBase(nullptr, 0, 1)
	{
		PostConstructor();
	}
	~RecordingInstrument() override { PreDestructor(); }

	std::vector<std::string> calls;

	OSStatus StartNote(MusicDeviceInstrumentID instrument, MusicDeviceGroupID group, NoteInstanceID* id, UInt32 offset,
		const MusicDeviceNoteParams& params) override
	{
		calls.push_back("start " + std::to_string(instrument == kMusicNoteEvent_UseGroupInstrument) + " ch" +
						std::to_string(group) + " " + std::to_string(int(params.mPitch)) + "/" +
						std::to_string(int(params.mVelocity)) + " @" + std::to_string(offset));
		return AUInstrumentBase::StartNote(instrument, group, id, offset, params);
	}
	OSStatus StopNote(MusicDeviceGroupID group, NoteInstanceID note, UInt32 offset) override
	{
		calls.push_back("stop ch" + std::to_string(group) + " " + std::to_string(note) + " @" + std::to_string(offset));
		return noErr;
	}

protected:
	OSStatus HandleControlChange(UInt8 ch, UInt8 cc, UInt8 value, UInt32 frame) override
	{
		calls.push_back("cc ch" + std::to_string(ch) + " " + std::to_string(cc) + "=" + std::to_string(value) + " @" +
						std::to_string(frame));
		return noErr;
	}
	OSStatus HandleAllNotesOff(UInt8 ch) override
	{
		calls.push_back("all notes off ch" + std::to_string(ch));
		return noErr;
	}
	OSStatus HandleAllSoundOff(UInt8 ch) override
	{
		calls.push_back("all sound off ch" + std::to_string(ch));
		return noErr;
	}
	OSStatus HandleProgramChange(UInt8 ch, UInt8 program) override
	{
		calls.push_back("program ch" + std::to_string(ch) + " " + std::to_string(program));
		return noErr;
	}
	OSStatus HandlePitchWheel(UInt8 ch, UInt8 lsb, UInt8 msb, UInt32) override
	{
		calls.push_back("bend ch" + std::to_string(ch) + " " + std::to_string(lsb) + "," + std::to_string(msb));
		return noErr;
	}
	OSStatus HandleSysEx(const UInt8* data, UInt32 length) override
	{
		calls.push_back("sysex " + std::to_string(length) + " ending " + std::to_string(data[length - 1]));
		return noErr;
	}
};

class BaseClassTest : public ::testing::Test
{
protected:
	void TearDown() override { EXPECT_EQ(cf::liveObjectCount(), m_objects); }
	long m_objects = cf::liveObjectCount();
};
}

TEST_F(BaseClassTest, MidiEventsAreSplitIntoTheHandlersTheBaseClassesDefine)
{
	RecordingInstrument unit;
	EXPECT_EQ(unit.MIDIEvent(0x91, 60, 100, 7), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(unit.DoInitialize(), noErr);
	unit.MIDIEvent(0x91, 60, 100, 7);
	unit.MIDIEvent(0x91, 60, 0, 9); // a note-on without velocity ends the note
	unit.MIDIEvent(0x82, 61, 64, 3);
	unit.MIDIEvent(0xB3, 123, 0, 0);
	unit.MIDIEvent(0xB3, 120, 0, 0);
	unit.MIDIEvent(0xB3, 7, 99, 11);
	unit.MIDIEvent(0xC4, 5, 0, 0);
	unit.MIDIEvent(0xE0, 1, 64, 0);
	const std::vector<std::string> expected = {"start 1 ch1 60/100 @7", "stop ch1 60 @9", "stop ch2 61 @3",
		"all notes off ch3", "all sound off ch3", "cc ch3 7=99 @11", "program ch4 5", "bend ch0 1,64"};
	EXPECT_EQ(unit.calls, expected);
}

TEST_F(BaseClassTest, PacketListsAreSplitIntoMessagesAtTheirPacketTime)
{
	RecordingInstrument unit;
	std::vector<Byte> storage(512);
	auto* list = reinterpret_cast<MIDIPacketList*>(storage.data());
	MIDIPacket* p = MIDIPacketListInit(list);
	const Byte notes[] = {0x90, 64, 90, 0xC0, 3, 0xB0, 1, 2};
	const Byte sysex[] = {0xF0, 0x7D, 0x10, 0x20, 0xF7};
	p = MIDIPacketListAdd(list, storage.size(), p, 12, sizeof notes, notes);
	p = MIDIPacketListAdd(list, storage.size(), p, 40, sizeof sysex, sysex);
	EXPECT_EQ(unit.HandleMIDIPacketList(list), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(unit.DoInitialize(), noErr);
	ASSERT_EQ(unit.HandleMIDIPacketList(list), noErr);
	const std::vector<std::string> expected = {"start 1 ch0 64/90 @12", "program ch0 3", "cc ch0 1=2 @12", "sysex 5 ending 247"};
	EXPECT_EQ(unit.calls, expected);
}

TEST_F(BaseClassTest, MapParametersDoNotGrowOnceInitialisedAndIndexedOnesAreBounded)
{
	RecordingInstrument unit;
	AUElement* group = unit.GetElement(kAudioUnitScope_Group, 0);
	group->SetParameter(3, 0.5f);
	ASSERT_EQ(unit.DoInitialize(), noErr);
	group->SetParameter(3, 0.75f);
	group->SetParameter(4, 0.25f); // ignored: an initialised unit does not grow parameters
	EXPECT_EQ(group->GetParameter(3), 0.75f);
	EXPECT_THROW(group->GetParameter(4), OSStatus);
	group->SetParameter(4, 0.25f, true);
	EXPECT_EQ(group->GetParameter(4), 0.25f);

	AUElement* part = unit.GetElement(kAudioUnitScope_Part, 0);
	part->UseIndexedParameters(2);
	part->SetParameter(1, 1.f);
	EXPECT_EQ(part->GetNumberOfParameters(), 2u);
	try
	{
		part->SetParameter(2, 1.f);
		FAIL() << "an indexed element accepted an ID out of range";
	}
	catch (OSStatus status)
	{
		EXPECT_EQ(status, kAudioUnitErr_InvalidParameter);
	}
	EXPECT_THROW(unit.GetElement(kAudioUnitScope_Part, 1), OSStatus);
	EXPECT_THROW(unit.GetScope(kAudioUnitScope_Note), OSStatus);
	EXPECT_EQ(unit.Groups().GetNumberOfElements(), 16u);
}

TEST_F(BaseClassTest, AFactoryPresetBecomesCurrentOnlyWithANumberAndAName)
{
	RecordingInstrument unit;
	CFStringRef first = CFStringCreateWithCString(nullptr, "First", kCFStringEncodingUTF8);
	CFStringRef second = CFStringCreateWithCString(nullptr, "Second", kCFStringEncodingUTF8);
	EXPECT_FALSE(unit.SetAFactoryPresetAsCurrent({-1, first}));
	EXPECT_FALSE(unit.SetAFactoryPresetAsCurrent({3, nullptr}));
	EXPECT_EQ(unit.GetCurrentPreset().presetNumber, -1);
	EXPECT_TRUE(unit.SetAFactoryPresetAsCurrent({3, first}));
	EXPECT_EQ(CFGetRetainCount(first), 2);
	EXPECT_TRUE(unit.SetAFactoryPresetAsCurrent({4, second}));
	EXPECT_EQ(CFGetRetainCount(first), 1); // the previous name is released
	EXPECT_EQ(unit.GetCurrentPreset().presetName, second);
	CFRelease(first);
	unit.SetAFactoryPresetAsCurrent({0, CFSTR("Untitled")});
	CFRelease(second);
}

TEST_F(BaseClassTest, CallerBuffersAreFilledAndMissingOnesGetTheUnitsOwn)
{
	RecordingInstrument unit;
	ASSERT_EQ(unit.DoInitialize(), noErr);
	std::vector<float> left(32, 5.f);
	std::vector<UInt8> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	auto* abl = reinterpret_cast<AudioBufferList*>(storage.data());
	abl->mNumberBuffers = 2;
	abl->mBuffers[0] = {1, 32 * 4, left.data()};
	abl->mBuffers[1] = {1, 0, nullptr};
	AudioTimeStamp ts{};
	AudioUnitRenderActionFlags flags = 0;
	ASSERT_EQ(unit.DoRender(flags, ts, 0, 32, *abl), noErr);
	EXPECT_EQ(abl->mBuffers[0].mData, left.data());
	EXPECT_EQ(left[31], 0.f); // the instrument base renders silence
	ASSERT_NE(abl->mBuffers[1].mData, nullptr);
	EXPECT_EQ(static_cast<float*>(abl->mBuffers[1].mData)[0], 0.f);
	EXPECT_TRUE(flags & kAudioUnitRenderAction_OutputIsSilence);
}

TEST_F(BaseClassTest, BaseHandledPropertiesKeepWhatTheHostSets)
{
	RecordingInstrument unit;
	CFStringRef name = CFStringCreateWithCString(nullptr, "Track 1", kCFStringEncodingUTF8);
	ASSERT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0, &name, sizeof name), noErr);
	EXPECT_EQ(CFGetRetainCount(name), 2);
	CFStringRef back = nullptr;
	ASSERT_EQ(unit.DispatchGetProperty(kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0, &back), noErr);
	EXPECT_EQ(back, name);
	CFRelease(back);
	ASSERT_EQ(unit.DispatchRemovePropertyValue(kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0), noErr);
	EXPECT_EQ(CFGetRetainCount(name), 1);
	CFRelease(name);

	HostCallbackInfo info{};
	info.hostUserData = &unit;
	ASSERT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &info, sizeof info), noErr);
	HostCallbackInfo read{};
	unit.DispatchGetProperty(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &read);
	EXPECT_EQ(read.hostUserData, &unit);

	UInt32 count = 9;
	ASSERT_EQ(unit.DispatchGetProperty(kMusicDeviceProperty_InstrumentCount, kAudioUnitScope_Global, 0, &count), noErr);
	EXPECT_EQ(count, 0u);
	ASSERT_EQ(unit.DispatchGetProperty(kAudioUnitProperty_ElementCount, kAudioUnitScope_Part, 0, &count), noErr);
	EXPECT_EQ(count, 1u);
	UInt32 size = 0;
	Boolean writable = true;
	EXPECT_EQ(unit.DispatchGetPropertyInfo(kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, size, writable),
		kAudioUnitErr_InvalidProperty); // no channel table
	EXPECT_EQ(unit.DispatchGetPropertyInfo(kMusicDeviceProperty_MIDIXMLNames, kAudioUnitScope_Global, 0, size, writable),
		kAudioUnitErr_InvalidProperty);

	// Without a channel table the channel count of a bus may not change.
	CAStreamBasicDescription mono = unit.GetStreamFormat(kAudioUnitScope_Output, 0);
	mono.SetAUCanonical(1, false);
	EXPECT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &mono, sizeof mono),
		kAudioUnitErr_FormatNotSupported);

	ASSERT_EQ(unit.DoInitialize(), noErr);
	std::vector<float> l(16), r(16);
	std::vector<UInt8> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	auto* abl = reinterpret_cast<AudioBufferList*>(storage.data());
	abl->mNumberBuffers = 2;
	abl->mBuffers[0] = {1, 64, l.data()};
	abl->mBuffers[1] = {1, 64, r.data()};
	AudioTimeStamp ts{};
	ts.mSampleTime = 4096;
	AudioUnitRenderActionFlags flags = 0;
	unit.DoRender(flags, ts, 0, 16, *abl);
	Float64 last = 0;
	unit.DispatchGetProperty(kAudioUnitProperty_LastRenderedSampleTime, kAudioUnitScope_Global, 0, &last);
	EXPECT_EQ(last, 4096.0);
}
