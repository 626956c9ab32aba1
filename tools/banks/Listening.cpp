#include "Listening.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace banks
{
namespace
{
constexpr double Pi = 3.14159265358979323846;
constexpr double FloorDb = -40.0;
constexpr size_t FftSize = 2048;
constexpr size_t FftHop = 256;
// Where each stretch of a print ends, in seconds.
constexpr double StretchEnds[PrintStretches] = {0.06, 0.25, PrintHoldSeconds, PrintHoldSeconds + PrintReleaseSeconds};

void fft(std::vector<std::complex<double>>& x)
{
	const size_t n = x.size();
	for (size_t i = 1, j = 0; i < n; ++i)
	{
		size_t bit = n >> 1;
		for (; j & bit; bit >>= 1)
			j ^= bit;
		j ^= bit;
		if (i < j)
			std::swap(x[i], x[j]);
	}
	for (size_t len = 2; len <= n; len <<= 1)
	{
		const std::complex<double> turn = std::polar(1.0, -2.0 * Pi / static_cast<double>(len));
		for (size_t start = 0; start < n; start += len)
		{
			std::complex<double> w = 1.0;
			for (size_t k = 0; k < len / 2; ++k)
			{
				const std::complex<double> a = x[start + k];
				const std::complex<double> b = x[start + k + len / 2] * w;
				x[start + k] = a + b;
				x[start + k + len / 2] = a - b;
				w *= turn;
			}
		}
	}
}

// Band of a frequency, or PrintBands when it lies outside them all.
size_t bandOf(double hz)
{
	for (size_t b = 0; b < PrintBands; ++b)
	{
		const double edge = bandHz(b) * std::pow(2.0, 1.0 / 6.0);
		if (hz < edge)
			return hz >= bandHz(b) / std::pow(2.0, 1.0 / 6.0) ? b : PrintBands;
	}
	return PrintBands;
}
}

double toDb(double gain)
{
	return gain > 0.0 ? 20.0 * std::log10(gain) : -200.0;
}

double peakDb(const Take& take)
{
	return toDb(take.peak);
}

double bandHz(size_t band)
{
	return 1000.0 * std::pow(2.0, (static_cast<double>(band) - 15.0) / 3.0);
}

std::vector<double> levelsDb(const Take& take, double frameSeconds)
{
	const size_t frame = std::max<size_t>(1, static_cast<size_t>(frameSeconds * take.rate));
	std::vector<double> levels;
	for (size_t start = 0; start + frame <= take.mono.size(); start += frame)
	{
		double sum = 0.0;
		for (size_t i = start; i < start + frame; ++i)
			sum += double(take.mono[i]) * take.mono[i];
		levels.push_back(sum > 0.0 ? 10.0 * std::log10(sum / frame) : -200.0);
	}
	return levels;
}

double secondsToPeak(const Take& take)
{
	constexpr double Frame = 0.005;
	const std::vector<double> levels = levelsDb(take, Frame);
	if (levels.empty())
		return 0.0;
	const double top = *std::max_element(levels.begin(), levels.end());
	const auto first = std::find_if(levels.begin(), levels.end(), [&](double l) { return l >= top - 3.0; });
	return static_cast<double>(first - levels.begin()) * Frame;
}

double leapDb(const Take& take, double seconds)
{
	auto rms = [&](double from, double to) {
		const size_t a = static_cast<size_t>(std::max(0.0, from) * take.rate);
		const size_t b = std::min(take.mono.size(), static_cast<size_t>(std::max(0.0, to) * take.rate));
		double sum = 0.0;
		for (size_t i = a; i < b; ++i)
			sum += double(take.mono[i]) * take.mono[i];
		return b > a && sum > 0.0 ? 10.0 * std::log10(sum / static_cast<double>(b - a)) : -200.0;
	};
	const std::vector<double> levels = levelsDb(take, 0.01);
	const double loudest = levels.empty() ? -200.0 : *std::max_element(levels.begin(), levels.end());
	const double after = rms(seconds, seconds + 0.01);
	if (after < loudest - 40.0)
		return 0.0;
	return after - rms(seconds - 0.02, seconds);
}

Print soundPrint(const Take& take)
{
	Print energy{};
	std::vector<double> window(FftSize);
	for (size_t i = 0; i < FftSize; ++i)
		window[i] = 0.5 - 0.5 * std::cos(2.0 * Pi * static_cast<double>(i) / FftSize);
	std::array<size_t, FftSize / 2> bands{};
	for (size_t k = 0; k < FftSize / 2; ++k)
		bands[k] = bandOf(static_cast<double>(k) * take.rate / FftSize);

	std::vector<std::complex<double>> x(FftSize);
	for (size_t centre = 0; centre < take.mono.size(); centre += FftHop)
	{
		const double t = static_cast<double>(centre) / take.rate;
		const size_t stretch = static_cast<size_t>(std::find_if(std::begin(StretchEnds), std::end(StretchEnds),
		                                                        [&](double end) { return t < end; }) -
		                                           std::begin(StretchEnds));
		if (stretch >= PrintStretches)
			break;
		for (size_t i = 0; i < FftSize; ++i)
		{
			const long at = static_cast<long>(centre + i) - static_cast<long>(FftSize / 2);
			const double v = at >= 0 && static_cast<size_t>(at) < take.mono.size() ? take.mono[static_cast<size_t>(at)] : 0.0;
			x[i] = v * window[i];
		}
		fft(x);
		for (size_t k = 1; k < FftSize / 2; ++k)
			if (bands[k] < PrintBands)
				energy[stretch][bands[k]] += std::norm(x[k]);
	}

	double top = 0.0;
	for (const auto& row : energy)
		for (double e : row)
			top = std::max(top, e);
	Print print{};
	for (size_t s = 0; s < PrintStretches; ++s)
		for (size_t b = 0; b < PrintBands; ++b)
			print[s][b] = top > 0.0 && energy[s][b] > 0.0 ? std::max(FloorDb, 10.0 * std::log10(energy[s][b] / top)) : FloorDb;
	return print;
}

double printDistanceDb(const Print& a, const Print& b)
{
	double sum = 0.0;
	size_t count = 0;
	for (size_t s = 0; s < PrintStretches; ++s)
		for (size_t k = 0; k < PrintBands; ++k)
			if (std::max(a[s][k], b[s][k]) > FloorDb)
			{
				sum += (a[s][k] - b[s][k]) * (a[s][k] - b[s][k]);
				++count;
			}
	return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}
}
