// Whole-engine costs: rendering held voices through the rate converter, the converter itself,
// saving and restoring the state (and the part of each made under the facade's lock), and building an engine.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "NeutralSource.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"
#include "synth/SavedState.h"

using namespace zentlib;

namespace
{
constexpr int Block = 512;

// The engine logs program switches and its start; the figures are what matters here.
class QuietLog
{
public:
	QuietLog()
	{
		std::fflush(stdout);
		m_saved = dup(STDOUT_FILENO);
		const int null = open("/dev/null", O_WRONLY);
		if (null >= 0)
		{
			dup2(null, STDOUT_FILENO);
			close(null);
		}
	}
	~QuietLog()
	{
		std::fflush(stdout);
		if (m_saved >= 0)
		{
			dup2(m_saved, STDOUT_FILENO);
			close(m_saved);
		}
	}
	QuietLog(const QuietLog&) = delete;
	QuietLog& operator=(const QuietLog&) = delete;

private:
	int m_saved = -1;
};

// Four sounding sources per voice, held at their sustain level: a cyclic pair with vibrato and a
// sampled wave ring-modulated by a cyclic one.
SinglePreset fourSourceSingle()
{
	SinglePreset single;
	single.volume = 90;
	single.polyMode = 1;
	single.source2or4 = 1;
	single.ampModS3S4 = 1;
	single.pressureToFreq = 50;
	single.vibratoDepth = 40;
	single.lfoSpeed = 60;
	single.pitchBendDepth = 12;
	single.autoBendDepth = single.velToDepth = single.autoBendKeyScaleToTime = 50;
	const uint8_t waves[4] = {0, 20, 120, 230};
	for (int s = 0; s < 4; ++s)
	{
		SingleSource& source = single.sources[s];
		source = neutralSource();
		source.fine = 50 + s;
		source.wave = waves[s];
		source.vibABend = true;
		source.envLevel = 90;
		source.envAttack = 10;
		source.envDecay = 40;
		source.envSustain = 80;
		source.envRelease = 30;
	}
	return single;
}

std::unique_ptr<Engine> makeEngine(float rate)
{
	QuietLog quiet;
	auto engine = std::make_unique<Engine>(QuietEngineListener::instance());
	engine->setSamplerate(rate);
	engine->setSingle(0, fourSourceSingle());
	return engine;
}

// One second of audio at the host rate in 512-frame blocks.
void renderSecond(Engine& engine, float rate, std::vector<float>& left, std::vector<float>& right)
{
	float* out[2] = {left.data(), right.data()};
	std::vector<SMidiEvent> none;
	for (int done = 0; done < static_cast<int>(rate); done += Block)
		engine.process(out, Block, none);
}

// `voices` notes held from key 36 up, rendered for a second so that every attack is over.
std::unique_ptr<Engine> makeHeldEngine(benchmark::State& state, float rate, int voices, std::vector<float>& left, std::vector<float>& right)
{
	auto engine = makeEngine(rate);
	std::vector<SMidiEvent> notes;
	for (int v = 0; v < voices; ++v)
	{
		SMidiEvent on;
		on.status = 0x90;
		on.data1 = static_cast<uint8_t>(36 + v);
		on.data2 = 100;
		notes.push_back(on);
	}
	float* out[2] = {left.data(), right.data()};
	engine->process(out, Block, notes);
	renderSecond(*engine, rate, left, right);
	if (engine->voices.size() != static_cast<size_t>(voices))
		state.SkipWithError("voices did not hold");
	return engine;
}

// Items are seconds of audio, so items per second is the real-time factor.
void BM_EngineRenderSecond48k(benchmark::State& state)
{
	constexpr float Rate = 48000.0f;
	std::vector<float> left(Block), right(Block);
	auto engine = makeHeldEngine(state, Rate, static_cast<int>(state.range(0)), left, right);
	for (auto _ : state)
	{
		renderSecond(*engine, Rate, left, right);
		benchmark::DoNotOptimize(left.data());
	}
	state.SetItemsProcessed(state.iterations());
	state.counters["voices"] = static_cast<double>(engine->voices.size());
}
BENCHMARK(BM_EngineRenderSecond48k)->Arg(1)->Arg(8)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

// The floor the engine is measured against: every source of the held voices read from its table
// by linear interpolation and summed, nothing else, at the engine rate.
class BareLoop
{
public:
	BareLoop(const Waveforms& waveforms, size_t sources)
	{
		for (size_t s = 0; s < sources; ++s)
		{
			const Waveforms::WaveformData& table = waveforms.getWaveform(static_cast<unsigned char>(s % 200)).perKey[60];
			m_sources.push_back({table.data, table.length - 1, 0.0, 0.9 + 0.013 * static_cast<double>(s), 0.5f});
		}
		m_out.resize(static_cast<size_t>(Engine::InternalSamplerate));
	}

	void renderSecond()
	{
		for (float& out : m_out)
		{
			float sum = 0.0f;
			for (Source& s : m_sources)
			{
				const float position = static_cast<float>(s.phase);
				const auto i = static_cast<int64_t>(position);
				const float f = position - static_cast<float>(i);
				const float a = s.data[i & s.mask];
				sum += (a + (s.data[(i + 1) & s.mask] - a) * f) * s.gain;
				s.phase += s.increment;
				const auto whole = static_cast<int64_t>(static_cast<float>(s.phase));
				s.phase = static_cast<double>(whole & static_cast<int64_t>(s.mask)) + (s.phase - static_cast<double>(whole));
			}
			out = sum;
		}
		benchmark::DoNotOptimize(m_out.data());
	}

private:
	struct Source
	{
		const float* data;
		uint64_t mask;
		double phase;
		double increment;
		float gain;
	};
	std::vector<Source> m_sources;
	std::vector<float> m_out;
};

// CPU time of this thread: other work on a shared machine does not count against either side.
double threadSeconds()
{
	timespec now{};
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// 32 held four-source voices at 48 kHz against the bare loop over their 128 sources, both timed in
// the same run, best of the iterations each. "ratio" is the engine's time over the bare loop's;
// the real-time factors are seconds of audio per second of work.
void BM_EngineAgainstBareLoop(benchmark::State& state)
{
	constexpr float Rate = 48000.0f;
	constexpr int Voices = 32;
	std::vector<float> left(Block), right(Block);
	auto engine = makeHeldEngine(state, Rate, Voices, left, right);
	BareLoop bare(engine->waveforms, Voices * 4);

	double bestEngine = std::numeric_limits<double>::infinity();
	double bestBare = std::numeric_limits<double>::infinity();
	for (auto _ : state)
	{
		const double t0 = threadSeconds();
		renderSecond(*engine, Rate, left, right);
		const double t1 = threadSeconds();
		bare.renderSecond();
		const double t2 = threadSeconds();
		bestEngine = std::min(bestEngine, t1 - t0);
		bestBare = std::min(bestBare, t2 - t1);
		benchmark::DoNotOptimize(left.data());
	}
	state.counters["ratio"] = bestEngine / bestBare;
	state.counters["engine_x_realtime"] = 1.0 / bestEngine;
	state.counters["bare_x_realtime"] = 1.0 / bestBare;
}
BENCHMARK(BM_EngineAgainstBareLoop)->Iterations(12)->Unit(benchmark::kMillisecond);

// The converter with nothing sounding; at 49,920 the samples pass straight through, which gives
// the idle engine loop the others include.
void BM_ResamplerSecond(benchmark::State& state)
{
	const float rate = static_cast<float>(state.range(0));
	auto engine = makeEngine(rate);
	std::vector<float> left(Block), right(Block);
	for (auto _ : state)
	{
		renderSecond(*engine, rate, left, right);
		benchmark::DoNotOptimize(left.data());
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ResamplerSecond)->Arg(44100)->Arg(48000)->Arg(96000)->Arg(49920)->Unit(benchmark::kMillisecond);

void BM_SaveState(benchmark::State& state)
{
	auto engine = makeEngine(48000.0f);
	std::vector<uint8_t> data;
	for (auto _ : state)
	{
		data.clear();
		engine->saveState(data);
		benchmark::DoNotOptimize(data.data());
	}
	state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMicrosecond);

void BM_LoadState(benchmark::State& state)
{
	auto engine = makeEngine(48000.0f);
	std::vector<uint8_t> data;
	engine->saveState(data);
	QuietLog quiet; // every load logs the switch to its single
	for (auto _ : state)
	{
		const bool loaded = engine->loadState(data);
		benchmark::DoNotOptimize(loaded);
	}
	state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_LoadState)->Unit(benchmark::kMicrosecond);

// What the facade does under the engine lock, which the render thread waits for: a save copies what it keeps ...
void BM_SaveStateUnderTheLock(benchmark::State& state)
{
	auto engine = makeEngine(48000.0f);
	SavedState saved;
	saved.reserveForEngine();
	for (auto _ : state)
	{
		engine->copyState(saved);
		benchmark::DoNotOptimize(saved.singles.data());
	}
}
BENCHMARK(BM_SaveStateUnderTheLock)->Unit(benchmark::kMicrosecond);

// ... and a restore puts a state already read in place of the engine's (here the store it gave up last time).
void BM_RestoreStateUnderTheLock(benchmark::State& state)
{
	auto engine = makeEngine(48000.0f);
	std::vector<uint8_t> data;
	engine->saveState(data);
	SavedState restored;
	readState(restored, data);
	QuietLog quiet;
	for (auto _ : state)
	{
		engine->takeState(restored);
		benchmark::DoNotOptimize(engine->singles.data());
	}
}
BENCHMARK(BM_RestoreStateUnderTheLock)->Unit(benchmark::kMicrosecond);

// The twelve factory banks parsed and the waveforms built.
void BM_EngineConstruction(benchmark::State& state)
{
	QuietLog quiet;
	for (auto _ : state)
	{
		auto engine = std::make_unique<Engine>(QuietEngineListener::instance());
		benchmark::DoNotOptimize(engine.get());
	}
}
BENCHMARK(BM_EngineConstruction)->Unit(benchmark::kMillisecond);
}
