#include "Library.h"
#include "Waves.h"

// Drums and percussion: the ROM's drum samples at their recorded pitch on every key, bodies and
// clicks built from sines whose pitch falls through a fast auto bend, noise for snares, shakers
// and claps (delayed sources for the claps' flams), ring-modulated metal, tuned hand drums that
// follow the key, and two split kits where key scaling gives each half of the keyboard its drum.
namespace banks
{
using namespace wave;

namespace
{
constexpr int Recorded = 92; // the coarse value that plays a sample at its recorded rate

// A drum sample on every key at its own pitch; its decay follows the sample's length, so the
// loop of the sample stays below hearing.
Src hit(int w, int decay, int level = 100, int coarse = Recorded)
{
	return Src(w).fixed(coarse).env(level, 0, 0, decay, 0, decay).vel(2, 35).steady();
}

// A tuned body that follows the key.
Src body(int w, int decay, int semitones = 0, int level = 100)
{
	return Src(w).semi(semitones).env(level, 0, 0, decay, 0, decay).vel(2, 35);
}

Src noise(int decay, int level = 80, int delay = 0)
{
	return Src(WhiteNoise).env(level, delay, 0, decay, 0, decay).vel(2, 30).steady();
}

// The drum's pitch drop: the auto bend starts high and falls onto the note.
Patch& drop(Patch& p, int depth, int time)
{
	return p.autoBend(depth, time, 20);
}
}

std::vector<Patch> percussionBank()
{
	std::vector<Patch> p;
	auto add = [&p](Patch patch) { p.push_back(std::move(patch)); };
	auto addDrop = [&p](Patch patch, int depth, int time) { p.push_back(std::move(drop(patch, depth, time))); };

	addDrop(Patch("Kick Drum").two(hit(BassDrum, 18), body(Sin1, 24, -36)).bend(0).recordBendByte(0x20), 34, 12);
	add(Patch("Kick 2").two(hit(BassDrum, 20), hit(AcTom, 16, 60, 80)).bend(0));
	addDrop(Patch("Synth Kick").two(body(Sin1, 28, -36), noise(8, 40)).bend(0), 40, 14);
	add(Patch("Ac Snare").two(hit(AcSnare, 20), noise(20, 60)).bend(0));
	add(Patch("Tight Snr").two(hit(TightSnare, 22), noise(14, 45)).bend(0));
	add(Patch("E Snare").two(hit(ESnare, 20), noise(22, 70)).bend(0));
	add(Patch("Snare Roll").two(Src(AcSnareLoop).fixed(Recorded).env(100, 0, 10, 50, 80, 20).steady(), noise(20, 40).env(45, 0, 10, 50, 80, 20)).bend(0));
	add(Patch("Rim Shot").two(hit(Rim, 18), hit(AcSnare, 16, 70)).bend(0));
	add(Patch("Side Stick").two(hit(Rim, 14), body(Sin1, 12, 12, 60).fixed(100)).bend(0));
	add(Patch("Ac Tom").two(body(AcTom, 34), body(Sin1, 30, -24, 60)).bend(0));
	addDrop(Patch("E Tom").two(body(ETom, 34), body(ETomB, 34, 0, 80).fine(6)).bend(0), 20, 24);
	addDrop(Patch("Synth Tom").two(body(Sin1, 34, -12), noise(10, 35)).bend(0), 26, 26);
	add(Patch("Closed Hat").two(hit(HHat, 14), noise(10, 40)).bend(0));
	add(Patch("Open Hat").two(hit(HHat, 32), noise(28, 40)).bend(0));
	add(Patch("Pedal Hat").two(hit(HHat, 18, 80).env(80, 0, 4, 18, 0, 18), noise(12, 30)).bend(0));
	add(Patch("Crash").two(hit(Crash, 42), noise(36, 40)).bend(0));
	add(Patch("Crash 2").two(hit(CrashAlt, 50), hit(Crash, 40, 70)).bend(0));
	add(Patch("Ride").two(hit(Ride, 34), body(Sin16, 40, 0, 45).fixed(88)).bend(0));
	add(Patch("Ride Bell").four(hit(Ride, 34), noise(10, 30), body(Sin1, 44, 0, 100).fixed(104), body(Sin1, 44, 0, 80).fixed(96)).ring34().mute(3).bend(0));
	add(Patch("Rev Cymbal").two(Src(CrashAlt).fixed(Recorded).env(100, 0, 64, 10, 0, 10).steady(), Src(WhiteNoiseLoop).fixed(Recorded).env(60, 0, 62, 10, 0, 10).steady()).bend(0));
	add(Patch("Hand Clap").four(noise(12, 80), noise(12, 80, 3), noise(12, 80, 6), noise(30, 70, 9)).bend(0).trim(6));
	add(Patch("Snap").two(noise(8, 70), body(Sin1, 10, 24, 70).fixed(110)).bend(0));
	add(Patch("Shaker").two(Src(WhiteNoise).env(85, 0, 10, 16, 0, 16).vel(2, 30).steady(), hit(HHat, 12, 50)).bend(0));
	add(Patch("Tambourine").four(hit(HHat, 22), noise(20, 40), body(Sin1, 30, 0, 100).fixed(118), body(Sin1, 30, 0, 70).fixed(112)).ring34().mute(3).bend(0));
	add(Patch("Cowbell").two(body(Square2, 24, 0, 90).fixed(97), body(Square2, 24, 0, 90).fixed(104)).bend(0));
	add(Patch("Claves").two(body(Sin1, 14, 0, 100).fixed(103), body(Sin3, 10, 0, 50).fixed(103)).bend(0));
	add(Patch("Woodblock").two(body(LogDrum, 14, 0, 100).fixed(100), noise(6, 30)).bend(0));
	add(Patch("Log Drum").two(body(LogDrum, 30), body(LogDrumB, 30, 0, 80).fine(4)).bend(0));
	add(Patch("Log Drum 2").two(body(LogDrumC, 30), body(Sin1, 28, -12, 70)).bend(0));
	addDrop(Patch("Conga").two(body(Sin1, 30, -12), noise(8, 45)).bend(0), 8, 10);
	addDrop(Patch("Bongo").two(body(Sin1, 22), noise(6, 40)).bend(0), 8, 8);
	add(Patch("Timbale").four(hit(Rim, 18), body(Sin1, 30, 0, 80), body(Sin1, 30, 7, 70).fine(7), noise(14, 40)).ring34().bend(0));
	add(Patch("Timpani").two(body(Sin1, 54, -12).vel(2, 40), body(AcTom, 40, -12, 70)).bend(0));
	add(Patch("Taiko").two(hit(BassDrum, 26), hit(AcTom, 40, 90, 78)).bend(0));
	addDrop(Patch("Tabla").two(body(Sin1, 30), body(Sin2, 16, 0, 50)).bend(0), -14, 16);
	addDrop(Patch("Djembe").two(body(Sin1, 28, -12), hit(AcSnare, 12, 50)).bend(0), 10, 10);
	add(Patch("Cabasa").two(Src(WhiteNoise).fixed(110).env(80, 0, 8, 14, 0, 14).steady(), hit(HHat, 10, 40)).bend(0));
	add(Patch("Guiro").two(Src(WhiteNoiseLoop).env(80, 0, 6, 26, 0, 12), noise(20, 40)).vib(20, 90, 2).bend(0));
	add(Patch("Perc Tri").two(body(Sin1, 50, 38, 100).steady(), body(Sin1, 50, 27, 100).fine(5).steady()).ring12().mute(1).bend(0));
	add(Patch("Castanets").two(body(LogDrumB, 10, 24, 100).fixed(108), noise(6, 50)).bend(0));
	add(Patch("Cuica").two(body(Sin1, 30, 12), body(Sin2, 26, 12, 50)).autoBend(-30, 26, 20).vib(6, 40).bend(0));
	add(Patch("Brush Snr").two(Src(WhiteNoiseLoop).fixed(Recorded).env(80, 0, 10, 30, 0, 26).vel(1, 30).steady(), hit(AcSnare, 16, 40)).bend(0));
	add(Patch("Brush Swrl").two(Src(WhiteNoiseLoop).fixed(Recorded).env(70, 0, 45, 45, 50, 40).steady(), Src(WhiteNoise).fixed(96).env(40, 0, 45, 45, 50, 40).steady()).bend(0));
	add(Patch("Snare Rev").two(Src(WhiteNoiseLoop).fixed(Recorded).env(100, 0, 30, 10, 0, 10).steady(), body(Sin1, 10, -12, 50).env(50, 0, 30, 10, 0, 10)).bend(0));
	add(Patch("Tom Rev").two(body(ETom, 10, -12).env(100, 0, 40, 10, 0, 10), body(Sin1, 10, -24, 40).env(40, 0, 40, 10, 0, 10)).bend(0));
	addDrop(Patch("Boom Kick").two(body(Sin1, 44, -36), hit(BassDrum, 18, 70)).bend(0), 30, 22);
	addDrop(Patch("Zap Drum").two(body(Sin1, 26, -12), body(Saw8, 20, -12, 50)).bend(0), 50, 24);
	add(Patch("Noise Snr").two(noise(24, 100), body(Sin2, 16, -12, 70)).bend(0));
	add(Patch("Metal Hit").four(body(Sin1, 36, 31, 100).steady(), body(Sin1, 36, 0, 100).steady(), body(Sin1, 32, 23, 100).fine(13).steady(),
	                            body(Sin1, 32, 12, 100).steady())
	        .ring12().ring34().mute(1).mute(3).bend(0));
	add(Patch("Kick+Hat").two(hit(BassDrum, 18), hit(HHat, 14, 70)).bend(0));
	add(Patch("Kick+Snare").two(hit(BassDrum, 18), hit(AcSnare, 20, 85)).bend(0));
	add(Patch("Low Tom").two(hit(AcTom, 36, 100, 84), body(Sin1, 30, -29, 50).fixed(59)).bend(0));
	add(Patch("Mid Tom").two(hit(AcTom, 34, 100, 89), body(Sin1, 28, -24, 50).fixed(64)).bend(0));
	add(Patch("High Tom").two(hit(AcTom, 32, 100, 94), body(Sin1, 26, -19, 50).fixed(69)).bend(0));
	add(Patch("Floor Tom").two(hit(AcTom, 40, 100, 78), body(Sin1, 36, -35, 60).fixed(53)).bend(0));
	add(Patch("Tam Tam").four(hit(CrashAlt, 62, 90, 80), noise(40, 30), body(Sin1, 66, -31, 100).fine(11).steady(), body(Sin1, 66, -19, 100).steady())
	        .ring34().mute(3).bend(0));
	add(Patch("Finger Cym").two(body(Sin1, 56, 40, 100).steady(), body(Sin1, 56, 28, 100).fine(17).steady()).ring12().mute(1).bend(0));
	add(Patch("Sleigh").two(hit(HHat, 30), body(Sin1, 36, 40, 60).fixed(120)).vib(6, 80, 3).bend(0));
	add(Patch("March Snr").two(hit(AcSnare, 24), hit(TightSnare, 24, 80)).bend(0));
	add(Patch("Surdo").two(body(Sin1, 40, -24), hit(AcTom, 30, 80, 76)).bend(0));
	add(Patch("Bass Drum").two(hit(BassDrum, 30, 100, 84), body(Sin1, 50, -36, 80)).bend(0));
	add(Patch("Vel Snare").two(hit(ESnare, 18).vel(8, 50), hit(AcSnare, 22, 100, 96).vel(5, 50)).trim(2).bend(0));
	add(Patch("Kick/Snare").two(hit(AcSnare, 20).keyLevel(50), hit(BassDrum, 20).keyLevel(-50)).keyCurve(5).bend(0));
	add(Patch("Hat/Crash").two(hit(Crash, 42).keyLevel(50), hit(HHat, 14).keyLevel(-50)).keyCurve(5).bend(0));
	return p;
}
}
