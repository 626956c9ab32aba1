#include "AuHost.h"

#include "LogCapture.h"
#include "synth/Sysex.h"

#include <atomic>
#include <thread>

using namespace auhost;

namespace
{
class Threads : public AuTest
{
};
}

// The host's render thread renders and automates while its main thread reads display texts and values and
// swaps the MIDI output callback, and a third thread plays notes: every reply reaches exactly one callback.
TEST_F(Threads, AutomationAndMidiOutputWhileTheMainThreadReadsAndReconnects)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	MidiOutCapture first, second;
	instance.connectMidiOut(first);

	std::vector<uint8_t> request;
	ASSERT_TRUE(zentlib::Sysex::writeMachineIdRequest(request, 0));
	constexpr int kBlocks = 300;
	std::atomic<int> blocksDone{0};
	LogCapture quiet; // automation logs one line per value

	std::thread render([&] {
		std::vector<float> left, right;
		for (int block = 0; block < kBlocks; ++block)
		{
			const float value = float(block % 50) / 50.f;
			EXPECT_EQ(AudioUnitSetParameter(instance.unit(), AudioUnitParameterID(block % 109), kAudioUnitScope_Global, 0,
						  value, 0),
				noErr);
			EXPECT_EQ(instance.sysex(request), noErr);
			EXPECT_EQ(instance.render(256, left, right), noErr);
			++blocksDone;
		}
	});
	// Both other threads keep pace with the renderer, a round per block, so the queues stay small.
	auto waitForBlock = [&](int block) {
		while (blocksDone < block)
			std::this_thread::yield();
	};
	std::thread player([&] {
		for (int note = 0; note < kBlocks; ++note)
		{
			waitForBlock(note);
			instance.midi(0x90, UInt8(48 + note % 24), 100);
			instance.midi(0x80, UInt8(48 + (note + 12) % 24), 0);
		}
	});

	for (int round = 0; round < kBlocks; ++round)
	{
		waitForBlock(round);
		for (AudioUnitParameterID id : {10u, 39u, 107u})
		{
			EXPECT_FALSE(instance.parameterText(id).empty());
			instance.parameter(id);
		}
		instance.connectMidiOut(round % 2 ? second : first);
	}
	render.join();
	player.join();

	EXPECT_EQ(first.packets().size() + second.packets().size(), size_t(kBlocks));
	for (const auto* capture : {&first, &second})
		for (const SentPacket& packet : capture->packets())
			EXPECT_EQ(packet.bytes.size(), 7u);
}
