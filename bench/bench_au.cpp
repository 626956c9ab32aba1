// One host block through AudioUnitRender against the engine's own process for the same block: the difference
// is what the instrument's Audio Unit layer (and the base classes' buffer handling) costs.

#include <AudioUnit/AudioUnit.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include "QuietPluginListener.h"
#include "synth/Plugin.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
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

void audioUnitRender(benchmark::State& state)
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

	std::vector<float> left(kFrames), right(kFrames);
	std::vector<unsigned char> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	auto* buffers = reinterpret_cast<AudioBufferList*>(storage.data());
	AudioTimeStamp time{};
	time.mFlags = kAudioTimeStampSampleTimeValid;
	for (auto _ : state)
	{
		buffers->mNumberBuffers = 2;
		buffers->mBuffers[0] = {1, kFrames * 4, left.data()};
		buffers->mBuffers[1] = {1, kFrames * 4, right.data()};
		AudioUnitRenderActionFlags flags = 0;
		AudioUnitRender(unit, &flags, &time, 0, kFrames, buffers);
		time.mSampleTime += kFrames;
		benchmark::DoNotOptimize(left.data());
	}
	AudioComponentInstanceDispose(unit);
}
}

BENCHMARK(engineProcess)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(audioUnitRender)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
