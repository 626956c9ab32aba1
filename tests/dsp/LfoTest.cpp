#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "synth/Curves.h"
#include "QuietEngineListener.h"
#include "synth/Engine.h"

using namespace zentlib;

namespace
{
constexpr float Rate = 49920.0f;

struct LfoFixture : ::testing::Test
{
	Engine engine{QuietEngineListener::instance()};

	void SetUp() override
	{
		engine.singles.resize(1);
		single().lfoSpeed = 50;
		single().lfoShape = 0;
		single().vibWheelMode = 0;
		single().vibratoDepth = 50;
		single().pressureToVibrato = 50;
	}

	SinglePreset& single() { return engine.singles[0]; }

	std::vector<float> render(int samples)
	{
		std::vector<float> out(samples);
		for (float& x : out)
			x = engine.lfo.process(Rate);
		return out;
	}
};

// Sample positions where the output rises from 0 to 1.
std::vector<int> risingEdges(const std::vector<float>& out)
{
	std::vector<int> edges;
	for (size_t i = 1; i < out.size(); ++i)
		if (out[i - 1] < 0.5f && out[i] >= 0.5f)
			edges.push_back(static_cast<int>(i));
	return edges;
}

double meanPeriod(const std::vector<int>& edges)
{
	return static_cast<double>(edges.back() - edges.front()) / (edges.size() - 1);
}

// Lengths of the runs of equal output, without the first and the last (cut by the window).
std::vector<int> runLengths(const std::vector<float>& out)
{
	std::vector<int> runs;
	int length = 1;
	for (size_t i = 1; i < out.size(); ++i)
	{
		if (out[i] == out[i - 1])
		{
			++length;
			continue;
		}
		runs.push_back(length);
		length = 1;
	}
	if (!runs.empty())
		runs.erase(runs.begin());
	return runs;
}
}


TEST_F(LfoFixture, SquareRunsBetweenZeroAndOneAtTheTableSpeed)
{
	single().lfoShape = 2;
	for (unsigned char speed : {0, 50, 100})
	{
		single().lfoSpeed = speed;
		const double period = Rate / lfoSpeed(speed);
		const std::vector<float> out = render(static_cast<int>(period * 4.5));
		for (float x : out)
			ASSERT_TRUE(x == 0.0f || x == 1.0f) << x;
		const std::vector<int> edges = risingEdges(out);
		ASSERT_GE(edges.size(), 3u);
		// The phase is a single: at the slowest speed its steps are rounded by a few tenths of a percent.
		EXPECT_NEAR(meanPeriod(edges), period, period * 0.005) << int(speed);
	}
}

TEST_F(LfoFixture, SquareIsZeroForTheFirstHalfOfEachCycle)
{
	single().lfoShape = 2;
	single().lfoSpeed = 40;
	const double period = Rate / lfoSpeed(40);
	const std::vector<float> out = render(static_cast<int>(period * 3));
	const std::vector<int> edges = risingEdges(out);
	ASSERT_GE(edges.size(), 2u);
	// half a cycle after a rising edge the output falls back to 0
	const int fall = edges[0] + static_cast<int>(period / 2);
	EXPECT_EQ(out[fall - 5], 1.0f);
	EXPECT_EQ(out[fall + 5], 0.0f);
}

TEST_F(LfoFixture, AChangedOutputIsHeldFor17Milliseconds)
{
	for (uint32_t shape : {0u, 1u, 2u, 3u})
	{
		single().lfoShape = shape;
		single().lfoSpeed = 100;
		const std::vector<float> out = render(100000);
		const std::vector<int> runs = runLengths(out);
		ASSERT_FALSE(runs.empty());
		for (int run : runs)
			ASSERT_GE(run, 848) << "shape " << shape;
	}
	// A fast triangle changes again as soon as the hold ends.
	single().lfoShape = 0;
	const std::vector<int> runs = runLengths(render(100000));
	EXPECT_EQ(*std::min_element(runs.begin(), runs.end()), 848);
}

TEST_F(LfoFixture, OutputIsQuantisedToSixtyFourths)
{
	for (uint32_t shape : {0u, 1u, 3u})
	{
		single().lfoShape = shape;
		single().lfoSpeed = 30;
		std::set<float> seen;
		for (float x : render(200000))
		{
			ASSERT_EQ(x * 64.0f, std::trunc(x * 64.0f));
			ASSERT_GE(x, -1.0f);
			ASSERT_LE(x, 1.0f);
			seen.insert(x);
		}
		EXPECT_GT(seen.size(), 3u) << "shape " << shape;
	}
}

TEST_F(LfoFixture, TriangleSpansTheFullRange)
{
	single().lfoShape = 0;
	single().lfoSpeed = 0;
	const std::vector<float> out = render(static_cast<int>(Rate / lfoSpeed(0) * 1.2));
	// -1 itself needs a phase of exactly 0; the quantiser truncates towards zero.
	EXPECT_LE(*std::min_element(out.begin(), out.end()), -63.0f / 64.0f);
	EXPECT_GE(*std::max_element(out.begin(), out.end()), 63.0f / 64.0f);
}

TEST_F(LfoFixture, RandomShapeTakesANewValueOncePerCycle)
{
	single().lfoShape = 3;
	single().lfoSpeed = 60;
	const double period = Rate / lfoSpeed(60);
	const int cycles = 40;
	const std::vector<float> out = render(static_cast<int>(period * cycles));
	int changes = 0;
	for (size_t i = 1; i < out.size(); ++i)
		changes += out[i] != out[i - 1];
	EXPECT_LE(changes, cycles + 1);
	EXPECT_GE(changes, cycles / 2); // equal draws in a row are rare
	const std::vector<int> runs = runLengths(out);
	for (int run : runs)
		EXPECT_GT(run, period * 0.9);
}

TEST_F(LfoFixture, WheelInSpeedModeAddsUpTo32)
{
	single().lfoShape = 2;
	single().vibWheelMode = 1;
	single().lfoSpeed = 90;
	engine.modWheel = 1.0f;
	const double period = Rate / lfoSpeed(100);
	const std::vector<int> edges = risingEdges(render(static_cast<int>(period * 6.5)));
	ASSERT_GE(edges.size(), 3u);
	EXPECT_NEAR(meanPeriod(edges), period, period * 0.001);

	// the same wheel in depth mode leaves the speed alone
	single().vibWheelMode = 0;
	const double slow = Rate / lfoSpeed(90);
	const std::vector<int> slowEdges = risingEdges(render(static_cast<int>(slow * 6.5)));
	EXPECT_NEAR(meanPeriod(slowEdges), slow, slow * 0.001);
}

struct VibratoFixture : LfoFixture
{
	float vibrato(float lfo) { return engine.vibrato.process(Rate, lfo); }
};

TEST_F(VibratoFixture, DepthInSemitonesFollowsTheSignedSetting)
{
	single().vibratoDepth = 100;
	EXPECT_EQ(vibrato(1.0f), 12.0f);
	EXPECT_EQ(vibrato(-1.0f), -12.0f);
	EXPECT_EQ(vibrato(0.5f), 6.0f);
	single().vibratoDepth = 0;
	EXPECT_EQ(vibrato(1.0f), -12.0f);
	EXPECT_EQ(vibrato(-0.5f), 6.0f);
	single().vibratoDepth = 70;
	EXPECT_EQ(vibrato(1.0f), 1.0f);
	single().vibratoDepth = 50;
	EXPECT_EQ(vibrato(1.0f), 0.0f);
}

TEST_F(VibratoFixture, PressureMovesTheDepthButNotPastZero)
{
	engine.pressure = 1.0f;
	single().vibratoDepth = 100;
	single().pressureToVibrato = 0;
	EXPECT_EQ(vibrato(1.0f), 0.0f);
	single().vibratoDepth = 50;
	single().pressureToVibrato = 100;
	EXPECT_EQ(vibrato(1.0f), 12.0f);
	single().vibratoDepth = 0; // -12
	single().pressureToVibrato = 100; // deeper still, but limited
	EXPECT_EQ(vibrato(1.0f), -12.0f);
	single().pressureToVibrato = 0; // towards zero
	EXPECT_EQ(vibrato(1.0f), 0.0f);
	engine.pressure = 0.5f;
	single().vibratoDepth = 50;
	single().pressureToVibrato = 100;
	EXPECT_FLOAT_EQ(vibrato(1.0f), 6.0f);
}

TEST_F(VibratoFixture, WheelInDepthModeAddsUpToOneSemitone)
{
	engine.modWheel = 1.0f;
	single().vibWheelMode = 0;
	EXPECT_EQ(vibrato(1.0f), 1.0f);
	EXPECT_EQ(vibrato(-1.0f), -1.0f);
	single().vibratoDepth = 100;
	EXPECT_EQ(vibrato(1.0f), 12.0f); // limited
	single().vibratoDepth = 50;
	single().vibWheelMode = 1;
	EXPECT_EQ(vibrato(1.0f), 0.0f);
}
