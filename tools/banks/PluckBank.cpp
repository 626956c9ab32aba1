#include "Library.h"
#include "Waves.h"

// Plucked strings: nylon and steel guitars, electric guitars clean and driven, harps, koto, sitar
// with its bending drone, banjo and mandolin tremolo, and synth plucks. The pick or finger is a
// short sampled attack; velocity chooses how hard the string is played.
namespace banks
{
using namespace wave;

namespace
{
Src string(int w, int decay = 58, int release = 22)
{
	return Src(w).env(100, 0, 0, decay, 0, release).vel(2, 35);
}

Src pick(int w, int level = 75)
{
	return Src(w).env(level, 0, 0, 20, 0, 10).vel(3, 45).steady();
}

Src synthPluck(int w, int decay = 34)
{
	return Src(w).env(100, 0, 0, decay, 0, 26).vel(2, 35);
}
}

std::vector<Patch> pluckBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Nylon Gtr").two(string(AGuitar, 56), pick(AGuitarPcm, 70)));
	add(Patch("Nylon Gtr2").two(string(AGuitarB, 56), string(AGuitar, 56).fine(4)));
	add(Patch("Steel Gtr").two(string(FGuitar, 60), pick(FGuitarPcm)));
	add(Patch("Steel Gtr2").two(string(FGuitarB, 60), string(FGuitarC, 60).fine(5)));
	add(Patch("12 String").four(string(FGuitar, 60), string(FGuitarB, 58).oct(1).fine(4).env(70, 0, 0, 58, 0, 22), pick(FGuitarPcm),
	                            string(FGuitarC, 60).fine(-4)));
	add(Patch("Gtr Loop").two(string(FGuitarLoop, 58), pick(FGuitarPcm, 60)));
	add(Patch("Clean Gtr").two(string(Strat, 58), string(StratB, 58).fine(4)));
	add(Patch("Strat Gtr").two(string(StratGuitar, 56), string(Strat, 58).fine(-4)));
	add(Patch("Chorus Gtr").four(string(Strat, 58).fine(-7), string(StratB, 58).fine(7), pick(StratGuitar, 60), string(Strat, 58).oct(1).env(50, 0, 0, 50, 0, 22)));
	add(Patch("Muted Gtr").two(string(FuzzMute, 26, 10), string(Strat, 24, 10).fine(3)));
	add(Patch("Funk Gtr").two(string(StratB, 34, 12).vel(2, 40), pick(FuzzMute, 60)));
	add(Patch("Drive Gtr").two(string(Saw2, 60).env(100, 0, 0, 60, 40, 18), string(StratB, 60).fine(6)).solo().bend(5).vib(6, 27));
	add(Patch("Flageolet").two(string(Sin2, 52), string(Sin3, 40).env(45, 0, 0, 40, 0, 22)));
	add(Patch("Jazz Gtr").two(string(FGuitarC, 54).vel(1, 25), string(Sin1, 50).env(70, 0, 0, 50, 0, 20)));
	add(Patch("Slide Gtr").two(string(Strat, 62), string(StratB, 62).fine(5)).solo().autoBend(-30, 36, 20).vib(7, 24));
	add(Patch("Gtr Rev").two(Src(FGuitarB).env(100, 0, 50, 30, 0, 20), Src(FGuitarC).fine(4).env(80, 0, 52, 30, 0, 20)));
	add(Patch("Harp").two(string(Harp, 62, 40), string(HarpB, 60, 40).fine(3)));
	add(Patch("Harp 2").two(string(HarpC, 62, 40), string(Sin1, 58, 40).oct(1).env(60, 0, 0, 58, 0, 40)));
	add(Patch("Harp Gliss").two(string(Harp, 64, 50), string(HarpB, 64, 50).fine(5)).poly2());
	add(Patch("Celtic Hrp").two(string(HarpB, 58, 35), string(AGuitar, 54, 30).fine(4)));
	add(Patch("Koto").two(string(Koto, 56, 28), pick(KotoB, 60)).autoBend(-6, 8));
	add(Patch("Koto 2").two(string(KotoB, 56, 28), string(KotoC, 56, 28).fine(4)).vib(4, 22).autoBend(0, 50));
	add(Patch("Sitar").two(string(Sitar, 62, 30), string(SitarB, 62, 30).fine(6)).autoBend(-10, 14, 15));
	add(Patch("Sitar Drn").four(string(SitarC, 64, 35), string(SitarD, 64, 35).fine(5), string(Sitar, 66, 40).oct(-1).env(70, 0, 0, 66, 0, 40),
	                              string(SitarB, 64, 35).semi(7).env(55, 0, 0, 64, 0, 35)));
	add(Patch("Banjo").two(string(FGuitarC, 40, 18).oct(1), pick(FGuitarPcm, 80).oct(1)));
	add(Patch("Mandolin").two(string(FGuitar, 44, 18).oct(1).fine(-6), string(FGuitarB, 44, 18).oct(1).fine(6)));
	add(Patch("Mando Trem").two(string(FGuitarC, 50, 18).oct(1), string(Strat, 50, 18).oct(1).fine(8)).vib(2, 60, 2));
	add(Patch("Lute").two(string(AGuitarB, 50, 24), string(Harpsichord, 44, 20).env(50, 0, 0, 44, 0, 20)));
	add(Patch("Oud").two(string(AGuitar, 52, 24).oct(-1), string(SitarB, 48, 24).oct(-1).env(60, 0, 0, 48, 0, 24)).autoBend(-8, 10));
	add(Patch("Shamisen").two(string(KotoC, 40, 18), pick(Rim, 55).fixed(92)).autoBend(-10, 8, 20));
	add(Patch("Dulcimer").two(string(Harpsichord, 54, 30), string(HarpsichordB, 54, 30).fine(7)));
	add(Patch("Zither").two(string(KotoB, 62, 40), string(HarpC, 62, 40).fine(5)));
	add(Patch("Pizz Gtr").two(string(Pizzicato, 40, 20), string(AGuitar, 44, 20).fine(4)));
	add(Patch("Bass Gtr").two(string(FGuitar, 58).oct(-1), pick(PullBassPcm, 60)));
	add(Patch("Gtr+Flute").two(string(AGuitar, 56), Src(Flute).env(70, 0, 20, 50, 80, 20)));
	add(Patch("Gtr+Str").two(string(FGuitar, 58), Src(String).env(70, 0, 40, 60, 85, 40)));
	add(Patch("Saw Pluck").two(synthPluck(Saw2).fine(-6), synthPluck(Saw2).fine(6)));
	add(Patch("Square Plk").two(synthPluck(Square2), synthPluck(Square3).fine(5)));
	add(Patch("Sine Pluck").two(synthPluck(Sin1, 40), synthPluck(Sin2, 30).env(70, 0, 0, 30, 0, 26)));
	add(Patch("Bell Pluck").two(synthPluck(Sin1, 40).semi(19), synthPluck(Saw6, 36)).ring12());
	add(Patch("Short Plk").two(synthPluck(Saw4, 24), synthPluck(Square4, 24).fine(7)));
	add(Patch("Long Pluck").two(synthPluck(Saw8, 56), synthPluck(Saw10, 56).fine(7)));
	add(Patch("Digi Pluck").two(synthPluck(Synth1, 36), synthPluck(Synth3, 36).fine(6)));
	add(Patch("Pluck Oct").two(synthPluck(Saw5, 34), synthPluck(Saw5, 30).oct(1).env(70, 0, 0, 30, 0, 26)));
	add(Patch("Pluck 5th").two(synthPluck(Saw6, 34), synthPluck(Saw6, 32).semi(7).env(70, 0, 0, 32, 0, 26)));
	add(Patch("Pluck Bend").two(synthPluck(Saw3, 36), synthPluck(Square2, 36).fine(5)).autoBend(8, 8, 25));
	add(Patch("Poly Pluck").four(synthPluck(Saw3, 36).fine(-8), synthPluck(Saw3, 36).fine(8), synthPluck(Square2, 36).oct(-1), synthPluck(Sin1, 40)).poly2());
	add(Patch("Soft Pluck").two(synthPluck(Triangle, 40).vel(1, 25), synthPluck(Sin1, 40).vel(1, 25)));
	add(Patch("Vel Pluck").two(synthPluck(Saw12, 40).vel(8, 50), synthPluck(Saw1, 36).vel(5, 50)).trim(2));
	add(Patch("Key Pluck").two(synthPluck(Saw4, 40).keyLevel(-20), synthPluck(Saw8, 40).keyLevel(20)));
	add(Patch("Kalimba Pk").two(string(Kalimba, 46, 30), synthPluck(Sin3, 26)));
	add(Patch("Marimba Pk").two(string(Marimba, 40, 30), synthPluck(Square5, 26)));
	add(Patch("Water Drop").two(synthPluck(Sin1, 36), synthPluck(Sin2, 30)).autoBend(-20, 10));
	add(Patch("Drop Pluck").two(synthPluck(Sin3, 36), synthPluck(Sin1, 36).oct(-1)).autoBend(24, 10));
	add(Patch("Pluck Pad").two(synthPluck(Saw4, 40), Src(Saw8).env(70, 0, 44, 62, 85, 55)));
	add(Patch("Clav Pluck").two(string(Clavi, 36, 14).vel(3, 45), synthPluck(Saw6, 30)));
	add(Patch("Harpsi Plk").two(string(HarpsichordC, 48, 20), synthPluck(Square5, 34)));
	add(Patch("Steel Harp").two(string(FGuitar, 62, 40), string(Harp, 62, 40).fine(4)));
	add(Patch("Gtr Harmo").two(string(GuitarHarmo, 60), string(Sin4, 56).env(60, 0, 0, 56, 0, 22)));
	add(Patch("Ac Pick").two(string(AGuitarB, 44).vel(3, 40), pick(AGuitarPcm, 95)));
	add(Patch("Fingers").two(string(AGuitarB, 54).vel(1, 25), pick(AGuitarPcm, 50)));
	add(Patch("Gtr Wide").four(string(FGuitar, 58).fine(-9), string(FGuitarB, 58).fine(9), pick(FGuitarPcm), string(AGuitar, 56)));
	add(Patch("Gtr Octave").two(string(Strat, 58), string(StratB, 56).oct(-1).env(75, 0, 0, 56, 0, 22)));
	add(Patch("Gtr Swell").two(Src(Strat).env(100, 0, 50, 60, 60, 30), Src(StratB).fine(5).env(100, 0, 52, 60, 60, 30)).vib(4, 26));
	return p;
}
}
