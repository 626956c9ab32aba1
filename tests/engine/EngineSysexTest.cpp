#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "RecordingEngineListener.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Bytes = std::vector<uint8_t>;

class EngineSysex : public ::testing::Test
{
protected:
	void SetUp() override { engine.setSamplerate(Engine::InternalSamplerate); }

	void receive(const Bytes& message)
	{
		render(engine, 1, {sysex(message)});
	}

	RecordingEngineListener listener;
	Engine engine{&listener};
};
}

TEST_F(EngineSysex, OneSingleDumpIsStoredAndConfirmed)
{
	SinglePreset single = engine.singles[70];
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, single, 3, StorageLocation::InternalLow, 5));

	receive(dump);
	EXPECT_EQ(engine.singles[5], single);
	EXPECT_EQ(listener.calls, (std::vector<std::string>{"single 5", "midi"}));
	EXPECT_EQ(listener.sent.back(), (Bytes{0xF0, 0x40, 0x03, 0x40, 0x00, 0x03, 0xF7}));

	listener.clear();
	receive(dump);
	EXPECT_EQ(listener.calls, std::vector<std::string>{"midi"}) << "already equal: confirmed, not reported";
	EXPECT_EQ(listener.sent.back(), (Bytes{0xF0, 0x40, 0x03, 0x40, 0x00, 0x03, 0xF7}));
}

TEST_F(EngineSysex, BlockDumpOfTheUpperHalf)
{
	std::vector<SinglePreset> block(engine.singles.begin() + 100, engine.singles.begin() + 132);
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingles(dump, block, 0, StorageLocation::InternalHigh, 0));
	receive(dump);
	for (size_t k = 0; k < 32; ++k)
		EXPECT_EQ(engine.singles[32 + k], block[k]);
	EXPECT_EQ(listener.sent.size(), 32u);
}

TEST_F(EngineSysex, RequestsAreAnsweredFromTheStore)
{
	Bytes request;
	ASSERT_TRUE(Sysex::writeOneSingleRequest(request, 1, StorageLocation::InternalHigh, 40));
	receive(request);
	ASSERT_EQ(listener.sent.size(), 1u);
	Bytes expected;
	Sysex::writeSingle(expected, engine.singles[40], 1, StorageLocation::InternalHigh, 40);
	EXPECT_EQ(listener.sent[0], expected);
	EXPECT_EQ(listener.sent[0].size(), 97u);
}

TEST_F(EngineSysex, MachineIdOnTheMessagesChannel)
{
	receive({0xF0, 0x40, 0x07, 0x60, 0xF7});
	ASSERT_EQ(listener.sent.size(), 1u);
	EXPECT_EQ(listener.sent[0], (Bytes{0xF0, 0x40, 0x07, 0x61, 0x00, 0x03, 0xF7}));
}

TEST_F(EngineSysex, ChannelFilterWithoutOmni)
{
	engine.midiSettings[Engine::omni] = 0;
	engine.midiSettings[Engine::midiChannel] = 2;
	Bytes dump;
	SinglePreset single = engine.singles[70];
	Sysex::writeSingle(dump, single, 4, StorageLocation::InternalLow, 5);
	LogCapture log;
	receive(dump);
	EXPECT_NE(engine.singles[5], single);
	EXPECT_TRUE(listener.sent.empty());
}

TEST_F(EngineSysex, AmplitudeModulationFlipReordersTheSources)
{
	SinglePreset single = engine.singles[0];
	single.ampModS1S2 = 0;
	single.sources[1].wave = static_cast<uint8_t>(single.sources[0].wave + 7);
	engine.setSingle(0, single);
	const SingleSource s1 = engine.singles[0].sources[0], s2 = engine.singles[0].sources[1];
	listener.clear();

	// Cursor 2 carries the common modulation bits; find it by writing the change the engine would send.
	ASSERT_TRUE(engine.sendParameterAsSysex(Param_AmpModS1S2, 1.0f));
	const Bytes change = listener.sent.back();
	listener.clear();
	receive(change);
	EXPECT_EQ(engine.singles[0].ampModS1S2, 2u);
	EXPECT_EQ(engine.singles[0].sources[0], s2);
	EXPECT_EQ(engine.singles[0].sources[1], s1);
	EXPECT_EQ(listener.calls.back(), "single 0");
}

TEST_F(EngineSysex, SendingAParameter)
{
	EXPECT_FALSE(engine.sendParameterAsSysex(Param_SourceS1Mute, 1.0f));
	EXPECT_TRUE(listener.sent.empty());
	ASSERT_TRUE(engine.sendParameterAsSysex(Param_Volume, 1.0f));
	ASSERT_EQ(listener.sent.size(), 1u);
	const Bytes& message = listener.sent[0];
	EXPECT_EQ(message.size(), 10u);
	EXPECT_EQ(message[0], 0xF0);
	EXPECT_EQ(message[2], 0x00) << "always channel 0";
	const SinglePreset before = engine.singles[0];
	EXPECT_EQ(engine.singles[0], before) << "the store is not touched";
}
