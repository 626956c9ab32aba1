#pragma once

// Lookups from the small integers that a single stores (0..100 for times and levels, 0..100 with 50
// neutral for signed amounts, 0..127 for velocity and pressure) to physical quantities: seconds,
// hertz, linear gain, semitones. Stateless; safe on any thread.
//
// A stored value outside its table (a record may carry any 7-bit value) reads the table's last
// entry, so a malformed single never reads beyond a table.
namespace zentlib
{
// Weight 0..1 for a note-on velocity 0..127 on one of the eight velocity curves.
float velocityToGain(unsigned char velocity, unsigned char curve);

// Envelope delay 0..100 in seconds (also the auto-bend time).
float envDelayTime(unsigned char delay);
// Envelope decay or release 0..100 in seconds; never 0.
float envDecayTime(unsigned char decay);
// Envelope attack 0..100 in seconds.
float envAttackTime(unsigned char attack);
// LFO speed 0..100 as a frequency in hertz.
float lfoSpeed(unsigned char speed);
// Envelope level 0..100 as a linear gain; 0..5 are silent.
float envLevel(unsigned char level);
// Envelope sustain 0..100 as a linear gain; never 0.
float envSustainLevel(unsigned char sustain);

// Key-scaling modulation -1..+1 of a key on curve 0..4; keys below 36 and above 96 read the ends.
// With unipolarCurve4, curve 4 (the switch at key 66) yields 0 and 1 instead of -1 and +1.
// A curve number of 5..7 (the record's field has three bits) reads curve 4.
float ksCurveMod(unsigned char key, unsigned char curve, bool unipolarCurve4);

// The same depth curve, 0..50 (the magnitude of a signed amount) to semitones, under the names of
// its four uses.
float vibratoDepth(unsigned char magnitude);
float ksToFreq(unsigned char magnitude);
float autoBendDepth(unsigned char magnitude);
float pressureToFreq(unsigned char magnitude);

// Weight 0..1 for a pressure 0..127.
float pressureToEnvLevel(unsigned char pressure);
// Output gain for a stored volume 0..99.
float volume(unsigned char storedVolume);
// Depth 0..1 of a stored signed amount (0..100, 50 neutral): the pressure weight of its magnitude
// spread over 0..127.
float genericDepthModToLevel(int storedAmount);
// The pressure weight of a key-scaling modulation -1..+1 spread over 0..127.
float levelModKS(float modulation);
}
