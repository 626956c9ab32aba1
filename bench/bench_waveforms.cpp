// Building the 256 waveforms from the embedded wave ROM, done once per engine.
#include <benchmark/benchmark.h>

#include <memory>

#include "synth/Waveforms.h"

namespace
{
void BM_ConstructWaveforms(benchmark::State& state)
{
	for (auto _ : state)
	{
		auto waves = std::make_unique<zentlib::Waveforms>();
		benchmark::DoNotOptimize(waves->getWaveform(255).perKey[0].data);
	}
}
BENCHMARK(BM_ConstructWaveforms)->Unit(benchmark::kMillisecond);
}
