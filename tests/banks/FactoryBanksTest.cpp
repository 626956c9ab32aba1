#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "BankImage.h"
#include "Library.h"
#include "LogCapture.h"
#include "synth/SingleRecord.h"
#include "synth/Sysex.h"
#include "synth/data/zentdata.h"

namespace
{
struct Image
{
	const char* storageName;
	const uint8_t* data;
	size_t size;
};

// The banks in storage order, internal memory first.
std::vector<Image> imagesInStorageOrder()
{
	return {
		{"Zent Int", zentdata::getData_sysex_ZENTINT(), zentdata::getDataSize_sysex_ZENTINT()},
		{"ROM R3-01", zentdata::getData_sysex_R301(), zentdata::getDataSize_sysex_R301()},
		{"ROM R3-02", zentdata::getData_sysex_R302(), zentdata::getDataSize_sysex_R302()},
		{"ROM R3-03", zentdata::getData_sysex_R303(), zentdata::getDataSize_sysex_R303()},
		{"ROM R3-04", zentdata::getData_sysex_R304(), zentdata::getDataSize_sysex_R304()},
		{"ROM R3-05", zentdata::getData_sysex_R305(), zentdata::getDataSize_sysex_R305()},
		{"ROM R4-00", zentdata::getData_sysex_R400(), zentdata::getDataSize_sysex_R400()},
		{"ROM S3-01", zentdata::getData_sysex_S301(), zentdata::getDataSize_sysex_S301()},
		{"ROM S3-02", zentdata::getData_sysex_S302(), zentdata::getDataSize_sysex_S302()},
		{"ROM T3-01", zentdata::getData_sysex_T301(), zentdata::getDataSize_sysex_T301()},
		{"ROM T3-02", zentdata::getData_sysex_T302(), zentdata::getDataSize_sysex_T302()},
		{"ROM T3-03", zentdata::getData_sysex_T303(), zentdata::getDataSize_sysex_T303()},
	};
}

std::vector<uint8_t> bytesOf(const Image& image)
{
	return {image.data, image.data + image.size};
}

zentlib::Sysex::SysexResult parse(const std::vector<uint8_t>& bytes)
{
	zentlib::Sysex::SysexResult result;
	EXPECT_TRUE(zentlib::Sysex::readBuffer(result, bytes, 255));
	return result;
}

// The display draws letters, digits, the blank and this punctuation; anything else shows as '?'.
bool displayable(const std::string& name)
{
	static const std::string punctuation = "!\"$%&/()=?.,;:{}\\-+<>|[]' ~*#";
	return std::all_of(name.begin(), name.end(), [](char c) {
		return std::isalnum(static_cast<unsigned char>(c)) || punctuation.find(c) != std::string::npos;
	});
}

// FNV-1a: enough to tell two generations apart in a failure message.
uint64_t hashOf(const std::vector<uint8_t>& bytes)
{
	uint64_t h = 1469598103934665603ull;
	for (uint8_t b : bytes)
		h = (h ^ b) * 1099511628211ull;
	return h;
}
}

TEST(FactoryBanks, EachImageHoldsTheThreeBlockDumps)
{
	const uint8_t singlesLow[] = {0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x00};
	const uint8_t singlesHigh[] = {0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x20};
	const uint8_t multis[] = {0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x40};
	for (const Image& image : imagesInStorageOrder())
	{
		SCOPED_TRACE(image.storageName);
		ASSERT_EQ(image.size, 8091u);
		EXPECT_EQ(std::memcmp(image.data, singlesLow, 8), 0);
		EXPECT_EQ(std::memcmp(image.data + 2825, singlesHigh, 8), 0);
		EXPECT_EQ(std::memcmp(image.data + 5650, multis, 8), 0);
		EXPECT_EQ(image.data[2824], 0xF7);
		EXPECT_EQ(image.data[5649], 0xF7);
		EXPECT_EQ(image.data[8090], 0xF7);
		// Between the frames every byte is MIDI data.
		const size_t frames[] = {0, 2824, 2825, 5649, 5650, 8090};
		for (size_t i = 0; i < image.size; ++i)
		{
			if (std::find(std::begin(frames), std::end(frames), i) == std::end(frames))
			{
				ASSERT_LT(image.data[i], 0x80) << "byte " << i;
			}
		}
	}
}

TEST(FactoryBanks, AllTwelveParseIntoTheWholeStoreWithTwoWheelModeLines)
{
	std::vector<uint8_t> joined;
	for (const Image& image : imagesInStorageOrder())
		joined.insert(joined.end(), image.data, image.data + image.size);

	LogCapture log;
	const zentlib::Sysex::SysexResult result = parse(joined);
	EXPECT_EQ(result.singles.size(), 768u);
	EXPECT_EQ(result.multis.size(), 384u);
	EXPECT_EQ(result.location, 0x40u);
	const std::string wheelMode = "Invalid vibrato wheel mode, needs to be 0 or 1 but got 2";
	EXPECT_EQ(log.texts(), (std::vector<std::string>{wheelMode, wheelMode}));
}

TEST(FactoryBanks, NamesAreDisplayableAndUniqueWithinEachStorage)
{
	for (const Image& image : imagesInStorageOrder())
	{
		SCOPED_TRACE(image.storageName);
		LogCapture quiet;
		const auto result = parse(bytesOf(image));
		ASSERT_EQ(result.singles.size(), 64u);
		std::set<std::string> names;
		for (const auto& single : result.singles)
		{
			const std::string name = single.name;
			EXPECT_FALSE(name.empty());
			EXPECT_LE(name.size(), 10u);
			EXPECT_TRUE(displayable(name)) << name;
			EXPECT_TRUE(names.insert(name).second) << name << " is used twice";
		}
		for (const auto& multi : result.multis)
		{
			EXPECT_FALSE(std::string(multi.name).empty());
			EXPECT_TRUE(displayable(multi.name)) << multi.name;
		}
	}
}

TEST(FactoryBanks, NoStorageHoldsTheSameSoundTwiceUnderTwoNames)
{
	for (const Image& image : imagesInStorageOrder())
	{
		SCOPED_TRACE(image.storageName);
		LogCapture quiet;
		auto singles = parse(bytesOf(image)).singles;
		for (auto& single : singles)
			std::memset(single.name, 0, sizeof(single.name));
		for (size_t a = 0; a < singles.size(); ++a)
			for (size_t b = a + 1; b < singles.size(); ++b)
				EXPECT_FALSE(singles[a] == singles[b]) << "sounds " << a << " and " << b;
	}
}

TEST(FactoryBanks, RecordQuirksSitInTheirOwnSinglesOnly)
{
	// One record carries 0x20 in its bend-range byte and two carry wheel mode 2; every other
	// record keeps those bytes in range, so the reader has nothing else to reduce.
	int bendByteQuirks = 0;
	int wheelModeQuirks = 0;
	for (const Image& image : imagesInStorageOrder())
	{
		for (size_t dump : {size_t{0}, size_t{2825}})
		{
			for (size_t k = 0; k < 32; ++k)
			{
				const uint8_t* record = image.data + dump + 8 + 88 * k;
				if (record[15] == 0x20)
					++bendByteQuirks;
				else
					EXPECT_LE(record[15], 12) << image.storageName << " record " << k;
				const int wheelMode = (record[17] >> 5) & 3;
				if (wheelMode == 2)
					++wheelModeQuirks;
				else
					EXPECT_LE(wheelMode, 1);
				EXPECT_LE((record[17] >> 2) & 7, 4) << "key-scaling curve";
			}
		}
	}
	EXPECT_EQ(bendByteQuirks, 1);
	EXPECT_EQ(wheelModeQuirks, 2);
}

TEST(FactoryBanks, EverySingleSoundsAndEndsWhenReleased)
{
	for (const Image& image : imagesInStorageOrder())
	{
		LogCapture quiet;
		for (const auto& s : parse(bytesOf(image)).singles)
		{
			SCOPED_TRACE(std::string(image.storageName) + " " + s.name);
			EXPECT_LE(s.volume, 99);
			EXPECT_LE(s.polyMode, 2u);
			EXPECT_LE(s.ampModS1S2, 2u);
			EXPECT_LE(s.ampModS3S4, 2u);
			const int count = s.source2or4 ? 4 : 2;
			int heard = 0;
			for (int i = 0; i < count; ++i)
			{
				const auto& src = s.sources[i];
				EXPECT_LE(src.coarse, 127u);
				EXPECT_LE(src.velCurve, 7u);
				for (uint32_t v : {src.fine, src.envLevel, src.envDelay, src.envAttack, src.envDecay, src.envSustain,
				                   src.levelModVel, src.levelModPressure, src.levelModKeyScale, src.timeModVel,
				                   src.timeModKeyScale, src.freqKeyScaleToFreq})
					EXPECT_LE(v, 100u);
				// Release 86 and up lasts 18 seconds or more: a note would seem stuck.
				EXPECT_LE(src.envRelease, 85u);
				// Levels 0..5 are silent; a muted source counts only as a ring modulator.
				if (!s.mute[i] && src.envLevel > 5)
					++heard;
			}
			EXPECT_GE(heard, 1);
		}
	}
}

TEST(FactoryBanks, ZentIntIsABestOfTheRomBanks)
{
	const auto images = imagesInStorageOrder();
	LogCapture quiet;
	const auto internal = parse(bytesOf(images[0])).singles;
	std::vector<zentlib::SinglePreset> rom;
	for (size_t i = 1; i < images.size(); ++i)
	{
		const auto singles = parse(bytesOf(images[i])).singles;
		rom.insert(rom.end(), singles.begin(), singles.end());
	}
	for (const auto& single : internal)
		EXPECT_NE(std::find(rom.begin(), rom.end(), single), rom.end()) << single.name << " is in no ROM bank";
}

TEST(FactoryBanks, TheGeneratorRebuildsTheEmbeddedImagesByteForByte)
{
	const auto images = imagesInStorageOrder();
	for (size_t storage = 0; storage < banks::StorageCount; ++storage)
	{
		SCOPED_TRACE(images[storage].storageName);
		std::vector<uint8_t> first;
		std::vector<uint8_t> second;
		std::string problem;
		ASSERT_TRUE(banks::buildBankImage(storage, first, problem)) << problem;
		ASSERT_TRUE(banks::buildBankImage(storage, second, problem)) << problem;
		const std::vector<uint8_t> embedded = bytesOf(images[storage]);
		EXPECT_EQ(hashOf(first), hashOf(second));
		EXPECT_EQ(hashOf(first), hashOf(embedded));
		EXPECT_TRUE(first == embedded);
	}
}

TEST(FactoryBanks, DisplayableNamesLeaveOutWhatTheDisplayCannotDraw)
{
	EXPECT_TRUE(banks::isDisplayableName("Kick/Snare"));
	EXPECT_TRUE(banks::isDisplayableName("Harpsi 16'"));
	for (const char* name : {"Bell@", "Pad_1", "Hi^Hat", "Back`", "Caf\xE9"})
		EXPECT_FALSE(banks::isDisplayableName(name)) << name;
}

