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
#include "synth/Sysex.h"
#include "synth/Voice.h"
#include "synth/data/zentdata.h"

namespace
{
constexpr float Rate = 49920.0f;
constexpr unsigned char Key = 60;
constexpr unsigned char Velocity = 100;

struct Note
{
	double peakDb = -200.0;
	bool finite = true;
	bool ended = false;
};

std::vector<zentlib::SinglePreset> factorySingles()
{
	const std::pair<const uint8_t*, size_t> images[] = {
		{zentdata::getData_sysex_ZENTINT(), zentdata::getDataSize_sysex_ZENTINT()},
		{zentdata::getData_sysex_R301(), zentdata::getDataSize_sysex_R301()},
		{zentdata::getData_sysex_R302(), zentdata::getDataSize_sysex_R302()},
		{zentdata::getData_sysex_R303(), zentdata::getDataSize_sysex_R303()},
		{zentdata::getData_sysex_R304(), zentdata::getDataSize_sysex_R304()},
		{zentdata::getData_sysex_R305(), zentdata::getDataSize_sysex_R305()},
		{zentdata::getData_sysex_R400(), zentdata::getDataSize_sysex_R400()},
		{zentdata::getData_sysex_S301(), zentdata::getDataSize_sysex_S301()},
		{zentdata::getData_sysex_S302(), zentdata::getDataSize_sysex_S302()},
		{zentdata::getData_sysex_T301(), zentdata::getDataSize_sysex_T301()},
		{zentdata::getData_sysex_T302(), zentdata::getDataSize_sysex_T302()},
		{zentdata::getData_sysex_T303(), zentdata::getDataSize_sysex_T303()},
	};
	std::vector<uint8_t> joined;
	for (const auto& [data, size] : images)
		joined.insert(joined.end(), data, data + size);
	LogCapture quiet;
	zentlib::Sysex::SysexResult result;
	zentlib::Sysex::readBuffer(result, joined, 255);
	return result.singles;
}

// Seconds until the slowest heard source has finished its delay and attack.
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

// One note through the voice and the single's volume, as the engine's loop renders it: held until
// every source has had its attack (plus a little), then released until the voice ends.
Note play(zentlib::Engine& engine, const zentlib::SinglePreset& single)
{
	engine.singles.assign(1, single);
	engine.currentSingle = 0;
	const float gain = zentlib::volume(single.volume);
	zentlib::Voice voice(engine, Key, Velocity, Rate);
	Note note;
	float peak = 0.0f;
	auto step = [&]() {
		engine.lfoValue = engine.lfo.process(Rate);
		engine.vibratoValue = engine.vibrato.process(Rate, engine.lfoValue);
		float left = 0.0f;
		float right = 0.0f;
		voice.process(&left, &right);
		const float out = std::max(std::abs(left), std::abs(right)) * gain;
		if (!std::isfinite(out))
			note.finite = false;
		else
			peak = std::max(peak, out);
	};
	const int held = static_cast<int>((std::min(attackEnd(single), 4.0) + 0.25) * Rate);
	for (int i = 0; i < held; ++i)
		step();
	voice.onNoteOff(64);
	const int releaseLimit = static_cast<int>((longestRelease(single) * 1.5 + 0.5) * Rate);
	for (int i = 0; i < releaseLimit && !voice.isFinished(); ++i)
		step();
	note.ended = voice.isFinished();
	note.peakDb = peak > 0.0f ? 20.0 * std::log10(peak) : -200.0;
	return note;
}
}

// One case per storage, so the 768 notes spread over the test runner's jobs.
class FactoryLevels : public testing::TestWithParam<size_t>
{
};

TEST_P(FactoryLevels, OneNoteOfEverySingleSitsInTheLevelWindow)
{
	static const std::vector<zentlib::SinglePreset> singles = factorySingles();
	ASSERT_EQ(singles.size(), 768u);
	auto engine = std::make_unique<zentlib::Engine>(QuietEngineListener::instance());
	double lowest = 0.0;
	double highest = -200.0;
	const size_t first = GetParam() * 64;
	for (size_t i = first; i < first + 64; ++i)
	{
		const Note note = play(*engine, singles[i]);
		SCOPED_TRACE("single " + std::to_string(i) + " " + singles[i].name);
		EXPECT_TRUE(note.finite);
		EXPECT_TRUE(note.ended) << "still sounding after its release";
		EXPECT_GE(note.peakDb, -24.0);
		EXPECT_LE(note.peakDb, -3.0);
		lowest = std::min(lowest, note.peakDb);
		highest = std::max(highest, note.peakDb);
		if (std::getenv("VIREL_BANK_LEVELS"))
			std::printf("%3zu %-10s %6.1f dBFS\n", i, singles[i].name, note.peakDb);
	}
	std::printf("storage %zu peaks between %.1f and %.1f dBFS\n", GetParam(), lowest, highest);
}

INSTANTIATE_TEST_SUITE_P(Storages, FactoryLevels, testing::Range(size_t{0}, size_t{12}));
