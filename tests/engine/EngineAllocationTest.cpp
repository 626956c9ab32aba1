#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineTestSupport.h"
#include "QuietEngineListener.h"

using namespace zentlib;

namespace
{
SinglePreset fourSources()
{
	SinglePreset single = sineSingle();
	single.source2or4 = 1;
	single.ampModS3S4 = 1;
	for (int s = 0; s < 4; ++s)
	{
		single.mute[s] = false;
		single.sources[s].wave = static_cast<uint8_t>(s * 40);
		single.sources[s].envAttack = 30;
	}
	single.vibratoDepth = 40;
	single.lfoSpeed = 60;
	return single;
}
}

TEST(EngineAllocation, RenderingAllocatesOnlyForNewVoices)
{
	Engine engine(QuietEngineListener::instance());
	engine.setSamplerate(48000.0f);
	playSingle(engine, fourSources());

	std::vector<float> l(512), r(512);
	float* out[2] = {l.data(), r.data()};
	std::vector<SMidiEvent> events;
	for (uint8_t n = 0; n < 32; ++n)
		events.push_back(midiEvent(0x90, static_cast<uint8_t>(40 + n), 100, n));
	engine.process(out, 512, events);
	ASSERT_EQ(engine.voices.size(), 32u);
	for (int b = 0; b < 4; ++b)
	{
		events.clear();
		engine.process(out, 512, events); // the converter's buffers reach their size
	}

	// Held notes, controller moves and parameter glides: nothing is allocated.
	const long held = allocations::during([&] {
		for (int b = 0; b < 100; ++b)
		{
			events.clear();
			if (b % 10 == 0)
			{
				events.push_back(midiEvent(0xB0, 1, static_cast<uint8_t>(b)));
				events.push_back(midiEvent(0xE0, 0, static_cast<uint8_t>(b / 2)));
				events.push_back(midiEvent(0xD0, static_cast<uint8_t>(b), 0, 100));
				engine.parameters.setVSTParam(Param_SourceMix12, float(b) / 100.0f);
				engine.parameters.setVSTParam(Param_Volume, float(b) / 200.0f + 0.5f);
			}
			engine.process(out, 512, events);
		}
	});
	EXPECT_EQ(held, 0);

	// A note-on creates a voice: a few allocations for it, none per sample.
	const long noteOn = allocations::during([&] {
		events.assign(1, midiEvent(0x90, 100, 100, 10));
		engine.process(out, 512, events);
		for (int b = 0; b < 20; ++b)
		{
			events.clear();
			engine.process(out, 512, events);
		}
	});
	EXPECT_GT(noteOn, 0);
	EXPECT_LE(noteOn, 4);

	// Note-offs release the voices, which are destroyed as they finish.
	const long released = allocations::during([&] {
		events.clear();
		for (uint8_t n = 0; n < 32; ++n)
			events.push_back(midiEvent(0x80, static_cast<uint8_t>(40 + n), 64));
		for (int b = 0; b < 200 && !engine.voices.empty(); ++b)
		{
			engine.process(out, 512, events);
			events.clear();
		}
	});
	EXPECT_EQ(released, 0);
}
