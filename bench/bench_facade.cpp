// Cost of the facade's render call with and without queued MIDI, and of setting a parameter from
// another thread while the render thread holds the engine.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "MidiEvents.h"
#include "QuietPluginListener.h"
#include "synth/Plugin.h"

using namespace zentlib;

namespace
{
constexpr size_t Frames = 512;

struct Rig
{
	Rig() : plugin(std::make_unique<Plugin>(&listener)), left(Frames), right(Frames)
	{
		plugin->setSampleRate(44100.0f);
	}

	void render()
	{
		float* outputs[2] = {left.data(), right.data()};
		plugin->process(outputs, Frames);
		benchmark::DoNotOptimize(left.data());
	}

	QuietPluginListener listener;
	std::unique_ptr<Plugin> plugin;
	std::vector<float> left, right;
};

// One block of 512 frames at 44.1 kHz; the argument is the number of voices held.
void BM_PluginProcessEmptyQueue(benchmark::State& state)
{
	Rig rig;
	for (int64_t v = 0; v < state.range(0); ++v)
		rig.plugin->addMidiEvent(midiEvent(0x90, static_cast<uint8_t>(48 + v), 100, 0));
	rig.render();
	for (auto _ : state)
		rig.render();
	state.SetItemsProcessed(state.iterations() * Frames);
}
BENCHMARK(BM_PluginProcessEmptyQueue)->Arg(0)->Arg(1)->Arg(8);

// A hundred controller, bend and pressure messages queued for every block, the queuing included.
void BM_PluginProcess100Events(benchmark::State& state)
{
	Rig rig;
	for (int64_t v = 0; v < state.range(0); ++v)
		rig.plugin->addMidiEvent(midiEvent(0x90, static_cast<uint8_t>(48 + v), 100, 0));
	for (auto _ : state)
	{
		for (uint32_t k = 0; k < 100; ++k)
		{
			const uint32_t offset = static_cast<uint32_t>(k * Frames / 100);
			const uint8_t value = static_cast<uint8_t>(k);
			switch (k % 3)
			{
			case 0: rig.plugin->addMidiEvent(midiEvent(0xB0, 1, value, offset)); break;
			case 1: rig.plugin->addMidiEvent(midiEvent(0xE0, 0, value, offset)); break;
			default: rig.plugin->addMidiEvent(midiEvent(0xD0, value, 0, offset)); break;
			}
		}
		rig.render();
	}
	state.SetItemsProcessed(state.iterations() * Frames);
}
BENCHMARK(BM_PluginProcess100Events)->Arg(0)->Arg(8);

// Host automation from the main thread while another thread renders blocks back to back; the
// argument is the number of voices, which lengthens the time the render thread holds the engine.
void BM_PluginSetParameterWhileRendering(benchmark::State& state)
{
	Rig rig;
	for (int64_t v = 0; v < state.range(0); ++v)
		rig.plugin->addMidiEvent(midiEvent(0x90, static_cast<uint8_t>(48 + v), 100, 0));
	std::atomic<bool> stop{false};
	std::atomic<int64_t> blocks{0};
	std::thread render([&] {
		while (!stop)
		{
			rig.render();
			++blocks;
		}
	});

	float value = 0.25f;
	for (auto _ : state)
	{
		value = value == 0.25f ? 0.75f : 0.25f;
		benchmark::DoNotOptimize(rig.plugin->setParameter(Param_SourceMix12, value));
	}
	stop = true;
	render.join();
	state.counters["blocks"] = static_cast<double>(blocks.load());
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PluginSetParameterWhileRendering)->Arg(0)->Arg(8)->UseRealTime();
}
