#include "DetMath.h"

#include <cmath>

namespace waverom
{
namespace
{
// Taylor series on |y| <= pi/4; the terms fall below 1e-19 well before the last one.
double sinSeries(double y)
{
	const double y2 = y * y;
	double term = y;
	double sum = y;
	for (int k = 1; k <= 9; ++k)
	{
		term = -term * y2 / static_cast<double>((2 * k) * (2 * k + 1));
		sum += term;
	}
	return sum;
}

double cosSeries(double y)
{
	const double y2 = y * y;
	double term = 1.0;
	double sum = 1.0;
	for (int k = 1; k <= 9; ++k)
	{
		term = -term * y2 / static_cast<double>((2 * k - 1) * (2 * k));
		sum += term;
	}
	return sum;
}
}

double sinTurns(double t)
{
	double x = t - std::floor(t);
	double sign = 1.0;
	if (x >= 0.5)
	{
		x -= 0.5;
		sign = -1.0;
	}
	if (x > 0.25)
		x = 0.5 - x;
	if (x <= 0.125)
		return sign * sinSeries(kTwoPi * x);
	return sign * cosSeries(kTwoPi * (0.25 - x));
}

double cosTurns(double t)
{
	return sinTurns(t + 0.25);
}

double expDet(double x)
{
	if (x < -700.0)
		return 0.0;
	if (x > 700.0)
		x = 700.0;
	const double k = std::floor(x / kLn2 + 0.5);
	const double r = x - k * kLn2;
	double term = 1.0;
	double sum = 1.0;
	for (int n = 1; n <= 22; ++n)
	{
		term = term * r / static_cast<double>(n);
		sum += term;
	}
	return std::ldexp(sum, static_cast<int>(k));
}

double logDet(double x)
{
	if (x <= 0.0)
		return -1.0e300;
	int e = 0;
	double m = std::frexp(x, &e);
	// Keep the mantissa near 1 so the series converges quickly.
	if (m < 0.70710678118654752440)
	{
		m *= 2.0;
		--e;
	}
	// log(m) = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172.
	const double s = (m - 1.0) / (m + 1.0);
	const double s2 = s * s;
	double power = s;
	double sum = 0.0;
	for (int n = 1; n <= 41; n += 2)
	{
		sum += power / static_cast<double>(n);
		power *= s2;
	}
	return 2.0 * sum + static_cast<double>(e) * kLn2;
}

double powDet(double x, double y)
{
	if (x <= 0.0)
		return 0.0;
	return expDet(y * logDet(x));
}

double dbToGain(double db)
{
	return expDet(db * kLn10 / 20.0);
}

double softClip(double x)
{
	// tanh through the exponential, odd by construction.
	const double a = x < 0.0 ? -x : x;
	const double e = expDet(-2.0 * a);
	const double t = (1.0 - e) / (1.0 + e);
	return x < 0.0 ? -t : t;
}

double besselJ(int order, double x)
{
	const bool negate = order < 0 && (order & 1);
	const int n = order < 0 ? -order : order;
	const double half = x / 2.0;
	double term = 1.0;
	for (int i = 1; i <= n; ++i)
		term = term * half / static_cast<double>(i);
	double sum = term;
	const double h2 = half * half;
	for (int k = 1; k < 80; ++k)
	{
		term = -term * h2 / (static_cast<double>(k) * static_cast<double>(k + n));
		sum += term;
		if (term == 0.0)
			break;
	}
	return negate ? -sum : sum;
}

int64_t roundDet(double x)
{
	return x < 0.0 ? -static_cast<int64_t>(std::floor(-x + 0.5)) : static_cast<int64_t>(std::floor(x + 0.5));
}

Rng::Rng(uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull)
{
}

uint64_t Rng::next()
{
	m_state ^= m_state >> 12;
	m_state ^= m_state << 25;
	m_state ^= m_state >> 27;
	return m_state * 0x2545F4914F6CDD1Dull;
}

double Rng::uniform()
{
	return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

double Rng::bipolar()
{
	return uniform() * 2.0 - 1.0;
}
}
