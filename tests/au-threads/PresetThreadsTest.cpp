#include "AuHost.h"
#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "Watchdog.h"
#include "synth/Engine.h"
#include "synth/Sysex.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

using namespace auhost;

namespace
{
using PresetThreads = AuTest;

// Repeats a host's task on a thread of its own until it goes out of scope.
std::jthread repeat(std::function<void()> task)
{
	return std::jthread([task](std::stop_token stop) {
		while (!stop.stop_requested())
			task();
	});
}

// The host's autosave thread, and an undo that restores what it saves, until they go out of scope.
struct SavingThreads
{
	explicit SavingThreads(Instance& instance)
		: autosave(repeat([&instance] { CFRelease(instance.saveState()); })), undo(repeat([&instance] {
			  CFPropertyListRef state = instance.saveState();
			  EXPECT_EQ(instance.restoreState(state), noErr);
			  CFRelease(state);
		  }))
	{
	}
	std::jthread autosave, undo;
};

// The host's main thread, turning its run loop between tasks for a while.
void onTheMainThread(const std::function<void()>& task, std::chrono::milliseconds span = std::chrono::seconds(2))
{
	for (auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end;)
	{
		task();
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.002, false);
	}
}

// A host's property listener that reads the present preset it is told of, as a host showing its name does.
struct PresetListener
{
	explicit PresetListener(AudioUnit unit)
	{
		for (AudioUnitPropertyID id : {kAudioUnitProperty_FactoryPresets, kAudioUnitProperty_CurrentPreset,
				 kAudioUnitProperty_PresentPreset})
			EXPECT_EQ(AudioUnitAddPropertyListener(unit, id, heard, this), noErr);
	}

	static void heard(void* refCon, AudioUnit unit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
	{
		auto* self = static_cast<PresetListener*>(refCon);
		++(std::this_thread::get_id() == self->renderThread.load() ? self->onTheRenderThread : self->elsewhere);
		AUPreset preset{};
		UInt32 size = sizeof preset;
		AudioUnitGetProperty(unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, &size);
		if (preset.presetName)
			CFRelease(preset.presetName);
	}

	std::atomic<std::thread::id> renderThread;
	std::atomic<int> onTheRenderThread{0};
	std::atomic<int> elsewhere{0};
};

// A host's MIDI output callback that reads the present preset and the preset list, as a host that shows which
// sound sent what it receives does.
struct ReadingMidiOut
{
	static OSStatus callback(void* refCon, const AudioTimeStamp*, UInt32, const MIDIPacketList*)
	{
		auto* self = static_cast<ReadingMidiOut*>(refCon);
		AUPreset preset{};
		UInt32 size = sizeof preset;
		AudioUnitGetProperty(self->unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, &size);
		if (preset.presetName)
			CFRelease(preset.presetName);
		CFArrayRef presets = nullptr;
		size = sizeof presets;
		AudioUnitGetProperty(self->unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size);
		if (presets)
			CFRelease(presets);
		++self->received;
		return noErr;
	}

	AudioUnit unit;
	std::atomic<int> received{0};
};

OSStatus selectPreset(Instance& instance, SInt32 number)
{
	AUPreset preset = {number, CFSTR("from the host")};
	return AudioUnitSetProperty(
		instance.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset);
}
}

// A song plays with a program change or a SysEx dump that renames a single before every block, while the host
// saves its class info on two threads, one of which restores what it saved, and a listener reads the preset.
TEST_F(PresetThreads, ProgramChangesAndSysexOnTheRenderThreadWhileHostThreadsSaveAndRestore)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	LogCapture quiet; // every switch logs the whole single
	PresetListener listener(instance.unit());
	zentlib::SinglePreset renamed = zentlib::Engine(QuietEngineListener::instance()).singles[0];
	std::memcpy(renamed.name, "Renamed   ", 10);
	std::vector<uint8_t> dump;
	ASSERT_TRUE(zentlib::Sysex::writeSingle(dump, renamed, 0, zentlib::StorageLocation::InternalLow, 0));
	{
		std::vector<float> left, right;
		int block = 0;
		auto render = repeat([&] {
			listener.renderThread = std::this_thread::get_id();
			if (++block % 2)
				instance.midi(0xC0, UInt8(block % 4), 0);
			else
				instance.sysex(dump);
			instance.render(64, left, right);
		});
		SavingThreads saving(instance);
		onTheMainThread([&] { instance.presentPresetNumber(); });
	}
	turnMainLoop();
	EXPECT_EQ(listener.onTheRenderThread, 0);
	EXPECT_GT(listener.elsewhere, 0);

	std::vector<float> left, right;
	ASSERT_EQ(instance.midi(0xC0, 0, 0), noErr);
	ASSERT_EQ(instance.sysex(dump), noErr);
	ASSERT_EQ(instance.render(64, left, right), noErr);
	EXPECT_EQ(instance.presentPresetNumber(), 0);
	EXPECT_EQ(instance.presentPresetName(), "Renamed");
}

// The host chooses presets on its main thread while its autosave thread saves and an undo restores a state in
// the background.
TEST_F(PresetThreads, PresetChoicesOnTheMainThreadWhileOthersSaveAndRestore)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	LogCapture quiet;
	CFPropertyListRef saved = instance.saveState();
	{
		auto autosave = repeat([&] { CFRelease(instance.saveState()); });
		auto undo = repeat([&] { EXPECT_EQ(instance.restoreState(saved), noErr); });
		SInt32 number = 0;
		onTheMainThread([&] {
			EXPECT_EQ(selectPreset(instance, ++number % 768), noErr);
			instance.presentPresetName();
		});
	}
	CFRelease(saved);
	ASSERT_EQ(selectPreset(instance, 300), noErr);
	EXPECT_EQ(instance.presentPresetNumber(), 300);
}

// The render thread answers a machine-ID request and a dump request in every block to a MIDI output callback that
// reads the presets, while host threads save and restore and the main thread chooses presets: all of them wait for
// the instrument's locks, and none may wait for a thread that waits for them.
TEST_F(PresetThreads, AMidiOutputCallbackReadsThePresetsWhileHostThreadsSaveRestoreAndChoose)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	LogCapture quiet;
	ReadingMidiOut midiOut{instance.unit()};
	const AUMIDIOutputCallbackStruct callback = {ReadingMidiOut::callback, &midiOut};
	ASSERT_EQ(AudioUnitSetProperty(
				  instance.unit(), kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback, sizeof callback),
		noErr);
	std::vector<uint8_t> machineId, dumpRequest;
	ASSERT_TRUE(zentlib::Sysex::writeMachineIdRequest(machineId, 0));
	ASSERT_TRUE(zentlib::Sysex::writeOneSingleRequest(dumpRequest, 0, zentlib::StorageLocation::InternalLow, 3));
	{
		Watchdog watchdog(std::chrono::seconds(20), "the MIDI output callback and the host's threads wait for each other");
		std::vector<float> left, right;
		auto render = repeat([&] {
			instance.sysex(machineId);
			instance.sysex(dumpRequest);
			instance.render(64, left, right);
		});
		SavingThreads saving(instance);
		SInt32 number = 0;
		onTheMainThread([&] { EXPECT_EQ(selectPreset(instance, ++number % 768), noErr); }, std::chrono::seconds(1));
	}
	turnMainLoop();
	EXPECT_GT(midiOut.received, 0);
}
