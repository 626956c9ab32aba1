#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "NeutralSource.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"

namespace dsptest
{
constexpr float Rate = 49920.0f;

// A source that plays its key on the first sine wave at full, steady level.
inline zentlib::SingleSource plainSource()
{
	zentlib::SingleSource s = neutralSource();
	s.wave = 0;
	s.velCurve = 0;
	s.envLevel = 100;
	s.envDelay = 0;
	s.envAttack = 0;
	s.envDecay = 0;
	s.envSustain = 100;
	s.envRelease = 20;
	return s;
}

// Two sources, the second muted, every signed amount neutral, no auto bend.
inline zentlib::SinglePreset plainSingle()
{
	zentlib::SinglePreset p;
	p.volume = 99;
	p.pressureToFreq = p.vibratoDepth = p.pressureToVibrato = 50;
	p.lfoSpeed = 50;
	p.autoBendDepth = p.velToDepth = p.autoBendKeyScaleToTime = 50;
	p.autoBendTime = 0;
	p.mute[1] = p.mute[2] = p.mute[3] = true;
	for (auto& s : p.sources)
		s = plainSource();
	return p;
}

// An engine whose store holds one single, the current one.
inline std::unique_ptr<zentlib::Engine> makeEngine()
{
	auto engine = std::make_unique<zentlib::Engine>(QuietEngineListener::instance());
	engine->singles.assign(1, plainSingle());
	engine->currentSingle = 0;
	return engine;
}

// Left channel of a voice over n samples.
inline std::vector<float> render(zentlib::Voice& voice, size_t n)
{
	std::vector<float> out(n);
	for (float& x : out)
	{
		float right = 0.0f;
		voice.process(&x, &right);
	}
	return out;
}

// Frequency from the upward zero crossings, interpolated between samples.
inline double zeroCrossingFrequency(const std::vector<float>& x, size_t from = 0, size_t to = 0)
{
	if (to == 0)
		to = x.size();
	double first = -1.0;
	double last = -1.0;
	int count = 0;
	for (size_t i = from + 1; i < to; ++i)
	{
		if (x[i - 1] < 0.0f && x[i] >= 0.0f)
		{
			const double t = (i - 1) + x[i - 1] / (x[i - 1] - x[i]);
			if (first < 0.0)
				first = t;
			last = t;
			++count;
		}
	}
	if (count < 2)
		return 0.0;
	return (count - 1) * Rate / (last - first);
}

// Amplitude of the component at frequency f (a single-bin DFT over the whole signal).
inline double magnitudeAt(const std::vector<float>& x, double f)
{
	double re = 0.0;
	double im = 0.0;
	for (size_t i = 0; i < x.size(); ++i)
	{
		const double w = 2.0 * M_PI * f * i / Rate;
		re += x[i] * std::cos(w);
		im -= x[i] * std::sin(w);
	}
	return 2.0 * std::sqrt(re * re + im * im) / x.size();
}

inline double semitonesToRatio(double semitones)
{
	return std::pow(2.0, semitones / 12.0);
}
}
