#include "Waveforms.h"

#include "WavLoader.h"
#include "data/zentdata.h"
#include "log.h"

#include <bitset>
#include <cctype>
#include <cstring>
#include <string>

namespace zentlib
{
namespace
{
// What the sources' fast power-of-two approximation gives for pitch 68: a sampled wave then plays
// its data at exactly the ROM rate at that pitch.
constexpr float g_pcmRootFreq = 415.28961f;

// First key index of cyclic tables 1..4; keys below 48 use table 0.
constexpr size_t g_tableThresholds[] = {48, 60, 72, 84};

// Leading decimal digits as a number, 0 when there are none; saturates instead of wrapping.
uint64_t parseNumber(const std::string& text, size_t pos)
{
	uint64_t value = 0;
	for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
	{
		const uint64_t digit = static_cast<uint64_t>(text[pos] - '0');
		value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
	}
	return value;
}

bool contains(const std::string& text, char c)
{
	return text.find(c) != std::string::npos;
}
}

Waveforms::Waveforms()
{
	loadFromMemory();
}

Waveforms::Waveforms(const unsigned char* image, size_t size)
{
	loadFromMemory(image, size);
}

void Waveforms::loadFromMemory()
{
	loadFromMemory(zentdata::getData_waverom(), zentdata::getDataSize_waverom());
}

bool Waveforms::canRandomStart(unsigned char wave) const
{
	const Waveform& w = m_waveforms[wave];
	return wave >= CyclicWaveCount && w.looped && !w.pingPong && !w.extended;
}

void Waveforms::clear()
{
	for (Waveform& w : m_waveforms)
		w = Waveform();
}

void Waveforms::buildCyclic(size_t index, size_t start, float romRate)
{
	float* tables = &m_cyclicTables[index * CyclicTablesPerWave * CyclicTableLength];
	// The ROM holds half a cycle per table; the second half is the first one mirrored and negated.
	for (size_t t = 0; t < CyclicTablesPerWave; ++t)
	{
		float* table = tables + t * CyclicTableLength;
		const float* half = &m_rom[start + t * (CyclicTableLength / 2)];
		for (size_t j = 0; j < CyclicTableLength / 2; ++j)
		{
			table[j] = half[j];
			table[CyclicTableLength - 1 - j] = -half[j];
		}
	}

	Waveform& w = m_waveforms[index];
	size_t t = 0;
	for (size_t key = 0; key < KeyCount; ++key)
	{
		while (t < std::size(g_tableThresholds) && key >= g_tableThresholds[t])
			++t;
		w.perKey[key] = WaveformData{tables + t * CyclicTableLength, CyclicTableLength, romRate * 0.00390625f};
	}
	w.romRate = romRate;
	w.looped = true;
	w.pingPong = false;
}

void Waveforms::loadFromMemory(const unsigned char* image, size_t size)
{
	// Loaded aside first: entries may point into the current samples until they are rebuilt.
	std::vector<float> rom;
	std::vector<CuePoint> cues;
	int sampleRate = 0;
	size_t count = 0;
	if (!WavLoader::load(nullptr, count, rom, sampleRate, &cues, image, size))
	{
		ZENT_LOG("Failed to load Wave ROM");
		return;
	}
	clear();
	m_rom = std::move(rom);
	const float romRate = static_cast<float>(sampleRate);

	if (cues.size() < 2)
		return;

	std::bitset<g_waveformCount> defined;
	size_t cyclic = 0;

	for (size_t i = 0; i + 1 < cues.size(); ++i)
	{
		const uint64_t start = cues[i].position;
		const uint64_t length = cues[i + 1].position - start;

		if (length == CyclicSegmentLength)
		{
			if (cyclic >= CyclicWaveCount)
				continue;
			if (start > m_rom.size() || m_rom.size() - start < CyclicSegmentLength)
			{
				ZENT_LOG("Error: wave data out of bounds");
				return;
			}
			buildCyclic(cyclic, static_cast<size_t>(start), romRate);
			defined.set(cyclic);
			++cyclic;
			continue;
		}

		std::string label = cues[i].label;
		for (char& c : label)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

		size_t tokenStart = 0;
		while (tokenStart <= label.size())
		{
			size_t tokenEnd = label.find(' ', tokenStart);
			if (tokenEnd == std::string::npos)
				tokenEnd = label.size();
			const std::string token = label.substr(tokenStart, tokenEnd - tokenStart);
			tokenStart = tokenEnd + 1;
			if (token.empty())
				continue;

			if (token[0] != 'w')
			{
				ZENT_LOG("Invalid waveform desc " << token);
				return;
			}

			const uint64_t index = parseNumber(token, 1) - 1;
			if (index >= g_waveformCount)
			{
				ZENT_LOG("Error: Invalid waveform " << index);
				return;
			}
			if (defined.test(index))
				ZENT_LOG("Error: Waveform " << index << " is defined twice!");
			defined.set(index);

			Waveform& w = m_waveforms[index];
			w.romRate = romRate;
			w.pingPong = contains(token, 'a');
			if (w.pingPong || contains(token, 'l'))
			{
				w.looped = true;
			}
			else
			{
				const char* name = g_waveformNames[index];
				w.looped = std::strstr(name, "Loop") || std::strstr(name, " Alt");
			}
			w.extended = false;

			uint64_t n = length;
			if (contains(token, 'l'))
			{
				const uint64_t k = parseNumber(token, token.find('l') + 1);
				if (k >= cues.size() - i)
				{
					ZENT_LOG("Error: cue point index out of bounds");
					return;
				}
				n = cues[i + k].position - start;
				w.extended = true;
			}

			if (start > m_rom.size() || m_rom.size() - start < n)
			{
				ZENT_LOG("Error: wave data out of bounds");
				return;
			}

			const float* data = m_rom.data() + start;
			if (w.pingPong)
			{
				w.buffer.resize(2 * n);
				for (uint64_t j = 0; j < n; ++j)
				{
					w.buffer[j] = data[j];
					w.buffer[2 * n - 1 - j] = data[j];
				}
				data = w.buffer.data();
				n *= 2;
			}
			else
			{
				w.buffer.clear();
			}

			for (size_t key = 0; key < KeyCount; ++key)
				w.perKey[key] = WaveformData{data, n, g_pcmRootFreq};
		}
	}
}
}
