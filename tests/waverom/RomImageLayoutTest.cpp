#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "RomTestImage.h"
#include "WaveAnalysis.h"
#include "synth/WavLoader.h"
#include "synth/data/zentdata.h"

namespace
{
const uint8_t* rom()
{
	return zentdata::getData_waverom();
}

uint32_t u32At(size_t offset)
{
	const uint8_t* p = rom() + offset;
	return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t u16At(size_t offset)
{
	const uint8_t* p = rom() + offset;
	return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

std::string tagAt(size_t offset)
{
	return std::string(reinterpret_cast<const char*>(rom() + offset), 4);
}

struct Segment
{
	uint32_t position;
	uint32_t length;
	const char* label;
};

// The sampled segments as the waveform builder expects them.
const Segment kSegments[30] = {
	{0, 32768, "w225 w245L2"},
	{32768, 32768, "w223 w235"},
	{65536, 16384, "w230 w236 w248L3"},
	{81920, 16384, "w233 w238"},
	{98304, 32768, "w212 w255a"},
	{131072, 16384, "w214"},
	{147456, 8192, "w215 w241"},
	{155648, 8192, "w218"},
	{163840, 8192, "w210 w247L3 w252r"},
	{172032, 8192, "w207"},
	{180224, 16384, "w213"},
	{196608, 16384, "w232 w237"},
	{212992, 8192, "w224"},
	{221184, 8192, "w234 w239"},
	{229376, 32768, "w226"},
	{262144, 16384, "w217 w243L2 w250L6 w253r"},
	{278528, 16384, "w216"},
	{294912, 8192, "w227 w256a"},
	{303104, 8192, "w231"},
	{311296, 8192, "w222 w244L2"},
	{319488, 8192, "w221"},
	{327680, 8192, "w228 w246L2"},
	{335872, 8192, "w229"},
	{344064, 8192, "w220"},
	{352256, 8192, "w209"},
	{360448, 4096, "w205 w249L5"},
	{364544, 4096, "w208"},
	{368640, 4096, "w219 w242"},
	{372736, 4096, "w206 w240 w251r"},
	{376832, 16384, "w211 w254a"},
};

uint32_t expectedPosition(uint32_t cueIndex)
{
	return cueIndex < 30 ? kSegments[cueIndex].position : 393216 + (cueIndex - 30) * 640;
}

std::string expectedLabel(uint32_t cueIndex)
{
	if (cueIndex < 30)
		return kSegments[cueIndex].label;
	const uint32_t n = 33 + (cueIndex - 30);
	return "Marker " + std::to_string(n >= 69 ? n + 1 : n);
}

// One sub-chunk of the label list.
struct SubChunk
{
	std::string tag;
	size_t body;
	uint32_t length;
};

std::vector<SubChunk> listSubChunks()
{
	std::vector<SubChunk> chunks;
	const size_t end = 529984 + 8 + u32At(529984 + 4);
	for (size_t at = 529984 + 12; at + 8 <= end;)
	{
		const uint32_t length = u32At(at + 4);
		chunks.push_back({tagAt(at), at + 8, length});
		at += 8 + length + (length & 1);
	}
	return chunks;
}
}

TEST(RomImageLayout, HeaderFormatAndDataChunk)
{
	ASSERT_EQ(zentdata::getDataSize_waverom(), 739648u);
	EXPECT_EQ(tagAt(0), "RIFF");
	EXPECT_EQ(u32At(4), 739640u);
	EXPECT_EQ(tagAt(8), "WAVE");
	EXPECT_EQ(tagAt(12), "fmt ");
	EXPECT_EQ(u32At(16), 16u);
	EXPECT_EQ(u16At(20), 1u);
	EXPECT_EQ(u16At(22), 1u);
	EXPECT_EQ(u32At(24), 50000u);
	EXPECT_EQ(u32At(28), 50000u);
	EXPECT_EQ(u16At(32), 1u);
	EXPECT_EQ(u16At(34), 8u);
	EXPECT_EQ(tagAt(36), "data");
	EXPECT_EQ(u32At(40), 524288u);
}

TEST(RomImageLayout, CueChunkHoldsAllSegmentsInOrder)
{
	ASSERT_EQ(tagAt(524332), "cue ");
	EXPECT_EQ(u32At(524336), 5644u);
	ASSERT_EQ(u32At(524340), 235u);
	for (uint32_t i = 0; i < 235; ++i)
	{
		const size_t rec = 524344 + i * 24;
		SCOPED_TRACE(i);
		EXPECT_EQ(u32At(rec), i + 1);
		EXPECT_EQ(u32At(rec + 4), expectedPosition(i));
		EXPECT_EQ(tagAt(rec + 8), "data");
		EXPECT_EQ(u32At(rec + 12), 0u);
		EXPECT_EQ(u32At(rec + 16), 0u);
		EXPECT_EQ(u32At(rec + 20), expectedPosition(i));
	}
	EXPECT_EQ(expectedPosition(234), 523776u);
	// Sampled segments tile the area before the cyclic waves with power-of-two lengths.
	for (uint32_t i = 0; i < 30; ++i)
	{
		EXPECT_EQ(expectedPosition(i + 1) - expectedPosition(i), kSegments[i].length) << i;
		EXPECT_EQ(kSegments[i].length & (kSegments[i].length - 1), 0u) << i;
	}
}

TEST(RomImageLayout, LabelListHasLabelsRegionsAndEmptyNotes)
{
	ASSERT_EQ(tagAt(529984), "LIST");
	EXPECT_EQ(u32At(529988), 15322u);
	EXPECT_EQ(tagAt(529992), "adtl");
	const std::vector<SubChunk> chunks = listSubChunks();
	ASSERT_EQ(chunks.size(), 3u * 235u);
	for (uint32_t i = 0; i < 235; ++i)
	{
		SCOPED_TRACE(i);
		const SubChunk& labl = chunks[i];
		const std::string label = expectedLabel(i);
		EXPECT_EQ(labl.tag, "labl");
		ASSERT_EQ(labl.length, 4 + label.size() + 1);
		EXPECT_EQ(u32At(labl.body), i + 1);
		EXPECT_EQ(std::string(reinterpret_cast<const char*>(rom() + labl.body + 4)), label);

		const SubChunk& ltxt = chunks[235 + i];
		EXPECT_EQ(ltxt.tag, "ltxt");
		ASSERT_EQ(ltxt.length, 20u);
		EXPECT_EQ(u32At(ltxt.body), i + 1);
		EXPECT_EQ(u32At(ltxt.body + 4), 0u);
		EXPECT_EQ(tagAt(ltxt.body + 8), "rgn ");

		const SubChunk& note = chunks[470 + i];
		EXPECT_EQ(note.tag, "note");
		ASSERT_EQ(note.length, 5u);
		EXPECT_EQ(u32At(note.body), i + 1);
		EXPECT_EQ(rom()[note.body + 4], 0u);
	}
	EXPECT_EQ(expectedLabel(30), "Marker 33");
	EXPECT_EQ(expectedLabel(234), "Marker 238");
}

TEST(RomImageLayout, TrailingMetadataFillsTheImage)
{
	const size_t at = 545314;
	const uint32_t length = u32At(at + 4);
	EXPECT_EQ(at + 8 + length + (length & 1), 739648u);
	const std::string body(reinterpret_cast<const char*>(rom() + at + 8), length);
	EXPECT_EQ(body.rfind("<?xpacket begin=", 0), 0u);
	EXPECT_NE(body.find("Virel waverom generator"), std::string::npos);
	EXPECT_EQ(body.substr(body.size() - 19), "<?xpacket end=\"w\"?>");
}

TEST(RomImageLayout, GeneratedBytesArePinned)
{
	// The generator must give the same image on every machine and in every build; a deliberate
	// change to the sounds updates this figure (the report tool prints it).
	EXPECT_EQ(waverom::fnv1a(zentdata::getData_waverom(), zentdata::getDataSize_waverom()), 0x0e204ee3e06ae831ull);
}

TEST(RomImageLayout, ProjectReaderAgreesWithTheRawBytes)
{
	LogCapture log;
	const float* direct = nullptr;
	size_t count = 0;
	std::vector<float> samples;
	int rate = 0;
	std::vector<zentlib::CuePoint> cues;
	ASSERT_TRUE(zentlib::WavLoader::load(&direct, count, samples, rate, &cues, rom(), zentdata::getDataSize_waverom()));
	EXPECT_TRUE(log.lines().empty());
	EXPECT_EQ(rate, 50000);
	const waverom::RomView& raw = romImage();
	ASSERT_EQ(samples.size(), raw.samples.size());
	for (size_t i = 0; i < samples.size(); ++i)
		ASSERT_EQ(samples[i], static_cast<float>(raw.samples[i])) << i;
	ASSERT_EQ(cues.size(), 235u);
	for (size_t i = 0; i < cues.size(); ++i)
	{
		EXPECT_EQ(cues[i].position, raw.cues[i]);
		EXPECT_EQ(cues[i].label, expectedLabel(static_cast<uint32_t>(i)));
	}
}
