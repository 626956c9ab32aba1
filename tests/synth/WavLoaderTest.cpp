#include "synth/WavLoader.h"

#include "LogCapture.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include <unistd.h>

using zentlib::CuePoint;
using zentlib::WavLoader;

namespace
{
// Assembles RIFF images byte by byte, so each test states exactly what lies where.
class Image
{
public:
	Image& id(const char* fourCc)
	{
		// Byte by byte: GCC 12 takes a range inserted into the empty vector for an overflow under ThreadSanitizer.
		for (int i = 0; i < 4; ++i)
			u8(static_cast<uint8_t>(fourCc[i]));
		return *this;
	}
	Image& u8(uint8_t v)
	{
		bytes.push_back(v);
		return *this;
	}
	Image& u16(uint16_t v) { return u8(v & 0xff).u8(v >> 8); }
	Image& u32(uint32_t v) { return u16(v & 0xffff).u16(v >> 16); }
	Image& text(const std::string& s)
	{
		bytes.insert(bytes.end(), s.begin(), s.end());
		return *this;
	}
	Image& riff()
	{
		return id("RIFF").u32(0).id("WAVE");
	}
	Image& fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
	{
		return id("fmt ").u32(16).u16(tag).u16(channels).u32(rate).u32(rate * channels * bits / 8).u16(channels * bits / 8).u16(bits);
	}
	Image& cue(uint32_t cueId, uint32_t position)
	{
		return u32(cueId).u32(position).id("data").u32(0).u32(0).u32(position);
	}

	std::vector<unsigned char> bytes;
};

struct Result
{
	bool ok = false;
	std::vector<float> samples;
	int rate = -1;
	std::vector<CuePoint> cues;
	std::vector<std::string> log;
};

// Loads from a heap copy of exactly the image's size, so the sanitizer build sees any read past it.
Result load(const std::vector<unsigned char>& image, bool withCues = true)
{
	Result r;
	auto copy = std::make_unique<unsigned char[]>(image.size());
	if (!image.empty())
		std::memcpy(copy.get(), image.data(), image.size());
	LogCapture capture;
	size_t count = 0;
	r.ok = WavLoader::load(nullptr, count, r.samples, r.rate, withCues ? &r.cues : nullptr, copy.get(), image.size());
	r.log = capture.texts();
	return r;
}

Image monoImage(uint16_t tag, uint16_t bits, const std::vector<uint8_t>& data)
{
	Image img;
	img.riff().fmt(tag, 1, 8000, bits).id("data").u32(static_cast<uint32_t>(data.size()));
	img.bytes.insert(img.bytes.end(), data.begin(), data.end());
	return img;
}

std::filesystem::path tempPath(const std::string& name)
{
	return std::filesystem::temp_directory_path() / ("virel_wav_" + std::to_string(::getpid()) + "_" + name);
}
}

TEST(WavLoader, ChunkHeadersInTheLastEightBytesAreNotVisited)
{
	Image empty;
	empty.riff().fmt(1, 1, 44100, 16).id("data").u32(0);
	ASSERT_EQ(empty.bytes.size(), 44u);
	const Result a = load(empty.bytes);
	EXPECT_FALSE(a.ok);
	EXPECT_EQ(a.log, std::vector<std::string>{"Failed to find wave data in file"});

	Image one;
	one.riff().fmt(1, 1, 44100, 16).id("data").u32(2).u16(32767);
	ASSERT_EQ(one.bytes.size(), 46u);
	const Result b = load(one.bytes);
	EXPECT_TRUE(b.ok);
	EXPECT_EQ(b.samples, std::vector<float>{1.0f});
	EXPECT_EQ(b.rate, 44100);
	EXPECT_TRUE(b.log.empty());
}

TEST(WavLoader, RefusesWhatItCannotRead)
{
	// Not a RIFF WAVE image: silent.
	Image notWave;
	notWave.id("RIFF").u32(0).id("AVI ").fmt(1, 1, 8000, 8).id("data").u32(1).u8(0);
	EXPECT_FALSE(load(notWave.bytes).ok);
	EXPECT_TRUE(load(notWave.bytes).log.empty());
	EXPECT_FALSE(load({'R', 'I', 'F', 'F'}).ok);
	EXPECT_FALSE(load({}).ok);

	Image noFormat;
	noFormat.riff().id("data").u32(2).u16(0).id("junk").u32(0);
	EXPECT_EQ(load(noFormat.bytes).log, std::vector<std::string>{"Failed to find format information in file"});

	// A format body too short for its fields counts as missing.
	Image shortFormat;
	shortFormat.riff().id("fmt ").u32(4).u16(1).u16(1).id("data").u32(2).u16(0).id("junk").u32(0);
	EXPECT_EQ(load(shortFormat.bytes).log, std::vector<std::string>{"Failed to find format information in file"});

	// Compressed and extensible formats, and sample sizes other than 8/16/24/32/64, fail silently;
	// the rate has already been written by then.
	for (uint16_t tag : {0, 2, 6, 0xfffe})
	{
		const Result r = load(monoImage(tag, 16, {0, 0, 0, 0}).bytes);
		EXPECT_FALSE(r.ok) << tag;
		EXPECT_TRUE(r.log.empty()) << tag;
		EXPECT_EQ(r.rate, -1) << tag;
	}
	for (uint16_t bits : {0, 4, 12, 20, 48})
	{
		const Result r = load(monoImage(1, bits, {0, 0, 0, 0, 0, 0}).bytes);
		EXPECT_FALSE(r.ok) << bits;
		EXPECT_TRUE(r.log.empty()) << bits;
		EXPECT_EQ(r.rate, 8000) << bits;
	}
}

TEST(WavLoader, ConvertsEverySampleFormat)
{
	EXPECT_EQ(load(monoImage(1, 8, {0x80, 0x00, 0xff}).bytes).samples, (std::vector<float>{0.0f, -1.0f, 0.9921875f}));
	// The 8-bit rule does not look at the format tag.
	EXPECT_EQ(load(monoImage(3, 8, {0x00}).bytes).samples, std::vector<float>{-1.0f});

	const auto s16 = load(monoImage(1, 16, {0xff, 0x7f, 0x00, 0x80, 0x01, 0x00}).bytes).samples;
	ASSERT_EQ(s16.size(), 3u);
	EXPECT_EQ(s16[0], 1.0f);
	EXPECT_EQ(s16[1], -32768.0f * (1.0f / 32767.0f));
	EXPECT_EQ(s16[2], 3.0518509e-05f);

	EXPECT_EQ(load(monoImage(1, 24, {0x00, 0x00, 0x80, 0xff, 0xff, 0x7f, 0x00, 0x00, 0x40}).bytes).samples,
	          (std::vector<float>{-1.0f, 8388607.0f / 8388608.0f, 0.5f}));

	EXPECT_EQ(load(monoImage(1, 32, {0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0xc0}).bytes).samples,
	          (std::vector<float>{-1.0f, -0.5f}));

	std::vector<uint8_t> floats(8);
	const float f[2] = {0.25f, -3.5f};
	std::memcpy(floats.data(), f, 8);
	EXPECT_EQ(load(monoImage(3, 32, floats).bytes).samples, (std::vector<float>{0.25f, -3.5f}));

	// 64-bit integers keep their upper half.
	EXPECT_EQ(load(monoImage(1, 64, {0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x40}).bytes).samples,
	          std::vector<float>{0.5f});
	std::vector<uint8_t> doubles(8);
	const double d = 0.1;
	std::memcpy(doubles.data(), &d, 8);
	EXPECT_EQ(load(monoImage(3, 64, doubles).bytes).samples, std::vector<float>{0.1f});

	// A data length that is no whole number of samples drops the rest.
	EXPECT_EQ(load(monoImage(1, 16, {0x00, 0x40, 0x11}).bytes).samples.size(), 1u);
}

TEST(WavLoader, DirectFloatSamplesPointIntoTheImage)
{
	std::vector<uint8_t> floats(12);
	const float f[3] = {0.5f, -0.25f, 1.5f};
	std::memcpy(floats.data(), f, 12);
	const Image img = monoImage(3, 32, floats);
	alignas(float) unsigned char image[64];
	ASSERT_LE(img.bytes.size(), sizeof(image));
	std::memcpy(image, img.bytes.data(), img.bytes.size());

	const float* direct = nullptr;
	size_t count = 0;
	std::vector<float> samples;
	int rate = 0;
	ASSERT_TRUE(WavLoader::load(&direct, count, samples, rate, nullptr, image, img.bytes.size()));
	EXPECT_EQ(direct, reinterpret_cast<const float*>(image + 44));
	EXPECT_EQ(count, 3u);
	EXPECT_EQ(samples, std::vector<float>(3, 0.0f));

	// Samples at an address that is no multiple of four are handed out through the vector instead.
	unsigned char shifted[65];
	std::memcpy(shifted + 1, img.bytes.data(), img.bytes.size());
	direct = nullptr;
	ASSERT_TRUE(WavLoader::load(&direct, count, samples, rate, nullptr, shifted + 1, img.bytes.size()));
	EXPECT_EQ(direct, samples.data());
	EXPECT_EQ(count, 3u);
	EXPECT_EQ(samples, (std::vector<float>{0.5f, -0.25f, 1.5f}));

	// Other sample formats leave the pointer and the count alone.
	direct = nullptr;
	count = 77;
	const Image ints = monoImage(1, 16, {0, 0});
	ASSERT_TRUE(WavLoader::load(&direct, count, samples, rate, nullptr, ints.bytes.data(), ints.bytes.size()));
	EXPECT_EQ(direct, nullptr);
	EXPECT_EQ(count, 77u);
}

// Direct reading hands out the stored samples, channels interleaved, wherever the image lies: the
// pointer, the count and what it points at agree, aligned or not, for any channel count. The
// unaligned loads read from a heap buffer of exactly the image, so the sanitizers see any overrun.
TEST(WavLoader, DirectFloatSamplesAgreeWithTheirCountForEveryChannelCount)
{
	for (uint16_t channels : {1, 2, 6})
	{
		SCOPED_TRACE("channels " + std::to_string(channels));
		std::vector<float> stored(channels * 5u);
		for (size_t i = 0; i < stored.size(); ++i)
			stored[i] = static_cast<float>(i) * 0.125f - 1.0f;
		Image img;
		img.riff().fmt(3, channels, 48000, 32).id("data").u32(static_cast<uint32_t>(stored.size() * 4));
		img.bytes.resize(img.bytes.size() + stored.size() * 4);
		std::memcpy(img.bytes.data() + 44, stored.data(), stored.size() * 4);

		for (size_t shift : {0, 1, 2, 3})
		{
			SCOPED_TRACE("shift " + std::to_string(shift));
			auto buffer = std::make_unique<unsigned char[]>(img.bytes.size() + shift);
			std::memcpy(buffer.get() + shift, img.bytes.data(), img.bytes.size());
			const float* direct = nullptr;
			size_t count = 0;
			std::vector<float> samples;
			int rate = 0;
			ASSERT_TRUE(WavLoader::load(&direct, count, samples, rate, nullptr, buffer.get() + shift, img.bytes.size()));
			ASSERT_EQ(count, stored.size());
			ASSERT_NE(direct, nullptr);
			EXPECT_TRUE(std::equal(stored.begin(), stored.end(), direct));
			if (direct == samples.data())
				EXPECT_EQ(samples.size(), count) << "the copy the pointer reads is whole";
			else
				EXPECT_EQ(direct, reinterpret_cast<const float*>(buffer.get() + shift + 44));
		}
	}
}

TEST(WavLoader, ChannelsAreMixedToMono)
{
	Image stereo;
	stereo.riff().fmt(1, 2, 44100, 16).id("data").u32(8).u16(32767).u16(static_cast<uint16_t>(-32767)).u16(32767).u16(32767);
	EXPECT_EQ(load(stereo.bytes).samples, (std::vector<float>{0.0f, 1.0f}));

	// An incomplete last frame is dropped; a channel count of 0 is taken as mono.
	Image three;
	three.riff().fmt(1, 3, 8000, 8).id("data").u32(4).u8(0x80).u8(0x00).u8(0x80).u8(0x80);
	const auto mixed = load(three.bytes).samples;
	ASSERT_EQ(mixed.size(), 1u);
	EXPECT_EQ(mixed[0], -1.0f * (1.0f / 3.0f));

	Image none;
	none.riff().fmt(1, 0, 8000, 8).id("data").u32(2).u8(0x00).u8(0x80);
	EXPECT_EQ(load(none.bytes).samples, (std::vector<float>{-1.0f, 0.0f}));
}

TEST(WavLoader, CuePointsComeInIdentifierOrderWithTheirLabels)
{
	Image img = monoImage(1, 8, {0x80, 0x80});
	img.id("cue ").u32(4 + 3 * 24).u32(3).cue(2, 200).cue(1, 100).cue(2, 999);
	// "note" before "labl" wins; trailing NULs go; an empty text and a body without room for the
	// identifier are ignored; other sub-chunks are skipped.
	img.id("LIST").u32(4 + 14 + 16 + 12 + 8 + 10 + 14).id("adtl");
	img.id("note").u32(5).u32(2).text("n").u8(0);
	img.id("labl").u32(8).u32(2).text("lab").u8(0);
	img.id("ltxt").u32(4).u32(1);
	img.id("labl").u32(0);
	img.id("labl").u32(2).u16(1).id("labl").u32(6).u32(1).text("a").u8(0);
	const Result r = load(img.bytes);
	ASSERT_TRUE(r.ok);
	ASSERT_EQ(r.cues.size(), 2u);
	EXPECT_EQ(r.cues[0].position, 100u);
	EXPECT_EQ(r.cues[0].label, "a");
	EXPECT_EQ(r.cues[1].position, 200u);
	EXPECT_EQ(r.cues[1].label, "n");
	EXPECT_EQ(r.log, (std::vector<std::string>{"Warning: duplicated cue point 2 found",
	                                           "Warning: duplicated cue label lab found for cue id 2"}));

	// Without a cue vector the labels are not read, but duplicate records are still reported.
	const Result noCues = load(img.bytes, false);
	EXPECT_TRUE(noCues.ok);
	EXPECT_EQ(noCues.log, std::vector<std::string>{"Warning: duplicated cue point 2 found"});

	// Without cue records the vector keeps what it had.
	const Image plain = monoImage(1, 8, {0x80});
	std::vector<float> samples;
	int rate = 0;
	size_t count = 0;
	std::vector<CuePoint> kept{{5, "kept"}};
	ASSERT_TRUE(WavLoader::load(nullptr, count, samples, rate, &kept, plain.bytes.data(), plain.bytes.size()));
	ASSERT_EQ(kept.size(), 1u);
	EXPECT_EQ(kept[0].label, "kept");
}

TEST(WavLoader, LengthsRunningPastTheImageAreCutOff)
{
	// The data chunk claims more than the image holds: the samples present are read.
	Image data;
	data.riff().fmt(1, 1, 8000, 16).id("data").u32(1000).u16(16384).u16(0).u8(0);
	EXPECT_EQ(load(data.bytes).samples, (std::vector<float>{16384.0f / 32767.0f, 0.0f}));

	// The cue chunk claims ten records and holds one and a half.
	Image cue = monoImage(1, 8, {0x80, 0x80});
	cue.id("cue ").u32(1000).u32(10).cue(7, 1).u32(8).u32(2);
	const Result c = load(cue.bytes);
	ASSERT_TRUE(c.ok);
	ASSERT_EQ(c.cues.size(), 1u);
	EXPECT_EQ(c.cues[0].position, 1u);

	// A label sub-chunk running past its list, and a list running past the image.
	Image list = monoImage(1, 8, {0x80, 0x80});
	list.id("cue ").u32(28).u32(1).cue(1, 0);
	list.id("LIST").u32(4 + 8 + 6).id("adtl").id("labl").u32(100).u32(1).text("ab");
	list.id("LIST").u32(500).id("adtl").id("labl").u32(400).u32(3).text("tail");
	const Result l = load(list.bytes);
	ASSERT_EQ(l.cues.size(), 1u);
	EXPECT_EQ(l.cues[0].label, "ab");
}

TEST(WavLoader, CueWithoutPositionFieldUsesSampleOffset)
{
	Image img = monoImage(1, 8, {0x80, 0x80});
	img.id("cue ").u32(52).u32(2).u32(1).u32(0).id("data").u32(0).u32(0).u32(4000).cue(2, 0);
	const Result r = load(img.bytes);
	ASSERT_EQ(r.cues.size(), 2u);
	EXPECT_EQ(r.cues[0].position, 4000u);
	EXPECT_EQ(r.cues[1].position, 0u);
}

TEST(WavLoader, ConvertHelpers)
{
	std::vector<float> out{9.0f, 9.0f, 9.0f, 9.0f};
	const short shorts[3] = {32767, -32767, 0};
	zentlib::convert(out, shorts, 3);
	EXPECT_EQ(out, (std::vector<float>{1.0f, -1.0f, 0.0f}));
	const char bytes[3] = {static_cast<char>(0x80), 0, static_cast<char>(0xff)};
	zentlib::convert(out, bytes, 3);
	EXPECT_EQ(out, (std::vector<float>{0.0f, -1.0f, 0.9921875f}));
	zentlib::convert(out, bytes, 0);
	EXPECT_TRUE(out.empty());
}

TEST(WavLoader, WritesTheExactLayout)
{
	const auto path = tempPath("plain.wav");
	ASSERT_TRUE(WavLoader::write(path.string(), {0.5f, -1.0f, 0.25f}, 50000, nullptr));
	const auto bytes = testdata::readBytes(path);
	std::filesystem::remove(path);

	Image expected;
	expected.id("RIFF").u32(48).id("WAVE");
	expected.id("fmt ").u32(16).u16(3).u16(1).u32(50000).u32(200000).u16(4).u16(32);
	expected.id("data").u32(12);
	for (float f : {0.5f, -1.0f, 0.25f})
	{
		uint32_t bits;
		std::memcpy(&bits, &f, 4);
		expected.u32(bits);
	}
	EXPECT_EQ(bytes, expected.bytes);
	EXPECT_EQ(bytes.size(), 56u);
}

TEST(WavLoader, WriteThenReadGivesTheSameSamplesCuesAndLabels)
{
	const auto path = tempPath("cues.wav");
	std::vector<float> samples;
	for (int i = 0; i < 1001; ++i)
		samples.push_back(std::sin(i * 0.01f));
	std::vector<CuePoint> cues{{0, "w225 w245L2"}, {500, "ab"}, {1000, "odd"}};
	ASSERT_TRUE(WavLoader::write(path.string(), samples, 50000, &cues));

	// Each "labl" carries the text and a NUL, padded to an even size.
	const auto bytes = testdata::readBytes(path);
	const size_t listBody = 4 + (8 + 16) + (8 + 8) + (8 + 8);
	const size_t riffSize = 36 + samples.size() * 4 + 8 + (4 + 3 * 24) + 8 + listBody;
	EXPECT_EQ(bytes.size(), riffSize + 8);
	EXPECT_EQ(bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (bytes[7] << 24), static_cast<int>(riffSize));

	std::vector<float> read;
	int rate = 0;
	std::vector<CuePoint> readCues;
	LogCapture capture;
	ASSERT_TRUE(WavLoader::load(read, rate, &readCues, path.string()));
	std::filesystem::remove(path);
	EXPECT_EQ(read, samples);
	EXPECT_EQ(rate, 50000);
	ASSERT_EQ(readCues.size(), cues.size());
	for (size_t i = 0; i < cues.size(); ++i)
	{
		EXPECT_EQ(readCues[i].position, cues[i].position);
		EXPECT_EQ(readCues[i].label, cues[i].label);
	}
	EXPECT_TRUE(capture.texts().empty());
}

TEST(WavLoader, FilesThatCannotBeOpened)
{
	const std::string missing = (std::filesystem::temp_directory_path() / "virel_no_such_dir" / "x.wav").string();
	LogCapture capture;
	std::vector<float> samples;
	int rate = 0;
	EXPECT_FALSE(WavLoader::load(samples, rate, nullptr, missing));
	EXPECT_FALSE(WavLoader::write(missing, {0.0f}, 44100, nullptr));
	EXPECT_EQ(capture.texts(), (std::vector<std::string>{"Failed to open file " + missing,
	                                                     "Failed to open file for writing: " + missing}));
}

// What the reader makes of files written by other programs.
TEST(WavLoader, RealFiles)
{
	REQUIRE_TESTDATA();
	struct Expected
	{
		const char* name;
		bool ok;
		size_t samples;
		int rate;
		std::vector<std::pair<uint64_t, std::string>> cues;
	};
	const std::vector<Expected> expected = {
	    {"atl-broadcastwave_bext.wav", true, 7119, 22050, {}},
	    {"audiofile-wav_stereo_8bit_44100.wav", true, 352800, 44100, {{0, "Tempo: 120.0"}}},
	    {"gowav-32bit.wav", true, 88200, 44100, {}},
	    {"gowav-dirty-kick-24b441k.wav", true, 21340, 44100, {}},
	    {"gowav-padded24b.wav", true, 3713, 44100, {}},
	    {"hound-pcmwaveformat-24bit-4byte-48kHz-stereo.wav", true, 2, 48000, {}},
	    {"scipy-test-44100Hz-2ch-32bit-float-le.wav", true, 441, 44100, {}},
	    {"scipy-test-8000Hz-le-3ch-5S-64bit.wav", true, 5, 8000, {}},
	    {"taglib-float64.wav", true, 4281, 44100, {}},
	    {"taglib-zero-size-chunk.wav", true, 0, 44100, {}},
	    {"wavefile-16bit-8kHz-1c-reaper-utf8cue-issue13.wav", true, 14208, 8000, {{4000, "Marker 01 abc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f"}}},
	    {"wavefile-16bit-9khz-1c-1region-reaper.wav", true, 18043, 8000, {{4000, ""}}},
	    {"wavefile-Audacity-16bit-lots-of-markers.wav", true, 217705, 44100, {}},
	    {"wavefile-test-cue-reaper.wav", true, 16000, 8000, {{8000, "test cue reaper"}}},
	    {"wavinfo-izotoperx_cues_test.wav", true, 48000, 48000, {{1000, "Marker 1"}, {5000, "Marker 2"}, {10000, "Marker 3"}}},
	    {"atl-illegal_id3v2.wav", false, 0, -1, {}},
	    {"hound-waveformatextensible-32bit-48kHz-stereo.wav", false, 0, -1, {}},
	    {"scipy-test-1234Hz-le-1ch-10S-20bit-extra.wav", false, 0, 1234, {}},
	    {"scipy-test-44100Hz-le-1ch-4bytes-incomplete-chunk.wav", false, 0, -1, {}},
	    {"wavefile-4bit-imaadpcm-8kHz-noBext-mono.wav", false, 0, -1, {}},
	    {"wavefile-RIFX-16bit-mono.wav", false, 0, -1, {}},
	};
	for (const Expected& e : expected)
	{
		const Result r = load(testdata::readBytes(testdata::root() / "wav" / e.name));
		EXPECT_EQ(r.ok, e.ok) << e.name;
		EXPECT_EQ(r.samples.size(), e.samples) << e.name;
		EXPECT_EQ(r.rate, e.rate) << e.name;
		if (e.cues.empty())
			continue;
		ASSERT_EQ(r.cues.size(), e.cues.size()) << e.name;
		for (size_t i = 0; i < e.cues.size(); ++i)
		{
			EXPECT_EQ(r.cues[i].position, e.cues[i].first) << e.name;
			EXPECT_EQ(r.cues[i].label, e.cues[i].second) << e.name;
		}
	}

	const Result markers = load(testdata::readBytes(testdata::root() / "wav" / "wavefile-Audacity-16bit-lots-of-markers.wav"));
	ASSERT_EQ(markers.cues.size(), 7u);
	EXPECT_EQ(markers.cues[2].label, "marker with a really long name");

	// This file carries each marker's text twice; the first is kept and the second reported.
	const Result izotope = load(testdata::readBytes(testdata::root() / "wav" / "wavinfo-izotoperx_cues_test.wav"));
	ASSERT_EQ(izotope.log.size(), 2u);
	EXPECT_EQ(izotope.log[0], "Warning: duplicated cue label Marker Comment 1 found for cue id 2");
}

// Every file, and every prefix of the small ones, is read or refused without touching memory
// outside the image (checked by the sanitizer build).
TEST(WavLoader, RealFilesAndTheirPrefixesStayInBounds)
{
	REQUIRE_TESTDATA();
	const auto files = testdata::files("wav", ".wav");
	ASSERT_FALSE(files.empty());
	for (const auto& path : files)
	{
		const auto bytes = testdata::readBytes(path);
		load(bytes);
		load(bytes, false);
		const size_t prefixes = bytes.size() < 4096 ? bytes.size() : 0;
		for (size_t n = 0; n < prefixes; ++n)
			load(std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
	}
}
