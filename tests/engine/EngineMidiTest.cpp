#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "RecordingEngineListener.h"

using namespace zentlib;

namespace
{
// An engine at the internal rate, playing a single that sounds at once and sustains.
class EngineMidi : public ::testing::Test
{
protected:
	void SetUp() override
	{
		engine.setSamplerate(Engine::InternalSamplerate);
		SinglePreset single = engine.singles[0];
		single.polyMode = 1; // Poly 2 unless a test says otherwise
		for (SingleSource& source : single.sources)
		{
			source.envDelay = 0;
			source.envAttack = 0;
			source.envLevel = 100;
			source.envSustain = 100;
			source.envDecay = 50;
			source.envRelease = 10;
		}
		single.mute[0] = single.mute[1] = single.mute[2] = single.mute[3] = false;
		single.ampModS1S2 = single.ampModS3S4 = 0;
		engine.setSingle(0, single);
		render(engine, 16); // let the parameter push reach the single
		listener.clear();
	}

	void setPolyMode(uint32_t mode)
	{
		SinglePreset single = engine.singles[0];
		single.polyMode = mode;
		engine.setSingle(0, single);
	}

	size_t voicesOf(uint8_t note) const
	{
		size_t n = 0;
		for (const Voice& v : engine.voices)
			n += v.getNote() == note;
		return n;
	}

	RecordingEngineListener listener;
	Engine engine{&listener};
};
}

TEST_F(EngineMidi, NoteSoundsAndStops)
{
	const Stereo silent = render(engine, 2000);
	EXPECT_EQ(peak(silent.left), 0.0f);

	const Stereo on = render(engine, 4000, {midiEvent(0x90, 60, 100)});
	EXPECT_GT(rms(on.left, 2000), 1e-3f);
	EXPECT_TRUE(allFinite(on));
	EXPECT_EQ(engine.voices.size(), 1u);

	render(engine, 49920, {midiEvent(0x80, 60, 64)});
	EXPECT_TRUE(engine.voices.empty()) << "the voice finishes after its release";
	const Stereo after = render(engine, 1000);
	EXPECT_EQ(peak(after.left), 0.0f);
}

TEST_F(EngineMidi, VelocityZeroIsANoteOff)
{
	render(engine, 100, {midiEvent(0x90, 60, 100)});
	render(engine, 100, {midiEvent(0x90, 60, 0)});
	EXPECT_EQ(engine.noteDown[60], 0);
	EXPECT_TRUE(engine.heldNotes.empty());
}

TEST_F(EngineMidi, PolyModes)
{
	setPolyMode(0);
	render(engine, 100, {midiEvent(0x90, 60, 100), midiEvent(0x90, 60, 100, 50)});
	EXPECT_EQ(voicesOf(60), 1u) << "Poly 1 replaces the note's voice";

	engine.clearAllVoices();
	setPolyMode(1);
	render(engine, 100, {midiEvent(0x90, 60, 100), midiEvent(0x90, 60, 100, 50)});
	EXPECT_EQ(voicesOf(60), 2u) << "Poly 2 stacks";
}

TEST_F(EngineMidi, SoloRetriggersTheLastHeldKey)
{
	setPolyMode(2);
	render(engine, 100, {midiEvent(0x90, 60, 90), midiEvent(0x90, 64, 110, 10)});
	render(engine, 100, {midiEvent(0x80, 64, 0)});
	ASSERT_FALSE(engine.voices.empty());
	const Voice& newest = engine.voices.back();
	EXPECT_EQ(newest.getNote(), 60);
	EXPECT_EQ(newest.getVelocity(), 110) << "the retriggered key takes the released voice's velocity";
	EXPECT_EQ(engine.heldNotes, std::vector<uint8_t>{60});

	const size_t before = engine.voices.size();
	render(engine, 100, {midiEvent(0x80, 60, 0)});
	EXPECT_LE(engine.voices.size(), before) << "nothing held: a plain release";
}

TEST_F(EngineMidi, HoldPedalKeepsNotesUntilReleased)
{
	render(engine, 100, {midiEvent(0xB0, 64, 127), midiEvent(0x90, 60, 100, 1), midiEvent(0x80, 60, 0, 2)});
	EXPECT_EQ(engine.noteSustained[60], 1);
	EXPECT_EQ(engine.heldNotes, std::vector<uint8_t>{60});
	render(engine, 100, {midiEvent(0xB0, 64, 0)});
	EXPECT_EQ(engine.noteSustained[60], 0);
	EXPECT_TRUE(engine.heldNotes.empty());
}

TEST_F(EngineMidi, RegisteredParameters)
{
	render(engine, 10, {midiEvent(0xB0, 6, 5)});
	EXPECT_EQ(engine.pitchBendRange, int32_t(engine.singles[0].pitchBendDepth)) << "no parameter selected yet";

	render(engine, 10, {midiEvent(0xB0, 101, 0), midiEvent(0xB0, 100, 0), midiEvent(0xB0, 6, 13)});
	EXPECT_EQ(engine.pitchBendRange, 0);
	render(engine, 10, {midiEvent(0xB0, 6, 12)});
	EXPECT_EQ(engine.pitchBendRange, 12);

	render(engine, 10, {midiEvent(0xB0, 100, 1), midiEvent(0xB0, 6, 0)});
	EXPECT_FLOAT_EQ(engine.masterTune, -1.0f);
	render(engine, 10, {midiEvent(0xB0, 6, 127)});
	EXPECT_FLOAT_EQ(engine.masterTune, 1.0f);
}

TEST_F(EngineMidi, BankSelectAndProgramChange)
{
	render(engine, 10, {midiEvent(0xB0, 32, 3), midiEvent(0xC0, 5, 0)});
	EXPECT_EQ(engine.currentSingle, 197u);
	EXPECT_EQ(engine.bankSelect, 255);
	render(engine, 10, {midiEvent(0xC0, 6, 0)});
	EXPECT_EQ(engine.currentSingle, 198u);
	render(engine, 10, {midiEvent(0xC0, 64, 0)});
	EXPECT_EQ(engine.currentSingle, 198u) << "programs above 63 are dropped";
	render(engine, 10, {midiEvent(0xB0, 32, 12), midiEvent(0xC0, 1, 0)});
	EXPECT_EQ(engine.currentSingle, 193u) << "a storage beyond the store stays unused";
	EXPECT_EQ(engine.bankSelect, 12);
}

TEST_F(EngineMidi, ChannelFilterAndOmni)
{
	engine.midiSettings[Engine::midiChannel] = 2;
	render(engine, 10, {midiEvent(0xB2, 124, 0)});
	render(engine, 10, {midiEvent(0x91, 60, 100)});
	EXPECT_TRUE(engine.voices.empty());
	render(engine, 10, {midiEvent(0xB2, 125, 0), midiEvent(0x91, 60, 100, 1)});
	EXPECT_EQ(engine.voices.size(), 1u);
}

TEST_F(EngineMidi, EventsArePlayedInOffsetOrderAndEqualOffsetsInArrivalOrder)
{
	render(engine, 10, {}); // nothing pending
	// Note-ons later ones first, and a key struck and released at one offset: had the release gone
	// first, the key would hang.
	std::vector<SMidiEvent> events = {midiEvent(0x90, 61, 100, 5), midiEvent(0x90, 60, 100, 0), midiEvent(0x90, 62, 100, 3),
	                                  midiEvent(0x90, 64, 100, 2), midiEvent(0x80, 64, 0, 2),  midiEvent(0x90, 63, 100, 7)};
	std::vector<float> l(10), r(10);
	float* out[2] = {l.data(), r.data()};
	engine.process(out, 10, events);
	EXPECT_EQ(engine.heldNotes, (std::vector<uint8_t>{60, 62, 61, 63}));
	for (uint8_t note : {60, 61, 62, 63})
		EXPECT_EQ(voicesOf(note), 1u) << int(note);
}

TEST_F(EngineMidi, PanVolumeAndReceiveSettings)
{
	render(engine, 10, {midiEvent(0xB0, 10, 0)});
	EXPECT_FLOAT_EQ(engine.panLeft, 1.0f);
	EXPECT_FLOAT_EQ(engine.panRight, 0.0f);
	render(engine, 10, {midiEvent(0xB0, 10, 127)});
	EXPECT_FLOAT_EQ(engine.panLeft, 1.0f / 64.0f);
	EXPECT_FLOAT_EQ(engine.panRight, 1.0f);

	engine.midiSettings[Engine::receivePan] = 0;
	render(engine, 10, {midiEvent(0xB0, 10, 64)});
	EXPECT_FLOAT_EQ(engine.panRight, 1.0f);
	EXPECT_FLOAT_EQ(engine.panLeft, 1.0f / 64.0f);

	render(engine, 10, {midiEvent(0xE0, 0, 0)});
	EXPECT_FLOAT_EQ(engine.pitchBend, -1.0f);
	render(engine, 10, {midiEvent(0xB0, 7, 127)});
	EXPECT_FLOAT_EQ(engine.midiVolume, 1.0f);
}

TEST(EngineRendering, SilenceBeforeASampleRateIsSet)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	std::vector<float> l(64, 1.0f), r(64, 1.0f);
	float* out[2] = {l.data(), r.data()};
	std::vector<SMidiEvent> events = {midiEvent(0x90, 60, 100)};
	engine.process(out, 64, events);
	EXPECT_EQ(peak(l), 0.0f);
	EXPECT_EQ(peak(r), 0.0f);
}

TEST(EngineRendering, MissingOutputChannelIsNotWritten)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	engine.setSamplerate(44100.0f);
	std::vector<float> l(512);
	float* out[2] = {l.data(), nullptr};
	std::vector<SMidiEvent> events = {midiEvent(0x90, 60, 100)};
	engine.process(out, 512, events);
	engine.process(out, 512, events);
	SUCCEED();
}

namespace
{
// MIDI heard on the audio: one sine per note at the engine's own rate, where the frequency in
// cycles per sample can be read from the zero crossings.
class EngineMidiAudio : public ::testing::Test
{
protected:
	void SetUp() override
	{
		engine.setSamplerate(Engine::InternalSamplerate);
		playSingle(engine, sineSingle());
	}

	// Frequency of the last half of `frames` rendered samples.
	double pitch(std::vector<SMidiEvent> events, int frames = 20000)
	{
		const Stereo out = render(engine, frames, std::move(events));
		return frequency(out.left, size_t(frames / 2), size_t(frames));
	}

	static double semitones(double ratio) { return 12.0 * std::log2(ratio); }

	Engine engine{QuietEngineListener::instance()};
};
}

TEST_F(EngineMidiAudio, BendRangeAndFineTuneMoveThePitch)
{
	const double base = pitch({midiEvent(0x90, 69, 100)});
	ASSERT_GT(base, 0.0);

	EXPECT_NEAR(semitones(pitch({midiEvent(0xE0, 0x7F, 0x7F)}) / base), 12.0 * 8191.0 / 8192.0, 0.01) << "the single's range";
	EXPECT_NEAR(semitones(pitch({midiEvent(0xB0, 101, 0), midiEvent(0xB0, 100, 0), midiEvent(0xB0, 6, 2)}) / base), 2.0 * 8191.0 / 8192.0, 0.01);
	EXPECT_NEAR(semitones(pitch({midiEvent(0xE0, 0x00, 0x00)}) / base), -2.0, 0.01);
	EXPECT_NEAR(semitones(pitch({midiEvent(0xE0, 0x00, 0x40)}) / base), 0.0, 0.01) << "centre";

	// Fine tune in cents: 89 is +50, 127 is held at +100, 0 at -100.
	EXPECT_NEAR(semitones(pitch({midiEvent(0xB0, 100, 1), midiEvent(0xB0, 6, 89)}) / base), 0.5, 0.01);
	EXPECT_NEAR(semitones(pitch({midiEvent(0xB0, 6, 127)}) / base), 1.0, 0.01);
	EXPECT_NEAR(semitones(pitch({midiEvent(0xB0, 6, 0)}) / base), -1.0, 0.01);
}

// Voices keep what they read from the single between samples; an edit made between blocks (as the
// facade makes them) or a controller within a block must still reach a sounding note at once.
TEST_F(EngineMidiAudio, EditsAndControllersReachSoundingVoicesAtOnce)
{
	const double base = pitch({midiEvent(0x90, 69, 100), midiEvent(0xD0, 127, 0)}); // the single's load has landed
	ASSERT_GT(base, 0.0);
	SinglePreset& single = engine.singles[engine.currentSingle];
	single.pressureToFreq = 100;
	EXPECT_NEAR(semitones(pitch({}) / base), 0.0, 0.01) << "the source does not take the pressure offset";
	single.sources[0].pressureToFreq = true;
	EXPECT_NEAR(semitones(pitch({}) / base), 12.0, 0.01) << "the source's switch, set between blocks";

	single.sources[0].levelModPressure = 100; // full pressure takes the whole level away
	EXPECT_LT(rms(render(engine, 512).left), 1e-6f);
	const Stereo out = render(engine, 512, {midiEvent(0xD0, 0, 0, 300)});
	EXPECT_LT(rms(out.left, 0, 300), 1e-6f);
	EXPECT_GT(rms(out.left, 301, 512), 0.1f) << "released pressure gives the level back from its sample on";
}

TEST_F(EngineMidiAudio, SoloRetriggerPlaysTheHeldKeyAgain)
{
	playSingle(engine, sineSingle(2));
	const double c = pitch({midiEvent(0x90, 60, 100)});
	const double e = pitch({midiEvent(0x90, 64, 100)});
	EXPECT_NEAR(semitones(e / c), 4.0, 0.01);
	EXPECT_EQ(engine.voices.size(), 1u) << "the fast release has ended C's first voice";

	EXPECT_NEAR(semitones(pitch({midiEvent(0x80, 64, 0)}) / c), 0.0, 0.01) << "E released: C sounds again";
	const Stereo released = render(engine, 40000, {midiEvent(0x80, 60, 0)});
	EXPECT_EQ(rms(released.left, 30000), 0.0f) << "nothing held: the note ends";
}

TEST_F(EngineMidiAudio, HoldPedalSustainsUntilLifted)
{
	render(engine, 10, {midiEvent(0xB0, 64, 127), midiEvent(0x90, 69, 100, 1), midiEvent(0x80, 69, 0, 5)});
	const Stereo held = render(engine, 40000);
	EXPECT_GT(rms(held.left, 30000), 0.1f) << "the note-off is held back";

	const Stereo lifted = render(engine, 40000, {midiEvent(0xB0, 64, 0)});
	EXPECT_EQ(rms(lifted.left, 30000), 0.0f);
	EXPECT_TRUE(engine.voices.empty());
}

TEST_F(EngineMidiAudio, VolumeAndPanScaleTheOutput)
{
	const Stereo full = render(engine, 8000, {midiEvent(0x90, 69, 100)});
	const float level = rms(full.left, 4000);
	ASSERT_GT(level, 0.1f);
	EXPECT_FLOAT_EQ(rms(full.right, 4000), level);

	const Stereo half = render(engine, 8000, {midiEvent(0xB0, 7, 64), midiEvent(0xB0, 10, 0)});
	EXPECT_NEAR(rms(half.left, 4000) / level, 64.0 / 127.0, 1e-3);
	EXPECT_EQ(rms(half.right, 4000), 0.0f) << "panned hard left";
}

TEST_F(EngineMidi, ReceiveSettingsTurnMessagesOff)
{
	for (size_t word : {Engine::receiveProgramChange, Engine::receivePressure, Engine::receiveModWheel,
	                    Engine::receiveVolume, Engine::receiveHoldPedal, Engine::receiveSysex})
		engine.midiSettings[word] = 0;
	render(engine, 10, {midiEvent(0xC0, 9, 0), midiEvent(0xD0, 100, 0), midiEvent(0xB0, 1, 100), midiEvent(0xB0, 7, 10),
	                    midiEvent(0xB0, 64, 127), sysexEvent({0xF0, 0x40, 0x00, 0x60, 0xF7})});
	EXPECT_EQ(engine.currentSingle, 0u);
	EXPECT_EQ(engine.pressure, 0.0f);
	EXPECT_EQ(engine.modWheel, 0.0f);
	EXPECT_EQ(engine.midiVolume, 1.0f);
	EXPECT_FALSE(engine.holdPedal);
	EXPECT_TRUE(listener.calls.empty()) << "no machine-ID answer";

	engine.midiSettings[Engine::receivePressure] = engine.midiSettings[Engine::receiveModWheel] = 1;
	render(engine, 10, {midiEvent(0xD0, 127, 0), midiEvent(0xB0, 1, 127), midiEvent(0xB0, 0, 5), midiEvent(0xA0, 60, 100)});
	EXPECT_EQ(engine.pressure, 1.0f);
	EXPECT_EQ(engine.modWheel, 1.0f);
	EXPECT_EQ(engine.bankSelect, 255) << "CC0 is not a bank select";
}

TEST_F(EngineMidi, AllNotesOffReleasesEverythingAndLiftsThePedal)
{
	render(engine, 10, {midiEvent(0xB0, 64, 127), midiEvent(0x90, 60, 100), midiEvent(0x90, 64, 100), midiEvent(0x80, 60, 0, 1)});
	render(engine, 10, {midiEvent(0xB0, 123, 0)});
	EXPECT_FALSE(engine.holdPedal);
	EXPECT_TRUE(engine.heldNotes.empty());
	EXPECT_EQ(engine.noteDown[64], 0);
	EXPECT_EQ(engine.noteSustained[60], 1) << "left as it was";
	render(engine, 49920);
	EXPECT_TRUE(engine.voices.empty()) << "every voice was released";
}

TEST_F(EngineMidi, HostValuesGlideIntoTheCurrentSingle)
{
	const uint8_t before = engine.singles[0].volume;
	const float target = before > 50 ? 0.0f : 1.0f;
	engine.parameters.setVSTParam(Param_Volume, target);
	render(engine, 2500);
	const uint8_t midway = engine.singles[0].volume;
	EXPECT_NE(midway, before);
	EXPECT_NE(midway, static_cast<uint8_t>(target * 99));
	render(engine, 2600);
	EXPECT_EQ(engine.singles[0].volume, static_cast<uint8_t>(target * 99)) << "there after a tenth of a second";

	// The source mix is not part of the single: its ends silence one source of the pair.
	engine.parameters.setVSTParam(Param_SourceMix12, 1.0f);
	engine.parameters.setVSTParam(Param_SourceMix34, 0.0f);
	render(engine, 5100);
	EXPECT_EQ(engine.sourceMixGain[0], 0.0f);
	EXPECT_EQ(engine.sourceMixGain[1], 1.0f);
	EXPECT_EQ(engine.sourceMixGain[2], 1.0f);
	EXPECT_EQ(engine.sourceMixGain[3], 0.0f);
}
