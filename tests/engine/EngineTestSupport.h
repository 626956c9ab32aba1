#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "MidiEvents.h"
#include "NeutralSource.h"
#include "synth/Engine.h"
#include "synth/SMidiEvent.h"

// Renders blocks through the engine's public entry point and measures what comes out.
struct Stereo
{
	std::vector<float> left;
	std::vector<float> right;
};

inline Stereo render(zentlib::Engine& engine, int frames, std::vector<zentlib::SMidiEvent> events = {}, int block = 512)
{
	Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
	for (int done = 0; done < frames; done += block)
	{
		const int n = std::min(block, frames - done);
		std::vector<zentlib::SMidiEvent> blockEvents;
		for (const auto& e : events)
		{
			if (e.sampleOffset >= static_cast<uint32_t>(done) && e.sampleOffset < static_cast<uint32_t>(done + n))
			{
				blockEvents.push_back(e);
				blockEvents.back().sampleOffset -= done;
			}
		}
		float* channels[2] = {out.left.data() + done, out.right.data() + done};
		engine.process(channels, n, blockEvents);
	}
	return out;
}

inline float rms(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX)
{
	to = std::min(to, samples.size());
	double sum = 0;
	for (size_t i = from; i < to; ++i)
		sum += double(samples[i]) * samples[i];
	return to > from ? static_cast<float>(std::sqrt(sum / double(to - from))) : 0.0f;
}

inline float peak(const std::vector<float>& samples)
{
	float p = 0;
	for (float s : samples)
		p = std::max(p, std::fabs(s));
	return p;
}

inline bool allFinite(const Stereo& s)
{
	for (float v : s.left)
		if (!std::isfinite(v))
			return false;
	for (float v : s.right)
		if (!std::isfinite(v))
			return false;
	return true;
}

// A single that plays one sine (source 1) at the key's pitch, sounding at once and held at full
// level: no vibrato, no auto bend, no pressure or key scaling.
inline zentlib::SinglePreset sineSingle(uint32_t polyMode = 1)
{
	zentlib::SinglePreset single;
	std::copy_n("Test Sine", 10, single.name);
	single.volume = 99;
	single.polyMode = polyMode;
	single.source2or4 = 0;
	single.pressureToFreq = 50;
	single.pitchBendDepth = 12;
	single.autoBendDepth = 50;
	single.velToDepth = 50;
	single.autoBendKeyScaleToTime = 50;
	single.mute[1] = single.mute[2] = single.mute[3] = true;
	for (zentlib::SingleSource& source : single.sources)
	{
		source = neutralSource();
		source.wave = 0;
		source.envLevel = 100;
		source.envSustain = 100;
		source.envDecay = 50;
		source.envRelease = 20;
	}
	return single;
}

// Makes `single` the current single and lets the parameter push reach it.
inline void playSingle(zentlib::Engine& engine, const zentlib::SinglePreset& single)
{
	engine.setSingle(engine.currentSingle, single);
	std::vector<float> l(8), r(8);
	float* out[2] = {l.data(), r.data()};
	std::vector<zentlib::SMidiEvent> none;
	engine.processAudio(out, 8, none);
}

// Frequency in cycles per sample from the rising zero crossings of [from, to), interpolated
// between samples; 0 when fewer than two crossings are found.
inline double frequency(const std::vector<float>& x, size_t from, size_t to)
{
	to = std::min(to, x.size());
	double first = -1.0, last = -1.0;
	int crossings = 0;
	for (size_t i = std::max<size_t>(from, 1); i < to; ++i)
	{
		if (x[i - 1] < 0.0f && x[i] >= 0.0f)
		{
			const double t = double(i - 1) + double(-x[i - 1]) / double(x[i] - x[i - 1]);
			if (first < 0.0)
				first = t;
			last = t;
			++crossings;
		}
	}
	return crossings >= 2 ? double(crossings - 1) / (last - first) : 0.0;
}
