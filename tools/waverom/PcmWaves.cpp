#include "PcmWaves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "DetMath.h"
#include "Quantize.h"
#include "RomLayout.h"
#include "Spectra.h"

namespace waverom
{
namespace
{
using Buf = std::vector<double>;

constexpr double kRate = kRomRate;
// A sampled wave plays its data at the ROM rate at pitch 68.
constexpr double kPitch68 = 415.28961;
// Loops hold whole cycles: 17 cycles every 2,048 samples (415.04 Hz, a cent below pitch 68).
constexpr double kLoopCyclesPerSample = 17.0 / 2048.0;
constexpr double kPeak = 0.97;

// Sine of a phase in turns from a fine table; the table itself comes from the exact series.
class SineTable
{
public:
	static constexpr int kSize = 65536;
	SineTable() : m_table(kSize + 1)
	{
		for (int i = 0; i <= kSize; ++i)
			m_table[i] = sinTurns(static_cast<double>(i) / kSize);
	}
	double operator()(double turns) const
	{
		const double t = (turns - std::floor(turns)) * kSize;
		const int i = static_cast<int>(t);
		const double f = t - i;
		return m_table[i] + (m_table[i + 1] - m_table[i]) * f;
	}

private:
	std::vector<double> m_table;
};

const SineTable& sine()
{
	static const SineTable table;
	return table;
}

double decayFactor(double seconds)
{
	return expDet(-1.0 / (seconds * kRate));
}

// One exponentially decaying sine added from sample `from`.
void addPartial(Buf& b, size_t from, double hz, double amp, double tau, double phase = 0.0)
{
	if (hz <= 0.0 || hz >= 20000.0)
		return;
	const double k = decayFactor(tau);
	const double step = hz / kRate;
	double env = amp;
	const SineTable& s = sine();
	for (size_t i = from; i < b.size() && env > 1e-6; ++i)
	{
		b[i] += env * s(phase + step * static_cast<double>(i - from));
		env *= k;
	}
}

// A plucked or struck string: partials with stretched tuning (stiffness B), each decaying faster
// the higher it is; the first partial sits exactly on hz.
struct StringModel
{
	double hz = kPitch68;
	double stiffness = 0.0;
	double tau = 0.5;       // decay of the first partial in seconds
	double tauSlope = 0.2;  // decay gets shorter by this share per partial
	double detune = 0.0;    // second string, in Hz; 0 for one string
	std::function<double(int, double)> amplitude;
};

void addString(Buf& b, const StringModel& m)
{
	const double norm = std::sqrt(1.0 + m.stiffness);
	for (int n = 1; n <= 60; ++n)
	{
		const double f = m.hz * n * std::sqrt(1.0 + m.stiffness * n * n) / norm;
		if (f >= 18000.0)
			break;
		const double a = m.amplitude(n, f);
		const double tau = m.tau / (1.0 + m.tauSlope * (n - 1));
		if (m.detune != 0.0)
		{
			addPartial(b, 0, f, 0.5 * a, tau);
			addPartial(b, 0, f + m.detune * n, 0.5 * a, tau * 0.8);
		}
		else
			addPartial(b, 0, f, a, tau);
	}
}

// A cycle of 4,096 points from sine amplitudes of harmonics 1.., read with linear interpolation.
class CycleTable
{
public:
	static constexpr int kSize = 4096;
	explicit CycleTable(const std::vector<double>& harmonics) : m_table(kSize + 1)
	{
		for (int k = 0; k < kSize; ++k)
		{
			double v = 0.0;
			for (size_t h = 1; h < harmonics.size(); ++h)
				v += harmonics[h] * sinTurns(static_cast<double>((h * k) % kSize) / kSize);
			m_table[k] = v;
		}
		m_table[kSize] = m_table[0];
	}
	double operator()(double turns) const
	{
		const double t = (turns - std::floor(turns)) * kSize;
		const int i = static_cast<int>(t);
		return m_table[i] + (m_table[i + 1] - m_table[i]) * (t - i);
	}

	// The zero crossing with the gentlest slope, in turns: a loop that starts there has its
	// seam where the wave is quiet and smooth, so it also runs on into a segment that starts from
	// silence.
	double quietZeroCrossing() const
	{
		int best = 0;
		double bestSlope = 1e300;
		for (int k = 0; k < kSize; ++k)
		{
			const double slope = m_table[k + 1] - m_table[k];
			const bool crosses = (m_table[k] <= 0.0 && m_table[k + 1] > 0.0) || (m_table[k] >= 0.0 && m_table[k + 1] < 0.0);
			if (crosses && absd(slope) < absd(bestSlope))
			{
				bestSlope = slope;
				best = k;
			}
		}
		return (static_cast<double>(best) - m_table[best] / bestSlope) / kSize;
	}

private:
	std::vector<double> m_table;
};

// Harmonic amplitudes of a spectrum at fundamental hz, up to 18 kHz.
std::vector<double> harmonicsOf(double hz, const std::function<double(int, double)>& amplitude)
{
	std::vector<double> h(1, 0.0);
	for (int n = 1; n * hz < 18000.0; ++n)
		h.push_back(amplitude(n, n * hz));
	return h;
}

// Periodic phase for a loop of `length` samples: `cycles` whole cycles plus a vibrato of
// `vibratoCycles` whole cycles over the loop and a peak frequency deviation of `depth` (share).
struct LoopPhase
{
	double cycles;
	double vibratoCycles = 0.0;
	double depth = 0.0;
	double vibratoPhase = 0.0;
	double start = 0.0;

	double at(size_t i, size_t length) const
	{
		const double t = static_cast<double>(i) / static_cast<double>(length);
		double p = start + cycles * t;
		if (vibratoCycles > 0.0)
		{
			// Frequency deviation depth * f0 at vibrato rate: phase deviation depth * cycles / vibratoCycles.
			const double swing = depth * cycles / (vibratoCycles * kTwoPi);
			p += swing * (sinTurns(vibratoCycles * t + vibratoPhase) - sinTurns(vibratoPhase));
		}
		return p;
	}
};

void addLoopVoice(Buf& b, const CycleTable& table, LoopPhase phase, double amp)
{
	phase.start = table.quietZeroCrossing();
	for (size_t i = 0; i < b.size(); ++i)
		b[i] += amp * table(phase.at(i, b.size()));
}

// Resonant band-pass (constant peak gain).
class BandPass
{
public:
	BandPass(double hz, double q)
	{
		const double w = hz / kRate;
		const double alpha = sinTurns(w) / (2.0 * q);
		const double a0 = 1.0 + alpha;
		m_b0 = alpha / a0;
		m_a1 = -2.0 * cosTurns(w) / a0;
		m_a2 = (1.0 - alpha) / a0;
	}
	double operator()(double x)
	{
		const double y = m_b0 * (x - m_x2) - m_a1 * m_y1 - m_a2 * m_y2;
		m_x2 = m_x1;
		m_x1 = x;
		m_y2 = m_y1;
		m_y1 = y;
		return y;
	}

private:
	double m_b0, m_a1, m_a2;
	double m_x1 = 0.0, m_x2 = 0.0, m_y1 = 0.0, m_y2 = 0.0;
};

class OnePole
{
public:
	explicit OnePole(double hz) : m_a(1.0 - expDet(-kTwoPi * hz / kRate)) {}
	double low(double x) { return m_y += m_a * (x - m_y); }
	double high(double x) { return x - low(x); }

private:
	double m_a;
	double m_y = 0.0;
};

Buf noise(size_t n, uint64_t seed)
{
	Rng rng(seed);
	Buf b(n);
	for (double& v : b)
		v = rng.bipolar();
	return b;
}

// Filtered noise that repeats seamlessly over its length: the filter runs over two periods and
// the second is kept, so its state at the start is the one the end leads into.
template <typename Filter>
Buf periodicNoise(size_t n, uint64_t seed, Filter filter)
{
	const Buf white = noise(n, seed);
	Buf out(n);
	for (size_t i = 0; i < 2 * n; ++i)
	{
		const double y = filter(white[i % n]);
		if (i >= n)
			out[i - n] = y;
	}
	return out;
}

// Noise through a filter with an exponential decay and a short rise.
template <typename Filter>
void addNoiseBurst(Buf& b, uint64_t seed, double amp, double tau, Filter filter, double rise = 0.001)
{
	Rng rng(seed);
	const double k = decayFactor(tau);
	double env = amp;
	const double riseSamples = rise * kRate;
	for (size_t i = 0; i < b.size(); ++i)
	{
		const double r = static_cast<double>(i) < riseSamples ? static_cast<double>(i) / riseSamples : 1.0;
		b[i] += env * r * filter(rng.bipolar());
		env *= k;
	}
}

// A sine whose frequency glides exponentially from `from` to `to` Hz with time constant glide.
void addSweep(Buf& b, double from, double to, double glide, double amp, double tau)
{
	const double kg = decayFactor(glide);
	const double ka = decayFactor(tau);
	double offset = from - to, env = amp, phase = 0.0;
	const SineTable& s = sine();
	for (size_t i = 0; i < b.size(); ++i)
	{
		b[i] += env * s(phase);
		phase += (to + offset) / kRate;
		offset *= kg;
		env *= ka;
	}
}

// RMS of b[from, to).
double rmsOf(const Buf& b, size_t from, size_t to)
{
	double sum = 0.0;
	for (size_t i = from; i < to; ++i)
		sum += b[i] * b[i];
	return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// A one-shot starts from silence and dies away before its end, so the engine can wrap it without
// a click and without a second strike. A sound that still rings when the segment runs out is
// damped first, as a player's hand or a released key would: an exponential fall from the middle
// of the segment that leaves it 40 dB under its loudest before the last fade.
void finishOneShot(Buf& b)
{
	const size_t n = b.size();
	const size_t rise = 16;
	for (size_t i = 0; i < rise && i < n; ++i)
		b[i] *= static_cast<double>(i) / rise;
	const size_t fadeFrom = n * 78 / 100, silentFrom = n * 93 / 100;
	const size_t window = n / 64;
	double loudest = 0.0;
	for (size_t from = 0; from + window <= fadeFrom; from += window)
		loudest = std::max(loudest, rmsOf(b, from, from + window));
	const double target = loudest * dbToGain(-40.0);
	const double ringing = rmsOf(b, fadeFrom - window, fadeFrom);
	if (ringing > target)
	{
		const size_t dampFrom = n * 45 / 100;
		// Per-sample factor that takes the ringing level down to the target by the fade.
		const double k = expDet(logDet(target / ringing) / static_cast<double>(fadeFrom - window / 2 - dampFrom));
		double g = 1.0;
		for (size_t i = dampFrom; i < n; ++i)
		{
			g *= k;
			b[i] *= g;
		}
	}
	for (size_t i = fadeFrom; i < n; ++i)
	{
		const double x = i >= silentFrom ? 1.0 : static_cast<double>(i - fadeFrom) / static_cast<double>(silentFrom - fadeFrom);
		b[i] *= i >= silentFrom ? 0.0 : 0.5 + 0.5 * cosTurns(0.5 * x);
	}
}

// Multiplies by a rise over `attack` seconds.
void shapeAttack(Buf& b, double attack)
{
	const double n = attack * kRate;
	for (size_t i = 0; i < b.size() && static_cast<double>(i) < n; ++i)
		b[i] *= 0.5 - 0.5 * cosTurns(0.5 * static_cast<double>(i) / n);
}

size_t loopCycles(size_t length)
{
	return static_cast<size_t>(static_cast<double>(length) * kLoopCyclesPerSample);
}

// ---- the sounds ----

Buf piano(size_t n, bool electric)
{
	Buf b(n, 0.0);
	StringModel m;
	m.stiffness = electric ? 0.00012 : 0.00035;
	m.tau = electric ? 0.55 : 0.45;
	m.tauSlope = electric ? 0.25 : 0.18;
	m.detune = electric ? 0.0 : 0.35;
	m.amplitude = [electric](int k, double f) {
		if (electric)
			return excite(k, 1.0 / 9.0) * powDet(k, -0.7) * (1.0 + 1.5 * res(f, 1800.0, 1500.0)) * lp(f, 4000.0, 2);
		return excite(k, 1.0 / 8.0) * powDet(k, -0.8) * lp(f, 3200.0, 1);
	};
	addString(b, m);
	// Hammer and key thump.
	OnePole thump(900.0);
	addNoiseBurst(b, electric ? 11 : 12, electric ? 0.15 : 0.3, 0.008, [&](double x) { return thump.low(x); });
	finishOneShot(b);
	return b;
}

Buf pluck(size_t n, double tau, double tauSlope, double stiffness, std::function<double(int, double)> amp, double pickNoise,
		  uint64_t seed)
{
	Buf b(n, 0.0);
	StringModel m;
	m.stiffness = stiffness;
	m.tau = tau;
	m.tauSlope = tauSlope;
	m.amplitude = std::move(amp);
	addString(b, m);
	OnePole pick(3000.0);
	addNoiseBurst(b, seed, pickNoise, 0.004, [&](double x) { return pick.high(x); });
	finishOneShot(b);
	return b;
}

double bowedString(int k, double f)
{
	return (0.35 + 0.65 * excite(k, 1.0 / 7.3)) / k *
		   (1.0 + 1.2 * res(f, 280.0, 120.0) + res(f, 520.0, 160.0) + 1.5 * res(f, 2500.0, 1200.0) + res(f, 3300.0, 900.0)) *
		   lp(f, 6000.0, 2);
}

// A string section: three players a few cents apart, each with its own vibrato.
Buf stringLoop(size_t n)
{
	Buf b(n, 0.0);
	const double c = static_cast<double>(loopCycles(n));
	const CycleTable table(harmonicsOf(c * kRate / n, bowedString));
	addLoopVoice(b, table, {c, 4.0, 0.004, 0.0}, 1.0);
	addLoopVoice(b, table, {c - 1.0, 5.0, 0.005, 0.0}, 0.7);
	addLoopVoice(b, table, {c + 1.0, 3.0, 0.004, 0.0}, 0.7);
	BandPass hiss(3500.0, 1.2);
	const Buf bow = periodicNoise(n, 21, [&](double x) { return hiss(x); });
	for (size_t i = 0; i < n; ++i)
		b[i] += 0.08 * bow[i];
	return b;
}

// Tone that sounds while bowed or blown: `hz`, its spectrum, a rise and a level envelope.
Buf sustainedNote(size_t n, const std::function<double(int, double)>& spectrum, double attack, double vibratoHz,
				  double vibratoDepth, double scoopCents)
{
	Buf b(n, 0.0);
	const CycleTable table(harmonicsOf(kPitch68, spectrum));
	double phase = 0.0;
	for (size_t i = 0; i < n; ++i)
	{
		const double t = static_cast<double>(i) / kRate;
		// The scoop settles from below within the attack; vibrato fades in after it.
		const double scoop = scoopCents * expDet(-t / (attack * 0.5)) / 1200.0;
		const double vib = vibratoDepth * (t > attack ? 1.0 - expDet(-(t - attack) / 0.1) : 0.0) * sinTurns(vibratoHz * t);
		phase += kPitch68 * (1.0 + vib) * expDet(-scoop * kLn2) / kRate;
		b[i] = table(phase);
	}
	shapeAttack(b, attack);
	return b;
}

double flute(int k, double f, double breathiness)
{
	const double a = k == 1 ? 1.0 : k == 2 ? 0.35 : k == 3 ? 0.14 : 0.05 * powDet(k, -2.0);
	return a * lp(f, 3000.0 + 2000.0 * breathiness, 2);
}

double panFlute(int k, double f)
{
	return (k == 1 ? 1.0 : (k & 1) ? 0.2 * powDet(k, -1.5) : 0.06 * powDet(k, -1.5)) * lp(f, 2500.0, 2);
}

double voiceAh(int k, double f)
{
	return powDet(k, -1.0) * (0.02 + res(f, 730.0, 90.0) + 0.5 * res(f, 1090.0, 110.0) + 0.35 * res(f, 2440.0, 170.0) +
							  0.15 * res(f, 3400.0, 250.0));
}

double trumpet(int k, double f)
{
	return powDet(k, -0.3) * (0.3 + res(f, 1400.0, 1200.0) + 0.5 * res(f, 2700.0, 1200.0)) * lp(f, 4500.0, 2) *
		   (f < 350.0 ? 0.6 : 1.0);
}

// Breathy wind loop: tone plus periodic breath noise around `breathHz`.
Buf windLoop(size_t n, const std::function<double(int, double)>& spectrum, double breath, double breathHz, uint64_t seed)
{
	Buf b(n, 0.0);
	const double c = static_cast<double>(loopCycles(n));
	const CycleTable table(harmonicsOf(c * kRate / n, spectrum));
	addLoopVoice(b, table, {c, 2.0, 0.003, 0.0}, 1.0);
	BandPass band(breathHz, 0.8);
	const Buf air = periodicNoise(n, seed, [&](double x) { return band(x); });
	for (size_t i = 0; i < n; ++i)
	{
		// The breath swells once per loop, as a player's does.
		const double swell = 1.0 + 0.1 * sinTurns(static_cast<double>(i) / n);
		b[i] = b[i] * swell + breath * air[i] * swell;
	}
	return b;
}

// The onset of a blown or bowed note: a burst of air or bow noise and the tone rising under it.
Buf attackOneShot(size_t n, const std::function<double(int, double)>& spectrum, double noiseAmp, double noiseHz, double noiseQ,
				  double attack, uint64_t seed)
{
	Buf b = sustainedNote(n, spectrum, attack, 5.5, 0.003, 0.0);
	// The tone dies away after its onset: the sustain comes from the sustain wave layered with it.
	const double k = decayFactor(0.04);
	double env = 1.0;
	for (size_t i = 0; i < n; ++i)
	{
		if (static_cast<double>(i) > attack * kRate)
			env *= k;
		b[i] *= env;
	}
	BandPass band(noiseHz, noiseQ);
	addNoiseBurst(b, seed, noiseAmp, 0.03, [&](double x) { return band(x); }, 0.004);
	finishOneShot(b);
	return b;
}

Buf fuzzLoop(size_t n)
{
	// One clipped cycle, reduced back to the harmonics below 18 kHz, then chugged once per loop
	// like a palm-muted riff in eighth notes.
	const double c = static_cast<double>(loopCycles(n));
	const double hz = c * kRate / n;
	const std::vector<double> clean = harmonicsOf(hz, [](int k, double f) {
		return excite(k, 1.0 / 5.2) * excite(k, 0.09) * powDet(k, -0.6) * lp(f, 3000.0, 2);
	});
	const CycleTable cleanTable(clean);
	constexpr int kPoints = CycleTable::kSize;
	std::vector<double> clipped(kPoints);
	double peak = 0.0;
	for (int k = 0; k < kPoints; ++k)
		peak = std::max(peak, absd(cleanTable(static_cast<double>(k) / kPoints)));
	for (int k = 0; k < kPoints; ++k)
		clipped[k] = softClip(7.0 * cleanTable(static_cast<double>(k) / kPoints) / peak);
	std::vector<double> fuzz(clean.size(), 0.0);
	for (size_t h = 1; h < fuzz.size(); ++h)
	{
		double acc = 0.0;
		for (int k = 0; k < kPoints; ++k)
			acc += clipped[k] * sinTurns(static_cast<double>((h * k) % kPoints) / kPoints);
		// A muted, boxy cabinet.
		fuzz[h] = acc * 2.0 / kPoints * lp(h * hz, 2500.0, 2) * (1.0 + res(h * hz, 1200.0, 800.0));
	}
	const CycleTable table(fuzz);
	Buf b(n, 0.0);
	addLoopVoice(b, table, {c}, 1.0);
	const size_t chug = n;
	const double k = decayFactor(0.04);
	for (size_t start = 0; start < n; start += chug)
	{
		double env = 1.0;
		for (size_t i = 0; i < chug; ++i)
		{
			const double rise = i < 150 ? 0.5 - 0.5 * cosTurns(0.5 * i / 150.0) : 1.0;
			const double level = 0.3 + 0.7 * env;
			// From the floor of the previous chug up to the peak of this one.
			b[start + i] *= i < 150 ? 0.3 + (level - 0.3) * rise : level;
			if (i >= 150)
				env *= k;
		}
	}
	return b;
}

Buf bassLoop(size_t n)
{
	const double c = static_cast<double>(loopCycles(n));
	const CycleTable table(harmonicsOf(c * kRate / n, [](int k, double f) {
		return excite(k, 1.0 / 8.0) * powDet(k, -0.7) * (1.0 + 1.5 * res(f, 1800.0, 1500.0)) * lp(f, 4000.0, 2);
	}));
	Buf b(n, 0.0);
	addLoopVoice(b, table, {c}, 1.0);
	return b;
}

Buf whiteNoise(size_t n)
{
	return noise(n, 0x5EED);
}

// Metal: many inharmonic partials with random frequencies, phases and decays, plus noise.
void addMetal(Buf& b, uint64_t seed, int count, double lo, double hi, double amp, double tau)
{
	Rng rng(seed);
	for (int i = 0; i < count; ++i)
	{
		// One draw per statement: argument evaluation order differs between compilers.
		const double f = lo * powDet(hi / lo, rng.uniform());
		const double a = amp * (0.4 + 0.6 * rng.uniform());
		const double t = tau * (0.5 + rng.uniform());
		const double phase = rng.uniform();
		addPartial(b, 0, f, a, t, phase);
	}
}

Buf crash(size_t n)
{
	Buf b(n, 0.0);
	addMetal(b, 51, 80, 400.0, 12000.0, 0.05, 0.25);
	OnePole hp1(3000.0), hp2(3000.0);
	addNoiseBurst(b, 52, 0.7, 0.2, [&](double x) { return hp2.high(hp1.high(x)); }, 0.0005);
	OnePole body(1500.0);
	addNoiseBurst(b, 53, 0.4, 0.03, [&](double x) { return body.low(x); });
	finishOneShot(b);
	return b;
}

Buf ride(size_t n)
{
	Buf b(n, 0.0);
	const double bell[] = {470.0, 1130.0, 2350.0, 3210.0, 4790.0};
	for (int i = 0; i < 5; ++i)
		addPartial(b, 0, bell[i], 0.25 / (1 + i * 0.5), 0.3, 0.1 * i);
	addMetal(b, 61, 50, 2500.0, 11000.0, 0.04, 0.1);
	OnePole hp1(5000.0);
	addNoiseBurst(b, 62, 0.3, 0.08, [&](double x) { return hp1.high(x); }, 0.0005);
	finishOneShot(b);
	return b;
}

Buf hiHat(size_t n)
{
	Buf b(n, 0.0);
	addMetal(b, 71, 40, 5000.0, 13000.0, 0.06, 0.04);
	OnePole hp1(7000.0), hp2(7000.0);
	addNoiseBurst(b, 72, 0.8, 0.035, [&](double x) { return hp2.high(hp1.high(x)); }, 0.0005);
	finishOneShot(b);
	return b;
}

Buf tom(size_t n)
{
	Buf b(n, 0.0);
	addSweep(b, 190.0, 125.0, 0.05, 1.0, 0.06);
	addSweep(b, 300.0, 199.0, 0.04, 0.3, 0.06);
	BandPass stick(2500.0, 0.7);
	addNoiseBurst(b, 81, 0.5, 0.006, [&](double x) { return stick(x); });
	finishOneShot(b);
	return b;
}

Buf snare(size_t n, double body, double snares, double tau, uint64_t seed)
{
	Buf b(n, 0.0);
	addSweep(b, 240.0, 185.0, 0.01, body, tau * 0.8);
	addSweep(b, 380.0, 330.0, 0.01, body * 0.6, tau * 0.6);
	BandPass wires(5000.0, 0.6);
	addNoiseBurst(b, seed, snares, tau, [&](double x) { return wires(x); }, 0.0005);
	finishOneShot(b);
	return b;
}

Buf electronicSnare(size_t n)
{
	Buf b(n, 0.0);
	addPartial(b, 0, 180.0, 0.6, 0.02);
	addPartial(b, 0, 330.0, 0.4, 0.015);
	OnePole hp1(1500.0);
	addNoiseBurst(b, 91, 0.8, 0.025, [&](double x) { return hp1.high(x); }, 0.0005);
	finishOneShot(b);
	return b;
}

Buf bassDrum(size_t n)
{
	Buf b(n, 0.0);
	addSweep(b, 200.0, 52.0, 0.012, 1.0, 0.045);
	OnePole click(4000.0);
	addNoiseBurst(b, 101, 0.3, 0.0015, [&](double x) { return click.low(x); }, 0.0002);
	finishOneShot(b);
	return b;
}

Buf rim(size_t n)
{
	Buf b(n, 0.0);
	addPartial(b, 0, 520.0, 0.6, 0.012);
	addPartial(b, 0, 1730.0, 0.5, 0.008);
	addPartial(b, 0, 3310.0, 0.3, 0.006);
	BandPass click(3000.0, 0.8);
	addNoiseBurst(b, 111, 0.8, 0.003, [&](double x) { return click(x); }, 0.0002);
	finishOneShot(b);
	return b;
}

Buf pianoNoise(size_t n)
{
	Buf b(n, 0.0);
	addPartial(b, 0, 82.0, 0.5, 0.05);
	addPartial(b, 0, 131.0, 0.3, 0.04);
	OnePole thump(700.0), thump2(700.0);
	addNoiseBurst(b, 121, 1.0, 0.02, [&](double x) { return thump2.low(thump.low(x)); });
	BandPass clack(2200.0, 1.5);
	addNoiseBurst(b, 122, 0.25, 0.005, [&](double x) { return clack(x); });
	finishOneShot(b);
	return b;
}

Buf bellTone(size_t n, double h2, double h3, double tau)
{
	Buf b(n, 0.0);
	addPartial(b, 0, kPitch68, 1.0, tau);
	addPartial(b, 0, 2.0 * kPitch68, h2, tau * 0.5);
	addPartial(b, 0, 3.0 * kPitch68, h3, tau * 0.3);
	OnePole pick(2000.0);
	addNoiseBurst(b, 131, 0.05, 0.003, [&](double x) { return pick.high(x); });
	finishOneShot(b);
	return b;
}

Buf bowedNote(size_t n)
{
	Buf b = sustainedNote(n, bowedString, 0.04, 5.5, 0.004, 0.0);
	BandPass scratch(2800.0, 1.0);
	addNoiseBurst(b, 141, 0.15, 0.05, [&](double x) { return scratch(x); }, 0.005);
	finishOneShot(b);
	return b;
}

Buf trumpetNote(size_t n)
{
	// The brass spectrum opens up during the attack: higher harmonics arrive later.
	Buf b(n, 0.0);
	const std::vector<double> h = harmonicsOf(kPitch68, trumpet);
	double phase = 0.0;
	const SineTable& s = sine();
	for (size_t i = 0; i < n; ++i)
	{
		const double t = static_cast<double>(i) / kRate;
		phase += kPitch68 * expDet(-(0.3 * expDet(-t / 0.02)) / 12.0 * kLn2) / kRate;
		double v = 0.0;
		for (size_t k = 1; k < h.size(); ++k)
		{
			const double rise = 1.0 - expDet(-t / (0.006 + 0.0025 * k));
			v += h[k] * rise * s(phase * static_cast<double>(k));
		}
		b[i] = v;
	}
	shapeAttack(b, 0.01);
	finishOneShot(b);
	return b;
}

Buf buildSegment(size_t segment, size_t n)
{
	switch (segment)
	{
	case 0: return piano(n, false);
	case 1: return stringLoop(n);
	case 2: return windLoop(n, [](int k, double f) { return flute(k, f, 0.5); }, 0.22, 1800.0, 31);
	case 3: return windLoop(n, voiceAh, 0.03, 3000.0, 41);
	case 4: return crash(n);
	case 5:
		return pluck(n, 0.3, 0.25, 0.00005, [](int k, double f) {
			return excite(k, 1.0 / 5.2) * excite(k, 0.09) * powDet(k, -0.5) * (1.0 + 2.0 * res(f, 3000.0, 1200.0)) * lp(f, 4200.0, 4);
		}, 0.1, 151);
	case 6: return fuzzLoop(n);
	case 7: return bellTone(n, 0.12, 0.05, 0.06);
	case 8: return tom(n);
	case 9: return snare(n, 0.5, 0.9, 0.04, 161);
	case 10: return ride(n);
	case 11: return windLoop(n, panFlute, 0.3, 2200.0, 171);
	case 12:
		return pluck(n, 0.06, 0.3, 0.0, [](int k, double f) { return bowedString(k, f) * excite(k, 0.3); }, 0.05, 181);
	case 13: return whiteNoise(n);
	case 14: return piano(n, true);
	case 15:
		return pluck(n, 0.25, 0.2, 0.00003, [](int k, double f) {
			return excite(k, 1.0 / 6.5) * powDet(k, -0.85) * (1.0 + 0.8 * res(f, 2500.0, 1500.0) + res(f, 200.0, 80.0)) * lp(f, 5000.0, 2);
		}, 0.12, 191);
	case 16:
		return pluck(n, 0.2, 0.3, 0.00002, [](int k, double f) {
			return excite(k, 1.0 / 5.5) * powDet(k, -1.1) * (1.0 + 0.8 * res(f, 220.0, 120.0)) * lp(f, 2500.0, 2);
		}, 0.05, 201);
	case 17: return pianoNoise(n);
	case 18: return attackOneShot(n, panFlute, 0.8, 2200.0, 0.8, 0.03, 211);
	case 19: return attackOneShot(n, bowedString, 0.35, 2800.0, 1.0, 0.04, 221);
	case 20: return bowedNote(n);
	case 21: return trumpetNote(n);
	case 22: return attackOneShot(n, [](int k, double f) { return flute(k, f, 1.0); }, 1.0, 1600.0, 0.7, 0.05, 231);
	case 23: return bellTone(n, 0.3, 0.1, 0.05);
	case 24: return rim(n);
	case 25: return bassDrum(n);
	case 26: return electronicSnare(n);
	case 27: return bassLoop(n);
	case 28: return snare(n, 0.7, 0.8, 0.03, 241);
	case 29: return hiHat(n);
	default: break;
	}
	throw std::logic_error("no such sampled segment");
}
}

std::vector<uint8_t> buildPcmSegment(size_t segment)
{
	const size_t length = g_pcmSegments[segment].length;
	Buf b = buildSegment(segment, length);
	if (b.size() != length)
		throw std::logic_error("sampled segment of the wrong length");
	normalise(b, kPeak);
	std::vector<uint8_t> out(length);
	for (size_t i = 0; i < length; ++i)
		out[i] = toByte(b[i]);
	return out;
}
}
