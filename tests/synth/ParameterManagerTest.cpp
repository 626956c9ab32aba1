#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "synth/ParameterManager.h"

using namespace zentlib;

namespace
{
std::vector<uint32_t> changed(const ParameterManager& m)
{
	std::vector<uint32_t> out;
	for (uint32_t k = 0; k < m.changedRing.size(); ++k)
		out.push_back(m.changedRing[k]);
	return out;
}

// The state a running engine sees: every initial ramp has run out.
void settle(ParameterManager& m)
{
	for (int i = 0; i < 5000; ++i)
		m.process();
	m.process();
	ASSERT_EQ(m.dirtyRing.size(), 0u);
}

bool listedOnce(const ParameterManager& m, uint32_t p)
{
	const std::vector<uint32_t> c = changed(m);
	return std::count(c.begin(), c.end(), p) == 1;
}
}

TEST(ParameterManager, StartsAtTheDefaultsWithEveryParameterReported)
{
	ParameterManager m;
	EXPECT_EQ(m.vstParams[Param_Volume], 1.0f);
	EXPECT_EQ(m.vstParams[Param_SourceS1Fine], 0.5f);
	EXPECT_EQ(m.vstParams[Param_Source2or4], 1.0f);
	EXPECT_EQ(m.vstParams[Param_SourceMix34], 0.5f);
	EXPECT_EQ(m.vstParams[Param_Name01], 0.0f);
	for (uint32_t p = 0; p < ParamCount; ++p)
	{
		EXPECT_FLOAT_EQ(m.currentParams[p], g_params[p].defaultValue) << p;
		EXPECT_EQ(m.currentParams[p], m.targetParams[p]) << p;
		EXPECT_EQ(m.increments[p], 0.0f) << p;
		EXPECT_EQ(m.dirtyParams[p].param, p);
		EXPECT_EQ(m.dirtyParams[p].remainingSteps, 5000u);
	}
	EXPECT_EQ(m.rampSteps, 5000u);
	EXPECT_EQ(m.rampFactor, 0.0002f);

	std::vector<uint32_t> all(ParamCount);
	for (uint32_t p = 0; p < ParamCount; ++p)
		all[p] = p;
	EXPECT_EQ(changed(m), all);
	EXPECT_EQ(m.dirtyRing.size(), ParamCount);
}

TEST(ParameterManager, InitialRampsReportEveryStepWithoutMoving)
{
	ParameterManager m;
	const std::vector<float> start(m.currentParams, m.currentParams + ParamCount);
	for (int i = 0; i < 5000; ++i)
	{
		ASSERT_TRUE(m.process());
		ASSERT_EQ(m.changedRing.size(), ParamCount) << i;
	}
	EXPECT_EQ(std::vector<float>(m.currentParams, m.currentParams + ParamCount), start);
	EXPECT_EQ(m.dirtyRing.size(), 0u);
	EXPECT_FALSE(m.process());
	EXPECT_EQ(m.changedRing.size(), 0u);
	for (uint32_t p = 0; p < ParamCount; ++p)
		EXPECT_EQ(m.changedFlags[p], 0) << p;
}

TEST(ParameterManager, SmoothedRampLandsExactlyAfterRampSteps)
{
	ParameterManager m;
	settle(m);
	EXPECT_FALSE(m.setVSTParam(Param_Volume, 1.0f));
	EXPECT_EQ(m.dirtyRing.size(), 0u);

	ASSERT_TRUE(m.setVSTParam(Param_Volume, 0.37f));
	const float target = 0.37f * 99.0f + 1.0f;
	EXPECT_EQ(m.realParams[Param_Volume], target);
	EXPECT_EQ(m.targetParams[Param_Volume], target);
	const float increment = m.increments[Param_Volume];
	EXPECT_EQ(increment, (target - 100.0f) * 0.0002f);

	float expected = 100.0f;
	for (int i = 1; i <= 5000; ++i)
	{
		ASSERT_TRUE(m.process());
		ASSERT_EQ(changed(m), std::vector<uint32_t>{Param_Volume}) << i;
		if (i < 5000)
		{
			expected += increment;
			ASSERT_EQ(m.currentParams[Param_Volume], expected) << i;
		}
	}
	EXPECT_EQ(m.currentParams[Param_Volume], target);
	EXPECT_FALSE(m.process());
	EXPECT_TRUE(changed(m).empty());
}

TEST(ParameterManager, RestartingARampKeepsOneEntryAndStartsFromThePresentValue)
{
	ParameterManager m;
	settle(m);
	m.setVSTParam(Param_LfoSpeed, 1.0f);
	for (int i = 0; i < 2500; ++i)
		m.process();
	const float midway = m.currentParams[Param_LfoSpeed];
	EXPECT_GT(midway, 40.0f);
	EXPECT_LT(midway, 60.0f);

	m.setVSTParam(Param_LfoSpeed, 0.0f);
	m.setVSTParam(Param_LfoSpeed, 0.1f);
	EXPECT_EQ(m.dirtyRing.size(), 1u);
	EXPECT_EQ(m.dirtyParams[Param_LfoSpeed].remainingSteps, 5000u);
	EXPECT_EQ(m.increments[Param_LfoSpeed], (10.0f - midway) * 0.0002f);
	for (int i = 0; i < 4999; ++i)
	{
		m.process();
		ASSERT_TRUE(listedOnce(m, Param_LfoSpeed));
	}
	EXPECT_NE(m.currentParams[Param_LfoSpeed], 10.0f);
	m.process();
	EXPECT_EQ(m.currentParams[Param_LfoSpeed], 10.0f);
	EXPECT_FALSE(m.process());
}

TEST(ParameterManager, RealValuesFromASingleLandAtTheNextStep)
{
	ParameterManager m;
	settle(m);
	EXPECT_TRUE(m.setVSTParamReal(Param_SourceS3Fine, -20.0f, false));
	EXPECT_EQ(m.vstParams[Param_SourceS3Fine], 30.0f * (1.0f / 100.0f));
	EXPECT_FALSE(m.setVSTParamReal(Param_SourceS3Fine, -20.0f, false));
	m.process();
	EXPECT_EQ(m.currentParams[Param_SourceS3Fine], -20.0f);
	EXPECT_EQ(changed(m), std::vector<uint32_t>{Param_SourceS3Fine});
	EXPECT_FALSE(m.process());

	// Smoothed real values take the full ramp.
	EXPECT_TRUE(m.setVSTParamReal(Param_SourceS3Fine, 30.0f, true));
	m.process();
	EXPECT_NE(m.currentParams[Param_SourceS3Fine], 30.0f);
}

TEST(ParameterManager, AOneStepValueCutsARunningRampShort)
{
	ParameterManager m;
	settle(m);
	m.setVSTParam(Param_SourceS1EnvLevel, 0.0f);
	for (int i = 0; i < 100; ++i)
		m.process();
	EXPECT_TRUE(m.setVSTParamReal(Param_SourceS1EnvLevel, 70.0f, false));
	EXPECT_EQ(m.dirtyRing.size(), 1u);
	m.process();
	EXPECT_EQ(m.currentParams[Param_SourceS1EnvLevel], 70.0f);
	EXPECT_EQ(m.dirtyRing.size(), 0u);
}

// A restore loads the single at once, then glides to the saved values before any step has run.
TEST(ParameterManager, ValuesLoadedAtOnceStandBeforeTheNextStep)
{
	ParameterManager m;
	settle(m);
	m.setVSTParamReal(Param_SourceS1Coarse, 79.0f, false);
	m.setVSTParam(Param_SourceS1Coarse, 79.2f / 127.0f);
	m.process();
	EXPECT_NEAR(m.currentParams[Param_SourceS1Coarse], 79.0f, 0.001f) << "the glide starts from the loaded value";

	// A glide still on its way to the value loaded lands with it.
	m.setVSTParam(Param_Volume, 0.0f);
	for (int i = 0; i < 100; ++i)
		m.process();
	EXPECT_FALSE(m.setVSTParamReal(Param_Volume, 1.0f, false));
	m.process();
	EXPECT_EQ(m.currentParams[Param_Volume], 1.0f);
	EXPECT_EQ(m.dirtyRing.size(), 1u) << "only the coarse glide is left";
}

TEST(ParameterManager, MixesMapOntoMinusOneToOne)
{
	ParameterManager m;
	EXPECT_TRUE(m.setVSTParam(Param_SourceMix12, 0.25f));
	EXPECT_EQ(m.realParams[Param_SourceMix12], -0.5f);
	EXPECT_EQ(m.targetParams[Param_SourceMix12], -0.5f);
}

TEST(ParameterManager, ANewValueEqualToTheTargetStartsNoRamp)
{
	ParameterManager m;
	settle(m);
	// The single already put the volume at 50; the host then reports the same place in its own units.
	m.setVSTParamReal(Param_Volume, 50.0f, false);
	m.process();
	const float normalised = m.vstParams[Param_Volume];
	m.setVSTParamReal(Param_Volume, 60.0f, false);
	m.setIntParam(Param_Volume, 50.0f, false);
	m.process();
	EXPECT_EQ(m.currentParams[Param_Volume], 50.0f);
	EXPECT_EQ(m.realParams[Param_Volume], 60.0f) << "setIntParam leaves the reported values alone";
	EXPECT_NE(m.vstParams[Param_Volume], normalised);

	m.setIntParam(Param_Volume, 50.0f, true);
	EXPECT_EQ(m.dirtyRing.size(), 0u);
}

TEST(ParameterManager, AllParametersRampingAtOnce)
{
	ParameterManager m;
	settle(m);
	for (uint32_t p = 0; p < ParamCount; ++p)
		ASSERT_TRUE(m.setVSTParam(p, m.vstParams[p] > 0.5f ? 0.25f : 0.75f));
	EXPECT_EQ(m.dirtyRing.size(), ParamCount);

	// Half way, restart every other one, so ramps finish at two different times.
	for (int i = 0; i < 2500; ++i)
		m.process();
	for (uint32_t p = 0; p < ParamCount; p += 2)
		m.setVSTParam(p, 0.5f);
	EXPECT_EQ(m.dirtyRing.size(), ParamCount);

	for (int i = 2500; i < 5000; ++i)
	{
		m.process();
		ASSERT_EQ(m.changedRing.size(), ParamCount) << i;
		ASSERT_EQ(std::set<uint32_t>(m.changedRing.entries, m.changedRing.entries + ParamCount).size(), ParamCount);
	}
	EXPECT_EQ(m.dirtyRing.size(), ParamCount / 2 + 1);
	for (uint32_t p = 1; p < ParamCount; p += 2)
		EXPECT_EQ(m.currentParams[p], m.targetParams[p]) << p;

	for (int i = 0; i < 2500; ++i)
	{
		m.process();
		ASSERT_EQ(m.changedRing.size(), ParamCount / 2 + 1) << i;
	}
	for (uint32_t p = 0; p < ParamCount; p += 2)
		EXPECT_EQ(m.currentParams[p], 0.5f * g_params[p].range + g_params[p].min) << p;
	EXPECT_FALSE(m.process());
}

TEST(ParameterManager, FinishedRampsLeaveTheRingWhileOthersKeepTheirOrder)
{
	ParameterManager m;
	settle(m);
	m.setVSTParam(Param_LfoSpeed, 0.5f);
	m.setVSTParamReal(Param_Volume, 20.0f, false);
	m.setVSTParam(Param_AutoBendTime, 0.5f);
	m.setVSTParamReal(Param_SourceS2EnvDelay, 20.0f, false);

	m.process();
	EXPECT_EQ(changed(m), (std::vector<uint32_t>{Param_LfoSpeed, Param_Volume, Param_AutoBendTime, Param_SourceS2EnvDelay}));
	EXPECT_EQ(m.currentParams[Param_Volume], 20.0f);
	EXPECT_EQ(m.currentParams[Param_SourceS2EnvDelay], 20.0f);

	// Each finished entry was swapped to the head and dropped, which reverses the survivors.
	m.process();
	EXPECT_EQ(changed(m), (std::vector<uint32_t>{Param_AutoBendTime, Param_LfoSpeed}));
}

TEST(ParameterManager, UnknownParametersAndBadRatesAreRefused)
{
	ParameterManager m;
	EXPECT_FALSE(m.setVSTParam(ParamCount, 0.5f));
	EXPECT_FALSE(m.setVSTParamReal(1000, 0.5f, false));
	m.setIntParam(ParamCount, 1.0f, true);

	for (float rate : {0.0f, -44100.0f, 5.0f, NAN, INFINITY})
	{
		m.setSamplerate(rate);
		EXPECT_EQ(m.rampSteps, 5000u) << rate;
		EXPECT_EQ(m.rampFactor, 0.0002f) << rate;
	}
	m.setSamplerate(44100.0f);
	EXPECT_EQ(m.rampSteps, 4410u);
	EXPECT_EQ(m.rampFactor, 1.0f / 4410.0f);
}
