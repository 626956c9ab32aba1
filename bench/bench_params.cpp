// Cost of one step of the parameter store, which runs once per engine sample.
#include <benchmark/benchmark.h>

#include "synth/ParameterManager.h"

using namespace zentlib;

namespace
{
// Restarting a ramp just before it ends keeps it running for the whole measurement; the restart is
// part of the cost, as a host automating that many parameters would cause it.
void BM_ParameterManagerProcess(benchmark::State& state)
{
	const uint32_t ramps = static_cast<uint32_t>(state.range(0));
	ParameterManager manager;
	while (manager.process())
	{
	}

	float target = 0.25f;
	auto restart = [&] {
		target = target == 0.25f ? 0.75f : 0.25f;
		for (uint32_t p = 0; p < ramps; ++p)
			manager.setVSTParam(p, target);
	};
	restart();

	uint32_t step = 0;
	for (auto _ : state)
	{
		benchmark::DoNotOptimize(manager.process());
		benchmark::DoNotOptimize(manager.changedRing.size());
		if (++step == manager.rampSteps - 1)
		{
			step = 0;
			restart();
		}
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParameterManagerProcess)->Arg(0)->Arg(1)->Arg(109);
}
