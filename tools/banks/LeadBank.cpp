#include "Library.h"
#include "Waves.h"

// Leads: monophonic solo voices with vibrato on the wheel and on pressure, auto bend into the
// note, detuned and octave stacks, square and sync leads, and a few polyphonic solo sounds.
namespace banks
{
using namespace wave;

namespace
{
Src lead(int w, int attack = 2, int sustain = 90, int release = 16)
{
	return Src(w).env(100, 0, attack, 40, sustain, release).vel(2, 25);
}

// The usual solo setup: mono, bend 2, a moderate vibrato the player can deepen.
Patch& soloLead(Patch& p, int depth = 6)
{
	return p.solo().bend(2).vib(depth, 27).pressure(0, 5);
}
}

std::vector<Patch> leadBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	auto addSolo = [&p](Patch patch, int depth) { p.push_back(std::move(soloLead(patch, depth))); };

	addSolo(Patch("Synth Solo").two(lead(SynthSolo), lead(SynthSoloB).fine(6)), 6);
	addSolo(Patch("Solo 2").two(lead(SynthSoloC), lead(SynthSolo).fine(-5)), 7);
	addSolo(Patch("Saw Lead").two(lead(Saw1), lead(Saw1).fine(8)), 6);
	addSolo(Patch("Square Ld").two(lead(Square1), lead(Square2).fine(5)), 6);
	addSolo(Patch("Fat Lead").four(lead(Saw2).fine(-10), lead(Saw2).fine(10), lead(Square3).oct(-1), lead(Saw4)), 5);
	addSolo(Patch("Sync Lead").two(lead(Synth4), lead(Synth4B).fine(5)), 6);
	p.back().autoBend(14, 20, 20);
	addSolo(Patch("Sine Lead").two(lead(Sin1), lead(Sin2).env(50, 0, 2, 40, 90, 16)), 8);
	addSolo(Patch("Tri Lead").two(lead(Triangle), lead(Sin1).fine(4)), 8);
	addSolo(Patch("Whistle Ld").two(lead(Triangle, 6).oct(1), lead(WhiteNoiseLoop, 6).env(30, 0, 6, 30, 60, 14).steady()), 10);
	addSolo(Patch("Pipe Lead").two(lead(Flute, 6), lead(Sin2, 6).env(60, 0, 6, 40, 90, 16)), 9);
	addSolo(Patch("Octave Ld").two(lead(Saw3), lead(Saw3).oct(1).env(75, 0, 2, 40, 90, 16)), 6);
	addSolo(Patch("Fifth Lead").two(lead(Saw3), lead(Saw5).semi(7).env(80, 0, 2, 40, 90, 16)), 5);
	addSolo(Patch("Bend Lead").two(lead(Saw2), lead(Square2).fine(6)), 6);
	p.back().autoBend(-24, 28, 30);
	addSolo(Patch("Scream").two(lead(Saw1).vel(3, 40), lead(Saw1).semi(12).fine(9)), 9);
	p.back().autoBend(20, 24, 30).bend(7);
	addSolo(Patch("Soft Lead").two(lead(Saw12, 10), lead(Sin1, 10).fine(4)), 7);
	addSolo(Patch("Reed Lead").two(lead(Oboe, 4), lead(Saw8, 4).fine(5)), 7);
	addSolo(Patch("Brass Lead").two(lead(Brass, 8), lead(Saw2, 8).fine(6)), 6);
	p.back().autoBend(-16, 16, 25);
	addSolo(Patch("Voice Lead").two(lead(Voice1, 8), lead(VoiceLoop, 8).fine(5)), 9);
	addSolo(Patch("Ring Lead").two(lead(Sin1).semi(19), lead(Saw3)), 5);
	p.back().ring12();
	addSolo(Patch("Ring Ld 2").two(lead(Square1).semi(7), lead(Sin1).oct(1)), 4);
	p.back().ring12().mute(1);
	addSolo(Patch("Pulse Lead").two(lead(Square4), lead(Square5).fine(6)), 6);
	addSolo(Patch("Thin Lead").two(lead(Saw17), lead(Saw19).fine(5)), 6);
	addSolo(Patch("Digi Lead").two(lead(Synth1), lead(Synth1B).fine(6)), 6);
	addSolo(Patch("Digi Ld 2").two(lead(Synth3), lead(Synth3C).fine(-6)), 6);
	addSolo(Patch("Chiff Lead").two(lead(Square3, 2), Src(WhiteNoise).env(55, 0, 0, 16, 0, 8).steady()), 7);
	addSolo(Patch("Pluck Lead").two(lead(Saw4, 0, 30), lead(Square2, 0, 30).fine(6)), 5);
	addSolo(Patch("Guitar Ld").two(lead(Strat, 0, 70), lead(StratB, 0, 70).fine(6)), 9);
	p.back().bend(5).autoBend(-18, 22, 25);
	addSolo(Patch("Fuzz Lead").two(lead(FuzzMute, 0, 70).noPressurePitch(), lead(Saw1, 0, 70).fine(7)), 9);
	addSolo(Patch("Harm Lead").two(lead(Sin3, 0, 70), lead(Sin2, 0, 70).fine(4)), 10);
	add(Patch("Poly Lead").two(lead(Saw3), lead(Saw3).fine(7)).vib(4, 27).bend(2));
	add(Patch("Poly Sync").two(lead(Synth4B), lead(Synth4).oct(-1).fine(-6)).vib(3, 27).autoBend(10, 16, 20));
	addSolo(Patch("Vel Lead").two(lead(Saw8).vel(8, 50), lead(Saw1).vel(5, 50)).trim(2), 6);
	addSolo(Patch("Press Lead").two(lead(Saw3), lead(Saw2).fine(6).pressLevel(-30)), 2);
	p.back().pressure(4, 12);
	addSolo(Patch("Wheel Lead").two(lead(Square2), lead(Saw4).fine(6)), 2);
	addSolo(Patch("Speed Lead").two(lead(Saw3), lead(Saw3).fine(5)), 9);
	p.back().wheelSpeed();
	addSolo(Patch("Trill Lead").two(lead(Square3), lead(Sin1).fine(5)), 15);
	p.back().vib(15, 60, 2);
	addSolo(Patch("Random Ld").two(lead(Square5), lead(Saw10).oct(-1).fine(6)), 12);
	p.back().vib(12, 40, 3);
	addSolo(Patch("Detune Ld").four(lead(Saw2).fine(-14), lead(Saw2).fine(-5), lead(Saw2).fine(5), lead(Saw2).fine(14)), 5);
	addSolo(Patch("Hollow Ld").two(lead(Square1), lead(Sin3).oct(-1)), 7);
	addSolo(Patch("Glass Lead").two(lead(Sin4), lead(Sin8).env(60, 0, 2, 40, 90, 16)), 7);
	addSolo(Patch("Mini Lead").two(lead(Saw1), lead(Square1).oct(-1).fine(4)), 6);
	p.back().bend(7);
	addSolo(Patch("Lead Stack").four(lead(Saw2), lead(Square2).oct(1).env(70, 0, 2, 40, 90, 16), lead(Saw4).oct(-1), lead(Sin1)), 6);
	addSolo(Patch("Slow Lead").two(lead(Saw6, 30), lead(Saw8, 32).fine(6)), 8);
	addSolo(Patch("Bell Lead").two(lead(Sin1), Src(Bell).env(70, 0, 0, 40, 0, 25).steady()), 6);
	addSolo(Patch("Organ Ld").two(lead(RockOrgan1), lead(Saw4).fine(6)), 5);
	addSolo(Patch("Ocarina Ld").two(lead(Sin1, 8), lead(Sin3, 8).fine(3).env(60, 0, 8, 40, 90, 16)), 9);
	addSolo(Patch("Kalimba Ld").two(Src(Kalimba).env(100, 0, 0, 45, 0, 20).vel(2, 30), lead(Sin1, 4).env(60, 0, 4, 40, 70, 16)), 5);
	addSolo(Patch("Laser Lead").two(lead(Saw1), lead(Saw1).fine(9)), 5);
	p.back().autoBend(40, 24, 20);
	addSolo(Patch("Drop Lead").two(lead(Square2), lead(Square2).fine(7)), 5);
	p.back().autoBend(-40, 30, 20);
	addSolo(Patch("Seq Lead").two(lead(Saw3, 0, 20), lead(Square3, 0, 20).fine(6)), 0);
	addSolo(Patch("Retro Lead").two(lead(Square1), lead(Square1).oct(-1).fine(3)), 7);
	addSolo(Patch("Solo Sine").two(lead(Sin1), lead(Sin1).fine(3)), 9);
	addSolo(Patch("Clav Lead").two(Src(Clavi).env(100, 0, 0, 45, 40, 14).vel(3, 40), lead(Square4).fine(5)), 5);
	addSolo(Patch("Horn Lead").two(lead(FrenchHorn, 14), lead(Saw6, 14).fine(5)), 6);
	p.back().autoBend(0, 40);
	addSolo(Patch("Vox Lead").two(lead(Voice2, 6), lead(Saw6, 6).fine(6)), 8);
	addSolo(Patch("Buzz Lead").two(lead(Square5), lead(Random).env(30, 0, 0, 30, 60, 14)), 5);
	addSolo(Patch("Sitar Lead").two(Src(Sitar).env(100, 0, 0, 50, 30, 16).vel(2, 30), Src(SitarC).fine(5).env(80, 0, 0, 50, 30, 16)), 6);
	p.back().autoBend(-10, 14, 15);
	addSolo(Patch("Harp Lead").two(Src(Harmonica).env(100, 0, 6, 40, 90, 14), lead(Square5).fine(4)), 8);
	addSolo(Patch("Soft Saw").two(lead(Saw10, 6), lead(Saw10, 6).fine(8)), 6);
	addSolo(Patch("Wide Lead").two(lead(Saw3).fine(-16), lead(Saw3).fine(16)), 5);
	addSolo(Patch("Key Lead").two(lead(Saw4).keyLevel(-15), lead(Saw9).keyLevel(15)), 6);
	addSolo(Patch("Trumpet Ld").two(lead(Trumpet, 8), lead(TrumpetB, 8).fine(5)), 7);
	p.back().autoBend(-14, 16, 25);
	addSolo(Patch("Dream Lead").two(lead(MelloPad, 16), lead(Sin2, 16).fine(5)), 8);
	add(Patch("Unison Ld").four(lead(Saw2).fine(-10), lead(Saw3).fine(10), lead(Saw2).oct(-1), lead(Saw4).oct(1).env(60, 0, 2, 40, 90, 16))
	        .solo().bend(12).vib(4, 27));
	return p;
}
}
