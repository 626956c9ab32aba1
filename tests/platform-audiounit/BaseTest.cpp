#include "UnitFixture.h"

#include <CoreMIDI/CoreMIDI.h>

#include <cmath>
#include <cstring>

namespace
{
struct Heard
{
	AudioUnit unit;
	AudioUnitPropertyID id;
	AudioUnitScope scope;
	AudioUnitElement element;
};

void listen(void* refCon, AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
	static_cast<std::vector<Heard>*>(refCon)->push_back({unit, id, scope, element});
}

SInt32 number(CFDictionaryRef d, const char* key)
{
	CFStringRef k = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
	SInt32 v = -1;
	auto n = static_cast<CFNumberRef>(CFDictionaryGetValue(d, k));
	CFRelease(k);
	if (!n || !CFNumberGetValue(n, kCFNumberSInt32Type, &v))
		return -12345;
	return v;
}

CFMutableDictionaryRef copyMutable(CFDictionaryRef d)
{
	CFMutableDictionaryRef m =
		CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
	std::vector<const void*> keys(size_t(CFDictionaryGetCount(d))), values(keys.size());
	CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
	for (size_t i = 0; i < keys.size(); ++i)
		CFDictionarySetValue(m, keys[i], values[i]);
	return m;
}

float peak(const std::vector<float>& v)
{
	float p = 0;
	for (float x : v)
		p = std::max(p, std::fabs(x));
	return p;
}
}

class BaseTest : public UnitFixture
{
protected:
	CFDictionaryRef saveState()
	{
		CFPropertyListRef plist = nullptr;
		UInt32 size = sizeof plist;
		EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &plist, &size), noErr);
		return static_cast<CFDictionaryRef>(plist);
	}
	OSStatus restore(CFPropertyListRef plist)
	{
		return AudioUnitSetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &plist, sizeof plist);
	}
	float gain()
	{
		AudioUnitParameterValue v = -1;
		EXPECT_EQ(AudioUnitGetParameter(m_unit, 0, kAudioUnitScope_Global, 0, &v), noErr);
		return v;
	}
};

TEST_F(BaseTest, DefaultFormatIsCanonicalStereoAt44100AndRequiredPropertiesHaveTheirSizes)
{
	AudioStreamBasicDescription f{};
	UInt32 size = sizeof f;
	ASSERT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, &size), noErr);
	EXPECT_EQ(f.mSampleRate, 44100.0);
	EXPECT_EQ(f.mFormatFlags, 0x29u);
	EXPECT_EQ(f.mChannelsPerFrame, 2u);
	EXPECT_EQ(f.mBytesPerFrame, 4u);
	EXPECT_EQ(f.mBitsPerChannel, 32u);
	const std::pair<AudioUnitPropertyID, UInt32> sizes[] = {{kAudioUnitProperty_SampleRate, 8}, {kAudioUnitProperty_StreamFormat, 40},
		{kAudioUnitProperty_MaximumFramesPerSlice, 4}, {kAudioUnitProperty_LastRenderError, 4}, {kAudioUnitProperty_Latency, 8},
		{kAudioUnitProperty_SupportedNumChannels, 4}, {kAudioUnitProperty_ClassInfo, 8}, {kAudioUnitProperty_PresentPreset, 16},
		{kAudioUnitProperty_FactoryPresets, 8}, {kMusicDeviceProperty_InstrumentCount, 4}};
	for (auto [id, expected] : sizes)
	{
		UInt32 s = 0;
		EXPECT_EQ(AudioUnitGetPropertyInfo(m_unit, id, kAudioUnitScope_Global, 0, &s, nullptr), noErr) << id;
		EXPECT_EQ(s, expected) << id;
	}
	UInt32 frames = 0;
	size = 4;
	AudioUnitGetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, &size);
	EXPECT_EQ(frames, 1156u);
	EXPECT_EQ(AudioUnitGetPropertyInfo(m_unit, kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, nullptr, nullptr),
		kAudioUnitErr_InvalidProperty);
}

TEST_F(BaseTest, PropertyCallsCheckScopeElementAndSizes)
{
	UInt32 size = 8;
	Float64 latency = 0;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_Latency, kAudioUnitScope_Output, 0, &latency, &size),
		kAudioUnitErr_InvalidScope);
	EXPECT_EQ(AudioUnitGetPropertyInfo(m_unit, 4242, kAudioUnitScope_Global, 0, nullptr, nullptr), kAudioUnitErr_InvalidProperty);
	AudioStreamBasicDescription f{};
	size = sizeof f;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, &size),
		kAudioUnitErr_InvalidElement); // this instrument has no input bus
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, nullptr),
		kAudio_ParamError);
	size = 0;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, &size),
		kAudio_ParamError);
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, nullptr, &size), noErr);
	EXPECT_EQ(size, 40u);
	// A short buffer gets the first bytes of the value.
	Float64 rateOnly = 0;
	size = sizeof rateOnly;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &rateOnly, &size), noErr);
	EXPECT_EQ(rateOnly, 44100.0);
	EXPECT_EQ(size, 8u);

	UInt32 frames = 512;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, nullptr, 4),
		kAudio_ParamError);
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, 0),
		kAudio_ParamError);
	// No frames at all, or more than any host asks for: refused, and the size set before stays.
	for (UInt32 wrong : {0u, 65537u, 0xFFFFFFFFu})
		EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &wrong, 4),
			kAudioUnitErr_InvalidPropertyValue)
			<< wrong;
	size = 4;
	AudioUnitGetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, &size);
	EXPECT_EQ(frames, 1156u);
	frames = 65536;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, 4), noErr);
	CFPropertyListRef plist = nullptr;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &plist, 4),
		kAudioUnitErr_InvalidPropertyValue);
}

TEST_F(BaseTest, StreamFormatsOutsideTheCanonicalSetAreRefusedAndEqualOnesChangeNothing)
{
	std::vector<Heard> heard;
	AudioUnitAddPropertyListener(m_unit, kAudioUnitProperty_StreamFormat, listen, &heard);
	AudioStreamBasicDescription f{};
	UInt32 size = sizeof f;
	AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, &size);
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, sizeof f), noErr);
	EXPECT_TRUE(heard.empty());

	AudioStreamBasicDescription interleaved = f;
	interleaved.mFormatFlags = kAudioFormatFlagsCanonical;
	interleaved.mBytesPerFrame = interleaved.mBytesPerPacket = 8;
	AudioStreamBasicDescription integer16 = f;
	integer16.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsNonInterleaved;
	integer16.mBitsPerChannel = 16;
	integer16.mBytesPerFrame = integer16.mBytesPerPacket = 2;
	for (const AudioStreamBasicDescription& bad : {interleaved, integer16})
		EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &bad, sizeof bad),
			kAudioUnitErr_FormatNotSupported);
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, 30),
		kAudioUnitErr_InvalidPropertyValue);

	Float64 rate = 48000;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate, sizeof rate), noErr);
	ASSERT_EQ(heard.size(), 1u);
	EXPECT_EQ(heard[0].unit, m_unit);
	EXPECT_EQ(heard[0].scope, UInt32(kAudioUnitScope_Output));

	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	rate = 96000;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate, sizeof rate),
		kAudioUnitErr_PropertyNotWritable);
	UInt32 frames = 64;
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, 4),
		kAudioUnitErr_Initialized);
}

TEST_F(BaseTest, RenderChecksItsArgumentsBeforeTheInstrumentRenders)
{
	std::vector<float> l, r;
	EXPECT_EQ(render(64, l, r), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	EXPECT_EQ(render(1157, l, r), kAudioUnitErr_TooManyFramesToProcess);
	EXPECT_EQ(render(1156, l, r), noErr);

	AudioTimeStamp ts{};
	ts.mSampleTime = 5000;
	std::vector<float> one(64);
	AudioBufferList single{1, {{1, 64 * 4, one.data()}}};
	EXPECT_EQ(AudioUnitRender(m_unit, nullptr, &ts, 0, 64, &single), kAudio_ParamError); // stereo needs two buffers
	std::vector<UInt8> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	auto* abl = reinterpret_cast<AudioBufferList*>(storage.data());
	abl->mNumberBuffers = 2;
	abl->mBuffers[0] = {1, 63 * 4, one.data()};
	abl->mBuffers[1] = {1, 64 * 4, one.data()};
	EXPECT_EQ(AudioUnitRender(m_unit, nullptr, &ts, 0, 64, abl), kAudio_ParamError);
	EXPECT_EQ(AudioUnitRender(m_unit, nullptr, nullptr, 0, 64, abl), kAudio_ParamError);
	EXPECT_EQ(AudioUnitRender(m_unit, nullptr, &ts, 1, 64, abl), kAudioUnitErr_InvalidElement);

	// Null buffers: the unit hands out its own.
	abl->mBuffers[0] = {1, 0, nullptr};
	abl->mBuffers[1] = {1, 0, nullptr};
	EXPECT_EQ(AudioUnitRender(m_unit, nullptr, &ts, 0, 64, abl), noErr);
	EXPECT_NE(abl->mBuffers[0].mData, nullptr);
	EXPECT_NE(abl->mBuffers[1].mData, abl->mBuffers[0].mData);
	EXPECT_EQ(abl->mBuffers[1].mDataByteSize, 256u);

	OSStatus lastError = 0;
	UInt32 size = 4;
	AudioUnitGetProperty(m_unit, kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &lastError, &size);
	EXPECT_EQ(lastError, kAudioUnitErr_Uninitialized); // the first error is kept until read
	AudioUnitGetProperty(m_unit, kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &lastError, &size);
	EXPECT_EQ(lastError, noErr);
}

TEST_F(BaseTest, ARepeatedSampleTimeIsNotRenderedAgainUntilReset)
{
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	ASSERT_EQ(MusicDeviceMIDIEvent(m_unit, 0x90, 69, 127, 0), noErr);
	std::vector<float> l, r;
	ASSERT_EQ(render(256, l, r), noErr);
	EXPECT_GT(peak(l), 0.01f);

	m_sampleTime -= 256; // the host repeats the time stamp
	ASSERT_EQ(render(256, l, r), noErr);
	EXPECT_EQ(peak(l), 0.f); // our fresh zeroed buffers were not touched

	ASSERT_EQ(AudioUnitReset(m_unit, kAudioUnitScope_Global, 0), noErr);
	m_sampleTime -= 256;
	ASSERT_EQ(render(256, l, r), noErr);
	EXPECT_GT(peak(l), 0.01f);
}

TEST_F(BaseTest, RenderNotificationsSurroundEachRender)
{
	static std::vector<AudioUnitRenderActionFlags> seen;
	seen.clear();
	AURenderCallback notify = [](void*, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32,
								  AudioBufferList*) -> OSStatus {
		seen.push_back(*flags);
		return noErr;
	};
	ASSERT_EQ(AudioUnitAddRenderNotify(m_unit, notify, nullptr), noErr);
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	std::vector<float> l, r;
	render(32, l, r);
	ASSERT_EQ(seen.size(), 2u);
	EXPECT_TRUE(seen[0] & kAudioUnitRenderAction_PreRender);
	EXPECT_TRUE(seen[1] & kAudioUnitRenderAction_PostRender);
	AudioUnitRemoveRenderNotify(m_unit, notify, nullptr);
	render(32, l, r);
	EXPECT_EQ(seen.size(), 2u);
}

TEST_F(BaseTest, MidiIsRefusedBeforeInitialisationAndSysExReachesTheInstrument)
{
	const UInt8 sysex[] = {0xF0, 0x7D, 0x01, 0x02, 0xF7};
	EXPECT_EQ(MusicDeviceMIDIEvent(m_unit, 0x90, 60, 100, 0), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(MusicDeviceSysEx(m_unit, sysex, sizeof sysex), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);

	static std::vector<std::vector<UInt8>> sent;
	sent.clear();
	AUMIDIOutputCallbackStruct callback = {[](void*, const AudioTimeStamp*, UInt32, const MIDIPacketList* list) -> OSStatus {
		for (UInt32 i = 0; i < list->numPackets; ++i)
			sent.emplace_back(list->packet[i].data, list->packet[i].data + list->packet[i].length);
		return noErr;
	},
		nullptr};
	ASSERT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback,
				  sizeof callback),
		noErr);
	EXPECT_EQ(MusicDeviceSysEx(m_unit, sysex, sizeof sysex), noErr);
	EXPECT_EQ(MusicDeviceSysEx(m_unit, sysex, 0), noErr);
	std::vector<float> l, r;
	render(64, l, r);
	ASSERT_EQ(sent.size(), 1u);
	EXPECT_EQ(sent[0], std::vector<UInt8>(sysex, sysex + sizeof sysex));
}

TEST_F(BaseTest, ListenersHearChangesWithTheirUnitScopeAndElementUntilRemoved)
{
	std::vector<Heard> heard, other;
	AudioUnitAddPropertyListener(m_unit, kAudioUnitProperty_PresentPreset, listen, &heard);
	AudioUnitAddPropertyListener(m_unit, kAudioUnitProperty_PresentPreset, listen, &other);
	AUPreset preset = {1, CFSTR("Bright")};
	ASSERT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset),
		noErr);
	ASSERT_EQ(heard.size(), 1u);
	EXPECT_EQ(heard[0].id, UInt32(kAudioUnitProperty_PresentPreset));
	EXPECT_EQ(heard[0].unit, m_unit);
	AudioUnitRemovePropertyListenerWithUserData(m_unit, kAudioUnitProperty_PresentPreset, listen, &heard);
	preset.presetNumber = 2;
	AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset);
	EXPECT_EQ(heard.size(), 1u);
	EXPECT_EQ(other.size(), 2u);
}

TEST_F(BaseTest, PresetsAreListedSelectedAndHandedOutWithTheNameRetainedForTheCaller)
{
	CFArrayRef presets = nullptr;
	UInt32 size = sizeof presets;
	ASSERT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size), noErr);
	ASSERT_EQ(CFArrayGetCount(presets), 3);
	auto* second = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 1));
	EXPECT_EQ(second->presetNumber, 1);
	EXPECT_EQ(CFStringCompare(second->presetName, CFSTR("Bright"), 0), kCFCompareEqualTo);
	CFRelease(presets);

	AUPreset choice = {2, CFSTR("Loud")};
	ASSERT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &choice, sizeof choice), noErr);
	EXPECT_EQ(gain(), 1.f);
	AUPreset current{};
	size = sizeof current;
	CFStringRef name = CFStringCreateWithCString(nullptr, "Mine", kCFStringEncodingUTF8);
	AUPreset custom = {-1, name};
	ASSERT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &custom, sizeof custom), noErr);
	EXPECT_EQ(CFGetRetainCount(name), 2);
	ASSERT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &current, &size), noErr);
	EXPECT_EQ(current.presetNumber, -1);
	EXPECT_EQ(current.presetName, name);
	EXPECT_EQ(CFGetRetainCount(name), 3);
	CFRelease(current.presetName);
	CFRelease(name);

	AUPreset nothing = {-1, nullptr};
	EXPECT_EQ(AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &nothing, sizeof nothing),
		kAudioUnitErr_InvalidPropertyValue);
	AUPreset outOfRange = {9, CFSTR("x")};
	EXPECT_NE(AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &outOfRange, sizeof outOfRange),
		noErr);
}

TEST_F(BaseTest, SavedStateHoldsTheClassInfoKeysAndBigEndianParameterData)
{
	CFDictionaryRef state = saveState();
	ASSERT_NE(state, nullptr);
	EXPECT_EQ(number(state, "version"), 0);
	EXPECT_EQ(UInt32(number(state, "type")), UInt32(kAudioUnitType_MusicDevice));
	EXPECT_EQ(UInt32(number(state, "subtype")), TestInstrument::kSubType);
	EXPECT_EQ(UInt32(number(state, "manufacturer")), TestInstrument::kManufacturer);
	EXPECT_EQ(CFStringCompare(static_cast<CFStringRef>(CFDictionaryGetValue(state, CFSTR("name"))), CFSTR("Untitled"), 0),
		kCFCompareEqualTo);
	EXPECT_FALSE(CFDictionaryContainsKey(state, CFSTR("render-quality")));
	auto data = static_cast<CFDataRef>(CFDictionaryGetValue(state, CFSTR("data")));
	const UInt8 expected[] = {0, 0, 0, 0, /*element*/ 0, 0, 0, 0, /*count*/ 0, 0, 0, 2, /*id 0*/ 0, 0, 0, 0,
		/*0.5f*/ 0x3F, 0x00, 0x00, 0x00, /*id 1*/ 0, 0, 0, 1, /*0.0f*/ 0, 0, 0, 0};
	ASSERT_EQ(CFDataGetLength(data), CFIndex(sizeof expected));
	EXPECT_EQ(std::memcmp(CFDataGetBytePtr(data), expected, sizeof expected), 0);
	CFRelease(state);
}

TEST_F(BaseTest, RestoreAppliesValuesAndAnnouncesThePresentPreset)
{
	CFDictionaryRef state = saveState();
	AudioUnitSetParameter(m_unit, 0, kAudioUnitScope_Global, 0, 0.9f, 0);
	std::vector<Heard> heard;
	AudioUnitAddPropertyListener(m_unit, kAudioUnitProperty_PresentPreset, listen, &heard);
	EXPECT_EQ(restore(state), noErr);
	EXPECT_EQ(gain(), 0.5f);
	EXPECT_EQ(heard.size(), 1u);
	CFRelease(state);
}

TEST_F(BaseTest, RestoreRefusesForeignOrDamagedStatesAndChangesNothing)
{
	CFDictionaryRef good = saveState();
	AudioUnitSetParameter(m_unit, 0, kAudioUnitScope_Global, 0, 0.9f, 0);
	auto damaged = [&](const char* key, CFTypeRef value) {
		CFMutableDictionaryRef d = copyMutable(good);
		CFStringRef k = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
		if (value)
			CFDictionarySetValue(d, k, value);
		else
			CFDictionaryRemoveValue(d, k);
		CFRelease(k);
		return d;
	};
	SInt32 one = 1, other = 0x41424344;
	CFNumberRef nOne = CFNumberCreate(nullptr, kCFNumberSInt32Type, &one);
	CFNumberRef nOther = CFNumberCreate(nullptr, kCFNumberSInt32Type, &other);
	auto fullData = static_cast<CFDataRef>(CFDictionaryGetValue(good, CFSTR("data")));
	CFDataRef truncated = CFDataCreate(nullptr, CFDataGetBytePtr(fullData), CFDataGetLength(fullData) - 3);
	std::vector<CFMutableDictionaryRef> bad = {damaged("version", nOne), damaged("version", nullptr),
		damaged("subtype", nOther), damaged("manufacturer", nOther), damaged("manufacturer", nullptr),
		damaged("part", nOne), damaged("data", truncated), damaged("data", CFSTR("text"))};
	for (CFMutableDictionaryRef d : bad)
	{
		EXPECT_EQ(restore(d), kAudioUnitErr_InvalidPropertyValue);
		EXPECT_EQ(gain(), 0.9f);
		CFRelease(d);
	}
	EXPECT_EQ(restore(CFSTR("not a dictionary")), kAudioUnitErr_InvalidPropertyValue);
	CFMutableDictionaryRef otherType = damaged("type", nOther); // the type is not compared
	EXPECT_EQ(restore(otherType), noErr);
	for (CFTypeRef o : {CFTypeRef(otherType), CFTypeRef(nOne), CFTypeRef(nOther), CFTypeRef(truncated), CFTypeRef(good)})
		CFRelease(o);
}

TEST_F(BaseTest, ScheduledParametersApplyImmediateEventsAndIgnoreRamps)
{
	AudioUnitParameterEvent events[2]{};
	events[0].scope = kAudioUnitScope_Global;
	events[0].parameter = 0;
	events[0].eventType = kParameterEvent_Immediate;
	events[0].eventValues.immediate.value = 0.25f;
	events[1] = events[0];
	events[1].eventType = kParameterEvent_Ramped;
	events[1].eventValues.ramp.endValue = 0.75f;
	EXPECT_EQ(AudioUnitScheduleParameters(m_unit, events, 2), noErr);
	EXPECT_EQ(gain(), 0.25f);
}

TEST_F(BaseTest, ParameterInfoTravelsWithTheIdInTheElementArgument)
{
	UInt32 size = 0;
	ASSERT_EQ(AudioUnitGetPropertyInfo(m_unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr), noErr);
	EXPECT_EQ(size, 8u);
	AudioUnitParameterInfo info{};
	size = sizeof info;
	ASSERT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 1, &info, &size), noErr);
	EXPECT_STREQ(info.name, "Tone");
	EXPECT_EQ(info.flags, 0xC8200010u);
	CFRelease(info.cfNameString);
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 2, &info, &size),
		kAudioUnitErr_InvalidParameter);

	AudioUnitParameterStringFromValue text = {0, nullptr, nullptr};
	size = sizeof text;
	ASSERT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &text, &size), noErr);
	char buffer[16];
	CFStringGetCString(text.outString, buffer, sizeof buffer, kCFStringEncodingUTF8);
	EXPECT_STREQ(buffer, "50%");
	CFRelease(text.outString);
}
