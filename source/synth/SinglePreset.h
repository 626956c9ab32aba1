#pragma once

#include <cstdint>

namespace zentlib
{
// One source of a single. Signed panel amounts (-50..+50) are held as 0..100 with 50 neutral;
// only the parameter converter adds or removes that offset.
struct SingleSource
{
	uint32_t fine = 0;
	uint32_t coarse = 0;
	uint8_t wave = 0;
	bool keyTrack = false;
	bool vibABend = false;
	bool pressureToFreq = false;
	uint32_t velCurve = 0;
	uint32_t envLevel = 0;
	uint32_t envDelay = 0;
	uint32_t envAttack = 0;
	uint32_t envDecay = 0;
	uint32_t envSustain = 0;
	uint32_t envRelease = 0;
	uint32_t levelModVel = 0;
	uint32_t levelModPressure = 0;
	uint32_t levelModKeyScale = 0;
	uint32_t timeModVel = 0;
	uint32_t timeModKeyScale = 0;
	uint32_t freqKeyScaleToFreq = 0;

	bool operator==(const SingleSource&) const = default;
};

// One playable sound: a name, the common settings and four sources (two or four of them sound).
// A plain value: copied and compared as a whole, the name over all eleven characters.
struct SinglePreset
{
	char name[11] = {};
	uint8_t volume = 0;
	uint32_t polyMode = 0;
	uint32_t source2or4 = 0;
	uint32_t ampModS1S2 = 0;
	uint32_t ampModS3S4 = 0;
	uint8_t pressureToFreq = 0;
	uint8_t vibratoDepth = 0;
	uint8_t pressureToVibrato = 0;
	uint32_t pitchBendDepth = 0;
	uint8_t lfoSpeed = 0;
	uint32_t lfoShape = 0;
	uint32_t keyScaleCurve = 0;
	uint32_t vibWheelMode = 0;
	uint8_t autoBendDepth = 0;
	uint8_t autoBendTime = 0;
	uint8_t velToDepth = 0;
	uint8_t autoBendKeyScaleToTime = 0;
	bool mute[4] = {};
	SingleSource sources[4] = {};

	bool operator==(const SinglePreset&) const = default;
};
}
