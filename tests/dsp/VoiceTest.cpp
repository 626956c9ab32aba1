#include <gtest/gtest.h>

#include <cmath>

#include "DspTestSupport.h"
#include "synth/Curves.h"

using namespace zentlib;
using namespace dsptest;

namespace
{
// S1 at 440 Hz, S2 at 880 Hz, S3 at 1760 Hz, S4 at 220 Hz, all sine, full steady level.
struct VoiceFixture : ::testing::Test
{
	std::unique_ptr<Engine> engine = makeEngine();
	double a = 0.0; // amplitude of the sine wave alone

	void SetUp() override
	{
		a = magnitudeAt(play(), 440.0);
		ASSERT_GT(a, 0.5);
		single().mute[1] = single().mute[2] = single().mute[3] = false;
		single().sources[1].coarse = 96;
		single().sources[2].coarse = 108;
		single().sources[3].coarse = 72;
	}

	SinglePreset& single() { return engine->singles[0]; }

	std::vector<float> play(size_t samples = 24960)
	{
		Voice voice(*engine, 69, 100, Rate);
		return render(voice, samples);
	}

	static bool present(const std::vector<float>& x, double f) { return magnitudeAt(x, f) > 0.3; }
	// The sine times a gain, or two sines multiplied: each side band carries half the product.
	double sine(double gain = 1.0) const { return a * gain; }
	double sideBand() const { return a * a * 0.5; }
	static bool absent(const std::vector<float>& x, double f) { return magnitudeAt(x, f) < 0.03; }
};
}

TEST_F(VoiceFixture, TwoSourcesSoundTogetherAndMutesDropThem)
{
	std::vector<float> out = play();
	EXPECT_TRUE(present(out, 440.0));
	EXPECT_TRUE(present(out, 880.0));
	EXPECT_TRUE(absent(out, 1760.0));

	single().mute[0] = true; // one slot, holding S2
	out = play();
	EXPECT_TRUE(absent(out, 440.0));
	EXPECT_TRUE(present(out, 880.0));
}

TEST_F(VoiceFixture, FourSourcesAreWeightedByTheSourceMix)
{
	single().source2or4 = 1;
	std::vector<float> out = play();
	for (double f : {440.0, 880.0, 1760.0, 220.0})
		EXPECT_NEAR(magnitudeAt(out, f), sine(), 0.01) << f;

	engine->sourceMixGain[2] = 0.0f;
	engine->sourceMixGain[3] = 0.5f;
	out = play();
	EXPECT_TRUE(absent(out, 1760.0));
	EXPECT_NEAR(magnitudeAt(out, 220.0), sine(0.5), 0.01);
	EXPECT_NEAR(magnitudeAt(out, 440.0), sine(), 0.01);
}

TEST_F(VoiceFixture, AmplitudeModulationMultipliesThePair)
{
	// sin(a) * sin(b) holds a - b and a + b, each at half amplitude
	single().ampModS1S2 = 1;
	std::vector<float> out = play();
	EXPECT_TRUE(present(out, 440.0)); // S1 itself plus the difference tone
	EXPECT_TRUE(absent(out, 880.0));
	EXPECT_NEAR(magnitudeAt(out, 1320.0), sideBand(), 0.01);

	// S1 muted: kept only as the modulator, so the product alone is heard
	single().mute[0] = true;
	out = play();
	EXPECT_NEAR(magnitudeAt(out, 440.0), sideBand(), 0.01);
	EXPECT_NEAR(magnitudeAt(out, 1320.0), sideBand(), 0.01);
	EXPECT_TRUE(absent(out, 880.0));

	// S2 muted: skipped, and S1 sounds unmodulated
	single().mute[0] = false;
	single().mute[1] = true;
	out = play();
	EXPECT_NEAR(magnitudeAt(out, 440.0), sine(), 0.01);
	EXPECT_TRUE(absent(out, 1320.0));

	// the second pair works the same way; every non-zero mode alike
	single().mute[1] = false;
	single().ampModS1S2 = 0;
	single().source2or4 = 1;
	single().ampModS3S4 = 2;
	out = play();
	EXPECT_NEAR(magnitudeAt(out, 1760.0 - 220.0), sideBand(), 0.01);
	EXPECT_NEAR(magnitudeAt(out, 1760.0 + 220.0), sideBand(), 0.01);
	EXPECT_NEAR(magnitudeAt(out, 440.0), sine(), 0.01);
}

TEST_F(VoiceFixture, TheProductFollowsTheModulatedSourcesEnvelope)
{
	single().ampModS1S2 = 1;
	single().mute[0] = true;
	single().sources[0].envLevel = 100;
	single().sources[1].envLevel = 50;
	const std::vector<float> out = play();
	EXPECT_NEAR(magnitudeAt(out, 1320.0), sideBand() * envLevel(50), 0.005);
}

TEST_F(VoiceFixture, AVoiceWithoutSourcesIsFinishedAtOnce)
{
	single().mute[0] = single().mute[1] = true;
	Voice voice(*engine, 69, 100, Rate);
	EXPECT_TRUE(voice.isFinished());
	float l = 0.0f;
	float r = 0.0f;
	voice.process(&l, &r);
	EXPECT_EQ(l, 0.0f);
	EXPECT_EQ(r, 0.0f);
}

TEST_F(VoiceFixture, FinishesWhenEverySourceHasReleased)
{
	single().sources[0].envRelease = 40;
	Voice voice(*engine, 69, 100, Rate);
	render(voice, 100);
	voice.onNoteOff(64);
	render(voice, static_cast<size_t>(envDecayTime(20) * Rate * 1.05));
	EXPECT_FALSE(voice.isFinished()); // S1's longer release still runs
	render(voice, static_cast<size_t>(envDecayTime(40) * Rate));
	EXPECT_TRUE(voice.isFinished());

	// the engine's fast release: setting 7 for every source
	Voice fast(*engine, 69, 100, Rate);
	render(fast, 100);
	fast.onNoteOff(127, 7);
	render(fast, static_cast<size_t>(envDecayTime(7) * Rate * 1.05));
	EXPECT_TRUE(fast.isFinished());
}

TEST_F(VoiceFixture, SourcesCountFollowsTheCurrentSingle)
{
	Voice voice(*engine, 69, 100, Rate);
	EXPECT_EQ(voice.sourcesCount(), 2);
	single().source2or4 = 1;
	EXPECT_EQ(voice.sourcesCount(), 4);
}

namespace
{
struct AutoBendFixture : VoiceFixture
{
	void SetUp() override
	{
		VoiceFixture::SetUp();
		single().mute[1] = true;
		single().sources[0].vibABend = true;
		single().autoBendTime = 50; // 0.29483 s
		single().autoBendDepth = 100; // +12 semitones
	}

	std::vector<float> modulation(Voice& voice, size_t samples)
	{
		std::vector<float> out(samples);
		for (float& m : out)
		{
			float l = 0.0f;
			float r = 0.0f;
			voice.process(&l, &r);
			m = voice.getPitchModulation();
		}
		return out;
	}
};
}

TEST_F(AutoBendFixture, BendFallsToThePitchThenTheVibratoFadesIn)
{
	engine->vibratoValue = 1.0f;
	Voice voice(*engine, 69, 100, Rate);
	const float time = envDelayTime(50);
	const std::vector<float> m = modulation(voice, static_cast<size_t>(time * 3.2f * Rate));
	auto at = [&](double seconds) { return m[static_cast<size_t>(seconds * Rate)]; };
	EXPECT_EQ(m[0], 12.0f);
	EXPECT_NEAR(at(time / 2), 6.0f, 0.01f);
	// steps of 1/128 semitone while bending
	for (size_t i = 0; i < static_cast<size_t>(time * Rate); ++i)
		ASSERT_EQ(m[i] * 128.0f, std::trunc(m[i] * 128.0f)) << i;
	EXPECT_NEAR(at(time * 1.001), 0.0f, 0.01f);
	EXPECT_NEAR(at(time * 2), 0.5f, 0.01f);
	EXPECT_NEAR(at(0.88449), 1.0f, 0.001f);
	EXPECT_EQ(m.back(), 1.0f);
}

TEST_F(AutoBendFixture, TheSourceStartsAnOctaveUpAndLandsOnItsPitch)
{
	Voice voice(*engine, 69, 100, Rate);
	const std::vector<float> out = render(voice, static_cast<size_t>(Rate * 0.6));
	const size_t ms = static_cast<size_t>(Rate / 1000);
	EXPECT_NEAR(zeroCrossingFrequency(out, 0, 10 * ms), 880.0, 15.0);
	EXPECT_NEAR(zeroCrossingFrequency(out, 310 * ms, 600 * ms), 440.0, 0.05);

	// sources without the flag ignore the bend
	single().sources[0].vibABend = false;
	Voice plain(*engine, 69, 100, Rate);
	EXPECT_NEAR(zeroCrossingFrequency(render(plain, 10 * ms)), 440.0, 1.0);
}

TEST_F(AutoBendFixture, WithoutBendTimeTheVibratoActsAtOnce)
{
	single().autoBendTime = 0;
	engine->vibratoValue = -0.75f;
	Voice voice(*engine, 69, 100, Rate);
	EXPECT_EQ(modulation(voice, 1)[0], -0.75f);
}

TEST_F(AutoBendFixture, VelocityAndKeyScaleShapeTheBend)
{
	single().velToDepth = 100;
	Voice hard(*engine, 69, 127, Rate);
	EXPECT_EQ(modulation(hard, 1)[0], 18.0f);
	Voice soft(*engine, 69, 1, Rate);
	EXPECT_EQ(modulation(soft, 1)[0], 6.0f);
	Voice middle(*engine, 69, 64, Rate);
	EXPECT_EQ(modulation(middle, 1)[0], 12.0f);

	// a negative depth bends from below
	single().velToDepth = 50;
	single().autoBendDepth = 30; // -20: -1 semitone
	Voice below(*engine, 69, 100, Rate);
	EXPECT_EQ(modulation(below, 1)[0], -1.0f);

	// key scaling to time +50 on curve 0: key 96 bends half as long again, key 36 half as long
	single().autoBendDepth = 100;
	single().autoBendKeyScaleToTime = 100;
	const float time = envDelayTime(50);
	Voice high(*engine, 96, 100, Rate);
	EXPECT_NEAR(modulation(high, static_cast<size_t>(time * Rate)).back(), 4.0f, 0.02f);
	Voice low(*engine, 36, 100, Rate);
	EXPECT_NEAR(modulation(low, static_cast<size_t>(time * 0.25f * Rate)).back(), 6.0f, 0.02f);
}

// A record may carry any 7-bit value in any field, and a ROM that fails to load leaves every wave
// empty: neither may read outside a table or produce anything but finite samples.
TEST_F(VoiceFixture, OutOfRangeSettingsAndEmptyWavesStayWithinTheTables)
{
	SinglePreset& s = single();
	s.source2or4 = 1;
	s.mute[0] = s.mute[1] = s.mute[2] = s.mute[3] = false;
	s.ampModS1S2 = s.ampModS3S4 = 3;
	s.vibratoDepth = s.pressureToVibrato = s.lfoSpeed = 127;
	s.autoBendDepth = s.autoBendTime = s.velToDepth = s.autoBendKeyScaleToTime = 127;
	s.lfoShape = 3;
	s.keyScaleCurve = 7;
	for (SingleSource& src : s.sources)
	{
		src.fine = src.coarse = 127;
		src.velCurve = 7;
		src.envLevel = src.envDelay = src.envAttack = src.envDecay = src.envSustain = src.envRelease = 127;
		src.levelModVel = src.levelModPressure = src.levelModKeyScale = 127;
		src.timeModVel = src.timeModKeyScale = src.freqKeyScaleToFreq = 127;
	}
	s.sources[1].wave = 255;
	s.sources[2].coarse = 0;
	s.sources[2].fine = 0;
	s.sources[2].keyTrack = false;
	s.sources[3].wave = 220;
	engine->pressure = 1.0f;
	engine->modWheel = 1.0f;

	auto playAll = [&] {
		for (unsigned char note : {0, 127})
		{
			Voice voice(*engine, note, 127, Rate);
			for (int i = 0; i < 20000; ++i)
			{
				engine->lfoValue = engine->lfo.process(Rate);
				engine->vibratoValue = engine->vibrato.process(Rate, engine->lfoValue);
				float l = 0.0f;
				float r = 0.0f;
				voice.process(&l, &r);
				ASSERT_TRUE(std::isfinite(l) && std::isfinite(r)) << i;
			}
			voice.onNoteOff(0, 0);
			render(voice, 1000);
			EXPECT_TRUE(voice.isFinished());
		}
	};
	playAll();

	// A well-formed image without cue points defines no wave at all.
	const std::vector<uint8_t> noWaves = {
		'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E',
		'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0, 0x50, 0xC3, 0, 0, 0x50, 0xC3, 0, 0, 1, 0, 8, 0,
		'd', 'a', 't', 'a', 4, 0, 0, 0, 128, 128, 128, 128};
	engine->waveforms.loadFromMemory(noWaves.data(), noWaves.size());
	ASSERT_EQ(engine->waveforms.getWaveform(0).perKey[60].length, 0u);
	playAll();
}
