#include "AuHost.h"

#include "LogCapture.h"

#include <CoreServices/Components.h>

#include <algorithm>

// Where the Component Manager keeps the object an entry point opened.
extern "C" void SetComponentInstanceStorage(ComponentInstance instance, void* storage);
extern "C" void* GetComponentInstanceStorage(ComponentInstance instance);

using namespace auhost;

namespace
{
class Lifecycle : public AuTest
{
};

std::vector<std::string> without(std::vector<std::string> texts, const std::string& prefix)
{
	texts.erase(std::remove_if(texts.begin(), texts.end(), [&](const std::string& t) { return t.rfind(prefix, 0) == 0; }),
		texts.end());
	return texts;
}

AudioStreamBasicDescription canonical(double rate, UInt32 channels)
{
	AudioStreamBasicDescription format{};
	format.mSampleRate = rate;
	format.mFormatID = kAudioFormatLinearPCM;
	format.mFormatFlags = kAudioFormatFlagsAudioUnitCanonical;
	format.mBytesPerPacket = 4;
	format.mFramesPerPacket = 1;
	format.mBytesPerFrame = 4;
	format.mChannelsPerFrame = channels;
	format.mBitsPerChannel = 32;
	return format;
}

OSStatus setFormat(AudioUnit unit, AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& format)
{
	return AudioUnitSetProperty(unit, kAudioUnitProperty_StreamFormat, scope, element, &format, sizeof format);
}
}

TEST_F(Lifecycle, LifecycleLogsInOrderAndTheFacadeSurvivesCleanup)
{
	std::vector<std::string> texts;
	{
		LogCapture log;
		{
			Instance instance;
			instance.initialize(48000);
			AudioUnitUninitialize(instance.unit());
			AudioUnitInitialize(instance.unit());
		}
		texts = log.texts();
	}
	texts = without(without(texts, "AU: GetPropertyInfo"), "Invalid vibrato wheel mode");
	EXPECT_EQ(texts,
		(std::vector<std::string>{"AudioUnit constructed", "AU: Changing stream format, new samplerate = 48000",
			"Initializing plugin", "Setting samplerate to 48000", "Cleanup", "Setting samplerate to 48000", "Cleanup",
			"AudioUnit being destroyed"}));
}

TEST_F(Lifecycle, ComponentManagerEntryOpensAndServesTheInstrument)
{
	using Entry = OSStatus (*)(ComponentParameters*, void*);
	auto entry = reinterpret_cast<Entry>(pluginSymbol("auPluginEntry"));
	ASSERT_NE(entry, nullptr);
	auto call = [&](SInt16 what, void* object) {
		ComponentParameters params{};
		params.what = what;
		return entry(&params, object);
	};

	// Any distinct pointer serves as the instance: the dispatcher only keeps the object under it.
	int token = 0;
	auto ci = reinterpret_cast<AudioComponentInstance>(&token);
	ComponentParameters open{};
	open.what = kComponentOpenSelect;
	open.params[0] = reinterpret_cast<long>(ci);
	ASSERT_EQ(entry(&open, nullptr), noErr);
	void* object = GetComponentInstanceStorage(ci);
	ASSERT_NE(object, nullptr);
	EXPECT_EQ(call(kComponentVersionSelect, object), 0x00010101);
	EXPECT_EQ(call(kAudioUnitInitializeSelect, object), noErr);
	EXPECT_EQ(call(kComponentCloseSelect, object), noErr);
	SetComponentInstanceStorage(ci, nullptr);
}

TEST_F(Lifecycle, StreamFormatsAcceptedAndRefused)
{
	Instance instance;
	const AudioUnit unit = instance.unit();
	EXPECT_EQ(setFormat(unit, kAudioUnitScope_Output, 0, canonical(48000, 2)), noErr);
	EXPECT_EQ(setFormat(unit, kAudioUnitScope_Output, 0, canonical(48000, 1)), kAudioUnitErr_FormatNotSupported);
	EXPECT_EQ(setFormat(unit, kAudioUnitScope_Input, 0, canonical(48000, 2)), noErr);
	EXPECT_EQ(setFormat(unit, kAudioUnitScope_Input, 0, canonical(48000, 1)), kAudioUnitErr_FormatNotSupported);
	AudioStreamBasicDescription interleaved = canonical(48000, 2);
	interleaved.mFormatFlags = kAudioFormatFlagsCanonical;
	interleaved.mBytesPerFrame = interleaved.mBytesPerPacket = 8;
	EXPECT_EQ(setFormat(unit, kAudioUnitScope_Output, 0, interleaved), kAudioUnitErr_FormatNotSupported);
	EXPECT_NE(setFormat(unit, kAudioUnitScope_Output, 1, canonical(48000, 2)), noErr);

	UInt32 size = 0;
	Boolean writable = false;
	ASSERT_EQ(AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, &size,
				  &writable),
		noErr);
	ASSERT_EQ(size, 2 * sizeof(AUChannelInfo));
	AUChannelInfo channels[2] = {};
	ASSERT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, channels, &size),
		noErr);
	EXPECT_EQ(channels[0].inChannels, 0);
	EXPECT_EQ(channels[0].outChannels, 2);
	EXPECT_EQ(channels[1].inChannels, 2);
	EXPECT_EQ(channels[1].outChannels, 2);

	ASSERT_EQ(instance.initialize(48000), noErr);
	// Still writable while initialised: the engine follows the new rate at once, whichever scope carries it.
	std::vector<std::string> texts;
	{
		LogCapture log;
		setFormat(unit, kAudioUnitScope_Input, 0, canonical(22050, 2));
		texts = log.texts();
	}
	EXPECT_NE(std::find(texts.begin(), texts.end(), "AU: Changing stream format, new samplerate = 22050"), texts.end());
	std::vector<float> left, right;
	EXPECT_EQ(instance.render(512, left, right), noErr);
}

TEST_F(Lifecycle, NotesPlayAfterInitialisationOnly)
{
	Instance instance;
	std::vector<float> left, right;
	EXPECT_EQ(instance.midi(0x90, 60, 100), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(instance.sysex({0xF0, 0x40, 0x00, 0x00, 0xF7}), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(instance.render(512, left, right), kAudioUnitErr_Uninitialized);

	ASSERT_EQ(instance.initialize(), noErr);
	EXPECT_EQ(instance.sysex({}), noErr);
	instance.renderInto(4096, 512, left, right);
	EXPECT_EQ(rms(left), 0.0);

	left.clear();
	right.clear();
	EXPECT_EQ(instance.midi(0x90, 60, 100, 256), noErr);
	instance.renderInto(8192, 512, left, right);
	EXPECT_EQ(rms(left, 0, 256), 0.0) << "the note starts at its frame";
	EXPECT_GT(rms(left, 512), 1e-3);
	EXPECT_GT(rms(right, 512), 1e-3);

	// A Global reset keeps held notes sounding; an Output reset does nothing at all.
	EXPECT_EQ(AudioUnitReset(instance.unit(), kAudioUnitScope_Global, 0), noErr);
	EXPECT_EQ(AudioUnitReset(instance.unit(), kAudioUnitScope_Output, 0), noErr);
	std::vector<float> after, afterRight;
	instance.renderInto(2048, 512, after, afterRight);
	EXPECT_GT(rms(after), 1e-3);
}

TEST_F(Lifecycle, ProgramChangeBeforeTheFirstRenderTakesEffectInTheFirstBlock)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	ASSERT_EQ(instance.midi(0xC0, 5, 0, 100), noErr);
	EXPECT_NE(instance.presentPresetNumber(), 5) << "queued, not applied";
	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);
	EXPECT_EQ(instance.presentPresetNumber(), 5);
}

TEST_F(Lifecycle, CleanupKeepsTheSound)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	ASSERT_EQ(instance.midi(0xC0, 9, 0), noErr);
	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);
	const float volume = instance.parameter(10);

	ASSERT_EQ(AudioUnitUninitialize(instance.unit()), noErr);
	ASSERT_EQ(instance.initialize(), noErr);
	EXPECT_EQ(instance.presentPresetNumber(), 9);
	EXPECT_EQ(instance.parameter(10), volume);
}
