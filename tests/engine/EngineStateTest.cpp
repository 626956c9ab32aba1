#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "RecordingEngineListener.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Bytes = std::vector<uint8_t>;

uint32_t u32At(const Bytes& data, size_t offset)
{
	uint32_t v = 0;
	for (int i = 0; i < 4; ++i)
		v |= uint32_t(data[offset + i]) << (8 * i);
	return v;
}

void putU32(Bytes& data, size_t offset, uint32_t v)
{
	for (int i = 0; i < 4; ++i)
		data[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}
}

TEST(EngineState, LayoutOfAFreshEngine)
{
	RecordingEngineListener listener;
	listener.customOut = {1, 2, 3, 4, 5};
	Engine engine(&listener);
	Bytes state = {0xAA}; // saving appends
	ASSERT_TRUE(engine.saveState(state));
	state.erase(state.begin());

	EXPECT_EQ(state.size(), 68308u + 5);
	EXPECT_EQ(u32At(state, 0), 2u);
	EXPECT_EQ(u32At(state, 4), 44u);
	EXPECT_EQ(u32At(state, 8 + 4), 1u) << "omni";
	EXPECT_EQ(u32At(state, 52), 109u);
	EXPECT_EQ(u32At(state, 492), 5u);
	EXPECT_EQ(state[496], 1);
	EXPECT_EQ(u32At(state, 501), 0u) << "current single";
	EXPECT_EQ(u32At(state, 509), 768u);
	EXPECT_EQ(state[513], 0xF0);
	EXPECT_EQ(state[513 + 7], 0x00);
	EXPECT_EQ(state[513 + 2825 + 7], 0x20);
	EXPECT_EQ(state.back(), 0xF7);
}

TEST(EngineState, RoundTripIntoAFreshEngine)
{
	RecordingEngineListener listener;
	listener.customOut = {9, 8, 7};
	Engine engine(&listener);
	SinglePreset edited = engine.singles[700];
	edited.volume = 12;
	engine.setSingle(700, edited);
	engine.setSingle(700);
	engine.midiSettings[Engine::midiChannel] = 5;
	engine.parameters.setVSTParam(Param_SourceMix12, 0.25f, false); // where a restore puts it, with no glide
	Bytes state;
	engine.saveState(state);

	RecordingEngineListener otherListener;
	Engine other(&otherListener);
	ASSERT_TRUE(other.loadState(state));
	EXPECT_EQ(other.singles, engine.singles);
	EXPECT_EQ(other.currentSingle, 700u);
	EXPECT_EQ(other.midiSettings[Engine::midiChannel], 5u);
	EXPECT_EQ(otherListener.customIn, (Bytes{9, 8, 7}));
	EXPECT_EQ(otherListener.calls.front(), "deserialize");
	EXPECT_EQ(otherListener.calls.back(), "program 700");
	EXPECT_FLOAT_EQ(other.parameters.vstParams[Param_SourceMix12], 0.25f);
	EXPECT_EQ(other.factorySingles, engine.factorySingles);

	// The restored engine plays the same MIDI the same way from its first sample, the source mix included.
	const std::vector<SMidiEvent> notes = {midiEvent(0x90, 60, 100, 100), midiEvent(0x90, 67, 80, 9000),
	                                       midiEvent(0xB0, 1, 90, 20000), midiEvent(0x80, 60, 0, 30000)};
	engine.setSamplerate(48000.0f);
	other.setSamplerate(48000.0f);
	std::srand(3);
	const Stereo original = render(engine, 40000, notes);
	std::srand(3);
	const Stereo restored = render(other, 40000, notes);
	EXPECT_GT(rms(original.left), 1e-3f);
	EXPECT_EQ(original.left, restored.left);
	EXPECT_EQ(original.right, restored.right);
}

// Whatever the store holds, the state saved from it reopens and saves again to the same bytes: a field its
// record cannot carry is saved brought into its range, every other single as it is.
TEST(EngineState, SinglesTheRecordCannotCarryAreSavedSoThatTheStateReopens)
{
	Engine engine(QuietEngineListener::instance());
	SinglePreset wild = engine.singles[5];
	wild.name[2] = static_cast<char>(0xE9);
	wild.volume = 200;
	wild.pitchBendDepth = 14;
	wild.ampModS3S4 = 7;
	wild.sources[1].envDecay = 161;
	engine.setSingle(5, wild);
	SinglePreset bent = engine.singles[6];
	bent.pitchBendDepth = 80; // a record keeps four bits of it
	engine.setSingle(6, bent);
	Bytes state;
	engine.saveState(state);

	Engine other(QuietEngineListener::instance());
	ASSERT_TRUE(other.loadState(state));
	const SinglePreset& restored = other.singles[5];
	EXPECT_EQ(restored.name[2], ' ');
	EXPECT_EQ(restored.volume, 99);
	EXPECT_EQ(restored.pitchBendDepth, 12u);
	EXPECT_EQ(restored.ampModS3S4, 2u);
	EXPECT_EQ(restored.sources[1].envDecay, 100u);
	EXPECT_EQ(restored.sources[0], wild.sources[0]);
	EXPECT_EQ(other.singles[6].pitchBendDepth, 12u);
	EXPECT_EQ(other.singles[7], engine.singles[7]);
	Bytes again;
	other.saveState(again);
	EXPECT_EQ(again, state);
}

TEST(EngineState, VersionOneHasNoOwnerBlock)
{
	RecordingEngineListener listener;
	listener.customOut = {1, 2};
	Engine engine(&listener);
	SinglePreset edited = engine.singles[300];
	edited.sources[2].envAttack = 77;
	engine.setSingle(300, edited);
	engine.setSingle(3);
	engine.midiSettings[Engine::receiveVolume] = 0;
	engine.parameters.setVSTParam(Param_SourceMix34, 0.125f);
	Bytes v2;
	engine.saveState(v2);
	Bytes v1(v2.begin(), v2.begin() + 492);
	v1.insert(v1.end(), v2.begin() + 496 + 2, v2.end());
	putU32(v1, 0, 1);

	RecordingEngineListener otherListener;
	Engine other(&otherListener);
	ASSERT_TRUE(other.loadState(v1));
	EXPECT_EQ(other.currentSingle, 3u);
	EXPECT_EQ(other.singles, engine.singles);
	EXPECT_EQ(other.midiSettings[Engine::receiveVolume], 0u);
	for (uint32_t p = 0; p < ParamCount; ++p)
		EXPECT_FLOAT_EQ(other.parameters.vstParams[p], engine.parameters.vstParams[p]) << p;
	EXPECT_EQ(otherListener.calls, std::vector<std::string>{"program 3"}) << "no owner bytes in version 1";
}

TEST(EngineState, UnknownVersionIsRefusedAndLogged)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	Bytes state;
	engine.saveState(state);
	putU32(state, 0, 3);
	LogCapture log;
	EXPECT_FALSE(engine.loadState(state));
	EXPECT_EQ(log.texts(), std::vector<std::string>{"Unable to restore state, unknown version number 3"});
	EXPECT_FALSE(engine.loadState({}));
}

TEST(EngineState, ShortSettingsBlockChangesOnlyItsWords)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	Bytes full;
	engine.saveState(full);
	Bytes state(full.begin(), full.begin() + 8);
	putU32(state, 4, 8);
	state.resize(16);
	putU32(state, 8, 9);  // channel
	putU32(state, 12, 0); // omni off
	state.insert(state.end(), full.begin() + 52, full.end());
	engine.midiSettings[Engine::receivePan] = 0;
	ASSERT_TRUE(engine.loadState(state));
	EXPECT_EQ(engine.midiSettings[Engine::midiChannel], 9u);
	EXPECT_EQ(engine.midiSettings[Engine::omni], 0u);
	EXPECT_EQ(engine.midiSettings[Engine::receivePan], 0u);
}

namespace
{
// What a refused load must leave exactly as it was.
struct Snapshot
{
	explicit Snapshot(const Engine& e)
		: singles(e.singles), current(e.currentSingle),
		  settings(std::begin(e.midiSettings), std::end(e.midiSettings)),
		  parameters(std::begin(e.parameters.vstParams), std::end(e.parameters.vstParams))
	{
	}
	bool operator==(const Snapshot&) const = default;

	std::vector<SinglePreset> singles;
	size_t current;
	std::vector<uint32_t> settings;
	std::vector<float> parameters;
};

// A saved state whose store holds only the first `count` singles, so that every cut can be tried.
Bytes smallState(Engine& engine, uint32_t count)
{
	Bytes full;
	engine.saveState(full);
	const size_t header = 496 + u32At(full, 492) + 8;
	Bytes state(full.begin(), full.begin() + header + 4);
	putU32(state, header, count);
	state.insert(state.end(), full.begin() + header + 4, full.begin() + header + 4 + count / 32 * 2825);
	return state;
}
}

TEST(EngineState, TruncatedStatesAreRefusedWithoutDamage)
{
	RecordingEngineListener listener;
	listener.customOut = {1, 2, 3};
	Engine engine(&listener);
	LogCapture quiet;
	ASSERT_TRUE(engine.loadState(smallState(engine, 64)));
	ASSERT_EQ(engine.singles.size(), 64u);
	engine.setSingle(42);
	Bytes state;
	engine.saveState(state);
	ASSERT_EQ(state.size(), 508u + 3 + 2 * 2825);

	Engine target(&listener);
	target.midiSettings[Engine::receivePan] = 0;
	const Snapshot before(target);
	listener.clear();
	for (size_t length = 0; length < state.size(); ++length)
	{
		const Bytes cut(state.begin(), state.begin() + length);
		ASSERT_FALSE(target.loadState(cut)) << length;
		ASSERT_TRUE(Snapshot(target) == before) << length;
	}
	EXPECT_TRUE(listener.calls.empty()) << "no report and no owner bytes from a refused state";

	ASSERT_TRUE(target.loadState(state));
	EXPECT_EQ(target.singles.size(), 64u);
	EXPECT_EQ(target.currentSingle, 42u);

	// The whole store: a cut at or next to any dump boundary is refused as well.
	Engine whole(&listener);
	Bytes wholeState;
	whole.saveState(wholeState);
	Engine fresh(&listener);
	const Snapshot freshBefore(fresh);
	for (size_t boundary = 508 + 3; boundary <= wholeState.size(); boundary += 2825)
	{
		for (size_t length : {boundary - 1, boundary, boundary + 1})
		{
			if (length >= wholeState.size())
				continue;
			ASSERT_FALSE(fresh.loadState(Bytes(wholeState.begin(), wholeState.begin() + length))) << length;
			ASSERT_TRUE(Snapshot(fresh) == freshBefore) << length;
		}
	}
}

// Any one byte damaged: the load is refused without a change, or it takes effect and leaves a
// playable engine with a valid current single; nothing reads outside the data.
TEST(EngineState, CorruptedStatesLeaveAPlayableEngine)
{
	Engine engine(QuietEngineListener::instance());
	engine.setSamplerate(Engine::InternalSamplerate);
	LogCapture quiet;
	const Bytes state = smallState(engine, 64);
	ASSERT_TRUE(engine.loadState(state));
	const Snapshot pristine(engine);
	for (size_t position = 0; position < state.size(); ++position)
	{
		for (uint8_t value : {uint8_t(0xFF), uint8_t(state[position] ^ 0x41)})
		{
			Bytes damaged = state;
			damaged[position] = value;
			const bool loaded = engine.loadState(damaged);
			ASSERT_LT(engine.currentSingle, engine.singles.size()) << position;
			if (Snapshot(engine) == pristine)
				continue;
			ASSERT_FALSE(engine.singles.empty()) << position;
			const Stereo out = render(engine, 32, {midiEvent(0x90, 60, 100)});
			ASSERT_TRUE(allFinite(out)) << position << (loaded ? " loaded" : " refused");
			engine.clearAllVoices();
			ASSERT_TRUE(engine.loadState(state));
		}
	}
}

TEST(EngineState, DamagedParameterValuesDoNotReachTheSound)
{
	Engine engine(QuietEngineListener::instance());
	engine.setSamplerate(Engine::InternalSamplerate);
	playSingle(engine, sineSingle());
	Bytes state;
	engine.saveState(state);
	const float nan = std::numeric_limits<float>::quiet_NaN();
	uint32_t bits;
	std::memcpy(&bits, &nan, 4);
	putU32(state, 56 + 4 * Param_SourceMix12, bits);
	const float huge = 1e30f;
	std::memcpy(&bits, &huge, 4);
	putU32(state, 56 + 4 * Param_SourceMix34, bits);

	ASSERT_TRUE(engine.loadState(state));
	const Stereo out = render(engine, 12000, {midiEvent(0x90, 69, 100)});
	EXPECT_TRUE(allFinite(out));
	EXPECT_LE(peak(out.left), 1.0f);
	EXPECT_GT(rms(out.left, 6000), 0.01f) << "source 1 still sounds";
}

TEST(EngineState, IndexBeyondTheRestoredStoreOrAStoreBeyondTheStoragesIsRefusedWithoutChange)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	Bytes state;
	engine.saveState(state);
	const Bytes dump(state.end() - 2825, state.end());
	putU32(state, 496, 5000);
	engine.setSingle(3);
	const Snapshot before(engine);
	listener.clear();
	LogCapture quiet;
	EXPECT_FALSE(engine.loadState(state));
	putU32(state, 496, 0);
	state.insert(state.end(), dump.begin(), dump.end());
	EXPECT_FALSE(engine.loadState(state)) << "800 singles";
	EXPECT_TRUE(Snapshot(engine) == before);
	EXPECT_TRUE(listener.calls.empty());
}

// The count before the dumps is checked against what they hold and against the storages: damage that
// drops a dump (a cut, a lost F0, a byte the reader refuses), or a count written over, must not move
// every single onto another number.
TEST(EngineState, AStoreThatIsNotWholeStoragesOrDoesNotReadBackIsRefusedWithoutChange)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	Bytes state;
	engine.saveState(state);
	const size_t countAt = 504, firstDump = 508;
	std::vector<std::pair<std::string, Bytes>> damaged;
	Bytes zeroed = state; // index, unused word, count and the first dump's start
	std::fill(zeroed.begin() + countAt - 8, zeroed.begin() + countAt + 8, 0);
	damaged.emplace_back("its store of 0 singles is not a whole number of the 12 storages of 64", zeroed);
	Bytes lostDump = state;
	lostDump[firstDump] = 0;
	damaged.emplace_back("its store holds 736 readable singles of 768", lostDump);
	Bytes oneMore = state; // a one-single dump after the store, counted
	putU32(oneMore, countAt, 737);
	Bytes single;
	Sysex::writeSingle(single, engine.singles[0], 0, StorageLocation::InternalLow, 0);
	oneMore.insert(oneMore.end(), single.begin(), single.end());
	damaged.emplace_back("its store of 737 singles is not a whole number of the 12 storages of 64", oneMore);
	damaged.emplace_back("its store of 32 singles is not a whole number of the 12 storages of 64", smallState(engine, 32));
	Bytes bitSeven = state; // in a name, where no checksum can see it
	bitSeven[firstDump + 8 + 88 * 5 + 2] |= 0x80;
	damaged.emplace_back("its store holds 736 readable singles of 768", bitSeven);

	engine.setSingle(3);
	const Snapshot before(engine);
	listener.clear();

	for (const auto& [reason, bytes] : damaged)
	{
		LogCapture log;
		EXPECT_FALSE(engine.loadState(bytes)) << reason;
		EXPECT_EQ(log.texts().back(), "Unable to restore state, " + reason);
	}
	EXPECT_TRUE(Snapshot(engine) == before);
	EXPECT_TRUE(listener.calls.empty());
}

// A knob turned by a fraction in an editor that renders nothing: the parameter holds 79.2 while the
// single still holds 80. Restored into an engine that has not rendered yet, a note struck at the first
// sample plays the saved value as the single will hold it, neither a glide's start nor whatever the
// parameter held before the restore.
TEST(EngineState, ARestoredStatePlaysRightFromItsFirstSample)
{
	Engine saved(QuietEngineListener::instance());
	SinglePreset sine = sineSingle();
	sine.sources[0].coarse = 80;
	saved.setSingle(5, sine);
	saved.setSingle(5);
	saved.parameters.setVSTParam(Param_SourceS1Coarse, 79.2f / 127.0f);
	Bytes state;
	saved.saveState(state);

	Engine restored(QuietEngineListener::instance());
	restored.setSamplerate(Engine::InternalSamplerate);
	LogCapture quiet;
	ASSERT_TRUE(restored.loadState(state));
	const Stereo out = render(restored, 2000, {midiEvent(0x90, 69, 100)});
	const double expected = 440.0 * std::pow(2.0, (79.0 - 84.0) / 12.0) / Engine::InternalSamplerate;
	EXPECT_NEAR(frequency(out.left, 200, 2000) / expected, 1.0, 0.01);
}
