#pragma once

#include <cstdint>

// Arithmetic that gives the same bits on every machine: only +, -, *, / and sqrt (exactly rounded
// by IEEE 754), exact operations such as floor and ldexp, and no library transcendental whose
// last bit may differ between C libraries. The generator is also compiled without contraction
// into fused multiply-adds, so each expression rounds the same way everywhere.
namespace waverom
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;
constexpr double kLn2 = 0.69314718055994530942;
constexpr double kLn10 = 2.30258509299404568402;

// sin(2 pi t): the argument is in turns, so whole cycles drop out exactly.
double sinTurns(double t);
double cosTurns(double t);
double expDet(double x);
double logDet(double x);
double powDet(double x, double y);
// Amplitude factor of a level in decibels.
double dbToGain(double db);
// Smooth symmetric soft clip into (-1, 1).
double softClip(double x);
// Bessel function of the first kind, integer order, by its power series (fine for |x| < 15).
double besselJ(int order, double x);

// Round half away from zero to an integer.
int64_t roundDet(double x);

// xorshift64* with a fixed seed per use.
class Rng
{
public:
	explicit Rng(uint64_t seed);
	uint64_t next();
	// Uniform in [0, 1).
	double uniform();
	// Uniform in [-1, 1).
	double bipolar();

private:
	uint64_t m_state;
};
}
