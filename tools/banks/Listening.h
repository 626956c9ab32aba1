#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "Audition.h"

// What a player notices in a take, in numbers: how loud, how soon it arrives, whether it strikes
// again while held, and what it sounds like as a whole, so that two sounds can be compared.
namespace banks
{
double toDb(double gain);
double peakDb(const Take& take);

// RMS level of consecutive frames in dB.
std::vector<double> levelsDb(const Take& take, double frameSeconds);

// Seconds until the level first comes within 3 dB of its highest point.
double secondsToPeak(const Take& take);

// How far the level leaps at a moment: the RMS level of the 10 ms after it against the 20 ms
// before it, in dB; 0 when what follows lies more than 40 dB under the take's loudest 10 ms.
double leapDb(const Take& take, double seconds);

// A note's sound in time and frequency: third-octave band levels (31.5 Hz .. 16 kHz) over four
// stretches (the onset, the first quarter second, the held note, the release), in dB against
// the strongest cell and floored at -40 dB.
constexpr size_t PrintBands = 28;
constexpr size_t PrintStretches = 4;
using Print = std::array<std::array<double, PrintBands>, PrintStretches>;
constexpr double PrintHoldSeconds = 0.6;
constexpr double PrintReleaseSeconds = 0.2;
// For a take of PrintHoldSeconds held and PrintReleaseSeconds released.
Print soundPrint(const Take& take);
// RMS difference in dB over the cells that either print holds above its floor.
double printDistanceDb(const Print& a, const Print& b);
// Centre frequency of a band.
double bandHz(size_t band);
}
