#pragma once

#include "synth/SinglePreset.h"

// What every factory single has to keep so that it plays as its name promises: the generator
// refuses a single that breaks a rule, and the library test holds the embedded banks to them.
namespace banks
{
// Sources 1..n that the single plays (two or four), and whether source i (0-based) is heard:
// playing, not muted and with a level above silence.
int sourceCount(const zentlib::SinglePreset& single);
bool isHeard(const zentlib::SinglePreset& single, int source);

// True when the single sets vibrato, pressure to vibrato or an auto bend while none of its heard
// sources takes them: the setting would do nothing.
bool pitchModulationReachesNoSource(const zentlib::SinglePreset& single);

// Seconds until the wave of a source comes round when the key is held: the wave's played length
// at the source's pitch for that key; 0 for cyclic waves and sampled loops, which are meant to
// come round.
double wrapSeconds(const zentlib::SingleSource& source, int key);

// Seconds after note-on at which the envelope of a held source has fallen 40 dB below its peak;
// a negative value when it never does.
double heldEnvelopeEnd(const zentlib::SingleSource& source);

// The first heard source (0-based) that plays a one-shot wave through to its start again while
// the key is held with the source still sounding, or -1.
int sourceReplayingOneShot(const zentlib::SinglePreset& single, int key);
}
