#include "synth/Waveforms.h"

#include "LogCapture.h"
#include "TestData.h"
#include "synth/WavLoader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include <unistd.h>

using zentlib::CuePoint;
using zentlib::Waveforms;

namespace
{
constexpr float PcmRoot = 415.28961f;

float romValue(size_t i)
{
	return static_cast<float>(i % 4096) / 4096.0f - 0.5f;
}

// A wave ROM image as the writer makes it: float samples at 50,000 Hz with labelled cues.
std::vector<unsigned char> romImage(size_t sampleCount, std::vector<CuePoint> cues)
{
	std::vector<float> samples(sampleCount);
	for (size_t i = 0; i < sampleCount; ++i)
		samples[i] = romValue(i);
	const auto path = std::filesystem::temp_directory_path() / ("virel_rom_" + std::to_string(::getpid()) + ".wav");
	EXPECT_TRUE(zentlib::WavLoader::write(path.string(), samples, 50000, &cues));
	auto bytes = testdata::readBytes(path);
	std::filesystem::remove(path);
	return bytes;
}

struct Built
{
	std::unique_ptr<Waveforms> waves;
	std::vector<std::string> log;
};

Built build(const std::vector<unsigned char>& image)
{
	LogCapture capture;
	Built b;
	b.waves = std::make_unique<Waveforms>(image.data(), image.size());
	b.log = capture.texts();
	return b;
}

bool isEmpty(const Waveforms::Waveform& w)
{
	for (const auto& d : w.perKey)
		if (d.data || d.length || d.rootFreq != 0.0f)
			return false;
	return !w.looped && !w.pingPong && !w.extended && w.romRate == 0.0f && w.buffer.empty();
}

bool sameTable(const float* a, const float* b)
{
	return std::memcmp(a, b, 256 * sizeof(float)) == 0;
}
}

TEST(Waveforms, BuildsCyclicAndSampledWavesFromTheCues)
{
	const auto image = romImage(3400, {{0, "w205 W245L2"},
	                                   {1024, "w255a"},
	                                   {1536, "Marker 33"},
	                                   {2176, "Marker 34"},
	                                   {2816, "w235"},
	                                   {3072, "w12x  w254"},
	                                   {3328, ""}});
	const Built b = build(image);
	EXPECT_TRUE(b.log.empty());
	const Waveforms& w = *b.waves;

	// Cyclic wave 0: five full cycles from half cycles, chosen by key range.
	const auto& sine = w.getWaveform(0);
	EXPECT_TRUE(sine.looped);
	EXPECT_FALSE(sine.pingPong);
	EXPECT_EQ(sine.romRate, 50000.0f);
	for (size_t t = 0; t < 5; ++t)
	{
		const size_t key = t == 0 ? 0 : 36 + 12 * t;
		const float* table = sine.perKey[key].data;
		for (size_t j = 0; j < 128; ++j)
		{
			ASSERT_EQ(table[j], romValue(1536 + 128 * t + j)) << t << " " << j;
			ASSERT_EQ(table[255 - j], -romValue(1536 + 128 * t + j)) << t << " " << j;
		}
	}
	EXPECT_NE(sine.perKey[47].data, sine.perKey[48].data);
	EXPECT_EQ(sine.perKey[0].data, sine.perKey[47].data);
	EXPECT_EQ(sine.perKey[84].data, sine.perKey[127].data);
	EXPECT_NE(sine.perKey[83].data, sine.perKey[84].data);
	for (const auto& d : sine.perKey)
	{
		EXPECT_EQ(d.length, 256u);
		EXPECT_EQ(d.rootFreq, 195.3125f);
	}
	EXPECT_EQ(w.getWaveform(1).perKey[0].data[0], romValue(2176));
	EXPECT_TRUE(isEmpty(w.getWaveform(2)));

	// Sampled waves: one table for every key.
	const auto& drum = w.getWaveform(204);
	const auto& omnibus = w.getWaveform(244);
	EXPECT_EQ(drum.perKey[0].length, 1024u);
	EXPECT_EQ(drum.perKey[127].rootFreq, PcmRoot);
	EXPECT_FALSE(drum.looped);
	EXPECT_EQ(drum.perKey[60].data[5], romValue(5));
	EXPECT_EQ(omnibus.perKey[0].data, drum.perKey[0].data);
	EXPECT_EQ(omnibus.perKey[0].length, 1536u);
	EXPECT_TRUE(omnibus.looped);
	EXPECT_TRUE(omnibus.extended);

	const auto& alt = w.getWaveform(254);
	ASSERT_EQ(alt.perKey[0].length, 1024u);
	EXPECT_TRUE(alt.looped && alt.pingPong && !alt.extended);
	EXPECT_EQ(alt.perKey[0].data, alt.buffer.data());
	for (size_t j = 0; j < 512; ++j)
	{
		ASSERT_EQ(alt.perKey[3].data[j], romValue(1024 + j));
		ASSERT_EQ(alt.perKey[3].data[1023 - j], romValue(1024 + j));
	}

	// The wave number ends at a, r or l only; names with "Loop" or " Alt" loop without a suffix.
	EXPECT_EQ(w.getWaveform(11).perKey[0].length, 256u);
	EXPECT_EQ(w.getWaveform(11).perKey[0].data[0], romValue(3072));
	EXPECT_FALSE(w.getWaveform(11).looped);
	EXPECT_TRUE(w.getWaveform(234).looped);
	EXPECT_TRUE(w.getWaveform(253).looped);

	EXPECT_TRUE(w.canRandomStart(234));
	EXPECT_TRUE(w.canRandomStart(253));
	EXPECT_FALSE(w.canRandomStart(244)); // extended
	EXPECT_FALSE(w.canRandomStart(254)); // ping-pong
	EXPECT_FALSE(w.canRandomStart(204)); // one-shot
	EXPECT_FALSE(w.canRandomStart(0)); // cyclic, whatever its flags
	EXPECT_FALSE(w.canRandomStart(11));
	EXPECT_TRUE(isEmpty(w.getWaveform(205)));
}

TEST(Waveforms, BadLabelsStopTheLoadingWithTheirLogLine)
{
	struct Case
	{
		std::string label;
		std::string log;
	};
	const std::vector<Case> cases = {
	    {"w206 x12 w207", "Invalid waveform desc x12"},
	    {"w206 w300 w207", "Error: Invalid waveform 299"},
	    {"w206 w0 w207", "Error: Invalid waveform 18446744073709551615"},
	    {"w206 w205l5 w207", "Error: cue point index out of bounds"},
	};
	for (const Case& c : cases)
	{
		const Built b = build(romImage(300, {{0, c.label}, {100, "w209"}, {200, "w210"}, {300, ""}}));
		EXPECT_EQ(b.log, std::vector<std::string>{c.log}) << c.label;
		// What came before the bad token stays; nothing after it is built.
		EXPECT_EQ(b.waves->getWaveform(205).perKey[0].length, 100u) << c.label;
		EXPECT_TRUE(isEmpty(b.waves->getWaveform(206))) << c.label;
		EXPECT_TRUE(isEmpty(b.waves->getWaveform(208))) << c.label;
		EXPECT_EQ(b.waves->getWaveform(204).perKey[0].data, nullptr) << c.label;
	}

	// A second definition is reported and replaces the first.
	const Built twice = build(romImage(300, {{0, "w205"}, {100, "w205L2"}, {200, ""}, {300, ""}}));
	EXPECT_EQ(twice.log, std::vector<std::string>{"Error: Waveform 204 is defined twice!"});
	EXPECT_EQ(twice.waves->getWaveform(204).perKey[0].data[0], romValue(100));
	EXPECT_EQ(twice.waves->getWaveform(204).perKey[0].length, 200u);
}

TEST(Waveforms, UnreadableOrUnusableRomsLeaveEveryWaveEmpty)
{
	const std::vector<unsigned char> garbage(100, 7);
	const Built bad = build(garbage);
	EXPECT_EQ(bad.log, std::vector<std::string>{"Failed to load Wave ROM"});
	for (int i = 0; i < 256; ++i)
		ASSERT_TRUE(isEmpty(bad.waves->getWaveform(static_cast<unsigned char>(i)))) << i;

	const Built oneCue = build(romImage(640, {{0, "w205"}}));
	EXPECT_TRUE(oneCue.log.empty());
	for (int i = 0; i < 256; ++i)
		ASSERT_TRUE(isEmpty(oneCue.waves->getWaveform(static_cast<unsigned char>(i)))) << i;

	// Segments reaching past the samples are refused instead of read.
	const Built outside = build(romImage(100, {{0, "w205"}, {100, "w206"}, {740, "w207"}, {1500, ""}}));
	EXPECT_EQ(outside.log, std::vector<std::string>{"Error: wave data out of bounds"});
	EXPECT_EQ(outside.waves->getWaveform(204).perKey[0].length, 100u);
	EXPECT_TRUE(isEmpty(outside.waves->getWaveform(205)));
	EXPECT_TRUE(isEmpty(outside.waves->getWaveform(0)));
}

TEST(Waveforms, NamesComeFromTheNameTable)
{
	EXPECT_STREQ(Waveforms::getName(0), "001: Sin 1st");
	EXPECT_STREQ(Waveforms::getName(255), "256: Piano Noise Alt");
}

// The embedded wave ROM.
class EmbeddedWaveforms : public testing::Test
{
protected:
	static void SetUpTestSuite()
	{
		LogCapture capture;
		s_waves = new Waveforms();
		s_log = capture.texts();
	}
	static void TearDownTestSuite()
	{
		delete s_waves;
		s_waves = nullptr;
	}
	static const Waveforms::Waveform& wave(int index) { return s_waves->getWaveform(static_cast<unsigned char>(index)); }

	static inline Waveforms* s_waves = nullptr;
	static inline std::vector<std::string> s_log;
};

TEST_F(EmbeddedWaveforms, LoadsWithoutALogLineAndFillsEveryWave)
{
	EXPECT_TRUE(s_log.empty());
	for (int i = 0; i < 256; ++i)
	{
		const auto& w = wave(i);
		EXPECT_EQ(w.romRate, 50000.0f) << i;
		for (const auto& d : w.perKey)
		{
			ASSERT_NE(d.data, nullptr) << i;
			ASSERT_TRUE(d.length && (d.length & (d.length - 1)) == 0) << i;
			if (i >= 204)
			{
				ASSERT_GE(d.length, 4096u) << i;
				ASSERT_LE(d.length, 65536u) << i;
				ASSERT_EQ(d.rootFreq, PcmRoot) << i;
			}
			else
			{
				ASSERT_EQ(d.length, 256u) << i;
			}
		}
	}
}

TEST_F(EmbeddedWaveforms, SampledWaves)
{
	const auto& omnibus = wave(244);
	const auto& bassDrum = wave(204);
	EXPECT_EQ(bassDrum.perKey[0].length, 4096u);
	// Wave 245 starts at ROM sample 0 and spans two segments.
	EXPECT_EQ(bassDrum.perKey[0].data - omnibus.perKey[0].data, 360448);
	EXPECT_EQ(omnibus.perKey[0].length, 65536u);
	EXPECT_TRUE(omnibus.extended);

	// Wave 255 is wave 212's segment forwards, then backwards.
	const auto& crash = wave(254);
	const float* forward = wave(211).perKey[0].data;
	ASSERT_EQ(wave(211).perKey[0].length, 32768u);
	ASSERT_EQ(crash.perKey[0].length, 65536u);
	EXPECT_TRUE(crash.looped);
	EXPECT_TRUE(crash.pingPong);
	for (size_t j = 0; j < 32768; ++j)
	{
		ASSERT_EQ(crash.perKey[0].data[j], forward[j]) << j;
		ASSERT_EQ(crash.perKey[0].data[65535 - j], forward[j]) << j;
	}

	for (int i = 0; i < 256; ++i)
		EXPECT_EQ(s_waves->canRandomStart(static_cast<unsigned char>(i)), i >= 234 && i <= 241) << i;
}

TEST_F(EmbeddedWaveforms, CyclicTables)
{
	for (int i = 0; i < 204; ++i)
	{
		const auto& w = wave(i);
		EXPECT_TRUE(w.looped && !w.pingPong && !w.extended) << i;
		EXPECT_NE(w.perKey[47].data, w.perKey[48].data) << i;
		EXPECT_EQ(w.perKey[84].data, w.perKey[127].data) << i;
		EXPECT_EQ(w.perKey[0].rootFreq, 195.3125f) << i;
	}
	// The sines have one shape for every key range; the saws do not.
	for (int i = 0; i < 13; ++i)
		for (size_t key : {48, 60, 72, 84})
			EXPECT_TRUE(sameTable(wave(i).perKey[0].data, wave(i).perKey[key].data)) << i << " " << key;
}

TEST_F(EmbeddedWaveforms, SawTablesDifferByKeyRange)
{
	if (sameTable(wave(0).perKey[0].data, wave(13).perKey[0].data))
		GTEST_SKIP() << "the embedded image still holds a sine for every cyclic wave";
	bool sawDiffers = false;
	for (size_t key : {48, 60, 72, 84})
		sawDiffers |= !sameTable(wave(13).perKey[0].data, wave(13).perKey[key].data);
	EXPECT_TRUE(sawDiffers);
}
