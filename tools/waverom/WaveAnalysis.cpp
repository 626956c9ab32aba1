#include "WaveAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace waverom
{
namespace
{
uint32_t u32(const uint8_t* p)
{
	return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr double kPi = 3.14159265358979323846;

// Magnitude of a (windowed) signal's spectrum at one frequency in cycles per sample, by a rotating
// phasor instead of a sine and cosine per sample.
double magnitudeAt(const std::vector<double>& windowed, double freq)
{
	const double c = std::cos(2.0 * kPi * freq), s = std::sin(2.0 * kPi * freq);
	double pr = 1.0, pi = 0.0, re = 0.0, im = 0.0;
	for (double v : windowed)
	{
		re += v * pr;
		im -= v * pi;
		const double nr = pr * c - pi * s;
		pi = pr * s + pi * c;
		pr = nr;
	}
	return std::sqrt(re * re + im * im);
}
}

bool RomView::parse(const uint8_t* data, size_t size)
{
	if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
		return false;
	std::vector<std::pair<uint32_t, uint32_t>> cueRecords; // identifier, position
	std::vector<std::pair<uint32_t, std::string>> texts;
	bool haveData = false;
	for (size_t at = 12; at + 8 <= size;)
	{
		const uint32_t length = u32(data + at + 4);
		const uint8_t* body = data + at + 8;
		if (length > size - at - 8)
			return false;
		if (std::memcmp(data + at, "fmt ", 4) == 0 && length >= 16)
		{
			rate = u32(body + 4);
			if ((body[14] | (body[15] << 8)) != 8)
				return false;
		}
		else if (std::memcmp(data + at, "data", 4) == 0)
		{
			samples.resize(length);
			for (uint32_t i = 0; i < length; ++i)
				samples[i] = (static_cast<int>(body[i]) - 128) / 128.0;
			haveData = true;
		}
		else if (std::memcmp(data + at, "cue ", 4) == 0 && length >= 4)
		{
			const uint32_t count = std::min<uint32_t>(u32(body), (length - 4) / 24);
			for (uint32_t i = 0; i < count; ++i)
				cueRecords.emplace_back(u32(body + 4 + i * 24), u32(body + 4 + i * 24 + 4));
		}
		else if (std::memcmp(data + at, "LIST", 4) == 0 && length >= 4)
		{
			for (size_t sub = 4; sub + 8 <= length;)
			{
				const uint32_t subLength = u32(body + sub + 4);
				if (subLength > length - sub - 8)
					return false;
				if (std::memcmp(body + sub, "labl", 4) == 0 && subLength >= 4)
				{
					std::string text(reinterpret_cast<const char*>(body + sub + 12), subLength - 4);
					text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
					texts.emplace_back(u32(body + sub + 8), text);
				}
				sub += 8 + subLength + (subLength & 1);
			}
		}
		at += 8 + length + (length & 1);
	}
	std::sort(cueRecords.begin(), cueRecords.end());
	for (const auto& [id, position] : cueRecords)
	{
		cues.push_back(position);
		std::string label;
		for (const auto& [textId, text] : texts)
			if (textId == id)
				label = text;
		labels.push_back(label);
	}
	return haveData && rate != 0;
}

Cycle cyclicCycle(const RomView& rom, size_t wave, size_t table)
{
	Cycle c{};
	const size_t start = rom.cues.at(30 + wave) + 128 * table;
	for (size_t j = 0; j < 128; ++j)
	{
		c[j] = rom.samples.at(start + j);
		c[255 - j] = -rom.samples.at(start + j);
	}
	return c;
}

Harmonics harmonics(const Cycle& cycle)
{
	static const auto twiddles = [] {
		std::array<std::pair<double, double>, 256> t{};
		for (size_t k = 0; k < 256; ++k)
			t[k] = {std::cos(2.0 * kPi * static_cast<double>(k) / 256.0), std::sin(2.0 * kPi * static_cast<double>(k) / 256.0)};
		return t;
	}();
	Harmonics h{};
	for (size_t n = 0; n <= 128; ++n)
	{
		double re = 0.0, im = 0.0;
		for (size_t j = 0; j < 256; ++j)
		{
			const auto& [c, s] = twiddles[(n * j) & 255];
			re += cycle[j] * c;
			im -= cycle[j] * s;
		}
		h[n] = std::sqrt(re * re + im * im) / (n == 0 || n == 128 ? 256.0 : 128.0);
	}
	return h;
}

int harmonicLimit(size_t table)
{
	// Top keys 47, 59, 71, 83 and 96 at 440 * 2^((key - 69) / 12) Hz against 24,960 Hz.
	static const int limits[5] = {127, 101, 50, 25, 11};
	return limits[table];
}

bool isPitched(size_t segment)
{
	static const size_t unpitched[] = {4, 8, 9, 10, 13, 17, 24, 25, 26, 28, 29};
	return segment < 30 && std::find(std::begin(unpitched), std::end(unpitched), segment) == std::end(unpitched);
}

uint64_t fnv1a(const uint8_t* data, size_t size)
{
	uint64_t h = 0xcbf29ce484222325ull;
	for (size_t i = 0; i < size; ++i)
	{
		h ^= data[i];
		h *= 0x100000001b3ull;
	}
	return h;
}

size_t segmentOf(const RomView& rom, uint32_t start)
{
	return static_cast<size_t>(std::find(rom.cues.begin(), rom.cues.end(), start) - rom.cues.begin());
}

std::vector<PcmWave> pcmWaves(const RomView& rom)
{
	std::vector<PcmWave> waves;
	for (size_t i = 0; i + 1 < rom.cues.size(); ++i)
	{
		const uint32_t start = rom.cues[i];
		const uint32_t length = rom.cues[i + 1] - start;
		if (length == 640)
			continue;
		std::string label = rom.labels[i];
		std::transform(label.begin(), label.end(), label.begin(), [](unsigned char c) { return std::tolower(c); });
		size_t pos = 0;
		while (pos < label.size())
		{
			size_t end = label.find(' ', pos);
			if (end == std::string::npos)
				end = label.size();
			const std::string token = label.substr(pos, end - pos);
			pos = end + 1;
			if (token.empty() || token[0] != 'w')
				continue;
			PcmWave w;
			w.number = std::atoi(token.c_str() + 1);
			w.start = start;
			w.length = length;
			w.pingPong = token.find('a') != std::string::npos;
			const size_t l = token.find('l');
			if (l != std::string::npos)
			{
				const size_t k = static_cast<size_t>(std::atoi(token.c_str() + l + 1));
				if (i + k < rom.cues.size())
				{
					w.length = rom.cues[i + k] - start;
					w.extended = true;
				}
			}
			w.data.assign(rom.samples.begin() + w.start, rom.samples.begin() + w.start + w.length);
			if (w.pingPong)
			{
				w.data.insert(w.data.end(), w.data.rbegin(), w.data.rend());
				w.length *= 2;
			}
			waves.push_back(std::move(w));
		}
	}
	std::sort(waves.begin(), waves.end(), [](const PcmWave& a, const PcmWave& b) { return a.number < b.number; });
	return waves;
}

double rangeUse(const std::vector<double>& x)
{
	if (x.empty())
		return 0.0;
	const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
	return (*hi - *lo) * 128.0 / 255.0;
}

double rangeUse(const Cycle& x)
{
	return rangeUse(std::vector<double>(x.begin(), x.end()));
}

double tailPeakDb(const std::vector<double>& x, double fraction)
{
	const size_t from = x.size() - static_cast<size_t>(static_cast<double>(x.size()) * fraction);
	double peak = 0.0;
	for (size_t i = from; i < x.size(); ++i)
		peak = std::max(peak, std::fabs(x[i]));
	return peak > 0.0 ? 20.0 * std::log10(peak) : -200.0;
}

double seamJump(const std::vector<double>& x)
{
	return std::fabs(x.front() - x.back());
}

double typicalStep(const std::vector<double>& x)
{
	std::vector<double> steps;
	steps.reserve(x.size());
	for (size_t i = 1; i < x.size(); ++i)
		steps.push_back(std::fabs(x[i] - x[i - 1]));
	const size_t k = steps.size() * 95 / 100;
	std::nth_element(steps.begin(), steps.begin() + k, steps.end());
	return std::max(steps[k], 1.0 / 128.0);
}

PitchEstimate estimatePitch(const std::vector<double>& x, size_t offset, size_t count, double rate, double reference)
{
	std::vector<double> windowed(count);
	for (size_t i = 0; i < count; ++i)
		windowed[i] = x[offset + i] * (0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / static_cast<double>(count)));
	PitchEstimate best;
	double bestMag = -1.0;
	auto probe = [&](double f) {
		const double m = magnitudeAt(windowed, f / rate);
		if (m > bestMag)
		{
			bestMag = m;
			best.hz = f;
		}
	};
	for (int cents = -50; cents <= 50; ++cents)
		probe(reference * std::pow(2.0, cents / 1200.0));
	const double coarse = best.hz;
	for (int tenth = -10; tenth <= 10; ++tenth)
		probe(coarse * std::pow(2.0, tenth / 12000.0));
	best.cents = 1200.0 * std::log2(best.hz / reference);
	// The strongest partial up to the 24th, allowing for stretched (inharmonic) partials.
	double strongest = bestMag;
	for (int n = 2; n <= 24 && best.hz * n * 1.05 < rate / 2; ++n)
		for (int d = -4; d <= 12; ++d)
			strongest = std::max(strongest, magnitudeAt(windowed, best.hz * n * (1.0 + d * 0.003) / rate));
	best.strengthDb = 20.0 * std::log10(bestMag / strongest);
	return best;
}
}
