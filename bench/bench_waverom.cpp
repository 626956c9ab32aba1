// The wave ROM generator runs at build time in every build, sanitised ones included; it has to
// stay within a few seconds there.
#include <benchmark/benchmark.h>

#include "CyclicWaves.h"
#include "PcmWaves.h"
#include "RomLayout.h"

static void BM_CyclicWaves(benchmark::State& state)
{
	for (auto _ : state)
		benchmark::DoNotOptimize(waverom::buildCyclicArea());
}
BENCHMARK(BM_CyclicWaves)->Unit(benchmark::kMillisecond);

static void BM_SampledSegments(benchmark::State& state)
{
	for (auto _ : state)
		for (size_t s = 0; s < waverom::kPcmSegmentCount; ++s)
			benchmark::DoNotOptimize(waverom::buildPcmSegment(s));
}
BENCHMARK(BM_SampledSegments)->Unit(benchmark::kMillisecond);

static void BM_ImageLayout(benchmark::State& state)
{
	const std::vector<uint8_t> samples(waverom::kSampleCount, 128);
	for (auto _ : state)
		benchmark::DoNotOptimize(waverom::buildImage(samples));
}
BENCHMARK(BM_ImageLayout)->Unit(benchmark::kMillisecond);
