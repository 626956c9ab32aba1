// What a host or a damaged file can hand the instrument that it must refuse or bring into range, and how it
// tells the host.

#include "AuHost.h"

#include "LogCapture.h"
#include "StateChunks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

using namespace auhost;
using Bytes = std::vector<uint8_t>;

namespace
{
class BadInput : public AuTest
{
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// Parameter 10 is the volume; parameter 9 the last character of a name.
constexpr AudioUnitParameterID kVolume = 10;
constexpr size_t kFirstValue = 56;

float peakOf(const std::vector<float>& samples)
{
	float peak = 0;
	for (float s : samples)
		peak = std::max(peak, std::fabs(s));
	return peak;
}

float loudestNote(Instance& instance)
{
	std::vector<float> left, right;
	EXPECT_EQ(instance.midi(0x90, 60, 127), noErr);
	instance.renderInto(22050, 512, left, right);
	EXPECT_EQ(instance.midi(0x80, 60, 0), noErr);
	instance.renderInto(22050, 512, left, right);
	return peakOf(left);
}

OSStatus setFormat(Instance& instance, AudioUnitScope scope, double rate, UInt32 channels)
{
	AudioStreamBasicDescription format{};
	UInt32 size = sizeof format;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, &size),
		noErr);
	format.mSampleRate = rate;
	format.mChannelsPerFrame = channels;
	return AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_StreamFormat, scope, 0, &format, sizeof format);
}

AudioStreamBasicDescription outputFormat(Instance& instance)
{
	AudioStreamBasicDescription format{};
	UInt32 size = sizeof format;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, &size),
		noErr);
	return format;
}

void putFloat(Bytes& chunk, size_t offset, float value)
{
	std::memcpy(&chunk[offset], &value, 4);
}

CFPropertyListRef freshState()
{
	Instance source;
	EXPECT_EQ(source.initialize(), noErr);
	return source.saveState();
}

CFPropertyListRef readPresetFile(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
	CFDataRef data = CFDataCreate(nullptr, bytes.data(), CFIndex(bytes.size()));
	CFPropertyListRef state = CFPropertyListCreateWithData(nullptr, data, kCFPropertyListMutableContainers, nullptr, nullptr);
	CFRelease(data);
	return state;
}
}

TEST_F(BadInput, ParameterValuesOutsideTheRangeAreClampedAndNonNumbersRefused)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	for (float value : {2.0f, 1e30f, std::numeric_limits<float>::infinity()})
	{
		EXPECT_EQ(AudioUnitSetParameter(instance.unit(), kVolume, kAudioUnitScope_Global, 0, value, 0), noErr);
		EXPECT_EQ(instance.parameter(kVolume), 1.0f) << value;
	}
	const float full = 1.0f;
	EXPECT_EQ(instance.parameterText(kVolume), instance.parameterText(kVolume, &full));
	const float beyond = 2.0f;
	EXPECT_EQ(instance.parameterText(kVolume, &beyond), instance.parameterText(kVolume, &full));
	// The volume's maximum and a value beyond it play the same.
	Instance atFull, atTwice;
	for (auto [unit, value] : {std::pair{&atFull, 1.0f}, std::pair{&atTwice, 2.0f}})
	{
		ASSERT_EQ(unit->initialize(), noErr);
		ASSERT_EQ(AudioUnitSetParameter(unit->unit(), kVolume, kAudioUnitScope_Global, 0, value, 0), noErr);
	}
	EXPECT_EQ(loudestNote(atTwice), loudestNote(atFull));

	EXPECT_EQ(AudioUnitSetParameter(instance.unit(), kVolume, kAudioUnitScope_Global, 0, -3.0f, 0), noErr);
	EXPECT_EQ(instance.parameter(kVolume), 0.0f);

	EXPECT_EQ(AudioUnitSetParameter(instance.unit(), kVolume, kAudioUnitScope_Global, 0, kNaN, 0),
		kAudioUnitErr_InvalidParameterValue);
	EXPECT_EQ(instance.parameter(kVolume), 0.0f);
	AudioUnitParameterStringFromValue request{kVolume, &kNaN, nullptr};
	UInt32 size = sizeof request;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
				  &request, &size),
		kAudioUnitErr_InvalidParameterValue);
	EXPECT_EQ(request.outString, nullptr);

}

TEST_F(BadInput, DamagedParameterValuesInAStateAreClampedOrPassedOverWithALogLine)
{
	CFPropertyListRef state = freshState();
	Bytes chunk = chunkOf(state);
	putFloat(chunk, kFirstValue + 4 * kVolume, 2.0f);
	putFloat(chunk, kFirstValue + 4 * 11, kNaN);
	setChunk(state, chunk);

	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	const float polyMode = instance.parameter(11);
	std::vector<std::string> texts;
	{
		LogCapture log;
		EXPECT_EQ(instance.restoreState(state), noErr);
		texts = log.texts();
	}
	EXPECT_EQ(instance.parameter(kVolume), 1.0f);
	EXPECT_EQ(instance.parameter(11), polyMode) << "the single's own value stays";
	EXPECT_NE(std::find(texts.begin(), texts.end(), "Parameter 10 of the restored state is 2, outside 0..1, and was clamped"),
		texts.end());
	EXPECT_NE(std::find(texts.begin(), texts.end(), "Parameter 11 of the restored state is not a number and was passed over"),
		texts.end());
	CFRelease(state);
}

// The end of a name shorter than ten characters reads as the blank, inside the range. A host writing the blank
// back, as a restore of the base class's values does, leaves the name's bytes as they are.
TEST_F(BadInput, ANameEndReadsAsTheBlank)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	zentlib::Plugin* facade = nullptr;
	UInt32 size = sizeof facade;
	ASSERT_EQ(AudioUnitGetProperty(instance.unit(), 70000, kAudioUnitScope_Global, 0, &facade, &size), noErr);
	const zentlib::SinglePreset single = facade->getCurrentSingle();
	ASSERT_EQ(single.name[9], 0) << "the first factory single has a short name";

	EXPECT_EQ(instance.parameter(9), 0.0f);
	EXPECT_EQ(instance.parameterText(9), " ");
	EXPECT_EQ(AudioUnitSetParameter(instance.unit(), 9, kAudioUnitScope_Global, 0, 0.5f, 0), noErr);
	EXPECT_EQ(AudioUnitSetParameter(instance.unit(), 9, kAudioUnitScope_Global, 0, 0.0f, 0), noErr);
	std::vector<float> left, right;
	instance.renderInto(22050, 512, left, right);
	EXPECT_EQ(facade->getCurrentSingle(), single);
	EXPECT_EQ(instance.parameter(9), 0.0f);
}

TEST_F(BadInput, OnlyTheOutputRateReachesTheEngine)
{
	Instance reference, instance;
	ASSERT_EQ(reference.initialize(), noErr);
	ASSERT_EQ(instance.initialize(), noErr);
	// The instrument reads no input: its format may be set, but its rate changes nothing audible.
	EXPECT_EQ(setFormat(instance, kAudioUnitScope_Input, 22050, 2), noErr);
	std::vector<float> expected[2], played[2];
	for (Instance* unit : {&reference, &instance})
	{
		auto& out = unit == &reference ? expected : played;
		ASSERT_EQ(unit->midi(0x90, 69, 100), noErr);
		unit->renderInto(8192, 512, out[0], out[1]);
	}
	EXPECT_GT(rms(played[0]), 1e-3);
	EXPECT_EQ(played[0], expected[0]);

	// Rates the converter cannot serve are refused on every scope, and so are channel counts outside the
	// table, through the global scope as well as the output's; nothing changes.
	const AudioStreamBasicDescription before = outputFormat(instance);
	for (double rate : {0.0, double(kNaN), 1.0, 1e9, -44100.0})
		for (AudioUnitScope scope : {kAudioUnitScope_Global, kAudioUnitScope_Output, kAudioUnitScope_Input})
			EXPECT_EQ(setFormat(instance, scope, rate, 2), kAudioUnitErr_FormatNotSupported) << rate << " on " << scope;
	const Float64 zero = 0;
	EXPECT_EQ(AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &zero, sizeof zero),
		kAudioUnitErr_FormatNotSupported);
	for (UInt32 channels : {1u, 4u, 8u})
	{
		EXPECT_EQ(setFormat(instance, kAudioUnitScope_Global, 44100, channels), kAudioUnitErr_FormatNotSupported) << channels;
		EXPECT_EQ(setFormat(instance, kAudioUnitScope_Output, 44100, channels), kAudioUnitErr_FormatNotSupported) << channels;
	}
	const AudioStreamBasicDescription after = outputFormat(instance);
	EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
	std::vector<float> left, right;
	instance.renderInto(4096, 512, left, right);
	EXPECT_GT(rms(left), 1e-3) << "still sounding at its rate";

	// A new output rate set through the global scope is the output's, and reaches the engine.
	EXPECT_EQ(setFormat(instance, kAudioUnitScope_Global, 48000, 2), noErr);
	EXPECT_EQ(outputFormat(instance).mSampleRate, 48000.0);
}

// A state cut short at any length, or with its structure damaged, is refused with an error status and a log
// line, and the instrument stays exactly as it was: the next save gives the same bytes as before.
TEST_F(BadInput, DamagedStatesAreRefusedAndTheInstrumentKeepsWhatItHad)
{
	CFPropertyListRef state = freshState();
	const Bytes chunk = chunkOf(state);
	ASSERT_EQ(chunk.size(), 68308u);

	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	AUPreset preset = {7, CFSTR("seven")};
	ASSERT_EQ(AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset,
				  sizeof preset),
		noErr);
	ASSERT_EQ(AudioUnitSetParameter(instance.unit(), kVolume, kAudioUnitScope_Global, 0, 0.25f, 0), noErr);
	CFPropertyListRef before = instance.saveState();

	// Every length of the header, then every dump boundary and its neighbours, then a stride through the dumps.
	std::vector<size_t> lengths;
	for (size_t length = 1; length < 520; ++length)
		lengths.push_back(length);
	for (size_t boundary = 508; boundary < chunk.size(); boundary += 2825)
		lengths.insert(lengths.end(), {boundary, boundary + 1, boundary + 2824});
	for (size_t length = 520; length < chunk.size(); length += 97)
		lengths.push_back(length);

	std::vector<std::string> texts;
	{
		LogCapture log;
		for (size_t length : lengths)
		{
			setChunk(state, Bytes(chunk.begin(), chunk.begin() + long(length)));
			ASSERT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue) << length;
			ASSERT_EQ(instance.presentPresetNumber(), 7) << length;
		}
		// Damage that leaves the length: an unknown version, a store that names more singles than it holds,
		// a current single outside the store, a dump whose header is broken.
		for (auto [offset, value] : std::vector<std::pair<size_t, uint8_t>>{{0, 9}, {504, 0xFF}, {497, 0x7F}, {508 + 4, 0x55}})
		{
			Bytes damaged = chunk;
			damaged[offset] = value;
			setChunk(state, damaged);
			EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue) << offset;
		}
		texts = log.texts();
	}
	EXPECT_EQ(std::count(texts.begin(), texts.end(), "AU: RestoreState"), long(lengths.size() + 4));
	EXPECT_NE(std::find(texts.begin(), texts.end(),
				  "AU: RestoreState refused: the engine cannot read the 519 bytes of its state; the instrument keeps what it had"),
		texts.end());
	EXPECT_NE(std::find(texts.begin(), texts.end(), "Unable to restore state, its current single 32512 is not in its store of 768"),
		texts.end());

	CFPropertyListRef after = instance.saveState();
	EXPECT_EQ(xmlOf(after), xmlOf(before));
	EXPECT_EQ(instance.parameter(kVolume), 0.25f);
	CFRelease(after);
	CFRelease(before);
	CFRelease(state);
}

// A state refused by the base class or by the engine says why in the log, and leaves the next save as it was.
TEST_F(BadInput, EveryRefusedStateSaysWhy)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	CFPropertyListRef before = instance.saveState();
	auto number = [](SInt32 value) { return CFNumberCreate(nullptr, kCFNumberSInt32Type, &value); };
	const std::pair<CFStringRef, CFTypeRef> damage[] = {{CFSTR("subtype"), number(0x6F746872)},
		{CFSTR("version"), number(1)}, {CFSTR("data"), CFDataCreate(nullptr, (const UInt8*)"\0\0\0\0\0", 5)},
		{CFSTR("vRel_chunk"), CFDataCreate(nullptr, nullptr, 0)}};

	std::vector<std::string> texts;
	{
		LogCapture log;
		for (const auto& [key, value] : damage)
		{
			CFPropertyListRef state = instance.saveState();
			CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(state)), key, value);
			EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
			CFRelease(state);
			CFRelease(value);
		}
		texts = log.texts();
	}
	texts.erase(std::remove_if(texts.begin(), texts.end(),
					[](const std::string& t) { return t.find("refused") == std::string::npos && t.rfind("Unable", 0) != 0; }),
		texts.end());
	EXPECT_EQ(texts, (std::vector<std::string>{
						 "AU: RestoreState refused: it is not a state of this instrument: its subtype is 'othr', not 'vRel'",
						 "AU: RestoreState refused: its version is 1, not 0",
						 "AU: RestoreState refused: its parameter data are damaged (status -10851)",
						 "Unable to restore state, it is empty",
						 "AU: RestoreState refused: the engine cannot read the 0 bytes of its state; the instrument keeps what it had"}));

	CFPropertyListRef after = instance.saveState();
	EXPECT_EQ(xmlOf(after), xmlOf(before));
	CFRelease(after);
	CFRelease(before);
}

TEST_F(BadInput, EngineDataLargerThanAnyRealStateIsRefused)
{
	CFPropertyListRef state = freshState();
	const Bytes chunk = chunkOf(state);
	const Bytes dump(chunk.end() - 2825, chunk.end());
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	std::vector<std::string> texts;
	{
		LogCapture log;
		// One dump more than the storages hold, then two: the first reaches the engine, the second not even that.
		Bytes larger = chunk;
		larger.insert(larger.end(), dump.begin(), dump.end());
		setChunk(state, larger);
		EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
		larger.insert(larger.end(), dump.begin(), dump.end());
		setChunk(state, larger);
		EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
		texts = log.texts();
	}
	EXPECT_EQ(texts, (std::vector<std::string>{"AU: RestoreState",
						 "Unable to restore state, its store holds 800 readable singles of 768",
						 "AU: RestoreState refused: the engine cannot read the 71133 bytes of its state; the instrument keeps what it had",
						 "AU: RestoreState",
						 "AU: RestoreState refused: the engine data holds 73958 bytes, more than the 72404 of any saved state"}));
	CFRelease(state);
}

// What a host's validator checks: a state saved by a fresh instance, restored and saved again, is the same to
// the byte, in the same instance and in another; and a state saved by the first version still loads.
TEST_F(BadInput, FreshStateRoundTripsByteForByteAndOldStatesStillLoad)
{
	CFPropertyListRef first = freshState();
	const std::string saved = xmlOf(first);
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(), noErr);
		ASSERT_EQ(instance.restoreState(first), noErr);
		CFPropertyListRef again = instance.saveState();
		EXPECT_EQ(xmlOf(again), saved);
		ASSERT_EQ(instance.restoreState(again), noErr);
		CFRelease(again);
		again = instance.saveState();
		EXPECT_EQ(xmlOf(again), saved);
		CFRelease(again);
	}
	{
		Instance instance;
		ASSERT_EQ(instance.restoreState(first), noErr);
		ASSERT_EQ(instance.initialize(), noErr);
		CFPropertyListRef again = instance.saveState();
		EXPECT_EQ(xmlOf(again), saved);
		CFRelease(again);
	}
	CFRelease(first);

	// Saved by version 1.1.1 as a fresh instance, when the preset was still shown as "Untitled": its engine data
	// comes back unchanged, under the name of the single it plays.
	// It held the end of its single's short name below the range: that is the blank now, and no damage.
	CFPropertyListRef old = readPresetFile(std::string(VIREL_AU_TEST_DATA) + "/fresh-instance-1.1.1.aupreset");
	ASSERT_NE(old, nullptr);
	Instance instance;
	std::vector<std::string> texts;
	{
		LogCapture log;
		ASSERT_EQ(instance.restoreState(old), noErr);
		ASSERT_EQ(instance.initialize(), noErr);
		texts = log.texts();
	}
	EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.find("clamped") != std::string::npos; }),
		0);
	EXPECT_EQ(instance.presentPresetNumber(), 0);
	CFPropertyListRef again = instance.saveState();
	Bytes expected = chunkOf(old);
	float nameEnd = 0;
	std::memcpy(&nameEnd, &expected[kFirstValue + 4 * 9], 4);
	ASSERT_LT(nameEnd, 0.0f);
	putFloat(expected, kFirstValue + 4 * 9, 0.0f);
	EXPECT_EQ(chunkOf(again), expected);
	Instance other;
	ASSERT_EQ(other.initialize(), noErr);
	ASSERT_EQ(other.restoreState(again), noErr);
	CFPropertyListRef third = other.saveState();
	EXPECT_EQ(xmlOf(third), xmlOf(again));
	CFRelease(third);
	CFRelease(again);
	CFRelease(old);
}

// A host's property sweep: every property the instrument says it has in the global scope can be read, before
// and after initialisation.
TEST_F(BadInput, EveryPropertyOfferedCanBeRead)
{
	Instance instance;
	std::vector<AudioUnitPropertyID> ids;
	for (AudioUnitPropertyID id = 0; id < 64; ++id)
		ids.push_back(id);
	ids.insert(ids.end(), {1000, 1006, 70000, 70001});
	for (bool initialised : {false, true})
	{
		if (initialised)
		{
			ASSERT_EQ(instance.initialize(), noErr);
		}
		for (AudioUnitPropertyID id : ids)
		{
			UInt32 size = 0;
			Boolean writable = false;
			if (AudioUnitGetPropertyInfo(instance.unit(), id, kAudioUnitScope_Global, 0, &size, &writable) != noErr)
				continue;
			// Saving and parameter records need an initialised unit; the host is told so (-10867). A clump's
			// name is asked for a clump, and no parameter has one.
			if ((!initialised && (id == kAudioUnitProperty_ClassInfo || id == kAudioUnitProperty_ParameterInfo)) ||
				id == kAudioUnitProperty_ParameterClumpName)
				continue;
			std::vector<uint8_t> value(std::max<UInt32>(size, 8) + 64);
			UInt32 got = UInt32(value.size());
			if (id == kAudioUnitProperty_ParameterStringFromValue)
				reinterpret_cast<AudioUnitParameterStringFromValue*>(value.data())->inParamID = 0;
			EXPECT_EQ(AudioUnitGetProperty(instance.unit(), id, kAudioUnitScope_Global, 0, value.data(), &got), noErr)
				<< "property " << id << (initialised ? " after" : " before") << " initialisation";
			EXPECT_EQ(got, size) << id;
			// Whatever the host is handed to own, it releases.
			auto first = *reinterpret_cast<CFTypeRef*>(value.data());
			if (id == kAudioUnitProperty_ClassInfo || id == kAudioUnitProperty_FactoryPresets ||
				id == kAudioUnitProperty_MIDIOutputCallbackInfo || id == kAudioUnitProperty_ContextName ||
				id == kAudioUnitProperty_NickName)
			{
				if (first)
					CFRelease(first);
			}
			else if (id == kAudioUnitProperty_CocoaUI)
			{
				auto* view = reinterpret_cast<AudioUnitCocoaViewInfo*>(value.data());
				CFRelease(view->mCocoaAUViewBundleLocation);
				CFRelease(view->mCocoaAUViewClass[0]);
			}
			else if (id == kAudioUnitProperty_PresentPreset)
			{
				CFRelease(reinterpret_cast<AUPreset*>(value.data())->presetName);
			}
			else if (id == kAudioUnitProperty_ParameterInfo)
			{
				CFRelease(reinterpret_cast<AudioUnitParameterInfo*>(value.data())->cfNameString);
			}
			else if (id == kAudioUnitProperty_ParameterStringFromValue)
			{
				CFRelease(reinterpret_cast<AudioUnitParameterStringFromValue*>(value.data())->outString);
			}
		}
	}
}
