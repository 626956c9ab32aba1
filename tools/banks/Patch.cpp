#include "Patch.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "PanelCurves.h"
#include "Rules.h"
#include "Waves.h"

namespace banks
{
namespace
{
constexpr int Neutral = 50;
constexpr int KeyCoarse = 84;
constexpr int ProbeKey = 60;
constexpr int ProbeVelocity = 100;
// Common loudness of the library at velocity 100: the in-phase estimate lands here, so real notes
// (detuned sources rarely peak together) sit at or a few dB below it, inside -24..-3 dBFS. Every
// voice starts its waves in phase, so a chord of four notes can add up to four times one note:
// the single note stays 13 dB under full scale to leave a chord its headroom.
constexpr double TargetPeak = 0.223;
// No velocity may take a note above this, so the hardest strokes and the soft layers of velocity
// switches keep their headroom.
constexpr double LoudestPeak = 0.276;
constexpr double QuietestPeak = 0.055;
// One-shot sources are fitted to end before their wave comes round at this key and below.
constexpr int FitKey = 72;

int clampInt(int v, int lo, int hi)
{
	return std::min(std::max(v, lo), hi);
}

uint32_t signedAmount(int amount)
{
	return static_cast<uint32_t>(clampInt(amount, -50, 50) + Neutral);
}

// The envelope peak of one source for the probe note, as the source computes its level.
double sourcePeak(const zentlib::SinglePreset& single, const zentlib::SingleSource& src, int key, int velocity)
{
	const double vg = velocityWeight(static_cast<int>(src.velCurve), velocity);
	double level = src.envLevel * 0.01;
	if (src.levelModVel != Neutral)
	{
		const int d = static_cast<int>(src.levelModVel) - Neutral;
		const double w = std::abs(d) * 0.02;
		const double g = d > 0 ? vg : 1 - vg;
		level *= g * w + (1 - w);
	}
	if (src.levelModKeyScale != Neutral)
	{
		const int d = static_cast<int>(src.levelModKeyScale) - Neutral;
		const double k0 = keyScale(key, static_cast<int>(single.keyScaleCurve));
		const double k = d < 0 ? -k0 : k0;
		level = std::min(std::max(level + (k - 1) * 0.5 * std::abs(d) * 0.02, 0.0), 1.0);
	}
	return envLevelGain(std::floor(level * 100 + 0.5));
}

}

Src::Src(int waveNumber)
{
	m_source.wave = static_cast<uint8_t>(clampInt(waveNumber, 1, 256) - 1);
	m_source.fine = Neutral;
	m_source.coarse = KeyCoarse;
	m_source.keyTrack = true;
	m_source.vibABend = true;
	m_source.pressureToFreq = true;
	m_source.envLevel = 100;
	m_source.envSustain = 100;
	m_source.envRelease = 20;
	m_source.levelModVel = Neutral;
	m_source.levelModPressure = Neutral;
	m_source.levelModKeyScale = Neutral;
	m_source.timeModVel = Neutral;
	m_source.timeModKeyScale = Neutral;
	m_source.freqKeyScaleToFreq = Neutral;
}

Src& Src::semi(int semitones)
{
	m_source.coarse = static_cast<uint32_t>(clampInt(static_cast<int>(m_source.coarse) + semitones, 0, 127));
	return *this;
}

Src& Src::fine(int amount)
{
	m_source.fine = signedAmount(amount);
	return *this;
}

Src& Src::fixed(int coarse)
{
	m_source.keyTrack = false;
	m_source.coarse = static_cast<uint32_t>(clampInt(coarse, 0, 127));
	return *this;
}

Src& Src::env(int level, int delay, int attack, int decay, int sustain, int release)
{
	m_source.envLevel = static_cast<uint32_t>(clampInt(level, 0, 100));
	m_source.envDelay = static_cast<uint32_t>(clampInt(delay, 0, 100));
	m_source.envAttack = static_cast<uint32_t>(clampInt(attack, 0, 100));
	m_source.envDecay = static_cast<uint32_t>(clampInt(decay, 0, 100));
	m_source.envSustain = static_cast<uint32_t>(clampInt(sustain, 0, 100));
	m_source.envRelease = static_cast<uint32_t>(clampInt(release, 0, 100));
	return *this;
}

Src& Src::vel(int curve, int toLevel)
{
	m_source.velCurve = static_cast<uint32_t>(clampInt(curve, 1, 8) - 1);
	m_source.levelModVel = signedAmount(toLevel);
	return *this;
}

Src& Src::velAttack(int amount)
{
	m_source.timeModVel = signedAmount(amount);
	return *this;
}

Src& Src::keyLevel(int amount)
{
	m_source.levelModKeyScale = signedAmount(amount);
	return *this;
}

Src& Src::keyAttack(int amount)
{
	m_source.timeModKeyScale = signedAmount(amount);
	return *this;
}

Src& Src::keyPitch(int amount)
{
	m_source.freqKeyScaleToFreq = signedAmount(amount);
	return *this;
}

Src& Src::pressLevel(int amount)
{
	m_source.levelModPressure = signedAmount(amount);
	return *this;
}

Src& Src::steady()
{
	m_source.vibABend = false;
	return *this;
}

Src& Src::noPressurePitch()
{
	m_source.pressureToFreq = false;
	return *this;
}

Patch::Patch(std::string name) : m_name(std::move(name))
{
	std::strncpy(m_single.name, m_name.c_str(), 10);
	m_single.volume = 99;
	m_single.pressureToFreq = Neutral;
	m_single.vibratoDepth = Neutral;
	m_single.pressureToVibrato = Neutral;
	m_single.pitchBendDepth = 2;
	m_single.lfoSpeed = 25;
	m_single.autoBendDepth = Neutral;
	m_single.velToDepth = Neutral;
	m_single.autoBendKeyScaleToTime = Neutral;
	// A two-source single still carries sources 3 and 4: switching it to four sources on the
	// panel should bring in something sensible, so they start as quiet copies of the defaults.
	for (auto& source : m_single.sources)
		source = Src(wave::Sin1).record();
}

Patch& Patch::two(const Src& s1, const Src& s2)
{
	m_single.source2or4 = 0;
	m_single.sources[0] = s1.record();
	m_single.sources[1] = s2.record();
	m_single.sources[2] = s1.record();
	m_single.sources[3] = s2.record();
	return *this;
}

Patch& Patch::four(const Src& s1, const Src& s2, const Src& s3, const Src& s4)
{
	m_single.source2or4 = 1;
	m_single.sources[0] = s1.record();
	m_single.sources[1] = s2.record();
	m_single.sources[2] = s3.record();
	m_single.sources[3] = s4.record();
	return *this;
}

Patch& Patch::mute(int source)
{
	m_single.mute[clampInt(source, 1, 4) - 1] = true;
	return *this;
}

Patch& Patch::ring12()
{
	m_single.ampModS1S2 = 1;
	return *this;
}

Patch& Patch::ring34()
{
	m_single.ampModS3S4 = 1;
	return *this;
}

Patch& Patch::poly2()
{
	m_single.polyMode = 1;
	return *this;
}

Patch& Patch::solo()
{
	m_single.polyMode = 2;
	return *this;
}

Patch& Patch::bend(int semitones)
{
	m_single.pitchBendDepth = static_cast<uint32_t>(clampInt(semitones, 0, 12));
	return *this;
}

Patch& Patch::vib(int depth, int speed, int shape)
{
	m_single.vibratoDepth = static_cast<uint8_t>(signedAmount(depth));
	m_single.lfoSpeed = static_cast<uint8_t>(clampInt(speed, 0, 100));
	m_single.lfoShape = static_cast<uint32_t>(clampInt(shape, 0, 3));
	return *this;
}

Patch& Patch::wheelSpeed()
{
	m_single.vibWheelMode = 1;
	return *this;
}

Patch& Patch::pressure(int toPitch, int toVibrato)
{
	m_single.pressureToFreq = static_cast<uint8_t>(signedAmount(toPitch));
	m_single.pressureToVibrato = static_cast<uint8_t>(signedAmount(toVibrato));
	return *this;
}

Patch& Patch::autoBend(int depth, int time, int velToDepth, int keyToTime)
{
	m_single.autoBendDepth = static_cast<uint8_t>(signedAmount(depth));
	m_single.autoBendTime = static_cast<uint8_t>(clampInt(time, 0, 100));
	m_single.velToDepth = static_cast<uint8_t>(signedAmount(velToDepth));
	m_single.autoBendKeyScaleToTime = static_cast<uint8_t>(signedAmount(keyToTime));
	return *this;
}

Patch& Patch::keyCurve(int curve)
{
	m_single.keyScaleCurve = static_cast<uint32_t>(clampInt(curve, 1, 5) - 1);
	return *this;
}

Patch& Patch::trim(int dB)
{
	m_trimDb = dB;
	return *this;
}

Patch& Patch::recordWheelMode(int value)
{
	m_single.vibWheelMode = static_cast<uint32_t>(clampInt(value, 0, 3));
	return *this;
}

Patch& Patch::recordBendByte(int value)
{
	m_single.pitchBendDepth = static_cast<uint32_t>(clampInt(value, 0, 0x7F));
	return *this;
}

double Patch::estimatePeak(int key, int velocity) const
{
	const zentlib::SinglePreset& s = m_single;
	const int count = s.source2or4 != 0 ? 4 : 2;
	double sum = 0.0;
	for (int i = 0; i < count; ++i)
	{
		// A muted first source of a ring pair only modulates and adds nothing itself; the ring
		// product peaks where its carrier's envelope does, since the modulator swings at most to
		// full scale.
		if (!s.mute[i])
			sum += sourcePeak(s, s.sources[i], key, velocity);
	}
	return sum;
}

namespace
{
// A sampled one-shot comes round to its start when it has played its length, and would strike
// again under an envelope still open. Each heard one-shot source gets the longest decay (at most
// the one it was given) that has it die away before its wave comes round at the fitting key; a
// source that holds a one-shot at a sustain level is refused, as it would strike on and on.
bool fitOneShots(zentlib::SinglePreset& single, std::string& problem)
{
	for (int i = 0; i < sourceCount(single); ++i)
	{
		zentlib::SingleSource& src = single.sources[i];
		const double wrap = wrapSeconds(src, FitKey);
		if (!isHeard(single, i) || wrap <= 0.0)
			continue;
		if (heldEnvelopeEnd(src) < 0.0)
		{
			problem = "source " + std::to_string(i + 1) + " holds a one-shot wave";
			return false;
		}
		// The margin keeps a sample's onset, louder than its tail, under hearing as well.
		const double latest = 0.85 * wrap;
		while (heldEnvelopeEnd(src) > latest && src.envDecay > 0)
			--src.envDecay;
		if (heldEnvelopeEnd(src) > latest)
		{
			problem = "source " + std::to_string(i + 1) + " cannot end before its one-shot wave comes round";
			return false;
		}
	}
	return true;
}
}

bool Patch::build(zentlib::SinglePreset& out, std::string& problem) const
{
	out = m_single;
	if (pitchModulationReachesNoSource(out))
	{
		problem = "sets vibrato or auto bend that none of its heard sources takes";
		return false;
	}
	if (!fitOneShots(out, problem))
		return false;
	const double trim = std::pow(10.0, m_trimDb / 20.0);
	const double peak = estimatePeak(ProbeKey, ProbeVelocity);
	double loudest = 0.0;
	for (int key = 36; key <= 96; key += 6)
		for (int velocity = 1; velocity <= 127; ++velocity)
			loudest = std::max(loudest, estimatePeak(key, velocity));
	if (peak * volumeGain(99) < QuietestPeak)
	{
		problem = "too quiet even at full volume";
		return false;
	}
	int stored = 99;
	while (stored > 0 && (peak * volumeGain(stored) > TargetPeak * trim || loudest * volumeGain(stored) > LoudestPeak * trim))
		--stored;
	out.volume = static_cast<uint8_t>(stored);
	return true;
}
}
