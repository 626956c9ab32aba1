#include "Audition.h"

#include <algorithm>
#include <cmath>

#include "QuietPluginListener.h"
#include "synth/Engine.h"
#include "synth/Plugin.h"

namespace banks
{
namespace
{
constexpr size_t Block = 512;

zentlib::SMidiEvent noteEvent(uint8_t status, uint8_t key, uint8_t velocity)
{
	zentlib::SMidiEvent e;
	e.status = status;
	e.data1 = key;
	e.data2 = velocity;
	return e;
}
}

Audition::Audition()
	: m_listener(std::make_unique<QuietPluginListener>()), m_plugin(std::make_unique<zentlib::Plugin>(m_listener.get()))
{
	// At the engine's own rate the converter passes its samples through untouched.
	m_plugin->setSampleRate(zentlib::Engine::InternalSamplerate);
}

Audition::~Audition() = default;

size_t Audition::singleCount()
{
	return m_plugin->getSingleCount();
}

zentlib::SinglePreset Audition::single(size_t index)
{
	zentlib::SinglePreset s;
	m_plugin->getSingle(s, index);
	return s;
}

Take Audition::play(size_t index, const std::vector<uint8_t>& keys, uint8_t velocity, double hold, double release)
{
	// A program change silences every voice, so each take starts from silence.
	if (m_plugin->getCurrentSingleIndex() == index)
		m_plugin->setCurrentSingleIndex((index + 1) % singleCount());
	m_plugin->setCurrentSingleIndex(index);

	Take take;
	take.rate = zentlib::Engine::InternalSamplerate;
	const size_t holdFrames = static_cast<size_t>(hold * take.rate);
	const size_t total = holdFrames + static_cast<size_t>(release * take.rate);
	take.mono.reserve(total);
	std::vector<float> left(Block), right(Block);
	float* outputs[] = {left.data(), right.data()};
	for (uint8_t key : keys)
		m_plugin->addMidiEvent(noteEvent(0x90, key, velocity));
	for (size_t done = 0; done < total;)
	{
		// Blocks end where the keys are let go, so the release lands on its sample.
		size_t frames = std::min(Block, total - done);
		if (done < holdFrames)
			frames = std::min(frames, holdFrames - done);
		else if (done == holdFrames)
			for (uint8_t key : keys)
				m_plugin->addMidiEvent(noteEvent(0x80, key, 64));
		m_plugin->process(outputs, frames);
		for (size_t i = 0; i < frames; ++i)
		{
			if (!std::isfinite(left[i]) || !std::isfinite(right[i]))
			{
				take.finite = false;
				take.mono.push_back(0.0f);
				continue;
			}
			take.peak = std::max({take.peak, std::fabs(left[i]), std::fabs(right[i])});
			take.mono.push_back(0.5f * (left[i] + right[i]));
		}
		done += frames;
	}
	return take;
}
}
