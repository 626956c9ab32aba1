#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "TestData.h"
#include "synth/MidiToSysex.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

size_t countStarts(const Bytes& bytes)
{
	return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), uint8_t(0xF0)));
}

// Every message runs from F0 to F7 with only data bytes between.
bool wellFormedMessages(const Bytes& bytes)
{
	bool inside = false;
	for (uint8_t b : bytes)
	{
		if (b == 0xF0 && !inside)
			inside = true;
		else if (b == 0xF7 && inside)
			inside = false;
		else if (!inside || b >= 0x80)
			return false;
	}
	return !inside;
}

struct MidiOutcome
{
	bool walked = true; // the result of the reader
	size_t messages = 0;
	size_t bytes = 0;
	bool failureLogged = false;
};
}

// Files from other instruments: every message in them is turned away at the manufacturer byte.
TEST(RealFiles, ForeignSyxFilesAreRefusedAtTheManufacturer)
{
	REQUIRE_TESTDATA();
	const auto files = testdata::files("syx", ".syx");
	ASSERT_FALSE(files.empty());
	for (const auto& path : files)
	{
		SCOPED_TRACE(path.filename().string());
		const Bytes expected = testdata::readBytes(path);
		Bytes raw;
		ASSERT_TRUE(Sysex::readFile(raw, path.string()));
		EXPECT_EQ(raw, expected);

		Sysex::SysexResult result;
		LogCapture log;
		EXPECT_FALSE(Sysex::readFile(result, path.string(), 255));
		EXPECT_EQ(log.texts(), Texts(countStarts(expected), "Sysex from wrong manufacturer"));
		EXPECT_TRUE(result.singles.empty() && result.multis.empty() && result.singleRequests.empty() &&
		            result.multiRequests.empty() && result.parameterChanges.empty());
		EXPECT_FALSE(result.machineIdRequest);
	}
}

TEST(RealFiles, RawFileReaderFailures)
{
	REQUIRE_TESTDATA();
	Bytes out{1};
	LogCapture log;
	EXPECT_FALSE(Sysex::readFile(out, "/nonexistent/bank.syx"));
	// A folder opens on some systems but has no bytes to give.
	const std::string folder = (testdata::root() / "syx").string();
	EXPECT_FALSE(Sysex::readFile(out, folder));
	EXPECT_EQ(out, Bytes{1});
	Sysex::SysexResult result;
	EXPECT_FALSE(Sysex::readFile(result, "/nonexistent/bank.syx", 255));
	EXPECT_EQ(log.texts(), (Texts{"Failed to open file /nonexistent/bank.syx", "Failed to read file " + folder,
	                              "Failed to open file /nonexistent/bank.syx"}));
}

// What the walk gives for each file. Channel messages are stepped over byte by byte, so files that
// use them do not always come out as a full MIDI parser would see them: one setup event of the
// Dixie file is swallowed after a program change, and the b4uacuse file yields a stray F0.
TEST(RealFiles, MidiFilesYieldTheirSysexEvents)
{
	REQUIRE_TESTDATA();
	const std::map<std::string, MidiOutcome> expected = {
	    {"drywetmidi-7thsynth.mid", {true, 1, 92}},
	    {"drywetmidi-SailAway.mid", {false, 0, 0}},
	    {"drywetmidi-dixie-nw.mid", {false, 0, 0, true}},
	    {"jazzsoft-test-all-gs-sounds.mid", {true, 1, 11}},
	    {"jazzsoft-test-karaoke-kar.mid", {false, 0, 0, true}},
	    {"jazzsoft-test-not-a-midi-file.mid", {false, 0, 0}},
	    {"jazzsoft-test-running-status-metaevent.mid", {false, 0, 0, true}},
	    {"jazzsoft-test-sysex-7e-06-01-id-request.mid", {true, 1, 6}},
	    {"jazzsoft-test-sysex-7f-04-04-master-coarse-tuning.mid", {true, 10, 78}},
	    {"jazzsoft-test-sysex-7x-08-0x-scale-tuning.mid", {true, 8, 216}},
	    {"jazzsoft-test-sysex-gs-40-1x-15-drum-part-change.mid", {true, 3, 33}},
	    {"jazzsoft-test-xg-doggy-7e-00-00-54.mid", {true, 1, 9}},
	    {"knobkraft-FS1R-CYBER.mid", {true, 256, 131840}},
	    {"midicvt-Dixie031.mid", {true, 114, 1047}},
	    {"midicvt-b4uacuse-non-mtrk.mid", {true, 1, 1}},
	    {"midly-Beethoven.rmi", {false, 0, 0}},
	    {"midly-PiDamaged.mid", {false, 0, 0, true}},
	    {"nfroidure-MIDIBadHeaderChunk.mid", {false, 0, 0}},
	};

	auto files = testdata::files("midi", ".mid");
	const auto riff = testdata::files("midi", ".rmi");
	files.insert(files.end(), riff.begin(), riff.end());
	ASSERT_GE(files.size(), 44u);

	size_t listedSeen = 0;
	for (const auto& path : files)
	{
		const std::string name = path.filename().string();
		SCOPED_TRACE(name);
		const auto it = expected.find(name);
		const MidiOutcome want = it == expected.end() ? MidiOutcome{} : it->second;
		listedSeen += it != expected.end();

		Bytes out;
		LogCapture log;
		const bool walked = MidiToSysex::readFile(out, path.c_str());
		EXPECT_EQ(walked, want.walked);
		EXPECT_EQ(countStarts(out), want.messages);
		EXPECT_EQ(out.size(), want.bytes);
		EXPECT_EQ(log.texts(), want.failureLogged ? Texts{"Failed to read variable length variable"} : Texts{});

		if (want.messages > 0 && name != "midicvt-b4uacuse-non-mtrk.mid")
		{
			EXPECT_TRUE(wellFormedMessages(out));
			// None of them is ours: each is turned away at the manufacturer byte.
			Sysex::SysexResult result;
			LogCapture readLog;
			EXPECT_FALSE(Sysex::readBuffer(result, out, 255));
			EXPECT_EQ(readLog.texts(), Texts(want.messages, "Sysex from wrong manufacturer"));
		}
	}
	EXPECT_EQ(listedSeen, expected.size());
}

TEST(RealFiles, MidiExtractionKeepsTheEventBytes)
{
	REQUIRE_TESTDATA();
	const auto path = testdata::root() / "midi" / "jazzsoft-test-sysex-7e-06-01-id-request.mid";
	Bytes out;
	ASSERT_TRUE(MidiToSysex::readFile(out, path.c_str()));
	EXPECT_EQ(out, (Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));

	const auto gs = testdata::root() / "midi" / "jazzsoft-test-sysex-gs-40-1x-15-drum-part-change.mid";
	Bytes gsOut;
	ASSERT_TRUE(MidiToSysex::readFile(gsOut, gs.c_str()));
	// A GS reset (41 10 42 12 40 00 7F 00 41) comes first.
	EXPECT_EQ(Bytes(gsOut.begin(), gsOut.begin() + 11),
	          (Bytes{0xF0, 0x41, 0x7F, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}));
}
