#include "MultiDump.h"

#include <algorithm>
#include <array>

#include "synth/SingleRecord.h"

namespace banks
{
namespace
{
constexpr int MultiCount = 32;
constexpr int SectionCount = 8;
constexpr int SectionBytes = 8;
constexpr int SectionsOffset = 11;
constexpr uint8_t MultiVolume = 100;

struct Part
{
	int single = 0;
	int lowKey = 0;
	int highKey = 127;
	int level = 0; // 0..15, 0: the section is off
	int transpose = 0; // semitones -24..+24
	int fine = 0; // -50..+50
};

std::array<uint8_t, SectionBytes> encode(int channel, const Part& part)
{
	return {static_cast<uint8_t>(channel & 7),
	        static_cast<uint8_t>(part.single & 0x3F),
	        static_cast<uint8_t>(std::clamp(part.lowKey, 0, 127)),
	        static_cast<uint8_t>(std::clamp(part.level, 0, 15)),
	        0,
	        static_cast<uint8_t>(std::clamp(part.transpose, -24, 24) + 24),
	        static_cast<uint8_t>(std::clamp(part.fine, -50, 50) + 50),
	        static_cast<uint8_t>(std::clamp(part.highKey, 0, 127))};
}

// A single's name without blanks, cut to n characters: enough to recognise it in a multi's name.
std::string shortName(const std::string& name, size_t n)
{
	std::string out;
	for (char c : name)
		if (c != ' ')
			out += c;
	return out.substr(0, n);
}

// Multi k combines single k with a partner from the other half of the bank, in four kinds:
// a layer, a keyboard split at middle C, a three-part stack, and an octave double.
std::vector<Part> combination(int k, std::string& name, const std::vector<std::string>& names)
{
	const int a = k;
	const int b = (k + 32) % 64;
	const int c = (k + 16) % 64;
	switch (k % 4)
	{
	case 0:
		name = shortName(names[a], 5) + "+" + shortName(names[b], 4);
		return {{a, 0, 127, 13, 0, 0}, {b, 0, 127, 11, 0, 3}};
	case 1:
		name = shortName(names[b], 5) + "/" + shortName(names[a], 4);
		return {{b, 0, 59, 13, 0, 0}, {a, 60, 127, 12, 0, 0}};
	case 2:
		name = shortName(names[a], 3) + "+" + shortName(names[b], 3) + "+" + shortName(names[c], 2);
		return {{a, 0, 127, 12, 0, 0}, {b, 0, 127, 10, 0, -4}, {c, 0, 127, 9, 0, 4}};
	default:
		name = shortName(names[a], 6) + " Oct";
		return {{a, 0, 127, 13, 0, 0}, {a, 0, 127, 10, 12, 2}};
	}
}
}

std::vector<uint8_t> multiDump(const std::vector<std::string>& singleNames)
{
	std::vector<uint8_t> dump = {0xF0, 0x40, 0x00, 0x21, 0x00, 0x03, 0x00, 0x40};
	for (int k = 0; k < MultiCount; ++k)
	{
		std::string name;
		const std::vector<Part> parts = combination(k, name, singleNames);
		uint8_t record[zentlib::MultiRecordSize] = {};
		zentlib::writeName(record, name.substr(0, zentlib::NameLength).c_str(), zentlib::NameLength);
		record[10] = MultiVolume;
		for (int s = 0; s < SectionCount; ++s)
		{
			const Part part = s < static_cast<int>(parts.size()) ? parts[s] : Part{};
			const auto bytes = encode(s, part);
			std::copy(bytes.begin(), bytes.end(), record + SectionsOffset + SectionBytes * s);
		}
		record[zentlib::MultiRecordSize - 1] = zentlib::getChecksum(record, zentlib::MultiRecordSize - 1);
		dump.insert(dump.end(), record, record + zentlib::MultiRecordSize);
	}
	dump.push_back(0xF7);
	return dump;
}
}
