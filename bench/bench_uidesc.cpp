// The front-panel generator runs in every build; these figures keep its drawing and compression
// in view (the whole description should stay well under a second).
#include "Art.h"
#include "Layout.h"
#include "Png.h"
#include "UiXml.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

namespace
{
const uidesc::BitmapSpec& spec(const uidesc::Panel& panel, const std::string& name)
{
	for (const uidesc::BitmapSpec& s : panel.bitmaps)
		if (s.name == name)
			return s;
	throw std::runtime_error("no bitmap " + name);
}

void drawAndEncode(benchmark::State& state, const std::string& name)
{
	const uidesc::Panel panel = uidesc::buildPanel();
	const uidesc::BitmapSpec& s = spec(panel, name);
	size_t bytes = 0;
	for (auto _ : state)
	{
		cairo_surface_t* surface = uidesc::drawBitmap(panel, s);
		bytes = uidesc::encodePng(surface).size();
		cairo_surface_destroy(surface);
	}
	state.counters["png_bytes"] = double(bytes);
}

void BM_Background(benchmark::State& state)
{
	drawAndEncode(state, "background");
}
BENCHMARK(BM_Background)->Unit(benchmark::kMillisecond);

void BM_KnobStrip(benchmark::State& state)
{
	drawAndEncode(state, "knobvalue_knobvalue_knobshadow_Top");
}
BENCHMARK(BM_KnobStrip)->Unit(benchmark::kMillisecond);

// Every bitmap and the XML around them, as the build does it.
void BM_WholeDescription(benchmark::State& state)
{
	size_t bytes = 0;
	for (auto _ : state)
	{
		const uidesc::Panel panel = uidesc::buildPanel();
		std::vector<uidesc::EncodedBitmap> bitmaps;
		for (const uidesc::BitmapSpec& s : panel.bitmaps)
		{
			cairo_surface_t* surface = uidesc::drawBitmap(panel, s);
			bitmaps.push_back({s.name, uidesc::encodePng(surface)});
			cairo_surface_destroy(surface);
		}
		bytes = uidesc::writeDescription(panel.root, bitmaps).size();
	}
	state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_WholeDescription)->Unit(benchmark::kMillisecond);
}
