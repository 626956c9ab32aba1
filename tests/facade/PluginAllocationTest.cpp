#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "FacadeTestSupport.h"
#include "LogCapture.h"
#include "QuietPluginListener.h"

using namespace zentlib;

namespace
{
// A hundred channel messages spread over the block: controllers, bends, pressure and releases of
// keys that are not down, none of which starts a voice. Queued latest first, so every block is sorted.
void queueBusyBlock(Plugin& plugin, uint32_t frames)
{
	for (uint32_t k = 0; k < 100; ++k)
	{
		const uint32_t offset = (99 - k) * frames / 100;
		const uint8_t value = static_cast<uint8_t>(k);
		switch (k % 4)
		{
		case 0: plugin.addMidiEvent(midiEvent(0xB0, 1, value, offset)); break;
		case 1: plugin.addMidiEvent(midiEvent(0xE0, 0, value, offset)); break;
		case 2: plugin.addMidiEvent(midiEvent(0xD0, value, 0, offset)); break;
		default: plugin.addMidiEvent(midiEvent(0x80, 100, 0, offset)); break;
		}
	}
}
}

TEST(PluginAllocation, SteadyRenderingAllocatesNothingButSysexCopies)
{
	QuietPluginListener listener;
	std::unique_ptr<Plugin> plugin;
	{
		LogCapture quiet;
		plugin = makePlugin(listener);
	}
	constexpr uint32_t frames = 512;
	std::vector<float> left(frames), right(frames);
	float* outputs[2] = {left.data(), right.data()};

	// A held note keeps a voice rendering through every block below.
	plugin->addMidiEvent(midiEvent(0x90, 60, 100));
	for (int block = 0; block < 20; ++block)
	{
		queueBusyBlock(*plugin, frames);
		plugin->process(outputs, frames);
	}

	long counted = 0;
	for (int block = 0; block < 50; ++block)
	{
		allocations::startCounting();
		plugin->process(outputs, frames);
		counted += allocations::stopCounting();
	}
	EXPECT_EQ(counted, 0) << "empty blocks";

	for (int block = 0; block < 50; ++block)
	{
		queueBusyBlock(*plugin, frames);
		allocations::startCounting();
		plugin->process(outputs, frames);
		counted += allocations::stopCounting();
	}
	EXPECT_EQ(counted, 0) << "blocks of a hundred events";

	// The counter itself works: a SysEx request is copied and answered.
	std::vector<uint8_t> request{0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x00, 0x05, 0xF7};
	plugin->addMidiEvent(sysexEvent(request, 10));
	allocations::startCounting();
	plugin->process(outputs, frames);
	EXPECT_GT(allocations::stopCounting(), 0);
}
