#include "Library.h"
#include "Waves.h"

// Basses: acoustic, finger, pick, fretless and slap basses from the ROM's bass cycles with a
// sampled pluck on top, then synth basses from saws and squares; most are monophonic with a short
// release so lines stay clean.
namespace banks
{
using namespace wave;

namespace
{
// A plucked bass string: fast attack, a long fall to nothing, a quick damp on release.
Src string(int w, int decay = 58, int release = 14)
{
	return Src(w).oct(-1).env(100, 0, 0, decay, 0, release).vel(2, 30);
}

Src pluck(int w, int level = 80)
{
	return Src(w).oct(-1).env(level, 0, 0, 20, 0, 10).vel(3, 45).steady();
}

// A synth bass voice: held level with a decay onto it.
Src synth(int w, int decay = 40, int sustain = 60)
{
	return Src(w).oct(-1).env(100, 0, 0, decay, sustain, 12).vel(2, 30);
}
}

std::vector<Patch> bassBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Ac Bass").two(string(AcBass), pluck(PullBassPcm, 60)));
	add(Patch("Upright Bs").two(string(AcBassB, 54), string(AcBassC, 54).fine(4)));
	add(Patch("Jazz Bass").two(string(AcBass, 50), pluck(BassHarmo, 40)).bend(2));
	add(Patch("Finger Bs").two(string(DigiBass1, 60), string(RoundBass, 60).fine(3)));
	add(Patch("Finger Bs2").two(string(DigiBass1B, 58), pluck(PullBassPcm, 55)));
	add(Patch("Pick Bass").two(string(PickBass, 56), pluck(PickBassB, 70)));
	add(Patch("Pick Bs 2").two(string(PickBassC, 56), string(PickBassD, 56).fine(5)));
	add(Patch("Round Bass").two(string(RoundBassB, 62), string(RoundBassC, 62).fine(-3)));
	add(Patch("Round Bs 2").two(string(RoundBassD, 62), pluck(PickBassB, 55)));
	add(Patch("Fretless").two(string(Fretless, 62), string(FretlessB, 62).fine(4)).solo().vib(4, 24).autoBend(-12, 24, 20));
	add(Patch("Fretless 2").two(string(FretlessC, 64), string(FretlessD, 64).fine(-4)).solo().vib(5, 22).autoBend(0, 40));
	add(Patch("Slap Bass").two(string(SlapBass, 52), pluck(PullBassPcm, 85)));
	add(Patch("Slap Bs 2").two(string(SlapBassB, 50), string(SlapBassC, 50).fine(5)));
	add(Patch("Pull Bass").two(string(PullBass, 54), string(PullBassB, 54).fine(4)));
	add(Patch("Pop Bass").two(string(SlapBassC, 50).vel(2, 40), pluck(BassHarmo, 70)));
	add(Patch("Pcm Bass").two(string(PullBassLoop, 54), pluck(PullBassPcm, 70)));
	add(Patch("Digi Bass").two(string(DigiBass2, 56), string(DigiBass2B, 56).fine(5)));
	add(Patch("Digi Bs 2").two(string(DigiBass2C, 56), string(DigiBass1C, 56).fine(-5)));
	add(Patch("Digi Bs 3").two(string(DigiBass1D, 54), pluck(Sin2, 60)));
	add(Patch("Synth Bass").two(synth(SynthBass), synth(SynthBassB).fine(6)).solo());
	add(Patch("Saw Bass").two(synth(Saw2), synth(Saw2).fine(8)).solo());
	add(Patch("Square Bs").two(synth(Square2), synth(Sin1).oct(-1).env(80, 0, 0, 40, 80, 12)).solo());
	add(Patch("Sub Bass").two(synth(Sin1, 50, 90), synth(Triangle, 50, 80).fine(3)).solo());
	add(Patch("Acid Bass").two(synth(Saw1, 28, 30).vel(3, 40), synth(Square1, 28, 30).fine(4)).solo().autoBend(10, 10, 30));
	add(Patch("Fat Bass").four(synth(Saw3).fine(-8), synth(Saw3).fine(8), synth(Square3).oct(-1), synth(Sin1).oct(-1).env(90, 0, 0, 40, 80, 12)).solo());
	add(Patch("Punch Bass").two(synth(Saw4, 24, 40), pluck(BassDrum, 60).fixed(92)).solo());
	add(Patch("Wobble Bs").two(synth(Saw3, 40, 85), synth(Saw5, 40, 85).fine(6)).solo().vib(2, 22, 0));
	add(Patch("Ring Bass").two(synth(Sin1).oct(1), synth(Saw6)).ring12().solo());
	add(Patch("Pluck Bass").two(synth(Saw5, 30, 0), synth(Square4, 30, 0).fine(5)));
	add(Patch("Moog Bs").two(synth(Saw1, 34, 60).vel(2, 40), synth(Saw1, 34, 60).oct(-1).fine(5)).solo().bend(12));
	add(Patch("Sync Bass").two(synth(Synth4), synth(Synth4B).fine(5)).solo());
	add(Patch("Synth Bs 2").two(synth(Synth1), synth(Synth1B).fine(-5)).solo());
	add(Patch("Bell Bass").two(string(RoundBass, 58), Src(Sin4).env(60, 0, 0, 30, 0, 12).steady()).solo());
	add(Patch("Organ Bass").two(Src(Sin1).oct(-1).env(100, 0, 0, 0, 100, 8), Src(Sin2).oct(-1).env(75, 0, 0, 0, 100, 8)));
	add(Patch("Tuba Bass").two(synth(BrassB, 30, 80).env(100, 0, 10, 30, 80, 16), synth(Sin1, 30, 80)).solo().autoBend(-12, 14, 20));
	add(Patch("Bass+Piano").two(string(AcBass, 58), Src(Piano1).env(80, 0, 0, 66, 0, 28).vel(2, 35).steady()));
	add(Patch("Bass+Ride").two(string(AcBassB, 56), Src(Ride).fixed(92).env(55, 0, 0, 40, 0, 30).steady()));
	add(Patch("Harmo Bass").two(string(RoundBass, 60), pluck(BassHarmo, 75)));
	add(Patch("Muted Bass").two(string(PickBass, 32), pluck(PickBassC, 60)));
	add(Patch("Dark Bass").two(string(RoundBassD, 60).keyLevel(-20), string(Sin1, 60)));
	add(Patch("Bright Bs").two(string(SlapBassB, 52), string(Saw6, 40).env(60, 0, 0, 30, 0, 12)));
	add(Patch("Octave Bs").two(string(DigiBass1, 58), string(DigiBass2, 56).oct(1).env(70, 0, 0, 50, 0, 14)));
	add(Patch("Fifth Bass").two(synth(Saw4), synth(Saw4).semi(7).env(75, 0, 0, 40, 60, 12)).solo());
	add(Patch("Stick Bass").two(string(Fretless, 56).vel(2, 40), pluck(Sin3, 50)));
	add(Patch("Bass Slide").two(string(PullBass, 58), string(PullBassB, 58).fine(4)).solo().autoBend(-22, 24, 20));
	add(Patch("Drop Bass").two(synth(Saw2, 50, 80), synth(Sin1, 50, 80)).solo().autoBend(20, 30, 10));
	add(Patch("Rubber Bs").two(synth(Triangle, 36, 40), synth(Sin2, 36, 40)).solo().autoBend(8, 12, 25));
	add(Patch("Reso Bass").four(synth(Saw2, 30, 40), synth(Sin6, 20, 0).env(70, 0, 0, 20, 0, 10), synth(Saw2, 30, 40).fine(6), synth(Sin1, 40, 80)).solo());
	add(Patch("Hollow Bs").two(synth(Square1), synth(Sin3).oct(-1).env(70, 0, 0, 40, 60, 12)).solo());
	add(Patch("Soft Bass").two(synth(Triangle, 50, 70).vel(1, 25), string(RoundBassC, 60).vel(1, 25)));
	add(Patch("Vel Bass").two(string(RoundBass, 60).vel(8, 50), string(PullBass, 52).vel(5, 50)).trim(2));
	add(Patch("Press Bass").two(synth(Saw3, 40, 70), synth(Saw6, 40, 70).fine(5).pressLevel(-35)).solo().pressure(2, 3));
	add(Patch("Growl Bass").two(synth(Saw1, 40, 70), synth(Random, 20, 0).env(40, 0, 0, 20, 0, 10)).solo());
	add(Patch("Deep Bass").two(synth(Sin1, 60, 85).oct(-1), synth(Sin2, 60, 85).oct(-1)).solo());
	add(Patch("Analog Bs").two(synth(Saw3, 38, 55).fine(-6), synth(Square2, 38, 55).fine(6)).solo().bend(5));
	add(Patch("Koto Bass").two(string(Koto, 50), string(KotoB, 50).fine(4)));
	add(Patch("Sitar Bass").two(string(Sitar, 52), string(SitarB, 52).fine(5)).autoBend(-8, 10, 15));
	add(Patch("Guitar Bs").two(string(AGuitar, 54), string(FGuitar, 54).fine(4)));
	add(Patch("Thumb Bass").two(string(SlapBass, 46).vel(2, 40), pluck(PullBassPcm, 50)));
	add(Patch("Chorus Bs").four(string(DigiBass1, 58).fine(-7), string(DigiBass1B, 58).fine(7), string(RoundBass, 58), pluck(BassHarmo, 50)));
	add(Patch("Bass Stab").two(synth(Saw2, 22, 0), synth(Saw3, 22, 0).oct(1).env(70, 0, 0, 22, 0, 10)));
	add(Patch("Wood Bass").two(string(AcBassC, 48), pluck(LogDrum, 50)));
	add(Patch("Trance Bs").two(synth(Saw5, 30, 20).fine(-9), synth(Saw5, 30, 20).fine(9)));
	add(Patch("Bass Wheel").two(synth(Saw3, 40, 70), synth(Square3, 40, 70).fine(5)).solo().vib(3, 20).recordWheelMode(2));
	return p;
}
}
