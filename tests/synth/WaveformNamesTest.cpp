#include "synth/WaveformNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using zentlib::g_waveformNames;

TEST(WaveformNames, EveryNameCarriesItsPanelNumber)
{
	for (size_t i = 0; i < zentlib::g_waveformCount; ++i)
	{
		char prefix[8];
		std::snprintf(prefix, sizeof(prefix), "%03zu: ", i + 1);
		const std::string name = g_waveformNames[i];
		ASSERT_EQ(name.substr(0, 5), prefix) << i;
		ASSERT_GT(name.size(), 5u) << i;
		ASSERT_NE(name.back(), ' ') << i;
	}
}

TEST(WaveformNames, FamilyBoundaries)
{
	EXPECT_STREQ(g_waveformNames[0], "001: Sin 1st");
	EXPECT_STREQ(g_waveformNames[12], "013: Sin 16th");
	EXPECT_STREQ(g_waveformNames[13], "014: Saw 1");
	EXPECT_STREQ(g_waveformNames[43], "044: String Pad");
	EXPECT_STREQ(g_waveformNames[190], "191: Clavi");
	EXPECT_STREQ(g_waveformNames[203], "204: Synth 1");
	EXPECT_STREQ(g_waveformNames[204], "205: Bass Drum");
	EXPECT_STREQ(g_waveformNames[233], "234: White Noise");
	EXPECT_STREQ(g_waveformNames[234], "235: String Loop");
	EXPECT_STREQ(g_waveformNames[241], "242: Pull Bass Loop");
	EXPECT_STREQ(g_waveformNames[244], "245: Omnibus Loop 3");
	EXPECT_STREQ(g_waveformNames[250], "251: Ac Snare Rev");
	EXPECT_STREQ(g_waveformNames[255], "256: Piano Noise Alt");
}

// The waveform builder marks a wave as looping from its name, so the set of names saying so must be
// exactly the loop and alternate waves.
TEST(WaveformNames, LoopAndAlternateNamesAreThePcmLoops)
{
	for (size_t i = 0; i < zentlib::g_waveformCount; ++i)
	{
		const std::string name = g_waveformNames[i];
		const bool loops = name.find("Loop") != std::string::npos || name.find(" Alt") != std::string::npos;
		EXPECT_EQ(loops, (i >= 234 && i <= 249) || i >= 253) << name;
	}
}
