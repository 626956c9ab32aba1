#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "RomTestImage.h"
#include "synth/WaveformNames.h"

using namespace waverom;

namespace
{
double db(double x)
{
	return 20.0 * std::log10(x);
}

double strongest(const Harmonics& h, int* at = nullptr)
{
	double best = 0.0;
	for (int n = 1; n <= 128; ++n)
		if (h[n] > best)
		{
			best = h[n];
			if (at)
				*at = n;
		}
	return best;
}

std::string nameOf(size_t wave)
{
	return zentlib::g_waveformNames[wave] + 5;
}
}

TEST(CyclicWaves, SinesArePureSingleHarmonicsWithEqualTables)
{
	const int harmonic[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16};
	for (size_t w = 0; w < 13; ++w)
	{
		SCOPED_TRACE(nameOf(w));
		const Cycle first = cyclicCycle(romImage(), w, 0);
		for (size_t t = 1; t < 5; ++t)
			EXPECT_EQ(cyclicCycle(romImage(), w, t), first) << "table " << t;
		const Harmonics h = harmonics(first);
		int at = 0;
		const double peak = strongest(h, &at);
		EXPECT_EQ(at, harmonic[w]);
		for (int n = 1; n <= 128; ++n)
		{
			if (n != at)
			{
				EXPECT_LT(db(h[n] / peak), -40.0) << "harmonic " << n;
			}
		}
	}
}

TEST(CyclicWaves, FirstSawFollowsOneOverNAndItsTablesDiffer)
{
	const Harmonics h = harmonics(cyclicCycle(romImage(), 13, 0));
	for (int n = 2; n <= 20; ++n)
		EXPECT_NEAR(db(h[n] * n / h[1]), 0.0, 1.5) << "harmonic " << n;
	for (size_t t = 1; t < 5; ++t)
		EXPECT_NE(cyclicCycle(romImage(), 13, t), cyclicCycle(romImage(), 13, t - 1)) << "table " << t;
}

TEST(CyclicWaves, TablesStayBelowTheirKeyRangesLimit)
{
	// Sines are exempt: they are the same in every range and may alias at the top.
	for (size_t w = 13; w < 204; ++w)
		for (size_t t = 0; t < 5; ++t)
		{
			const Harmonics h = harmonics(cyclicCycle(romImage(), w, t));
			const double peak = strongest(h);
			double worst = 0.0;
			int at = 0;
			for (int n = harmonicLimit(t) + 1; n <= 128; ++n)
				if (h[n] > worst)
				{
					worst = h[n];
					at = n;
				}
			EXPECT_LT(db(worst / peak), -45.0) << nameOf(w) << " (" << w + 1 << ") table " << t << " harmonic " << at;
		}
}

TEST(CyclicWaves, EveryTableUsesMostOfTheByteRangeWithoutOffset)
{
	// One loudness over all five tables comes first: the tables of the brightest saws stay a
	// little under the full range so that their widest table does not clip.
	for (size_t w = 0; w < 204; ++w)
		for (size_t t = 0; t < 5; ++t)
		{
			const Cycle c = cyclicCycle(romImage(), w, t);
			EXPECT_GE(rangeUse(c), 0.55) << nameOf(w) << " (" << w + 1 << ") table " << t;
			// A mirrored cycle has no DC by construction; what matters is that it is not clipped.
			double peak = 0.0;
			for (double v : c)
				peak = std::max(peak, std::fabs(v));
			EXPECT_LE(peak, 127.0 / 128.0);
		}
}

TEST(CyclicWaves, SameNamedWavesDifferInSpectrum)
{
	for (size_t a = 13; a < 204; ++a)
		for (size_t b = a + 1; b < 204; ++b)
		{
			if (nameOf(a) != nameOf(b))
				continue;
			// Compare table 0 spectra: at least one harmonic differs by 1 dB or more.
			const Harmonics ha = harmonics(cyclicCycle(romImage(), a, 0));
			const Harmonics hb = harmonics(cyclicCycle(romImage(), b, 0));
			const double pa = strongest(ha), pb = strongest(hb);
			double maxDiff = 0.0;
			for (int n = 1; n <= 24; ++n)
				if (ha[n] / pa > 0.01 || hb[n] / pb > 0.01)
					maxDiff = std::max(maxDiff, std::fabs(db((ha[n] / pa + 1e-4) / (hb[n] / pb + 1e-4))));
			EXPECT_GT(maxDiff, 1.0) << nameOf(a) << ": waves " << a + 1 << " and " << b + 1;
		}
}

TEST(CyclicWaves, NeighbouringKeyRangesKeepOneLoudness)
{
	for (size_t w = 0; w < 204; ++w)
		for (size_t t = 1; t < 5; ++t)
		{
			double a = 0.0, b = 0.0;
			for (double v : cyclicCycle(romImage(), w, t - 1))
				a += v * v;
			for (double v : cyclicCycle(romImage(), w, t))
				b += v * v;
			// A step at a range boundary is heard as a key that is louder or softer than its neighbour.
			EXPECT_LT(std::fabs(10.0 * std::log10(b / a)), 0.5) << nameOf(w) << " (" << w + 1 << ") tables " << t - 1 << "/" << t;
		}
}

TEST(CyclicWaves, BasicShapesHaveTheirTextbookSpectra)
{
	auto table0 = [](size_t w) { return harmonics(cyclicCycle(romImage(), w, 0)); };
	// Square 1: odd harmonics at 1/n, no even ones.
	const Harmonics square = table0(32);
	for (int n = 2; n <= 20; n += 2)
		EXPECT_LT(db(square[n] / square[1]), -40.0) << "square harmonic " << n;
	for (int n = 3; n <= 19; n += 2)
		EXPECT_NEAR(db(square[n] * n / square[1]), 0.0, 1.5) << "square harmonic " << n;
	// Triangle: odd harmonics at 1/n^2.
	const Harmonics triangle = table0(38);
	EXPECT_NEAR(db(triangle[3] / triangle[1]), db(1.0 / 9.0), 1.0);
	EXPECT_NEAR(db(triangle[5] / triangle[1]), db(1.0 / 25.0), 1.5);
	EXPECT_LT(db(triangle[2] / triangle[1]), -40.0);
	// Inverse saw: the saw's magnitudes, running the other way.
	const Harmonics inverse = table0(37);
	const Harmonics saw = table0(13);
	for (int n = 1; n <= 10; ++n)
		EXPECT_NEAR(db(inverse[n] / saw[n]), 0.0, 0.5) << n;
	EXPECT_NE(cyclicCycle(romImage(), 37, 0), cyclicCycle(romImage(), 13, 0));
}

TEST(CyclicWaves, InstrumentsKeepTheirCharacter)
{
	auto energy = [](const Harmonics& h, int from, int to, int step) {
		double e = 0.0;
		for (int n = from; n <= to; n += step)
			e += h[n] * h[n];
		return e;
	};
	// Clarinet (116): the low odd harmonics dominate the even ones.
	const Harmonics clarinet = harmonics(cyclicCycle(romImage(), 115, 0));
	EXPECT_GT(10.0 * std::log10(energy(clarinet, 1, 7, 2) / energy(clarinet, 2, 8, 2)), 10.0);
	// Round bass (60) is nearly a sine; a low-group string (42) is rich.
	const Harmonics round = harmonics(cyclicCycle(romImage(), 59, 0));
	EXPECT_GT(10.0 * std::log10(round[1] * round[1] / energy(round, 2, 127, 1)), 10.0);
	const Harmonics string = harmonics(cyclicCycle(romImage(), 41, 0));
	EXPECT_GT(energy(string, 10, 127, 1), 0.05 * energy(string, 1, 127, 1));
	// The hi group's waves are thinner than the low group's of the same instrument (Harp 68 and 200).
	auto centroid = [&](const Harmonics& h) {
		double sum = 0.0;
		for (int n = 1; n <= 127; ++n)
			sum += n * h[n] * h[n];
		return sum / energy(h, 1, 127, 1);
	};
	EXPECT_GT(centroid(harmonics(cyclicCycle(romImage(), 67, 0))), centroid(harmonics(cyclicCycle(romImage(), 199, 0))));
}
