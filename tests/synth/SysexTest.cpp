#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "synth/SingleRecord.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;
using Result = Sysex::SysexResult;

// A single whose every field is inside the range the record reader gives back unchanged.
SinglePreset makeSingle(std::mt19937& rng)
{
	auto pick = [&](int lo, int hi) { return static_cast<uint32_t>(std::uniform_int_distribution<int>(lo, hi)(rng)); };
	SinglePreset s;
	const int nameLength = static_cast<int>(pick(1, 10));
	for (int i = 0; i < nameLength; ++i)
		s.name[i] = static_cast<char>(pick(0x21, 0x7E));
	s.volume = static_cast<uint8_t>(pick(0, 99));
	s.polyMode = pick(0, 2);
	s.source2or4 = pick(0, 1);
	s.ampModS1S2 = pick(0, 2);
	s.ampModS3S4 = pick(0, 2);
	s.pressureToFreq = static_cast<uint8_t>(pick(0, 100));
	s.vibratoDepth = static_cast<uint8_t>(pick(0, 100));
	s.pressureToVibrato = static_cast<uint8_t>(pick(0, 100));
	s.pitchBendDepth = pick(0, 12);
	s.lfoSpeed = static_cast<uint8_t>(pick(0, 100));
	s.lfoShape = pick(0, 3);
	s.keyScaleCurve = pick(0, 4);
	s.vibWheelMode = pick(0, 1);
	s.autoBendDepth = static_cast<uint8_t>(pick(0, 100));
	s.autoBendTime = static_cast<uint8_t>(pick(0, 100));
	s.velToDepth = static_cast<uint8_t>(pick(0, 100));
	s.autoBendKeyScaleToTime = static_cast<uint8_t>(pick(0, 100));
	for (bool& m : s.mute)
		m = pick(0, 1);
	for (SingleSource& src : s.sources)
	{
		src.fine = pick(0, 100);
		src.coarse = pick(0, 127);
		src.wave = static_cast<uint8_t>(pick(0, 255));
		src.keyTrack = pick(0, 1);
		src.vibABend = pick(0, 1);
		src.pressureToFreq = pick(0, 1);
		src.velCurve = pick(0, 7);
		src.envLevel = pick(0, 100);
		src.envDelay = pick(0, 100);
		src.envAttack = pick(0, 100);
		src.envDecay = pick(0, 100);
		src.envSustain = pick(0, 100);
		src.envRelease = pick(0, 100);
		src.levelModVel = pick(0, 100);
		src.levelModPressure = pick(0, 100);
		src.levelModKeyScale = pick(0, 100);
		src.timeModVel = pick(0, 100);
		src.timeModKeyScale = pick(0, 100);
		src.freqKeyScaleToFreq = pick(0, 100);
	}
	return s;
}

std::vector<SinglePreset> makeSingles(size_t count, unsigned seed)
{
	std::mt19937 rng(seed);
	std::vector<SinglePreset> singles;
	for (size_t i = 0; i < count; ++i)
		singles.push_back(makeSingle(rng));
	return singles;
}

Bytes blockOfSingles(StorageLocation location, unsigned seed)
{
	Bytes out;
	EXPECT_TRUE(Sysex::writeSingles(out, makeSingles(32, seed), 0, location, 0));
	return out;
}

// A block dump of 32 multis, each a record with a valid checksum.
Bytes blockOfMultis()
{
	Bytes out{0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x40};
	for (int k = 0; k < 32; ++k)
	{
		uint8_t record[MultiRecordSize] = {};
		writeName(record, ("Multi " + std::to_string(k)).c_str(), NameLength);
		for (size_t i = 10; i < 75; ++i)
			record[i] = static_cast<uint8_t>((i * 7 + k) & 0x3F);
		record[75] = getChecksum(record, 75);
		out.insert(out.end(), record, record + MultiRecordSize);
	}
	out.push_back(0xF7);
	return out;
}

// Reads a message from an exactly-sized heap copy, so a read past its end trips the sanitizer.
bool readExact(Result& result, const Bytes& message, uint8_t filter = 255)
{
	std::unique_ptr<uint8_t[]> copy(new uint8_t[message.size()]);
	std::memcpy(copy.get(), message.data(), message.size());
	return Sysex::readSysex(result, copy.get(), message.size(), filter);
}

Bytes concat(std::initializer_list<Bytes> parts)
{
	Bytes all;
	for (const Bytes& p : parts)
		all.insert(all.end(), p.begin(), p.end());
	return all;
}
}

TEST(SysexWriters, ShortMessagesHaveTheirExactBytes)
{
	Bytes out{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
	Sysex::writeParameterChange(out, 0, {0x2B, 2, 0xFF});
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x2B, 0x05, 0x7F, 0xF7}));
	Sysex::writeParameterChange(out, 7, {0x05, 3, 0x12});
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x07, 0x10, 0x00, 0x03, 0x05, 0x06, 0x12, 0xF7}));

	Sysex::writeMachineIdResponse(out, 4);
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x04, 0x61, 0x00, 0x03, 0xF7}));
	Sysex::writeWriteResult(out, 1, 0x42);
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x01, 0x42, 0x00, 0x03, 0xF7}));

	ASSERT_TRUE(Sysex::writeMachineIdRequest(out, 15));
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x0F, 0x60, 0xF7}));

	ASSERT_TRUE(Sysex::writeOneSingleRequest(out, 0, StorageLocation::InternalHigh, 33));
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x00, 0x21, 0xF7}));
	ASSERT_TRUE(Sysex::writeOneSingleRequest(out, 2, StorageLocation::ExternalLow, 5));
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x02, 0x00, 0x00, 0x03, 0x01, 0x05, 0xF7}));

	ASSERT_TRUE(Sysex::writeAllSinglesRequest(out, 0, StorageLocation::InternalLow));
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0xF7}));
	ASSERT_TRUE(Sysex::writeAllSinglesRequest(out, 3, StorageLocation::ExternalHigh));
	EXPECT_EQ(out, (Bytes{0xF0, 0x40, 0x03, 0x01, 0x00, 0x03, 0x01, 0x20, 0xF7}));

	Bytes header{1, 2, 3, 4, 5, 6, 7};
	EXPECT_EQ(writeHeader(header, 9, 0x21), 6u);
	EXPECT_EQ(header, (Bytes{0xF0, 0x40, 0x09, 0x21, 0x00, 0x03, 7}));
	Bytes tooShort{1, 2};
	EXPECT_EQ(writeHeader(tooShort, 1, 0x10), 6u);
	EXPECT_EQ(tooShort, (Bytes{0xF0, 0x40, 0x01, 0x10, 0x00, 0x03}));
}

TEST(SysexWriters, RequestWritersRefuseBadArgumentsAndKeepTheOutput)
{
	const Bytes before{1, 2, 3};
	Bytes out = before;
	LogCapture log;
	EXPECT_FALSE(Sysex::writeOneSingleRequest(out, 16, StorageLocation::InternalLow, 0));
	EXPECT_FALSE(Sysex::writeOneSingleRequest(out, 0, StorageLocation::InternalHigh, 64));
	EXPECT_FALSE(Sysex::writeOneSingleRequest(out, 0, StorageLocation::ExternalLow, 32));
	EXPECT_FALSE(Sysex::writeOneSingleRequest(out, 0, StorageLocation::ExternalHigh, 31));
	EXPECT_FALSE(Sysex::writeAllSinglesRequest(out, 16, StorageLocation::InternalLow));
	EXPECT_FALSE(Sysex::writeMachineIdRequest(out, 200));
	EXPECT_EQ(out, before);
	EXPECT_EQ(log.texts(), (Texts{"Channel number needs to be within range 0-15",
	                              "Single number needs to be within range 0-63",
	                              "If single number is >= 32, storage location needs to be i or e",
	                              "If single number is < 32, storage location needs to be I or E",
	                              "Channel number needs to be within range 0-15",
	                              "Channel number needs to be within range 0-15"}));
}

TEST(SysexWriters, SubcommandsFollowTheStorageLocation)
{
	EXPECT_EQ(getSysexSubcommand1Storage(StorageLocation::InternalLow), 0);
	EXPECT_EQ(getSysexSubcommand1Storage(StorageLocation::InternalHigh), 0);
	EXPECT_EQ(getSysexSubcommand1Storage(StorageLocation::ExternalLow), 1);
	EXPECT_EQ(getSysexSubcommand1Storage(StorageLocation::ExternalHigh), 1);
	EXPECT_EQ(getSysexSubcommand2Storage(StorageLocation::InternalLow), 0x00);
	EXPECT_EQ(getSysexSubcommand2Storage(StorageLocation::InternalHigh), 0x20);
	EXPECT_EQ(getSysexSubcommand2Storage(StorageLocation::ExternalLow), 0x00);
	EXPECT_EQ(getSysexSubcommand2Storage(StorageLocation::ExternalHigh), 0x20);
	// 64 is not the verifier's business; the writers test it themselves.
	EXPECT_TRUE(verifySingleNumberAgainstStorageLocation(StorageLocation::ExternalHigh, 100));

	// Locations travel as their plain numbers, and their names need no qualification.
	static_assert(sizeof(StorageLocation) == sizeof(uint32_t));
	const uint32_t asNumber = zentlib::ExternalLow;
	EXPECT_EQ(asNumber, 2u);
	EXPECT_EQ(getSysexSubcommand2Storage(zentlib::InternalHigh), 0x20);
}

TEST(SysexWriters, OneSingleDumpIsHeaderRecordAndEnd)
{
	const SinglePreset single = makeSingles(1, 5)[0];
	Bytes out;
	ASSERT_TRUE(Sysex::writeSingle(out, single, 3, StorageLocation::ExternalHigh, 45));
	ASSERT_EQ(out.size(), 97u);
	EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), (Bytes{0xF0, 0x40, 0x03, 0x20, 0x00, 0x03, 0x01, 45}));
	uint8_t record[SingleRecordSize];
	zentlib::writeSingle(record, single);
	EXPECT_EQ(Bytes(out.begin() + 8, out.end() - 1), Bytes(record, record + SingleRecordSize));
	EXPECT_EQ(out.back(), 0xF7);
}

TEST(SysexWriters, BlockDumpAddressesTheHalfWhateverTheNumber)
{
	const auto singles = makeSingles(32, 6);
	Bytes out;
	ASSERT_TRUE(Sysex::writeSingles(out, singles, 0, StorageLocation::ExternalHigh, 7));
	ASSERT_EQ(out.size(), 2825u);
	EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), (Bytes{0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x01, 0x20}));
	EXPECT_EQ(out.back(), 0xF7);
	uint8_t record[SingleRecordSize];
	zentlib::writeSingle(record, singles[31]);
	EXPECT_EQ(Bytes(out.begin() + 8 + 88 * 31, out.begin() + 8 + 88 * 32), Bytes(record, record + SingleRecordSize));

	ASSERT_TRUE(Sysex::writeSingles(out, singles, 0, StorageLocation::InternalLow, 200));
	EXPECT_EQ(Bytes(out.begin() + 6, out.begin() + 8), (Bytes{0x00, 0x00}));
}

TEST(SysexWriters, SingleDumpsRefuseBadCountsAndNumbers)
{
	const Bytes before{1, 2, 3};
	Bytes out = before;
	LogCapture log;
	EXPECT_FALSE(Sysex::writeSingles(out, makeSingles(33, 1), 0, StorageLocation::InternalLow, 0));
	EXPECT_FALSE(Sysex::writeSingles(out, {}, 0, StorageLocation::InternalLow, 0));
	EXPECT_FALSE(Sysex::writeSingles(out, makeSingles(2, 1), 0, StorageLocation::InternalLow, 0));
	EXPECT_FALSE(Sysex::writeSingles(out, makeSingles(31, 1), 0, StorageLocation::InternalLow, 0));
	const SinglePreset one = makeSingles(1, 1)[0];
	EXPECT_FALSE(Sysex::writeSingle(out, one, 0, StorageLocation::InternalHigh, 64));
	EXPECT_FALSE(Sysex::writeSingle(out, one, 0, StorageLocation::InternalLow, 40));
	EXPECT_FALSE(Sysex::writeSingle(out, one, 0, StorageLocation::ExternalHigh, 5));
	EXPECT_EQ(out, before) << "a refused dump leaves the output alone";
	EXPECT_EQ(log.texts(), (Texts{"Too many singles for one command", "Either decide to store 32 presets or 1 preset",
	                              "Either decide to store 32 presets or 1 preset",
	                              "Either decide to store 32 presets or 1 preset",
	                              "Preset number needs to be within range 0-63",
	                              "If single number is >= 32, storage location needs to be i or e",
	                              "If single number is < 32, storage location needs to be I or E"}));
}

TEST(SysexRoundTrip, WrittenDumpsReadBackTheSameSingles)
{
	const StorageLocation locations[] = {StorageLocation::InternalLow, StorageLocation::InternalHigh,
	                                     StorageLocation::ExternalLow, StorageLocation::ExternalHigh};
	const size_t expectedLocation[] = {0x00, 0x20, 0x40, 0x60};
	for (int l = 0; l < 4; ++l)
	{
		const auto singles = makeSingles(32, 100 + l);
		Bytes out;
		ASSERT_TRUE(Sysex::writeSingles(out, singles, 9, locations[l], 0));
		Result result;
		ASSERT_TRUE(Sysex::readBuffer(result, out, 9));
		EXPECT_EQ(result.singles, singles);
		EXPECT_EQ(result.location, expectedLocation[l]);
		EXPECT_EQ(result.channel, 9);
	}

	const SinglePreset one = makeSingles(1, 77)[0];
	Bytes out;
	ASSERT_TRUE(Sysex::writeSingle(out, one, 0, StorageLocation::ExternalHigh, 63));
	Result result;
	ASSERT_TRUE(Sysex::readBuffer(result, out, 255));
	ASSERT_EQ(result.singles.size(), 1u);
	EXPECT_EQ(result.singles[0], one);
	EXPECT_EQ(result.location, 64u + 63u);
}

TEST(SysexReader, RequestsAndParameterChanges)
{
	Result result;
	EXPECT_TRUE(readExact(result, {0xF0, 0x40, 0x05, 0x60, 0xF7}));
	EXPECT_TRUE(result.machineIdRequest);
	EXPECT_EQ(result.channel, 5);

	EXPECT_TRUE(readExact(result, {0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x01, 0x45, 0xF7}));
	EXPECT_TRUE(readExact(result, {0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x01, 0x05, 0xF7}));
	EXPECT_EQ(result.multiRequests, (std::vector<size_t>{101}));
	EXPECT_EQ(result.singleRequests, (std::vector<size_t>{69}));
	EXPECT_EQ(result.channel, 0);

	EXPECT_TRUE(readExact(result, {0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x2B, 0x05, 0x7F, 0xF7}));
	ASSERT_EQ(result.parameterChanges.size(), 1u);
	EXPECT_EQ(result.parameterChanges[0], (Sysex::ParameterChange{0x2B, 2, 0xFF}));

	// Every parameter change the writer can produce reads back as itself.
	for (int source = 0; source < 4; ++source)
		for (int value = 0; value < 256; ++value)
		{
			const Sysex::ParameterChange change{static_cast<uint8_t>(value % 100), static_cast<uint8_t>(source),
			                                    static_cast<uint8_t>(value)};
			Bytes message;
			Sysex::writeParameterChange(message, 0, change);
			Result r;
			ASSERT_TRUE(readExact(r, message));
			ASSERT_EQ(r.parameterChanges.at(0), change);
		}
	EXPECT_TRUE(result.singles.empty());
}

TEST(SysexReader, ChannelFilter)
{
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, makeSingles(1, 3)[0], 3, StorageLocation::ExternalLow, 7));

	Result skipped;
	LogCapture log;
	EXPECT_FALSE(Sysex::readBuffer(skipped, dump, 2));
	EXPECT_TRUE(skipped.singles.empty());
	EXPECT_EQ(log.texts(), (Texts{"Skipping read, expected channel 2 but sysex has 3"}));

	for (uint8_t filter : {uint8_t(3), uint8_t(16), uint8_t(255)})
	{
		Result result;
		EXPECT_TRUE(Sysex::readBuffer(result, dump, filter));
		EXPECT_EQ(result.singles.size(), 1u);
		EXPECT_EQ(result.location, 64u + 7u);
		EXPECT_EQ(result.channel, 3);
	}
}

TEST(SysexReader, EachCheckRefusesWithItsMessage)
{
	struct Case
	{
		Bytes message;
		std::string text;
	};
	const Case cases[] = {
	    {{0xF1, 0x40, 0x00, 0x60, 0xF7}, "Not a sysex message"},
	    {{0xF0, 0x41, 0x00, 0x60, 0xF7}, "Sysex from wrong manufacturer"},
	    {{0xF0, 0x40, 0x10, 0x60, 0xF7}, "Invalid channel number 16, expected 0-15"},
	    {{0xF0, 0x40, 0x00, 0x21, 0x01, 0x03, 0x00, 0x00, 0xF7}, "Expected group to be 0x00 (Synthesizer group) but got 1"},
	    {{0xF0, 0x40, 0x00, 0x21, 0x00, 0x04, 0x00, 0x00, 0xF7}, "Expected machine ID to be 0x03 but got 4"},
	    {{0xF0, 0x40, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0xF7},
	     "Invalid function, expected all block data dump (21h) or single block data dump (20h) but got 1"},
	    {{0xF0, 0x40, 0x00, 0x40, 0x00, 0x03, 0xF7},
	     "Invalid function, expected all block data dump (21h) or single block data dump (20h) but got 64"},
	    {{0xF0, 0x40, 0x00, 0x20, 0x00, 0x03, 0x02, 0x00, 0xF7},
	     "Expected subcommand 1 to be 0=intern or 1=extern but got 2"},
	    {{0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x10, 0xF7},
	     "Invalid subcommand 2, needs to be 00h, 20h or 40h but got 16"},
	    {{0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x2B, 0x85, 0x7F, 0xF7}, "Invalid data byte 133 at position 7, expected 0-127"},
	    {{0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x80, 0x05, 0xF7}, "Invalid data byte 128 at position 6, expected 0-127"},
	    // Too short to name its machine: no other machine's message, but this one's cut.
	    {{0xF0, 0x40, 0x00, 0x10, 0x00, 0xF7}, "Invalid length 6 for parameter change (10h), expected 10"},
	};
	for (const Case& c : cases)
	{
		Result result;
		LogCapture log;
		EXPECT_FALSE(readExact(result, c.message, 255));
		EXPECT_EQ(log.texts(), Texts{c.text});
		EXPECT_TRUE(result.singles.empty() && result.singleRequests.empty() && result.multiRequests.empty());
		EXPECT_FALSE(result.machineIdRequest);
	}

	// The block request its own writer produces is not something this side reads.
	Bytes request;
	ASSERT_TRUE(Sysex::writeAllSinglesRequest(request, 0, StorageLocation::InternalLow));
	Result result;
	LogCapture log;
	EXPECT_FALSE(readExact(result, request));
	EXPECT_EQ(log.texts().size(), 1u);
}

TEST(SysexReader, OneSingleDumpTakesAnyNumberOfTheMemory)
{
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingle(dump, makeSingles(1, 8)[0], 0, StorageLocation::InternalLow, 0));
	dump[7] = 0x10;
	Result result;
	EXPECT_TRUE(readExact(result, dump));
	EXPECT_EQ(result.singles.size(), 1u);
	EXPECT_EQ(result.location, 0x10u);

	dump[7] = 64;
	Result beyond;
	LogCapture log;
	EXPECT_FALSE(readExact(beyond, dump));
	EXPECT_TRUE(beyond.singles.empty());
	EXPECT_EQ(log.texts(), Texts{"Invalid single number 64, expected 0-63"});
}

TEST(SysexReader, BadRecordStopsTheDumpAndKeepsWhatCameBefore)
{
	const auto singles = makeSingles(32, 11);
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingles(dump, singles, 0, StorageLocation::InternalLow, 0));
	dump[8 + 88 * 4 + 87] ^= 0x01;

	Result result;
	LogCapture log;
	EXPECT_FALSE(readExact(result, dump));
	ASSERT_EQ(result.singles.size(), 4u);
	EXPECT_EQ(result.singles, std::vector<SinglePreset>(singles.begin(), singles.begin() + 4));
	ASSERT_EQ(log.texts().size(), 1u);
	EXPECT_EQ(log.texts()[0].rfind("Invalid checksum, expected ", 0), 0u);
}

// Unlike a bad checksum, which keeps the records before it, bit 7 anywhere refuses the whole message:
// the checksum cannot see it, so no record of such a dump can be trusted.
TEST(SysexReader, ABytePastSevenBitsRefusesTheWholeDump)
{
	Bytes dump;
	ASSERT_TRUE(Sysex::writeSingles(dump, makeSingles(32, 12), 0, StorageLocation::InternalLow, 0));
	dump[8 + 88 * 31 + 40] |= 0x80;
	Result result;
	LogCapture log;
	EXPECT_FALSE(Sysex::readBuffer(result, dump, 255));
	EXPECT_TRUE(result.singles.empty());
	EXPECT_EQ(log.texts(), Texts{"Invalid data byte " + std::to_string(dump[8 + 88 * 31 + 40]) + " at position 2776, expected 0-127"});
}

TEST(SysexReader, MultiBlockDumps)
{
	const Bytes multis = blockOfMultis();
	ASSERT_EQ(multis.size(), 2441u);
	Result result;
	EXPECT_TRUE(readExact(result, multis));
	ASSERT_EQ(result.multis.size(), 32u);
	EXPECT_STREQ(result.multis[31].name, "Multi 31");
	EXPECT_EQ(result.location, 0x40u);

	Bytes bad = multis;
	bad[8 + 76 * 2 + 75] ^= 0x01;
	Result r2;
	LogCapture log;
	EXPECT_FALSE(readExact(r2, bad));
	EXPECT_EQ(r2.multis.size(), 2u);
}

TEST(SysexReader, BankOfTwoSingleBlocksAndMultis)
{
	const Bytes bank = concat({blockOfSingles(StorageLocation::InternalLow, 1),
	                           blockOfSingles(StorageLocation::InternalHigh, 2), blockOfMultis()});
	Result result;
	EXPECT_TRUE(Sysex::readBuffer(result, bank, 255));
	EXPECT_EQ(result.singles.size(), 64u);
	EXPECT_EQ(result.multis.size(), 32u);
	EXPECT_EQ(result.location, 0x40u);
}

// A byte more or less is no message of its kind: a parameter change one byte short took its F7 for the value. Each
// is refused with a line and adds nothing, not even its channel, and nothing past its end is read.
TEST(SysexReader, EveryKindIsReadOnlyAtItsOwnLength)
{
	Bytes request, change, oneDump, multis = blockOfMultis();
	ASSERT_TRUE(Sysex::writeOneSingleRequest(request, 3, StorageLocation::InternalLow, 5));
	Sysex::writeParameterChange(change, 3, {0x23, 0, 5});
	ASSERT_TRUE(Sysex::writeSingle(oneDump, makeSingles(1, 4)[0], 3, StorageLocation::InternalLow, 5));
	multis[2] = 3;
	const std::pair<Bytes, std::string> kinds[] = {
	    {{0xF0, 0x40, 0x03, 0x60, 0xF7}, "machine-ID request (60h)"}, {request, "request for one single or multi (00h)"},
	    {change, "parameter change (10h)"}, {oneDump, "single block data dump (20h)"},
	    {blockOfSingles(StorageLocation::InternalHigh, 5), "all block data dump of singles (21h)"},
	    {multis, "all block data dump of multis (21h)"}};
	for (const auto& [message, kind] : kinds)
	{
		// One byte short and closed by F7, a machine-ID request would have no function left: it is cut before its F7.
		Bytes shorter(message.begin(), message.end() - 2), longer(message.begin(), message.end() - 1);
		shorter.push_back(message.size() > 5 ? 0xF7 : 0x60);
		longer.insert(longer.end(), {0x00, 0xF7});
		Result whole, result;
		Texts texts;
		{
			LogCapture log;
			EXPECT_TRUE(readExact(whole, message)) << kind;
			EXPECT_FALSE(readExact(result, shorter)) << kind;
			EXPECT_FALSE(readExact(result, longer)) << kind;
			texts = log.texts();
		}
		const std::string expected = " for " + kind + ", expected " + std::to_string(message.size());
		EXPECT_EQ(texts, (Texts{"Invalid length " + std::to_string(shorter.size()) + expected,
		                        "Invalid length " + std::to_string(longer.size()) + expected}));
		EXPECT_TRUE(result.singles.empty() && result.multis.empty() && result.singleRequests.empty() &&
		            result.parameterChanges.empty() && !result.machineIdRequest && result.channel == 0 &&
		            result.location == 0) << kind;
	}
}

TEST(SysexSplitter, FindsEverySpanAndSkipsWhatLiesBetween)
{
	Result result;
	EXPECT_FALSE(Sysex::readBuffer(result, {}, 255));
	EXPECT_FALSE(Sysex::readBuffer(result, {0x01, 0x02, 0xF7}, 255));

	const Bytes machineId{0xF0, 0x40, 0x02, 0x60, 0xF7};
	const Bytes request{0xF0, 0x40, 0x00, 0x00, 0x00, 0x03, 0x00, 0x05, 0xF7};
	// Noise before, between and after; a last F0 with no F7 is never read.
	const Bytes bytes = concat({{0x11, 0x22}, request, {0x7F, 0x00}, request, {0x33}, {0xF0, 0x40, 0x00, 0x60}});
	Result r1;
	EXPECT_TRUE(Sysex::readBuffer(r1, bytes, 255));
	EXPECT_EQ(r1.singleRequests, (std::vector<size_t>{5, 5}));
	EXPECT_FALSE(r1.machineIdRequest);

	// A new F0 ends a message cut short, as any status byte would: the cut part is refused with a line, and the
	// whole message after it is read.
	Result r2;
	LogCapture log;
	EXPECT_TRUE(Sysex::readBuffer(r2, concat({{0x00, 0xF0, 0x40, 0x02, 0x60, 0x00}, machineId, {0xF0, 0x40}}), 255));
	EXPECT_TRUE(r2.machineIdRequest);
	EXPECT_EQ(r2.channel, 2);
	EXPECT_EQ(log.texts(), (Texts{"Skipping sysex message at byte 1, cut short after 5 bytes: no F7 before the next F0",
	                              "Skipping sysex message at byte 11, cut short after 2 bytes: no F7 before the end "
	                              "of the data"}));

	// One understood message among refused ones is enough for true.
	Result r4;
	EXPECT_TRUE(Sysex::readBuffer(r4, concat({{0xF0, 0x41, 0xF7}, machineId, {0xF0, 0x40, 0x20, 0xF7}}), 255));
}
