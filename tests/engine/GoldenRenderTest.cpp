// Bit-exact digests of what the engine renders: held voices under bend, pressure and the mod wheel,
// parameter glides, switches of the single flipped by SysEx inside blocks, pan moves, the poly modes
// and releases at three host rates, and every factory single at C4. The render path is tuned for
// speed; these digests keep every output bit where it was. Each line of golden/render-digests.txt
// holds a case's name, a 64-bit hash of its left and right samples and a few left samples to tell
// how far a failing case is off.
//
// A deliberate change of the sound (new factory banks or wave ROM, a corrected behaviour) records
// the digests anew: run the test with VIREL_GOLDEN_UPDATE=1 and commit the file with the change.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <utility>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "RecordingEngineListener.h"

using namespace zentlib;

namespace
{
struct Digest
{
	uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
	std::vector<float> probes;

	void add(const float* samples, size_t n)
	{
		for (size_t i = 0; i < n; ++i)
		{
			uint32_t bits;
			std::memcpy(&bits, &samples[i], sizeof(bits));
			for (int b = 0; b < 4; ++b)
			{
				hash ^= (bits >> (8 * b)) & 0xff;
				hash *= 0x100000001b3ull;
			}
		}
	}

	std::string line(const std::string& name) const
	{
		std::ostringstream out;
		char hex[17];
		std::snprintf(hex, sizeof(hex), "%016" PRIx64, hash);
		out << name << ' ' << hex;
		for (float p : probes)
		{
			char value[32];
			std::snprintf(value, sizeof(value), " %.9g", p);
			out << value;
		}
		return out.str();
	}
};

// Left and right in blocks whose sizes vary, so the converter's passes split in many ways.
Digest renderDigest(Engine& engine, int frames, const std::function<void(int, int, std::vector<SMidiEvent>&)>& script)
{
	static constexpr int Blocks[] = {256, 64, 511, 3, 128};
	std::vector<float> left, right;
	left.reserve(static_cast<size_t>(frames));
	right.reserve(static_cast<size_t>(frames));
	std::vector<float> l(512), r(512);
	float* out[2] = {l.data(), r.data()};
	std::vector<SMidiEvent> events;
	for (int done = 0, b = 0; done < frames; ++b)
	{
		const int n = std::min(Blocks[b % std::size(Blocks)], frames - done);
		events.clear();
		script(b, n, events);
		engine.process(out, n, events);
		left.insert(left.end(), l.begin(), l.begin() + n);
		right.insert(right.end(), r.begin(), r.begin() + n);
		done += n;
	}
	Digest digest;
	digest.add(left.data(), left.size());
	digest.add(right.data(), right.size());
	for (int q = 1; q <= 4; ++q)
		digest.probes.push_back(left[left.size() * q / 4 - 1]);
	return digest;
}

// Four sounding sources with everything that moves while a note is held: vibrato with pressure
// and wheel, auto bend, pressure on level and pitch, ring modulation of a sampled wave.
SinglePreset busySingle(uint32_t polyMode)
{
	SinglePreset single;
	std::copy_n("Golden 4  ", 10, single.name);
	single.volume = 90;
	single.polyMode = polyMode;
	single.source2or4 = 1;
	single.ampModS3S4 = 1;
	single.pressureToFreq = 70;
	single.vibratoDepth = 62;
	single.pressureToVibrato = 65;
	single.pitchBendDepth = 7;
	single.lfoSpeed = 70;
	single.lfoShape = 0;
	single.keyScaleCurve = 3;
	single.vibWheelMode = 0;
	single.autoBendDepth = 70;
	single.autoBendTime = 40;
	single.velToDepth = 60;
	single.autoBendKeyScaleToTime = 40;
	const uint8_t waves[4] = {0, 20, 230, 120};
	for (int s = 0; s < 4; ++s)
	{
		SingleSource& source = single.sources[s];
		source = neutralSource();
		source.fine = static_cast<uint8_t>(46 + 3 * s);
		source.wave = waves[s];
		source.vibABend = s != 2;
		source.pressureToFreq = s == 1;
		source.velCurve = static_cast<uint8_t>(s);
		source.envLevel = static_cast<uint8_t>(95 - 5 * s);
		source.envDelay = s == 3 ? 10 : 0;
		source.envAttack = static_cast<uint8_t>(10 + 15 * s);
		source.envDecay = 40;
		source.envSustain = static_cast<uint8_t>(60 + 10 * s);
		source.envRelease = static_cast<uint8_t>(25 + 5 * s);
		source.levelModVel = 70;
		source.levelModPressure = s == 0 ? 80 : (s == 3 ? 30 : 50);
		source.levelModKeyScale = 60;
		source.timeModVel = 40;
		source.timeModKeyScale = 55;
		source.freqKeyScaleToFreq = s == 1 ? 55 : 50;
	}
	return single;
}

// Two sources, the first muted but kept as the ring modulator of the second, on a looped wave.
SinglePreset ringSingle()
{
	SinglePreset single = busySingle(1);
	std::copy_n("Golden 2  ", 10, single.name);
	single.source2or4 = 0;
	single.ampModS1S2 = 1;
	single.ampModS3S4 = 0;
	single.mute[0] = true;
	single.autoBendTime = 0;
	single.lfoShape = 3;
	single.sources[1].wave = 238;
	return single;
}

// A parameter change as a peer sends it, in the bytes the engine itself writes for one.
SMidiEvent sysexEdit(Engine& engine, EParam parameter, float value, uint32_t offset)
{
	RecordingEngineListener recorder;
	IEngineListener* owner = std::exchange(engine.listener, &recorder);
	engine.sendParameterAsSysex(parameter, value);
	engine.listener = owner;
	return sysexEvent(recorder.sent.at(0), offset);
}

struct Scenario
{
	std::string name;
	SinglePreset single;
	int seconds100; // length in hundredths of a second
	std::function<void(Engine&, int block, int frames, std::vector<SMidiEvent>&)> script;
};

std::vector<Scenario> scenarios()
{
	std::vector<Scenario> list;
	const uint8_t chord[] = {48, 55, 60, 64, 67, 72};

	list.push_back({"held", busySingle(1), 50, [chord](Engine&, int b, int n, std::vector<SMidiEvent>& e) {
		if (b == 0)
			for (size_t k = 0; k < std::size(chord); ++k)
				e.push_back(midiEvent(0x90, chord[k], static_cast<uint8_t>(40 + 15 * k), static_cast<uint32_t>(k * 7 % n)));
		if (b == 40)
		{
			e.push_back(midiEvent(0xB0, 101, 0));
			e.push_back(midiEvent(0xB0, 100, 1));
			e.push_back(midiEvent(0xB0, 6, 90));
		}
		if (b % 2 == 1)
			e.push_back(midiEvent(0xE0, 0, static_cast<uint8_t>(64 + 40 * std::sin(b * 0.2)), static_cast<uint32_t>(n / 2)));
		if (b % 3 == 0)
			e.push_back(midiEvent(0xD0, static_cast<uint8_t>(b * 5 % 128), 0, static_cast<uint32_t>(n - 1)));
		if (b % 5 == 0)
			e.push_back(midiEvent(0xB0, 1, static_cast<uint8_t>(b * 3 % 128), static_cast<uint32_t>(n - 1)));
		if (b == 90)
			for (uint8_t note : chord)
				e.push_back(midiEvent(0x80, note, 64));
	}});

	list.push_back({"ramps", busySingle(1), 60, [chord](Engine& engine, int b, int, std::vector<SMidiEvent>& e) {
		if (b == 0)
		{
			for (uint8_t note : chord)
				e.push_back(midiEvent(0x90, note, 100));
			e.push_back(midiEvent(0xD0, 90, 0));
		}
		const std::pair<EParam, float> glides[] = {
		    {Param_SourceMix12, 0.8f}, {Param_SourceMix34, 0.1f}, {Param_Volume, 0.6f}, {Param_VibratoDepth, 0.9f},
		    {Param_LfoSpeed, 0.2f}, {Param_SourceS1LevelModPressure, 0.1f}, {Param_PitchBendDepth, 1.0f},
		    {Param_AutoBendTime, 0.0f}, {Param_PressureToFreq, 0.2f}, {Param_SourceS3PressureToFreq, 1.0f},
		    {Param_SourceS2VibABend, 0.0f}, {Param_VibWheelMode, 1.0f}};
		if (b % 9 == 4 && static_cast<size_t>(b / 9) < std::size(glides))
			engine.parameters.setVSTParam(glides[b / 9].first, glides[b / 9].second);
		if (b == 30)
			e.push_back(midiEvent(0xE0, 0, 100));
		if (b == 115)
			for (uint8_t note : chord)
				e.push_back(midiEvent(0x80, note, 64));
	}});

	// Voices keep what they read from the single until something changes it; here the switches
	// change by SysEx in the middle of blocks while the chord sounds under moving pressure.
	list.push_back({"sysex", busySingle(1), 40, [chord](Engine& engine, int b, int n, std::vector<SMidiEvent>& e) {
		const std::pair<EParam, float> edits[] = {
		    {Param_SourceS3VibABend, 1.0f}, {Param_SourceS2PressureToFreq, 0.0f}, {Param_SourceS3LevelModPressure, 0.9f},
		    {Param_AutoBendTime, 0.0f}, {Param_SourceS1VibABend, 0.0f}, {Param_PressureToFreq, 0.1f},
		    {Param_SourceS4PressureToFreq, 1.0f}, {Param_AutoBendTime, 0.5f}, {Param_SourceS1LevelModPressure, 0.5f}};
		if (b == 0)
			for (uint8_t note : chord)
				e.push_back(midiEvent(0x90, note, 100));
		if (b % 3 == 1)
			e.push_back(midiEvent(0xD0, static_cast<uint8_t>(30 + b * 7 % 90), 0, static_cast<uint32_t>(n / 4)));
		if (b % 4 == 2 && static_cast<size_t>(b / 4) < std::size(edits))
			e.push_back(sysexEdit(engine, edits[b / 4].first, edits[b / 4].second, static_cast<uint32_t>(n / 2)));
		if (b == 21) // a voice that starts after the first edits
			e.push_back(midiEvent(0x90, 60, 90, static_cast<uint32_t>(n - 1)));
		if (b == 60)
			for (uint8_t note : chord)
				e.push_back(midiEvent(0x80, note, 64));
	}});

	list.push_back({"pan", ringSingle(), 40, [](Engine&, int b, int, std::vector<SMidiEvent>& e) {
		static constexpr uint8_t pans[] = {64, 0, 30, 64, 100, 127, 64, 64, 10};
		if (b == 0)
			for (uint8_t note : {50, 57, 62})
				e.push_back(midiEvent(0x90, note, 110));
		if (b % 10 == 5)
			e.push_back(midiEvent(0xB0, 10, pans[(b / 10) % std::size(pans)], 1));
		if (b % 25 == 12)
			e.push_back(midiEvent(0xB0, 7, static_cast<uint8_t>(127 - b % 60)));
		if (b == 60)
			e.push_back(midiEvent(0x80, 57, 0));
	}});

	list.push_back({"solo", busySingle(2), 50, [](Engine&, int b, int n, std::vector<SMidiEvent>& e) {
		struct Step
		{
			int block;
			uint8_t status, note, velocity;
		};
		static constexpr Step steps[] = {{0, 0x90, 60, 100},  {10, 0x90, 64, 80},  {20, 0x90, 67, 127}, {30, 0x80, 67, 0},
		                                 {40, 0x80, 64, 10},  {45, 0xB0, 64, 127}, {50, 0x90, 72, 90},  {55, 0x80, 72, 0},
		                                 {60, 0x80, 60, 0},   {70, 0xB0, 64, 0},   {80, 0x90, 48, 70},  {81, 0x90, 0x30, 0},
		                                 {90, 0x90, 50, 100}, {105, 0xB0, 123, 0}};
		for (const Step& s : steps)
			if (s.block == b)
				e.push_back(midiEvent(s.status, s.note, s.velocity, static_cast<uint32_t>(n / 3)));
	}});

	for (uint32_t mode : {0u, 1u})
	{
		list.push_back({mode == 0 ? "poly1" : "poly2", busySingle(mode), 35, [](Engine&, int b, int, std::vector<SMidiEvent>& e) {
			if (b % 15 == 0 && b < 60)
				e.push_back(midiEvent(0x90, static_cast<uint8_t>(b % 30 == 0 ? 60 : 67), static_cast<uint8_t>(60 + b % 60)));
			if (b == 70)
				e.push_back(midiEvent(0x80, 60, 30));
		}});
	}
	return list;
}

std::string goldenPath()
{
	return std::string(VIREL_GOLDEN_DIR) + "/render-digests.txt";
}

bool updating()
{
	const char* update = std::getenv("VIREL_GOLDEN_UPDATE");
	return update && std::strcmp(update, "1") == 0;
}

// name -> whole line, in file order
std::map<std::string, std::string> readGolden()
{
	std::map<std::string, std::string> lines;
	std::ifstream in(goldenPath());
	std::string line;
	while (std::getline(in, line))
		if (!line.empty() && line[0] != '#')
			lines[line.substr(0, line.find(' '))] = line;
	return lines;
}

std::string hashOf(const std::string& line)
{
	const size_t a = line.find(' ');
	return a == std::string::npos ? std::string() : line.substr(a + 1, 16);
}

std::vector<std::string> renderAll()
{
	std::vector<std::string> lines;
	LogCapture quiet;
	for (const Scenario& scenario : scenarios())
	{
		for (float rate : {44100.0f, 48000.0f, 49920.0f})
		{
			std::srand(1);
			Engine engine(QuietEngineListener::instance());
			engine.setSamplerate(rate);
			engine.setSingle(0, scenario.single);
			const int frames = static_cast<int>(rate) * scenario.seconds100 / 100;
			const Digest digest = renderDigest(engine, frames, [&](int b, int n, std::vector<SMidiEvent>& e) { scenario.script(engine, b, n, e); });
			lines.push_back(digest.line(scenario.name + "@" + std::to_string(static_cast<int>(rate))));
		}
	}

	// Every factory single, C4 held for 1,500 engine samples and released for 500.
	std::srand(1);
	Engine engine(QuietEngineListener::instance());
	engine.setSamplerate(Engine::InternalSamplerate);
	for (size_t index = 0; index < engine.singles.size(); ++index)
	{
		engine.setSingle(index);
		const Digest digest = renderDigest(engine, 2000, [](int b, int, std::vector<SMidiEvent>& e) {
			if (b == 0)
				e.push_back(midiEvent(0x90, 60, 100));
			if (b == 7) // block 7 starts at 1,282
				e.push_back(midiEvent(0x80, 60, 64, 218));
		});
		lines.push_back(digest.line("single" + std::to_string(index)));
	}
	return lines;
}
}

TEST(GoldenRender, OutputIsBitForBitTheRecordedOne)
{
	const std::vector<std::string> lines = renderAll();
	if (updating())
	{
		std::ofstream out(goldenPath(), std::ios::trunc);
		out << "# name, FNV-1a 64 of the left then right samples' bits, left samples at each quarter\n";
		for (const std::string& line : lines)
			out << line << '\n';
		ASSERT_TRUE(out.good()) << goldenPath();
		GTEST_SKIP() << "recorded " << lines.size() << " digests in " << goldenPath();
	}

	const auto golden = readGolden();
	ASSERT_FALSE(golden.empty()) << "no digests in " << goldenPath() << "; record them with VIREL_GOLDEN_UPDATE=1";
	EXPECT_EQ(golden.size(), lines.size());
	int differing = 0;
	for (const std::string& line : lines)
	{
		const std::string name = line.substr(0, line.find(' '));
		const auto recorded = golden.find(name);
		ASSERT_NE(recorded, golden.end()) << name << " was never recorded";
		if (hashOf(recorded->second) != hashOf(line) && ++differing <= 10)
			ADD_FAILURE() << "recorded: " << recorded->second << "\nrendered: " << line;
	}
	EXPECT_EQ(differing, 0) << "cases whose output changed";
}
