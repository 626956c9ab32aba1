#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "MidiEvents.h"

using namespace VSTGUI;
using namespace zentlib;

namespace
{
std::string shownName(const SinglePreset& single)
{
	std::string name(single.name, strnlen(single.name, sizeof(single.name)));
	while (!name.empty() && name.back() == ' ')
		name.pop_back();
	return name;
}
}

// The render thread plays notes, changes programs and automates while a person edits in the open window;
// the facade reports every change from the thread that caused it, and the views follow on the main thread.
TEST(EditorThreads, ChangesFromTheRenderThreadReachTheViewsOnTheMainThread)
{
	EditorHarness h;
	h.click("btModeEdit");
	h.click("btEditSourceA");

	std::atomic<bool> rendering{true};
	std::atomic<int> blocks{0};
	std::thread render([&] {
		std::vector<float> left(256), right(256);
		float* outputs[2] = {left.data(), right.data()};
		for (int block = 0; rendering.load(); ++block)
		{
			h.plugin.setParameter(Param_Volume, static_cast<float>(block % 100) / 100.f);
			h.plugin.setParameter(Param_SourceS1EnvLevel, static_cast<float>(block % 64) / 63.f);
			if (block % 40 == 0)
				h.plugin.addMidiEvent(midiEvent(0xC0, static_cast<uint8_t>(block / 40 % 64), 0));
			if (block % 8 == 0)
				h.plugin.addMidiEvent(midiEvent(0x90, static_cast<uint8_t>(48 + block % 24), 100));
			h.plugin.process(outputs, left.size());
			blocks.store(block + 1);
			// A host's render thread waits for the next buffer between blocks; without that pause it would
			// hold the engine lock almost all the time and starve the window (for minutes under a sanitizer).
			std::this_thread::sleep_for(std::chrono::microseconds(200));
		}
	});

	for (int i = 0; i < 150 || blocks.load() < 200; ++i)
	{
		h.click(i % 2 ? "btWaveInc" : "btWaveDec");
		h.click("Param_SourceS2Mute");
		h.runFor(20);
		h.frame().idle();
		h.window().redraw();
	}
	rendering = false;
	render.join();
	h.runFor(50);

	EXPECT_FLOAT_EQ(h.viewAs<CAnimKnob>("Param_Volume")->getValueNormalized(), h.parameter(Param_Volume));
	EXPECT_FLOAT_EQ(h.viewAs<CAnimKnob>("Param_SourceS1EnvLevel")->getValueNormalized(),
	                h.parameter(Param_SourceS1EnvLevel));
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_SourceS1Wave")->getEntry(0)->getTitle().getString(),
	          g_params[Param_SourceS1Wave].formatValue(Param_SourceS1Wave, h.nativeParameter(Param_SourceS1Wave)));
	EXPECT_EQ(h.viewAs<CTextEdit>("editSingleName")->getText().getString(), shownName(h.plugin.getCurrentSingle()));
}
