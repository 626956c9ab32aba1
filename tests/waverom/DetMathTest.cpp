#include <gtest/gtest.h>

#include <cmath>

#include "DetMath.h"

using namespace waverom;

TEST(DetMath, SineAndCosineInTurnsMatchTheLibraryAndHitTheQuartersExactly)
{
	for (int i = -4000; i <= 4000; ++i)
	{
		const double t = i * 0.00173;
		EXPECT_NEAR(sinTurns(t), std::sin(2.0 * kPi * (t - std::floor(t))), 1e-14) << t;
		EXPECT_NEAR(cosTurns(t), std::cos(2.0 * kPi * (t - std::floor(t))), 1e-14) << t;
	}
	EXPECT_EQ(sinTurns(0.0), 0.0);
	EXPECT_EQ(sinTurns(0.25), 1.0);
	EXPECT_EQ(sinTurns(0.5), 0.0);
	EXPECT_EQ(sinTurns(0.75), -1.0);
	EXPECT_EQ(sinTurns(7.25), 1.0);
}

TEST(DetMath, ExponentialLogarithmAndPowerMatchTheLibrary)
{
	for (double x = -50.0; x <= 50.0; x += 0.37)
		EXPECT_NEAR(expDet(x) / std::exp(x), 1.0, 1e-14) << x;
	for (double x = 1e-6; x < 1e6; x *= 1.93)
		EXPECT_NEAR(logDet(x), std::log(x), 1e-13) << x;
	EXPECT_EQ(logDet(1.0), 0.0);
	EXPECT_EQ(expDet(0.0), 1.0);
	EXPECT_EQ(expDet(-1000.0), 0.0);
	EXPECT_NEAR(powDet(2.0, 0.5), std::sqrt(2.0), 1e-15);
	EXPECT_NEAR(dbToGain(-20.0), 0.1, 1e-15);
	EXPECT_NEAR(softClip(0.7), std::tanh(0.7), 1e-15);
	EXPECT_EQ(softClip(-0.7), -softClip(0.7));
	EXPECT_LT(softClip(40.0), 1.0 + 1e-15);
}

TEST(DetMath, BesselFunctionsHaveTheirKnownValuesAndIdentities)
{
	EXPECT_NEAR(besselJ(0, 1.0), 0.7651976865579666, 1e-15);
	EXPECT_NEAR(besselJ(1, 1.0), 0.4400505857449335, 1e-15);
	EXPECT_NEAR(besselJ(0, 2.404825557695773), 0.0, 1e-14); // first zero of J0
	for (double x : {0.5, 1.7, 3.0, 6.5})
	{
		EXPECT_EQ(besselJ(-3, x), -besselJ(3, x));
		EXPECT_EQ(besselJ(-2, x), besselJ(2, x));
		// The energies of all sidebands of a frequency modulation add up to one.
		double sum = besselJ(0, x) * besselJ(0, x);
		for (int k = 1; k < 40; ++k)
			sum += 2.0 * besselJ(k, x) * besselJ(k, x);
		EXPECT_NEAR(sum, 1.0, 1e-12) << x;
	}
}

TEST(DetMath, RoundingGoesHalfAwayFromZero)
{
	EXPECT_EQ(roundDet(0.5), 1);
	EXPECT_EQ(roundDet(-0.5), -1);
	EXPECT_EQ(roundDet(1.49), 1);
	EXPECT_EQ(roundDet(-2.5), -3);
	EXPECT_EQ(roundDet(126.4999), 126);
}

TEST(DetMath, GeneratorIsFixedBySeedAndUniform)
{
	Rng a(42), b(42), c(43);
	const uint64_t first = a.next();
	EXPECT_EQ(first, b.next());
	EXPECT_NE(first, c.next());
	Rng r(7);
	double sum = 0.0, lo = 1.0, hi = -1.0;
	for (int i = 0; i < 20000; ++i)
	{
		const double u = r.uniform();
		ASSERT_GE(u, 0.0);
		ASSERT_LT(u, 1.0);
		const double v = r.bipolar();
		lo = std::min(lo, v);
		hi = std::max(hi, v);
		sum += u;
	}
	EXPECT_NEAR(sum / 20000.0, 0.5, 0.01);
	EXPECT_LT(lo, -0.99);
	EXPECT_GT(hi, 0.99);
	// A zero seed would stick at zero for ever; it is replaced.
	Rng zero(0);
	EXPECT_NE(zero.next(), 0u);
}
