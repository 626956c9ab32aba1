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
	for (size_t w = 0; w < 204; ++w)
		for (size_t t = 0; t < 5; ++t)
		{
			const Cycle c = cyclicCycle(romImage(), w, t);
			EXPECT_GE(rangeUse(c), 0.6) << nameOf(w) << " (" << w + 1 << ") table " << t;
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
