#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "synth/Curves.h"

using namespace zentlib;

namespace
{
// The nearest single of a rule evaluated with more precision than the table holds.
float nearest(long double x)
{
	return static_cast<float>(x);
}

long double clamp01(long double x)
{
	return x < 0 ? 0 : (x > 1 ? 1 : x);
}

long double velocityRule(int curve, int v)
{
	switch (curve)
	{
	case 0: return clamp01((v - 30) / 77.0L);
	case 1: return std::sqrt(clamp01((v - 21) / 86.0L));
	case 2: return std::pow(clamp01((v - 35) / 72.0L), 2);
	case 3: return std::pow(clamp01((v - 60) / 47.0L), 3);
	case 4: return clamp01((v - 87) / 20.0L);
	case 5: return (1 - std::cos(3.14159265358979323846264338327950288L * clamp01((v - 20) / 81.0L))) / 2;
	case 6:
	{
		const long double t = clamp01((v - 18) / 89.0L);
		return 1.78L * t - 1.78L * t * t + std::pow(t, 5);
	}
	default: return v == 0 ? 0 : clamp01((81 - v) / 6.0L);
	}
}

long double ksRule(int curve, int k)
{
	switch (curve)
	{
	case 0: return (k - 66) / 30.0L;
	case 1: return k < 84 ? -(1 - std::pow((k - 36) / 48.0L, 2)) : (k - 84) / 12.0L;
	case 2: return k < 48 ? -1 + (k - 36) / 12.0L : std::sqrt((k - 48) / 48.0L);
	case 3: return std::fmax(-1.0L, std::fmin(1.0L, (k - 66) / 12.0L));
	default: return k < 66 ? -1 : 1;
	}
}

// Rounds to three decimals, halves away from zero, and returns the single of that decimal.
float threeDecimals(long double x)
{
	char text[32];
	const long double scaled = std::round(x * 1000);
	std::snprintf(text, sizeof(text), "%.3Lf", scaled / 1000);
	return std::stof(text);
}
}

TEST(Curves, VelocityCurvesAreTheNearestSinglesOfTheirRules)
{
	for (int curve = 0; curve < 8; ++curve)
		for (int v = 0; v < 128; ++v)
			ASSERT_EQ(velocityToGain(v, curve), nearest(velocityRule(curve, v))) << "curve " << curve << " velocity " << v;

	EXPECT_NEAR(velocityToGain(64, 0), 0.441558f, 5e-7f);
	EXPECT_NEAR(velocityToGain(64, 1), 0.707107f, 5e-7f);
	EXPECT_NEAR(velocityToGain(64, 2), 0.162230f, 5e-7f);
	EXPECT_NEAR(velocityToGain(64, 3), 0.000616f, 5e-7f);
	EXPECT_EQ(velocityToGain(96, 4), 0.45f);
	EXPECT_EQ(velocityToGain(47, 5), 0.25f);
	EXPECT_EQ(velocityToGain(101, 5), 1.0f);
	EXPECT_NEAR(velocityToGain(64, 6), 0.481378f, 5e-7f);
	EXPECT_EQ(velocityToGain(0, 7), 0.0f);
	EXPECT_EQ(velocityToGain(64, 7), 1.0f);
	EXPECT_EQ(velocityToGain(78, 7), 0.5f);
	EXPECT_EQ(velocityToGain(127, 7), 0.0f);
}

TEST(Curves, KeyScalingCurvesAreTheirRulesToThreeDecimals)
{
	for (int curve = 0; curve < 5; ++curve)
	{
		for (int k = 36; k <= 96; ++k)
		{
			float expected = threeDecimals(ksRule(curve, k));
			if (curve == 1 && k == 37)
				expected = -0.999f;
			if (curve == 2 && k == 68)
				expected = 0.646f;
			if (curve == 2 && k == 80)
				expected = 0.817f;
			if (curve == 2 && k == 91)
				expected = 0.947f;
			ASSERT_EQ(ksCurveMod(k, curve, false), expected) << "curve " << curve << " key " << k;
		}
	}
	// The two exact halves of curve 1.
	EXPECT_EQ(ksCurveMod(48, 1, false), -0.938f);
	EXPECT_EQ(ksCurveMod(72, 1, false), -0.438f);
}

TEST(Curves, KeyScalingReadsTheEndsOutsideItsKeysAndCurve4CanBeUnipolar)
{
	EXPECT_EQ(ksCurveMod(20, 0, false), -1.0f);
	EXPECT_EQ(ksCurveMod(0, 0, false), ksCurveMod(36, 0, false));
	EXPECT_EQ(ksCurveMod(127, 2, false), 1.0f);
	EXPECT_EQ(ksCurveMod(255, 1, false), 1.0f);

	EXPECT_EQ(ksCurveMod(65, 4, true), 0.0f);
	EXPECT_EQ(ksCurveMod(66, 4, true), 1.0f);
	EXPECT_EQ(ksCurveMod(65, 4, false), -1.0f);
	EXPECT_EQ(ksCurveMod(66, 4, false), 1.0f);
	for (int curve = 0; curve < 4; ++curve)
		for (int k = 30; k < 100; k += 7)
			EXPECT_EQ(ksCurveMod(k, curve, true), ksCurveMod(k, curve, false));
}

TEST(Curves, KeyScalingCurveNumbersAboveFourReadCurveFour)
{
	for (int curve = 5; curve < 8; ++curve)
	{
		for (int k = 0; k < 128; ++k)
		{
			EXPECT_EQ(ksCurveMod(k, curve, false), ksCurveMod(k, 4, false));
			EXPECT_EQ(ksCurveMod(k, curve, true), ksCurveMod(k, 4, true));
		}
	}
}

TEST(Curves, AttackStartsLinearThenGrowsGeometrically)
{
	for (int i = 0; i <= 7; ++i)
		EXPECT_EQ(envAttackTime(i), nearest(i / 7000.0L)) << i;
	EXPECT_EQ(envAttackTime(0), 0.0f);
	EXPECT_EQ(envAttackTime(8), 0.0015f);
	EXPECT_EQ(envAttackTime(34), 0.17f);

	float run = 0.212f;
	for (int i = 35; i <= 100; ++i)
	{
		EXPECT_EQ(envAttackTime(i), run) << i;
		run *= 1.0809864f;
	}
	EXPECT_NEAR(envAttackTime(78), 6.034f, 1e-6f);
	EXPECT_NEAR(envAttackTime(100), 33.46957f, 5e-6f);
}

TEST(Curves, DepthCurveIsPiecewiseLinearInSemitones)
{
	auto rule = [](int d) -> long double {
		if (d <= 10)
			return 0.015L * d;
		if (d <= 20)
			return 0.15L + 0.085L * (d - 10);
		if (d <= 40)
			return 1.0L + 0.2L * (d - 20);
		if (d <= 45)
			return 5.0L + 0.4L * (d - 40);
		return 7.0L + (d - 45);
	};
	for (int d = 0; d <= 50; ++d)
	{
		const float expected = nearest(rule(d));
		EXPECT_EQ(vibratoDepth(d), expected) << d;
		EXPECT_EQ(ksToFreq(d), expected);
		EXPECT_EQ(autoBendDepth(d), expected);
		EXPECT_EQ(pressureToFreq(d), expected);
	}
	EXPECT_EQ(vibratoDepth(20), 1.0f);
	EXPECT_EQ(vibratoDepth(50), 12.0f);
}

TEST(Curves, TimesAndLevelsAtTheirEnds)
{
	EXPECT_EQ(envDelayTime(0), 0.0f);
	EXPECT_EQ(envDelayTime(2), 0.008f);
	EXPECT_EQ(envDelayTime(100), 12.0276f);
	EXPECT_EQ(envDecayTime(0), 0.00364583f);
	EXPECT_EQ(envDecayTime(7), 0.02f);
	EXPECT_EQ(envDecayTime(100), 164.2f);
	for (int i = 0; i <= 5; ++i)
		EXPECT_EQ(envLevel(i), 0.0f);
	EXPECT_EQ(envLevel(6), 0.000282368f);
	EXPECT_EQ(envLevel(100), 1.0f);
	EXPECT_EQ(envSustainLevel(0), 0.00298182f);
	EXPECT_EQ(envSustainLevel(100), 1.0f);
	EXPECT_EQ(volume(0), 0.0272823f);
	EXPECT_EQ(volume(99), 1.0f);
	EXPECT_NEAR(lfoSpeed(0), 0.0811688f, 5e-8f);
	EXPECT_NEAR(lfoSpeed(100), 12.7907f, 5e-5f);
}

TEST(Curves, PressureWeightsAndSignedDepths)
{
	for (int i = 0; i <= 10; ++i)
		EXPECT_EQ(pressureToEnvLevel(i), 0.0f);
	EXPECT_EQ(pressureToEnvLevel(11), 0.0000789106f);
	EXPECT_EQ(pressureToEnvLevel(63), 0.02907154f);
	EXPECT_EQ(pressureToEnvLevel(127), 1.0f);

	EXPECT_EQ(genericDepthModToLevel(50), 0.0f);
	EXPECT_EQ(genericDepthModToLevel(0), 1.0f);
	EXPECT_EQ(genericDepthModToLevel(100), 1.0f);
	EXPECT_EQ(genericDepthModToLevel(75), pressureToEnvLevel(63));
	EXPECT_EQ(genericDepthModToLevel(25), pressureToEnvLevel(63));

	EXPECT_EQ(levelModKS(-1.0f), 0.0f);
	EXPECT_EQ(levelModKS(1.0f), 1.0f);
	EXPECT_EQ(levelModKS(0.0f), pressureToEnvLevel(63));
	EXPECT_EQ(levelModKS(std::nanf("")), 0.0f);
}

// A record may carry any 7-bit value in fields whose tables end at 50 or 100.
TEST(Curves, ValuesBeyondATableReadItsLastEntry)
{
	EXPECT_EQ(envDelayTime(127), envDelayTime(100));
	EXPECT_EQ(envDecayTime(255), envDecayTime(100));
	EXPECT_EQ(envAttackTime(101), envAttackTime(100));
	EXPECT_EQ(lfoSpeed(127), lfoSpeed(100));
	EXPECT_EQ(envLevel(127), 1.0f);
	EXPECT_EQ(envSustainLevel(127), 1.0f);
	EXPECT_EQ(vibratoDepth(77), 12.0f);
	EXPECT_EQ(volume(127), 1.0f);
	EXPECT_EQ(pressureToEnvLevel(200), 1.0f);
	EXPECT_EQ(genericDepthModToLevel(127), 1.0f);
	EXPECT_EQ(genericDepthModToLevel(-1000000), 1.0f);
	EXPECT_EQ(velocityToGain(127, 9), velocityToGain(127, 7));
	EXPECT_EQ(velocityToGain(200, 0), 1.0f);
}
