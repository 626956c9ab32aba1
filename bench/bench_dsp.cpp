// Per-sample cost of the voice building blocks at the engine rate.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "NeutralSource.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"

using namespace zentlib;

namespace
{
constexpr float Rate = 49920.0f;

void BM_LfoAndVibrato(benchmark::State& state)
{
	auto owner = std::make_unique<Engine>(QuietEngineListener::instance());
	Engine& engine = *owner;
	engine.singles.resize(1);
	SinglePreset& single = engine.singles[0];
	single.lfoSpeed = 70;
	single.lfoShape = static_cast<uint32_t>(state.range(0));
	single.vibratoDepth = 80;
	single.pressureToVibrato = 60;
	engine.pressure = 0.3f;
	for (auto _ : state)
	{
		engine.lfoValue = engine.lfo.process(Rate);
		engine.vibratoValue = engine.vibrato.process(Rate, engine.lfoValue);
		benchmark::DoNotOptimize(engine.vibratoValue);
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LfoAndVibrato)->Arg(0)->Arg(3);
}

namespace
{
SinglePreset benchSingle(uint8_t wave)
{
	SinglePreset p;
	p.volume = 99;
	p.pressureToFreq = p.vibratoDepth = p.pressureToVibrato = 50;
	p.autoBendDepth = p.velToDepth = p.autoBendKeyScaleToTime = 50;
	p.source2or4 = 1;
	for (SingleSource& s : p.sources)
	{
		s = neutralSource();
		s.fine = 53;
		s.wave = wave;
		s.vibABend = true;
		s.envLevel = 90;
		s.envAttack = 20;
		s.envDecay = 60;
		s.envSustain = 70;
		s.envRelease = 40;
	}
	return p;
}

// One source per sample on the voices' path. The pitch sum stays put, as it does between
// controller moves.
void BM_Source(benchmark::State& state)
{
	auto owner = std::make_unique<Engine>(QuietEngineListener::instance());
	Engine& engine = *owner;
	engine.singles.assign(1, benchSingle(static_cast<uint8_t>(state.range(0))));
	Source source(engine, 0);
	source.init(60, 100, Rate);
	source.refreshSwitches(engine.pressure);
	const SampleInputs in = engine.sampleInputs();
	float sample = 0.0f;
	for (auto _ : state)
	{
		const float amplitude = source.render(in, 0.0f, sample);
		benchmark::DoNotOptimize(amplitude);
		benchmark::DoNotOptimize(sample);
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Source)->Arg(0)->ArgName("cyclic");
BENCHMARK(BM_Source)->Arg(234)->ArgName("pcm");

// A one-source voice per sample while the vibrato moves its pitch on every sample.
void BM_SourceVibrato(benchmark::State& state)
{
	auto owner = std::make_unique<Engine>(QuietEngineListener::instance());
	Engine& engine = *owner;
	engine.singles.assign(1, benchSingle(0));
	engine.singles[0].mute[1] = engine.singles[0].mute[2] = engine.singles[0].mute[3] = true;
	engine.singles[0].autoBendTime = 0;
	Voice voice(engine, 60, 100, Rate);
	SampleInputs in = engine.sampleInputs();
	float sum = 0.0f;
	for (auto _ : state)
	{
		in.vibratoValue += 1.0f / 1024.0f;
		voice.render(in, sum);
		benchmark::DoNotOptimize(sum);
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SourceVibrato);

// A four-source voice per sample on the engine's path, one amplitude-modulated pair.
void BM_Voice(benchmark::State& state)
{
	auto owner = std::make_unique<Engine>(QuietEngineListener::instance());
	Engine& engine = *owner;
	engine.singles.assign(1, benchSingle(static_cast<uint8_t>(state.range(0))));
	engine.singles[0].ampModS3S4 = 1;
	Voice voice(engine, 60, 100, Rate);
	const SampleInputs in = engine.sampleInputs();
	float sum = 0.0f;
	for (auto _ : state)
	{
		voice.render(in, sum);
		benchmark::DoNotOptimize(sum);
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Voice)->Arg(0)->ArgName("cyclic");
BENCHMARK(BM_Voice)->Arg(234)->ArgName("pcm");

// The floor: a bare interpolating read of a 256-sample table with a double phase.
void BM_BareTableLoop(benchmark::State& state)
{
	std::vector<float> table(256);
	for (size_t i = 0; i < table.size(); ++i)
		table[i] = static_cast<float>(i) / 256.0f;
	double phase = 0.0;
	const double increment = 1.37;
	float out = 0.0f;
	for (auto _ : state)
	{
		const auto i = static_cast<int64_t>(static_cast<float>(phase));
		const float f = static_cast<float>(phase) - static_cast<float>(i);
		out += table[i & 255] + (table[(i + 1) & 255] - table[i & 255]) * f;
		phase += increment;
		const auto whole = static_cast<int64_t>(static_cast<float>(phase));
		phase = static_cast<double>(whole & 255) + (phase - static_cast<double>(whole));
		benchmark::DoNotOptimize(out);
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareTableLoop);
}
