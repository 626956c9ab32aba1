#include "Library.h"
#include "Waves.h"

// Acoustic and electric keys: grands and uprights built from a cyclic body with a sampled hammer
// on top, tine and reed electric pianos whose bark comes in with velocity, clavinets and
// harpsichords.
namespace banks
{
using namespace wave;

namespace
{
// A struck string: no sustain, the decay is the note's whole life; soft notes are darker and quieter.
Src body(int w, int decay, int release = 30)
{
	return Src(w).env(100, 0, 0, decay, 0, release).vel(2, 35).steady();
}

// The hammer: a short sampled attack that only strong notes bring out.
Src hammer(int w = PianoPcm)
{
	return Src(w).env(85, 0, 0, 24, 0, 14).vel(3, 45).steady();
}

Src thud()
{
	return Src(PianoNoise).env(75, 0, 0, 15, 0, 10).vel(4, 50).steady();
}

// An electric piano tine: bell-like, fast, only bright when hit hard.
Src tine(int w = Tine, int octave = 1)
{
	return Src(w).oct(octave).env(80, 0, 0, 30, 0, 18).vel(4, 50).steady();
}

Src clav(int w, int decay = 50, int sustain = 40)
{
	return Src(w).env(100, 0, 0, decay, sustain, 12).vel(3, 28);
}

Src harpsi(int w, int octave = 0)
{
	return Src(w).oct(octave).env(100, 0, 0, 58, 0, 22).vel(1, 10).steady();
}

Src slowLayer(int w, int attack, int release = 45)
{
	return Src(w).env(75, 0, attack, 60, 70, release).vel(1, 20);
}
}

std::vector<Patch> keysBank()
{
	std::vector<Patch> p;
	// grands and uprights
	p.push_back(Patch("Grand Pno").four(body(Piano1, 68), hammer(), body(Piano2, 66).fine(3), thud()));
	p.push_back(Patch("Bright Pno").four(body(Piano3, 64), hammer(), body(Piano4, 62).fine(-3),
	                                     Src(Sin2).env(60, 0, 0, 40, 0, 25).vel(3, 50).steady()));
	p.push_back(Patch("Warm Pno").two(body(Piano2, 70), body(Piano1B, 70).fine(4)));
	p.push_back(Patch("Concert Gr").four(body(Piano1C, 72), hammer(ElGrandPcm), body(Piano1, 70).fine(-2),
	                                     body(Piano2B, 69).fine(2)).keyCurve(2));
	p.push_back(Patch("Upright").two(body(Piano4, 60, 25), thud()));
	p.push_back(Patch("Honky Tonk").four(body(Piano2, 64).fine(-9), body(Piano2B, 64).fine(9), hammer(), thud()).poly2());
	p.push_back(Patch("Soft Pno").two(body(Piano1, 66).vel(2, 20).velAttack(-10), body(Piano3, 60).oct(1).env(55, 0, 6, 50, 0, 25)));
	p.push_back(Patch("Rock Pno").four(body(Piano4, 60), body(Piano4C, 60).fine(5), hammer(), thud()));
	p.push_back(Patch("Pno Octave").two(body(Piano1, 68), body(Piano1B, 64).oct(1).env(80, 0, 0, 60, 0, 28)));
	p.push_back(Patch("Dark Pno").two(body(Piano2, 68).keyLevel(-20), body(Piano2B, 68).fine(3).keyLevel(-20)).keyCurve(1));
	p.push_back(Patch("Stage Gr").two(body(ElGrand, 64), hammer(ElGrandPcm)));
	p.push_back(Patch("El Grand 2").two(body(ElGrandB, 66), body(ElGrand, 66).fine(5)));
	p.push_back(Patch("CP Chorus").four(body(ElGrand, 64).fine(-6), body(ElGrandB, 64).fine(6), hammer(ElGrandPcm), thud()));
	p.push_back(Patch("Pno Vel X").two(body(Piano2, 68).vel(8, 50), body(Piano4, 64).vel(5, 50)).trim(2));
	p.push_back(Patch("Pno+Pad").four(body(Piano1, 68), hammer(), slowLayer(StringPad, 45), slowLayer(MelloPad, 50).fine(5)));
	p.push_back(Patch("Pno+Str").two(body(Piano1, 68), slowLayer(String, 40, 50)));
	p.push_back(Patch("Ballad Pno").two(body(Piano1, 72, 45), body(Piano2, 70, 45).fine(4)));
	p.push_back(Patch("Pno Bell").four(body(Piano3, 66), hammer(), Src(Sin1).oct(2).env(80, 0, 0, 50, 0, 30).steady(),
	                                   Src(Sin1).oct(1).semi(7).env(80, 0, 0, 50, 0, 30).steady()).ring34().mute(3));
	p.push_back(Patch("Toy Piano").two(Src(Sin4).env(100, 0, 0, 40, 0, 20).vel(1, 30), Src(Glocken).oct(1).env(70, 0, 0, 25, 0, 15)));
	p.push_back(Patch("Saloon Pno").four(body(Piano3, 62).fine(-12), body(Piano3B, 62).fine(12), body(Piano4, 62), thud()).poly2());
	// electric pianos
	p.push_back(Patch("Tine EP").two(body(EPiano1, 66, 32).vel(2, 40), tine()));
	p.push_back(Patch("Tine EP 2").two(body(EPiano1B, 68, 32), tine(TineB)));
	p.push_back(Patch("Reed EP").two(body(EPiano2, 62, 28), body(EPiano2B, 62, 28).fine(4)));
	p.push_back(Patch("Reed Bark").two(body(EPiano2C, 60, 26), Src(Saw4).env(70, 0, 0, 35, 20, 20).vel(3, 50).steady()));
	p.push_back(Patch("EP Chorus").four(body(EPiano1, 66).fine(-5), body(EPiano1B, 66).fine(5), tine(), tine(TineC).fine(4)));
	p.push_back(Patch("FM Tines").four(body(EPiano1, 66), tine(),
	                                   Src(Sin1).oct(2).env(100, 0, 0, 30, 0, 20).steady(),
	                                   Src(Sin1).env(90, 0, 0, 32, 0, 18).vel(3, 40).steady()).ring34().mute(3));
	p.push_back(Patch("EP Bell").two(body(EPiano3, 64), Src(Bell).oct(1).env(70, 0, 0, 45, 0, 30).vel(2, 30).steady()));
	p.push_back(Patch("Dyno EP").two(body(EPiano1C, 64), Src(Sin2).oct(1).env(75, 0, 0, 28, 0, 18).vel(4, 50).steady()));
	p.push_back(Patch("Mellow EP").two(body(EPiano2D, 66).vel(1, 25), body(EPiano1, 66).fine(3).vel(1, 25)));
	p.push_back(Patch("Wurly").two(body(EPiano3, 58, 22).vel(2, 45), body(EPiano3B, 58, 22).fine(4).vel(2, 45)));
	p.push_back(Patch("EP Pad").four(body(EPiano1, 66), tine(), slowLayer(MelloPad, 48), slowLayer(Synth2, 52).fine(6)));
	p.push_back(Patch("Vintage EP").two(body(EPiano1D, 64), body(EPiano2D, 62).fine(-4)));
	p.push_back(Patch("EP Stack").four(body(EPiano2, 64), body(EPiano1, 66), tine(TineB), body(Sin1, 60).oct(-1).env(60, 0, 0, 60, 0, 30)));
	p.push_back(Patch("Glass EP").four(body(EPiano1, 62), Src(Sin4).env(75, 0, 0, 32, 0, 20).steady(),
	                                   Src(Sin8).env(60, 0, 0, 24, 0, 16).vel(3, 40).steady(), tine(TineD)));
	p.push_back(Patch("Dark EP").two(body(EPiano3, 70).keyLevel(-25), body(Sin1, 70).fine(4).keyLevel(-25)));
	p.push_back(Patch("Vibrato EP").two(Src(EPiano1).env(100, 0, 0, 66, 0, 32).vel(2, 35), Src(EPiano1B).fine(6).env(100, 0, 0, 66, 0, 32).vel(2, 35))
	                .vib(8, 28));
	// clavinets
	p.push_back(Patch("Clavinet").two(clav(Clavi), clav(ClaviB).fine(5)));
	p.push_back(Patch("Clavi Funk").two(clav(ClaviC, 40, 30).vel(3, 30), clav(Clavi, 40, 30).fine(-6).vel(3, 30)));
	p.push_back(Patch("Clavi Mute").two(clav(Clavi, 28, 0), clav(ClaviD, 26, 0).fine(4)));
	p.push_back(Patch("Clavi Brt").two(clav(ClaviC), Src(Saw2).oct(1).env(60, 0, 0, 30, 10, 12).vel(3, 50).steady()));
	p.push_back(Patch("Phase Clav").four(clav(Clavi).fine(-7), clav(ClaviB).fine(7), clav(ClaviC).fine(-3), clav(ClaviD).fine(3)));
	p.push_back(Patch("Pluck Clav").two(clav(ClaviB, 45, 25), thud()));
	p.push_back(Patch("Clavi Bend").two(clav(ClaviD).vel(3, 30), clav(Clavi).fine(5)).autoBend(-16, 12, 20));
	// harpsichords
	p.push_back(Patch("Harpsichd").two(harpsi(Harpsichord), harpsi(HarpsichordB).fine(3)));
	p.push_back(Patch("Harpsi 8+4").two(harpsi(Harpsichord), harpsi(HarpsichordC, 1).env(80, 0, 0, 52, 0, 20)));
	p.push_back(Patch("Lute Stop").two(harpsi(HarpsichordB).env(100, 0, 0, 40, 0, 15), harpsi(Harpsichord).fine(4).env(90, 0, 0, 40, 0, 15)));
	p.push_back(Patch("Harpsi 16'").two(harpsi(HarpsichordB, -1).env(85, 0, 0, 60, 0, 22), harpsi(Harpsichord)));
	p.push_back(Patch("Baroque").four(harpsi(Harpsichord), harpsi(HarpsichordB).fine(4), harpsi(HarpsichordC, 1).env(75, 0, 0, 50, 0, 20),
	                                  harpsi(Harpsichord, -1).env(75, 0, 0, 60, 0, 20).fine(-3)));
	// layers and colours
	p.push_back(Patch("Celesta").two(Src(Sin1).oct(1).env(100, 0, 0, 50, 0, 30).vel(2, 30), Src(Glocken).env(70, 0, 0, 36, 0, 25).vel(3, 40)));
	p.push_back(Patch("Music Box").two(Src(Sin1).oct(2).env(100, 0, 0, 48, 0, 35).vel(1, 20), Src(Sin3).oct(1).env(60, 0, 0, 28, 0, 25)));
	p.push_back(Patch("Pno Harp").two(body(Piano1, 66), Src(Harp).env(80, 0, 0, 55, 0, 40).vel(2, 30).steady()));
	p.push_back(Patch("EP+Str").four(body(EPiano1, 66), tine(), slowLayer(String, 42), slowLayer(StringB, 44).fine(6)));
	p.push_back(Patch("Pno+Choir").four(body(Piano1, 68), hammer(), slowLayer(VoiceLoop, 45), slowLayer(Voice1, 48).fine(5)));
	p.push_back(Patch("Pno Bright").two(body(Piano1, 68), Src(Saw3).env(60, 0, 0, 40, 0, 25).vel(3, 50).steady()));
	p.push_back(Patch("Pno LowOct").two(body(Piano1, 68), body(Piano2, 68).oct(-1).env(80, 0, 0, 68, 0, 30)));
	p.push_back(Patch("Tack Pno").four(body(Piano3, 62), clav(Clavi, 40, 0), harpsi(Harpsichord), hammer()));
	p.push_back(Patch("Bar Piano").two(body(Piano4, 62).fine(-5), body(Piano4B, 62).fine(5)));
	p.push_back(Patch("Hybrid Key").four(body(Piano1, 66), hammer(), Src(Synth2).env(70, 0, 15, 55, 40, 35), Src(Synth2B).fine(7).env(70, 0, 15, 55, 40, 35)));
	p.push_back(Patch("Digi Piano").two(body(Piano1B, 64), Src(Sin2).env(70, 0, 0, 45, 0, 25).vel(2, 35).steady()));
	p.push_back(Patch("Pno Fifths").two(body(Piano1, 66), body(Piano1B, 64).semi(7).env(75, 0, 0, 64, 0, 28)));
	p.push_back(Patch("Lo-Fi Pno").two(body(Piano4B, 60), Src(Random).oct(2).env(30, 0, 0, 20, 0, 10).steady()));
	p.push_back(Patch("Swell EP").two(Src(EPiano1).env(100, 0, 62, 50, 60, 20).vel(1, 20), Src(EPiano2).fine(5).env(100, 0, 62, 50, 60, 20).vel(1, 20)));
	p.push_back(Patch("Soft Keys").two(Src(Sin1).env(90, 0, 4, 58, 0, 30).vel(1, 30).steady(), body(EPiano2C, 62).vel(1, 30)));
	p.push_back(Patch("Grand Wide").four(body(Piano1, 68).fine(-4), body(Piano1C, 68).fine(4), hammer(), thud()));
	return p;
}
}
