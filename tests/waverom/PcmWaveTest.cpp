#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "RomTestImage.h"
#include "synth/WaveformNames.h"
#include "synth/data/zentdata.h"

using namespace waverom;

namespace
{
std::string nameOf(int number)
{
	return zentlib::g_waveformNames[number - 1] + 5;
}

bool isLoop(const PcmWave& w)
{
	const std::string name = nameOf(w.number);
	return w.extended || w.pingPong || name.find("Loop") != std::string::npos || name.find(" Alt") != std::string::npos;
}
}

TEST(PcmWaves, EveryWaveFrom205To256IsCutOnceWithAPowerOfTwoLength)
{
	const std::vector<PcmWave> waves = pcmWaves(romImage());
	ASSERT_EQ(waves.size(), 52u);
	for (size_t i = 0; i < waves.size(); ++i)
	{
		EXPECT_EQ(waves[i].number, static_cast<int>(205 + i));
		EXPECT_GE(waves[i].length, 4096u);
		EXPECT_LE(waves[i].length, 65536u);
		EXPECT_EQ(waves[i].length & (waves[i].length - 1), 0u) << waves[i].number;
	}
	EXPECT_EQ(waves[0].start, 360448u);
	EXPECT_EQ(waves[0].length, 4096u);
	EXPECT_EQ(waves[245 - 205].length, 65536u);
	EXPECT_EQ(waves[255 - 205].length, 65536u);
}

TEST(PcmWaves, EveryWaveUsesMostOfTheByteRange)
{
	for (const PcmWave& w : pcmWaves(romImage()))
		EXPECT_GE(rangeUse(w.data), 0.6) << nameOf(w.number);
}

TEST(PcmWaves, OneShotsDieAwayAndAreSilentOverTheirLastTwentieth)
{
	int checked = 0;
	for (const PcmWave& w : pcmWaves(romImage()))
	{
		if (isLoop(w) || isSustainedLoop(segmentOf(romImage(), w.start)))
			continue;
		EXPECT_LT(tailPeakDb(w.data, 0.05), -40.0) << nameOf(w.number);
		// A sound still loud where the closing fade starts is cut off, not ended: the last
		// quarter lies 30 dB or more under the peak.
		EXPECT_LT(tailPeakDb(w.data, 0.25), -30.0) << nameOf(w.number);
		++checked;
	}
	EXPECT_GE(checked, 25);
}

TEST(PcmWaves, LoopsWrapWithoutAJump)
{
	// Every sampled wave is played looped, so every one has to wrap cleanly.
	for (const PcmWave& w : pcmWaves(romImage()))
		EXPECT_LE(seamJump(w.data), typicalStep(w.data)) << nameOf(w.number);
}

TEST(PcmWaves, PitchedSegmentsSoundAtPitch68)
{
	const RomView& rom = romImage();
	int checked = 0;
	for (size_t s = 0; s < 30; ++s)
	{
		if (!isPitched(s))
			continue;
		const size_t length = rom.cues[s + 1] - rom.cues[s];
		const std::vector<double> data(rom.samples.begin() + rom.cues[s], rom.samples.begin() + rom.cues[s + 1]);
		const bool loop = isSustainedLoop(s);
		const size_t offset = loop ? 0 : length / 16;
		const size_t count = std::min<size_t>(8192, loop ? length : length / 2);
		const PitchEstimate e = estimatePitch(data, offset, count, rom.rate, 415.28961);
		EXPECT_NEAR(e.cents, 0.0, 10.0) << "segment " << s << " " << rom.labels[s];
		// The fundamental is really there, not a side lobe of some other partial.
		EXPECT_GT(e.strengthDb, -20.0) << "segment " << s << " " << rom.labels[s];
		++checked;
	}
	EXPECT_EQ(checked, 19);
}

TEST(PcmWaves, SpaceAfterTheLastCyclicWaveIsSilent)
{
	const RomView& rom = romImage();
	for (size_t i = 523776 + 640; i < 524288; ++i)
		ASSERT_EQ(rom.samples[i], 0.0) << i;
}
