// Per-sample cost of the voice building blocks at the engine rate.
#include <benchmark/benchmark.h>

#include "synth/Engine.h"

using namespace zentlib;

namespace
{
constexpr float Rate = 49920.0f;

void BM_LfoAndVibrato(benchmark::State& state)
{
	Engine engine;
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
