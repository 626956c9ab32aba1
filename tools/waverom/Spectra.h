#pragma once

#include <cmath>

#include "DetMath.h"

// Weights that shape a spectrum harmonic by harmonic, shared by the cyclic and the sampled waves.
namespace waverom
{
inline double sq(double x)
{
	return x * x;
}

inline double absd(double x)
{
	return x < 0.0 ? -x : x;
}

// Resonance of centre c and bandwidth bw (Hz or harmonics, as long as all three agree).
inline double res(double f, double c, double bw)
{
	return 1.0 / std::sqrt(1.0 + sq((f - c) / (0.5 * bw)));
}

// Low-pass of the given order with corner fc.
inline double lp(double f, double fc, int order)
{
	const double r2 = sq(f / fc);
	double p = 1.0;
	for (int i = 0; i < order; ++i)
		p *= r2;
	return 1.0 / std::sqrt(1.0 + p);
}

// Harmonic weight of a string excited at the fraction beta of its length (plucking, striking,
// bowing point or pickup position).
inline double excite(int n, double beta)
{
	return absd(sinTurns(0.5 * n * beta)) + 0.02;
}
}
