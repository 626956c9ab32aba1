#include "WavLoader.h"

#include "log.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <map>

static_assert(std::endian::native == std::endian::little, "samples are copied as stored, little-endian");

namespace zentlib
{
namespace
{
uint16_t readU16(const unsigned char* p)
{
	return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t readU32(const unsigned char* p)
{
	return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
	       (static_cast<uint32_t>(p[3]) << 24);
}

bool isId(const unsigned char* p, const char* id)
{
	return std::memcmp(p, id, 4) == 0;
}

constexpr float g_int32Scale = 1.0f / 2147483648.0f;

// A chunk header and the part of its body that lies inside the image. A declared length running
// past the end is cut off at the end.
struct Chunk
{
	const unsigned char* id;
	const unsigned char* body;
	size_t length;
};

// Walks the chunks of [begin, end): a header is only visited when it starts before the last 8
// bytes, and bodies are padded to an even length.
class ChunkWalker
{
public:
	ChunkWalker(const unsigned char* begin, const unsigned char* end) : m_begin(begin), m_size(static_cast<size_t>(end - begin)) {}

	bool next(Chunk& chunk)
	{
		if (m_size < 8 || m_offset >= m_size - 8)
			return false;
		const uint64_t declared = readU32(m_begin + m_offset + 4);
		const size_t available = m_size - m_offset - 8;
		chunk.id = m_begin + m_offset;
		chunk.body = m_begin + m_offset + 8;
		chunk.length = declared < available ? static_cast<size_t>(declared) : available;
		// Past the end the walk stops anyway, so the sum cannot wrap a 64-bit size.
		m_offset += 8 + static_cast<size_t>((declared + 1) & ~uint64_t(1));
		return true;
	}

private:
	const unsigned char* m_begin;
	size_t m_size;
	size_t m_offset = 0;
};

void readCueChunk(const Chunk& chunk, std::map<uint32_t, SWaveFormatChunkCuePoint>& cuePoints)
{
	if (chunk.length < 4)
		return;
	const uint64_t declared = readU32(chunk.body);
	const uint64_t fitting = (chunk.length - 4) / sizeof(SWaveFormatChunkCuePoint);
	const uint64_t count = declared < fitting ? declared : fitting;
	for (uint64_t i = 0; i < count; ++i)
	{
		const unsigned char* p = chunk.body + 4 + i * sizeof(SWaveFormatChunkCuePoint);
		SWaveFormatChunkCuePoint cue;
		cue.cueId = readU32(p);
		cue.position = readU32(p + 4);
		cue.chunkId = readU32(p + 8);
		cue.chunkStart = readU32(p + 12);
		cue.blockStart = readU32(p + 16);
		cue.sampleOffset = readU32(p + 20);
		if (!cuePoints.emplace(cue.cueId, cue).second)
			ZENT_LOG("Warning: duplicated cue point " << cue.cueId << " found");
	}
}

void readListChunk(const Chunk& chunk, std::map<uint32_t, std::string>& labels)
{
	if (chunk.length < 4)
		return;
	// The list type is not looked at: labels are taken from any list.
	ChunkWalker walker(chunk.body + 4, chunk.body + chunk.length);
	Chunk sub;
	while (walker.next(sub))
	{
		if ((!isId(sub.id, "labl") && !isId(sub.id, "note")) || sub.length < 4)
			continue;
		const uint32_t cueId = readU32(sub.body);
		size_t textLength = sub.length - 4;
		while (textLength > 0 && sub.body[4 + textLength - 1] == 0)
			--textLength;
		if (textLength == 0)
			continue;
		std::string text(reinterpret_cast<const char*>(sub.body + 4), textLength);
		if (labels.count(cueId))
		{
			ZENT_LOG("Warning: duplicated cue label " << text << " found for cue id " << cueId);
			continue;
		}
		labels.emplace(cueId, std::move(text));
	}
}

// Cue records normally carry the sample position in their position field; some writers leave it
// 0 and keep the position in the sample offset only.
uint64_t cuePosition(const SWaveFormatChunkCuePoint& cue)
{
	return cue.position == 0 ? cue.sampleOffset : cue.position;
}
}

void convert(std::vector<float>& out, const short* in, size_t n)
{
	out.resize(n);
	for (size_t i = 0; i < n; ++i)
		out[i] = static_cast<float>(in[i]) * (1.0f / 32767.0f);
}

void convert(std::vector<float>& out, const char* in, size_t n)
{
	out.resize(n);
	for (size_t i = 0; i < n; ++i)
		out[i] = static_cast<float>(static_cast<int>(static_cast<unsigned char>(in[i])) - 128) * (1.0f / 128.0f);
}

bool WavLoader::load(const float** direct, size_t& count, std::vector<float>& samples, int& sampleRate,
                     std::vector<CuePoint>* cues, const unsigned char* data, size_t size)
{
	if (!data || size < 12 || !isId(data, "RIFF") || !isId(data + 8, "WAVE"))
		return false;

	const unsigned char* format = nullptr;
	const unsigned char* sampleData = nullptr;
	size_t dataLength = 0;
	std::map<uint32_t, SWaveFormatChunkCuePoint> cuePoints;
	std::map<uint32_t, std::string> labels;

	ChunkWalker walker(data + 12, data + size);
	Chunk chunk;
	while (walker.next(chunk))
	{
		if (isId(chunk.id, "fmt "))
		{
			// A format body too short for its fields is no format information.
			if (chunk.length >= 16)
				format = chunk.body;
		}
		else if (isId(chunk.id, "data"))
		{
			sampleData = chunk.body;
			dataLength = chunk.length;
		}
		else if (isId(chunk.id, "cue "))
		{
			readCueChunk(chunk, cuePoints);
		}
		else if (cues && (isId(chunk.id, "LIST") || isId(chunk.id, "list")))
		{
			readListChunk(chunk, labels);
		}
	}

	if (!sampleData)
	{
		ZENT_LOG("Failed to find wave data in file");
		return false;
	}
	if (!format)
	{
		ZENT_LOG("Failed to find format information in file");
		return false;
	}

	const uint16_t formatTag = readU16(format);
	const uint16_t channels = readU16(format + 2);
	const uint32_t rate = readU32(format + 4);
	const uint16_t bitsPerSample = readU16(format + 14);

	if (formatTag != 1 && formatTag != 3)
		return false;

	sampleRate = static_cast<int>(rate);

	if (bitsPerSample != 8 && bitsPerSample != 16 && bitsPerSample != 24 && bitsPerSample != 32 && bitsPerSample != 64)
		return false;

	const size_t n = static_cast<size_t>((static_cast<uint64_t>(dataLength) * 8) / bitsPerSample);
	samples.assign(n, 0.0f);
	const bool isFloat = formatTag == 3;
	const unsigned char* p = sampleData;
	bool directFromCopy = false;

	switch (bitsPerSample)
	{
	case 8:
		for (size_t i = 0; i < n; ++i)
			samples[i] = static_cast<float>(static_cast<int>(p[i]) - 128) * 0.0078125f;
		break;
	case 16:
		for (size_t i = 0; i < n; ++i)
			samples[i] = static_cast<float>(static_cast<int16_t>(readU16(p + i * 2))) * (1.0f / 32767.0f);
		break;
	case 24:
		for (size_t i = 0; i < n; ++i)
		{
			const uint32_t bits = (static_cast<uint32_t>(p[i * 3]) << 8) | (static_cast<uint32_t>(p[i * 3 + 1]) << 16) |
			                      (static_cast<uint32_t>(p[i * 3 + 2]) << 24);
			samples[i] = static_cast<float>(static_cast<int32_t>(bits)) * g_int32Scale;
		}
		break;
	case 32:
		if (!isFloat)
		{
			for (size_t i = 0; i < n; ++i)
				samples[i] = static_cast<float>(static_cast<int32_t>(readU32(p + i * 4))) * g_int32Scale;
		}
		else if (direct && reinterpret_cast<uintptr_t>(p) % alignof(float) == 0)
		{
			*direct = reinterpret_cast<const float*>(p);
			count = n;
		}
		else
		{
			if (n)
				std::memcpy(samples.data(), p, n * sizeof(float));
			// Samples that are not aligned for direct reading are handed out through the copy, which
			// then has to stay as stored: the same samples the pointer would have read in the image.
			if (direct)
			{
				*direct = samples.data();
				count = n;
				directFromCopy = true;
			}
		}
		break;
	case 64:
		for (size_t i = 0; i < n; ++i)
		{
			if (isFloat)
			{
				double value;
				std::memcpy(&value, p + i * 8, sizeof(value));
				samples[i] = static_cast<float>(value);
			}
			else
			{
				samples[i] = static_cast<float>(static_cast<int32_t>(readU32(p + i * 8 + 4))) * g_int32Scale;
			}
		}
		break;
	}

	if (channels >= 2 && !directFromCopy)
	{
		const size_t frames = n / channels;
		const float scale = 1.0f / static_cast<float>(channels);
		for (size_t f = 0; f < frames; ++f)
		{
			float sum = 0.0f;
			for (size_t c = 0; c < channels; ++c)
				sum += samples[f * channels + c];
			samples[f] = sum * scale;
		}
		samples.resize(frames);
	}

	if (cues && !cuePoints.empty())
	{
		cues->clear();
		for (const auto& [cueId, cue] : cuePoints)
		{
			const auto label = labels.find(cueId);
			cues->push_back(CuePoint{cuePosition(cue), label != labels.end() ? label->second : std::string()});
		}
	}
	return true;
}

bool WavLoader::load(std::vector<float>& samples, int& sampleRate, std::vector<CuePoint>* cues, const std::string& path)
{
	std::FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
	{
		ZENT_LOG("Failed to open file " << path);
		return false;
	}
	std::vector<unsigned char> buffer;
	if (std::fseek(file, 0, SEEK_END) == 0)
	{
		const long size = std::ftell(file);
		if (size > 0 && std::fseek(file, 0, SEEK_SET) == 0)
		{
			buffer.resize(static_cast<size_t>(size));
			buffer.resize(std::fread(buffer.data(), 1, buffer.size(), file));
		}
	}
	std::fclose(file);

	size_t count = 0;
	return load(nullptr, count, samples, sampleRate, cues, buffer.data(), buffer.size());
}

namespace
{
class LittleEndianFile
{
public:
	explicit LittleEndianFile(std::FILE* file) : m_file(file) {}

	void bytes(const void* data, size_t size)
	{
		if (size && std::fwrite(data, 1, size, m_file) != size)
			m_ok = false;
	}
	void id(const char* fourCc) { bytes(fourCc, 4); }
	void u16(uint16_t v)
	{
		const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
		bytes(b, 2);
	}
	void u32(uint32_t v)
	{
		const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
		                            static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
		bytes(b, 4);
	}
	void header(uint32_t riffSize)
	{
		id("RIFF");
		u32(riffSize);
		id("WAVE");
	}
	bool ok() const { return m_ok; }

private:
	std::FILE* m_file;
	bool m_ok = true;
};
}

bool WavLoader::write(const std::string& path, const std::vector<float>& samples, int sampleRate,
                      std::vector<CuePoint>* cues)
{
	const bool withCues = cues && !cues->empty();

	// Sizes are worked out first so that a file too big for the format's 32-bit fields is refused
	// before anything is written.
	const uint64_t dataLength = static_cast<uint64_t>(samples.size()) * 4;
	uint64_t riffSize = 36 + dataLength;
	uint64_t cueLength = 0;
	uint64_t listLength = 0;
	if (withCues)
	{
		cueLength = static_cast<uint64_t>(cues->size()) * 24 + 4;
		listLength = 4;
		for (const CuePoint& cue : *cues)
			listLength += 8 + ((cue.label.size() + 5 + 1) & ~uint64_t(1));
		riffSize += 8 + cueLength + 8 + listLength;
	}

	if (riffSize > UINT32_MAX)
	{
		ZENT_LOG("Failed to write file " << path);
		return false;
	}
	std::FILE* file = std::fopen(path.c_str(), "wb");
	if (!file)
	{
		ZENT_LOG("Failed to open file for writing: " << path);
		return false;
	}

	LittleEndianFile out(file);
	out.header(0);

	out.id("fmt ");
	out.u32(16);
	out.u16(3);
	out.u16(1);
	out.u32(static_cast<uint32_t>(sampleRate));
	out.u32(static_cast<uint32_t>(sampleRate) * 4);
	out.u16(4);
	out.u16(32);

	out.id("data");
	out.u32(static_cast<uint32_t>(dataLength));
	out.bytes(samples.data(), samples.size() * sizeof(float));

	if (withCues)
	{
		out.id("cue ");
		out.u32(static_cast<uint32_t>(cueLength));
		out.u32(static_cast<uint32_t>(cues->size()));
		for (size_t i = 0; i < cues->size(); ++i)
		{
			const uint32_t position = static_cast<uint32_t>((*cues)[i].position);
			out.u32(static_cast<uint32_t>(i));
			out.u32(position);
			out.id("data");
			out.u32(0);
			out.u32(0);
			out.u32(position);
		}

		out.id("LIST");
		out.u32(static_cast<uint32_t>(listLength));
		out.id("adtl");
		for (size_t i = 0; i < cues->size(); ++i)
		{
			const std::string& label = (*cues)[i].label;
			const uint32_t length = static_cast<uint32_t>(label.size() + 5);
			out.id("labl");
			out.u32(length);
			out.u32(static_cast<uint32_t>(i));
			out.bytes(label.data(), label.size());
			const unsigned char zeros[2] = {0, 0};
			out.bytes(zeros, 1 + (length & 1));
		}
	}

	const bool rewound = std::fseek(file, 0, SEEK_SET) == 0;
	if (rewound)
		out.header(static_cast<uint32_t>(riffSize));
	const bool closed = std::fclose(file) == 0;
	if (!rewound || !closed || !out.ok())
	{
		ZENT_LOG("Failed to write file " << path);
		return false;
	}
	return true;
}
}
