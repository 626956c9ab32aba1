// One host block through AudioUnitRender against the engine's own process for the same block: the difference
// is what the instrument's Audio Unit layer (and the base classes' buffer handling) costs. And the factory-preset
// list as the main thread reads it while the render thread renders back to back, as in an offline bounce.

#include <AudioUnit/AudioUnit.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include "QuietPluginListener.h"
#include "synth/Plugin.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace
{
constexpr UInt32 kFrames = 512;
constexpr double kRate = 44100.0;

// The same chord in both: program 20 and four held notes.
const UInt8 kChord[] = {48, 55, 60, 64};

AudioComponent loadComponent()
{
	void* module = dlopen(VIREL_COMPONENT_BUNDLE "/Contents/MacOS/Virel", RTLD_NOW | RTLD_LOCAL);
	void* factory = module ? dlsym(module, "auPluginFactory") : nullptr;
	if (!factory)
	{
		std::fprintf(stderr, "cannot load the instrument: %s\n", dlerror());
		std::exit(1);
	}
	AudioComponentDescription desc = {0x61756D75, 0x7652656C, 0x56656E7A, 0, 0};
	return AudioComponentRegister(
		&desc, CFSTR("Venz: Virel"), 0x10101, reinterpret_cast<AudioComponentFactoryFunction>(factory));
}

void engineProcess(benchmark::State& state)
{
	QuietPluginListener listener;
	zentlib::Plugin plugin(&listener);
	plugin.setSampleRate(float(kRate));
	zentlib::SMidiEvent program;
	program.status = 0xC0;
	program.data1 = 20;
	plugin.addMidiEvent(program);
	for (UInt8 note : kChord)
	{
		zentlib::SMidiEvent on;
		on.status = 0x90;
		on.data1 = note;
		on.data2 = 100;
		plugin.addMidiEvent(on);
	}
	std::vector<float> left(kFrames), right(kFrames);
	float* outputs[2] = {left.data(), right.data()};
	for (auto _ : state)
	{
		plugin.process(outputs, kFrames);
		benchmark::DoNotOptimize(left.data());
	}
}

// An initialised instance playing the chord.
AudioUnit playingUnit()
{
	static AudioComponent component = loadComponent();
	AudioUnit unit = nullptr;
	AudioComponentInstanceNew(component, &unit);
	Float64 rate = kRate;
	AudioUnitSetProperty(unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate, sizeof rate);
	AudioUnitInitialize(unit);
	MusicDeviceMIDIEvent(unit, 0xC0, 20, 0, 0);
	for (UInt8 note : kChord)
		MusicDeviceMIDIEvent(unit, 0x90, note, 100, 0);
	return unit;
}

// Renders blocks of kFrames into its own buffers, one after the other.
class BlockRenderer
{
public:
	explicit BlockRenderer(AudioUnit unit) : m_unit(unit), m_left(kFrames), m_right(kFrames)
	{
		m_time.mFlags = kAudioTimeStampSampleTimeValid;
	}

	void render()
	{
		auto* buffers = reinterpret_cast<AudioBufferList*>(m_storage.data());
		buffers->mNumberBuffers = 2;
		buffers->mBuffers[0] = {1, kFrames * 4, m_left.data()};
		buffers->mBuffers[1] = {1, kFrames * 4, m_right.data()};
		AudioUnitRenderActionFlags flags = 0;
		AudioUnitRender(m_unit, &flags, &m_time, 0, kFrames, buffers);
		m_time.mSampleTime += kFrames;
		benchmark::DoNotOptimize(m_left.data());
	}

private:
	AudioUnit m_unit;
	std::vector<float> m_left, m_right;
	std::vector<unsigned char> m_storage = std::vector<unsigned char>(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	AudioTimeStamp m_time{};
};

void audioUnitRender(benchmark::State& state)
{
	AudioUnit unit = playingUnit();
	BlockRenderer renderer(unit);
	for (auto _ : state)
		renderer.render();
	AudioComponentInstanceDispose(unit);
}

// The host asks for the list on its main thread while its render thread never pauses between blocks. The mean
// is the time per list; "max_ms" the longest one the main thread waited.
void factoryPresetsWhileRenderingBackToBack(benchmark::State& state)
{
	AudioUnit unit = playingUnit();
	std::atomic<bool> stop{false};
	std::thread render([&] {
		BlockRenderer renderer(unit);
		while (!stop.load(std::memory_order_relaxed))
			renderer.render();
	});
	double longest = 0;
	for (auto _ : state)
	{
		const auto start = std::chrono::steady_clock::now();
		CFArrayRef presets = nullptr;
		UInt32 size = sizeof presets;
		AudioUnitGetProperty(unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size);
		if (presets)
			CFRelease(presets);
		longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
	}
	stop = true;
	render.join();
	state.counters["max_ms"] = longest;
	AudioComponentInstanceDispose(unit);
}
}

BENCHMARK(engineProcess)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(audioUnitRender)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(factoryPresetsWhileRenderingBackToBack)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
