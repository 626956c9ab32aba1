#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "synth/ParameterConverter.h"

using namespace zentlib;
using Change = Sysex::SysexResult::ParameterChange;

namespace
{
enum class Form
{
	Plain,
	Centred,
	Volume,
	Flag,
};

struct Expected
{
	uint32_t cursor;
	Form form;
};

// The documented map, written per row: common rows one by one, source rows per block of four.
Expected expectedFor(uint32_t p)
{
	if (p <= Param_Name10)
		return {p + 4, Form::Plain};
	static const Expected common[] = {
		{3, Form::Volume},   {27, Form::Plain},   {14, Form::Plain},   {36, Form::Plain},   {37, Form::Plain},
		{24, Form::Centred}, {15, Form::Centred}, {18, Form::Centred}, {25, Form::Plain},   {16, Form::Plain},
		{17, Form::Plain},   {26, Form::Plain},   {19, Form::Plain},   {20, Form::Centred}, {21, Form::Plain},
		{22, Form::Centred}, {23, Form::Centred},
	};
	if (p <= Param_AutoBendKeyScaleToTime)
		return common[p - Param_Volume];
	static const Expected blocks[] = {
		{0, Form::Flag},     {30, Form::Centred}, {28, Form::Plain},   {35, Form::Plain},   {31, Form::Flag},
		{32, Form::Flag},    {33, Form::Flag},    {47, Form::Plain},   {41, Form::Plain},   {42, Form::Plain},
		{43, Form::Plain},   {44, Form::Plain},   {45, Form::Plain},   {46, Form::Plain},   {48, Form::Centred},
		{49, Form::Centred}, {50, Form::Centred}, {51, Form::Centred}, {52, Form::Centred}, {34, Form::Centred},
	};
	return blocks[(p - Param_SourceS1Mute) / 4];
}

uint8_t storedForm(Form form, int real)
{
	switch (form)
	{
	case Form::Centred: return static_cast<uint8_t>(real + 50);
	case Form::Volume: return static_cast<uint8_t>(real - 1);
	case Form::Flag: return real != 0 ? 1 : 0;
	default: return static_cast<uint8_t>(real);
	}
}

SinglePreset namedSingle()
{
	SinglePreset s;
	std::strcpy(s.name, "Glass Harp");
	return s;
}
}

// Every value of every parameter: written and read back, sent with the number and byte the hardware
// expects, and received again into the same field.
TEST(ParameterConverter, EveryParameterAndValueRoundTripsThroughBothNumberings)
{
	for (uint32_t i = 0; i <= Param_SourceS4FreqKeyScaleToFreq; ++i)
	{
		const EParam p = static_cast<EParam>(i);
		SCOPED_TRACE(CParam::getEnumString(p));
		const Expected expected = expectedFor(i);
		const bool isName = i <= Param_Name10;
		const bool perSource = i >= Param_SourceS1Mute;

		uint8_t source = 0;
		EXPECT_EQ(ParameterConverter::toCursor(source, p), expected.cursor);
		EXPECT_EQ(source, perSource ? (i - Param_SourceS1Mute) % 4 : 0u);

		for (int real = static_cast<int>(g_params[i].min); real <= static_cast<int>(g_params[i].max); ++real)
		{
			SinglePreset single = namedSingle();
			ASSERT_TRUE(ParameterConverter::toSingle(single, p, real)) << real;
			int back = -1000;
			ASSERT_TRUE(ParameterConverter::getValue(back, p, single));
			if (isName)
			{
				EXPECT_EQ(single, namedSingle());
				EXPECT_EQ(back, namedSingle().name[i]);
				continue;
			}
			ASSERT_EQ(back, real);
			if (expected.cursor == 0)
				continue;

			uint8_t byte = 0;
			ASSERT_TRUE(ParameterConverter::fromSingle(byte, single, static_cast<ParameterCursor>(expected.cursor), source));
			ASSERT_EQ(byte, storedForm(expected.form, real)) << real;

			SinglePreset received = namedSingle();
			ASSERT_TRUE(ParameterConverter::toSingle(received, Change{static_cast<uint8_t>(expected.cursor), source, byte}));
			ASSERT_EQ(received, single) << real;
		}
	}
}

TEST(ParameterConverter, StoredFormsOfTheDocumentedFields)
{
	SinglePreset s;
	s.volume = 99;
	int real = 0;
	ASSERT_TRUE(ParameterConverter::getValue(real, Param_Volume, s));
	EXPECT_EQ(real, 100);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_Volume, 1));
	EXPECT_EQ(s.volume, 0);

	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_SourceS3Fine, -50));
	EXPECT_EQ(s.sources[2].fine, 0u);
	ASSERT_TRUE(ParameterConverter::getValue(real, Param_SourceS3Fine, s));
	EXPECT_EQ(real, -50);

	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_SourceS1Mute, 5));
	EXPECT_TRUE(s.mute[0]);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_SourceS2PressureToFreq, 1));
	EXPECT_TRUE(s.sources[1].pressureToFreq);
	EXPECT_FALSE(s.sources[1].keyTrack);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_SourceS4Wave, 255));
	EXPECT_EQ(s.sources[3].wave, 255);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Param_AutoBendDepth, -3));
	EXPECT_EQ(s.autoBendDepth, 47);

	// A name byte that is no character, the end of a short name among them, reads as the blank.
	for (const char byte : {'\xE9', '\0', '\x1F', '~'})
	{
		s.name[0] = byte;
		ASSERT_TRUE(ParameterConverter::getValue(real, Param_Name01, s));
		EXPECT_EQ(real, byte == '~' ? '~' : ' ') << int(byte);
	}
}

TEST(ParameterConverter, CursorsOfParameters)
{
	uint8_t source = 9;
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_SourceS4EnvRelease), Cursor_EnvRelease);
	EXPECT_EQ(source, 3);
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_SourceS1Mute), Cursor_None);
	EXPECT_EQ(source, 0);
	source = 7;
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_Volume), 3u);
	EXPECT_EQ(source, 7) << "common parameters leave the source alone";
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_SourceS2PressureToFreq), 33u);
	EXPECT_EQ(source, 1);
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_PressureToFreq), 24u);
	source = 7;
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_SourceMix12), Cursor_None);
	EXPECT_EQ(ParameterConverter::toCursor(source, Param_SourceMix34), Cursor_None);
	EXPECT_EQ(ParameterConverter::toCursor(source, static_cast<EParam>(500)), Cursor_None);
	EXPECT_EQ(source, 7);
}

TEST(ParameterConverter, ReceivedChangesOutsideTheirRangeAreRefusedWithoutEffect)
{
	const SinglePreset original = namedSingle();
	struct Case
	{
		Change change;
		bool accepted;
	};
	const Case cases[] = {
		{{17, 0, 4}, false}, {{17, 0, 3}, true},   {{19, 0, 2}, false}, {{19, 0, 1}, true},  {{26, 0, 5}, false},
		{{26, 0, 4}, true},  {{27, 0, 3}, false},  {{27, 0, 2}, true},  {{36, 0, 3}, false}, {{36, 0, 2}, true},
		{{37, 0, 3}, false}, {{37, 0, 2}, true},   {{47, 1, 8}, false}, {{47, 1, 7}, true},  {{30, 4, 75}, false},
		{{30, 3, 75}, true}, {{41, 255, 1}, false}, {{38, 0, 0}, false}, {{39, 0, 0}, false}, {{40, 0, 0}, false},
		{{0, 0, 0}, false},  {{1, 0, 0}, false},   {{2, 0, 0}, false},  {{53, 0, 0}, false}, {{255, 0, 0}, false},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(std::to_string(c.change.cursor) + "/" + std::to_string(c.change.source) + "/" +
		             std::to_string(c.change.value));
		SinglePreset s = original;
		EXPECT_EQ(ParameterConverter::toSingle(s, c.change), c.accepted);
		if (!c.accepted)
			EXPECT_EQ(s, original);
		else
			EXPECT_NE(s, original);
	}

	SinglePreset s = original;
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{17, 0, 3}));
	EXPECT_EQ(s.lfoShape, 3u);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{30, 2, 75}));
	EXPECT_EQ(s.sources[2].fine, 75u);
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{14, 3, 9}));
	EXPECT_EQ(s.source2or4, 1u) << "common cursors ignore the source";
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{7, 0, 'Q'}));
	EXPECT_EQ(s.name[3], 'Q');
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{31, 1, 200}));
	EXPECT_TRUE(s.sources[1].keyTrack);
}

// A value beyond the stored form of its parameter's range would be saved as a single the state reader
// refuses; flags take any value as on.
TEST(ParameterConverter, EveryFieldRefusesAReceivedValueBeyondItsRange)
{
	for (uint32_t i = 0; i <= Param_SourceS4FreqKeyScaleToFreq; ++i)
	{
		const Expected expected = expectedFor(i);
		if (expected.cursor == 0)
			continue;
		SCOPED_TRACE(CParam::getEnumString(static_cast<EParam>(i)));
		const uint8_t source = i >= Param_SourceS1Mute ? static_cast<uint8_t>((i - Param_SourceS1Mute) % 4) : 0;
		const int lo = storedForm(expected.form, static_cast<int>(g_params[i].min));
		const int hi = storedForm(expected.form, static_cast<int>(g_params[i].max));
		for (int value = 0; value <= 255; ++value)
		{
			// Sources 2/4 is stored as a number, but received as a flag.
			const bool isFlag = expected.form == Form::Flag || expected.cursor == Cursor_Source2or4;
			// A name place takes any byte a dump's name may hold: the end of a short name and the bytes below
			// the blank too.
			const bool isNameByte = i <= Param_Name10 && value <= 0x7F;
			const bool inRange = isFlag || isNameByte || (value >= lo && value <= hi);
			SinglePreset s = namedSingle();
			bool accepted = false;
			std::vector<std::string> texts;
			{
				LogCapture log;
				accepted = ParameterConverter::toSingle(s, Change{static_cast<uint8_t>(expected.cursor), source,
				                                                  static_cast<uint8_t>(value)});
				texts = log.texts();
			}
			ASSERT_EQ(accepted, inRange) << value;
			if (!inRange)
			{
				ASSERT_EQ(s, namedSingle());
				ASSERT_EQ(texts.size(), 1u);
				const std::string field = std::string(g_params[i].group) + " " + g_params[i].name + ",";
				ASSERT_EQ(texts[0].rfind("Invalid parameter change for " + field, 0), 0u) << texts[0];
			}
		}
	}

	Sysex::SysexResult result;
	ASSERT_TRUE(Sysex::readBuffer(result, {0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x19, 0x00, 0x0E, 0xF7}, 0));
	SinglePreset s;
	std::vector<std::string> texts;
	{
		LogCapture log;
		ParameterConverter::toSingle(s, result.parameterChanges.at(0));
		ParameterConverter::toSingle(s, Change{44, 1, 161});
		texts = log.texts();
	}
	EXPECT_EQ(texts, (std::vector<std::string>{"Invalid parameter change for Common Pitch Bend Range, valid is 0-12 but got 14",
	                                                  "Invalid parameter change for S2 Env Decay, valid is 0-100 but got 161"}));
}

// 0 is the number of the parameters that have none (the mutes); it names none of them.
TEST(ParameterConverter, ANumberThatNamesNoParameterIsRefusedSayingSo)
{
	std::vector<bool> named(128, false);
	for (uint32_t i = Param_Name01; i <= Param_SourceS4FreqKeyScaleToFreq; ++i)
		named[expectedFor(i).cursor] = expectedFor(i).cursor != 0;
	named[Cursor_CoarseAlt] = true;
	for (int number = 0; number < 128; ++number)
	{
		if (named[number])
			continue;
		SinglePreset s = namedSingle();
		LogCapture log;
		EXPECT_FALSE(ParameterConverter::toSingle(s, Change{static_cast<uint8_t>(number), 0, 5})) << number;
		EXPECT_EQ(s, namedSingle());
		EXPECT_EQ(log.texts(), std::vector<std::string>{"Invalid parameter change, no parameter has the number " +
		                                                 std::to_string(number)});
	}
	EXPECT_EQ(std::count(named.begin(), named.end(), false), 3 + 3 + 75);
}

TEST(ParameterConverter, TheSecondCoarseNumberWorksInBothDirections)
{
	SinglePreset s;
	ASSERT_TRUE(ParameterConverter::toSingle(s, Change{29, 0, 60}));
	EXPECT_EQ(s.sources[0].coarse, 60u);
	uint8_t value = 0;
	ASSERT_TRUE(ParameterConverter::fromSingle(value, s, Cursor_CoarseAlt, 0));
	EXPECT_EQ(value, 60);
}

TEST(ParameterConverter, OutgoingBytesForRefusedCursorsStayUntouched)
{
	SinglePreset s;
	s.ampModS1S2 = 2;
	s.source2or4 = 1;
	uint8_t value = 0xAA;
	for (uint32_t cursor : {0u, 2u, 38u, 39u, 40u, 53u, 200u})
	{
		EXPECT_FALSE(ParameterConverter::fromSingle(value, s, static_cast<ParameterCursor>(cursor), 0)) << cursor;
		EXPECT_EQ(value, 0xAA);
	}
	EXPECT_FALSE(ParameterConverter::fromSingle(value, s, Cursor_Fine, 4));
	EXPECT_EQ(value, 0xAA);
	ASSERT_TRUE(ParameterConverter::fromSingle(value, s, Cursor_AmpModS1S2, 9));
	EXPECT_EQ(value, 2);
	ASSERT_TRUE(ParameterConverter::fromSingle(value, s, Cursor_Source2or4, 0));
	EXPECT_EQ(value, 1);
}

TEST(ParameterConverter, SourceHalvesRefuseCommonCursors)
{
	SingleSource source;
	const SingleSource original = source;
	uint8_t value = 0xAA;
	for (uint8_t cursor : {3, 14, 27, 36, 37, 38, 39, 40, 53})
	{
		EXPECT_FALSE(toSingleSource(source, Change{cursor, 0, 1})) << int(cursor);
		EXPECT_FALSE(fromSingleSource(value, source, static_cast<ParameterCursor>(cursor))) << int(cursor);
	}
	EXPECT_FALSE(toSingleSource(source, Change{47, 0, 8}));
	EXPECT_EQ(source, original);
	EXPECT_EQ(value, 0xAA);
	EXPECT_TRUE(toSingleSource(source, Change{35, 0, 255}));
	EXPECT_EQ(source.wave, 255);
}

TEST(ParameterConverter, UnknownParametersAreLoggedAndRefused)
{
	LogCapture log;
	SinglePreset s = namedSingle();
	EXPECT_FALSE(ParameterConverter::toSingle(s, Param_SourceMix12, 1));
	int real = 42;
	EXPECT_FALSE(ParameterConverter::getValue(real, Param_SourceMix34, s));
	EXPECT_EQ(real, 42);
	EXPECT_FALSE(ParameterConverter::toSingle(s, static_cast<EParam>(300), -2));
	EXPECT_EQ(s, namedSingle());
	EXPECT_EQ(log.texts(), (std::vector<std::string>{"ERROR: Unknown parameter 107 with value 1",
	                                                  "ERROR: Unknown parameter 108",
	                                                  "ERROR: Unknown parameter 300 with value -2"}));
}

// The whole way of an edit to connected hardware and back: the outgoing message for the lowest and
// highest value of every parameter with a number, read by the SysEx reader and applied to a blank single.
TEST(ParameterConverter, EditsSurviveTheParameterChangeMessage)
{
	for (uint32_t i = Param_Volume; i <= Param_SourceS4FreqKeyScaleToFreq; ++i)
	{
		const EParam p = static_cast<EParam>(i);
		SCOPED_TRACE(CParam::getEnumString(p));
		uint8_t source = 0;
		const ParameterCursor cursor = ParameterConverter::toCursor(source, p);
		if (cursor == Cursor_None)
			continue;
		for (float real : {g_params[i].min, g_params[i].max})
		{
			SinglePreset edited;
			ASSERT_TRUE(ParameterConverter::toSingle(edited, p, static_cast<int>(real)));
			uint8_t value = 0;
			ASSERT_TRUE(ParameterConverter::fromSingle(value, edited, cursor, source));
			std::vector<uint8_t> message;
			Sysex::writeParameterChange(message, 0, Change{static_cast<uint8_t>(cursor), source, value});

			Sysex::SysexResult result;
			ASSERT_TRUE(Sysex::readBuffer(result, message, 0));
			ASSERT_EQ(result.parameterChanges.size(), 1u);
			SinglePreset received;
			ASSERT_TRUE(ParameterConverter::toSingle(received, result.parameterChanges[0]));
			EXPECT_EQ(received, edited) << real;
		}
	}

	SinglePreset s;
	Sysex::SysexResult result;
	ASSERT_TRUE(Sysex::readBuffer(result, {0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x23, 0x05, 0x7F, 0xF7}, 0));
	ASSERT_EQ(result.parameterChanges.size(), 1u);
	ASSERT_TRUE(ParameterConverter::toSingle(s, result.parameterChanges[0]));
	EXPECT_EQ(s.sources[2].wave, 255) << "the value's eighth bit travels in the source byte";
}
