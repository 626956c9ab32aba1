#pragma once

#include "synth/SinglePreset.h"

// A source that follows the key at its written pitch with every signed amount at its centre, so
// nothing but its wave and envelope shapes what it plays. Callers pick those.
inline zentlib::SingleSource neutralSource()
{
	zentlib::SingleSource source;
	source.fine = 50;
	source.coarse = 84;
	source.keyTrack = true;
	source.levelModVel = source.levelModPressure = source.levelModKeyScale = 50;
	source.timeModVel = source.timeModKeyScale = 50;
	source.freqKeyScaleToFreq = 50;
	return source;
}
