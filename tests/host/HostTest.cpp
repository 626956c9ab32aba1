#include "HostProcess.h"
#include "TestData.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct Wav
{
	int rate = 0, channels = 0;
	std::vector<float> samples; // interleaved
	float peak() const
	{
		float p = 0;
		for (float s : samples)
			p = std::max(p, std::fabs(s));
		return p;
	}
	bool finite() const
	{
		for (float s : samples)
			if (!std::isfinite(s))
				return false;
		return true;
	}
};

Wav readWav(const fs::path& p)
{
	Wav w;
	SF_INFO info{};
	SNDFILE* f = sf_open(p.c_str(), SFM_READ, &info);
	if (!f)
		return w;
	w.rate = info.samplerate;
	w.channels = info.channels;
	w.samples.resize(size_t(info.frames * info.channels));
	sf_readf_float(f, w.samples.data(), info.frames);
	sf_close(f);
	return w;
}

class HostTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_dir = fs::temp_directory_path() / ("virel-host-test-" + std::to_string(::getpid()) + "-" +
												::testing::UnitTest::GetInstance()->current_test_info()->name());
		fs::create_directories(m_dir);
	}
	void TearDown() override { fs::remove_all(m_dir); }

	// Runs the host with the test instrument unless the arguments name a plug-in.
	HostRun host(std::vector<std::string> args, bool withPlugin = true, const std::string& environment = "")
	{
		if (withPlugin)
		{
			args.push_back("--plugin");
			args.push_back(VIREL_TEST_BUNDLE);
		}
		return runHost(args, m_dir, environment);
	}
	std::string path(const std::string& name) const { return (m_dir / name).string(); }

	fs::path m_dir;
};

// The same test data as the MIDI tests of the synth core.
std::string midiFile(const std::string& name)
{
	return (testdata::root() / "midi" / name).string();
}
}

TEST_F(HostTest, RendersTheBuiltInDemoWithASummaryLine)
{
	const HostRun r = host({"render", "--output", path("demo.wav")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_TRUE(std::regex_match(r.out, std::regex("Rendered 25\\.50 s \\(1124550 frames at 44100 Hz\\) to .*demo\\.wav: "
												   "peak -[0-9]+\\.[0-9] dBFS, [0-9.]+x real time\n")))
		<< r.out;
	const Wav w = readWav(path("demo.wav"));
	EXPECT_EQ(w.rate, 44100);
	EXPECT_EQ(w.channels, 2);
	EXPECT_EQ(w.samples.size(), 2u * 1124550u);
	EXPECT_GT(w.peak(), 0.05f);
	EXPECT_TRUE(w.finite());
}

TEST_F(HostTest, RendersARealMidiFileAtTheAskedRateAndBlockSize)
{
	REQUIRE_TESTDATA();
	const HostRun r = host({"render", "-m", midiFile("jazzsoft-test-c-major-scale.mid"), "-o", path("scale.wav"), "-r", "48000",
		"-b", "100", "-t", "0.25"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	const Wav w = readWav(path("scale.wav"));
	EXPECT_EQ(w.rate, 48000);
	EXPECT_GT(w.peak(), 0.05f);
	// The scale's first note sounds from the start; the tail is silent after the last note-off.
	const size_t frames = w.samples.size() / 2;
	float tail = 0;
	for (size_t i = frames - 4800; i < frames; ++i)
		tail = std::max(tail, std::fabs(w.samples[2 * i]));
	EXPECT_EQ(tail, 0.f);
}

TEST_F(HostTest, StateSavedAfterARenderRestoresToTheSameState)
{
	// A file without program changes: the demo's would select other presets.
	REQUIRE_TESTDATA();
	const std::string midi = midiFile("jazzsoft-test-c-major-scale.mid");
	HostRun r = host({"render", "-m", midi, "-o", path("a.wav"), "-t", "0", "--preset", "Bright", "--param", "Gain=0.25",
		"--state-out", path("a.aupreset")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	const std::string saved = slurp(path("a.aupreset"));
	EXPECT_NE(saved.find("<key>name</key>\n\t<string>Bright</string>"), std::string::npos) << saved;
	EXPECT_NE(saved.find("<key>subtype</key>\n\t<integer>1985246068</integer>"), std::string::npos);
	// Gain 0.25 (3E800000) and Tone 1.0 (3F800000) after the scope, element and count words.
	EXPECT_NE(saved.find("AAAAAAAAAAAAAAACAAAAAD6AAAAAAAABP4AAAA=="), std::string::npos);

	r = host({"render", "-m", midi, "-o", path("b.wav"), "-t", "0", "--state-in", path("a.aupreset"), "--state-out",
		path("b.aupreset")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(slurp(path("b.aupreset")), saved);
	r = host({"info", "--state-in", path("a.aupreset")});
	EXPECT_NE(r.out.find("now 0.25 = 25%"), std::string::npos) << r.out;
	r = host({"info", "--preset", "bRIGHT", "--param", "gAIN=0.25"});
	EXPECT_NE(r.out.find("now 0.25 = 25%"), std::string::npos) << r.err;
}

TEST_F(HostTest, SysExSentBeforePlayingComesBackOnTheMidiOutput)
{
	{
		std::ofstream syx(path("in.syx"), std::ios::binary);
		syx << std::string("\xF0\x7D\x01\x02\x03\xF7", 6) << "noise" << std::string("\xF0\x7D\x05\xF7", 4);
	}
	const HostRun r = host({"render", "-o", path("s.wav"), "-t", "0", "--sysex", path("in.syx"), "--midi-out", path("out.syx")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(slurp(path("out.syx")), std::string("\xF0\x7D\x01\x02\x03\xF7\xF0\x7D\x05\xF7", 10));
}

TEST_F(HostTest, InfoListsTheComponentParametersWithTextsAndPresets)
{
	const HostRun r = host({"info"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_NE(r.out.find("Component: Venz: Virel Test\nCodes: aumu vTst Venz\nVersion: 1.0.0 (0x00010000)\n"), std::string::npos)
		<< r.out;
	EXPECT_NE(r.out.find("Parameters: 2\n"), std::string::npos);
	EXPECT_TRUE(std::regex_search(r.out, std::regex("\n +0  Gain +0 \\.\\. 1, default 0\\.5, now 0\\.5 = 50%\n")));
	EXPECT_NE(r.out.find("Factory presets: 3\n     0  Soft\n     1  Bright\n     2  Loud\n"), std::string::npos);
}

TEST_F(HostTest, BadInputGetsOneClearLineAndTheRightExitCode)
{
	REQUIRE_TESTDATA();
	// A bundle whose Info.plist names an entry point its executable lacks.
	const fs::path broken = m_dir / "Broken.component";
	fs::create_directories(broken / "Contents/MacOS");
	fs::copy_file(fs::path(VIREL_TEST_BUNDLE) / "Contents/MacOS/VirelTest", broken / "Contents/MacOS/VirelTest");
	std::string plist = slurp(fs::path(VIREL_TEST_BUNDLE) / "Contents/Info.plist");
	plist.replace(plist.find("auPluginFactory"), 15, "missingFactory");
	std::ofstream(broken / "Contents/Info.plist") << plist;

	// Two thousand of the longest waits at the slowest tempo put the last event 2.5 billion hours away.
	std::string far("MThd\0\0\0\6\0\0\0\1\0\1MTrk\0\0\x36\xBB\0\xFF\x51\x03\xFF\xFF\xFF", 29);
	for (int i = 0; i < 2000; ++i)
		far += "\xFF\xFF\xFF\x7F\x90\x3C\x64";
	std::ofstream(path("far.mid"), std::ios::binary) << far << std::string("\0\xFF\x2F\0", 4);

	struct Case
	{
		std::vector<std::string> args;
		int exitCode;
		std::string message;
	};
	const std::vector<Case> cases = {
		{{"render", "-m", path("missing.mid")}, 1,
			"cannot read the MIDI file '" + path("missing.mid") + "': No such file or directory"},
		{{"render", "-m", m_dir.string()}, 1, "cannot read the MIDI file '" + m_dir.string() + "': Is a directory"},
		{{"render", "-o", path("x.wav"), "--state-in", path("none")}, 1, "state file '" + path("none") + "': No such file"},
		{{"render", "-o", m_dir.string()}, 1, "cannot write the WAV file '" + m_dir.string() + "': Is a directory"},
		{{"render", "-o", path("x.wav"), "--param", "4294967301=0.9"}, 1, "unknown parameter '4294967301'"},
		{{"render", "-o", "-"}, 2, "option --output needs a file: standard output ('-') carries the host's results"},
		{{"render", "-o", "/dev/fd/1"}, 2, "option --output needs a file: '/dev/fd/1' is standard output"},
		{{"render", "-m", path("far.mid")}, 1, "would play for 2501999634 hours; the host renders at most 2 hours"},
		{{"render", "-m", midiFile("jazzsoft-test-not-a-midi-file.mid")}, 1, "is not a Standard MIDI File"},
		{{"render", "-o", path("x.wav"), "--preset", "Nope"}, 1, "unknown preset 'Nope'"},
		{{"info", "--preset", "3"}, 1, "unknown preset '3': a preset is a number from 0 to 2 or a name, in any case; "
									  "virel-host info lists them"},
		{{"render", "-o", path("x.wav"), "--param", "Volume=0.5"}, 1,
			"unknown parameter 'Volume': a parameter is an ID from 0 to 1 or a name"},
		{{"render", "-o", path("x.wav"), "--state-in", midiFile("jazzsoft-test-c-major-scale.mid")}, 1,
			"cannot load the state file"},
		{{"render", "-o", path("x.wav"), "--sysex", midiFile("jazzsoft-test-c-major-scale.mid")}, 1, "holds no SysEx message"},
		{{"render", "--plugin", broken.string()}, 1, "has no entry point 'missingFactory'"},
		{{"render", "--plugin", path("none.component")}, 1, "no plug-in bundle at"},
		{{"render", "--bogus"}, 2, "unknown option '--bogus' (see --help)"},
		{{"render", "--param", "Gain"}, 2, "needs ID=VALUE"},
		{{"render", "-r", "fast"}, 2, "needs a number"},
		{{"render", "--param", "Gain=1e40"}, 2, "a value a float can hold"},
		{{"editor", "--script", path("actions.txt")}, 2, "option --script needs --screenshot"},
		{{"editor", "--size", "800"}, 2, "option --size needs WIDTHxHEIGHT"},
		{{"editor", "--screenshot", path("x.png")}, 1, "the unit offers no Cocoa view"},
		{{"render", "-o", path("x.wav"), "--state-in", "/dev/zero"}, 1,
			"'/dev/zero' holds more than 1048576 bytes, too many for a state file: no saved state comes near 1 MiB"},
		{{"render", "-o", path("x.wav"), "--sysex", "/dev/urandom"}, 1, "holds more than 4194304 bytes, too many for a SysEx file"},
		{{"render", "-o", path("x.wav"), "-m", "/dev/zero"}, 1, "holds more than 8388608 bytes, too many for a MIDI file"},
		{{"render", "-o", path("x.wav"), "-m", midiFile("nfroidure-MIDIBadHeaderFormat.mid")}, 1,
			"declares format 3; Standard MIDI Files have formats 0, 1 and 2"},
		{{"render", "-o", path("x.wav"), "-m", midiFile("drywetmidi-dixie-nw.mid")}, 1,
			"': track 1 has a status byte where the data of the message at byte 84 belong"},
		{{"render", "-o", "/dev/stderr"}, 2, "'/dev/stderr' is standard error, which carries the host's messages"},
		{{"render", "-o", "/dev/stdin"}, 2, "'/dev/stdin' is standard input"},
		{{"info", "--sysex", path("missing.syx")}, 2, "command info does not take option '--sysex'"},
		{{"info", "--state-out", path("x.aupreset")}, 2, "command info does not take option '--state-out'"},
		{{"render", "--strictness", "3"}, 2, "command render does not take option '--strictness'"},
		{{"validate", "-r", "48000"}, 2, "command validate does not take option '-r'"},
		{{"editor", "--screenshot", path("x.png"), "-m", path("a.mid")}, 2, "takes option '-m' only without --screenshot"},
		{{"render", "-r", "44100.5"}, 2, "a whole number of Hz in decimal digits, not '44100.5'"},
		{{"render", "-r", "0x1F400"}, 2, "a whole number of Hz in decimal digits, not '0x1F400'"},
		{{"play"}, 2, "unknown command 'play'"},
		{{}, 2, "no command given"},
	};
	for (const Case& c : cases)
	{
		std::vector<std::string> args = c.args;
		const bool namesPlugin = std::find(args.begin(), args.end(), "--plugin") != args.end();
		const HostRun r = host(args, !namesPlugin);
		EXPECT_EQ(r.exitCode, c.exitCode) << c.message << "\n" << r.err;
		EXPECT_EQ(r.err.rfind("virel-host: ", 0), 0u) << r.err;
		EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
		EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
		EXPECT_TRUE(r.out.empty()) << r.out;
	}
	for (const char* option : {"-p", "-m", "-o", "-r", "-b", "--preset", "--param", "--sysex", "--midi-out", "--state-in",
			 "--state-out", "-t", "--log", "--size", "--screenshot", "--script", "--strictness", "--seed", "--sample-rates",
			 "--block-sizes"})
	{
		const HostRun r = host({"render", option, ""});
		EXPECT_EQ(r.exitCode, 2) << option;
		EXPECT_EQ(r.err.rfind("virel-host: option " + std::string(option) + " needs ", 0), 0u) << r.err;
	}
}

TEST_F(HostTest, HelpListsEveryOption)
{
	const HostRun r = host({"--help"}, false);
	EXPECT_EQ(r.exitCode, 0);
	for (const char* option : {"--plugin", "--midi", "--output", "--sample-rate", "--block-size", "--preset", "--param",
			 "--sysex", "--midi-out", "--state-in", "--state-out", "--tail", "--verbose", "--log", "--size", "--screenshot", "--script", "render",
			 "info", "editor"})
		EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST_F(HostTest, EveryRealMidiFileRendersOrIsRefusedWithoutACrash)
{
	REQUIRE_TESTDATA();
	for (const fs::path& file : testdata::files("midi", ".mid"))
	{
		const HostRun r = host({"render", "-q", "-m", file.string(), "-o", path("any.wav"), "-r", "8000", "-b", "1024", "-t", "0"});
		EXPECT_FALSE(r.crashed) << file;
		EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << file << ": " << r.err;
		if (r.exitCode == 1)
		{
			EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << file << ": " << r.err;
		}
		fs::remove(path("any.wav"));
	}
}

TEST_F(HostTest, EventsStartAtTheirSampleInsideTheBlock)
{
	// One track at 120 beats per minute and 480 ticks per beat: A2 from 0.5 s to 1.0 s.
	const unsigned char smf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 20,
		0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x83, 0x60, 0x90, 45, 100, 0x83, 0x60, 0x80, 45, 0, 0x00, 0xFF, 0x2F, 0x00};
	std::ofstream(path("a2.mid"), std::ios::binary).write(reinterpret_cast<const char*>(smf), sizeof smf);
	const HostRun r = host({"render", "-m", path("a2.mid"), "-o", path("a2.wav"), "-b", "512", "-t", "0.1"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	const Wav w = readWav(path("a2.wav"));
	ASSERT_EQ(w.samples.size(), 2u * 48510u);
	auto left = [&](size_t frame) { return w.samples[2 * frame]; };
	size_t first = 0;
	while (first < 48510 && left(first) == 0.f)
		++first;
	// The voice starts at frame 22050 (block 43, offset 34) with a sine at phase zero.
	EXPECT_EQ(first, 22051u);
	size_t last = 48509;
	while (last > 0 && left(last) == 0.f)
		--last;
	EXPECT_EQ(last, 44099u);
}

TEST_F(HostTest, ARenderLastsUntilTheTrackEndsThenTheTail)
{
	// 96 ticks a quarter note at 120 beats per minute: A2 for 0.5 s, then 9.5 s of rest before the end of the track.
	const unsigned char smf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 13, 0x00,
		0x90, 45, 100, 0x60, 0x80, 45, 0, 0x8E, 0x20, 0xFF, 0x2F, 0x00};
	std::ofstream(path("rest.mid"), std::ios::binary).write(reinterpret_cast<const char*>(smf), sizeof smf);
	const HostRun r = host({"render", "-m", path("rest.mid"), "-o", path("rest.wav"), "-r", "8000", "-t", "0.5"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(readWav(path("rest.wav")).samples.size(), 2u * 84000u);
}

// A descriptor the caller hands over takes the output whole, or is left empty when the output fails; one it did not
// hand over is the host's own (its log).
TEST_F(HostTest, ADescriptorTheCallerGivesTakesTheWholeOutputOrNothing)
{
	for (const char* output : {"-o", "--state-out"})
	{
		const HostRun r = host({"render", "-t", "0", output, "/dev/fd/3"}, true, "sh -c 'exec \"$0\" \"$@\" 3>&-'");
		EXPECT_EQ(r.exitCode, 2);
		EXPECT_NE(r.err.find("'/dev/fd/3' is descriptor 3, which the caller did not give the host"), std::string::npos) << r.err;
	}
	const std::string given = "sh -c 'exec \"$0\" \"$@\" 3>" + path("given.wav") + "'";
	HostRun r = host({"render", "-t", "0", "-r", "8000", "-o", "/dev/fd/3"}, true, given);
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_GT(readWav(path("given.wav")).peak(), 0.05f);
	r = host({"render", "-t", "1", "-o", "/dev/fd/3"}, true, "ulimit -f 80; " + given);
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_EQ(fs::file_size(path("given.wav")), 0u);
}

TEST_F(HostTest, TheSameRenderGivesTheSameBytes)
{
	REQUIRE_TESTDATA();
	const std::string midi = midiFile("jazzsoft-test-c-major-scale.mid");
	for (const char* name : {"a.wav", "b.wav"})
	{
		const HostRun r = host({"render", "-m", midi, "-o", path(name), "-t", "0.5"});
		ASSERT_EQ(r.exitCode, 0) << r.err;
	}
	const std::string a = slurp(path("a.wav"));
	EXPECT_GT(a.size(), 44u);
	EXPECT_EQ(a, slurp(path("b.wav")));
	EXPECT_EQ(a.find("PEAK"), std::string::npos);
}

// Format 2 holds patterns played one after another; split SysEx messages are joined, and an escape's bytes are
// played as the messages they hold.
TEST_F(HostTest, PlaysFormatTwoSplitSysExAndEscapes)
{
	REQUIRE_TESTDATA();
	for (const char* file : {"jazzsoft-test-2-tracks-type-2.mid", "nfroidure-MIDIOkFormat2.mid"})
	{
		const HostRun r = host({"render", "-m", midiFile(file), "-o", path("f2.wav"), "-t", "0"});
		ASSERT_EQ(r.exitCode, 0) << file << ": " << r.err;
		EXPECT_GT(readWav(path("f2.wav")).peak(), 0.05f) << file;
	}
	const HostRun one = host({"render", "-m", midiFile("jazzsoft-test-2-tracks-type-1.mid"), "-o", path("f1.wav"), "-t", "0"});
	const HostRun two = host({"render", "-m", midiFile("jazzsoft-test-2-tracks-type-2.mid"), "-o", path("f2.wav"), "-t", "0"});
	ASSERT_EQ(one.exitCode, 0);
	EXPECT_GT(readWav(path("f2.wav")).samples.size(), readWav(path("f1.wav")).samples.size())
		<< "the same two tracks, one after the other rather than together";

	// Format 0, 96 ticks per quarter note at 120 beats per minute: at 0 a SysEx in two packets, at tick 96
	// (0.5 s) an escape holding a note-on for A2 and a whole SysEx message, at tick 192 the note-off.
	const unsigned char smf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 35,
		0x00, 0xF0, 0x03, 0x7D, 0x01, 0x02, //
		0x00, 0xF7, 0x02, 0x03, 0xF7, //
		0x60, 0xF7, 0x08, 0x90, 45, 100, 0xF0, 0x7D, 0x05, 0xF7, 0xFE, //
		0x60, 0x80, 45, 0, //
		0x00, 0xFF, 0x2F, 0x00};
	std::ofstream(path("escape.mid"), std::ios::binary).write(reinterpret_cast<const char*>(smf), sizeof smf);
	const HostRun r = host({"render", "-m", path("escape.mid"), "-o", path("e.wav"), "-t", "0.1", "--midi-out", path("out.syx")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(slurp(path("out.syx")), std::string("\xF0\x7D\x01\x02\x03\xF7\xF0\x7D\x05\xF7", 10));
	const Wav w = readWav(path("e.wav"));
	size_t first = 0;
	while (first < w.samples.size() / 2 && w.samples[2 * first] == 0.f)
		++first;
	EXPECT_EQ(first, 22051u) << "the escaped note starts at 0.5 s";
}

TEST_F(HostTest, ACutOffTrackPlaysUpToTheCutWithAWarning)
{
	REQUIRE_TESTDATA();
	const HostRun r = host({"render", "-q", "-m", midiFile("midly-PiDamaged.mid"), "-o", path("pi.wav"), "-r", "8000", "-t", "0"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_NE(r.err.find("virel-host: warning: '" + midiFile("midly-PiDamaged.mid") +
						 "': track 3 is cut off; playing what comes before the cut\n"),
		std::string::npos)
		<< r.err;
	EXPECT_GT(readWav(path("pi.wav")).peak(), 0.05f);
}

// The validator passes the test instrument, and catches each fault built into it with the check meant for it.
TEST_F(HostTest, ValidatorCatchesEachBrokenUnitWithTheCheckMeantForIt)
{
	HostRun r = host({"validate", "--strictness", "10", "--seed", "5"});
	EXPECT_EQ(r.exitCode, 0) << r.out;
	EXPECT_NE(r.out.find("\nvalidate: 18 passed, 0 failed, 1 skipped\n"), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("\nPASS  9  render allocation        none outside note-on blocks"), std::string::npos) << r.out;

	const struct
	{
		const char* fault;
		const char* failure;
	} faults[] = {
		{"parameter-not-restored", "\nFAIL  4  state                    parameter 1 was "},
		{"render-allocates", "\nFAIL  9  render allocation        "},
		{"nan-output", "\nFAIL  5  audio                    at 44100 Hz in blocks of 64: sample 0 is not a number"},
		{"state-changes", "\nFAIL  4  state                    a second save differs from the first"},
		{"midi-before-initialisation", "\nFAIL  5  midi                     a note-on before initialisation returned 0 rather than -10867"},
		{"preset-beyond-range", "\nFAIL  3  presets                  parameter 1 reads 1.500000 after selecting preset "},
	};
	for (const auto& f : faults)
	{
		r = host({"validate", "--strictness", "10", "--seed", "5"}, true, std::string("VIREL_TEST_INSTRUMENT_FAULT=") + f.fault);
		EXPECT_EQ(r.exitCode, 1) << f.fault;
		EXPECT_NE(r.out.find(f.failure), std::string::npos) << f.fault << "\n" << r.out;
	}

	r = host({"validate", "--strictness", "1", "--sample-rates", "48000", "--block-sizes", "7,64"});
	EXPECT_EQ(r.exitCode, 0);
	EXPECT_TRUE(std::regex_search(r.out, std::regex("with seed [0-9]+\n")));
	EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4) << "a header, the two quickest checks and the summary";
	r = host({"validate", "--strictness", "11"});
	EXPECT_EQ(r.exitCode, 2);
	r = host({"validate", "--block-sizes", "64,x"});
	EXPECT_EQ(r.exitCode, 2);
}

// The instrument itself logs dozens of lines a render; the terminal keeps only the host's, unless asked.
TEST_F(HostTest, ThePlugInsLogIsShownOnlyWhenAskedForOrWhenItExplainsAFailure)
{
	REQUIRE_TESTDATA();
	const std::vector<std::string> render = {"render", "-m", midiFile("jazzsoft-test-c-major-scale.mid"), "-o", path("s.wav"),
		"-t", "0", "-r", "8000", "--plugin", VIREL_COMPONENT_BUNDLE};
	auto with = [&](std::vector<std::string> more) {
		more.insert(more.begin(), render.begin(), render.end());
		return host(more, false);
	};
	const char* const constructed = "AudioUnit constructed\n";
	HostRun r = with({"--state-out", path("p.aupreset")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;

	r = with({"--verbose"});
	EXPECT_NE(r.err.find(constructed), std::string::npos) << r.err;
	EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
	r = with({"--log", path("log.txt")});
	EXPECT_EQ(r.err, "");
	const std::string log = slurp(path("log.txt"));
	EXPECT_NE(log.find(constructed), std::string::npos) << log;
	r = with({"--log", path("both.txt"), "--verbose"});
	EXPECT_EQ(slurp(path("both.txt")), r.err);

	// A refused state: the host's line, then the instrument's reason, and nothing of its closing after that.
	std::string state = slurp(path("p.aupreset"));
	state.replace(state.find("vRel_chunk"), 10, "vRel_other");
	std::ofstream(path("damaged.aupreset")) << state;
	r = with({"--state-in", path("damaged.aupreset")});
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_EQ(r.err.rfind("virel-host: the plug-in refused the state in '" + path("damaged.aupreset") + "' (status -10851)\n", 0),
		0u) << r.err;
	EXPECT_NE(r.err.find("\n  plug-in: copyEngineState@"), std::string::npos) << r.err;
	EXPECT_NE(r.err.find("AU: RestoreState refused: "), std::string::npos) << r.err;
	EXPECT_EQ(r.err.find("AudioUnit being destroyed"), std::string::npos) << r.err;
}

// Every output against every input, spelt another way each time, and two outputs that are one file: refused before
// the plug-in is loaded, the inputs untouched and no output made.
TEST_F(HostTest, AnOutputThatIsAnInputOrAnotherOutputIsRefusedWithNothingChanged)
{
	ASSERT_EQ(host({"render", "-o", path("a.wav"), "-t", "0", "--state-out", path("p.aupreset")}).exitCode, 0);
	std::ofstream(path("in.syx"), std::ios::binary) << std::string("\xF0\x7D\x01\xF7", 4);
	fs::copy_file(path("a.wav"), path("song.mid"));
	fs::create_symlink(path("song.mid"), path("link.mid"));
	fs::create_hard_link(path("in.syx"), path("hard.syx"));
	const std::map<std::string, std::string> before = {
		{"song.mid", slurp(path("song.mid"))}, {"in.syx", slurp(path("in.syx"))}, {"p.aupreset", slurp(path("p.aupreset"))}};

	const std::string spelt = (m_dir / ".." / m_dir.filename()).string() + "/";
	const std::vector<std::pair<std::string, std::string>> inputs = {
		{"--midi", path("link.mid")}, {"--sysex", path("hard.syx")}, {"--state-in", path("p.aupreset")}};
	const std::map<std::string, std::string> sameFile = {
		{"--midi", path("song.mid")}, {"--sysex", path("in.syx")}, {"--state-in", spelt + "p.aupreset"}};
	for (const auto& [input, file] : inputs)
		for (const char* output : {"--output", "--state-out", "--midi-out"})
		{
			if (input == "--state-in" && output == std::string("--state-out"))
				continue; // a state saved back over itself
			const HostRun r = host({"render", input, file, output, sameFile.at(input), "--log", path("new.txt")});
			EXPECT_EQ(r.exitCode, 2) << input << " " << output << "\n" << r.err;
			EXPECT_EQ(r.err, "virel-host: " + std::string(output) + " '" + sameFile.at(input) + "' is the same file as " +
								 input + " '" + file + "': an output must not replace an input (see --help)\n");
		}
	HostRun r = host({"render", "-o", path("x.wav"), "--state-out", path("x.wav")});
	EXPECT_EQ(r.exitCode, 2);
	EXPECT_NE(r.err.find("are the same file: each output needs one of its own"), std::string::npos) << r.err;
	r = host({"render", "-m", path("song.mid"), "-o", path("x.wav"), "--log", path("link.mid")});
	EXPECT_EQ(r.exitCode, 2);

	for (const auto& [name, bytes] : before)
		EXPECT_EQ(slurp(path(name)), bytes) << name;
	EXPECT_FALSE(fs::exists(path("new.txt")));
	EXPECT_FALSE(fs::exists(path("x.wav")));
	// Devices lose nothing: one named twice is no collision.
	r = host({"render", "-t", "0", "-o", "/dev/null", "--state-out", "/dev/null", "--midi-out", "/dev/null"});
	EXPECT_EQ(r.exitCode, 0) << r.err;
}

// Links lead where the system takes them; a write never replaces the link itself.
TEST_F(HostTest, AnOutputGoesWhereItsLinkLeadsAndNeverToStandardOutput)
{
	fs::create_symlink("/proc/self/fd/1", path("out.wav"));
	fs::create_symlink(path("missing/x.wav"), path("nowhere.wav"));
	fs::create_symlink("new.wav", path("ahead.wav"));
	// Standard output closed: the host's own files must not take its number.
	const std::string closed = "sh -c 'exec \"$0\" \"$@\" >&-'";
	for (const std::vector<std::string>& log : {std::vector<std::string>{"--log", path("log.txt")}, {"--verbose"}, {}})
	{
		std::vector<std::string> args = {"render", "-t", "0", "-r", "8000", "-o", path("out.wav")};
		args.insert(args.end(), log.begin(), log.end());
		const HostRun r = host(args, true, closed);
		EXPECT_EQ(r.exitCode, 2) << r.err;
		EXPECT_NE(r.err.find("'" + path("out.wav") + "' is standard output"), std::string::npos) << r.err;
	}
	HostRun r = host({"render", "-t", "0", "-r", "8000", "-o", path("nowhere.wav")});
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_EQ(r.err, "virel-host: cannot write the WAV file '" + path("nowhere.wav") + "': No such file or directory\n");
	r = host({"render", "-t", "0", "-r", "8000", "-o", path("ahead.wav")});
	EXPECT_EQ(r.exitCode, 0) << r.err;
	EXPECT_GT(readWav(path("new.wav")).peak(), 0.05f);
	for (const char* link : {"out.wav", "nowhere.wav", "ahead.wav"})
		EXPECT_TRUE(fs::is_symlink(path(link))) << link;
	EXPECT_FALSE(fs::exists(path("log.txt")));
}

// Load a preset, change it, save it back: the everyday edit, under names as long as the file system allows.
TEST_F(HostTest, AStateIsSavedBackOverItselfUnderTheLongestName)
{
	const std::string state = path(std::string(246, 'p') + ".aupreset"), wav = path(std::string(251, 'w') + ".wav");
	std::ofstream(path("empty.mid"), std::ios::binary) << std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26);
	const std::vector<std::string> render = {"render", "-m", path("empty.mid"), "-t", "0.1", "-o", wav};
	std::vector<std::string> args = render;
	args.insert(args.end(), {"--state-out", state});
	ASSERT_EQ(host(args).exitCode, 0);
	const std::string before = slurp(state);
	args = render;
	args.insert(args.end(), {"--state-in", state, "--param", "Gain=0.25", "--state-out", state});
	const HostRun r = host(args);
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_NE(slurp(state), before);
	EXPECT_NE(host({"info", "--state-in", state}).out.find("now 0.25 = 25%"), std::string::npos);
	EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 5)
		<< "the MIDI file, the WAV, the state, stdout and stderr; no temporary file";
}

// Past a file-size limit of 40 KiB the new state (about 94 KB) and WAV cannot be written whole.
TEST_F(HostTest, AFailingWriteKeepsTheOldFileAndLeavesNothingBehind)
{
	const std::vector<std::string> render = {"render", "-t", "1", "-o", path("a.wav"), "--state-out", path("p.aupreset"),
		"--plugin", VIREL_COMPONENT_BUNDLE};
	ASSERT_EQ(host(render, false).exitCode, 0);
	const std::string wav = slurp(path("a.wav")), state = slurp(path("p.aupreset"));
	std::vector<std::string> other = render;
	other.insert(other.end(), {"--preset", "5"});
	const std::string limit = "ulimit -f 80;"; // blocks of 512 bytes in the shell that runs it, or of 1024
	const std::string replaced = "virel-host: warning: the built-in demo changes program at 0 s, replacing what --preset set\n";
	HostRun r = host(other, false, limit);
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_EQ(r.err, replaced + "virel-host: cannot write the WAV file '" + path("a.wav") + "': File too large\n");
	other[4] = "/dev/null";
	r = host(other, false, limit);
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_EQ(r.err, replaced + "virel-host: cannot write the state file '" + path("p.aupreset") + "': File too large\n");
	EXPECT_EQ(slurp(path("a.wav")), wav);
	EXPECT_EQ(slurp(path("p.aupreset")), state);
	EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 4) << "a.wav, p.aupreset, stdout, stderr";
}

// Damage passed over and values brought into range are said, a line each.
TEST_F(HostTest, DamageTheHostPassesOverAndValuesItChangesAreWarnedAbout)
{
	// 96 ticks per quarter note: a tempo of 0 at the start, then A2 from tick 96 to 192, 0.5 s to 1 s at the tempo
	// that stands.
	const unsigned char smf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 19, 0x00,
		0xFF, 0x51, 0x03, 0, 0, 0, 0x60, 0x90, 45, 100, 0x60, 0x80, 45, 0, 0x00, 0xFF, 0x2F, 0x00};
	std::ofstream(path("t0.mid"), std::ios::binary).write(reinterpret_cast<const char*>(smf), sizeof smf);
	HostRun r = host({"render", "-m", path("t0.mid"), "-o", path("t0.wav"), "-t", "0.1"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.err, "virel-host: warning: '" + path("t0.mid") +
						 "': track 1 sets a tempo of 0 microseconds per quarter note; the tempo before it is kept\n");
	EXPECT_EQ(readWav(path("t0.wav")).samples.size(), 2u * 48510u);

	// The whole messages are sent; one cut by the next and one cut by the end of the file are not.
	std::ofstream(path("cut.syx"), std::ios::binary) << std::string("\xF0\x7D\x01\xF7\xF0\x7D\x02\xF0\x7D\x05\xF7\xF0\x7D", 13);
	r = host({"render", "-o", path("s.wav"), "-t", "0", "--sysex", path("cut.syx"), "--midi-out", path("out.syx")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(slurp(path("out.syx")), std::string("\xF0\x7D\x01\xF7\xF0\x7D\x05\xF7", 8));
	EXPECT_EQ(r.err, "virel-host: warning: '" + path("cut.syx") +
						 "': the SysEx message at byte 4 has no end (F7) before the next message; it was not sent\n"
						 "virel-host: warning: '" +
						 path("cut.syx") + "': the SysEx message at byte 11 has no end (F7) before the file ends; it was not sent\n");

	r = host({"info", "--param", "Gain=1.5", "--param", "1=-0.25"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.err, "virel-host: warning: parameter 'Gain' takes values from 0 to 1; 1.5 was brought to 1\n"
					 "virel-host: warning: parameter 'Tone' takes values from 0 to 1; -0.25 was brought to 0\n");
	EXPECT_NE(r.out.find("Gain                         0 .. 1, default 0.5, now 1 "), std::string::npos) << r.out;

	r = host({"render", "-t", "0", "-r", "8000", "-o", path("d.wav"), "--preset", "Loud"});
	EXPECT_EQ(r.err, "virel-host: warning: the built-in demo changes program at 0 s, replacing what --preset set\n");
}

// The instrument tells of damaged SysEx only in its log: the host names the message it refused, with the lines.
TEST_F(HostTest, SysExThePlugInRefusesIsWarnedAboutWithItsLines)
{
	const std::vector<std::string> render = {"render", "-q", "-r", "8000", "-o", path("s.wav"), "--plugin", VIREL_COMPONENT_BUNDLE};
	auto with = [&](std::vector<std::string> more, const std::string& environment = "") {
		more.insert(more.begin(), render.begin(), render.end());
		return host(more, false, environment);
	};
	// Single 5 as the instrument dumps it when asked; taken back without a word while the demo switches programs.
	std::ofstream(path("ask.syx"), std::ios::binary) << std::string("\xF0\x40\x00\x00\x00\x03\x00\x05\xF7", 9);
	ASSERT_EQ(with({"--sysex", path("ask.syx"), "--midi-out", path("dump.syx")}).exitCode, 0);
	std::string dump = slurp(path("dump.syx"));
	ASSERT_EQ(dump.size(), 97u);
	// A GS reset and a message for another machine of the same maker are meant for other devices: nothing to tell.
	std::ofstream(path("mixed.syx"), std::ios::binary)
		<< std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7\xF0\x40\x00\x10\x00\x04\x19\x00\x01\xF7", 21) + dump;
	HostRun r = with({"--sysex", path("mixed.syx")});
	EXPECT_EQ(r.err, "");
	// A file named for this instrument that holds nothing for it is told, though.
	std::ofstream(path("foreign.syx"), std::ios::binary) << slurp(path("mixed.syx")).substr(0, 21);
	r = with({"--sysex", path("foreign.syx")});
	EXPECT_EQ(r.err, "virel-host: warning: '" + path("foreign.syx") + "' holds nothing for this instrument: the plug-in "
					 "passed over all 2 of its SysEx messages as meant for another device\n");

	dump[95] ^= 1; // the checksum
	std::ofstream(path("bad.syx"), std::ios::binary) << dump;
	r = with({"--sysex", path("bad.syx")});
	EXPECT_EQ(r.exitCode, 0);
	EXPECT_TRUE(std::regex_match(r.err, std::regex("virel-host: warning: the plug-in refused all or part of the SysEx message at "
												   "byte 0 of '.*/bad\\.syx'\n  plug-in: readSingle@[0-9]+: Invalid checksum, "
												   "expected [0-9]+ but got [0-9]+\n")))
		<< r.err;

	// The host sees the plug-in's lines whatever the log's file is; a log it cannot write is told.
	ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
	for (const auto& [log, environment] : {std::pair<std::string, std::string>{"/dev/null", ""},
			 {path("fifo"), "cat '" + path("fifo") + "' >/dev/null &"}, {"/dev/full", ""}})
	{
		r = with({"--sysex", path("bad.syx"), "--log", log}, environment);
		EXPECT_EQ(r.exitCode, 0);
		EXPECT_NE(r.err.find("\n  plug-in: readSingle@"), std::string::npos) << log << "\n" << r.err;
	}
	EXPECT_NE(r.err.find("\nvirel-host: warning: cannot write the log file '/dev/full': No space left on device"),
		std::string::npos) << r.err;

	// A warning to a reader that has gone stops the host, and takes the half-written WAV with it.
	std::vector<std::string> args = render;
	args.insert(args.end(), {"--sysex", path("bad.syx")});
	host(args, false, "sh -c '\"$0\" \"$@\" 2>&1 | true'");
	for (const auto& entry : fs::directory_iterator(m_dir))
		EXPECT_NE(entry.path().filename().string().rfind(".virel-host-", 0), 0u) << entry.path();

	// The same dump at 0.5 s of a MIDI file: 96 ticks a quarter note at 120 beats per minute.
	const std::string track = std::string("\x60\xF0\x60", 3) + dump.substr(1) + std::string("\0\xFF\x2F\0", 4);
	std::ofstream(path("bad.mid"), std::ios::binary)
		<< std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0", 21) << char(track.size()) << track;
	r = with({"-m", path("bad.mid"), "-t", "0.1"});
	EXPECT_EQ(r.exitCode, 0);
	EXPECT_NE(r.err.find("the SysEx message at 0.5 s of '" + path("bad.mid") + "'\n  plug-in: readSingle@"), std::string::npos)
		<< r.err;
}

// A SysEx edit of source 1's wave while the host's values glide leaves them where the host sent them.
TEST_F(HostTest, ASysExEditKeepsTheValuesTheHostSet)
{
	std::ofstream(path("wave.syx"), std::ios::binary) << std::string("\xF0\x40\x00\x10\x00\x03\x23\x00\x05\xF7", 10);
	std::ofstream(path("empty.mid"), std::ios::binary) << std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26);
	ASSERT_EQ(host({"render", "-q", "-t", "0.2", "-o", path("x.wav"), "-m", path("empty.mid"), "--preset", "0", "--param",
		"CommonVolume=0.41", "--param", "S1Fine=0.7", "--sysex", path("wave.syx"), "--state-out", path("s.aupreset"),
		"--plugin", VIREL_COMPONENT_BUNDLE}, false).exitCode, 0);
	const std::string info = host({"info", "--state-in", path("s.aupreset"), "--plugin", VIREL_COMPONENT_BUNDLE}, false).out;
	for (const char* shown : {" CommonVolume .* = 42\n", " S1Fine .* = \\+20\n", " S1Wave .* = 006: Sin 6th\n"})
		EXPECT_TRUE(std::regex_search(info, std::regex(shown))) << shown << info;
}
