#include "Survey.h"

#include <algorithm>

#include "Rules.h"
#include "synth/Curves.h"

namespace banks
{
namespace
{
// Seconds until the slowest sounding source has finished its delay and attack.
double attackEnd(const zentlib::SinglePreset& s)
{
	double end = 0.0;
	for (int i = 0; i < sourceCount(s); ++i)
	{
		const auto& src = s.sources[i];
		end = std::max(end, double(zentlib::envDelayTime(static_cast<uint8_t>(src.envDelay))) +
		                        zentlib::envAttackTime(static_cast<uint8_t>(src.envAttack)));
	}
	return end;
}
}

const std::vector<uint8_t>& surveyChord()
{
	static const std::vector<uint8_t> chord = {60, 64, 67, 72};
	return chord;
}

NoteSurvey surveyNote(Audition& audition, size_t index)
{
	NoteSurvey survey;
	const zentlib::SinglePreset single = audition.single(index);
	survey.name = single.name;
	const Take take = audition.play(index, {SurveyKey}, SurveyVelocity, SurveyHoldSeconds, 0.3);
	survey.peakDb = peakDb(take);
	survey.finite = take.finite;
	survey.levels = levelsDb(take, 0.01);
	Take held = take;
	held.mono.resize(static_cast<size_t>(SurveyHoldSeconds * take.rate));
	survey.secondsToPeak = secondsToPeak(held);
	for (int i = 0; i < sourceCount(single); ++i)
	{
		const double wrap = isHeard(single, i) ? wrapSeconds(single.sources[i], SurveyKey) : 0.0;
		for (double t = wrap; wrap > 0.0 && t < SurveyHoldSeconds; t += wrap)
			if (leapDb(held, t) >= StrikeLeapDb)
				survey.strikes.push_back(t);
	}
	std::sort(survey.strikes.begin(), survey.strikes.end());
	return survey;
}

double surveyChordPeakDb(Audition& audition, size_t index)
{
	const double hold = std::min(attackEnd(audition.single(index)), 4.0) + 0.3;
	return peakDb(audition.play(index, surveyChord(), SurveyVelocity, hold, 0.0));
}

std::array<Print, PrintKeys.size()> surveyPrints(Audition& audition, size_t index)
{
	std::array<Print, PrintKeys.size()> prints{};
	for (size_t k = 0; k < PrintKeys.size(); ++k)
		prints[k] = soundPrint(audition.play(index, {PrintKeys[k]}, SurveyVelocity, PrintHoldSeconds, PrintReleaseSeconds));
	return prints;
}

double twinDistanceDb(const std::array<Print, PrintKeys.size()>& a, const std::array<Print, PrintKeys.size()>& b)
{
	double distance = 0.0;
	for (size_t k = 0; k < PrintKeys.size(); ++k)
		distance = std::max(distance, printDistanceDb(a[k], b[k]));
	return distance;
}
}
