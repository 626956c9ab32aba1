#include "Library.h"
#include "Waves.h"

// Strings and voices: bowed sections from cyclic string waves with a sampled bow attack, solo
// instruments whose vibrato fades in after the note has settled (a flat auto bend delays it),
// pizzicato, orchestral tutti and choirs.
namespace banks
{
using namespace wave;

namespace
{
Src section(int w, int attack, int release = 42)
{
	return Src(w).env(100, 0, attack, 60, 85, release).vel(1, 18).velAttack(-6).keyAttack(-4);
}

// A section that swells in: velocity hardly hurries it, so the swell survives a firm touch.
Src swell(int w, int attack, int release = 55)
{
	return Src(w).env(100, 0, attack, 60, 85, release).vel(1, 18).velAttack(-4);
}

Src bow(int w = StringAttack)
{
	return Src(w).env(55, 0, 4, 26, 0, 16).vel(2, 35).steady();
}

Src choir(int w, int attack = 34, int release = 45)
{
	return Src(w).env(100, 0, attack, 55, 90, release).vel(1, 15);
}

Src pizz(int w)
{
	return Src(w).env(100, 0, 0, 36, 0, 22).vel(2, 40).steady();
}

// Vibrato that arrives after the attack: the auto bend holds it back without bending.
Patch& lateVibrato(Patch& p, int depth, int delay)
{
	return p.vib(depth, 25).autoBend(0, delay);
}
}

std::vector<Patch> stringBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Strings").four(section(String, 40), section(StringB, 42).fine(6), section(StringC, 40).fine(-6), bow()));
	add(Patch("Strings 2").two(section(StringB, 38), section(String, 40).fine(8)));
	add(Patch("Slow Str").two(swell(String, 64), swell(StringC, 66).fine(7)));
	add(Patch("Fast Str").two(section(String, 12), bow(StringAttack)));
	add(Patch("Str Octave").four(section(String, 40), section(StringB, 40).oct(1).env(75, 0, 32, 60, 85, 42),
	                             section(StringC, 42).fine(5), bow()));
	add(Patch("Chamber").two(section(Violin, 36).fine(-4), section(StringC, 38).fine(4)).vib(5, 24));
	add(Patch("Sample Str").two(Src(StringSus).env(100, 0, 26, 60, 90, 42).vel(1, 18), bow()));
	add(Patch("Str Loop").two(Src(StringLoop).env(100, 0, 30, 60, 90, 45).vel(1, 18), section(String, 42).fine(6)));
	add(Patch("Bowed Str").two(Src(BowedString).env(100, 0, 4, 36, 0, 24).vel(2, 30), section(StringB, 32).fine(-5)));
	add(Patch("Orchestra").four(section(Orchestra, 30), section(String, 34).fine(5), Src(Brass).env(70, 0, 24, 60, 80, 35),
	                            Src(FrenchHorn).oct(-1).env(75, 0, 26, 60, 80, 35)));
	add(Patch("Tutti Hit").two(Src(Orchestra).env(100, 0, 0, 38, 0, 28).vel(2, 30), Src(StringAttack).env(90, 0, 0, 30, 0, 20)));
	add(Patch("Pizzicato").two(pizz(Pizzicato), pizz(String).env(70, 0, 0, 26, 0, 18)));
	add(Patch("Pizz Sect").four(pizz(Pizzicato), pizz(Pizzicato).fine(8), pizz(StringB).oct(-1).env(70, 0, 0, 28, 0, 20), pizz(Harp)));
	{
		Patch solo("Violin");
		solo.two(section(Violin, 18, 30), bow()).solo();
		add(lateVibrato(solo, 10, 40));
	}
	{
		Patch viola("Viola");
		viola.two(section(Violin, 30, 30).oct(-1).fine(3), section(StringC, 32, 30).oct(-1)).solo();
		add(lateVibrato(viola, 9, 42));
	}
	{
		Patch cello("Cello");
		cello.two(section(Violin, 32, 32).oct(-1), section(StringB, 34, 32).oct(-2).env(70, 0, 24, 60, 85, 32)).solo();
		add(lateVibrato(cello, 9, 45));
	}
	add(Patch("Contrabass").two(section(StringB, 34, 30).oct(-2), bow().oct(-2)).solo().vib(6, 22));
	add(Patch("Tremolo").four(section(String, 18), section(StringB, 18).fine(7), section(StringC, 18).fine(-7),
	                              section(Violin, 18).fine(3)).vib(2, 62, 2));
	add(Patch("Str Swell").two(swell(String, 72, 50).velAttack(0), swell(StringC, 74, 50).fine(6).velAttack(0)));
	add(Patch("Str Pad").two(swell(StringPad, 62, 58), swell(StringPad, 64, 58).fine(9)));
	add(Patch("Warm Str").two(section(String, 44).keyLevel(-18), section(Sin1, 44).env(70, 0, 34, 60, 90, 42)).keyCurve(1));
	add(Patch("Bright Str").two(section(StringC, 34), section(Saw2, 36).oct(1).fine(6).env(55, 0, 26, 60, 85, 40)));
	add(Patch("Ensemble").four(section(String, 38).fine(-8), section(String, 38).fine(8), section(StringB, 40).oct(-1),
	                                section(StringC, 40).oct(1).env(70, 0, 34, 60, 85, 40)));
	add(Patch("Analog Str").four(section(Saw6, 40).fine(-7), section(Saw6, 40).fine(7), section(Saw9, 42).oct(-1),
	                             section(Saw12, 44).oct(1).env(60, 0, 36, 60, 85, 40)).vib(2, 22));
	add(Patch("Syn Str").two(section(Saw5, 40).fine(-6), section(Saw7, 40).fine(6)));
	add(Patch("Movie Str").four(swell(String, 60, 58), swell(StringPad, 64, 60).fine(6), swell(StringC, 62, 58).oct(-1),
	                            swell(Voice1, 66, 60).env(60, 0, 66, 60, 85, 60)));
	add(Patch("Legato Str").two(section(String, 42), section(StringB, 42).fine(5)).solo().bend(2));
	add(Patch("Marcato").two(section(StringC, 8, 24).vel(3, 40), bow()));
	add(Patch("Spiccato").two(pizz(StringB).env(100, 0, 4, 24, 0, 14), bow().env(80, 0, 0, 18, 0, 10)));
	add(Patch("Str + Horn").two(section(String, 40), Src(FrenchHorn).oct(-1).env(85, 0, 30, 60, 80, 38)));
	add(Patch("Str + Harp").two(section(String, 46), pizz(Harp).env(90, 0, 0, 55, 0, 40)));
	add(Patch("Str + Pno").two(section(String, 46), Src(Piano1).env(100, 0, 0, 68, 0, 30).vel(2, 35).steady()));
	add(Patch("Glass Str").two(section(String, 44), Src(Sin4).oct(1).env(55, 0, 30, 60, 85, 42)));
	add(Patch("Octave Str").two(section(StringB, 40).oct(-1), section(String, 40)));
	add(Patch("Fifth Str").two(section(String, 40), section(StringC, 42).semi(7).env(75, 0, 32, 60, 85, 42)));
	add(Patch("Choir Aah").two(choir(Voice1), choir(Voice2).fine(6)));
	add(Patch("Choir Ooh").two(choir(VoiceLoop, 38), choir(Sin1, 40).env(60, 0, 40, 55, 90, 45)));
	add(Patch("Choir Pcm").two(choir(VoicePcm, 30), choir(VoiceLoop, 34).fine(5)));
	add(Patch("Big Choir").four(choir(Voice1).fine(-7), choir(Voice2).fine(7), choir(VoiceLoop).oct(-1), choir(Voice1).oct(1).env(60, 0, 38, 55, 90, 45)));
	add(Patch("Male Choir").two(choir(Voice2).oct(-1), choir(VoiceLoop).oct(-1).fine(5)));
	add(Patch("Girl Choir").two(choir(Voice1).oct(1).env(80, 0, 30, 55, 90, 45), choir(Sin1).oct(1).env(60, 0, 30, 55, 90, 45)));
	{
		Patch solo("Solo Voice");
		solo.two(choir(Voice1, 24, 30), choir(VoicePcm, 22, 30)).solo();
		add(lateVibrato(solo, 10, 38));
	}
	add(Patch("Voice+Str").four(choir(Voice1), choir(Voice2).fine(6), section(String, 44), section(StringB, 46).fine(-6)));
	add(Patch("Choir Pad").two(choir(VoiceLoop, 62, 60), choir(StringPad, 64, 60).fine(7)));
	add(Patch("Angels").four(choir(Voice1, 62, 62).oct(1), choir(Sin1, 64, 62).oct(1), choir(Voice2, 62, 62).fine(8), choir(Sin2, 66, 62))
	        .vib(4, 20));
	add(Patch("Hum Choir").two(choir(Sin1, 34), choir(Sin2, 36).env(50, 0, 36, 55, 90, 45)).vib(3, 22));
	add(Patch("Vox Str").two(choir(VoiceLoop, 60), swell(StringPad, 62)));
	add(Patch("Cluster").four(swell(String, 62), swell(String, 62).semi(2), swell(StringB, 64).semi(5), swell(StringC, 64).semi(7)));
	add(Patch("Dark Str").two(swell(StringB, 60).oct(-1).keyLevel(-25), swell(String, 62).keyLevel(-25)));
	add(Patch("Thin Str").two(section(Saw16, 36), section(StringC, 38).fine(5)));
	add(Patch("Sul Ponti").two(section(StringC, 32), section(Sin7, 32).env(55, 0, 22, 60, 85, 38)).vib(2, 34, 3));
	add(Patch("Harmonics").two(section(Sin2, 34).env(80, 0, 24, 60, 90, 42), section(Sin4, 34).env(60, 0, 24, 60, 90, 42)).vib(4, 26));
	add(Patch("Str Bend").two(section(String, 30), section(StringB, 32).fine(4)).autoBend(-14, 24, 20));
	add(Patch("Fiddle").two(section(Violin, 10, 24).vel(3, 35), Src(Saw2).env(75, 0, 4, 40, 70, 20).vel(3, 35)).solo().vib(9, 30).autoBend(-16, 16, 25));
	add(Patch("Erhu").two(section(Violin, 16, 28), Src(ShakuSus).env(50, 0, 18, 60, 85, 28)).solo().vib(14, 22).autoBend(-20, 28, 20));
	add(Patch("Str Vel X").two(swell(StringPad, 64).vel(8, 50), section(Orchestra, 10).vel(5, 50)).trim(2));
	add(Patch("Orch Pad").four(swell(Orchestra, 60, 55), swell(StringPad, 62, 58), Src(FrenchHornB).env(65, 0, 62, 60, 85, 50),
	                           choir(VoiceLoop, 64, 58).env(60, 0, 64, 55, 90, 58)));
	add(Patch("Str Pluck").two(pizz(Pizzicato), swell(String, 62)));
	add(Patch("Wide Str").four(section(String, 40).fine(-11), section(String, 40).fine(11), section(StringB, 42).fine(-4), section(StringB, 42).fine(4)));
	add(Patch("Str Wheel").two(section(String, 40), section(StringC, 40).fine(5)).vib(3, 24).recordWheelMode(2));
	add(Patch("Soft Str").two(swell(String, 62).vel(1, 30), swell(StringPad, 64).fine(6).vel(1, 30)));
	add(Patch("Syn Choir").two(choir(Voice2).fine(-5), choir(Synth2).fine(5)).vib(2, 22));
	add(Patch("Str Stack").four(section(String, 40), section(StringB, 40).oct(-1), section(StringC, 40).oct(1).env(60, 0, 34, 60, 85, 42),
	                            section(StringPad, 44).fine(7)));
	add(Patch("Sordino").two(swell(String, 60).keyLevel(-20), swell(StringC, 62).fine(5).keyLevel(-20)).vib(4, 24));
	return p;
}
}
