// One host block through AudioUnitRender against the engine's own process for the same block: the difference
// is what the instrument's Audio Unit layer (and the base classes' buffer handling) costs. The factory-preset
// list as the main thread reads it while the render thread renders back to back, as in an offline bounce. And
// how long render calls take while the host autosaves.

#include <AudioUnit/AudioUnit.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>

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

// Renders blocks of the given size (kFrames unless told) into its own buffers, one after the other.
class BlockRenderer
{
public:
	explicit BlockRenderer(AudioUnit unit, UInt32 frames = kFrames)
		: m_unit(unit), m_frames(frames), m_left(frames), m_right(frames)
	{
		m_time.mFlags = kAudioTimeStampSampleTimeValid;
	}

	void render()
	{
		auto* buffers = reinterpret_cast<AudioBufferList*>(m_storage.data());
		buffers->mNumberBuffers = 2;
		buffers->mBuffers[0] = {1, m_frames * 4, m_left.data()};
		buffers->mBuffers[1] = {1, m_frames * 4, m_right.data()};
		AudioUnitRenderActionFlags flags = 0;
		AudioUnitRender(m_unit, &flags, &m_time, 0, m_frames, buffers);
		m_time.mSampleTime += m_frames;
		benchmark::DoNotOptimize(m_left.data());
	}

private:
	AudioUnit m_unit;
	UInt32 m_frames;
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

using Clock = std::chrono::steady_clock;

struct Span
{
	Clock::time_point start, end;
	double micros() const { return std::chrono::duration<double, std::micro>(end - start).count(); }
};

// The value below which the given share of the values lie (nearest rank).
double percentile(std::vector<double> values, double share)
{
	if (values.empty())
		return 0;
	std::sort(values.begin(), values.end());
	return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

// The longest of the calls (in start order) that began inside [from, to).
double longestBeganIn(const std::vector<Span>& calls, Clock::time_point from, Clock::time_point to)
{
	auto first = std::lower_bound(calls.begin(), calls.end(), from, [](const Span& s, Clock::time_point t) { return s.start < t; });
	double longest = 0;
	for (auto call = first; call != calls.end() && call->start < to; ++call)
		longest = std::max(longest, call->micros());
	return longest;
}

// Hosts render at a real-time priority: the render thread gets one core to itself and that priority (when the
// system allows it), and the calling thread the other cores, so that the figures show the waits the instrument
// makes, not those a busy machine makes. Undone as it goes out of scope.
class RealtimeRender
{
public:
	explicit RealtimeRender(std::thread& render)
	{
		const int renderCore = int(std::thread::hardware_concurrency()) - 1;
		if (renderCore < 1 || pthread_getaffinity_np(pthread_self(), sizeof m_callerCores, &m_callerCores) != 0)
			return;
		cpu_set_t one, others;
		CPU_ZERO(&one);
		CPU_SET(renderCore, &one);
		others = m_callerCores;
		CPU_CLR(renderCore, &others);
		const sched_param priority{20};
		granted = pthread_setaffinity_np(render.native_handle(), sizeof one, &one) == 0 &&
			pthread_setaffinity_np(pthread_self(), sizeof others, &others) == 0 &&
			pthread_setschedparam(render.native_handle(), SCHED_FIFO, &priority) == 0;
		m_restore = true;
	}
	~RealtimeRender()
	{
		if (m_restore)
			pthread_setaffinity_np(pthread_self(), sizeof m_callerCores, &m_callerCores);
	}
	RealtimeRender(const RealtimeRender&) = delete;
	RealtimeRender& operator=(const RealtimeRender&) = delete;

	bool granted = false;

private:
	cpu_set_t m_callerCores;
	bool m_restore = false;
};

// A host autosaves the class info every 20 ms while its render thread renders 64-frame blocks at 44.1 kHz (1,451 us
// each) back to back, as at a small buffer size. One iteration is one save. Per save: the longest render call that
// began while it ran ("during"), and the longest that began in a span as long just before it ("control"), in
// microseconds: medians, 90th percentiles and the worst. Linux stops a real-time thread that never sleeps for 50 ms a
// second (sched_rt_runtime_us): with the real-time priority granted, both worst figures show that pause.
void renderWhileSavingEvery20ms(benchmark::State& state)
{
	constexpr UInt32 kSmallBlock = 64;
	AudioUnit unit = playingUnit();
	std::vector<Span> calls;
	calls.reserve(1 << 20); // more calls than the run makes: the render thread never allocates
	std::atomic<bool> stop{false};
	std::thread render([&] {
		BlockRenderer renderer(unit, kSmallBlock);
		while (!stop.load(std::memory_order_relaxed) && calls.size() < calls.capacity())
		{
			const Clock::time_point start = Clock::now();
			renderer.render();
			calls.push_back({start, Clock::now()});
		}
	});
	RealtimeRender realtime(render);

	std::vector<Span> saves;
	saves.reserve(size_t(state.max_iterations));
	Clock::time_point next = Clock::now() + std::chrono::milliseconds(20);
	for (auto _ : state)
	{
		std::this_thread::sleep_until(next);
		next += std::chrono::milliseconds(20);
		CFPropertyListRef saved = nullptr;
		UInt32 size = sizeof saved;
		const Clock::time_point start = Clock::now();
		AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &saved, &size);
		saves.push_back({start, Clock::now()});
		if (saved)
			CFRelease(saved);
	}
	stop = true;
	render.join();
	AudioComponentInstanceDispose(unit);

	std::vector<double> during, control, saveTimes;
	for (const Span& save : saves)
	{
		const auto length = save.end - save.start;
		during.push_back(longestBeganIn(calls, save.start, save.end));
		control.push_back(longestBeganIn(calls, save.start - length, save.start));
		saveTimes.push_back(save.micros());
	}
	state.counters["during_p50_us"] = percentile(during, 0.5);
	state.counters["during_p90_us"] = percentile(during, 0.9);
	state.counters["during_max_us"] = percentile(during, 1.0);
	state.counters["control_p50_us"] = percentile(control, 0.5);
	state.counters["control_p90_us"] = percentile(control, 0.9);
	state.counters["control_max_us"] = percentile(control, 1.0);
	state.counters["save_p50_us"] = percentile(saveTimes, 0.5);
	state.counters["renders"] = double(calls.size());
	state.counters["realtime"] = realtime.granted;
}
}

BENCHMARK(engineProcess)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(audioUnitRender)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(factoryPresetsWhileRenderingBackToBack)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(renderWhileSavingEvery20ms)->Unit(benchmark::kMillisecond)->Iterations(250)->UseRealTime();
