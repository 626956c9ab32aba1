#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "synth/CParam.h"

using namespace zentlib;

namespace
{
struct Row
{
	std::string enumName;
	std::string group;
	std::string name;
	uint32_t unit;
	float min;
	float max;
	float defaultValue;
};

// The whole table written the way the panel documents it: the common rows one by one, then the
// per-source blocks, each repeated for S1..S4 at consecutive indices.
std::vector<Row> expectedRows()
{
	std::vector<Row> rows;
	for (int k = 1; k <= 10; ++k)
	{
		const std::string two = (k < 10 ? "0" : "") + std::to_string(k);
		rows.push_back({"Param_Name" + two, "Name", two, 17, 32, 127, 32});
	}
	const std::vector<Row> common = {
		{"Param_Volume", "Common", "Volume", 1, 1, 100, 100},
		{"Param_PolyMode", "Common", "Poly Mode", 7, 0, 2, 0},
		{"Param_Source2or4", "Common", "Sources 2/4", 7, 0, 1, 1},
		{"Param_AmpModS1S2", "Common", "AM S1/S2", 7, 0, 2, 0},
		{"Param_AmpModS3S4", "Common", "AM S3/S4", 7, 0, 2, 0},
		{"Param_PressureToFreq", "Common", "Pressure to Freq", 7, -50, 50, 0},
		{"Param_VibratoDepth", "Common", "Vibrato Depth", 7, -50, 50, 0},
		{"Param_PressureToVibrato", "Common", "Pressure to Vibrato", 7, -50, 50, 0},
		{"Param_PitchBendDepth", "Common", "Pitch Bend Range", 7, 0, 12, 0},
		{"Param_LfoSpeed", "Lfo", "Speed", 7, 0, 100, 0},
		{"Param_LfoShape", "Lfo", "Shape", 7, 0, 3, 0},
		{"Param_KeyScaleCurve", "Common", "KS Curve", 7, 0, 4, 0},
		{"Param_VibWheelMode", "Common", "Wheel Mode", 7, 0, 1, 0},
		{"Param_AutoBendDepth", "AB", "Depth", 7, -50, 50, 0},
		{"Param_AutoBendTime", "AB", "Time", 7, 0, 100, 0},
		{"Param_VelToDepth", "AB", "Vel=>Depth", 7, -50, 50, 0},
		{"Param_AutoBendKeyScaleToTime", "AB", "KS=>Time", 7, -50, 50, 0},
	};
	rows.insert(rows.end(), common.begin(), common.end());
	const std::vector<Row> blocks = {
		{"Mute", "", "Mute", 4, 0, 1, 0},
		{"Fine", "", "Fine", 7, -50, 50, 0},
		{"Coarse", "", "Coarse", 7, 0, 127, 0},
		{"Wave", "", "Wave", 7, 0, 255, 0},
		{"KeyTrack", "", "KeyTrack", 4, 0, 1, 1},
		{"VibABend", "", "Vib/ABend", 4, 0, 1, 1},
		{"PressureToFreq", "", "Pres>Freq", 4, 0, 1, 1},
		{"VelCurve", "", "Vel Curve", 7, 0, 7, 0},
		{"EnvLevel", "", "Env Level", 7, 0, 100, 100},
		{"EnvDelay", "", "Env Delay", 7, 0, 100, 0},
		{"EnvAttack", "", "Env Attack", 7, 0, 100, 0},
		{"EnvDecay", "", "Env Decay", 7, 0, 100, 0},
		{"EnvSustain", "", "Env Sustain", 7, 0, 100, 100},
		{"EnvRelease", "", "Env Release", 7, 0, 100, 0},
		{"LevelModVel", "", "Vel>Level", 7, -50, 50, 0},
		{"LevelModPressure", "", "Press>Level", 7, -50, 50, 0},
		{"LevelModKeyScale", "", "KS>Level", 7, -50, 50, 0},
		{"TimeModVel", "", "Vel>Time", 7, -50, 50, 0},
		{"TimeModKeyScale", "", "TimeMod KS", 7, -50, 50, 0},
		{"FreqKeyScaleToFreq", "", "KS>Freq", 7, -50, 50, 0},
	};
	for (const Row& b : blocks)
		for (int n = 1; n <= 4; ++n)
			rows.push_back({"Param_SourceS" + std::to_string(n) + b.enumName, "S" + std::to_string(n), b.name, b.unit,
			                b.min, b.max, b.defaultValue});
	rows.push_back({"Param_SourceMix12", "", "Mix 1/2", 0, -1, 1, 0});
	rows.push_back({"Param_SourceMix34", "", "Mix 3/4", 0, -1, 1, 0});
	return rows;
}

std::string text(EParam p, float x)
{
	return g_params[p].formatValue(p, x);
}
}

TEST(CParam, EveryRecordMatchesTheDocumentedTable)
{
	const std::vector<Row> rows = expectedRows();
	ASSERT_EQ(rows.size(), ParamCount);
	for (size_t i = 0; i < ParamCount; ++i)
	{
		SCOPED_TRACE(rows[i].enumName);
		const EParam p = static_cast<EParam>(i);
		const CParam& c = g_params[i];
		EXPECT_EQ(CParam::getEnumString(p), rows[i].enumName);
		EXPECT_EQ(c.group, rows[i].group);
		EXPECT_EQ(c.name, rows[i].name);
		EXPECT_EQ(c.unit, rows[i].unit);
		EXPECT_EQ(c.min, rows[i].min);
		EXPECT_EQ(c.max, rows[i].max);
		EXPECT_EQ(c.defaultValue, rows[i].defaultValue);
		EXPECT_EQ(c.step, i < 107 ? 1.0f : 0.0f);
		EXPECT_EQ(c.range, rows[i].max - rows[i].min);
		EXPECT_EQ(c.invRange, 1.0f / (rows[i].max - rows[i].min));
	}
}

TEST(CParam, OnlyTheVolumeHasAUnitLabel)
{
	for (size_t i = 0; i < ParamCount; ++i)
		EXPECT_EQ(g_params[i].getUnitLabel(), i == Param_Volume ? "dB" : "") << i;
}

TEST(CParam, UnitLabelsOfUnusedUnitCodes)
{
	auto label = [](uint32_t unit) { return CParam("", "", unit, 0, 1, 0, 1).getUnitLabel(); };
	EXPECT_EQ(label(2), "Sec");
	EXPECT_EQ(label(3), "Hz");
	EXPECT_EQ(label(6), "%%");
	EXPECT_EQ(label(0), "");
	EXPECT_EQ(label(99), "");
}

TEST(CParam, SignedRowsShowAPlusOnlyWhenSymmetric)
{
	for (size_t i = 0; i < ParamCount; ++i)
	{
		const CParam& c = g_params[i];
		if (c.unit != 7 || c.min != -50.0f)
			continue;
		const EParam p = static_cast<EParam>(i);
		SCOPED_TRACE(CParam::getEnumString(p));
		EXPECT_EQ(text(p, -7), "-7");
		EXPECT_EQ(text(p, 0), "0");
		EXPECT_EQ(text(p, 7), "+7");
		EXPECT_EQ(text(p, -50), "-50");
		EXPECT_EQ(text(p, 50), "+50");
	}
	EXPECT_EQ(text(Param_SourceS1Fine, 3), "+3");
	EXPECT_EQ(text(Param_PitchBendDepth, 3), "3");
	EXPECT_EQ(text(Param_PitchBendDepth, 7), "7");
	EXPECT_EQ(text(Param_Volume, 100), "100");
	EXPECT_EQ(text(Param_LfoSpeed, 42.6f), "43");
}

TEST(CParam, GenericTextsOfEveryUnit)
{
	EXPECT_EQ(text(Param_Name01, 65), "A");
	EXPECT_EQ(text(Param_Name01, 32), " ");
	EXPECT_EQ(text(Param_Name01, 64.6f), "A");
	EXPECT_EQ(text(Param_SourceS1Mute, 0), "0.00");
	EXPECT_EQ(text(Param_SourceS2KeyTrack, 1), "1.00");
	EXPECT_EQ(text(Param_SourceMix12, -1), "-1.00");
	EXPECT_EQ(text(Param_SourceMix12, -0.5f), "-0.50");
	EXPECT_EQ(text(Param_SourceMix34, 1), "1.00");

	const CParam percent("", "", 6, 0, 1, 0, 1);
	EXPECT_EQ(percent.formatValue(Param_SourceMix12, 0.255f), "26");
	const CParam seconds("", "", 2, 0, 1, 0, 1);
	EXPECT_EQ(seconds.formatValue(Param_SourceMix12, 0.125f), "0.12");
}

TEST(CParam, MenuTextsAndCurvesCountedFromOne)
{
	EXPECT_EQ(text(Param_PolyMode, 0), "Poly 1");
	EXPECT_EQ(text(Param_PolyMode, 0.49f), "Poly 1");
	EXPECT_EQ(text(Param_PolyMode, 1), "Poly 2");
	EXPECT_EQ(text(Param_PolyMode, 1.5f), "Solo");
	EXPECT_EQ(text(Param_Source2or4, 0), "2");
	EXPECT_EQ(text(Param_Source2or4, 1), "4");
	EXPECT_EQ(text(Param_AmpModS1S2, 0), "off");
	EXPECT_EQ(text(Param_AmpModS1S2, 1), "S2>S1");
	EXPECT_EQ(text(Param_AmpModS1S2, 2), "S1>S2");
	EXPECT_EQ(text(Param_AmpModS3S4, 1), "S4>S3");
	EXPECT_EQ(text(Param_AmpModS3S4, 2), "S3>S4");
	EXPECT_EQ(text(Param_LfoShape, 0), "Tri");
	EXPECT_EQ(text(Param_LfoShape, 1), "Saw");
	EXPECT_EQ(text(Param_LfoShape, 2), "Square");
	EXPECT_EQ(text(Param_LfoShape, 3), "Random");
	EXPECT_EQ(text(Param_VibWheelMode, 0), "Depth");
	EXPECT_EQ(text(Param_VibWheelMode, 1), "Speed");

	EXPECT_EQ(text(Param_KeyScaleCurve, 0), "1");
	EXPECT_EQ(text(Param_KeyScaleCurve, 4), "5");
	for (EParam p : {Param_SourceS1VelCurve, Param_SourceS4VelCurve})
	{
		EXPECT_EQ(text(p, 0), "1");
		EXPECT_EQ(text(p, 7), "8");
	}
}

TEST(CParam, MenuTextsBeyondTheirTablesAreEmpty)
{
	EXPECT_EQ(text(Param_PolyMode, 3), "");
	EXPECT_EQ(text(Param_PolyMode, -1), "");
	EXPECT_EQ(text(Param_LfoShape, 4), "");
	EXPECT_EQ(text(Param_VibWheelMode, 1e9f), "");
	EXPECT_EQ(text(Param_Source2or4, NAN), "2");
	EXPECT_EQ(text(Param_SourceS1Coarse, -1), "");
	// A host may hand over any normalised value; the curve number must not wrap to a negative one.
	EXPECT_EQ(text(Param_KeyScaleCurve, 3e9f), "2147483648");
	EXPECT_EQ(text(Param_SourceS2VelCurve, -1), "0");
}

TEST(CParam, CoarseShowsNoteNames)
{
	EXPECT_EQ(text(Param_SourceS1Coarse, 0), "C-4");
	EXPECT_EQ(text(Param_SourceS1Coarse, 47), "B-1");
	EXPECT_EQ(text(Param_SourceS2Coarse, 48), "C0");
	EXPECT_EQ(text(Param_SourceS3Coarse, 60), "C1");
	EXPECT_EQ(text(Param_SourceS1Coarse, 61), "C#1");
	EXPECT_EQ(text(Param_SourceS4Coarse, 127), "G6");
}

TEST(CParam, NormalisedValuesNeverRoundOutsideTheRange)
{
	for (size_t i = 0; i < ParamCount; ++i)
	{
		const CParam& c = g_params[i];
		for (float v : {0.0f, 1.0f})
		{
			const float real = v * c.range + c.min;
			EXPECT_GE(std::round(real), c.min) << i;
			EXPECT_LE(std::round(real), c.max) << i;
			EXPECT_FALSE(c.formatValue(static_cast<EParam>(i), real).empty()) << i;
		}
	}
}

TEST(CParam, WaveShowsItsNumberedName)
{
	EXPECT_EQ(text(Param_SourceS2Wave, 0), "001: Sin 1st");
	EXPECT_EQ(text(Param_SourceS1Wave, 254.6f), "256: Piano Noise Alt");
	EXPECT_EQ(text(Param_SourceS4Wave, 256), "");
	EXPECT_EQ(text(Param_SourceS4Wave, -1), "");
	EXPECT_EQ(text(Param_SourceS3Wave, -3e9f), "");
}
