#include "AuHost.h"

#include "LogCapture.h"
#include "StateChunks.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"
#include "synth/Plugin.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace auhost;

namespace
{
void recordProperty(void* refCon, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
{
	static_cast<std::vector<AudioUnitPropertyID>*>(refCon)->push_back(id);
}

void* facadeOf(Instance& instance)
{
	void* facade = nullptr;
	UInt32 size = sizeof facade;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), 70000, kAudioUnitScope_Global, 0, &facade, &size), noErr);
	return facade;
}

OSStatus selectPreset(Instance& instance, SInt32 number)
{
	AUPreset preset = {number, CFSTR("from the host")};
	return AudioUnitSetProperty(
		instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset);
}

// A phrase on two notes, long enough for envelopes and glides to show.
void play(Instance& instance, std::vector<float>& left, std::vector<float>& right)
{
	instance.midi(0x90, 57, 110);
	instance.midi(0x90, 64, 90, 300);
	instance.renderInto(16384, 512, left, right);
	instance.midi(0x80, 57, 0);
	instance.midi(0x80, 64, 0);
	instance.renderInto(8192, 512, left, right);
}

class Presets : public AuTest
{
protected:
	zentlib::Engine reference{QuietEngineListener::instance()};
};

class State : public AuTest
{
};
}

TEST_F(Presets, EverySingleIsAFactoryPresetNamedByItsName)
{
	Instance instance;
	UInt32 size = 0;
	Boolean writable = false;
	EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0,
				  &size, &writable),
		kAudioUnitErr_Uninitialized);
	ASSERT_EQ(instance.initialize(), noErr);

	CFArrayRef presets = nullptr;
	size = sizeof presets;
	ASSERT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size),
		noErr);
	ASSERT_EQ(CFArrayGetCount(presets), 768);
	for (CFIndex i = 0; i < 768; ++i)
	{
		const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, i));
		EXPECT_EQ(preset->presetNumber, i);
		const char* name = reference.singles[size_t(i)].name;
		EXPECT_EQ(toString(preset->presetName), std::string(name, strnlen(name, 10)));
	}

	CFStringRef description = CFCopyDescription(presets);
	const std::string text = toString(description);
	CFRelease(description);
	const char* name = reference.singles[5].name;
	EXPECT_NE(text.find("AUPreset:\npreset number = 5\npreset name = " + std::string(name, strnlen(name, 10))),
		std::string::npos) << text.substr(0, 300);
	CFRelease(presets);
}

TEST_F(Presets, SelectingAPresetSwitchesTheSingleOnce)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	std::vector<AudioUnitPropertyID> announced;
	for (AudioUnitPropertyID id : {kAudioUnitProperty_CurrentPreset, kAudioUnitProperty_PresentPreset})
		ASSERT_EQ(AudioUnitAddPropertyListener(instance.unit(), id, recordProperty, &announced), noErr);

	EXPECT_EQ(selectPreset(instance, 5), noErr);
	// The instrument names the preset after its single and announces it; the base then announces the host's set.
	EXPECT_EQ(announced, (std::vector<AudioUnitPropertyID>{28, 36, 36}));
	AUPreset present{};
	UInt32 size = sizeof present;
	ASSERT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &present, &size),
		noErr);
	EXPECT_EQ(present.presetNumber, 5);
	const char* name = reference.singles[5].name;
	EXPECT_EQ(toString(present.presetName), std::string(name, strnlen(name, 10)));
	CFRelease(present.presetName);
	const float volume = instance.parameter(10);

	announced.clear();
	EXPECT_EQ(selectPreset(instance, 5), noErr);
	EXPECT_EQ(announced, (std::vector<AudioUnitPropertyID>{36})) << "the same single: the engine announces nothing";

	announced.clear();
	EXPECT_EQ(selectPreset(instance, 800), kAudioUnitErr_InvalidPropertyValue);
	EXPECT_TRUE(announced.empty());
	EXPECT_EQ(instance.parameter(10), volume);
	std::vector<float> left, right;
	ASSERT_EQ(instance.midi(0xC0, 5, 0), noErr);
	ASSERT_EQ(instance.render(512, left, right), noErr);
	EXPECT_TRUE(announced.empty()) << "the engine still plays single 5";
}

TEST_F(Presets, ChoicesBeforeInitialisationChangeNothing)
{
	Instance instance;
	EXPECT_EQ(selectPreset(instance, 3), noErr);
	EXPECT_EQ(facadeOf(instance), nullptr);
	ASSERT_EQ(instance.initialize(), noErr);
	AUPreset unnamed = {-1, nullptr};
	EXPECT_EQ(AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &unnamed,
				  sizeof unnamed),
		kAudioUnitErr_InvalidPropertyValue);
	AUPreset custom = {-1, CFSTR("mine")};
	EXPECT_EQ(AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &custom,
				  sizeof custom),
		noErr);
}

TEST_F(State, SavingNeedsAnInitialisedUnit)
{
	Instance instance;
	OSStatus status = noErr;
	CFPropertyListRef state = instance.saveState(&status);
	EXPECT_EQ(status, kAudioUnitErr_Uninitialized);
	EXPECT_EQ(state, nullptr);

	ASSERT_EQ(instance.initialize(), noErr);
	state = instance.saveState(&status);
	ASSERT_EQ(status, noErr);
	EXPECT_FALSE(chunkOf(state).empty());
	CFRelease(state);

	ASSERT_EQ(AudioUnitUninitialize(instance.unit()), noErr);
	state = instance.saveState(&status);
	EXPECT_EQ(status, kAudioUnitErr_Uninitialized);
	EXPECT_EQ(state, nullptr);
}

TEST_F(State, StateWithoutEngineDataIsRefusedAndLogged)
{
	CFPropertyListRef state;
	{
		Instance source;
		ASSERT_EQ(source.initialize(), noErr);
		state = source.saveState();
	}
	auto* dictionary = static_cast<CFMutableDictionaryRef>(const_cast<void*>(state));
	CFDictionaryRemoveValue(dictionary, CFSTR("vRel_chunk"));

	Instance instance;
	std::vector<std::string> texts;
	{
		LogCapture log;
		EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
		CFDictionarySetValue(dictionary, CFSTR("vRel_chunk"), CFSTR("not data"));
		EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
		texts = log.texts();
	}
	EXPECT_EQ(facadeOf(instance), nullptr);
	EXPECT_EQ(instance.presentPresetNumber(), -1) << "the base class's values are not restored either";
	EXPECT_EQ(texts, (std::vector<std::string>{"AU: RestoreState",
						 "AU: RestoreState refused: the state has no engine data under \"vRel_chunk\"", "AU: RestoreState",
						 "AU: RestoreState refused: the engine data under \"vRel_chunk\" is not a data object"}));

	// The base refuses a dictionary of another component before anything of the engine is touched.
	SInt32 other = 0x6F746872;
	CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &other);
	CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(state)), CFSTR("subtype"), number);
	CFRelease(number);
	setChunk(state, {1, 2, 3});
	EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
	EXPECT_EQ(facadeOf(instance), nullptr);
	CFRelease(state);
}

TEST_F(State, StateThroughAnAupresetFileGivesTheSameAudio)
{
	const std::string path = ::testing::TempDir() + "virel-state.aupreset";
	CFPropertyListRef saved;
	{
		Instance source;
		ASSERT_EQ(source.initialize(), noErr);
		ASSERT_EQ(selectPreset(source, 7), noErr);
		ASSERT_EQ(AudioUnitSetParameter(source.unit(), 10, kAudioUnitScope_Global, 0, 0.4f, 0), noErr);
		std::vector<float> left, right;
		source.renderInto(16384, 512, left, right);
		saved = source.saveState();
		ASSERT_NE(saved, nullptr);
		CFDataRef xml = CFPropertyListCreateData(nullptr, saved, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
		std::ofstream(path, std::ios::binary)
			.write(reinterpret_cast<const char*>(CFDataGetBytePtr(xml)), CFDataGetLength(xml));
		CFRelease(xml);
	}
	std::ifstream file(path, std::ios::binary);
	const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
	CFDataRef data = CFDataCreate(nullptr, bytes.data(), CFIndex(bytes.size()));
	CFPropertyListRef loaded = CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
	CFRelease(data);
	std::remove(path.c_str());
	ASSERT_NE(loaded, nullptr);
	EXPECT_EQ(chunkOf(loaded), chunkOf(saved));

	// One instance restored from the file before it is initialised, one from memory after: both sound alike,
	// and unlike an instrument left as it starts.
	std::vector<float> fromFile[2], fromMemory[2], untouched[2];
	{
		Instance instance;
		ASSERT_EQ(instance.restoreState(loaded), noErr);
		EXPECT_NE(facadeOf(instance), nullptr) << "the engine chunk creates the facade";
		ASSERT_EQ(instance.initialize(), noErr);
		EXPECT_EQ(instance.presentPresetNumber(), 7);
		EXPECT_NEAR(instance.parameter(10), 0.4f, 0.011f) << "as the engine keeps it: on a step of the parameter";
		play(instance, fromFile[0], fromFile[1]);
	}
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(), noErr);
		ASSERT_EQ(instance.restoreState(saved), noErr);
		play(instance, fromMemory[0], fromMemory[1]);
	}
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(), noErr);
		play(instance, untouched[0], untouched[1]);
	}
	EXPECT_GT(rms(fromFile[0]), 1e-3);
	EXPECT_EQ(fromFile[0], fromMemory[0]);
	EXPECT_EQ(fromFile[1], fromMemory[1]);
	EXPECT_NE(fromFile[0], untouched[0]);
	CFRelease(loaded);
	CFRelease(saved);
}

TEST_F(State, EditorBlockComesBackUnchangedWhileNoEditorExists)
{
	StateCodec codec;
	CFPropertyListRef state;
	{
		Instance source;
		ASSERT_EQ(source.initialize(), noErr);
		state = source.saveState();
	}
	EXPECT_TRUE(codec.editorBlockOf(chunkOf(state)).empty()) << "nothing was ever restored";

	const Bytes window = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x05, 0, 0, 0xD0, 0x02, 0, 0};
	const Bytes odd = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
	for (const Bytes& block : {window, odd})
	{
		setChunk(state, codec.stateWithEditorBlock(block));
		Instance instance;
		ASSERT_EQ(instance.restoreState(state), noErr);
		ASSERT_EQ(instance.initialize(), noErr);
		CFPropertyListRef again = instance.saveState();
		EXPECT_EQ(codec.editorBlockOf(chunkOf(again)), block);
		CFRelease(again);
	}
	CFRelease(state);
}

// A song opened before the instrument is initialised: the restore is announced as any restore is, and a state
// the engine refuses leaves the instance presenting the single it plays, so it saves and restores as a fresh one.
TEST_F(State, RestoreBeforeInitialisationAnnouncesAsAnyRestoreAndARefusedOneKeepsTheFreshPreset)
{
	CFPropertyListRef state;
	{
		Instance source;
		ASSERT_EQ(source.initialize(), noErr);
		state = source.saveState();
	}
	{
		Instance instance;
		std::vector<AudioUnitPropertyID> announced;
		for (AudioUnitPropertyID id : {kAudioUnitProperty_CurrentPreset, kAudioUnitProperty_PresentPreset})
			ASSERT_EQ(AudioUnitAddPropertyListener(instance.unit(), id, recordProperty, &announced), noErr);
		ASSERT_EQ(instance.restoreState(state), noErr);
		ASSERT_EQ(instance.initialize(), noErr);
		EXPECT_EQ(announced, (std::vector<AudioUnitPropertyID>{36, 28, 36})) << "the base's restore, then the switch";
	}

	const Bytes chunk = chunkOf(state);
	setChunk(state, Bytes(chunk.begin(), chunk.begin() + 600));
	Instance instance;
	EXPECT_EQ(instance.restoreState(state), kAudioUnitErr_InvalidPropertyValue);
	ASSERT_EQ(instance.initialize(), noErr);
	EXPECT_EQ(instance.presentPresetNumber(), 0);
	CFPropertyListRef first = instance.saveState();
	ASSERT_EQ(instance.restoreState(first), noErr);
	CFPropertyListRef second = instance.saveState();
	EXPECT_EQ(xmlOf(second), xmlOf(first));
	CFRelease(second);
	CFRelease(first);
	CFRelease(state);
}

// A record pads a name with blanks, so a name read back never ends in one: a SysEx edit that leaves one at the
// end ("Grand Pn ") names the preset without it, and save, restore and save give the same bytes.
TEST_F(State, ANameEndingInABlankSavesAsItReadsBack)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	const uint8_t name[10] = {'G', 'r', 'a', 'n', 'd', ' ', 'P', 'n', ' ', 0};
	for (uint8_t place = 0; place < 10; ++place)
		ASSERT_EQ(instance.sysex({0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, uint8_t(4 + place), 0x00, name[place], 0xF7}), noErr);
	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);

	CFPropertyListRef first = instance.saveState();
	EXPECT_EQ(instance.presentPresetName(), "Grand Pn");
	ASSERT_EQ(instance.restoreState(first), noErr);
	CFPropertyListRef second = instance.saveState();
	EXPECT_EQ(xmlOf(second), xmlOf(first));
	CFRelease(second);
	CFRelease(first);
}
