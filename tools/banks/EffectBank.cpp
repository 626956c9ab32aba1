#include "Library.h"
#include "Waves.h"

// Effects and textures: weather and nature from noise, sirens and alarms from deep LFO vibrato,
// sweeps and risers from long auto bends, ring-modulated machines and voices, the ROM's mixed
// loops as textures, reversed samples, drones and impacts.
namespace banks
{
using namespace wave;

namespace
{
Src layer(int w, int attack, int decay, int sustain, int release, int level = 100)
{
	return Src(w).env(level, 0, attack, decay, sustain, release).vel(1, 15);
}

Src sampled(int w, int coarse, int attack, int decay, int sustain, int release, int level = 100)
{
	return Src(w).fixed(coarse).env(level, 0, attack, decay, sustain, release).vel(1, 15);
}

// A texture from one of the ROM's mixed loops, played from its recorded rate upwards.
Patch texture(const char* name, int w, int partner)
{
	Patch p(name);
	p.two(layer(w, 30, 60, 90, 50).fine(-4), layer(partner, 40, 60, 80, 50, 75).fine(4).oct(-1)).vib(2, 4, 3);
	return p;
}
}

std::vector<Patch> effectBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	add(Patch("Wind").two(sampled(WhiteNoiseLoop, 80, 55, 60, 90, 60), sampled(WhiteNoiseLoop, 92, 60, 60, 80, 60, 70)).vib(30, 1, 3));
	add(Patch("Storm").four(sampled(WhiteNoiseLoop, 84, 50, 60, 90, 62), sampled(WhiteNoiseLoop, 68, 55, 60, 90, 62), sampled(Crash, 72, 40, 70, 0, 60, 70),
	                         sampled(BassDrum, 60, 30, 60, 0, 60, 80))
	        .vib(24, 2, 3));
	add(Patch("Ocean").two(sampled(WhiteNoiseLoop, 78, 62, 66, 60, 64), sampled(CrashAlt, 70, 64, 66, 60, 64, 70)).vib(14, 0, 0));
	add(Patch("Rain").two(sampled(WhiteNoiseLoop, 100, 30, 60, 90, 45), sampled(HHatAlt, 104, 30, 60, 90, 45, 60)).vib(8, 60, 3));
	add(Patch("Thunder").two(sampled(WhiteNoiseLoop, 60, 8, 72, 0, 70), sampled(CrashAlt, 62, 4, 70, 0, 68, 80)).vib(20, 8, 3));
	add(Patch("Heartbeat").two(Src(Sin1).oct(-3).env(100, 0, 0, 22, 0, 20), Src(Sin1).oct(-3).semi(-2).env(100, 40, 0, 22, 0, 20)));
	add(Patch("Siren").two(layer(Sin1, 10, 60, 100, 30), layer(Square5, 10, 60, 100, 30, 60)).vib(45, 3, 0));
	add(Patch("Alarm").two(layer(Square2, 0, 0, 100, 12), layer(Square2, 0, 0, 100, 12, 80).fine(8)).vib(30, 20, 2));
	add(Patch("Laser").two(layer(Saw2, 0, 30, 0, 20), layer(Sin1, 0, 30, 0, 20).oct(1)).autoBend(50, 30, 20));
	add(Patch("Zap").two(layer(Square1, 0, 22, 0, 16), layer(Sin2, 0, 22, 0, 16)).autoBend(-50, 14, 20));
	add(Patch("Sci-Fi").two(layer(Sin1, 20, 60, 90, 40).semi(13), layer(Saw6, 20, 60, 90, 40)).ring12().vib(20, 30, 3));
	add(Patch("Robot").two(layer(Square1, 0, 0, 100, 16).semi(7), layer(Square3, 0, 0, 100, 16)).ring12().mute(1).vib(12, 50, 3));
	add(Patch("Computer").two(layer(Sin1, 0, 0, 100, 12).oct(1), layer(Square5, 0, 0, 100, 12, 60).oct(1)).vib(40, 70, 3));
	add(Patch("Bubbles").two(layer(Sin1, 0, 0, 100, 20).oct(1), layer(Sin2, 0, 0, 100, 20, 50)).vib(30, 40, 1));
	add(Patch("Birds").two(layer(Sin1, 4, 40, 60, 20).oct(2), layer(Sin1, 4, 40, 60, 20, 70).oct(2).fine(20)).vib(26, 80, 3));
	add(Patch("Crickets").two(layer(Sin1, 0, 0, 100, 14).oct(3), layer(Sin2, 0, 0, 100, 14, 50).oct(2)).vib(12, 95, 2));
	add(Patch("Helicopter").two(sampled(WhiteNoiseLoop, 70, 20, 60, 90, 40), sampled(AcSnareLoop, 52, 20, 60, 90, 40, 80)).vib(18, 55, 2));
	add(Patch("Engine").two(layer(Saw1, 10, 60, 100, 20).oct(-2), layer(Random, 10, 60, 100, 20, 70).oct(-2)).vib(6, 70, 3));
	add(Patch("UFO").two(layer(Sin1, 20, 60, 100, 40), layer(Sin3, 20, 60, 100, 40, 60)).vib(40, 30, 1));
	add(Patch("Drone").four(layer(Saw6, 50, 60, 95, 62).oct(-1).fine(-6), layer(Saw6, 50, 60, 95, 62).oct(-1).fine(6), layer(Saw9, 56, 60, 95, 62).semi(-5),
	                        layer(Sin1, 50, 60, 95, 62).oct(-2)));
	add(Patch("Dark Drone").two(layer(Saw14, 56, 60, 95, 64).oct(-2), layer(Square3, 60, 60, 95, 64, 80).oct(-1).fine(5)).vib(2, 1, 3));
	add(Patch("Space").four(layer(Sin1, 60, 60, 95, 64), layer(Sin3, 64, 60, 95, 64, 70).oct(1), layer(VoiceLoop, 66, 60, 95, 64, 70), layer(WhiteNoiseLoop, 66, 60, 95, 64, 50))
	        .vib(6, 2, 3));
	add(Patch("NoiseSweep").two(sampled(WhiteNoiseLoop, 70, 40, 60, 90, 50), sampled(WhiteNoiseLoop, 82, 40, 60, 90, 50, 60)).autoBend(-50, 84));
	add(Patch("Up Sweep").two(layer(Saw3, 20, 60, 100, 40), layer(Saw3, 20, 60, 100, 40).fine(8)).autoBend(-50, 80));
	add(Patch("Down Sweep").two(layer(Saw3, 0, 60, 100, 40), layer(Square2, 0, 60, 100, 40).fine(8)).autoBend(50, 80));
	add(Patch("Riser").four(layer(Saw2, 66, 60, 100, 30), layer(Saw2, 66, 60, 100, 30).fine(9), sampled(WhiteNoiseLoop, 80, 66, 60, 100, 30, 60),
	                        layer(Sin1, 66, 60, 100, 30).oct(-1))
	        .autoBend(-45, 90));
	add(Patch("Rev Guitar").two(Src(FGuitarLoop).env(100, 0, 56, 60, 90, 20), layer(FGuitar, 55, 40, 0, 20, 60)));
	add(Patch("Rev Piano").two(layer(Piano1, 60, 30, 0, 12), layer(Piano2, 60, 30, 0, 12).fine(5)));
	add(texture("Texture 1", Omnibus1, Sin1));
	add(texture("Texture 2", Omnibus2, Saw8));
	add(texture("Texture 3", Omnibus3, VoiceLoop));
	add(texture("Texture 4", Omnibus4, StringLoop));
	add(texture("Texture 5", Omnibus5, Sin2));
	add(texture("Texture 6", Omnibus6, WhiteNoiseLoop));
	add(texture("Texture 7", Omnibus7, Square3));
	add(texture("Texture 8", Omnibus8, ShakuLoop));
	add(Patch("Glitch").two(layer(Square1, 0, 0, 100, 10), layer(Random, 0, 0, 100, 10, 60)).vib(50, 85, 3));
	add(Patch("Static").two(layer(Random, 0, 0, 100, 20).oct(2), sampled(WhiteNoiseLoop, 100, 0, 0, 100, 20, 60)).vib(10, 90, 3));
	add(Patch("Radio").two(layer(Sin1, 10, 60, 100, 20).oct(1), sampled(WhiteNoiseLoop, 90, 10, 60, 100, 20)).ring12().vib(16, 14, 3));
	add(Patch("Telephone").two(layer(Sin1, 0, 0, 100, 10).semi(5), layer(Sin1, 0, 0, 100, 10).oct(1)).ring12().vib(50, 45, 2));
	add(Patch("Ghost").two(layer(VoiceLoop, 56, 60, 90, 60), layer(Voice2, 60, 60, 90, 60, 70).fine(12)).vib(16, 6, 0));
	add(Patch("Whisper").two(sampled(WhiteNoiseLoop, 96, 40, 60, 80, 45, 80), layer(VoicePcm, 40, 60, 80, 45, 60)).vib(4, 10, 3));
	add(Patch("Glass Rain").four(layer(Sin1, 10, 60, 70, 55).semi(33), layer(Sin1, 10, 60, 70, 55).oct(1), layer(Sin1, 10, 60, 70, 55).semi(40),
	                          layer(Sin1, 10, 60, 70, 55).oct(2))
	        .ring12().ring34().mute(1).mute(3).vib(8, 8, 3));
	add(Patch("MetalDrone").four(layer(Sin1, 40, 60, 95, 60).semi(17).fine(9), layer(Saw8, 40, 60, 95, 60).oct(-1), layer(Sin1, 40, 60, 95, 60).semi(6),
	                              layer(Saw10, 40, 60, 95, 60).oct(-2))
	        .ring12().ring34().mute(1).mute(3));
	add(Patch("Gong Swell").two(layer(OrientalBell, 62, 66, 40, 60).oct(-1), sampled(CrashAlt, 68, 66, 66, 40, 60, 70)));
	add(Patch("Dark Hit").two(sampled(Orchestra, 60, 0, 50, 0, 40), sampled(BassDrum, 72, 0, 40, 0, 40, 90)));
	add(Patch("Impact").four(sampled(BassDrum, 68, 0, 46, 0, 40), sampled(Crash, 80, 0, 56, 0, 50, 80), Src(Sin1).fixed(36).env(100, 0, 0, 50, 0, 40),
	                         sampled(WhiteNoise, 70, 0, 40, 0, 40, 60))
	        .autoBend(30, 30));
	add(Patch("Explosion").two(sampled(WhiteNoiseLoop, 56, 0, 68, 0, 60), sampled(CrashAlt, 60, 0, 68, 0, 60, 80)).autoBend(40, 40));
	add(Patch("Waves").two(sampled(CrashAlt, 74, 58, 64, 40, 62), sampled(WhiteNoiseLoop, 74, 60, 64, 40, 62, 70)).vib(10, 1, 0));
	add(Patch("Stream").two(sampled(WhiteNoiseLoop, 104, 30, 60, 90, 40, 70), layer(Sin1, 30, 60, 90, 40, 50).oct(2)).vib(30, 70, 3));
	add(Patch("Insects").two(layer(Saw4, 6, 60, 90, 20).oct(2), layer(Sin1, 6, 60, 90, 20).oct(2).semi(1)).ring12().vib(10, 100, 0));
	add(Patch("Motor").two(layer(Saw2, 6, 60, 100, 14).fixed(40), layer(Square2, 6, 60, 100, 14, 70).fixed(47)).vib(3, 80, 0));
	add(Patch("Pulse Tone").two(layer(Square3, 0, 0, 100, 14), layer(Sin1, 0, 0, 100, 14)).vib(8, 40, 2));
	add(Patch("Bleeps").two(layer(Square1, 0, 0, 100, 10).oct(1), layer(Sin1, 0, 0, 100, 10).oct(1)).vib(45, 50, 3));
	add(Patch("Trill Up").two(layer(Square3, 0, 0, 100, 14), layer(Sin1, 0, 0, 100, 14).fine(4)).vib(30, 22, 2));
	add(Patch("Oct Jump").two(layer(Saw4, 0, 0, 100, 14), layer(Square4, 0, 0, 100, 14).fine(6)).vib(50, 10, 2));
	add(Patch("Wobble").two(layer(Saw2, 0, 0, 100, 16).oct(-1), layer(Saw2, 0, 0, 100, 16).oct(-1).fine(9)).vib(18, 20, 0));
	add(Patch("Choir Fx").two(layer(Sin1, 40, 60, 90, 50).semi(7), layer(Voice1, 40, 60, 90, 50)).ring12());
	add(Patch("Tape Start").two(layer(Piano1, 0, 66, 0, 30), layer(EPiano1, 0, 66, 0, 30).fine(4)).autoBend(-40, 60));
	add(Patch("Power Up").two(layer(Saw1, 0, 60, 100, 20), layer(Square1, 0, 60, 100, 20).fine(6)).autoBend(-50, 92));
	add(Patch("Drop").two(layer(Sin1, 0, 60, 100, 30).oct(-1), layer(Saw6, 0, 60, 100, 30).oct(-1)).autoBend(50, 60));
	add(Patch("Noise Hit").two(sampled(WhiteNoise, 84, 0, 34, 0, 30), sampled(HHatAlt, 84, 0, 34, 0, 30, 70)));
	add(Patch("Cosmos").four(layer(Sin1, 62, 60, 95, 66).oct(1), layer(Sin2, 64, 60, 95, 66).oct(1).fine(9), layer(Saw12, 60, 60, 95, 66, 70),
	                         layer(WhiteNoiseLoop, 66, 60, 95, 66, 40))
	        .vib(8, 3, 3));
	add(Patch("Atmosphere").two(layer(StringLoop, 56, 60, 95, 62), layer(VoiceLoop, 60, 60, 95, 62, 80).fine(7)).vib(3, 3, 0));
	return p;
}
}
