#include "AuHost.h"

#include "LogCapture.h"
#include "Watchdog.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace auhost;

namespace
{
using Closing = AuTest;

// A program change rendered here, which the main thread's timer announces.
void changeProgram(Instance& instance)
{
	std::vector<float> left, right;
	ASSERT_EQ(instance.midi(0xC0, 5, 0), noErr);
	ASSERT_EQ(instance.render(64, left, right), noErr);
}

// Turns the main run loop until done() holds, for a second at most.
template <class Done> void turnMainLoopUntil(Done done)
{
	for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
		 !done() && std::chrono::steady_clock::now() < end;)
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, true);
}

void listen(Instance& instance, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* refCon)
{
	ASSERT_EQ(AudioUnitAddPropertyListener(instance.unit(), id, proc, refCon), noErr);
}
}

// A listener takes its time over the timer's announcement of the current preset, and then reads it, while the host
// closes the instance on a thread of its own: the closing waits for the announcement.
TEST_F(Closing, OnAHostThreadWaitsForTheTimersAnnouncementToASlowListener)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	struct SlowListener
	{
		static void heard(void* refCon, AudioUnit unit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
		{
			auto* self = static_cast<SlowListener*>(refCon);
			self->announcing = true;
			while (!self->closing)
				std::this_thread::yield();
			std::this_thread::sleep_for(std::chrono::milliseconds(200));
			self->closedMeanwhile = self->closed.load();
			if (self->closedMeanwhile)
				return;
			AUPreset preset{};
			UInt32 size = sizeof preset;
			AudioUnitGetProperty(unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, &size);
			if (preset.presetName)
				CFRelease(preset.presetName);
		}
		std::atomic<bool> announcing{false}, closing{false}, closed{false}, closedMeanwhile{false};
	} listener;
	listen(instance, kAudioUnitProperty_CurrentPreset, SlowListener::heard, &listener);
	{
		LogCapture quiet;
		changeProgram(instance);
		Watchdog watchdog(std::chrono::seconds(20), "closing and the timer's announcement wait for each other");
		std::thread host([&] {
			while (!listener.announcing)
				std::this_thread::yield();
			listener.closing = true;
			instance.close();
			listener.closed = true;
		});
		turnMainLoopUntil([&] { return listener.closed.load(); });
		host.join();
		turnMainLoop();
	}
	EXPECT_FALSE(listener.closedMeanwhile) << "the instance was closed under its announcement";
}

// A listener closes the instance as it hears of the current preset from the timer: nothing of the closed instance
// is announced after that, and nothing touches it.
TEST_F(Closing, FromAListenerInsideTheTimersAnnouncement)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	struct ClosingListener
	{
		static void close(void* refCon, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
		{
			auto* self = static_cast<ClosingListener*>(refCon);
			self->instance.close();
			self->closed = true;
		}
		static void count(void* refCon, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
		{
			auto* self = static_cast<ClosingListener*>(refCon);
			self->heardAfterClosing += self->closed;
		}
		Instance& instance;
		bool closed = false;
		int heardAfterClosing = 0;
	} listener{instance};
	listen(instance, kAudioUnitProperty_CurrentPreset, ClosingListener::close, &listener);
	listen(instance, kAudioUnitProperty_PresentPreset, ClosingListener::count, &listener);
	{
		LogCapture quiet;
		changeProgram(instance);
		turnMainLoopUntil([&] { return listener.closed; });
		turnMainLoop();
	}
	EXPECT_TRUE(listener.closed);
	EXPECT_EQ(listener.heardAfterClosing, 0);
}
