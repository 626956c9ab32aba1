#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "synth/Curves.h"
#include "synth/Engine.h"

namespace
{
constexpr uint8_t Key = 60;
constexpr uint8_t Velocity = 100;
constexpr int Block = 256;

// Under the sanitizers every eighth single is enough to exercise the same paths; the full sweep
// of 768 notes runs in the plain build.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t Stride = 8;
#else
constexpr size_t Stride = 1;
#endif

struct Note
{
	double peakDb = -200.0;
	bool finite = true;
	bool ended = false;
};

// Seconds until the slowest sounding source has finished its delay and attack.
double attackEnd(const zentlib::SinglePreset& s)
{
	double end = 0.0;
	for (int i = 0; i < (s.source2or4 ? 4 : 2); ++i)
	{
		const auto& src = s.sources[i];
		end = std::max(end, double(zentlib::envDelayTime(src.envDelay)) + zentlib::envAttackTime(src.envAttack));
	}
	return end;
}

double longestRelease(const zentlib::SinglePreset& s)
{
	double longest = 0.0;
	for (int i = 0; i < (s.source2or4 ? 4 : 2); ++i)
		longest = std::max(longest, double(zentlib::envDecayTime(s.sources[i].envRelease)));
	return longest;
}

// One note of factory single `index` through the engine as a host at 49,920 Hz renders it: held
// until every source has had its attack (plus a little), then released until no voice is left.
Note play(zentlib::Engine& engine, size_t index)
{
	{
		LogCapture quiet; // a program change logs the switch and the single
		engine.setSingle(index);
	}
	const zentlib::SinglePreset& single = engine.getCurrentSingle();
	const float rate = engine.getProcessingSamplerate();
	std::vector<float> left(Block);
	std::vector<float> right(Block);
	float* outputs[] = {left.data(), right.data()};
	std::vector<zentlib::SMidiEvent> none;
	Note note;
	float peak = 0.0f;
	auto render = [&](int blocks, bool untilSilent) {
		for (int b = 0; b < blocks && !(untilSilent && engine.voices.empty()); ++b)
		{
			engine.process(outputs, Block, none);
			for (int i = 0; i < Block; ++i)
			{
				const float out = std::max(std::abs(left[i]), std::abs(right[i]));
				if (!std::isfinite(out))
					note.finite = false;
				else
					peak = std::max(peak, out);
			}
		}
	};
	engine.processMidiNoteOn(Key, Velocity);
	render(static_cast<int>((std::min(attackEnd(single), 4.0) + 0.1) * rate / Block) + 1, false);
	engine.processMidiNoteOff(Key, 64);
	render(static_cast<int>((longestRelease(single) * 1.5 + 0.5) * rate / Block) + 1, true);
	note.ended = engine.voices.empty();
	note.peakDb = peak > 0.0f ? 20.0 * std::log10(peak) : -200.0;
	return note;
}

std::unique_ptr<zentlib::Engine> makeEngine()
{
	LogCapture quiet;
	auto engine = std::make_unique<zentlib::Engine>(QuietEngineListener::instance());
	// At the engine's own rate the converter passes the samples through untouched.
	engine->setSamplerate(49920.0f);
	return engine;
}
}

TEST(FactoryLevels, EngineStartLogsTheWheelModeOfTheTwoQuirkySingles)
{
	LogCapture log;
	zentlib::Engine engine(QuietEngineListener::instance());
	const std::string wheelMode = "Invalid vibrato wheel mode, needs to be 0 or 1 but got 2";
	const auto texts = log.texts();
	EXPECT_EQ(std::count(texts.begin(), texts.end(), wheelMode), 2);
	EXPECT_EQ(engine.factorySingles.size(), 768u);
	EXPECT_STREQ(engine.getCurrentSingle().name, "Grand Pno");
}

// One case per storage, so the 768 notes spread over the test runner's jobs.
class FactoryLevels : public testing::TestWithParam<size_t>
{
};

TEST_P(FactoryLevels, OneNoteOfEverySingleSitsInTheLevelWindow)
{
	auto engine = makeEngine();
	double lowest = 0.0;
	double highest = -200.0;
	const size_t first = GetParam() * 64;
	for (size_t i = first; i < first + 64; i += Stride)
	{
		const Note note = play(*engine, i);
		SCOPED_TRACE("single " + std::to_string(i) + " " + engine->getCurrentSingle().name);
		EXPECT_TRUE(note.finite);
		EXPECT_TRUE(note.ended) << "still sounding after its release";
		EXPECT_GE(note.peakDb, -24.0);
		EXPECT_LE(note.peakDb, -3.0);
		lowest = std::min(lowest, note.peakDb);
		highest = std::max(highest, note.peakDb);
		if (std::getenv("VIREL_BANK_LEVELS"))
			std::printf("%3zu %-10s %6.1f dBFS\n", i, engine->getCurrentSingle().name, note.peakDb);
	}
	std::printf("storage %zu peaks between %.1f and %.1f dBFS\n", GetParam(), lowest, highest);
}

INSTANTIATE_TEST_SUITE_P(Storages, FactoryLevels, testing::Range(size_t{0}, size_t{12}));
