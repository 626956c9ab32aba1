#include "Library.h"
#include "Waves.h"

// Organs, reeds and harmonicas: drawbar registrations stacked from sine partials (16', 8', 5 1/3',
// 4', 2 2/3', 2'), tonewheel and combo organs with a decaying percussion partial, pipe stops with a
// slower speech, accordions tuned as musette reeds. The wheel speeds up the rotor (vibrato) where
// a player would reach for it.
namespace banks
{
using namespace wave;

namespace
{
// One drawbar: sounds at once, holds, stops with a short click of a release.
Src bar(int w, int semitones = 0, int level = 100)
{
	return Src(w).semi(semitones).env(level, 0, 0, 0, 100, 8);
}

// The percussion partial: struck at note-on, gone after a fraction of a second.
Src perc(int w, int decay = 34, int level = 95)
{
	return Src(w).env(level, 0, 0, decay, 0, 8).vel(2, 20).steady();
}

Src pipe(int w, int semitones = 0, int level = 100, int release = 30)
{
	return Src(w).semi(semitones).env(level, 0, 14, 0, 100, release);
}

Src reed(int w, int fine = 0)
{
	return Src(w).fine(fine).env(100, 0, 12, 0, 100, 14).vel(1, 15).pressLevel(-10);
}

// The rotor: a little pitch vibrato whose speed the wheel raises.
Patch& rotor(Patch& p, int speed)
{
	return p.vib(3, speed).wheelSpeed();
}
}

std::vector<Patch> organBank()
{
	std::vector<Patch> p;
	const int low = -12;
	p.push_back(Patch("Jazz Organ").four(bar(JazzOrgan1), bar(Sin1, low, 80), perc(Sin3, 32), bar(Sin2, 0, 70)));
	p.push_back(Patch("Jazz Org 2").two(bar(JazzOrgan2), perc(Sin2)));
	p.push_back(Patch("Rock Organ").two(bar(RockOrgan1), bar(RockOrgan2).fine(4)));
	p.push_back(Patch("Rock Org 2").four(bar(RockOrgan2), bar(RockOrgan1).fine(-5), bar(Saw6, 12, 60), perc(Sin3, 30, 80)));
	p.push_back(Patch("Full Bars").four(bar(Sin1, low), bar(Sin1), bar(Sin2), bar(Sin4)));
	p.push_back(Patch("Gospel Org").four(bar(DrawBar1), bar(DrawBar2).fine(3), perc(Sin3), bar(Sin1, low, 85)));
	p.push_back(Patch("Drawbar 1").two(bar(DrawBar1), bar(Sin1, low, 70)));
	p.push_back(Patch("Drawbar 2").two(bar(DrawBar2), bar(Sin2, 0, 70)));
	p.push_back(Patch("Bars 888").four(bar(Sin1, low), bar(Sin3, low), bar(Sin1), bar(Sin1, low, 40)).mute(4));
	p.push_back(Patch("Bars 8006").four(bar(Sin1, low), bar(Sin1), bar(Sin4, 0, 85), bar(Sin8, 0, 70)));
	p.push_back(Patch("Perc 2nd").two(bar(Sin1), perc(Sin2)));
	p.push_back(Patch("Perc 3rd").two(bar(Sin1), perc(Sin3)));
	p.push_back(Patch("Soft Perc").four(bar(Sin1, low, 85), bar(Sin1), perc(Sin3, 40, 75), bar(Sin2, 0, 60)));
	{
		Patch fast("Rotor Fast");
		fast.four(bar(DrawBar1), bar(Sin1, low, 80), bar(Sin2, 0, 80), bar(Sin3, 0, 60));
		p.push_back(rotor(fast, 45));
	}
	{
		Patch slow("Rotor Slow");
		slow.two(bar(DrawBar2), bar(JazzOrgan1).fine(3));
		p.push_back(rotor(slow, 8));
	}
	p.push_back(Patch("Ballad Org").two(bar(Sin1).env(100, 0, 10, 0, 100, 20), bar(Sin2, 0, 75).env(75, 0, 10, 0, 100, 20)));
	p.push_back(Patch("Theatre").four(Src(Sin1).env(100, 0, 8, 0, 100, 25), Src(Sin2).env(80, 0, 8, 0, 100, 25),
	                                  Src(Sin1).oct(-1).env(85, 0, 8, 0, 100, 25), Src(Sin4).env(60, 0, 8, 0, 100, 25))
	                    .vib(10, 26));
	p.push_back(Patch("Pipe Organ").two(pipe(PipeOrgan1), pipe(PipeOrgan2).fine(2)));
	p.push_back(Patch("Full Pipes").four(pipe(PipeOrgan1), pipe(PipeOrgan2, 12, 85), pipe(PipeOrgan3, -12), pipe(PipeOrgan3B, 19, 70)));
	p.push_back(Patch("Flute 8'").two(pipe(Sin1), pipe(Sin2, 0, 55)));
	p.push_back(Patch("Principal").two(pipe(PipeOrgan2), pipe(Sin2, 0, 70)));
	p.push_back(Patch("Mixture").four(pipe(PipeOrgan3), pipe(Sin3, 12, 75), pipe(Sin4, 12, 70), pipe(Sin1, 24, 65)));
	p.push_back(Patch("Reed Stop").two(pipe(PipeOrgan1), pipe(Saw8, 0, 80)));
	p.push_back(Patch("Bourdon 16").two(pipe(Sin1, low), pipe(Sin3, low, 70)));
	p.push_back(Patch("Chapel Org").two(pipe(PipeOrgan1, 0, 100, 40).env(100, 0, 20, 0, 100, 40), pipe(Sin2, 0, 65, 40)));
	p.push_back(Patch("Cathedral").four(pipe(PipeOrgan1, 0, 100, 58), pipe(PipeOrgan2, 12, 85, 58), pipe(PipeOrgan3B, -12, 95, 58),
	                                    pipe(PipeOrgan3, 7, 70, 58)));
	p.push_back(Patch("Positive").two(pipe(PipeOrgan3), pipe(Sin4, 0, 70)));
	p.push_back(Patch("Plenum").four(pipe(PipeOrgan1), pipe(PipeOrgan2), pipe(PipeOrgan3, 12, 80), pipe(Sin2, 12, 60)));
	p.push_back(Patch("Vox Celest").two(pipe(PipeOrgan2).fine(-8), pipe(PipeOrgan2).fine(8)));
	p.push_back(Patch("Accordion").two(reed(Accordion), reed(AccordionB, 10)));
	p.push_back(Patch("Musette").four(reed(Accordion), reed(AccordionB, -14), reed(Accordion, 14), reed(AccordionB).oct(-1).env(70, 0, 12, 0, 100, 14)));
	p.push_back(Patch("Bandoneon").two(reed(AccordionB).oct(-1), reed(Accordion, 5)));
	p.push_back(Patch("Harmonium").two(reed(Accordion).env(100, 0, 25, 0, 100, 25), reed(Saw10, 4).env(70, 0, 30, 0, 100, 25)));
	p.push_back(Patch("Harmonica").two(reed(Harmonica), reed(HarmonicaB, 4)).vib(6, 30).pressure(0, 6).bend(2));
	p.push_back(Patch("Blues Harp").two(reed(HarmonicaC), reed(HarmonicaD, 3)).solo().autoBend(-18, 22, 20).vib(5, 32).pressure(-4, 5));
	p.push_back(Patch("Melodica").two(reed(HarmonicaD), reed(Square5, 5).env(60, 0, 12, 0, 100, 14)).vib(3, 28));
	p.push_back(Patch("Combo Org").two(bar(Square2), bar(Saw5, 12, 70)));
	p.push_back(Patch("Combo Org2").two(bar(Square1), bar(Square3, 12, 75)).vib(4, 40));
	p.push_back(Patch("Transistor").two(bar(Square4), bar(Triangle, 12, 80)));
	p.push_back(Patch("Pedal Bass").two(bar(Sin1, low).env(100, 0, 4, 40, 80, 16), bar(Sin2, low, 70)));
	p.push_back(Patch("Click Org").four(bar(DrawBar1), bar(Sin1, low, 75), Src(PianoNoise).env(50, 0, 0, 10, 0, 6).steady(), bar(Sin3, 0, 55)));
	p.push_back(Patch("Dirty Org").two(bar(RockOrgan1), bar(Saw1, 0, 70).fine(6)));
	p.push_back(Patch("Overdrive").four(bar(RockOrgan2).fine(-7), bar(RockOrgan2).fine(7), bar(RockOrgan1, 12, 70), bar(Saw2, -12, 65)));
	p.push_back(Patch("Soul Org").two(bar(JazzOrgan1), perc(Sin3, 30, 85)).vib(3, 40).wheelSpeed());
	p.push_back(Patch("High Bars").four(bar(Sin2), bar(Sin4), bar(Sin8, 0, 80), bar(Sin1, 0, 60)));
	p.push_back(Patch("Mellow Org").two(bar(Sin1), bar(Triangle, 0, 70)));
	p.push_back(Patch("Calliope").four(Src(Sin1).env(100, 0, 6, 0, 100, 14), Src(Sin2).env(70, 0, 6, 0, 100, 14),
	                                   Src(WhiteNoiseLoop).env(40, 0, 6, 0, 100, 14).steady(), Src(Sin1).oct(1).env(60, 0, 6, 0, 100, 14))
	                    .vib(12, 34));
	p.push_back(Patch("Fair Organ").two(Src(Square3).env(100, 0, 4, 0, 100, 12), Src(Sin2).env(80, 0, 4, 0, 100, 12)).vib(9, 30));
	p.push_back(Patch("Reed Organ").two(reed(Accordion), reed(Clarinet, 4)));
	p.push_back(Patch("Org Chimes").two(pipe(PipeOrgan2), Src(TubeBell).env(80, 0, 0, 60, 0, 45).steady()));
	p.push_back(Patch("Org+Str").two(bar(DrawBar1), Src(String).env(80, 0, 40, 0, 100, 40)));
	p.push_back(Patch("Org Pad").two(pipe(PipeOrgan1).env(100, 0, 60, 0, 100, 50), pipe(Sin2).env(80, 0, 62, 0, 100, 50).fine(5)));
	p.push_back(Patch("Tonewheel").four(bar(Sin1), bar(Sin2, 0, 90), bar(Sin3, 0, 80), bar(Sin4, 0, 70)));
	p.push_back(Patch("Jazz Bars").four(bar(Sin1, low), bar(Sin1), bar(Sin3, low, 75), perc(Sin3, 30)));
	p.push_back(Patch("Gospel 2").four(bar(DrawBar2), bar(JazzOrgan2).fine(4), bar(Sin1, low, 90), perc(Sin2, 30)).vib(3, 42).wheelSpeed());
	p.push_back(Patch("Swell Org").two(bar(DrawBar1).env(100, 0, 62, 0, 100, 30), bar(Sin2, 0, 80).env(80, 0, 64, 0, 100, 30)));
	p.push_back(Patch("Sine Org").two(bar(Sin1), bar(Sin1, 12, 75)));
	p.push_back(Patch("Square Org").two(bar(Square5), bar(Sin2, 0, 70)));
	p.push_back(Patch("Perc Only").two(perc(Sin3, 36), bar(Sin1, 0, 60)));
	p.push_back(Patch("Org Lead").two(bar(RockOrgan1), bar(Saw3, 0, 70).fine(5)).solo().vib(6, 30).bend(2));
	p.push_back(Patch("Org Scoop").two(bar(RockOrgan2).fine(-3), bar(RockOrgan1).fine(3)).autoBend(-20, 18, 25));
	p.push_back(Patch("Wheel Org").two(bar(JazzOrgan2), bar(Sin1, low, 75)).vib(4, 12).wheelSpeed());
	p.push_back(Patch("Dark Org").two(bar(DrawBar2), bar(Sin1, low)));
	p.push_back(Patch("Pipe Flute").four(pipe(Sin1).env(100, 0, 16, 0, 100, 30), pipe(Sin3, 0, 70).env(70, 0, 16, 0, 100, 30), Src(WhiteNoise).env(40, 0, 0, 16, 0, 8).steady(), Src(PanFluteAttack).env(40, 0, 0, 18, 0, 10).steady()).solo());
	return p;
}
}
