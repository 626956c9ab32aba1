#include <gtest/gtest.h>

#include <cstring>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "RecordingEngineListener.h"

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
	engine.parameters.setVSTParam(Param_SourceMix12, 0.25f);
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
}

TEST(EngineState, VersionOneHasNoOwnerBlock)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	engine.setSingle(3);
	Bytes v2;
	engine.saveState(v2);
	Bytes v1(v2.begin(), v2.begin() + 492);
	v1.insert(v1.end(), v2.begin() + 496, v2.end());
	putU32(v1, 0, 1);

	RecordingEngineListener otherListener;
	Engine other(&otherListener);
	ASSERT_TRUE(other.loadState(v1));
	EXPECT_EQ(other.currentSingle, 3u);
	for (const auto& call : otherListener.calls)
		EXPECT_NE(call, "deserialize");
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

TEST(EngineState, TruncatedStatesAreRefusedWithoutDamage)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	engine.setSingle(42);
	Bytes state;
	engine.saveState(state);
	const auto singlesBefore = engine.singles;

	LogCapture log; // the reader complains about cut dumps
	// Every cut inside the fixed fields is refused before anything changes.
	for (size_t length = 1; length < 509; ++length)
	{
		Bytes cut(state.begin(), state.begin() + length);
		ASSERT_FALSE(engine.loadState(cut)) << length;
		ASSERT_EQ(engine.currentSingle, 42u);
		ASSERT_EQ(engine.singles, singlesBefore);
	}
	// A cut inside the dumps keeps the whole groups that arrived and a valid current single.
	for (size_t length = 509; length < state.size(); length += 997)
	{
		Bytes cut(state.begin(), state.begin() + length);
		engine.loadState(cut);
		ASSERT_FALSE(engine.singles.empty());
		ASSERT_LT(engine.currentSingle, engine.singles.size()) << length;
		render(engine, 64, {midi(0x90, 60, 100)});
	}
}

TEST(EngineState, IndexBeyondTheRestoredStoreKeepsAValidSingle)
{
	RecordingEngineListener listener;
	Engine engine(&listener);
	Bytes state;
	engine.saveState(state);
	putU32(state, 496, 5000);
	EXPECT_FALSE(engine.loadState(state));
	EXPECT_LT(engine.currentSingle, engine.singles.size());
}
