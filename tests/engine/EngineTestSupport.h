#pragma once

#include <cmath>
#include <vector>

#include "synth/Engine.h"
#include "synth/SMidiEvent.h"

// Renders blocks through the engine's public entry point and measures what comes out.
struct Stereo
{
	std::vector<float> left;
	std::vector<float> right;
};

inline zentlib::SMidiEvent midi(uint8_t status, uint8_t data1, uint8_t data2, uint32_t offset = 0)
{
	zentlib::SMidiEvent event;
	event.status = status;
	event.data1 = data1;
	event.data2 = data2;
	event.sampleOffset = offset;
	return event;
}

inline zentlib::SMidiEvent sysex(std::vector<uint8_t> bytes, uint32_t offset = 0)
{
	zentlib::SMidiEvent event;
	event.sysex = std::move(bytes);
	event.sampleOffset = offset;
	return event;
}

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
