#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "LogCapture.h"
#include "synth/SingleRecord.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Record = std::vector<uint8_t>;

// A plausible single record: every field inside the range the reader accepts, valid checksum.
Record makeRecord(std::mt19937& rng)
{
	Record r(SingleRecordSize);
	auto pick = [&](int lo, int hi) { return static_cast<uint8_t>(std::uniform_int_distribution<int>(lo, hi)(rng)); };
	for (int i = 0; i < 10; ++i)
		r[i] = pick(0x21, 0x7E); // no blank at the end and no zero: names survive the round trip
	for (int i = 10; i < 87; ++i)
		r[i] = pick(0, 0x7F);
	r[15] = pick(0, 12);
	r[17] = static_cast<uint8_t>(pick(0, 31) | pick(0, 1) << 5);
	r[22] = pick(0, 15);
	r[87] = getChecksum(r.data(), 87);
	return r;
}

void fixChecksum(Record& r)
{
	r[87] = getChecksum(r.data(), 87);
}

Record validRecord()
{
	std::mt19937 rng(7);
	return makeRecord(rng);
}
}

TEST(Checksum, FollowsTheHardwareRule)
{
	EXPECT_EQ(getChecksum(nullptr, 0), 0x25);
	const uint8_t zeros[87] = {};
	EXPECT_EQ(getChecksum(zeros, sizeof(zeros)), 0x25);
	const uint8_t one = 0x5B;
	EXPECT_EQ(getChecksum(&one, 1), 0x00);
}

TEST(SingleRecord, WrongChecksumIsRejectedAndLeavesTheSingleUntouched)
{
	Record r = validRecord();
	const uint8_t expected = r[87];
	r[87] = static_cast<uint8_t>((expected + 1) & 0x7F);

	SinglePreset single;
	std::strcpy(single.name, "Keep");
	const SinglePreset before = single;
	LogCapture log;
	EXPECT_FALSE(readSingle(single, r.data()));
	EXPECT_EQ(single, before);
	EXPECT_EQ(log.texts(), std::vector<std::string>{"Invalid checksum, expected " + std::to_string(expected) +
	                                                " but got " + std::to_string(r[87])});
	EXPECT_EQ(log.lines().at(0).rfind("readSingle@", 0), 0u) << "log lines start with the function name";
}

TEST(SingleRecord, PitchBendRangeUsesTheLowNibbleOnly)
{
	Record r = validRecord();
	SinglePreset single;

	r[15] = 0x20;
	fixChecksum(r);
	ASSERT_TRUE(readSingle(single, r.data()));
	EXPECT_EQ(single.pitchBendDepth, 0u);
	Record written(SingleRecordSize);
	writeSingle(written.data(), single);
	EXPECT_EQ(written[15], 0);
	EXPECT_EQ(written[87], getChecksum(written.data(), 87));

	r[15] = 12;
	fixChecksum(r);
	EXPECT_TRUE(readSingle(single, r.data()));

	r[15] = 13;
	fixChecksum(r);
	LogCapture log;
	EXPECT_FALSE(readSingle(single, r.data()));
	EXPECT_EQ(log.texts(), std::vector<std::string>{"Invalid pitch bend range, valid is 0-12 but got 13"});
}

TEST(SingleRecord, WheelModeAboveOneIsLoggedAndReduced)
{
	Record r = validRecord();
	SinglePreset single;
	for (int mode : {2, 3})
	{
		r[17] = static_cast<uint8_t>((r[17] & 0x1F) | mode << 5);
		fixChecksum(r);
		LogCapture log;
		EXPECT_TRUE(readSingle(single, r.data()));
		EXPECT_EQ(single.vibWheelMode, uint32_t(mode & 1));
		EXPECT_EQ(log.texts(),
		          std::vector<std::string>{"Invalid vibrato wheel mode, needs to be 0 or 1 but got " + std::to_string(mode)});
	}
}

TEST(SingleRecord, MuteFlags)
{
	Record r = validRecord();
	SinglePreset single;
	r[22] = 0x0F;
	fixChecksum(r);
	ASSERT_TRUE(readSingle(single, r.data()));
	for (bool m : single.mute)
		EXPECT_TRUE(m);

	r[22] = 0x10;
	fixChecksum(r);
	LogCapture log;
	EXPECT_FALSE(readSingle(single, r.data()));
	EXPECT_EQ(log.texts(), std::vector<std::string>{"Invalid sources mute flags, allowed are 0000xxxx but got 16"});
}

TEST(SingleRecord, OutOfRangeFieldsAreStoredAsTheyCome)
{
	Record r = validRecord();
	r[11] = 0x7F; // poly mode 3, both AM pairs 3
	r[17] = static_cast<uint8_t>(7 << 2); // key-scaling curve 7
	fixChecksum(r);
	SinglePreset single;
	ASSERT_TRUE(readSingle(single, r.data()));
	EXPECT_EQ(single.polyMode, 3u);
	EXPECT_EQ(single.ampModS1S2, 3u);
	EXPECT_EQ(single.ampModS3S4, 3u);
	EXPECT_EQ(single.keyScaleCurve, 7u);
}

TEST(SingleRecord, Names)
{
	Record r = validRecord();
	SinglePreset single;

	std::memcpy(r.data(), "Brass     ", 10);
	fixChecksum(r);
	ASSERT_TRUE(readSingle(single, r.data()));
	EXPECT_EQ(std::memcmp(single.name, "Brass\0\0\0\0\0\0", 11), 0);

	std::memcpy(r.data(), "          ", 10);
	fixChecksum(r);
	ASSERT_TRUE(readSingle(single, r.data()));
	EXPECT_EQ(std::memcmp(single.name, "\0\0\0\0\0\0\0\0\0\0\0", 11), 0);

	std::memcpy(r.data(), "Abc\0efghij", 10);
	fixChecksum(r);
	ASSERT_TRUE(readSingle(single, r.data()));
	EXPECT_EQ(std::memcmp(single.name, "Abc\0\0\0\0\0\0\0\0", 11), 0);
}

TEST(SingleRecord, WaveAbove127SplitsIntoTwoFields)
{
	SinglePreset single;
	single.sources[2].wave = 200;
	Record r(SingleRecordSize);
	writeSingle(r.data(), single);
	EXPECT_EQ(r[23 + 4 * 2 + 2], 0x48);
	EXPECT_EQ(r[23 + 4 * 3 + 2] & 1, 1);

	SinglePreset back;
	ASSERT_TRUE(readSingle(back, r.data()));
	EXPECT_EQ(back.sources[2].wave, 200);
}

TEST(SingleRecord, FieldsLandAtTheirOffsets)
{
	SinglePreset s;
	std::memcpy(s.name, "Lead", 4);
	s.volume = 99;
	s.polyMode = 2;
	s.source2or4 = 1;
	s.ampModS1S2 = 1;
	s.ampModS3S4 = 2;
	s.pitchBendDepth = 7;
	s.lfoShape = 3;
	s.keyScaleCurve = 4;
	s.vibWheelMode = 1;
	s.mute[1] = true;
	s.sources[3].fine = 51;
	s.sources[1].coarse = 84;
	s.sources[0].keyTrack = true;
	s.sources[0].velCurve = 7;
	s.sources[2].freqKeyScaleToFreq = 100;

	Record r(SingleRecordSize);
	ASSERT_TRUE(writeSingle(r.data(), s));
	EXPECT_EQ(std::string(r.begin(), r.begin() + 10), "Lead      ");
	EXPECT_EQ(r[10], 99);
	EXPECT_EQ(r[11], 2 | 1 << 2 | 1 << 3 | 2 << 5);
	EXPECT_EQ(r[15], 7);
	EXPECT_EQ(r[17], 3 | 4 << 2 | 1 << 5);
	EXPECT_EQ(r[22], 0x02);
	EXPECT_EQ(r[23 + 3], 51);
	EXPECT_EQ(r[27 + 1], 84);
	EXPECT_EQ(r[35 + 0], 1 << 1 | 7 << 4);
	EXPECT_EQ(r[83 + 2], 100);
	EXPECT_EQ(r[87], getChecksum(r.data(), 87));
}

TEST(SingleRecord, ValidRecordsRoundTripByteForByte)
{
	std::mt19937 rng(1234);
	for (int i = 0; i < 2000; ++i)
	{
		const Record r = makeRecord(rng);
		SinglePreset single;
		ASSERT_TRUE(readSingle(single, r.data()));
		Record written(SingleRecordSize);
		writeSingle(written.data(), single);
		ASSERT_EQ(written, r) << "record " << i;
	}
}

TEST(SingleRecord, RandomBytesNeverReadOutsideTheRecord)
{
	std::mt19937 rng(99);
	LogCapture log; // the reader complains about most of them
	int accepted = 0;
	for (int i = 0; i < 5000; ++i)
	{
		// An exactly-sized heap buffer lets the address sanitizer catch any read past the record.
		std::unique_ptr<uint8_t[]> r(new uint8_t[SingleRecordSize]);
		for (size_t b = 0; b < SingleRecordSize; ++b)
			r[b] = static_cast<uint8_t>(rng());
		SinglePreset single;
		accepted += readSingle(single, r.get());
		std::unique_ptr<uint8_t[]> m(new uint8_t[MultiRecordSize]);
		std::memcpy(m.get(), r.get(), MultiRecordSize);
		MultiPreset multi;
		readMulti(multi, m.get());
	}
	EXPECT_LT(accepted, 5000);
}

TEST(SinglePreset, EqualityCoversTheWholeName)
{
	SinglePreset a;
	std::memcpy(a.name, "Pad", 3);
	a.sources[3].envRelease = 80;
	const SinglePreset b = a;
	EXPECT_EQ(a, b);

	SinglePreset c = a;
	c.name[8] = 'x'; // after the terminator
	EXPECT_NE(a, c);
}

TEST(MultiRecord, DecodesSectionsAndChecksum)
{
	Record r(MultiRecordSize, 0);
	std::memcpy(r.data(), "Combi A   ", 10);
	r[10] = 0x33;
	const uint8_t group[8] = {0x2D, 0x11, 0x22, 0x3A, 0x25, 0x00, 0x7F, 0x44};
	std::memcpy(r.data() + 11 + 8 * 7, group, 8);
	r[75] = getChecksum(r.data(), 75);

	MultiPreset multi;
	ASSERT_TRUE(readMulti(multi, r.data()));
	EXPECT_STREQ(multi.name, "Combi A");
	EXPECT_EQ(multi.common, 0x33u);
	const int32_t expected[12] = {5, 5, 0x11, 0x22, 0xA, 3, 0, 5, 2, -24, 77, 0x44};
	for (int i = 0; i < 12; ++i)
		EXPECT_EQ(multi.sections[7][i], expected[i]) << "position " << i;
	EXPECT_EQ(multi.sections[0][9], -24);
	EXPECT_EQ(multi.sections[0][10], -50);

	r[75] ^= 1;
	LogCapture log;
	EXPECT_FALSE(readMulti(multi, r.data()));
	ASSERT_EQ(log.texts().size(), 1u);
	EXPECT_EQ(log.texts()[0].rfind("Invalid checksum, expected ", 0), 0u);
}

TEST(NameField, WriteCutsAndPadsReadTrims)
{
	uint8_t field[10];
	writeName(field, "Organ", 10);
	EXPECT_EQ(std::string(field, field + 10), "Organ     ");
	writeName(field, "A name that is too long", 10);
	EXPECT_EQ(std::string(field, field + 10), "A name tha");

	char name[11];
	EXPECT_TRUE(readName(name, field, 10));
	EXPECT_STREQ(name, "A name tha");
	const uint8_t blanks[10] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
	EXPECT_FALSE(readName(name, blanks, 10));
}

TEST(PhmPreset, WrapsABodyInAOneSingleDump)
{
	std::vector<uint8_t> body(76);
	for (size_t i = 0; i < body.size(); ++i)
		body[i] = static_cast<uint8_t>(i == 5 ? 3 : (i * 5) % 100); // record offset 15: bend range 3

	std::vector<uint8_t> out;
	ASSERT_TRUE(Sysex::convertPhmPreset(out, 2, 63, "TenLetters", body.data(), body.size()));
	ASSERT_EQ(out.size(), 97u);
	EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 8),
	          (std::vector<uint8_t>{0xF0, 0x40, 0x02, 0x20, 0x00, 0x03, 0x00, 63}));
	EXPECT_EQ(out[8 + 22], 0);
	EXPECT_EQ(out[96], 0xF7);

	SinglePreset single;
	ASSERT_TRUE(readSingle(single, out.data() + 8));
	EXPECT_STREQ(single.name, "TenLetters");
	for (bool m : single.mute)
		EXPECT_FALSE(m);
	EXPECT_EQ(single.volume, body[0]);
	EXPECT_EQ(single.sources[0].fine, body[12]);
}

TEST(PhmPreset, RefusesBadInputAndLeavesTheOutputAlone)
{
	const std::vector<uint8_t> body(76, 0), shortBody(75, 0);
	const std::vector<uint8_t> before{1, 2, 3};
	std::vector<uint8_t> out = before;
	LogCapture log;
	EXPECT_FALSE(Sysex::convertPhmPreset(out, 0, 0, "x", shortBody.data(), shortBody.size()));
	EXPECT_FALSE(Sysex::convertPhmPreset(out, 0, 0, "ElevenChars", body.data(), body.size()));
	EXPECT_FALSE(Sysex::convertPhmPreset(out, 0, 64, "x", body.data(), body.size()));
	EXPECT_EQ(out, before);
	EXPECT_EQ(log.texts(), (std::vector<std::string>{"Invalid PHm data size", "Invalid PHm single name, max length is 10",
	                                                 "Preset number needs to be within range 0-63"}));
}
