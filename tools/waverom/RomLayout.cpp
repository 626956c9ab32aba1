#include "RomLayout.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace waverom
{
const PcmSegment g_pcmSegments[kPcmSegmentCount] = {
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

bool isSustainedLoop(size_t segment)
{
	// String, shakuhachi, voice, fuzz guitar, pan flute, white noise and pull bass.
	static const size_t loops[] = {1, 2, 3, 6, 11, 13, 27};
	return std::find(std::begin(loops), std::end(loops), segment) != std::end(loops);
}

SampledWave sampledWave(int number)
{
	for (size_t s = 0; s < kPcmSegmentCount; ++s)
	{
		std::istringstream tokens(g_pcmSegments[s].label);
		std::string token;
		while (tokens >> token)
		{
			const size_t suffix = token.find_first_of("arL", 1);
			if (std::stoi(token.substr(1, suffix - 1)) != number)
				continue;
			SampledWave wave;
			wave.comesBackAfter = g_pcmSegments[s].length;
			const char kind = suffix == std::string::npos ? ' ' : token[suffix];
			if (kind == 'L')
				wave.comesBackAfter = cuePosition(s + std::stoul(token.substr(suffix + 1))) - g_pcmSegments[s].position;
			wave.loops = (number >= 235 && number <= 250) || kind == 'a' || (kind == ' ' && isSustainedLoop(s));
			return wave;
		}
	}
	return {};
}

uint32_t cuePosition(size_t cue)
{
	if (cue < kPcmSegmentCount)
		return g_pcmSegments[cue].position;
	return static_cast<uint32_t>(kCyclicStart + (cue - kPcmSegmentCount) * kCyclicSegment);
}

std::string cueLabel(size_t cue)
{
	if (cue < kPcmSegmentCount)
		return g_pcmSegments[cue].label;
	// The markers carry the numbers of an older count that had no 69.
	size_t number = 33 + (cue - kPcmSegmentCount);
	if (number >= 69)
		++number;
	return "Marker " + std::to_string(number);
}

namespace
{
class Writer
{
public:
	explicit Writer(size_t capacity) { m_bytes.reserve(capacity); }
	void tag(const char* fourcc)
	{
		for (int i = 0; i < 4; ++i)
			m_bytes.push_back(static_cast<uint8_t>(fourcc[i]));
	}
	void u16(uint32_t v)
	{
		m_bytes.push_back(static_cast<uint8_t>(v));
		m_bytes.push_back(static_cast<uint8_t>(v >> 8));
	}
	void u32(uint32_t v)
	{
		u16(v & 0xffff);
		u16(v >> 16);
	}
	void text(const std::string& s) { m_bytes.insert(m_bytes.end(), s.begin(), s.end()); }
	void zeros(size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }
	size_t size() const { return m_bytes.size(); }
	std::vector<uint8_t>& bytes() { return m_bytes; }

	// A sub-chunk whose body is a cue identifier and NUL-terminated text, padded to an even length.
	void textChunk(const char* fourcc, uint32_t id, const std::string& s)
	{
		const uint32_t length = static_cast<uint32_t>(4 + s.size() + 1);
		tag(fourcc);
		u32(length);
		u32(id);
		text(s);
		zeros(1 + (length & 1));
	}

private:
	std::vector<uint8_t> m_bytes;
};

std::string xmpPacket(size_t bodyLength)
{
	const std::string head =
		"<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
		"<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
		" <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
		"  <rdf:Description rdf:about=\"\"\n"
		"    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
		"    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
		"   xmp:CreatorTool=\"Virel waverom generator 1.0\">\n"
		"   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Virel wave ROM</rdf:li></rdf:Alt></dc:title>\n"
		"   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">204 single-cycle waves in five "
		"key ranges and 30 synthesised sample segments, 8-bit at 50000 Hz</rdf:li></rdf:Alt></dc:description>\n"
		"  </rdf:Description>\n"
		" </rdf:RDF>\n"
		"</x:xmpmeta>\n";
	const std::string tail = "<?xpacket end=\"w\"?>";
	if (head.size() + tail.size() > bodyLength)
		throw std::logic_error("no room for the metadata packet");
	// Packets are padded with whitespace so they can be edited in place; 99 blanks and a line break.
	std::string padding;
	const size_t fill = bodyLength - head.size() - tail.size();
	padding.reserve(fill);
	while (padding.size() < fill)
		padding += (padding.size() % 100 == 99) ? '\n' : ' ';
	return head + padding + tail;
}
}

std::vector<uint8_t> buildImage(const std::vector<uint8_t>& samples)
{
	if (samples.size() != kSampleCount)
		throw std::invalid_argument("the sample area must hold 524288 bytes");

	Writer w(kImageSize);
	w.tag("RIFF");
	w.u32(static_cast<uint32_t>(kImageSize - 8));
	w.tag("WAVE");

	w.tag("fmt ");
	w.u32(16);
	w.u16(1);
	w.u16(1);
	w.u32(kRomRate);
	w.u32(kRomRate);
	w.u16(1);
	w.u16(8);

	w.tag("data");
	w.u32(static_cast<uint32_t>(kSampleCount));
	w.bytes().insert(w.bytes().end(), samples.begin(), samples.end());

	w.tag("cue ");
	w.u32(static_cast<uint32_t>(4 + kCueCount * 24));
	w.u32(static_cast<uint32_t>(kCueCount));
	for (size_t i = 0; i < kCueCount; ++i)
	{
		w.u32(static_cast<uint32_t>(i + 1));
		w.u32(cuePosition(i));
		w.tag("data");
		w.u32(0);
		w.u32(0);
		w.u32(cuePosition(i));
	}

	const size_t listStart = w.size();
	w.tag("LIST");
	w.u32(0);
	w.tag("adtl");
	for (size_t i = 0; i < kCueCount; ++i)
		w.textChunk("labl", static_cast<uint32_t>(i + 1), cueLabel(i));
	for (size_t i = 0; i < kCueCount; ++i)
	{
		w.tag("ltxt");
		w.u32(20);
		w.u32(static_cast<uint32_t>(i + 1));
		w.u32(0);
		w.tag("rgn ");
		w.zeros(8);
	}
	for (size_t i = 0; i < kCueCount; ++i)
		w.textChunk("note", static_cast<uint32_t>(i + 1), "");
	const uint32_t listLength = static_cast<uint32_t>(w.size() - listStart - 8);
	for (int b = 0; b < 4; ++b)
		w.bytes()[listStart + 4 + b] = static_cast<uint8_t>(listLength >> (8 * b));

	const size_t xmpBody = kImageSize - w.size() - 8;
	w.tag("_PMX");
	w.u32(static_cast<uint32_t>(xmpBody));
	w.text(xmpPacket(xmpBody));

	if (w.size() != kImageSize)
		throw std::logic_error("image size mismatch");
	return std::move(w.bytes());
}
}
