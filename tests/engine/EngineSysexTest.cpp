#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "RecordingEngineListener.h"
#include "synth/ParameterConverter.h"
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
		render(engine, 1, {sysexEvent(message)});
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

// A message cut short in the same buffer (one host call, one MIDI-file event) does not take the whole dump
// after it down with it.
TEST_F(EngineSysex, AWholeDumpAfterACutMessageIsStored)
{
	const SinglePreset single = engine.singles[70];
	Bytes bytes{0xF0, 0x40, 0x00}, dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, single, 0, StorageLocation::InternalLow, 5));
	bytes.insert(bytes.end(), dump.begin(), dump.end());
	receive(bytes);
	EXPECT_EQ(engine.singles[5], single);
}

// A flipped bit 7 that the checksum cannot see: in a name, and in the number (0x23 to 0xA3, single 163
// instead of 35). A number beyond the memory is refused the same way: nothing stored, nothing answered.
TEST_F(EngineSysex, DumpsWithABytePastSevenBitsOrANumberBeyondTheMemoryChangeNothing)
{
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, engine.singles[70], 0, StorageLocation::InternalHigh, 0x23));
	Bytes badName = dump, badNumber = dump, beyond = dump;
	badName[8 + 2] |= 0x80;
	badNumber[7] |= 0x80;
	beyond[7] = 0x63;
	const std::vector<SinglePreset> before = engine.singles;
	std::vector<std::string> texts;
	{
		LogCapture log;
		for (const Bytes& message : {badName, badNumber, beyond})
			receive(message);
		texts = log.texts();
	}
	EXPECT_EQ(engine.singles, before);
	EXPECT_TRUE(listener.calls.empty());
	EXPECT_EQ(texts, (std::vector<std::string>{"Invalid data byte 230 at position 10, expected 0-127",
	                                                 "Invalid data byte 163 at position 7, expected 0-127",
	                                                 "Invalid single number 99, expected 0-63"}));
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

	// The change the engine itself would send for AM S1/S2 at 2 (normalised 1.0), then at 1.
	ASSERT_TRUE(engine.sendParameterAsSysex(Param_AmpModS1S2, 1.0f));
	ASSERT_TRUE(engine.sendParameterAsSysex(Param_AmpModS1S2, 0.5f));
	const Bytes toTwo = listener.sent[0], toOne = listener.sent[1];
	listener.clear();

	receive(toTwo);
	EXPECT_EQ(engine.singles[0].ampModS1S2, 2u);
	EXPECT_EQ(engine.singles[0].sources[0], s2);
	EXPECT_EQ(engine.singles[0].sources[1], s1);
	EXPECT_EQ(listener.calls, (std::vector<std::string>{"active 0", "single 0", "single 0"}));

	listener.clear();
	receive(toOne);
	EXPECT_EQ(engine.singles[0].ampModS1S2, 1u);
	EXPECT_EQ(engine.singles[0].sources[0], s1) << "out of 2: swapped back";
	EXPECT_EQ(engine.singles[0].sources[1], s2);
}

// A flip reorders the pair with its values: S1's fine tuning, still gliding to the host's value, lands there and moves
// to S2 with its source. A glide outside the pair goes on to its target.
TEST_F(EngineSysex, AFlipCarriesAGlidingValueWithItsSource)
{
	SinglePreset single = engine.singles[0];
	single.ampModS1S2 = 0;
	single.sources[0].fine = single.sources[1].fine = 50;
	playSingle(engine, single);
	engine.parameters.setVSTParam(Param_SourceS1Fine, 0.7f);
	engine.parameters.setVSTParam(Param_Volume, 0.41f);
	render(engine, 1500);
	receive({0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, Cursor_AmpModS1S2, 0x00, 0x02, 0xF7});
	render(engine, 5000);
	EXPECT_EQ(std::vector<int>({int(engine.singles[0].sources[0].fine), int(engine.singles[0].sources[1].fine),
	                            engine.singles[0].volume}), std::vector<int>({50, 70, 41}));
	EXPECT_FLOAT_EQ(engine.parameters.vstParams[Param_SourceS2Fine], 0.7f);
}

TEST_F(EngineSysex, ReceivedChangesReachTheParameterStore)
{
	// Equal first sources: the flip stores nothing, yet the new setting must not be lost later.
	SinglePreset single = engine.singles[0];
	single.ampModS1S2 = 0;
	single.sources[1] = single.sources[0];
	engine.setSingle(0, single);
	render(engine, 8);
	ASSERT_TRUE(engine.sendParameterAsSysex(Param_AmpModS1S2, 1.0f));
	const Bytes toTwo = listener.sent.back();
	listener.clear();
	receive(toTwo);
	EXPECT_EQ(listener.calls, std::vector<std::string>{"single 0"});
	EXPECT_FLOAT_EQ(engine.parameters.realParams[Param_AmpModS1S2], 2.0f);

	// A saved and restored engine keeps the received value once the restored parameters have run.
	Bytes state;
	engine.saveState(state);
	Engine other(&listener);
	other.setSamplerate(Engine::InternalSamplerate);
	ASSERT_TRUE(other.loadState(state));
	render(other, 6000);
	EXPECT_EQ(other.singles[0].ampModS1S2, 2u);
}

TEST_F(EngineSysex, UnsupportedAndOutOfStoreRequestsAreAnsweredNotSupported)
{
	Bytes request;
	ASSERT_TRUE(Sysex::writeOneSingleRequest(request, 2, StorageLocation::InternalLow, 3));
	request[6] = 0x7F; // storage 127: far beyond the store
	receive(request);
	Bytes beyondStorageOne = request;
	beyondStorageOne[6] = 0x05; // storage 5 exists but no storage location addresses it
	receive(beyondStorageOne);
	ASSERT_EQ(listener.sent.size(), 2u);
	EXPECT_EQ(listener.sent[0], (Bytes{0xF0, 0x40, 0x02, 0x42, 0x00, 0x03, 0xF7}));
	EXPECT_EQ(listener.sent[1], (Bytes{0xF0, 0x40, 0x02, 0x42, 0x00, 0x03, 0xF7}));

	// A one-single dump addressed beyond the store is refused with 41.
	engine.singles.resize(64);
	listener.clear();
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, engine.singles[1], 0, StorageLocation::ExternalLow, 2));
	receive(dump);
	EXPECT_EQ(listener.sent, std::vector<Bytes>{(Bytes{0xF0, 0x40, 0x00, 0x41, 0x00, 0x03, 0xF7})});
	EXPECT_EQ(engine.singles.size(), 64u);
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
	Sysex::SysexResult parsed;
	Sysex::readBuffer(parsed, message, 255);
	ASSERT_EQ(parsed.parameterChanges.size(), 1u);
	EXPECT_EQ(parsed.parameterChanges[0].cursor, Cursor_Volume);
	EXPECT_EQ(parsed.parameterChanges[0].value, 99);
	const SinglePreset before = engine.singles[0];
	EXPECT_EQ(engine.singles[0], before) << "the store is not touched";
}
