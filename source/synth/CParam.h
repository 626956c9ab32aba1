#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zentlib
{
// The synthesis parameters. The number is also the host's parameter ID, so the order is frozen:
// saved states and host automation refer to parameters by it.
enum EParam : uint32_t
{
	Param_Name01,
	Param_Name02,
	Param_Name03,
	Param_Name04,
	Param_Name05,
	Param_Name06,
	Param_Name07,
	Param_Name08,
	Param_Name09,
	Param_Name10,
	Param_Volume,
	Param_PolyMode,
	Param_Source2or4,
	Param_AmpModS1S2,
	Param_AmpModS3S4,
	Param_PressureToFreq,
	Param_VibratoDepth,
	Param_PressureToVibrato,
	Param_PitchBendDepth,
	Param_LfoSpeed,
	Param_LfoShape,
	Param_KeyScaleCurve,
	Param_VibWheelMode,
	Param_AutoBendDepth,
	Param_AutoBendTime,
	Param_VelToDepth,
	Param_AutoBendKeyScaleToTime,
	Param_SourceS1Mute,
	Param_SourceS2Mute,
	Param_SourceS3Mute,
	Param_SourceS4Mute,
	Param_SourceS1Fine,
	Param_SourceS2Fine,
	Param_SourceS3Fine,
	Param_SourceS4Fine,
	Param_SourceS1Coarse,
	Param_SourceS2Coarse,
	Param_SourceS3Coarse,
	Param_SourceS4Coarse,
	Param_SourceS1Wave,
	Param_SourceS2Wave,
	Param_SourceS3Wave,
	Param_SourceS4Wave,
	Param_SourceS1KeyTrack,
	Param_SourceS2KeyTrack,
	Param_SourceS3KeyTrack,
	Param_SourceS4KeyTrack,
	Param_SourceS1VibABend,
	Param_SourceS2VibABend,
	Param_SourceS3VibABend,
	Param_SourceS4VibABend,
	Param_SourceS1PressureToFreq,
	Param_SourceS2PressureToFreq,
	Param_SourceS3PressureToFreq,
	Param_SourceS4PressureToFreq,
	Param_SourceS1VelCurve,
	Param_SourceS2VelCurve,
	Param_SourceS3VelCurve,
	Param_SourceS4VelCurve,
	Param_SourceS1EnvLevel,
	Param_SourceS2EnvLevel,
	Param_SourceS3EnvLevel,
	Param_SourceS4EnvLevel,
	Param_SourceS1EnvDelay,
	Param_SourceS2EnvDelay,
	Param_SourceS3EnvDelay,
	Param_SourceS4EnvDelay,
	Param_SourceS1EnvAttack,
	Param_SourceS2EnvAttack,
	Param_SourceS3EnvAttack,
	Param_SourceS4EnvAttack,
	Param_SourceS1EnvDecay,
	Param_SourceS2EnvDecay,
	Param_SourceS3EnvDecay,
	Param_SourceS4EnvDecay,
	Param_SourceS1EnvSustain,
	Param_SourceS2EnvSustain,
	Param_SourceS3EnvSustain,
	Param_SourceS4EnvSustain,
	Param_SourceS1EnvRelease,
	Param_SourceS2EnvRelease,
	Param_SourceS3EnvRelease,
	Param_SourceS4EnvRelease,
	Param_SourceS1LevelModVel,
	Param_SourceS2LevelModVel,
	Param_SourceS3LevelModVel,
	Param_SourceS4LevelModVel,
	Param_SourceS1LevelModPressure,
	Param_SourceS2LevelModPressure,
	Param_SourceS3LevelModPressure,
	Param_SourceS4LevelModPressure,
	Param_SourceS1LevelModKeyScale,
	Param_SourceS2LevelModKeyScale,
	Param_SourceS3LevelModKeyScale,
	Param_SourceS4LevelModKeyScale,
	Param_SourceS1TimeModVel,
	Param_SourceS2TimeModVel,
	Param_SourceS3TimeModVel,
	Param_SourceS4TimeModVel,
	Param_SourceS1TimeModKeyScale,
	Param_SourceS2TimeModKeyScale,
	Param_SourceS3TimeModKeyScale,
	Param_SourceS4TimeModKeyScale,
	Param_SourceS1FreqKeyScaleToFreq,
	Param_SourceS2FreqKeyScaleToFreq,
	Param_SourceS3FreqKeyScaleToFreq,
	Param_SourceS4FreqKeyScaleToFreq,
	Param_SourceMix12,
	Param_SourceMix34,
};

constexpr size_t ParamCount = 109;

// How a parameter is described to the host and the editor: where it is shown, how its value reads and
// the range that maps the normalised 0..1 of the host onto the real value.
// real = normalised * range + min; normalised = (real - min) * invRange.
class CParam
{
public:
	CParam(std::string group, std::string name, uint32_t unit, float min, float max, float defaultValue, float step);

	// The display text of real value x of parameter p; called on g_params[p].
	std::string formatValue(EParam p, float x) const;
	std::string getUnitLabel() const;

	// The enumerator's own name ("Param_Volume"), which the editor uses to bind its views.
	static const std::string& getEnumString(EParam p);

	std::string group;
	std::string name;
	uint32_t unit;
	float min;
	float max;
	float defaultValue;
	float step;
	float range;
	float invRange;
};

// Indexed by EParam. Complete once static initialisation of the library has run, constant afterwards.
extern const CParam g_params[ParamCount];

// Whether normalised value v of parameter p is a name's end (character code 0) as states saved by earlier
// versions hold it for every name shorter than ten characters; it lies below the characters the range shows.
bool isNameEnd(EParam p, float v);
}
