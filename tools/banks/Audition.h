#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "synth/SinglePreset.h"

class QuietPluginListener;
namespace zentlib
{
class Plugin;
}

// Plays the factory singles through the plug-in facade as a host running at the engine's own
// rate would, so the library is judged by what a player hears. The facade logs every program
// change on standard output; callers that mind wrap the calls.
namespace banks
{
struct Take
{
	float rate = 0.0f;
	std::vector<float> mono; // (left + right) / 2
	float peak = 0.0f;       // largest magnitude on either side
	bool finite = true;
};

class Audition
{
public:
	Audition();
	~Audition();
	Audition(const Audition&) = delete;
	Audition& operator=(const Audition&) = delete;

	size_t singleCount();
	zentlib::SinglePreset single(size_t index);

	// Selects single `index` from silence, strikes `keys` together at `velocity`, holds them for
	// `hold` seconds and records `release` seconds after letting go.
	Take play(size_t index, const std::vector<uint8_t>& keys, uint8_t velocity, double hold, double release);

private:
	std::unique_ptr<QuietPluginListener> m_listener;
	std::unique_ptr<zentlib::Plugin> m_plugin;
};
}
