#include "CyclicWaves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "DetMath.h"
#include "Quantize.h"
#include "RomLayout.h"
#include "Spectra.h"

namespace waverom
{
namespace
{
// Harmonics in the 256-sample cycle; the highest ones are left out of every table.
constexpr int kMaxHarmonic = 127;
// Highest harmonic per table that stays below half the engine rate (49,920 Hz) at the top key of
// the table's range: keys 47, 59, 71 and 83; the open top range is limited for key 96.
constexpr std::array<int, kTablesPerWave> kHarmonicLimit = {127, 101, 50, 25, 11};
// Peak of every table, just inside the byte range so rounding never clips.
constexpr double kPeak = 126.0 / 128.0;

enum class Recipe
{
	Sine,
	Saw,
	Square,
	InverseSaw,
	Triangle,
	Random,
	FrenchHorn,
	Brass,
	Trumpet,
	String,
	StringPad,
	Violin,
	Orchestra,
	Piano,
	ElGrand,
	EPiano,
	Clavi,
	Harpsichord,
	Vibe,
	AGuitar,
	FGuitar,
	Strat,
	AcBass,
	PickBass,
	DigiBass,
	RoundBass,
	Fretless,
	PullBass,
	SlapBass,
	SynthBass,
	Flute,
	Panflute,
	Harmonica,
	Clarinet,
	Oboe,
	Shakuhachi,
	Glocken,
	Tine,
	Harp,
	Marimba,
	ETom,
	LogDrum,
	SteelDrum,
	OrientalBell,
	Bell,
	TubeBell,
	Xylophone,
	Kalimba,
	Koto,
	Sitar,
	Voice,
	Accordion,
	JazzOrgan,
	RockOrgan,
	DrawBar,
	PipeOrgan,
	MelloPad,
	SynthSolo,
	Synth,
};

struct WaveDef
{
	Recipe recipe;
	int model; // the number in the wave's name (Saw 7, Piano 3, Voice 2, ...), 0 when it has none
};

// Waves 1..204 in order. The families after the basic waves come in four groups that suit lower
// to higher notes; each group is voiced as if taken from an instrument playing around its own
// fundamental, so a low-group wave carries its formants at high harmonic numbers and a hi-group
// wave is nearly bare.
constexpr WaveDef kWaves[kCyclicCount] = {
	// 1..13 sines, 14..32 saws, 33..37 squares, 38..40
	{Recipe::Sine, 1}, {Recipe::Sine, 2}, {Recipe::Sine, 3}, {Recipe::Sine, 4}, {Recipe::Sine, 5},
	{Recipe::Sine, 6}, {Recipe::Sine, 7}, {Recipe::Sine, 8}, {Recipe::Sine, 9}, {Recipe::Sine, 10},
	{Recipe::Sine, 11}, {Recipe::Sine, 12}, {Recipe::Sine, 16},
	{Recipe::Saw, 1}, {Recipe::Saw, 2}, {Recipe::Saw, 3}, {Recipe::Saw, 4}, {Recipe::Saw, 5},
	{Recipe::Saw, 6}, {Recipe::Saw, 7}, {Recipe::Saw, 8}, {Recipe::Saw, 9}, {Recipe::Saw, 10},
	{Recipe::Saw, 11}, {Recipe::Saw, 12}, {Recipe::Saw, 13}, {Recipe::Saw, 14}, {Recipe::Saw, 15},
	{Recipe::Saw, 16}, {Recipe::Saw, 17}, {Recipe::Saw, 18}, {Recipe::Saw, 19},
	{Recipe::Square, 1}, {Recipe::Square, 2}, {Recipe::Square, 3}, {Recipe::Square, 4}, {Recipe::Square, 5},
	{Recipe::InverseSaw, 0}, {Recipe::Triangle, 0}, {Recipe::Random, 0},
	// 41..75 low group
	{Recipe::FrenchHorn, 0}, {Recipe::String, 0}, {Recipe::String, 0}, {Recipe::StringPad, 0},
	{Recipe::Piano, 1}, {Recipe::ElGrand, 0}, {Recipe::EPiano, 1}, {Recipe::EPiano, 2}, {Recipe::EPiano, 3},
	{Recipe::Clavi, 0}, {Recipe::Vibe, 0}, {Recipe::AGuitar, 0}, {Recipe::FGuitar, 0}, {Recipe::FGuitar, 0},
	{Recipe::AcBass, 0}, {Recipe::AcBass, 0}, {Recipe::DigiBass, 1}, {Recipe::PickBass, 0},
	{Recipe::DigiBass, 2}, {Recipe::RoundBass, 0}, {Recipe::Fretless, 0}, {Recipe::Fretless, 0},
	{Recipe::Flute, 0}, {Recipe::Panflute, 0}, {Recipe::Harmonica, 0}, {Recipe::Glocken, 0},
	{Recipe::Tine, 0}, {Recipe::Harp, 0}, {Recipe::Marimba, 0}, {Recipe::ETom, 0}, {Recipe::LogDrum, 0},
	{Recipe::JazzOrgan, 1}, {Recipe::MelloPad, 0}, {Recipe::SynthSolo, 0}, {Recipe::Synth, 2},
	// 76..146 mid group
	{Recipe::FrenchHorn, 0}, {Recipe::FrenchHorn, 0}, {Recipe::Brass, 0}, {Recipe::Brass, 0},
	{Recipe::Brass, 0}, {Recipe::Brass, 0}, {Recipe::Trumpet, 0}, {Recipe::Trumpet, 0},
	{Recipe::Violin, 0}, {Recipe::String, 0}, {Recipe::Piano, 1}, {Recipe::Piano, 2}, {Recipe::Piano, 3},
	{Recipe::Piano, 2}, {Recipe::Piano, 3}, {Recipe::Piano, 4}, {Recipe::Piano, 4}, {Recipe::ElGrand, 0},
	{Recipe::EPiano, 1}, {Recipe::EPiano, 2}, {Recipe::EPiano, 2}, {Recipe::Clavi, 0},
	{Recipe::Harpsichord, 0}, {Recipe::Vibe, 0}, {Recipe::AGuitar, 0}, {Recipe::FGuitar, 0},
	{Recipe::Strat, 0}, {Recipe::Strat, 0}, {Recipe::AcBass, 0}, {Recipe::PullBass, 0},
	{Recipe::PullBass, 0}, {Recipe::RoundBass, 0}, {Recipe::SlapBass, 0}, {Recipe::SlapBass, 0},
	{Recipe::SlapBass, 0}, {Recipe::Fretless, 0}, {Recipe::Fretless, 0}, {Recipe::SynthBass, 0},
	{Recipe::SynthBass, 0}, {Recipe::Harmonica, 0}, {Recipe::Clarinet, 0}, {Recipe::Clarinet, 0},
	{Recipe::Oboe, 0}, {Recipe::Oboe, 0}, {Recipe::Shakuhachi, 0}, {Recipe::OrientalBell, 0},
	{Recipe::OrientalBell, 0}, {Recipe::Bell, 0}, {Recipe::Koto, 0}, {Recipe::Sitar, 0}, {Recipe::ETom, 0},
	{Recipe::LogDrum, 0}, {Recipe::LogDrum, 0}, {Recipe::SteelDrum, 0}, {Recipe::SteelDrum, 0},
	{Recipe::Voice, 1}, {Recipe::Voice, 2}, {Recipe::Accordion, 0}, {Recipe::Accordion, 0},
	{Recipe::JazzOrgan, 2}, {Recipe::RockOrgan, 1}, {Recipe::DrawBar, 1}, {Recipe::DrawBar, 2},
	{Recipe::PipeOrgan, 1}, {Recipe::PipeOrgan, 2}, {Recipe::RockOrgan, 2}, {Recipe::SynthSolo, 0},
	{Recipe::SynthSolo, 0}, {Recipe::Synth, 2},
	// 147..190 hi-mid group
	{Recipe::Synth, 2}, {Recipe::Synth, 3}, {Recipe::Brass, 0}, {Recipe::Brass, 0}, {Recipe::Orchestra, 0},
	{Recipe::Piano, 1}, {Recipe::Piano, 4}, {Recipe::EPiano, 1}, {Recipe::EPiano, 1}, {Recipe::EPiano, 2},
	{Recipe::EPiano, 3}, {Recipe::Clavi, 0}, {Recipe::Harpsichord, 0}, {Recipe::Harpsichord, 0},
	{Recipe::Vibe, 0}, {Recipe::DigiBass, 1}, {Recipe::DigiBass, 2}, {Recipe::DigiBass, 2},
	{Recipe::PickBass, 0}, {Recipe::Glocken, 0}, {Recipe::Glocken, 0}, {Recipe::Tine, 0}, {Recipe::Tine, 0},
	{Recipe::Tine, 0}, {Recipe::TubeBell, 0}, {Recipe::TubeBell, 0}, {Recipe::TubeBell, 0},
	{Recipe::Xylophone, 0}, {Recipe::Xylophone, 0}, {Recipe::Harp, 0}, {Recipe::Koto, 0}, {Recipe::Sitar, 0},
	{Recipe::Sitar, 0}, {Recipe::Kalimba, 0}, {Recipe::Kalimba, 0}, {Recipe::Kalimba, 0},
	{Recipe::LogDrum, 0}, {Recipe::SteelDrum, 0}, {Recipe::PipeOrgan, 3}, {Recipe::PipeOrgan, 3},
	{Recipe::Synth, 1}, {Recipe::Synth, 2}, {Recipe::Synth, 3}, {Recipe::Synth, 3},
	// 189..204: the last two of the hi-mid group, then the hi group
	{Recipe::Synth, 4}, {Recipe::Synth, 4}, {Recipe::Clavi, 0}, {Recipe::DigiBass, 1},
	{Recipe::DigiBass, 1}, {Recipe::PickBass, 0}, {Recipe::PickBass, 0}, {Recipe::RoundBass, 0},
	{Recipe::RoundBass, 0}, {Recipe::Harmonica, 0}, {Recipe::Harmonica, 0}, {Recipe::Harp, 0},
	{Recipe::Koto, 0}, {Recipe::Sitar, 0}, {Recipe::Marimba, 0}, {Recipe::Synth, 1},
};

// Fundamental the group is voiced around (Hz); 0 for the basic waves, which are defined by
// harmonic number alone.
double groupFundamental(size_t wave)
{
	if (wave < 40)
		return 0.0;
	if (wave < 75)
		return 110.0;
	if (wave < 146)
		return 220.0;
	if (wave < 190)
		return 440.0;
	return 880.0;
}

size_t groupStart(size_t wave)
{
	if (wave < 40)
		return 0;
	if (wave < 75)
		return 40;
	if (wave < 146)
		return 75;
	if (wave < 190)
		return 146;
	return 190;
}

// High-pass of the given order with corner fc.
double hp(double f, double fc, int order)
{
	const double r2 = sq(fc / f);
	double p = 1.0;
	for (int i = 0; i < order; ++i)
		p *= r2;
	return 1.0 / std::sqrt(1.0 + p);
}

double tilt(int n, double p)
{
	return powDet(static_cast<double>(n), -p);
}

using Spectrum = std::array<double, kMaxHarmonic + 1>;

// Sine amplitudes of a frequency-modulated sine: carrier c and modulator m in harmonics, index I.
Spectrum fm(int c, int m, double index)
{
	Spectrum s{};
	for (int k = -40; k <= 40; ++k)
	{
		const int f = c + k * m;
		const double j = besselJ(k, index);
		if (f > 0 && f <= kMaxHarmonic)
			s[f] += j;
		else if (f < 0 && -f <= kMaxHarmonic)
			s[-f] -= j;
	}
	return s;
}

// A sparse set of partials on given harmonics.
Spectrum partials(std::initializer_list<std::pair<int, double>> list)
{
	Spectrum s{};
	for (const auto& [n, a] : list)
		s[n] += a;
	return s;
}

// Drives the cycle through a soft clip and returns the new sine series: an overdriven organ or
// a fuzz stays a sum of sines because the clip is odd.
Spectrum overdrive(const Spectrum& in, double drive)
{
	constexpr int kPoints = 1024;
	std::array<double, kPoints> y{};
	double peak = 0.0;
	for (int k = 0; k < kPoints; ++k)
	{
		double v = 0.0;
		for (int n = 1; n <= kMaxHarmonic; ++n)
			if (in[n] != 0.0)
				v += in[n] * sinTurns(n * (k + 0.5) / kPoints);
		y[k] = v;
		peak = absd(v) > peak ? absd(v) : peak;
	}
	for (double& v : y)
		v = softClip(drive * v / peak);
	Spectrum out{};
	for (int n = 1; n <= kMaxHarmonic; ++n)
	{
		double acc = 0.0;
		for (int k = 0; k < kPoints; ++k)
			acc += y[k] * sinTurns(n * (k + 0.5) / kPoints);
		out[n] = acc * 2.0 / kPoints;
	}
	return out;
}

struct Voicing
{
	double f0;     // group fundamental in Hz (0 for the basic waves)
	double bright; // scales low-pass corners of same-named waves
	double shift;  // scales formant centres of same-named waves
	int variant;
};

// True when the recipe keeps the textbook phases of its shape; the others get harmonic signs
// chosen to keep the crest factor low for the 8-bit range.
bool keepsPhases(Recipe r)
{
	switch (r)
	{
	case Recipe::Sine:
	case Recipe::Saw:
	case Recipe::Square:
	case Recipe::InverseSaw:
	case Recipe::Triangle:
		return true;
	default:
		return false;
	}
}

Spectrum sawModel(int model)
{
	Spectrum s{};
	for (int n = 1; n <= kMaxHarmonic; ++n)
	{
		const double x = static_cast<double>(n);
		const double saw = 1.0 / x;
		double a = saw;
		switch (model)
		{
		case 1: a = saw; break;
		case 2: a = saw * lp(x, 40.0, 2); break;
		case 3: a = saw * lp(x, 16.0, 2); break;
		case 4: a = saw * lp(x, 7.0, 2); break;
		case 5: a = saw * lp(x, 8.0, 3) * (1.0 + 3.0 * res(x, 6.0, 1.5)); break;
		case 6: a = saw * lp(x, 12.0, 3) * (1.0 + 4.0 * res(x, 10.0, 2.0)); break;
		case 7: a = saw * lp(x, 18.0, 3) * (1.0 + 5.0 * res(x, 16.0, 2.5)); break;
		case 8: a = saw * lp(x, 26.0, 3) * (1.0 + 6.0 * res(x, 24.0, 3.0)); break;
		case 9: a = tilt(n, 0.7); break;
		case 10: a = tilt(n, 1.3); break;
		case 11: a = tilt(n, 1.7); break;
		case 12: a = (n % 3 == 0) ? 0.0 : saw; break;
		case 13: a = (n % 2 == 0) ? 0.35 * saw : saw; break;
		case 14: a = (n % 2 == 0) ? 2.2 * saw : saw; break;
		case 15: a = saw * (0.4 + 2.0 * res(x, 5.0, 4.0)); break;
		case 16: a = saw * excite(n, 0.2); break;
		case 17: a = saw * (1.0 - 0.85 * res(x, 6.0, 5.0)); break;
		case 18: a = saw * (1.0 + 2.5 * res(x, 4.0, 1.5) + 3.0 * res(x, 12.0, 2.5)); break;
		case 19: a = saw * lp(x, 12.0, 4) * (1.0 + 8.0 * res(x, 12.0, 1.5)); break;
		default: break;
		}
		s[n] = a;
	}
	return s;
}

Spectrum squareModel(int model)
{
	Spectrum s{};
	for (int n = 1; n <= kMaxHarmonic; ++n)
	{
		const double x = static_cast<double>(n);
		switch (model)
		{
		case 1: s[n] = (n & 1) ? 1.0 / x : 0.0; break;
		case 2: s[n] = absd(sinTurns(0.5 * n * 0.25)) / x; break;
		case 3: s[n] = absd(sinTurns(0.5 * n * 0.125)) / x; break;
		case 4: s[n] = (n & 1) ? lp(x, 9.0, 2) / x : 0.0; break;
		case 5: s[n] = absd(sinTurns(0.5 * n * 0.4)) / x; break;
		default: break;
		}
	}
	return s;
}

// The instrument spectra; f is the harmonic's frequency at the group fundamental.
Spectrum instrument(Recipe r, int model, const Voicing& v)
{
	const double B = v.bright;
	const double S = v.shift;
	Spectrum s{};
	auto each = [&](auto amp) {
		for (int n = 1; n <= kMaxHarmonic; ++n)
			s[n] = amp(n, static_cast<double>(n) * v.f0);
	};
	switch (r)
	{
	case Recipe::FrenchHorn:
		each([&](int n, double f) { return tilt(n, 0.6) * lp(f, 800.0 * B, 3) * (1.0 + 1.5 * res(f, 450.0 * S, 400.0)); });
		break;
	case Recipe::Brass:
		each([&](int n, double f) {
			return tilt(n, 0.45) * hp(f, 220.0, 1) * (0.25 + res(f, 1200.0 * S, 1400.0)) * lp(f, 2600.0 * B, 2);
		});
		break;
	case Recipe::Trumpet:
		each([&](int n, double f) {
			return tilt(n, 0.3) * hp(f, 330.0, 1) * (0.3 + res(f, 1400.0 * S, 1200.0) + 0.5 * res(f, 2700.0 * S, 1200.0)) *
				   lp(f, 4200.0 * B, 2);
		});
		break;
	case Recipe::String:
		each([&](int n, double f) {
			return tilt(n, 1.0) * (0.35 + 0.65 * excite(n, 1.0 / 7.3)) *
				   (1.0 + 1.2 * res(f, 280.0 * S, 120.0) + res(f, 520.0 * S, 160.0) + 1.5 * res(f, 2500.0 * S, 1200.0)) *
				   lp(f, 5000.0 * B, 2);
		});
		break;
	case Recipe::Violin:
		each([&](int n, double f) {
			return tilt(n, 0.8) * (0.4 + 0.6 * excite(n, 1.0 / 8.3)) *
				   (1.0 + res(f, 300.0 * S, 150.0) + 2.5 * res(f, 3000.0 * S, 1500.0)) * lp(f, 6000.0 * B, 2);
		});
		break;
	case Recipe::StringPad:
		each([&](int n, double f) { return tilt(n, 1.3) * (1.0 + res(f, 500.0 * S, 400.0)) * lp(f, 1800.0 * B, 2); });
		break;
	case Recipe::Orchestra:
		each([&](int n, double f) {
			const double strings = tilt(n, 1.0) * (1.0 + 1.5 * res(f, 2500.0 * S, 1200.0)) * lp(f, 5000.0 * B, 2);
			const double brass = tilt(n, 0.45) * hp(f, 220.0, 1) * res(f, 1200.0 * S, 1400.0) * lp(f, 2600.0 * B, 2);
			return strings + 0.8 * brass;
		});
		break;
	case Recipe::Piano:
	{
		const double beta[5] = {0.0, 1.0 / 7.0, 1.0 / 8.5, 1.0 / 10.0, 1.0 / 12.0};
		const double corner[5] = {0.0, 2600.0, 2000.0, 1500.0, 3200.0};
		each([&](int n, double f) {
			return excite(n, beta[model]) * tilt(n, 0.9) * lp(f, corner[model] * B, 2) * (n == 2 ? 1.3 : 1.0);
		});
		break;
	}
	case Recipe::ElGrand:
		each([&](int n, double f) {
			return excite(n, 1.0 / 9.0) * tilt(n, 0.7) * (1.0 + res(f, 1800.0 * S, 1500.0)) * lp(f, 3500.0 * B, 2);
		});
		break;
	case Recipe::EPiano:
	{
		// Tine pianos: a gentle frequency modulation with a faint high tine partial.
		const double index = (model == 1 ? 1.0 : model == 2 ? 1.7 : 1.2) * B;
		s = fm(1, model == 3 ? 2 : 1, index);
		const int tine = v.f0 > 0.0 ? static_cast<int>(2600.0 * S / v.f0) : 14;
		if (tine > 2 && tine <= kMaxHarmonic)
			s[tine] += 0.08;
		break;
	}
	case Recipe::Clavi:
		each([&](int n, double f) {
			return excite(n, 0.23) * tilt(n, 0.6) * (1.0 + 1.5 * res(f, 1500.0 * S, 1000.0)) * lp(f, 5000.0 * B, 2);
		});
		break;
	case Recipe::Harpsichord:
		each([&](int n, double f) {
			return excite(n, 1.0 / 12.0) * tilt(n, 0.5) * (1.0 + res(f, 3000.0 * S, 2000.0)) * lp(f, 7000.0 * B, 1);
		});
		break;
	case Recipe::Vibe:
		s = partials({{1, 1.0}, {2, 0.03}, {4, 0.3 * B}, {10, 0.1 * B}});
		break;
	case Recipe::AGuitar:
		each([&](int n, double f) {
			return excite(n, 1.0 / 5.5) * tilt(n, 1.1) * (1.0 + 0.8 * res(f, 220.0 * S, 120.0)) * lp(f, 2500.0 * B, 2);
		});
		break;
	case Recipe::FGuitar:
		each([&](int n, double f) {
			return excite(n, 1.0 / 6.5) * tilt(n, 0.85) * (1.0 + 0.8 * res(f, 2500.0 * S, 1500.0)) * lp(f, 5000.0 * B, 2);
		});
		break;
	case Recipe::Strat:
		each([&](int n, double f) {
			return excite(n, 1.0 / 5.2) * excite(n, 0.09) * tilt(n, 0.6) * (1.0 + 2.0 * res(f, 3000.0 * S, 1200.0)) *
				   lp(f, 4000.0 * B, 4);
		});
		break;
	case Recipe::AcBass:
		each([&](int n, double f) { return excite(n, 1.0 / 4.5) * tilt(n, 1.0) * lp(f, 500.0 * B, 3); });
		break;
	case Recipe::PickBass:
		each([&](int n, double f) {
			return excite(n, 1.0 / 7.0) * tilt(n, 0.9) * (1.0 + res(f, 1200.0 * S, 800.0)) * lp(f, 1800.0 * B, 2);
		});
		break;
	case Recipe::DigiBass:
		s = model == 1 ? fm(1, 1, 2.2 * B) : fm(1, 2, 1.6 * B);
		break;
	case Recipe::RoundBass:
		each([&](int n, double f) { return tilt(n, 2.5) * lp(f, 450.0 * B, 2); });
		break;
	case Recipe::Fretless:
		each([&](int n, double f) { return tilt(n, 1.2) * (1.0 + 2.0 * res(f, 550.0 * S, 300.0)) * lp(f, 1500.0 * B, 2); });
		break;
	case Recipe::PullBass:
		each([&](int n, double f) {
			return excite(n, 1.0 / 8.0) * tilt(n, 0.7) * (1.0 + 1.5 * res(f, 1800.0 * S, 1500.0)) * lp(f, 4000.0 * B, 2);
		});
		break;
	case Recipe::SlapBass:
		each([&](int n, double f) {
			return tilt(n, 0.6) * (n == 1 ? 1.5 : 1.0) * (1.0 + 2.0 * res(f, 2500.0 * S, 2000.0)) * lp(f, 6000.0 * B, 2);
		});
		break;
	case Recipe::SynthBass:
		each([&](int n, double f) { return tilt(n, 1.0) * lp(f, 600.0 * B, 4) * (1.0 + 3.0 * res(f, 600.0 * B, 120.0)); });
		break;
	case Recipe::Flute:
		each([&](int n, double f) { return tilt(n, 2.5) * (n == 2 ? 1.8 : 1.0) * lp(f, 1800.0 * B, 2); });
		break;
	case Recipe::Panflute:
		each([&](int n, double f) { return tilt(n, 3.0) * ((n & 1) ? 1.0 : 0.3) * lp(f, 1500.0 * B, 2); });
		break;
	case Recipe::Harmonica:
		each([&](int n, double f) { return tilt(n, 0.5) * (1.0 + 1.5 * res(f, 1600.0 * S, 1400.0)) * lp(f, 3500.0 * B, 3); });
		break;
	case Recipe::Clarinet:
		each([&](int n, double f) {
			const double even = f < 1500.0 * S ? 0.08 : 0.6;
			return tilt(n, 0.8) * ((n & 1) ? 1.0 : even) * lp(f, 3000.0 * B, 2);
		});
		break;
	case Recipe::Oboe:
		each([&](int n, double f) {
			return tilt(n, 0.3) * hp(f, 300.0, 1) * (0.2 + res(f, 1100.0 * S, 500.0) + 0.6 * res(f, 2900.0 * S, 800.0)) *
				   lp(f, 5000.0 * B, 2);
		});
		break;
	case Recipe::Shakuhachi:
		s = partials({{1, 1.0}, {2, 0.6}, {3, 0.25 * B}, {4, 0.1 * B}, {5, 0.04 * B}});
		break;
	case Recipe::Glocken:
		s = partials({{1, 1.0}, {3, 0.5 * B}, {5, 0.35 * B}, {9, 0.2 * B}, {12, 0.08 * B}});
		break;
	case Recipe::Tine:
		s = fm(1, 7, 0.8 * B);
		break;
	case Recipe::Harp:
		each([&](int n, double f) { return excite(n, 1.0 / 3.5) * tilt(n, 1.6) * lp(f, 1500.0 * B, 2); });
		break;
	case Recipe::Marimba:
		s = partials({{1, 1.0}, {3, 0.05}, {4, 0.15 * B}, {10, 0.04 * B}});
		break;
	case Recipe::ETom:
		s = partials({{1, 1.0}, {2, 0.3 * B}, {3, 0.08 * B}});
		break;
	case Recipe::LogDrum:
		s = partials({{1, 1.0}, {3, 0.45 * B}, {6, 0.15 * B}});
		break;
	case Recipe::SteelDrum:
		s = partials({{1, 1.0}, {2, 0.8}, {3, 0.5 * B}, {4, 0.25 * B}, {5, 0.3 * B}, {6, 0.1 * B}});
		break;
	case Recipe::OrientalBell:
		s = fm(2, 5, 1.5 * B);
		break;
	case Recipe::Bell:
		s = fm(2, 7, 2.5 * B);
		break;
	case Recipe::TubeBell:
		s = partials({{2, 0.3}, {4, 1.0}, {6, 0.6}, {9, 0.45 * B}, {11, 0.5 * B}, {14, 0.25 * B}, {18, 0.15 * B}});
		break;
	case Recipe::Xylophone:
		s = partials({{1, 1.0}, {3, 0.5 * B}, {6, 0.15 * B}, {9, 0.05 * B}});
		break;
	case Recipe::Kalimba:
		s = partials({{1, 1.0}, {2, 0.05}, {6, 0.25 * B}, {15, 0.08 * B}});
		break;
	case Recipe::Koto:
		each([&](int n, double f) {
			return excite(n, 0.12) * tilt(n, 0.6) * (1.0 + 1.3 * res(f, 2200.0 * S, 1500.0)) * lp(f, 5000.0 * B, 2);
		});
		break;
	case Recipe::Sitar:
		each([&](int n, double f) {
			return tilt(n, 0.35) * (1.0 + 2.0 * res(f, 3000.0 * S, 2000.0)) * (0.5 + 0.5 * absd(sinTurns(n * 0.37))) *
				   lp(f, 7000.0 * B, 1);
		});
		break;
	case Recipe::Voice:
		// Vowels: model 1 an open "ah", model 2 a rounded "oo".
		each([&](int n, double f) {
			const double formants = model == 1
										? res(f, 730.0 * S, 90.0) + 0.5 * res(f, 1090.0 * S, 110.0) + 0.3 * res(f, 2440.0 * S, 170.0)
										: res(f, 300.0 * S, 60.0) + 0.4 * res(f, 870.0 * S, 80.0) + 0.1 * res(f, 2240.0 * S, 100.0);
			return tilt(n, 1.0) * (0.03 + formants);
		});
		break;
	case Recipe::Accordion:
		each([&](int n, double f) {
			return tilt(n, 0.4) * (1.0 + res(f, 2000.0 * S, 1500.0)) * lp(f, 5000.0 * B, 2) * ((n & 1) ? 1.0 : 0.7);
		});
		break;
	case Recipe::JazzOrgan:
		s = model == 1 ? partials({{1, 1.0}, {2, 0.7}, {3, 0.6}, {6, 0.02}, {8, 0.015}})
					   : partials({{1, 1.0}, {2, 0.5}, {3, 0.7}, {4, 0.3}, {8, 0.02}});
		break;
	case Recipe::RockOrgan:
		s = model == 1 ? overdrive(partials({{1, 1.0}, {2, 0.9}, {3, 0.8}, {4, 0.8}, {5, 0.6}, {6, 0.7}, {8, 0.6}}), 1.6 * B)
					   : overdrive(partials({{1, 1.0}, {2, 0.8}, {3, 0.8}, {4, 0.5}}), 2.4 * B);
		break;
	case Recipe::DrawBar:
		s = model == 1 ? partials({{1, 1.0}, {2, 0.6}, {4, 0.4}})
					   : partials({{1, 1.0}, {3, 0.7}, {5, 0.5}, {6, 0.4}, {8, 0.4}});
		break;
	case Recipe::PipeOrgan:
		if (model == 2)
			s = partials({{1, 1.0}, {2, 0.1}, {3, 0.3}, {5, 0.12}, {7, 0.05}});
		else if (model == 1)
			each([&](int n, double f) {
				const double octave = (n == 2 || n == 4 || n == 8 || n == 16) ? 1.8 : 1.0;
				const double fifth = (n == 3 || n == 6 || n == 12) ? 1.5 : 1.0;
				return tilt(n, 1.4) * octave * fifth * lp(f, 4000.0 * B, 2);
			});
		else
			each([&](int n, double f) { return tilt(n, 0.4) * (1.0 + res(f, 1500.0 * S, 1000.0)) * lp(f, 3000.0 * B, 2); });
		break;
	case Recipe::MelloPad:
		each([&](int n, double f) { return tilt(n, 1.8) * ((n & 1) ? 1.0 : 0.4) * lp(f, 1000.0 * B, 2); });
		break;
	case Recipe::SynthSolo:
		each([&](int n, double f) {
			return ((n & 1) ? 1.0 : 0.3) / n * (1.0 + 1.5 * res(f, 1500.0 * S, 800.0)) * lp(f, 4000.0 * B, 2);
		});
		break;
	case Recipe::Synth:
		each([&](int n, double f) {
			switch (model)
			{
			case 1: return lp(f, 2000.0 * B, 2) * (1.0 + 2.0 * res(f, 2000.0 * B, 300.0)) / n;
			case 2: return absd(sinTurns(0.5 * n * 0.3)) / n * lp(f, 5000.0 * B, 2);
			case 3: return (0.3 + 2.0 * res(static_cast<double>(n), 7.0 * S, 3.0)) / n;
			default: return (absd(sinTurns(0.5 * n * 0.2)) + absd(sinTurns(0.5 * n * 0.45))) / n * lp(f, 3500.0 * B, 2);
			}
		});
		break;
	default:
		throw std::logic_error("recipe without a spectrum");
	}
	return s;
}

Spectrum spectrumOf(size_t wave)
{
	const WaveDef& def = kWaves[wave];
	switch (def.recipe)
	{
	case Recipe::Sine:
		return partials({{def.model, 1.0}});
	case Recipe::Saw:
		return sawModel(def.model);
	case Recipe::Square:
		return squareModel(def.model);
	case Recipe::InverseSaw:
	{
		Spectrum s{};
		for (int n = 1; n <= kMaxHarmonic; ++n)
			s[n] = ((n & 1) ? 1.0 : -1.0) / n;
		return s;
	}
	case Recipe::Triangle:
	{
		Spectrum s{};
		for (int n = 1; n <= kMaxHarmonic; n += 2)
			s[n] = ((n & 3) == 1 ? 1.0 : -1.0) / (static_cast<double>(n) * n);
		return s;
	}
	case Recipe::Random:
	{
		Spectrum s{};
		Rng rng(0x52414E44);
		for (int n = 1; n <= kMaxHarmonic; ++n)
			s[n] = (0.15 + 0.85 * rng.uniform()) * tilt(n, 0.6) * lp(n, 30.0, 2);
		return s;
	}
	default:
		break;
	}
	// Same-named waves in one group are told apart by brightness, formant position and slope;
	// the groups themselves get brighter towards the low end, where fewer harmonics are heard.
	int variant = 0;
	for (size_t w = groupStart(wave); w < wave; ++w)
		if (kWaves[w].recipe == def.recipe && kWaves[w].model == def.model)
			++variant;
	static const double variantBright[4] = {1.0, 0.6, 1.6, 0.45};
	static const double variantShift[4] = {1.0, 0.88, 1.12, 0.8};
	static const double variantTilt[4] = {0.0, 0.25, -0.15, 0.4};
	static const double groupBright[4] = {1.25, 1.0, 0.8, 0.65};
	static const double groupTilt[4] = {-0.1, 0.0, 0.15, 0.3};
	const int group = wave < 75 ? 0 : wave < 146 ? 1 : wave < 190 ? 2 : 3;
	const int vi = variant & 3;
	Voicing v;
	v.f0 = groupFundamental(wave);
	v.variant = variant;
	v.bright = variantBright[vi] * groupBright[group];
	v.shift = variantShift[vi];
	Spectrum s = instrument(def.recipe, def.model, v);
	const double slope = groupTilt[group] + variantTilt[vi];
	for (int n = 2; n <= kMaxHarmonic; ++n)
		s[n] *= tilt(n, slope);
	return s;
}

// Raised-cosine roll-off over the top 40% of a table's harmonics, so the band limit does not
// ring.
double taper(int n, int limit)
{
	if (n > limit)
		return 0.0;
	const double knee = 0.6 * limit;
	if (n <= knee)
		return 1.0;
	return 0.5 + 0.5 * cosTurns(0.5 * (n - knee) / (limit + 1.0 - knee));
}

class HalfCycleSynth
{
public:
	HalfCycleSynth()
	{
		for (int k = 0; k < 512; ++k)
			m_sine[k] = sinTurns(k / 512.0);
	}

	// The first half of a 256-sample cycle, sampled half a step off the zero crossings so that
	// mirroring it with a sign change gives the whole cycle exactly.
	std::array<double, kHalfCycle> render(const Spectrum& s) const
	{
		std::array<double, kHalfCycle> out{};
		for (int n = 1; n <= kMaxHarmonic; ++n)
		{
			if (s[n] == 0.0)
				continue;
			for (size_t j = 0; j < kHalfCycle; ++j)
				out[j] += s[n] * m_sine[(n * (2 * j + 1)) & 511];
		}
		return out;
	}

	// Harmonic n at sample j of the half cycle.
	double basis(int n, size_t j) const { return m_sine[(n * (2 * j + 1)) & 511]; }

private:
	std::array<double, 512> m_sine{};
};

double peakOf(const std::array<double, kHalfCycle>& x)
{
	double p = 0.0;
	for (double v : x)
		p = absd(v) > p ? absd(v) : p;
	return p;
}

// Rounds a scaled half cycle to steps of 1/128, choosing between the two nearest steps so that
// the rounding error puts as little as possible above the table's harmonic limit: plain rounding
// spreads its error over every harmonic, which would show up as aliasing at the top of the range.
std::array<int, kHalfCycle> quantise(const std::array<double, kHalfCycle>& half, double gain, int limit,
									 const HalfCycleSynth& synth)
{
	std::array<int, kHalfCycle> q{};
	std::array<double, kHalfCycle> ideal{};
	for (size_t j = 0; j < kHalfCycle; ++j)
	{
		ideal[j] = half[j] * gain * 128.0;
		q[j] = static_cast<int>(roundDet(ideal[j]));
	}
	// Content of the error on each harmonic above the limit, up to the table's own Nyquist.
	const int first = limit + 1;
	std::vector<double> content;
	for (int n = first; n <= 128; ++n)
	{
		double c = 0.0;
		for (size_t j = 0; j < kHalfCycle; ++j)
			c += (q[j] - ideal[j]) * synth.basis(n, j);
		content.push_back(c);
	}
	for (int pass = 0; pass < 4; ++pass)
	{
		bool improved = false;
		for (size_t j = 0; j < kHalfCycle; ++j)
		{
			const int other = q[j] - ideal[j] > 0.0 ? q[j] - 1 : q[j] + 1;
			if (other > 127 || other < -127)
				continue;
			const double delta = other - q[j];
			double change = 0.0;
			for (int n = first; n <= 128; ++n)
			{
				const double b = delta * synth.basis(n, j);
				const double c = content[n - first];
				change += (c + b) * (c + b) - c * c;
			}
			if (change < -1e-12)
			{
				for (int n = first; n <= 128; ++n)
					content[n - first] += delta * synth.basis(n, j);
				q[j] = other;
				improved = true;
			}
		}
		if (!improved)
			break;
	}
	for (int& v : q)
		v = std::clamp(v, -127, 127);
	return q;
}

double rmsOf(const std::array<double, kHalfCycle>& x)
{
	double sum = 0.0;
	for (double v : x)
		sum += v * v;
	return std::sqrt(sum / kHalfCycle);
}

// Chooses harmonic signs that keep the richest table's peak low against its loudness.
Spectrum lowCrestSigns(const Spectrum& s, const HalfCycleSynth& synth, size_t wave)
{
	Spectrum best = s;
	double bestCrest = 0.0;
	Rng rng(0xC0FFEE00ull + wave);
	for (int attempt = 0; attempt < 12; ++attempt)
	{
		Spectrum candidate = s;
		if (attempt > 0)
			for (int n = 2; n <= kMaxHarmonic; ++n)
				if (rng.next() & (1ull << 40))
					candidate[n] = -candidate[n];
		Spectrum limited{};
		double power = 0.0;
		for (int n = 1; n <= kMaxHarmonic; ++n)
		{
			limited[n] = candidate[n] * taper(n, kHarmonicLimit[0]);
			power += limited[n] * limited[n];
		}
		if (power <= 0.0)
			return s;
		const double crest = peakOf(synth.render(limited)) / std::sqrt(power);
		if (attempt == 0 || crest < bestCrest)
		{
			bestCrest = crest;
			best = candidate;
		}
	}
	return best;
}
}

std::vector<uint8_t> buildCyclicArea()
{
	const HalfCycleSynth synth;
	std::vector<uint8_t> out;
	out.reserve(kCyclicCount * kCyclicSegment);
	for (size_t w = 0; w < kCyclicCount; ++w)
	{
		Spectrum s = spectrumOf(w);
		if (!keepsPhases(kWaves[w].recipe))
			s = lowCrestSigns(s, synth, w);
		// Every table plays at one loudness, so a run up the keyboard does not step in level at the
		// range boundaries: the loudest that all five reach without clipping. The narrower tables
		// of a bright wave lose the most harmonics and so set it.
		std::array<std::array<double, kHalfCycle>, kTablesPerWave> halves{};
		std::array<double, kTablesPerWave> rms{};
		double loudness = 0.0;
		for (size_t t = 0; t < kTablesPerWave; ++t)
		{
			Spectrum limited{};
			for (int n = 1; n <= kMaxHarmonic; ++n)
				limited[n] = kWaves[w].recipe == Recipe::Sine ? s[n] : s[n] * taper(n, kHarmonicLimit[t]);
			halves[t] = synth.render(limited);
			const double peak = peakOf(halves[t]);
			rms[t] = rmsOf(halves[t]);
			if (peak <= 0.0)
				throw std::logic_error("silent cyclic table");
			const double reach = rms[t] * kPeak / peak;
			loudness = t == 0 ? reach : std::min(loudness, reach);
		}
		for (size_t t = 0; t < kTablesPerWave; ++t)
		{
			const std::array<double, kHalfCycle>& half = halves[t];
			const double gain = loudness / rms[t];
			const std::array<int, kHalfCycle> q =
				quantise(half, gain, kWaves[w].recipe == Recipe::Sine ? kMaxHarmonic : kHarmonicLimit[t], synth);
			for (int v : q)
				out.push_back(static_cast<uint8_t>(128 + v));
		}
	}
	return out;
}
}
