#include "CParam.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "WaveformNames.h"

namespace zentlib
{
namespace
{
// Built on first use: the editor's own tables of view names are made by static initialisers in other
// files, which may run before this file's.
using EnumStrings = std::string[ParamCount];
const EnumStrings& paramEnumStrings()
{
	static const EnumStrings g_paramEnumStrings = {
		"Param_Name01",
		"Param_Name02",
		"Param_Name03",
		"Param_Name04",
		"Param_Name05",
		"Param_Name06",
		"Param_Name07",
		"Param_Name08",
		"Param_Name09",
		"Param_Name10",
		"Param_Volume",
		"Param_PolyMode",
		"Param_Source2or4",
		"Param_AmpModS1S2",
		"Param_AmpModS3S4",
		"Param_PressureToFreq",
		"Param_VibratoDepth",
		"Param_PressureToVibrato",
		"Param_PitchBendDepth",
		"Param_LfoSpeed",
		"Param_LfoShape",
		"Param_KeyScaleCurve",
		"Param_VibWheelMode",
		"Param_AutoBendDepth",
		"Param_AutoBendTime",
		"Param_VelToDepth",
		"Param_AutoBendKeyScaleToTime",
		"Param_SourceS1Mute",
		"Param_SourceS2Mute",
		"Param_SourceS3Mute",
		"Param_SourceS4Mute",
		"Param_SourceS1Fine",
		"Param_SourceS2Fine",
		"Param_SourceS3Fine",
		"Param_SourceS4Fine",
		"Param_SourceS1Coarse",
		"Param_SourceS2Coarse",
		"Param_SourceS3Coarse",
		"Param_SourceS4Coarse",
		"Param_SourceS1Wave",
		"Param_SourceS2Wave",
		"Param_SourceS3Wave",
		"Param_SourceS4Wave",
		"Param_SourceS1KeyTrack",
		"Param_SourceS2KeyTrack",
		"Param_SourceS3KeyTrack",
		"Param_SourceS4KeyTrack",
		"Param_SourceS1VibABend",
		"Param_SourceS2VibABend",
		"Param_SourceS3VibABend",
		"Param_SourceS4VibABend",
		"Param_SourceS1PressureToFreq",
		"Param_SourceS2PressureToFreq",
		"Param_SourceS3PressureToFreq",
		"Param_SourceS4PressureToFreq",
		"Param_SourceS1VelCurve",
		"Param_SourceS2VelCurve",
		"Param_SourceS3VelCurve",
		"Param_SourceS4VelCurve",
		"Param_SourceS1EnvLevel",
		"Param_SourceS2EnvLevel",
		"Param_SourceS3EnvLevel",
		"Param_SourceS4EnvLevel",
		"Param_SourceS1EnvDelay",
		"Param_SourceS2EnvDelay",
		"Param_SourceS3EnvDelay",
		"Param_SourceS4EnvDelay",
		"Param_SourceS1EnvAttack",
		"Param_SourceS2EnvAttack",
		"Param_SourceS3EnvAttack",
		"Param_SourceS4EnvAttack",
		"Param_SourceS1EnvDecay",
		"Param_SourceS2EnvDecay",
		"Param_SourceS3EnvDecay",
		"Param_SourceS4EnvDecay",
		"Param_SourceS1EnvSustain",
		"Param_SourceS2EnvSustain",
		"Param_SourceS3EnvSustain",
		"Param_SourceS4EnvSustain",
		"Param_SourceS1EnvRelease",
		"Param_SourceS2EnvRelease",
		"Param_SourceS3EnvRelease",
		"Param_SourceS4EnvRelease",
		"Param_SourceS1LevelModVel",
		"Param_SourceS2LevelModVel",
		"Param_SourceS3LevelModVel",
		"Param_SourceS4LevelModVel",
		"Param_SourceS1LevelModPressure",
		"Param_SourceS2LevelModPressure",
		"Param_SourceS3LevelModPressure",
		"Param_SourceS4LevelModPressure",
		"Param_SourceS1LevelModKeyScale",
		"Param_SourceS2LevelModKeyScale",
		"Param_SourceS3LevelModKeyScale",
		"Param_SourceS4LevelModKeyScale",
		"Param_SourceS1TimeModVel",
		"Param_SourceS2TimeModVel",
		"Param_SourceS3TimeModVel",
		"Param_SourceS4TimeModVel",
		"Param_SourceS1TimeModKeyScale",
		"Param_SourceS2TimeModKeyScale",
		"Param_SourceS3TimeModKeyScale",
		"Param_SourceS4TimeModKeyScale",
		"Param_SourceS1FreqKeyScaleToFreq",
		"Param_SourceS2FreqKeyScaleToFreq",
		"Param_SourceS3FreqKeyScaleToFreq",
		"Param_SourceS4FreqKeyScaleToFreq",
		"Param_SourceMix12",
		"Param_SourceMix34",
	};
	return g_paramEnumStrings;
}

// Integer part, truncated toward zero. Values outside the 32-bit range saturate and NaN gives 0, so a
// stray host value cannot make the conversion undefined.
int32_t truncToInt(double x)
{
	if (std::isnan(x))
		return 0;
	if (x >= 2147483647.0)
		return std::numeric_limits<int32_t>::max();
	if (x <= -2147483648.0)
		return std::numeric_limits<int32_t>::min();
	return static_cast<int32_t>(x);
}

// Nearest integer, halves away from zero.
int32_t roundToInt(float x)
{
	return truncToInt(std::round(static_cast<double>(x)));
}

template <typename... Args>
std::string format(const char* fmt, Args... args)
{
	char buffer[64];
	std::snprintf(buffer, sizeof(buffer), fmt, args...);
	return buffer;
}

// A text per rounded value; a value without a text shows nothing.
template <size_t N>
std::string fromTable(const char* const (&texts)[N], int32_t i)
{
	if (i < 0 || static_cast<size_t>(i) >= N)
		return {};
	return texts[i];
}

const char* const g_polyModeTexts[] = {"Poly 1", "Poly 2", "Solo"};
const char* const g_sourceCountTexts[] = {"2", "4"};
const char* const g_ampModS1S2Texts[] = {"off", "S2>S1", "S1>S2"};
const char* const g_ampModS3S4Texts[] = {"off", "S4>S3", "S3>S4"};
const char* const g_lfoShapeTexts[] = {"Tri", "Saw", "Square", "Random"};
const char* const g_wheelModeTexts[] = {"Depth", "Speed"};
const char* const g_noteNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

bool isIn(EParam p, EParam first, EParam last)
{
	return p >= first && p <= last;
}
}

const CParam g_params[ParamCount] = {
	{"Name", "01", 17, 32, 127, 32, 1},
	{"Name", "02", 17, 32, 127, 32, 1},
	{"Name", "03", 17, 32, 127, 32, 1},
	{"Name", "04", 17, 32, 127, 32, 1},
	{"Name", "05", 17, 32, 127, 32, 1},
	{"Name", "06", 17, 32, 127, 32, 1},
	{"Name", "07", 17, 32, 127, 32, 1},
	{"Name", "08", 17, 32, 127, 32, 1},
	{"Name", "09", 17, 32, 127, 32, 1},
	{"Name", "10", 17, 32, 127, 32, 1},
	{"Common", "Volume", 1, 1, 100, 100, 1},
	{"Common", "Poly Mode", 7, 0, 2, 0, 1},
	{"Common", "Sources 2/4", 7, 0, 1, 1, 1},
	{"Common", "AM S1/S2", 7, 0, 2, 0, 1},
	{"Common", "AM S3/S4", 7, 0, 2, 0, 1},
	{"Common", "Pressure to Freq", 7, -50, 50, 0, 1},
	{"Common", "Vibrato Depth", 7, -50, 50, 0, 1},
	{"Common", "Pressure to Vibrato", 7, -50, 50, 0, 1},
	{"Common", "Pitch Bend Range", 7, 0, 12, 0, 1},
	{"Lfo", "Speed", 7, 0, 100, 0, 1},
	{"Lfo", "Shape", 7, 0, 3, 0, 1},
	{"Common", "KS Curve", 7, 0, 4, 0, 1},
	{"Common", "Wheel Mode", 7, 0, 1, 0, 1},
	{"AB", "Depth", 7, -50, 50, 0, 1},
	{"AB", "Time", 7, 0, 100, 0, 1},
	{"AB", "Vel=>Depth", 7, -50, 50, 0, 1},
	{"AB", "KS=>Time", 7, -50, 50, 0, 1},
	{"S1", "Mute", 4, 0, 1, 0, 1},
	{"S2", "Mute", 4, 0, 1, 0, 1},
	{"S3", "Mute", 4, 0, 1, 0, 1},
	{"S4", "Mute", 4, 0, 1, 0, 1},
	{"S1", "Fine", 7, -50, 50, 0, 1},
	{"S2", "Fine", 7, -50, 50, 0, 1},
	{"S3", "Fine", 7, -50, 50, 0, 1},
	{"S4", "Fine", 7, -50, 50, 0, 1},
	{"S1", "Coarse", 7, 0, 127, 0, 1},
	{"S2", "Coarse", 7, 0, 127, 0, 1},
	{"S3", "Coarse", 7, 0, 127, 0, 1},
	{"S4", "Coarse", 7, 0, 127, 0, 1},
	{"S1", "Wave", 7, 0, 255, 0, 1},
	{"S2", "Wave", 7, 0, 255, 0, 1},
	{"S3", "Wave", 7, 0, 255, 0, 1},
	{"S4", "Wave", 7, 0, 255, 0, 1},
	{"S1", "KeyTrack", 4, 0, 1, 1, 1},
	{"S2", "KeyTrack", 4, 0, 1, 1, 1},
	{"S3", "KeyTrack", 4, 0, 1, 1, 1},
	{"S4", "KeyTrack", 4, 0, 1, 1, 1},
	{"S1", "Vib/ABend", 4, 0, 1, 1, 1},
	{"S2", "Vib/ABend", 4, 0, 1, 1, 1},
	{"S3", "Vib/ABend", 4, 0, 1, 1, 1},
	{"S4", "Vib/ABend", 4, 0, 1, 1, 1},
	{"S1", "Pres>Freq", 4, 0, 1, 1, 1},
	{"S2", "Pres>Freq", 4, 0, 1, 1, 1},
	{"S3", "Pres>Freq", 4, 0, 1, 1, 1},
	{"S4", "Pres>Freq", 4, 0, 1, 1, 1},
	{"S1", "Vel Curve", 7, 0, 7, 0, 1},
	{"S2", "Vel Curve", 7, 0, 7, 0, 1},
	{"S3", "Vel Curve", 7, 0, 7, 0, 1},
	{"S4", "Vel Curve", 7, 0, 7, 0, 1},
	{"S1", "Env Level", 7, 0, 100, 100, 1},
	{"S2", "Env Level", 7, 0, 100, 100, 1},
	{"S3", "Env Level", 7, 0, 100, 100, 1},
	{"S4", "Env Level", 7, 0, 100, 100, 1},
	{"S1", "Env Delay", 7, 0, 100, 0, 1},
	{"S2", "Env Delay", 7, 0, 100, 0, 1},
	{"S3", "Env Delay", 7, 0, 100, 0, 1},
	{"S4", "Env Delay", 7, 0, 100, 0, 1},
	{"S1", "Env Attack", 7, 0, 100, 0, 1},
	{"S2", "Env Attack", 7, 0, 100, 0, 1},
	{"S3", "Env Attack", 7, 0, 100, 0, 1},
	{"S4", "Env Attack", 7, 0, 100, 0, 1},
	{"S1", "Env Decay", 7, 0, 100, 0, 1},
	{"S2", "Env Decay", 7, 0, 100, 0, 1},
	{"S3", "Env Decay", 7, 0, 100, 0, 1},
	{"S4", "Env Decay", 7, 0, 100, 0, 1},
	{"S1", "Env Sustain", 7, 0, 100, 100, 1},
	{"S2", "Env Sustain", 7, 0, 100, 100, 1},
	{"S3", "Env Sustain", 7, 0, 100, 100, 1},
	{"S4", "Env Sustain", 7, 0, 100, 100, 1},
	{"S1", "Env Release", 7, 0, 100, 0, 1},
	{"S2", "Env Release", 7, 0, 100, 0, 1},
	{"S3", "Env Release", 7, 0, 100, 0, 1},
	{"S4", "Env Release", 7, 0, 100, 0, 1},
	{"S1", "Vel>Level", 7, -50, 50, 0, 1},
	{"S2", "Vel>Level", 7, -50, 50, 0, 1},
	{"S3", "Vel>Level", 7, -50, 50, 0, 1},
	{"S4", "Vel>Level", 7, -50, 50, 0, 1},
	{"S1", "Press>Level", 7, -50, 50, 0, 1},
	{"S2", "Press>Level", 7, -50, 50, 0, 1},
	{"S3", "Press>Level", 7, -50, 50, 0, 1},
	{"S4", "Press>Level", 7, -50, 50, 0, 1},
	{"S1", "KS>Level", 7, -50, 50, 0, 1},
	{"S2", "KS>Level", 7, -50, 50, 0, 1},
	{"S3", "KS>Level", 7, -50, 50, 0, 1},
	{"S4", "KS>Level", 7, -50, 50, 0, 1},
	{"S1", "Vel>Time", 7, -50, 50, 0, 1},
	{"S2", "Vel>Time", 7, -50, 50, 0, 1},
	{"S3", "Vel>Time", 7, -50, 50, 0, 1},
	{"S4", "Vel>Time", 7, -50, 50, 0, 1},
	{"S1", "TimeMod KS", 7, -50, 50, 0, 1},
	{"S2", "TimeMod KS", 7, -50, 50, 0, 1},
	{"S3", "TimeMod KS", 7, -50, 50, 0, 1},
	{"S4", "TimeMod KS", 7, -50, 50, 0, 1},
	{"S1", "KS>Freq", 7, -50, 50, 0, 1},
	{"S2", "KS>Freq", 7, -50, 50, 0, 1},
	{"S3", "KS>Freq", 7, -50, 50, 0, 1},
	{"S4", "KS>Freq", 7, -50, 50, 0, 1},
	{"", "Mix 1/2", 0, -1, 1, 0, 0},
	{"", "Mix 3/4", 0, -1, 1, 0, 0},
};

CParam::CParam(std::string group, std::string name, uint32_t unit, float min, float max, float defaultValue, float step)
	: group(std::move(group))
	, name(std::move(name))
	, unit(unit)
	, min(min)
	, max(max)
	, defaultValue(defaultValue)
	, step(step)
	, range(max - min)
	, invRange(1.0f / (max - min))
{
}

std::string CParam::formatValue(EParam p, float x) const
{
	switch (p)
	{
	case Param_PolyMode:
		return fromTable(g_polyModeTexts, roundToInt(x));
	case Param_Source2or4:
		return fromTable(g_sourceCountTexts, roundToInt(x));
	case Param_AmpModS1S2:
		return fromTable(g_ampModS1S2Texts, roundToInt(x));
	case Param_AmpModS3S4:
		return fromTable(g_ampModS3S4Texts, roundToInt(x));
	case Param_LfoShape:
		return fromTable(g_lfoShapeTexts, roundToInt(x));
	case Param_VibWheelMode:
		return fromTable(g_wheelModeTexts, roundToInt(x));
	default:
		break;
	}

	// Curves are numbered from 1 on the panel. Widened first: the largest rounded value plus one would
	// overflow an int.
	if (p == Param_KeyScaleCurve || isIn(p, Param_SourceS1VelCurve, Param_SourceS4VelCurve))
		return format("%lld", static_cast<long long>(roundToInt(x)) + 1);

	if (isIn(p, Param_SourceS1Coarse, Param_SourceS4Coarse))
	{
		const int32_t v = roundToInt(x);
		if (v < 0)
			return {};
		return format("%s%d", g_noteNames[v % 12], v / 12 - 4);
	}

	if (isIn(p, Param_SourceS1Wave, Param_SourceS4Wave))
	{
		const uint32_t w = static_cast<uint32_t>(roundToInt(x));
		if (w >= g_waveformCount)
			return {};
		return g_waveformNames[w];
	}

	switch (unit)
	{
	case 1:
		return format("%d", roundToInt(x));
	case 6:
		return format("%d", truncToInt(x * 100.0f + 0.5));
	case 7:
	{
		const int32_t v = roundToInt(x);
		if (v >= 1 && min == -max)
			return format("+%d", v);
		return format("%d", v);
	}
	case 17:
		return std::string(1, static_cast<char>(truncToInt(x + 0.5)));
	default:
		return format("%.2f", static_cast<double>(x));
	}
}

std::string CParam::getUnitLabel() const
{
	switch (unit)
	{
	case 1:
		return "dB";
	case 2:
		return "Sec";
	case 3:
		return "Hz";
	case 6:
		return "%%";
	default:
		return {};
	}
}

const std::string& CParam::getEnumString(EParam p)
{
	return paramEnumStrings()[p];
}

bool isNameEnd(EParam p, float v)
{
	// Normalised as the parameter store normalises a real value, so the two agree to the bit.
	return p <= Param_Name10 && v == (0.0f - g_params[p].min) * g_params[p].invRange;
}
}
