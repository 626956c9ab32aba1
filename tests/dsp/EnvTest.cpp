#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "synth/Curves.h"
#include "synth/Env.h"

using namespace zentlib;

namespace
{
constexpr float Rate = 49920.0f;

struct Trace
{
	std::vector<float> out;
	std::vector<uint32_t> states;
};

Trace render(Env& env, int samples, float decayTime, float sustain)
{
	Trace r;
	for (int i = 0; i < samples; ++i)
	{
		r.out.push_back(env.process(decayTime, sustain, Rate));
		r.states.push_back(env.state);
	}
	return r;
}

// Index of the first sample whose state is s, or -1.
int firstIn(const Trace& r, uint32_t s)
{
	for (size_t i = 0; i < r.states.size(); ++i)
		if (r.states[i] == s)
			return static_cast<int>(i);
	return -1;
}
}

TEST(Env, StaysSilentThroughTheDelay)
{
	Env env;
	env.start(static_cast<uint32_t>(envDelayTime(2) * Rate), 0.0f);
	EXPECT_EQ(env.delaySamples, 399u);
	const Trace r = render(env, 400, 0.1f, 0.5f);
	for (int i = 0; i < 398; ++i)
		ASSERT_EQ(r.out[i], 0.0f) << i;
	EXPECT_EQ(r.out[398], 1.0f); // no attack time: full level at once
	EXPECT_EQ(r.states[397], Env::Delay);
	EXPECT_EQ(r.states[398], Env::Attack);
}

TEST(Env, WithoutDelayTheAttackStartsOnTheFirstSample)
{
	for (uint32_t delay : {0u, 1u})
	{
		Env env;
		env.start(delay, 0.0f);
		EXPECT_EQ(env.process(1.0f, 0.5f, Rate), 1.0f);
		EXPECT_EQ(env.state, Env::Attack);
	}
}

TEST(Env, TimedAttackTakesItsTableTime)
{
	for (unsigned char a : {10, 35, 60})
	{
		Env env;
		env.start(0, envAttackTime(a));
		const int expected = static_cast<int>(envAttackTime(a) * Rate);
		const Trace r = render(env, expected * 2 + 100, 1.0f, 0.5f);
		const int decayAt = firstIn(r, Env::Decay);
		ASSERT_GT(decayAt, 0);
		EXPECT_NEAR(decayAt, expected, expected * 0.01 + 2) << "attack " << int(a);
		// rises monotonically from near 0 to about 0.999
		for (int i = 1; i < decayAt; ++i)
			ASSERT_GE(r.out[i], r.out[i - 1]);
		EXPECT_NEAR(r.out[decayAt], 0.999f, 0.0005f);
	}
}

TEST(Env, DecayReachesTheSustainLevelInItsTableTime)
{
	Env env;
	env.start(0, 0.0f);
	const float decay = envDecayTime(20); // 0.14 s
	const float sustain = envSustainLevel(50);
	const Trace r = render(env, static_cast<int>(decay * Rate * 2), decay, sustain);
	const int sustainAt = firstIn(r, Env::Sustain);
	const int decayAt = firstIn(r, Env::Decay);
	ASSERT_GT(sustainAt, decayAt);
	EXPECT_NEAR(sustainAt - decayAt, decay * Rate, decay * Rate * 0.01);
	EXPECT_NEAR(r.out.back(), sustain, sustain * 0.01f);
	EXPECT_LE(r.out.back(), sustain);
}

TEST(Env, FullSustainHoldsWhereTheAttackEnded)
{
	Env env;
	env.start(0, envAttackTime(20));
	const Trace r = render(env, 20000, envDecayTime(50), envSustainLevel(100));
	EXPECT_EQ(r.states.back(), Env::Sustain);
	EXPECT_NEAR(r.out.back(), 0.999f, 0.0005f);
	EXPECT_LT(r.out.back(), 1.0f);
}

TEST(Env, ReleaseFallsToTheFloorInItsTableTime)
{
	Env env;
	env.start(0, 0.0f);
	render(env, 10, 0.0f, 1.0f); // no decay: sustains at 1
	ASSERT_EQ(env.state, Env::Sustain);
	const float release = envDecayTime(30); // 0.316 s
	env.release(release, Rate);
	ASSERT_EQ(env.state, Env::Release);
	const Trace r = render(env, static_cast<int>(release * Rate * 2), 0.0f, 1.0f);
	const int finishedAt = firstIn(r, Env::Finished);
	EXPECT_NEAR(finishedAt, release * Rate, release * Rate * 0.01);
	EXPECT_LE(r.out.back(), env.floor);
	for (size_t i = 1; i < r.out.size(); ++i)
		ASSERT_LE(r.out[i], r.out[i - 1]);
}

TEST(Env, ReleaseDuringTheAttackStartsFromTheLevelHeard)
{
	Env env;
	env.start(0, envAttackTime(50));
	const Trace r = render(env, 5000, 1.0f, 0.5f);
	ASSERT_EQ(env.state, Env::Attack);
	const float heard = r.out.back();
	ASSERT_GT(heard, 0.1f);
	env.release(envDecayTime(20), Rate);
	const float next = env.process(1.0f, 0.5f, Rate);
	EXPECT_LT(next, heard);
	EXPECT_NEAR(next, heard, heard * 0.001f);
}

TEST(Env, ReleaseInTheDelayFinishesWithoutSound)
{
	Env env;
	env.start(1000, 0.0f);
	render(env, 10, 1.0f, 0.5f);
	env.release(envDecayTime(50), Rate);
	EXPECT_EQ(env.state, Env::Finished);
	const Trace r = render(env, 2000, 1.0f, 0.5f);
	for (float x : r.out)
		ASSERT_EQ(x, 0.0f);
}

TEST(Env, ASecondReleaseRestartsFromTheCurrentValue)
{
	Env env;
	env.start(0, 0.0f);
	render(env, 10, 0.0f, 1.0f);
	env.release(envDecayTime(60), Rate);
	const Trace first = render(env, 1000, 0.0f, 1.0f);
	env.release(envDecayTime(0), Rate);
	const Trace second = render(env, 2000, 0.0f, 1.0f);
	EXPECT_EQ(second.states.back(), Env::Finished);
	EXPECT_LT(second.out[0], first.out.back());
	// the short release finishes within its own time, not the long one's
	EXPECT_LT(firstIn(second, Env::Finished), static_cast<int>(envDecayTime(0) * Rate) + 10);
}
