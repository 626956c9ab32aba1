#pragma once

#include <string>

#include "synth/SinglePreset.h"

// The sound designer's sheet: sources and singles written in panel terms (signed amounts -50..+50,
// curves numbered as the panel shows them, pitch relative to the played key) and turned into the
// stored record. Only the builder knows the stored offsets, so the sound lists read like the panel.
namespace banks
{
class Src
{
public:
	// waveNumber as on the panel, 1..256. A new source follows the key at its own pitch, takes
	// vibrato, auto bend and pressure, and holds full level until released (an organ gate).
	explicit Src(int waveNumber);

	// Pitch relative to the played key in semitones (coarse 84 is the key itself).
	Src& semi(int semitones);
	Src& oct(int octaves) { return semi(12 * octaves); }
	// Fine tuning in fiftieths of a semitone, -50..+50.
	Src& fine(int amount);
	// Key tracking off: the source plays one pitch for every key (coarse 24 is MIDI note 0, so
	// coarse 92 plays a sampled sound at its recorded rate).
	Src& fixed(int coarse);

	Src& env(int level, int delay, int attack, int decay, int sustain, int release);
	// Velocity: curve 1..8 as shown, and how much velocity opens the level (-50..+50).
	Src& vel(int curve, int toLevel);
	// Velocity shortens (negative) or stretches (positive) the attack.
	Src& velAttack(int amount);
	// Key scaling of level, attack time and pitch (-50..+50 each).
	Src& keyLevel(int amount);
	Src& keyAttack(int amount);
	Src& keyPitch(int amount);
	Src& pressLevel(int amount);
	// Keeps this source out of the single's vibrato and auto bend.
	Src& steady();
	// Keeps this source out of the single's pressure-to-pitch.
	Src& noPressurePitch();

	int wave() const { return m_source.wave + 1; }
	const zentlib::SingleSource& record() const { return m_source; }

private:
	zentlib::SingleSource m_source;
};

class Patch
{
public:
	// name: at most 10 characters of the display's character set.
	explicit Patch(std::string name);

	Patch& two(const Src& s1, const Src& s2);
	Patch& four(const Src& s1, const Src& s2, const Src& s3, const Src& s4);
	// source 1..4
	Patch& mute(int source);
	// Ring modulation of a pair: the second source of the pair is multiplied by the first. With
	// the first muted only the product is heard.
	Patch& ring12();
	Patch& ring34();

	Patch& poly2();
	Patch& solo();
	Patch& bend(int semitones);
	// Vibrato depth (-50..+50), LFO speed (0..100) and shape (0 Tri, 1 Saw, 2 Square, 3 Random).
	Patch& vib(int depth, int speed, int shape = 0);
	// The modulation wheel speeds the LFO up instead of deepening the vibrato.
	Patch& wheelSpeed();
	Patch& pressure(int toPitch, int toVibrato);
	// Auto bend: depth (-50..+50), time (0..100), velocity to depth and key scaling to time.
	Patch& autoBend(int depth, int time, int velToDepth = 0, int keyToTime = 0);
	// Key-scaling curve 1..5 as shown.
	Patch& keyCurve(int curve);
	// Gain staging offset in dB against the library's common loudness.
	Patch& trim(int dB);

	// Raw record values the factory library carries for a few sounds: a wheel-mode field of 2
	// (read back as Depth) and a bend-range byte with an upper bit set (read back as range 0).
	Patch& recordWheelMode(int value);
	Patch& recordBendByte(int value);

	const std::string& name() const { return m_name; }
	// The stored single, with its volume set so that one note at velocity 100 sits at the
	// library's common loudness and no key or velocity takes it near full scale, and its one-shot
	// sources fitted to end before their waves come round. Returns false (and leaves a reason)
	// when that cannot be reached or the single breaks a rule of the library (Rules.h).
	bool build(zentlib::SinglePreset& out, std::string& problem) const;

	// Estimated peak of one note at full volume: the envelope peaks of the heard sources summed
	// as if in phase, waves taken at full scale.
	double estimatePeak(int key, int velocity) const;

private:
	std::string m_name;
	zentlib::SinglePreset m_single;
	double m_trimDb = 0.0;
};
}
