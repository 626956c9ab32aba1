// Prints the figures of every wave of the embedded wave ROM and renders each wave for half a
// second at key 60 for listening: once through the engine's own voice, once read straight from
// the image as the player would:
//   virel_waverom_report [engine-render.wav [raw-render.wav]]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "NeutralSource.h"
#include "QuietEngineListener.h"
#include "WaveAnalysis.h"
#include "synth/Curves.h"
#include "synth/Engine.h"
#include "synth/Voice.h"
#include "synth/WaveformNames.h"
#include "synth/data/zentdata.h"

using namespace waverom;

namespace
{
constexpr double kEngineRate = 49920.0;
constexpr double kPcmRoot = 415.28961;

double db(double x)
{
	return x > 0.0 ? 20.0 * std::log10(x) : -200.0;
}

void printCyclic(const RomView& rom, size_t w)
{
	double range = 1.0, alias = -200.0, purity = 200.0, sawError = 0.0, rmsLo = 1e9, rmsHi = 0.0;
	int rich = 0;
	for (size_t t = 0; t < 5; ++t)
	{
		const Cycle c = cyclicCycle(rom, w, t);
		const Harmonics h = harmonics(c);
		range = std::min(range, rangeUse(c));
		double power = 0.0;
		for (double v : c)
			power += v * v;
		rmsLo = std::min(rmsLo, power);
		rmsHi = std::max(rmsHi, power);
		double strongest = 0.0, second = 0.0;
		for (int n = 1; n <= 128; ++n)
		{
			if (h[n] > strongest)
			{
				second = strongest;
				strongest = h[n];
			}
			else if (h[n] > second)
				second = h[n];
		}
		purity = std::min(purity, db(strongest / second));
		if (w >= 13)
			for (int n = harmonicLimit(t) + 1; n <= 128; ++n)
				alias = std::max(alias, db(h[n] / strongest));
		if (t == 0)
		{
			for (int n = 1; n <= 128; ++n)
				rich += h[n] > strongest * 0.01 ? 1 : 0;
			for (int n = 1; n <= 20; ++n)
				sawError = std::max(sawError, std::fabs(db(h[n] * n / h[1])));
		}
	}
	std::printf("%-26s range %5.1f%%  level spread %4.1f dB  above-limit %7.1f dB  harmonics>-40dB %3d",
				zentlib::g_waveformNames[w], range * 100.0, 10.0 * std::log10(rmsHi / rmsLo), alias, rich);
	if (w < 13)
		std::printf("  purity %5.1f dB", purity);
	if (w == 13)
		std::printf("  1/n error (1..20) %4.2f dB", sawError);
	std::printf("\n");
}

void printPcm(const RomView& rom, const PcmWave& p)
{
	const size_t segment = segmentOf(rom, p.start);
	std::printf("%-26s %6u  range %5.1f%%  seam %5.3f / step %5.3f", zentlib::g_waveformNames[p.number - 1], p.length,
				rangeUse(p.data) * 100.0, seamJump(p.data), typicalStep(p.data));
	if (!isSustainedLoop(segment) && !p.extended && !p.pingPong)
		std::printf("  tail %6.1f dBFS", tailPeakDb(p.data, 0.05));
	if (isPitched(segment) && !p.extended && !p.pingPong)
	{
		const size_t offset = isSustainedLoop(segment) ? 0 : p.length / 16;
		const size_t count = std::min<size_t>(8192, isSustainedLoop(segment) ? p.length : p.length / 2);
		const PitchEstimate e = estimatePitch(p.data, offset, count, rom.rate, kPcmRoot);
		std::printf("  pitch %+5.1f cents (fundamental %5.1f dB)", e.cents, e.strengthDb);
	}
	std::printf("\n");
}

void appendRender(std::vector<int16_t>& out, const std::vector<double>& data, double increment)
{
	const size_t n = static_cast<size_t>(kEngineRate / 2);
	const size_t fade = 100;
	double phase = 0.0;
	for (size_t i = 0; i < n; ++i)
	{
		const size_t a = static_cast<size_t>(phase);
		const size_t b = (a + 1) % data.size();
		const double f = phase - static_cast<double>(a);
		double v = data[a] + (data[b] - data[a]) * f;
		const size_t edge = std::min(i, n - 1 - i);
		if (edge < fade)
			v *= static_cast<double>(edge) / fade;
		out.push_back(static_cast<int16_t>(std::lround(v * 32000.0)));
		phase += increment;
		while (phase >= static_cast<double>(data.size()))
			phase -= static_cast<double>(data.size());
	}
}

// A single that plays one wave plainly: source 1 at the key's own pitch, full level, no
// envelope movement, no modulation; source 2 silent and muted.
zentlib::SinglePreset plainSingle(uint8_t wave)
{
	zentlib::SinglePreset s;
	std::snprintf(s.name, sizeof(s.name), "Wave %03d", wave + 1);
	s.volume = 100;
	s.pressureToFreq = 50;
	s.vibratoDepth = 50;
	s.pressureToVibrato = 50;
	s.autoBendDepth = 50;
	s.velToDepth = 50;
	s.autoBendKeyScaleToTime = 50;
	for (zentlib::SingleSource& src : s.sources)
	{
		src = neutralSource();
		src.wave = wave;
		src.envLevel = 0;
		src.envSustain = 100;
		src.envRelease = 10;
	}
	s.sources[0].envLevel = 100;
	s.mute[1] = s.mute[2] = s.mute[3] = true;
	return s;
}

std::vector<int16_t> engineRender()
{
	zentlib::Engine engine(QuietEngineListener::instance());
	std::vector<int16_t> out;
	const size_t n = static_cast<size_t>(kEngineRate / 2);
	for (int w = 0; w < 256; ++w)
	{
		const zentlib::SinglePreset single = plainSingle(static_cast<uint8_t>(w));
		engine.singles[0] = single;
		engine.currentSingle = 0;
		const float gain = zentlib::volume(single.volume);
		zentlib::Voice voice(engine, 60, 127, static_cast<float>(kEngineRate));
		for (size_t i = 0; i < n; ++i)
		{
			float left = 0.0f, right = 0.0f;
			voice.process(&left, &right);
			double v = left * gain;
			const size_t edge = std::min(i, n - 1 - i);
			if (edge < 100)
				v *= static_cast<double>(edge) / 100.0;
			out.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000.0)));
		}
	}
	return out;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples)
{
	FILE* f = std::fopen(path.c_str(), "wb");
	if (!f)
		return false;
	auto u32 = [&](uint32_t v) {
		const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
		std::fwrite(b, 1, 4, f);
	};
	auto u16 = [&](uint16_t v) {
		const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
		std::fwrite(b, 1, 2, f);
	};
	const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
	std::fwrite("RIFF", 1, 4, f);
	u32(36 + bytes);
	std::fwrite("WAVEfmt ", 1, 8, f);
	u32(16);
	u16(1);
	u16(1);
	u32(49920);
	u32(49920 * 2);
	u16(2);
	u16(16);
	std::fwrite("data", 1, 4, f);
	u32(bytes);
	for (int16_t s : samples)
		u16(static_cast<uint16_t>(s));
	return std::fclose(f) == 0;
}
}

int main(int argc, char** argv)
{
	RomView rom;
	if (!rom.parse(zentdata::getData_waverom(), zentdata::getDataSize_waverom()))
	{
		std::fprintf(stderr, "the embedded wave ROM does not parse\n");
		return 1;
	}
	const std::vector<PcmWave> pcm = pcmWaves(rom);
	std::printf("image %zu bytes, FNV-1a %016llx\n", zentdata::getDataSize_waverom(),
				static_cast<unsigned long long>(fnv1a(zentdata::getData_waverom(), zentdata::getDataSize_waverom())));
	for (size_t w = 0; w < 204; ++w)
		printCyclic(rom, w);
	for (const PcmWave& p : pcm)
		printPcm(rom, p);

	if (argc > 1)
	{
		if (!writeWav(argv[1], engineRender()))
		{
			std::fprintf(stderr, "cannot write %s\n", argv[1]);
			return 1;
		}
		std::printf("rendered 256 waves through the engine's voice, 0.5 s each at key 60, into %s\n", argv[1]);
	}
	if (argc > 2)
	{
		// Pitch 60: the cyclic waves read table 2, the sampled waves play at 261.63 / 415.29 of the
		// ROM rate.
		const double hz = 440.0 * std::pow(2.0, (60.0 - 69.0) / 12.0);
		std::vector<int16_t> out;
		for (size_t w = 0; w < 204; ++w)
		{
			const Cycle c = cyclicCycle(rom, w, 2);
			appendRender(out, std::vector<double>(c.begin(), c.end()), hz * 256.0 / kEngineRate);
		}
		for (const PcmWave& p : pcm)
			appendRender(out, p.data, hz / kPcmRoot * rom.rate / kEngineRate);
		if (!writeWav(argv[2], out))
		{
			std::fprintf(stderr, "cannot write %s\n", argv[2]);
			return 1;
		}
		std::printf("rendered 256 waves straight from the image, 0.5 s each at pitch 60, into %s\n", argv[2]);
	}
	return 0;
}
