#include "AuHost.h"

#include <algorithm>
#include <cmath>

using namespace auhost;

namespace
{
class HostChecks : public AuTest
{
};
}

TEST_F(HostChecks, ParameterValuesSurviveRenderingResetAndReinitialisation)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	std::vector<float> written(109);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
	{
		written[id] = float((id * 37) % 101) / 100.f;
		ASSERT_EQ(AudioUnitSetParameter(instance.unit(), id, kAudioUnitScope_Global, 0, written[id], 0), noErr);
	}
	std::vector<float> left, right;
	instance.renderInto(44100, 512, left, right);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		EXPECT_EQ(instance.parameter(id), written[id]) << id;
	ASSERT_EQ(AudioUnitReset(instance.unit(), kAudioUnitScope_Global, 0), noErr);
	ASSERT_EQ(AudioUnitUninitialize(instance.unit()), noErr);
	ASSERT_EQ(AudioUnitInitialize(instance.unit()), noErr);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		EXPECT_EQ(instance.parameter(id), written[id]) << id;
}

// The rates and slice sizes a validating host renders at, each after reinitialising at the new rate.
TEST_F(HostChecks, RendersANoteAtEveryRateAHostAsksFor)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	const struct
	{
		double rate;
		UInt32 frames;
	} runs[] = {{22050, 64}, {96000, 137}, {48000, 4096}, {192000, 4096}, {11025, 4096}, {44100, 512}};
	for (const auto& run : runs)
	{
		ASSERT_EQ(AudioUnitUninitialize(instance.unit()), noErr);
		ASSERT_EQ(instance.initialize(run.rate), noErr) << run.rate;
		ASSERT_EQ(instance.midi(0x90, 69, 100), noErr);
		std::vector<float> left, right;
		instance.renderInto(size_t(run.rate / 2), run.frames, left, right);
		ASSERT_EQ(instance.midi(0x80, 69, 0), noErr);
		EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float x) { return std::isfinite(x); })) << run.rate;
		EXPECT_GT(rms(left), 1e-3) << run.rate;

		// A4 at every rate: the period that best repeats the held sound, searched between 300 and 600 Hz.
		const size_t from = left.size() / 4, window = size_t(run.rate / 20);
		double bestCorrelation = -1;
		size_t bestLag = 0;
		for (size_t lag = size_t(run.rate / 600); lag <= size_t(run.rate / 300); ++lag)
		{
			double correlation = 0, energy = 0;
			for (size_t i = from; i < from + window; ++i)
			{
				correlation += double(left[i]) * left[i + lag];
				energy += double(left[i + lag]) * left[i + lag];
			}
			correlation /= std::sqrt(energy) + 1e-12;
			if (correlation > bestCorrelation)
			{
				bestCorrelation = correlation;
				bestLag = lag;
			}
		}
		EXPECT_NEAR(run.rate / double(bestLag), 440.0, 440.0 * 0.02) << run.rate;
	}
}

TEST_F(HostChecks, TooManyFramesFailAndLeaveTheUnitUsable)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	ASSERT_EQ(AudioUnitUninitialize(instance.unit()), noErr);
	const UInt32 maxFrames = 512;
	ASSERT_EQ(AudioUnitSetProperty(instance.unit(), kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0,
				  &maxFrames, sizeof maxFrames),
		noErr);
	ASSERT_EQ(AudioUnitInitialize(instance.unit()), noErr);
	std::vector<float> left, right;
	EXPECT_EQ(instance.render(8192, left, right), kAudioUnitErr_TooManyFramesToProcess);
	EXPECT_EQ(instance.render(512, left, right), noErr);
}
