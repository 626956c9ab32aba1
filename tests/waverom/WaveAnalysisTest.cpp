#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "WaveAnalysis.h"

using namespace waverom;

namespace
{
constexpr double kPi = 3.14159265358979323846;

void put32(std::vector<uint8_t>& b, uint32_t v)
{
	for (int i = 0; i < 4; ++i)
		b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putTag(std::vector<uint8_t>& b, const char* tag)
{
	for (int i = 0; i < 4; ++i)
		b.push_back(static_cast<uint8_t>(tag[i]));
}

// A small 8-bit image: n samples, cues at the given positions with the given labels.
std::vector<uint8_t> image(size_t n, const std::vector<std::pair<uint32_t, std::string>>& cues)
{
	std::vector<uint8_t> b;
	putTag(b, "RIFF");
	put32(b, 0);
	putTag(b, "WAVE");
	putTag(b, "fmt ");
	put32(b, 16);
	const uint8_t fmt[16] = {1, 0, 1, 0, 0x50, 0xC3, 0, 0, 0x50, 0xC3, 0, 0, 1, 0, 8, 0};
	b.insert(b.end(), fmt, fmt + 16);
	putTag(b, "data");
	put32(b, static_cast<uint32_t>(n));
	for (size_t i = 0; i < n; ++i)
		b.push_back(static_cast<uint8_t>(i));
	if (n & 1)
		b.push_back(0);
	putTag(b, "cue ");
	put32(b, static_cast<uint32_t>(4 + 24 * cues.size()));
	put32(b, static_cast<uint32_t>(cues.size()));
	for (size_t i = 0; i < cues.size(); ++i)
	{
		put32(b, static_cast<uint32_t>(i + 1));
		put32(b, cues[i].first);
		putTag(b, "data");
		put32(b, 0);
		put32(b, 0);
		put32(b, cues[i].first);
	}
	std::vector<uint8_t> list;
	putTag(list, "adtl");
	for (size_t i = 0; i < cues.size(); ++i)
	{
		const std::string& text = cues[i].second;
		putTag(list, "labl");
		put32(list, static_cast<uint32_t>(5 + text.size()));
		put32(list, static_cast<uint32_t>(i + 1));
		list.insert(list.end(), text.begin(), text.end());
		list.push_back(0);
		if ((5 + text.size()) & 1)
			list.push_back(0);
	}
	putTag(b, "LIST");
	put32(b, static_cast<uint32_t>(list.size()));
	b.insert(b.end(), list.begin(), list.end());
	return b;
}
}

TEST(WaveAnalysis, ParsesCuesAndLabelsAndRejectsBrokenImages)
{
	const std::vector<uint8_t> good = image(64, {{0, "w205"}, {32, "end"}});
	RomView rom;
	ASSERT_TRUE(rom.parse(good.data(), good.size()));
	EXPECT_EQ(rom.rate, 50000u);
	EXPECT_EQ(rom.cues, (std::vector<uint32_t>{0, 32}));
	EXPECT_EQ(rom.labels, (std::vector<std::string>{"w205", "end"}));
	EXPECT_EQ(rom.samples[0], -1.0);

	std::vector<uint8_t> notRiff = good;
	notRiff[0] = 'X';
	EXPECT_FALSE(RomView().parse(notRiff.data(), notRiff.size()));
	// Cut inside the label list: a declared length runs past the end.
	EXPECT_FALSE(RomView().parse(good.data(), good.size() - 3));
	// Cut inside the sample data.
	EXPECT_FALSE(RomView().parse(good.data(), 60));
}

TEST(WaveAnalysis, CutsSampledWavesLikeThePlayer)
{
	const std::vector<uint8_t> bytes = image(64, {{0, "w206 w205L2"}, {16, "W207a"}, {32, "end"}, {48, "x"}});
	RomView rom;
	ASSERT_TRUE(rom.parse(bytes.data(), bytes.size()));
	const std::vector<PcmWave> waves = pcmWaves(rom);
	ASSERT_EQ(waves.size(), 3u);
	EXPECT_EQ(waves[0].number, 205);
	EXPECT_TRUE(waves[0].extended);
	EXPECT_EQ(waves[0].length, 32u);
	EXPECT_EQ(waves[1].number, 206);
	EXPECT_EQ(waves[1].length, 16u);
	EXPECT_EQ(waves[2].number, 207);
	ASSERT_TRUE(waves[2].pingPong);
	ASSERT_EQ(waves[2].data.size(), 32u);
	EXPECT_EQ(waves[2].data[0], rom.samples[16]);
	EXPECT_EQ(waves[2].data[15], waves[2].data[16]);
	EXPECT_EQ(waves[2].data[31], rom.samples[16]);
}

TEST(WaveAnalysis, HarmonicsOfAKnownCycle)
{
	Cycle c{};
	for (size_t j = 0; j < 256; ++j)
		c[j] = 0.5 * std::sin(2.0 * kPi * 3.0 * j / 256.0) + 0.25 * std::sin(2.0 * kPi * 7.0 * j / 256.0);
	const Harmonics h = harmonics(c);
	EXPECT_NEAR(h[3], 0.5, 1e-12);
	EXPECT_NEAR(h[7], 0.25, 1e-12);
	EXPECT_NEAR(h[1] + h[2] + h[4] + h[128], 0.0, 1e-12);
	EXPECT_NEAR(rangeUse(c), 0.0, 1.0); // defined for any cycle
	EXPECT_EQ(harmonicLimit(0), 127);
	EXPECT_EQ(harmonicLimit(4), 11);
}

TEST(WaveAnalysis, PitchEstimateFindsAFewCentsAndWeakFundamentals)
{
	const double rate = 50000.0;
	const double hz = 415.28961 * std::pow(2.0, 7.0 / 1200.0);
	std::vector<double> pure(8192), weak(8192);
	for (size_t i = 0; i < pure.size(); ++i)
	{
		const double p = 2.0 * kPi * hz * i / rate;
		pure[i] = 0.8 * std::sin(p);
		weak[i] = 0.1 * std::sin(p) + 0.8 * std::sin(2.0 * p);
	}
	const PitchEstimate e = estimatePitch(pure, 0, 8192, rate, 415.28961);
	EXPECT_NEAR(e.cents, 7.0, 0.2);
	EXPECT_NEAR(e.strengthDb, 0.0, 0.1);
	const PitchEstimate w = estimatePitch(weak, 0, 8192, rate, 415.28961);
	EXPECT_NEAR(w.cents, 7.0, 0.3);
	EXPECT_NEAR(w.strengthDb, -18.1, 0.5);
}

TEST(WaveAnalysis, SeamTailAndStepFigures)
{
	std::vector<double> ramp(100);
	for (size_t i = 0; i < ramp.size(); ++i)
		ramp[i] = i / 128.0;
	EXPECT_NEAR(seamJump(ramp), 99 / 128.0, 1e-12);
	// Steps of one byte are the smallest the figure reports.
	EXPECT_NEAR(typicalStep(ramp), 1.0 / 128.0, 1e-12);
	std::vector<double> tail(1000, 0.5);
	for (size_t i = 950; i < 1000; ++i)
		tail[i] = 0.001;
	EXPECT_NEAR(tailPeakDb(tail, 0.05), -60.0, 0.01);
	EXPECT_NEAR(rangeUse(std::vector<double>{-1.0, 127.0 / 128.0}), 1.0, 1e-12);
}
