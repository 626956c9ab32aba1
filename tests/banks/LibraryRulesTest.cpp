#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Listening.h"
#include "Patch.h"
#include "Rules.h"
#include "Waves.h"

using namespace banks;

namespace
{
constexpr int Recorded = 92; // coarse value that plays a sampled wave at its recorded rate

zentlib::SinglePreset built(const Patch& patch, std::string* problem = nullptr)
{
	zentlib::SinglePreset single;
	std::string why;
	const bool ok = patch.build(single, why);
	if (problem)
		*problem = ok ? "" : why;
	return single;
}

Take tone(const std::vector<std::pair<double, double>>& stretches)
{
	// Stretches of a 1 kHz sine: (seconds, amplitude).
	Take take;
	take.rate = 49920.0f;
	for (const auto& [seconds, amplitude] : stretches)
		for (size_t i = 0; i < static_cast<size_t>(seconds * take.rate); ++i)
			take.mono.push_back(static_cast<float>(amplitude * std::sin(2.0 * 3.14159265358979 * 1000.0 * take.mono.size() / take.rate)));
	return take;
}
}

TEST(LibraryRules, PitchSettingsMustReachAHeardSource)
{
	std::string problem;
	built(Patch("Steady").two(Src(wave::Saw1).steady(), Src(wave::Saw1).steady()).vib(6, 30), &problem);
	EXPECT_NE(problem.find("vibrato"), std::string::npos);
	// A muted source, or one below audible level, does not count as taking it.
	built(Patch("Muted").two(Src(wave::Saw1).steady(), Src(wave::Saw1)).mute(2).autoBend(-12, 20), &problem);
	EXPECT_FALSE(problem.empty());
	built(Patch("Bends").two(Src(wave::Saw1).steady(), Src(wave::Saw1)).autoBend(-12, 20), &problem);
	EXPECT_EQ(problem, "");
}

TEST(LibraryRules, OneShotSourcesAreFittedUnderTheirWrapOrRefused)
{
	// Bass Drum at its recorded rate comes back after 4,096 / 50,000 s.
	const Src kick = Src(wave::BassDrum).fixed(Recorded).env(100, 0, 0, 60, 0, 20);
	EXPECT_NEAR(wrapSeconds(kick.record(), 60), 0.08192, 1e-9);
	EXPECT_EQ(wrapSeconds(Src(wave::Saw1).record(), 60), 0.0);
	EXPECT_EQ(wrapSeconds(Src(wave::StringLoop).record(), 60), 0.0);

	std::string problem;
	const zentlib::SinglePreset fitted = built(Patch("Kick").two(kick, Src(wave::Sin1).env(100, 0, 0, 40, 0, 20)), &problem);
	EXPECT_EQ(problem, "");
	EXPECT_LT(fitted.sources[0].envDecay, 60u);
	EXPECT_GT(fitted.sources[0].envDecay, 0u);
	EXPECT_LE(heldEnvelopeEnd(fitted.sources[0]), wrapSeconds(fitted.sources[0], 72));
	EXPECT_EQ(sourceReplayingOneShot(fitted, 72), -1);
	EXPECT_EQ(fitted.sources[1].envDecay, 40u) << "a cyclic source keeps its decay";

	built(Patch("Held Kick").two(Src(wave::BassDrum).fixed(Recorded), Src(wave::Sin1)), &problem);
	EXPECT_EQ(problem, "source 1 holds a one-shot wave");
}

TEST(LibraryRules, LeapsPeaksAndPrintsReadWhatWasPlayed)
{
	// Silence under the take's top by more than 40 dB does not count as a leap.
	const Take struck = tone({{0.3, 0.5}, {0.2, 0.005}, {0.3, 0.25}});
	EXPECT_NEAR(leapDb(struck, 0.5), 20.0 * std::log10(0.25 / 0.005), 0.5);
	EXPECT_EQ(leapDb(tone({{0.3, 0.5}, {0.2, 0.0}, {0.3, 0.001}}), 0.5), 0.0);
	EXPECT_NEAR(secondsToPeak(tone({{0.1, 0.1}, {0.2, 0.5}})), 0.1, 0.006);

	const Print a = soundPrint(tone({{0.8, 0.5}}));
	EXPECT_EQ(printDistanceDb(a, a), 0.0);
	// Louder or softer, the same sound prints the same.
	EXPECT_LT(printDistanceDb(a, soundPrint(tone({{0.8, 0.1}}))), 0.01);
	EXPECT_GT(printDistanceDb(a, soundPrint(tone({{0.05, 0.5}, {0.75, 0.0}}))), 2.0);
}
