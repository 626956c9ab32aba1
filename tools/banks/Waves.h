#pragma once

// Waveform numbers as the panel shows them (1..256). Several ROM waves share a name; the later
// ones carry a letter (B, C, D) in the order they appear. 1..204 are single cycles with a table per
// key range, 205..256 are sampled sounds that play from their start and loop over their length.
namespace banks::wave
{
enum : int
{
	// sine harmonics: Sin1 is the fundamental, SinN the N-th partial on its own
	Sin1 = 1, Sin2, Sin3, Sin4, Sin5, Sin6, Sin7, Sin8, Sin9, Sin10, Sin11, Sin12, Sin16,
	// saws from bright (1) through ever softer, thinner spectra (19)
	Saw1 = 14, Saw2, Saw3, Saw4, Saw5, Saw6, Saw7, Saw8, Saw9, Saw10, Saw11, Saw12, Saw13, Saw14, Saw15,
	Saw16, Saw17, Saw18, Saw19,
	Square1 = 33, Square2, Square3, Square4, Square5,
	InverseSaw = 38, Triangle, Random,
	FrenchHorn = 41, String, StringB, StringPad, Piano1, ElGrand, EPiano1, EPiano2,
	EPiano3 = 49, Clavi, Vibe, AGuitar, FGuitar, FGuitarB, AcBass, AcBassB, DigiBass1, PickBass, DigiBass2,
	RoundBass, Fretless, FretlessB, Flute, Panflute,
	Harmonica = 65, Glocken, Tine, Harp, Marimba, ETom, LogDrum, JazzOrgan1, MelloPad, SynthSolo, Synth2,
	FrenchHornB, FrenchHornC, Brass, BrassB, BrassC,
	BrassD = 81, Trumpet, TrumpetB, Violin, StringC, Piano1B, Piano2, Piano3, Piano2B, Piano3B, Piano4,
	Piano4B, ElGrandB, EPiano1B, EPiano2B, EPiano2C,
	ClaviB = 97, Harpsichord, VibeB, AGuitarB, FGuitarC, Strat, StratB, AcBassC, PullBass, PullBassB,
	RoundBassB, SlapBass, SlapBassB, SlapBassC, FretlessC, FretlessD,
	SynthBass = 113, SynthBassB, HarmonicaB, Clarinet, ClarinetB, Oboe, OboeB, Shakuhachi, OrientalBell,
	OrientalBellB, Bell, Koto, Sitar, ETomB, LogDrumB, LogDrumC,
	SteelDrum = 129, SteelDrumB, Voice1, Voice2, Accordion, AccordionB, JazzOrgan2, RockOrgan1, DrawBar1,
	DrawBar2, PipeOrgan1, PipeOrgan2, RockOrgan2, SynthSoloB, SynthSoloC, Synth2B,
	Synth2C = 145, Synth3, BrassE, BrassF, Orchestra, Piano1C, Piano4C, EPiano1C, EPiano1D, EPiano2D,
	EPiano3B, ClaviC, HarpsichordB, HarpsichordC, VibeC, DigiBass1B,
	DigiBass2B = 161, DigiBass2C, PickBassB, GlockenB, GlockenC, TineB, TineC, TineD, TubeBell, TubeBellB,
	TubeBellC, Xylophone, XylophoneB, HarpB, KotoB, SitarB,
	SitarC = 177, Kalimba, KalimbaB, KalimbaC, LogDrumD, SteelDrumC, PipeOrgan3, PipeOrgan3B, Synth1,
	Synth2D, Synth3B, Synth3C, Synth4, Synth4B, ClaviD, DigiBass1C,
	DigiBass1D = 193, PickBassC, PickBassD, RoundBassC, RoundBassD, HarmonicaC, HarmonicaD, HarpC, KotoC,
	SitarD, MarimbaB, Synth1B,

	// sampled sounds
	BassDrum = 205, AcSnare, TightSnare, ESnare, Rim, AcTom, HHat, Crash,
	Ride = 213, StratGuitar, FuzzMute, AGuitarPcm, FGuitarPcm, GuitarHarmo, PullBassPcm, BassHarmo,
	BowedString = 221, StringAttack, StringSus, Pizzicato, PianoPcm, ElGrandPcm, PianoNoise, TrumpetPcm,
	ShakuAttack = 229, ShakuSus, PanFluteAttack, PanFluteSus, VoicePcm, WhiteNoise, StringLoop, ShakuLoop,
	PanFluteLoop = 237, VoiceLoop, WhiteNoiseLoop, AcSnareLoop, FGuitarLoop, PullBassLoop, Omnibus1,
	Omnibus2 = 244, Omnibus3, Omnibus4, Omnibus5, Omnibus6, Omnibus7, Omnibus8, AcSnareRev, AcTomRev,
	FGuitarRev = 253, HHatAlt, CrashAlt, PianoNoiseAlt
};
}
