#include "Rules.h"

#include <cmath>

#include "PanelCurves.h"
#include "RomLayout.h"

namespace banks
{
namespace
{
constexpr int Neutral = 50;
constexpr int FirstSampledWave = 204; // stored wave index of wave 205
// A sampled wave plays its data at the ROM rate at pitch 68.
constexpr double SampledRootPitch = 68.0;
// Sampled waves never play below this pitch: the player raises them by octaves.
constexpr double SampledLowestPitch = 19.94;
constexpr double EndDb = -40.0;
}

int sourceCount(const zentlib::SinglePreset& single)
{
	return single.source2or4 ? 4 : 2;
}

bool isHeard(const zentlib::SinglePreset& single, int source)
{
	return source < sourceCount(single) && !single.mute[source] && single.sources[source].envLevel > 5;
}

bool pitchModulationReachesNoSource(const zentlib::SinglePreset& s)
{
	const bool modulates = s.vibratoDepth != Neutral || s.pressureToVibrato != Neutral ||
	                       (s.autoBendDepth != Neutral && s.autoBendTime > 0);
	if (!modulates)
		return false;
	for (int i = 0; i < sourceCount(s); ++i)
		if (isHeard(s, i) && s.sources[i].vibABend)
			return false;
	return true;
}

double wrapSeconds(const zentlib::SingleSource& source, int key)
{
	if (source.wave < FirstSampledWave)
		return 0.0;
	const waverom::SampledWave wave = waverom::sampledWave(source.wave + 1);
	if (wave.comesBackAfter == 0 || wave.loops)
		return 0.0;
	double pitch = (source.keyTrack ? static_cast<double>(source.coarse) + key - 84 : static_cast<double>(source.coarse) - 24) +
	               (static_cast<double>(source.fine) - Neutral) * 0.02;
	while (pitch < SampledLowestPitch)
		pitch += 12.0;
	const double rate = waverom::kRomRate * std::exp2((pitch - SampledRootPitch) / 12.0);
	return wave.comesBackAfter / rate;
}

double heldEnvelopeEnd(const zentlib::SingleSource& source)
{
	const double sustain = sustainGain(static_cast<int>(source.envSustain));
	const double end = std::pow(10.0, EndDb / 20.0);
	if (sustain >= end)
		return -1.0;
	// The decay falls exponentially from full level to the sustain level over the decay time.
	const double decay = decaySeconds(static_cast<int>(source.envDecay)) * std::log(end) / std::log(sustain);
	return delaySeconds(static_cast<int>(source.envDelay)) + attackSeconds(static_cast<int>(source.envAttack)) + decay;
}

int sourceReplayingOneShot(const zentlib::SinglePreset& single, int key)
{
	for (int i = 0; i < sourceCount(single); ++i)
	{
		if (!isHeard(single, i))
			continue;
		const double wrap = wrapSeconds(single.sources[i], key);
		if (wrap <= 0.0)
			continue;
		const double end = heldEnvelopeEnd(single.sources[i]);
		if (end < 0.0 || end > wrap)
			return i;
	}
	return -1;
}
}
