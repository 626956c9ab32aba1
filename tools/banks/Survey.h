#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "Listening.h"

// The library as a player tries it: one held note, one chord and three notes to compare by ear,
// for every single. The library test holds the figures to their limits; the report draws them.
namespace banks
{
constexpr uint8_t SurveyVelocity = 100;
constexpr double SurveyHoldSeconds = 2.0;
constexpr uint8_t SurveyKey = 60;
constexpr double StrikeLeapDb = 3.0;
// Two singles whose prints lie closer than this at all three notes sound alike.
constexpr double TwinDistanceDb = 2.0;
// The chord a player tries first: C4, E4, G4, C5.
const std::vector<uint8_t>& surveyChord();
// The notes at which two singles are compared: C3, C4, C5.
constexpr std::array<uint8_t, 3> PrintKeys = {48, 60, 72};

struct NoteSurvey
{
	std::string name;
	double peakDb = -200.0;       // C4 at velocity 100
	double secondsToPeak = 0.0;   // of that note, held
	// Moments within the hold at which a one-shot wave of a heard source comes back round and
	// the level leaps by 3 dB or more: the note strikes again.
	std::vector<double> strikes;
	bool finite = true;
	std::vector<double> levels;   // of that note, RMS in 10 ms frames over hold and release
};

// C4 held for SurveyHoldSeconds, then 0.3 s of release.
NoteSurvey surveyNote(Audition& audition, size_t index);
// Peak of the chord in dBFS, held until the slowest source has had its attack (at most 4 s).
double surveyChordPeakDb(Audition& audition, size_t index);
// The single's prints at the three PrintKeys.
std::array<Print, PrintKeys.size()> surveyPrints(Audition& audition, size_t index);
// The largest of the three distances: two singles are near-twins when even this is small.
double twinDistanceDb(const std::array<Print, PrintKeys.size()>& a, const std::array<Print, PrintKeys.size()>& b);
}
