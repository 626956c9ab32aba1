#pragma once

// The instrument's curves from panel values to physical quantities, as the sound designer needs
// them to stage levels and time envelopes. Close samplings of the engine's tables: the generator
// cannot link the engine, which embeds what the generator writes.
namespace banks
{
// Envelope level 0..100 (fractional levels interpolate) to gain.
double envLevelGain(double level);
// Stored volume 0..99 to gain.
double volumeGain(int stored);
// Velocity curve 0..7 at velocity 0..127 to a weight 0..1.
double velocityWeight(int curve, int velocity);
// Key-scaling curve 0..4 at a key, -1..+1.
double keyScale(int key, int curve);
// Envelope settings 0..100 to seconds, and sustain 0..100 to gain.
double delaySeconds(int setting);
double attackSeconds(int setting);
double decaySeconds(int setting);
double sustainGain(int setting);
}
