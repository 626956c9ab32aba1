#include "Library.h"
#include "Waves.h"

// Brass and winds: brass sections that scoop up into the note (a short negative auto bend that
// velocity deepens), solo horns with delayed vibrato, woodwinds and flutes with breath on the
// attack and pressure on vibrato.
namespace banks
{
using namespace wave;

namespace
{
Src brass(int w, int attack = 14, int release = 24)
{
	return Src(w).env(100, 0, attack, 45, 75, release).vel(2, 30).velAttack(-15);
}

Src wind(int w, int attack = 16, int release = 18)
{
	return Src(w).env(100, 0, attack, 50, 85, release).vel(1, 20).pressLevel(-15);
}

Src breath(int w = WhiteNoise, int level = 45)
{
	return Src(w).env(level, 0, 4, 22, 0, 10).vel(2, 30).steady();
}

Patch& scoop(Patch& p, int depth = -16)
{
	return p.autoBend(depth, 16, 25);
}

Patch& soloWind(Patch& p, int depth = 9)
{
	return p.solo().vib(depth, 26).autoBend(0, 38).pressure(0, 4);
}
}

std::vector<Patch> brassWindBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	auto addScoop = [&p](Patch patch, int depth) { p.push_back(std::move(scoop(patch, depth))); };
	auto addSolo = [&p](Patch patch, int depth) { p.push_back(std::move(soloWind(patch, depth))); };

	addScoop(Patch("Brass Sect").four(brass(Brass), brass(BrassB).fine(6), brass(BrassC).fine(-6), brass(TrumpetPcm, 8).env(70, 0, 8, 30, 0, 16)), -16);
	addScoop(Patch("Brass 2").two(brass(BrassD), brass(BrassE).fine(7)), -14);
	addScoop(Patch("Fanfare").four(brass(Trumpet, 8), brass(TrumpetB, 8).fine(5), brass(Brass, 10).oct(-1), brass(BrassF, 10).fine(-5)), -18);
	add(Patch("Soft Brass").two(brass(BrassC, 30, 30).vel(1, 20), brass(FrenchHorn, 32, 30).fine(5)));
	addScoop(Patch("Big Scoop").two(brass(Brass), brass(BrassB).fine(5)), 0);
	p.back().autoBend(-30, 40, 0, 0);
	addScoop(Patch("Stab Brass").two(brass(BrassE, 6).env(100, 0, 6, 36, 20, 14), brass(BrassF, 6).fine(6).env(100, 0, 6, 36, 20, 14)), -12);
	addScoop(Patch("Syn Brass").two(brass(Saw2, 18).fine(-7), brass(Saw3, 18).fine(7)), -10);
	addScoop(Patch("SynBrass 2").four(brass(Saw1, 22), brass(Saw1, 22).fine(9), brass(Square2, 22).oct(-1), brass(Saw4, 22).fine(-9)), -8);
	addSolo(Patch("Trumpet").two(brass(Trumpet, 10), brass(TrumpetPcm, 6).env(80, 0, 6, 28, 0, 12)), 8);
	addSolo(Patch("Trumpet 2").two(brass(TrumpetB, 12), brass(Trumpet, 12).fine(4)), 9);
	addSolo(Patch("Mute Tpt").two(brass(TrumpetB, 10).keyLevel(-10), brass(Sin3, 10).env(50, 0, 10, 45, 70, 20)), 6);
	addSolo(Patch("Flugelhorn").two(brass(Trumpet, 20).vel(1, 20), brass(FrenchHorn, 22).fine(4)), 7);
	addSolo(Patch("Trombone").two(brass(BrassD, 16).oct(-1), brass(Brass, 16).oct(-1).fine(5)), 6);
	p.back().autoBend(-22, 24, 25);
	add(Patch("Fr Horn").two(brass(FrenchHorn, 24, 30), brass(FrenchHornB, 26, 30).fine(5)).vib(4, 24).autoBend(0, 45));
	add(Patch("Horn Sect").four(brass(FrenchHorn, 26, 32), brass(FrenchHornB, 26, 32).fine(6), brass(FrenchHornC, 28, 32).oct(-1),
	                            brass(FrenchHorn, 28, 32).fine(-6)));
	addSolo(Patch("Tuba").two(brass(BrassB, 18).oct(-2), brass(Sin1, 18).oct(-2).env(80, 0, 18, 45, 75, 24)), 4);
	addScoop(Patch("Big Band").four(brass(Brass), brass(Trumpet).oct(1).env(80, 0, 14, 45, 75, 24), brass(BrassD).oct(-1), brass(Saw5).fine(8)), -20);
	add(Patch("BrassSwell").two(brass(Brass, 64, 32).velAttack(0), brass(BrassC, 66, 32).fine(6).velAttack(0)));
	add(Patch("Brass Pad").two(brass(BrassE, 60, 45).env(90, 0, 60, 60, 85, 45).velAttack(-4), brass(FrenchHornC, 62, 45).fine(8).velAttack(-4)));
	addScoop(Patch("Sforzando").two(brass(BrassF, 4).env(100, 0, 4, 30, 40, 24), brass(Brass, 50).env(90, 0, 50, 45, 80, 24)), -10);
	addSolo(Patch("Flute").two(wind(Flute), breath()), 8);
	addSolo(Patch("Flute 2").two(wind(Flute, 14), wind(Sin1, 14).fine(3).env(70, 0, 14, 50, 85, 18)), 7);
	addSolo(Patch("Piccolo").two(wind(Flute, 10).oct(1), breath(WhiteNoise, 35)), 6);
	addSolo(Patch("Alto Flute").two(wind(Flute, 20).oct(-1), breath(WhiteNoise, 50)), 8);
	addSolo(Patch("Pan Flute").two(wind(PanFluteLoop, 14), Src(PanFluteAttack).env(80, 0, 0, 22, 0, 10).vel(2, 30).steady()), 9);
	addSolo(Patch("Panpipes").two(wind(Panflute, 14), wind(PanFluteSus, 14).fine(4)), 10);
	addSolo(Patch("Shakuhachi").two(wind(ShakuLoop, 18), Src(ShakuAttack).env(85, 0, 0, 24, 0, 10).steady()), 12);
	p.back().autoBend(-14, 30, 15);
	addSolo(Patch("Shaku 2").two(wind(Shakuhachi, 18), wind(ShakuSus, 18).fine(4)), 11);
	addSolo(Patch("Clarinet").two(wind(Clarinet, 12), wind(ClarinetB, 12).fine(3)), 4);
	addSolo(Patch("Bass Clar").two(wind(ClarinetB, 14).oct(-1), wind(Clarinet, 14).oct(-1).fine(4)), 3);
	addSolo(Patch("Oboe").two(wind(Oboe, 10), wind(OboeB, 10).fine(3)), 8);
	addSolo(Patch("English Hn").two(wind(OboeB, 14).oct(-1), wind(Oboe, 14).oct(-1).fine(4)), 7);
	addSolo(Patch("Bassoon").two(wind(OboeB, 12).oct(-2), wind(Saw10, 12).oct(-2).env(70, 0, 12, 50, 85, 18)), 5);
	addSolo(Patch("Recorder").two(wind(Sin1, 10), wind(Sin2, 10).env(45, 0, 10, 50, 85, 18)), 5);
	addSolo(Patch("Ocarina").two(wind(Sin1, 14), breath(WhiteNoise, 30)), 7);
	add(Patch("Woodwinds").four(wind(Flute), wind(Clarinet).fine(4), wind(Oboe).fine(-4), wind(OboeB).oct(-1)).vib(5, 25).autoBend(0, 40));
	add(Patch("Wind Sect").two(wind(Flute), wind(Clarinet).oct(-1)).vib(4, 25));
	addSolo(Patch("Sax").two(brass(Saw6, 8).vel(2, 35), brass(Clarinet, 8).fine(4)), 8);
	p.back().autoBend(-16, 18, 25);
	addSolo(Patch("Tenor Sax").two(brass(Saw7, 8).oct(-1), brass(OboeB, 8).oct(-1).fine(4)), 8);
	p.back().autoBend(-18, 20, 25);
	addSolo(Patch("Bari Sax").two(brass(Saw5, 8).oct(-2), brass(Square3, 8).oct(-1).env(60, 0, 8, 45, 75, 24)), 6);
	addScoop(Patch("Sax Sect").four(brass(Saw6, 10), brass(Saw7, 10).fine(6).oct(-1), brass(Clarinet, 10).fine(-6), brass(OboeB, 10).oct(-1)), -14);
	add(Patch("Horn Stab").two(brass(Brass, 4).env(100, 0, 4, 30, 0, 16), brass(Saw2, 4).fine(8).env(90, 0, 4, 30, 0, 16)).autoBend(-12, 12, 20));
	add(Patch("Brass Hit").two(brass(TrumpetPcm, 2).env(100, 0, 0, 36, 0, 20), brass(Orchestra, 2).env(90, 0, 0, 36, 0, 20)));
	add(Patch("Brass Vel").two(brass(FrenchHorn, 24).vel(8, 50), brass(BrassF, 8).vel(5, 50)).autoBend(-12, 16, 30).trim(2));
	add(Patch("PressBrass").two(brass(Brass), brass(BrassB).fine(5).pressLevel(-30)).pressure(3, 5));
	addSolo(Patch("Muted Horn").two(brass(FrenchHornC, 20).keyLevel(-15), brass(Sin2, 20).env(50, 0, 20, 45, 75, 24)), 5);
	add(Patch("Brass Oct").two(brass(Brass), brass(BrassB).oct(1).env(75, 0, 14, 45, 75, 24)).autoBend(-14, 16, 25));
	add(Patch("Tpt Sect").four(brass(Trumpet, 10), brass(TrumpetB, 10).fine(7), brass(Trumpet, 10).fine(-7), brass(TrumpetPcm, 6).env(70, 0, 6, 28, 0, 12))
	        .autoBend(-16, 14, 25));
	add(Patch("Synth Horn").two(brass(Synth2, 20), brass(Saw4, 20).fine(6)).vib(3, 24).autoBend(0, 40));
	addSolo(Patch("Whistle").two(wind(Sin1, 6).oct(1), breath(WhiteNoise, 25)), 12);
	addSolo(Patch("Bottle").two(wind(Sin1, 22), breath(WhiteNoiseLoop, 55).env(55, 0, 22, 50, 70, 18)), 3);
	add(Patch("Brass Wall").four(brass(Brass, 18).fine(-9), brass(BrassB, 18).fine(9), brass(BrassC, 18).oct(-1), brass(BrassD, 18).oct(1).env(65, 0, 18, 45, 75, 24)));
	addSolo(Patch("Cornet").two(brass(TrumpetB, 12).vel(2, 35), brass(FrenchHornB, 12).fine(4)), 7);
	add(Patch("Bugle").two(brass(Trumpet, 8), brass(Square4, 8).env(55, 0, 8, 45, 75, 24)).autoBend(-24, 12, 30));
	addSolo(Patch("Bagpipe").two(wind(OboeB, 6).semi(0), wind(Saw8, 6).oct(-1).env(75, 0, 6, 0, 100, 14)), 0);
	addSolo(Patch("Didgeridoo").two(wind(Saw9, 8).oct(-2), wind(Sin1, 8).oct(-1).pressLevel(-40)), 0);
	addSolo(Patch("Harmonica2").two(wind(HarmonicaB, 8), wind(HarmonicaC, 8).fine(4)), 8);
	add(Patch("Brass 5th").two(brass(Brass), brass(BrassB).semi(7).env(80, 0, 14, 45, 75, 24)).autoBend(-12, 16, 25));
	add(Patch("Flute Ens").four(wind(Flute), wind(Flute).fine(6), wind(PanFluteLoop).oct(1).env(70, 0, 16, 50, 85, 18), breath()).vib(5, 26));
	add(Patch("Hollow Air").two(wind(Sin3, 18).oct(-1), wind(Square1, 18).env(60, 0, 18, 50, 85, 18)).vib(6, 24));
	add(Patch("Brass Pcm").two(brass(TrumpetPcm, 6).env(100, 0, 6, 30, 0, 14), brass(Brass, 16)).autoBend(-14, 16, 20));
	addScoop(Patch("Funk Brass").two(brass(BrassE, 4).env(100, 0, 4, 30, 30, 12), brass(Saw2, 4).fine(7).env(100, 0, 4, 30, 30, 12)), -22);
	addSolo(Patch("Euphonium").two(brass(FrenchHornB, 18).oct(-1), brass(BrassD, 18).oct(-1).fine(4)), 5);
	addSolo(Patch("Alto Sax").two(brass(Saw6, 8).oct(0).vel(2, 40), brass(Oboe, 8).fine(5)), 9);
	p.back().autoBend(-14, 16, 30);
	return p;
}
}
