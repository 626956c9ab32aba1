#pragma once

#include <cstdint>

#include "CParam.h"
#include "SinglePreset.h"
#include "Sysex.h"

namespace zentlib
{
// The hardware's own parameter numbers, as its parameter-change message carries them. Source-level
// numbers (Cursor_Coarse .. Cursor_Wave and Cursor_EnvLevel .. Cursor_TimeModKeyScale) act on the source
// named in the message.
enum ParameterCursor : uint32_t
{
	Cursor_None = 0,
	Cursor_Volume = 3,
	Cursor_Name01 = 4,
	Cursor_Name10 = 13,
	Cursor_Source2or4 = 14,
	Cursor_VibratoDepth = 15,
	Cursor_LfoSpeed = 16,
	Cursor_LfoShape = 17,
	Cursor_PressureToVibrato = 18,
	Cursor_VibWheelMode = 19,
	Cursor_AutoBendDepth = 20,
	Cursor_AutoBendTime = 21,
	Cursor_VelToDepth = 22,
	Cursor_AutoBendKeyScaleToTime = 23,
	Cursor_PressureToFreq = 24,
	Cursor_PitchBendDepth = 25,
	Cursor_KeyScaleCurve = 26,
	Cursor_PolyMode = 27,
	Cursor_Coarse = 28,
	// A second number for the coarse pitch that the hardware accepts; we never send it.
	Cursor_CoarseAlt = 29,
	Cursor_Fine = 30,
	Cursor_KeyTrack = 31,
	Cursor_VibABend = 32,
	Cursor_SourcePressureToFreq = 33,
	Cursor_FreqKeyScaleToFreq = 34,
	Cursor_Wave = 35,
	Cursor_AmpModS1S2 = 36,
	Cursor_AmpModS3S4 = 37,
	Cursor_EnvLevel = 41,
	Cursor_EnvDelay = 42,
	Cursor_EnvAttack = 43,
	Cursor_EnvDecay = 44,
	Cursor_EnvSustain = 45,
	Cursor_EnvRelease = 46,
	Cursor_VelCurve = 47,
	Cursor_LevelModVel = 48,
	Cursor_LevelModPressure = 49,
	Cursor_LevelModKeyScale = 50,
	Cursor_TimeModVel = 51,
	Cursor_TimeModKeyScale = 52,
};

// Translates between a parameter's real value, the field of a single that holds it (in the form the
// single stores it: volume less one, signed amounts plus 50, flags 0 or 1) and the hardware's
// parameter-change record. Stateless.
class ParameterConverter
{
public:
	using ParameterChange = Sysex::SysexResult::ParameterChange;

	// Writes a real value into its field. The name characters are accepted but left alone: a name only
	// changes by renaming or by a received change.
	static bool toSingle(SinglePreset& single, EParam p, int real);
	// Reads a field back as a real value; a name byte that is no character reads as the blank.
	static bool getValue(int& real, EParam p, const SinglePreset& single);

	// Applies a received change; the single is untouched when the cursor, source or value is refused. A number
	// that names no parameter, and a value beyond the range of its field (flags take any value, a name place
	// any 7-bit byte), are refused with a log line.
	static bool toSingle(SinglePreset& single, const ParameterChange& change);
	// The byte a change for cursor carries: the low 8 bits of the field in stored form.
	static bool fromSingle(uint8_t& value, const SinglePreset& single, ParameterCursor cursor, uint8_t source);

	// The single with every field beyond its parameter's range brought to the nearer end, and every name
	// byte before the name's end that is no character made a blank.
	static SinglePreset withinRanges(const SinglePreset& single);

	// The parameter whose field a received change addresses; false for a number that names none.
	static bool toParameter(EParam& p, const ParameterChange& change);
	// Cursor_None for a parameter the hardware has no number for. Writes source only for the
	// per-source parameters, so callers clear it first.
	static ParameterCursor toCursor(uint8_t& source, EParam p);
};

// The source-level halves of the change operations above.
bool toSingleSource(SingleSource& source, const Sysex::SysexResult::ParameterChange& change);
bool fromSingleSource(uint8_t& value, const SingleSource& source, ParameterCursor cursor);
}
