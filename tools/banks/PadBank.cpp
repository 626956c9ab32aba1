#include "Library.h"
#include "Waves.h"

// Synth pads: detuned saws and squares, breathy and vocal textures that swell in over a second or
// more (the attack curve rises early, so a real swell needs a long set time), pads that move
// with the LFO or with delayed sources coming in one after another, and velocity layers.
namespace banks
{
using namespace wave;

namespace
{
Src pad(int w, int attack = 68, int release = 55, int level = 100)
{
	return Src(w).env(level, 0, attack, 62, 85, release).vel(1, 15).velAttack(-8);
}

// A source that enters later than the others, so the pad blooms.
Src late(int w, int delay, int attack = 60, int level = 85)
{
	return Src(w).env(level, delay, attack, 62, 85, 58).vel(1, 10);
}
}

std::vector<Patch> padBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Warm Pad").four(pad(Saw8).fine(-7), pad(Saw8).fine(7), pad(Sin1).oct(-1), pad(Saw12).oct(1).env(60, 0, 70, 62, 85, 55)));
	add(Patch("Saw Pad").two(pad(Saw3).fine(-8), pad(Saw3).fine(8)));
	add(Patch("Square Pad").two(pad(Square2).fine(-6), pad(Square3).fine(6)));
	add(Patch("Mello Pad").two(pad(MelloPad), pad(MelloPad).fine(9)));
	add(Patch("String Pad").two(pad(StringPad), pad(StringB, 70).fine(-6)));
	add(Patch("Voice Pad").two(pad(VoiceLoop, 72), pad(Voice2, 74).fine(7)));
	add(Patch("Glass Pad").four(pad(Sin1), pad(Sin4).env(70, 0, 66, 62, 85, 55), pad(Sin8).oct(1).env(50, 0, 70, 62, 85, 55), pad(Sin2).fine(6)));
	add(Patch("Dark Pad").two(pad(Saw14).oct(-1).keyLevel(-20), pad(Saw10).fine(6).keyLevel(-20)).keyCurve(1));
	add(Patch("Air Pad").two(pad(Sin2, 74), pad(WhiteNoiseLoop, 78, 60, 60)));
	add(Patch("Slow Swell").two(pad(Saw6, 80, 62), pad(Saw9, 80, 62).fine(7)));
	add(Patch("Bloom").four(pad(Saw8, 62), late(Sin2, 62), late(Saw12, 68).fine(8), late(Voice1, 72, 50, 70)));
	add(Patch("Sweep Pad").two(pad(Saw4).fine(-5), pad(Saw4).fine(5)).autoBend(4, 80).vib(2, 10));
	add(Patch("Motion Pad").two(pad(Synth3), pad(Synth3B).fine(8)).vib(3, 6, 0));
	add(Patch("Sync Pad").two(pad(Synth4), pad(Synth4B).semi(7).env(80, 0, 70, 62, 85, 55)));
	add(Patch("Ring Pad").four(pad(Sin1).oct(1), pad(Sin1).semi(7), pad(Saw8).fine(-6), pad(Saw8).fine(6)).ring12().mute(1));
	add(Patch("Choir Wash").two(pad(VoicePcm, 66), pad(VoiceLoop, 72).fine(-6)));
	add(Patch("Fifth Pad").two(pad(Saw7), pad(Saw7).semi(7).env(80, 0, 66, 62, 85, 55)));
	add(Patch("Octave Pad").two(pad(Saw9).oct(-1), pad(Saw9).fine(5)));
	add(Patch("Pulse Pad").two(pad(Square4).fine(-9), pad(Square5).fine(9)).vib(1, 18));
	add(Patch("Soft Pad").two(pad(Triangle, 72), pad(Sin1, 74).fine(5)));
	add(Patch("Big Pad").four(pad(Saw2).fine(-10), pad(Saw2).fine(10), pad(Saw5).oct(-1), pad(Square2).fine(3)));
	add(Patch("Fat Pad").four(pad(Saw3).fine(-12), pad(Saw3).fine(-4), pad(Saw3).fine(4), pad(Saw3).fine(12)));
	add(Patch("Thin Pad").two(pad(Saw17), pad(Saw19).fine(7)));
	add(Patch("Space Pad").four(pad(Sin1, 78), late(Sin3, 66).oct(1), late(Synth2, 72), pad(WhiteNoiseLoop, 80, 62, 50)).vib(2, 4));
	add(Patch("Dream Pad").two(pad(MelloPad, 76), pad(Voice1, 80).oct(1).env(70, 0, 80, 62, 85, 60)).vib(3, 20));
	add(Patch("Bell Pad").two(Src(Bell).env(80, 0, 0, 60, 0, 50).vel(2, 30).steady(), pad(StringPad, 68)));
	add(Patch("Picked Pad").two(Src(Saw4).env(100, 0, 0, 34, 10, 30).vel(2, 35), pad(Saw8, 74)));
	add(Patch("Vel Pad").two(pad(Sin1).vel(8, 50), pad(Saw3, 30).vel(5, 50)).trim(2));
	add(Patch("Press Pad").two(pad(Saw8), pad(Saw4).fine(6).pressLevel(-40)).pressure(0, 4));
	add(Patch("Wind Pad").two(pad(WhiteNoiseLoop, 76, 60), pad(Sin1, 80).oct(1)).vib(4, 4, 3));
	add(Patch("Vox Pad").two(pad(Voice1), pad(Voice2).fine(7)).vib(2, 22));
	add(Patch("Organ Pad").two(pad(DrawBar1, 68), pad(PipeOrgan2, 72).fine(6)));
	add(Patch("Brass Wash").two(pad(Brass, 62), pad(BrassE, 64).fine(8)));
	add(Patch("Horn Pad").two(pad(FrenchHorn, 66), pad(FrenchHornC, 68).fine(-6)));
	add(Patch("Flute Pad").two(pad(Flute, 64), pad(PanFluteLoop, 68).fine(5)));
	add(Patch("Random Pad").two(pad(Saw6), pad(Saw8).fine(6)).vib(4, 12, 3));
	add(Patch("Tri Pad").two(pad(Triangle), pad(Triangle).fine(9).oct(1)));
	add(Patch("Hollow Pad").two(pad(Square1), pad(Sin3).oct(-1)));
	add(Patch("Digi Pad").two(pad(Synth1), pad(Synth1B).fine(6)));
	add(Patch("Crystal").four(pad(Sin4), pad(Sin8), pad(Sin12).env(50, 0, 70, 62, 85, 55), pad(Sin1).oct(-1)).ring12());
	add(Patch("Evolving").four(pad(Saw10, 66), late(Saw6, 64), late(Square3, 70).fine(7), late(Voice2, 74, 50, 70)).vib(2, 5));
	add(Patch("Str Synth").two(pad(Saw5, 32).fine(-6), pad(StringPad, 34).fine(6)));
	add(Patch("Synth Pad").two(pad(Synth2), pad(Synth2C).fine(8)));
	add(Patch("Synth Pad2").two(pad(Synth2B), pad(Synth3C).fine(-7)));
	add(Patch("Velvet").two(pad(Saw12, 70), pad(Sin2, 72).fine(4)));
	add(Patch("Heaven").four(pad(Voice1, 76).oct(1), pad(Sin1, 76).oct(1), pad(StringPad, 74), pad(Sin2, 78).fine(7)).vib(2, 18));
	add(Patch("Dusk Pad").two(pad(Saw13).keyLevel(-15), pad(Saw16).fine(6)));
	add(Patch("Ice Pad").two(pad(Sin5).oct(1).env(70, 0, 66, 62, 85, 55), pad(Sin1).fine(4)).ring12());
	add(Patch("Nylon Pad").two(Src(AGuitar).env(100, 0, 0, 50, 0, 40).vel(2, 30).steady(), pad(StringPad, 76)));
	add(Patch("Stack Pad").four(pad(Saw4), pad(Square2).fine(6), pad(Saw8).oct(-1), pad(StringPad).fine(-6)));
	add(Patch("Wide Pad").two(pad(Saw7).fine(-14), pad(Saw7).fine(14)));
	add(Patch("Key Pad").two(pad(Saw6).keyAttack(-30), pad(Saw10).fine(6).keyAttack(-30)));
	add(Patch("Warm Strng").two(pad(StringPad).keyLevel(-15), pad(Saw12).fine(5)));
	add(Patch("Mist").two(pad(WhiteNoiseLoop, 80), pad(VoiceLoop, 80).oct(1)));
	add(Patch("Halo").two(pad(Sin1, 76), pad(Sin2, 78).fine(12)).vib(2, 8));
	add(Patch("PWM Pad").two(pad(Square2).fine(-4), pad(Square4).fine(4)).vib(1, 16));
	add(Patch("Anthem Pad").four(pad(Saw3, 26), pad(Saw3, 26).fine(8), pad(Saw3, 28).semi(7), pad(Saw5, 28).oct(-1)));
	add(Patch("Shimmer").four(pad(Sin1), late(Sin4, 60).oct(1), late(Sin8, 66).oct(1), pad(Saw10).fine(6)));
	add(Patch("Drift Pad").two(pad(Saw9).fine(-3), pad(Saw9).fine(3)).vib(2, 2));
	add(Patch("Bass Pad").two(pad(Saw8, 30).oct(-1), pad(Sin1, 30).oct(-1)));
	add(Patch("Slow Choir").two(pad(VoiceLoop, 80), pad(Voice1, 80).fine(6)));
	add(Patch("Poly Pad").two(pad(Saw5, 20).vel(2, 30), pad(Square3, 22).fine(6).vel(2, 30)).poly2());
	add(Patch("Sine Pad").two(pad(Sin1, 70), pad(Sin1, 72).fine(10)));
	add(Patch("Noise Pad").two(pad(WhiteNoiseLoop, 76, 60, 70), pad(Saw10, 72).fine(5)).vib(3, 5, 3));
	return p;
}
}
