#include <gtest/gtest.h>

#include <stdexcept>

#include "RomLayout.h"
#include "WaveAnalysis.h"

using namespace waverom;

TEST(RomLayout, MarkersSkipSixtyNine)
{
	EXPECT_EQ(cueLabel(0), "w225 w245L2");
	EXPECT_EQ(cueLabel(29), "w211 w254a");
	EXPECT_EQ(cueLabel(30), "Marker 33");
	EXPECT_EQ(cueLabel(65), "Marker 68");
	EXPECT_EQ(cueLabel(66), "Marker 70");
	EXPECT_EQ(cueLabel(234), "Marker 238");
	EXPECT_EQ(cuePosition(30), 393216u);
	EXPECT_EQ(cuePosition(234), 523776u);
}

TEST(RomLayout, ImageCarriesTheGivenSamplesAndReadsBack)
{
	std::vector<uint8_t> samples(kSampleCount);
	for (size_t i = 0; i < samples.size(); ++i)
		samples[i] = static_cast<uint8_t>(i * 7 + (i >> 11));
	const std::vector<uint8_t> image = buildImage(samples);
	ASSERT_EQ(image.size(), kImageSize);
	EXPECT_TRUE(std::equal(samples.begin(), samples.end(), image.begin() + 44));

	RomView rom;
	ASSERT_TRUE(rom.parse(image.data(), image.size()));
	EXPECT_EQ(rom.rate, 50000u);
	ASSERT_EQ(rom.samples.size(), kSampleCount);
	EXPECT_EQ(rom.samples[1], (samples[1] - 128) / 128.0);
	ASSERT_EQ(rom.cues.size(), kCueCount);
	for (size_t i = 0; i < kCueCount; ++i)
	{
		EXPECT_EQ(rom.cues[i], cuePosition(i));
		EXPECT_EQ(rom.labels[i], cueLabel(i));
	}
}

TEST(RomLayout, RefusesASampleAreaOfTheWrongSize)
{
	EXPECT_THROW(buildImage(std::vector<uint8_t>(kSampleCount - 1)), std::invalid_argument);
	EXPECT_THROW(buildImage({}), std::invalid_argument);
}

TEST(RomLayout, SampledWavesTellHowLongTheyPlayBeforeTheirStartComesBack)
{
	// A one-shot comes back after its own segment.
	EXPECT_EQ(sampledWave(205).comesBackAfter, 4096u);
	EXPECT_FALSE(sampledWave(205).loops);
	EXPECT_FALSE(sampledWave(221).loops); // Bowed String
	EXPECT_FALSE(sampledWave(253).loops); // F Guitar Rev plays forward like any one-shot
	// Sustained loops, ping-pongs, extended waves and the waves named as loops come round on purpose.
	EXPECT_TRUE(sampledWave(223).loops); // String Sus, a plain token on the string loop
	EXPECT_TRUE(sampledWave(240).loops); // Ac Snare Loop, a snare struck again and again
	EXPECT_EQ(sampledWave(255).comesBackAfter, 32768u); // Crash Alt turns at its segment's end
	EXPECT_TRUE(sampledWave(255).loops);
	EXPECT_EQ(sampledWave(245).comesBackAfter, 65536u); // Omnibus Loop 3 spans two segments
	EXPECT_TRUE(sampledWave(245).loops);
	// Cyclic and unknown numbers name no sampled wave.
	EXPECT_EQ(sampledWave(14).comesBackAfter, 0u);
	EXPECT_EQ(sampledWave(300).comesBackAfter, 0u);
}
