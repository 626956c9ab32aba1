#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

#include "DspTestSupport.h"
#include "synth/Curves.h"
#include "synth/data/zentdata.h"

using namespace zentlib;
using namespace dsptest;

namespace
{
struct SourceFixture : ::testing::Test
{
	std::unique_ptr<Engine> engine = makeEngine();

	SinglePreset& single() { return engine->singles[0]; }
	SingleSource& s1() { return single().sources[0]; }

	// Plays source 1 alone and returns a second of it.
	std::vector<float> play(unsigned char note, size_t samples = static_cast<size_t>(Rate), unsigned char velocity = 100)
	{
		Voice voice(*engine, note, velocity, Rate);
		return render(voice, samples);
	}

	double pitchOf(unsigned char note, unsigned char velocity = 100)
	{
		Source source(*engine, 0);
		source.init(note, velocity, Rate);
		return source.getPitch();
	}

	// Envelope amplitudes that the source hands back, sample by sample.
	std::vector<float> amplitudes(Source& source, size_t samples)
	{
		Voice carrier(*engine, 60, 100, Rate);
		std::vector<float> out(samples);
		for (float& a : out)
		{
			float l = 0.0f;
			float r = 0.0f;
			source.process(&l, &r, a, carrier);
		}
		return out;
	}
};
}

TEST(FastPow2, GivesTheExactPitchesTheWavesAreTunedTo)
{
	EXPECT_EQ(fastPow2(0.0f) * 440.0f, 440.0f);
	EXPECT_EQ(fastPow2(1.0f) * 440.0f, 880.0f);
	EXPECT_EQ(fastPow2(-1.0f) * 440.0f, 220.00504f);
	EXPECT_EQ(fastPow2(-1.0f / 12.0f) * 440.0f, 415.28961f);
	for (float x = -10.0f; x < 10.0f; x += 0.01f)
		ASSERT_NEAR(fastPow2(x) / std::exp2(x), 1.0, 1e-4) << x;
	EXPECT_EQ(fastPow2(-1000.0f), fastPow2(-126.0f));
}

TEST_F(SourceFixture, PitchFollowsCoarseFineAndKeyTracking)
{
	EXPECT_EQ(pitchOf(69), 69.0);
	s1().coarse = 96;
	EXPECT_EQ(pitchOf(69), 81.0);
	s1().fine = 100;
	EXPECT_NEAR(pitchOf(69), 82.0, 1e-5);
	s1().fine = 0;
	EXPECT_NEAR(pitchOf(69), 80.0, 1e-5);

	s1().keyTrack = false;
	s1().fine = 50;
	s1().coarse = 24;
	for (unsigned char note : {0, 30, 69, 127})
		EXPECT_EQ(pitchOf(note), 0.0);
	s1().coarse = 93;
	EXPECT_EQ(pitchOf(12), 69.0);
}

TEST_F(SourceFixture, KeyScalingBendsThePitchBySignedDepth)
{
	single().keyScaleCurve = 0; // -1 at key 36 .. +1 at key 96
	s1().freqKeyScaleToFreq = 100; // +12 semitones at full scale
	EXPECT_NEAR(pitchOf(96), 96.0 + 12.0, 1e-5);
	EXPECT_NEAR(pitchOf(36), 36.0 - 12.0, 1e-5);
	EXPECT_NEAR(pitchOf(66), 66.0, 1e-5);
	s1().freqKeyScaleToFreq = 0; // the other way round
	EXPECT_NEAR(pitchOf(96), 96.0 - 12.0, 1e-5);

	// curve 4 is unipolar here: nothing below key 66, everything from it
	single().keyScaleCurve = 4;
	s1().freqKeyScaleToFreq = 70; // +1 semitone
	EXPECT_NEAR(pitchOf(65), 65.0, 1e-5);
	EXPECT_NEAR(pitchOf(66), 67.0, 1e-5);
	// a curve number the record can carry but no curve exists for plays as curve 4
	single().keyScaleCurve = 7;
	EXPECT_NEAR(pitchOf(65), 65.0, 1e-5);
	EXPECT_NEAR(pitchOf(66), 67.0, 1e-5);
}

TEST_F(SourceFixture, Key69WithCoarse84SoundsAt440Hertz)
{
	EXPECT_NEAR(zeroCrossingFrequency(play(69)), 440.0, 0.01);
	EXPECT_NEAR(zeroCrossingFrequency(play(81)), 880.0, 0.02);
	EXPECT_NEAR(zeroCrossingFrequency(play(57)), 220.005, 0.01);
	EXPECT_NEAR(zeroCrossingFrequency(play(60)), 440.0 * semitonesToRatio(-9), 440.0 * 2e-4);
	s1().keyTrack = false;
	s1().coarse = 24;
	EXPECT_NEAR(zeroCrossingFrequency(play(100, static_cast<size_t>(Rate * 3))), 440.0 * semitonesToRatio(-69), 0.01);
}

// A first pitch sum of exactly -1 must not be mistaken for "no pitch computed yet": the source
// plays forward at 7.7 Hz, not backwards from an unset increment.
TEST_F(SourceFixture, APitchOfMinusOnePlaysForwardAtItsFrequency)
{
	const double expected = 440.0 * semitonesToRatio(-70);
	s1().keyTrack = false;
	s1().coarse = 23;
	std::vector<float> x = play(100, static_cast<size_t>(Rate * 1.5));
	EXPECT_NEAR(zeroCrossingFrequency(x), expected, 0.01);
	EXPECT_GT(x[1000], 0.0f) << "the sine's first half cycle comes first";

	s1().keyTrack = true;
	s1().coarse = 24;
	x = play(59, static_cast<size_t>(Rate * 1.5));
	EXPECT_NEAR(zeroCrossingFrequency(x), expected, 0.01);
	EXPECT_GT(x[1000], 0.0f);
}

TEST_F(SourceFixture, EnginePitchTermsShiftTheFrequency)
{
	const double base = zeroCrossingFrequency(play(69));
	engine->masterTune = 1.0f;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, semitonesToRatio(1), 1e-4);
	engine->masterTune = 0.0f;
	engine->pitchBendSemitones = -2.0f;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, semitonesToRatio(-2), 1e-4);
	engine->pitchBendSemitones = 0.0f;

	// pressure to pitch reaches only sources with its flag
	engine->pressureFreqOffset = 12.0f;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, 1.0, 1e-4);
	s1().pressureToFreq = true;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, 2.0, 2e-4);
	engine->pressureFreqOffset = 0.0f;

	// and so does the vibrato
	engine->vibratoValue = 3.0f;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, 1.0, 1e-4);
	s1().vibABend = true;
	EXPECT_NEAR(zeroCrossingFrequency(play(69)) / base, semitonesToRatio(3), 2e-4);
}

TEST_F(SourceFixture, DelaySilencesTheSourceWithoutMovingIt)
{
	s1().envDelay = 2; // 0.008 s: 399 samples at this rate
	Source source(*engine, 0);
	source.init(69, 100, Rate);
	const std::vector<float> amp = amplitudes(source, 1000);
	for (int i = 0; i < 398; ++i)
		ASSERT_EQ(amp[i], 0.0f) << i;
	EXPECT_EQ(amp[398], 1.0f); // no attack time

	// the delayed source starts its wave from the start, like an undelayed one
	const std::vector<float> delayed = play(69, 2000);
	s1().envDelay = 0;
	const std::vector<float> direct = play(69, 2000);
	for (int i = 0; i < 500; ++i)
		ASSERT_EQ(delayed[398 + i], direct[i]) << i;
}

TEST_F(SourceFixture, ASourceNotYetSetUpIsSilent)
{
	Source source(*engine, 0);
	EXPECT_TRUE(source.isFinished());
	Voice voice(*engine, 60, 100, Rate);
	for (int i = 0; i < 4; ++i)
	{
		float l = 0.0f;
		float r = 0.0f;
		float a = 1.0f;
		source.process(&l, &r, a, voice);
		EXPECT_EQ(l, 0.0f);
		EXPECT_EQ(r, 0.0f);
		EXPECT_EQ(a, 0.0f);
	}
}

TEST_F(SourceFixture, AttackFollowsTheTableAndItsModulations)
{
	// Samples until the amplitude settles (the attack has ended and the level holds).
	auto attackSamples = [&](unsigned char note, unsigned char velocity) {
		Source source(*engine, 0);
		source.init(note, velocity, Rate);
		const std::vector<float> amp = amplitudes(source, static_cast<size_t>(Rate * 1.5));
		size_t last = 0;
		for (size_t i = 1; i < amp.size(); ++i)
			if (amp[i] != amp[i - 1])
				last = i;
		return static_cast<double>(last);
	};
	auto expected = [](unsigned char attack) { return envAttackTime(attack) * Rate; };
	s1().envAttack = 30;
	EXPECT_NEAR(attackSamples(69, 100), expected(30), expected(30) * 0.01);

	// velocity 127 on curve 0 has full weight: +50 lengthens the attack setting by 50
	s1().envAttack = 10;
	s1().timeModVel = 100;
	EXPECT_NEAR(attackSamples(69, 127), expected(60), expected(60) * 0.01);
	EXPECT_NEAR(attackSamples(69, 30), expected(10), expected(10) * 0.02 + 2); // weight 0
	s1().timeModVel = 50;

	// key scaling on curve 0: key 96 has full weight, key 36 none
	s1().envAttack = 30;
	s1().timeModKeyScale = 30; // -20
	EXPECT_NEAR(attackSamples(96, 100), expected(10), expected(10) * 0.02 + 2);
	EXPECT_NEAR(attackSamples(36, 100), expected(30), expected(30) * 0.01);
}

TEST_F(SourceFixture, LevelFollowsVelocityAndKeyScaling)
{
	auto levelOf = [&](unsigned char note, unsigned char velocity) {
		Source source(*engine, 0);
		source.init(note, velocity, Rate);
		return amplitudes(source, 10).back();
	};
	EXPECT_EQ(levelOf(69, 100), 1.0f);
	s1().envLevel = 50;
	EXPECT_EQ(levelOf(69, 100), envLevel(50));

	s1().envLevel = 100;
	s1().levelModVel = 100; // the level follows velocity curve 0 fully
	EXPECT_EQ(levelOf(69, 127), 1.0f);
	EXPECT_EQ(levelOf(69, 20), 0.0f);
	EXPECT_EQ(levelOf(69, 64), envLevel(44)); // weight 0.4416
	s1().levelModVel = 0; // inverted
	EXPECT_EQ(levelOf(69, 127), 0.0f);
	EXPECT_EQ(levelOf(69, 20), 1.0f);

	s1().levelModVel = 50;
	s1().levelModKeyScale = 100; // key 96 keeps the level, key 36 loses all of it
	EXPECT_EQ(levelOf(96, 100), 1.0f);
	EXPECT_EQ(levelOf(36, 100), 0.0f);
	EXPECT_EQ(levelOf(66, 100), envLevel(50));
}

TEST_F(SourceFixture, PressureTakesLevelAwayOrGivesItBack)
{
	auto levelAt = [&](float pressure) {
		engine->pressure = pressure;
		Source source(*engine, 0);
		source.init(69, 100, Rate);
		return amplitudes(source, 10).back();
	};
	s1().levelModPressure = 100;
	EXPECT_EQ(levelAt(0.0f), 1.0f);
	EXPECT_EQ(levelAt(1.0f), 0.0f);
	s1().levelModPressure = 0;
	EXPECT_EQ(levelAt(0.0f), 0.0f);
	EXPECT_EQ(levelAt(1.0f), 1.0f);
	s1().levelModPressure = 75; // half depth: weight of entry 63
	EXPECT_FLOAT_EQ(levelAt(1.0f), 1.0f - pressureToEnvLevel(63));
}

TEST_F(SourceFixture, NoteOffReleasesFromTheLevelHeard)
{
	s1().envAttack = 40;
	s1().envRelease = 30;
	Source source(*engine, 0);
	source.init(69, 100, Rate);
	const float heard = amplitudes(source, 3000).back();
	ASSERT_GT(heard, 0.05f);
	ASSERT_LT(heard, 0.9f);
	source.onNoteOff(64);
	const std::vector<float> after = amplitudes(source, static_cast<size_t>(envDecayTime(30) * Rate * 1.1));
	EXPECT_NEAR(after[0], heard, heard * 0.001f);
	EXPECT_LT(after[0], heard);
	EXPECT_TRUE(source.isFinished());
}

TEST_F(SourceFixture, NoteOffInTheDelayNeverSounds)
{
	s1().envDelay = 10;
	Voice voice(*engine, 69, 100, Rate);
	render(voice, 100);
	voice.onNoteOff(64);
	EXPECT_TRUE(voice.isFinished());
	for (float x : render(voice, 5000))
		ASSERT_EQ(x, 0.0f);
}

namespace
{
// Linear interpolation of a looping table at a fractional position.
float readAt(const Waveforms::WaveformData& table, double position)
{
	const double wrapped = std::fmod(position, static_cast<double>(table.length));
	const auto i = static_cast<uint64_t>(wrapped);
	const double f = wrapped - static_cast<double>(i);
	const float a = table.data[i];
	const float b = table.data[(i + 1) % table.length];
	return static_cast<float>(a + (b - a) * f);
}

// Mean difference between the output and a table read at a steady rate from position 0.
double distanceFromTable(const std::vector<float>& out, const Waveforms::WaveformData& table, double increment)
{
	double sum = 0.0;
	for (size_t n = 0; n < out.size(); ++n)
		sum += std::fabs(out[n] - readAt(table, n * increment));
	return sum / out.size();
}
}

TEST_F(SourceFixture, SampledWavesPlayAtTheRomRateAtPitch68)
{
	s1().wave = 204; // a one-shot: starts at its first sample
	const Waveforms::Waveform& wave = engine->waveforms.getWaveform(204);
	ASSERT_GT(wave.perKey[68].length, 0u);
	const std::vector<float> out = play(68, 4000);
	EXPECT_LT(distanceFromTable(out, wave.perKey[68], wave.romRate / Rate), 1e-6);
	// a semitone up reads faster by the same factor
	const std::vector<float> up = play(69, 3000);
	EXPECT_LT(distanceFromTable(up, wave.perKey[69], wave.romRate / Rate * 440.0 / 415.28961), 1e-4);
}

TEST_F(SourceFixture, SampledWavesNeverPlayBelowTheirLowestPitch)
{
	s1().wave = 204;
	s1().keyTrack = false;
	s1().coarse = 34; // pitch 10
	const std::vector<float> low = play(60, 2000);
	s1().coarse = 46; // pitch 22
	const std::vector<float> raised = play(60, 2000);
	EXPECT_EQ(low, raised);

	// cyclic waves go as low as they are asked
	s1().wave = 0;
	s1().coarse = 34;
	EXPECT_NEAR(zeroCrossingFrequency(play(60, static_cast<size_t>(Rate * 2))), 440.0 * semitonesToRatio(10 - 69), 0.01);
}

TEST_F(SourceFixture, KeyIndexIsTheSmallestKeyNotBelowThePitch)
{
	// A wave ROM whose wave 14 has its own half cycle for the key range 60..71 (table 2 of its
	// 640-sample segment), so that the table a source picks can be told apart.
	std::vector<uint8_t> image(zentdata::getData_waverom(), zentdata::getData_waverom() + zentdata::getDataSize_waverom());
	const size_t table2 = 44 + 393216 + 13 * 640 + 2 * 128;
	for (size_t j = 0; j < 128; ++j)
		image[table2 + j] = static_cast<uint8_t>(128 + 100 * std::sin(M_PI * j / 128.0) * ((j / 8) % 2 ? 1 : -1));
	engine->waveforms.loadFromMemory(image.data(), image.size());

	s1().wave = 13;
	s1().keyTrack = false;
	const Waveforms::Waveform& wave = engine->waveforms.getWaveform(13);
	auto tableDistances = [&](uint32_t coarse, uint32_t fine) {
		s1().coarse = coarse;
		s1().fine = fine;
		const double pitch = static_cast<int>(coarse) - 24 + (static_cast<int>(fine) - 50) * 0.02;
		const float step = (1.0f / 195.3125f * wave.romRate) / Rate;
		const double increment = static_cast<double>(fastPow2(static_cast<float>(pitch - 69.0) / 12.0f) * 440.0f) * step;
		const std::vector<float> out = play(60, 300);
		return std::make_pair(distanceFromTable(out, wave.perKey[59], increment), distanceFromTable(out, wave.perKey[60], increment));
	};
	auto [below, above] = tableDistances(83, 50); // pitch 59
	EXPECT_LT(below, 1e-6);
	EXPECT_GT(above, 1e-3);
	std::tie(below, above) = tableDistances(83, 65); // pitch 59.3
	EXPECT_GT(below, 1e-3);
	EXPECT_LT(above, 1e-6);
	std::tie(below, above) = tableDistances(84, 50); // pitch 60
	EXPECT_GT(below, 1e-3);
	EXPECT_LT(above, 1e-6);
}

TEST_F(SourceFixture, LoopedSampledWavesMayStartAnywhere)
{
	s1().wave = 234; // a plain forward loop
	std::set<float> firstSamples;
	for (int i = 0; i < 8; ++i)
		firstSamples.insert(play(69, 1)[0]);
	EXPECT_GT(firstSamples.size(), 1u);

	s1().wave = 204; // a one-shot always starts at its start
	firstSamples.clear();
	for (int i = 0; i < 8; ++i)
		firstSamples.insert(play(69, 1)[0]);
	EXPECT_EQ(firstSamples.size(), 1u);
}
