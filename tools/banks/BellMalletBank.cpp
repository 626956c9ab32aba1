#include "Library.h"
#include "Waves.h"

// Bells and mallets: struck sounds that ring out, with inharmonic partials made by ring-modulating
// sines at odd ratios, tubular and oriental bells, vibes, marimbas, xylophones, glockenspiels,
// kalimbas and steel drums. Harder strokes bring out the upper partials.
namespace banks
{
using namespace wave;

namespace
{
// A struck bar: no sustain, the decay sets how long it rings.
Src bar(int w, int decay, int release = 40, int level = 100)
{
	return Src(w).env(level, 0, 0, decay, 0, release).vel(2, 35);
}

// A partial for ring modulation, tuned in semitones above the key.
Src partial(int semitones, int decay, int fine = 0)
{
	return Src(Sin1).semi(semitones).fine(fine).env(100, 0, 0, decay, 0, 40);
}

Src mallet(int w, int level = 70)
{
	return Src(w).env(level, 0, 0, 16, 0, 10).vel(3, 45).steady();
}
}

std::vector<Patch> bellMalletBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Bell").two(bar(Bell, 66, 55), bar(Bell, 60, 50).oct(1).fine(5).env(70, 0, 0, 60, 0, 50)));
	add(Patch("Tube Bell").two(bar(TubeBell, 68, 55), bar(TubeBellB, 64, 55).fine(4)));
	add(Patch("TubeBell 2").four(bar(TubeBellC, 68, 55), bar(TubeBell, 68, 55).fine(-5), partial(27, 50), partial(0, 60, 4)).ring34().mute(3));
	add(Patch("East Bell").two(bar(OrientalBell, 66, 55), bar(OrientalBellB, 66, 55).fine(6)));
	add(Patch("Temple").four(bar(OrientalBell, 72, 60).oct(-1), partial(-5, 70), partial(6, 70, 7), bar(OrientalBellB, 68, 60)).ring12().mute(1));
	add(Patch("Church").four(bar(TubeBell, 74, 62).oct(-1), partial(15, 70), partial(-12, 72, 3), bar(Bell, 70, 60).oct(-1)).ring12().mute(1));
	add(Patch("Ring Bell").two(partial(31, 60), partial(0, 62)).ring12().mute(1));
	add(Patch("RingBell 2").four(partial(19, 58), partial(0, 60), partial(28, 50, 9), partial(12, 55)).ring12().ring34().mute(1).mute(3));
	add(Patch("Glass Bell").four(partial(26, 52), partial(12, 56), bar(Sin4, 50, 40, 70), bar(Sin1, 58)).ring12().mute(1));
	add(Patch("Hand Bells").two(bar(Bell, 54, 40), partial(24, 40).env(70, 0, 0, 40, 0, 30)));
	add(Patch("Chimes").four(bar(TubeBell, 70, 60).oct(1), bar(Sin1, 68, 60).oct(1), partial(29, 55), partial(12, 60)).ring34().mute(3));
	add(Patch("Gamelan").four(bar(Bell, 58, 45), partial(22, 54, 6), partial(0, 56), bar(Sin3, 50, 40)).ring12().mute(2));
	add(Patch("Vibes").two(bar(Vibe, 62, 45), mallet(Sin4, 50)).vib(2, 40));
	add(Patch("Vibes 2").two(bar(VibeB, 62, 45), bar(VibeC, 62, 45).fine(4)));
	add(Patch("Vibe Motor").two(bar(Vibe, 64, 45).fine(-3), bar(VibeB, 64, 45).fine(3)).vib(4, 32).wheelSpeed());
	add(Patch("Soft Vibes").two(bar(VibeC, 60, 45).vel(1, 25), bar(Sin1, 60, 45).vel(1, 25)));
	add(Patch("Marimba").two(bar(Marimba, 40, 30), mallet(LogDrum, 55)));
	add(Patch("Marimba 2").two(bar(MarimbaB, 42, 30), bar(Marimba, 42, 30).fine(4)));
	add(Patch("Bass Marim").two(bar(Marimba, 46, 32).oct(-1), bar(Sin1, 44, 30).oct(-1)));
	add(Patch("Xylophone").two(bar(Xylophone, 30, 22), mallet(Sin4, 60)));
	add(Patch("Xylo 2").two(bar(XylophoneB, 30, 22), bar(Xylophone, 30, 22).oct(1).env(60, 0, 0, 26, 0, 20)));
	add(Patch("Glocken").two(bar(Glocken, 60, 45), bar(GlockenB, 58, 45).fine(4)));
	add(Patch("Glocken 2").two(bar(GlockenC, 60, 45).oct(1), mallet(Sin8, 50)));
	add(Patch("Tinkle").two(bar(Sin1, 42, 30).oct(1), bar(Square4, 22, 20, 60).oct(1)));
	add(Patch("Kalimba").two(bar(Kalimba, 46, 30), mallet(Sin3, 45)));
	add(Patch("Kalimba 2").two(bar(KalimbaB, 46, 30), bar(KalimbaC, 46, 30).fine(5)));
	add(Patch("Mbira").two(bar(KalimbaC, 44, 30), bar(Sin2, 36, 28).fine(8)).autoBend(-6, 8));
	add(Patch("Steel Drum").two(bar(SteelDrum, 46, 30), bar(SteelDrumB, 46, 30).fine(5)));
	add(Patch("Steel Pan").two(bar(SteelDrumC, 48, 32), partial(12, 40).env(60, 0, 0, 40, 0, 30)).autoBend(-4, 8));
	add(Patch("SteelDrum3").four(bar(SteelDrum, 46, 30), bar(SteelDrumC, 46, 30).fine(-6), partial(19, 40), partial(0, 44, 3)).ring34().mute(3));
	add(Patch("Snow Globe").two(bar(Sin1, 56, 45).oct(2), bar(Sin5, 36, 30, 55).oct(1).fine(6)));
	add(Patch("Tine Bell").two(bar(Tine, 58, 40), bar(TineB, 50, 40).oct(1).env(70, 0, 0, 50, 0, 40)));
	add(Patch("Tines").two(bar(TineC, 56, 40), bar(TineD, 56, 40).fine(5)));
	add(Patch("Crotales").two(bar(Sin1, 64, 50).oct(2), partial(36, 60).env(60, 0, 0, 60, 0, 50)));
	add(Patch("Wind Chime").four(partial(40, 62), partial(24, 64), partial(33, 60, 11), partial(24, 62, -7)).ring12().ring34().mute(1).mute(3));
	add(Patch("Bell Choir").two(bar(Bell, 56, 45).env(90, 0, 8, 56, 0, 45), Src(VoiceLoop).env(70, 0, 40, 55, 70, 50)));
	add(Patch("Wood Bars").two(bar(LogDrumD, 28, 20), bar(Marimba, 32, 22).fine(3)));
	add(Patch("Balafon").two(bar(MarimbaB, 30, 22).fine(-6), bar(LogDrum, 26, 20).fine(6)).autoBend(3, 6));
	add(Patch("Gamelan 2").four(bar(Bell, 60, 45).fine(-8), bar(Bell, 60, 45).fine(8), partial(16, 52), partial(0, 54, 5)).ring34().mute(3));
	add(Patch("Gong").four(bar(OrientalBell, 76, 65).oct(-2), partial(-7, 74, 5), partial(-24, 76), bar(WhiteNoise, 30, 30, 40)).ring12().mute(1));
	add(Patch("Ding").two(bar(Sin1, 56, 45).oct(2), bar(Sin5, 40, 35).oct(1).env(60, 0, 0, 40, 0, 35)));
	add(Patch("Bell Tree").four(partial(36, 44), partial(24, 46), bar(Sin8, 40, 35, 70), bar(Glocken, 40, 35)).ring12().mute(1).autoBend(-30, 40));
	add(Patch("Ice Bells").two(partial(33, 56, 6), partial(12, 58)).ring12());
	add(Patch("Digi Bell").two(partial(14, 58), partial(0, 60)).ring12().mute(1));
	add(Patch("Metal Bell").four(partial(21, 60, 13), partial(0, 62), partial(17, 56), partial(12, 58, -9)).ring12().ring34().mute(1).mute(3));
	add(Patch("Bowl").two(Src(Sin1).env(100, 0, 30, 72, 0, 60), Src(Sin7).fine(9).env(60, 0, 34, 70, 0, 60)).vib(1, 10));
	add(Patch("Glass Harp").two(Src(Sin1).env(100, 0, 36, 60, 80, 45), Src(Sin3).env(50, 0, 40, 60, 80, 45)).vib(2, 20));
	add(Patch("Vibe+Pno").two(bar(Vibe, 62, 45), Src(Piano1).env(90, 0, 0, 66, 0, 30).vel(2, 35).steady()));
	add(Patch("Mallet Pad").two(bar(Marimba, 40, 30), Src(StringPad).env(70, 0, 40, 60, 85, 50)));
	add(Patch("Mallets").four(bar(Marimba, 40, 30), bar(Vibe, 60, 45), bar(Xylophone, 30, 22).oct(1).env(60, 0, 0, 30, 0, 22), bar(Glocken, 56, 40).oct(1).env(50, 0, 0, 56, 0, 40)));
	add(Patch("Xylo Hard").two(bar(Xylophone, 34, 24).vel(2, 45), mallet(Rim, 60).fixed(92)));
	add(Patch("Marim Soft").two(bar(Marimba, 44, 30).vel(1, 25), bar(Sin1, 44, 30).vel(1, 25)));
	add(Patch("Bell+Str").two(bar(TubeBell, 66, 55), Src(String).env(80, 0, 36, 60, 85, 45)));
	add(Patch("Kalimba 8v").two(bar(Kalimba, 46, 30), bar(KalimbaB, 42, 30).oct(1).env(70, 0, 0, 42, 0, 30)));
	add(Patch("Steel Oct").two(bar(SteelDrum, 46, 30), bar(SteelDrumB, 44, 30).oct(-1).env(70, 0, 0, 44, 0, 30)));
	add(Patch("Anvil").four(partial(38, 40, 17), partial(0, 40), bar(AcSnare, 20, 15, 60).fixed(92), bar(Sin9, 36, 30)).ring12().mute(1));
	add(Patch("Vel Bell").two(bar(Vibe, 60, 45).vel(8, 50), bar(Bell, 62, 50).vel(5, 50)).trim(3));
	add(Patch("Key Bell").two(bar(Bell, 64, 50).keyLevel(-20), bar(Glocken, 56, 45).keyLevel(20)));
	add(Patch("Bent Bell").two(bar(Bell, 62, 50), bar(TubeBell, 64, 50).fine(5)).autoBend(6, 60));
	add(Patch("Clock Bell").two(bar(TubeBellB, 70, 58), bar(Sin1, 68, 58).oct(-1)));
	add(Patch("Cow Bell").two(partial(7, 22).env(100, 0, 0, 22, 0, 12), partial(19, 22).env(100, 0, 0, 22, 0, 12)).ring12());
	add(Patch("Triangle").two(partial(36, 58, 9), partial(24, 60)).ring12().mute(1));
	add(Patch("Spectral").four(partial(20, 60), partial(0, 60), partial(13, 56, 4), partial(12, 58)).ring12().ring34().mute(1).mute(3).vib(1, 6, 3));
	add(Patch("Harp Bell").two(bar(Harp, 54, 40), bar(TubeBell, 58, 45).oct(1).env(60, 0, 0, 58, 0, 45)));
	return p;
}
}
