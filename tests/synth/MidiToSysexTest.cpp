#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "LogCapture.h"
#include "synth/MidiToSysex.h"

using namespace zentlib;

namespace
{
using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

const Bytes kHeader{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60};
const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

Bytes track(const Bytes& events)
{
	const size_t n = events.size();
	Bytes t{'M', 'T', 'r', 'k', uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
	t.insert(t.end(), events.begin(), events.end());
	return t;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
	Bytes all;
	for (const Bytes& p : parts)
		all.insert(all.end(), p.begin(), p.end());
	return all;
}

// A SysEx event with delta time 0 and a one-byte length.
Bytes sysexEvent(const Bytes& data)
{
	Bytes e{0x00, 0xF0, uint8_t(data.size())};
	e.insert(e.end(), data.begin(), data.end());
	return e;
}

// F0 followed by the event data, as the reader hands it out.
Bytes extracted(const Bytes& data)
{
	return concat({{0xF0}, data});
}

class TempFile
{
public:
	explicit TempFile(const Bytes& bytes)
	{
		static int counter = 0;
		m_path = std::filesystem::temp_directory_path() /
		         ("virel-midi-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".mid");
		std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
	}
	~TempFile() { std::filesystem::remove(m_path); }
	const char* path() const { return m_path.c_str(); }

private:
	std::filesystem::path m_path;
};

struct Read
{
	bool ok;
	Bytes out;
	Texts log;
};

Read readMidi(const Bytes& file, Bytes out = {})
{
	TempFile temp(file);
	LogCapture log;
	const bool ok = MidiToSysex::readFile(out, temp.path());
	return {ok, out, log.texts()};
}

const Bytes kFirst{0x40, 0x00, 0x60, 0xF7};
const Bytes kSecond{0x40, 0x01, 0x00, 0x00, 0x03, 0x00, 0x05, 0xF7};
}

TEST(MidiToSysex, ExtractsSysexEventsInFileOrder)
{
	const Bytes name{0x00, 0xFF, 0x03, 0x04, 'B', 'a', 's', 's'};
	const Read r = readMidi(concat({kHeader, track(concat({name, sysexEvent(kFirst), sysexEvent(kSecond), kEndOfTrack}))}));
	EXPECT_TRUE(r.ok);
	EXPECT_EQ(r.out, concat({extracted(kFirst), extracted(kSecond)}));
	EXPECT_TRUE(r.log.empty());

	// The output is appended to, never cleared.
	const Read appended = readMidi(concat({kHeader, track(concat({sysexEvent(kFirst), kEndOfTrack}))}), {0x11});
	EXPECT_EQ(appended.out, concat({{0x11}, extracted(kFirst)}));
}

TEST(MidiToSysex, RefusesWhatIsNotAMidiFile)
{
	const Read riff = readMidi({'R', 'I', 'F', 'F', 0, 0, 0, 4, 'R', 'M', 'I', 'D'}, {0x11});
	EXPECT_FALSE(riff.ok);
	EXPECT_EQ(riff.out, Bytes{0x11});
	EXPECT_TRUE(riff.log.empty());

	EXPECT_FALSE(readMidi({}).ok);
	EXPECT_FALSE(readMidi({'M', 'T', 'h'}).ok);

	Bytes out;
	LogCapture log;
	EXPECT_FALSE(MidiToSysex::readFile(out, "/nonexistent/folder/file.mid"));
	EXPECT_EQ(log.texts(), Texts{"Failed to open file /nonexistent/folder/file.mid"});
}

TEST(MidiToSysex, EndsCleanlyBetweenChunksAndAfterEndOfTrack)
{
	// Only a header, a header cut short of its length, and a track with nothing but its end.
	EXPECT_TRUE(readMidi(kHeader).ok);
	EXPECT_TRUE(readMidi(Bytes(kHeader.begin(), kHeader.begin() + 10)).ok);
	const Read empty = readMidi(concat({kHeader, track(kEndOfTrack)}));
	EXPECT_TRUE(empty.ok);
	EXPECT_TRUE(empty.out.empty());

	// A partial chunk id after the last track, and an end-of-track whose length byte is missing.
	EXPECT_TRUE(readMidi(concat({kHeader, track(kEndOfTrack), {'M', 'T'}})).ok);
	const Bytes cutEnd = concat({kHeader, track(concat({sysexEvent(kFirst), {0x00, 0xFF, 0x2F}}))});
	const Read r = readMidi(cutEnd);
	EXPECT_TRUE(r.ok);
	EXPECT_EQ(r.out, extracted(kFirst));
	EXPECT_TRUE(r.log.empty());
}

TEST(MidiToSysex, SkipsMetaEventsOtherChunksAndStrayBytes)
{
	Bytes text{0x00, 0xFF, 0x01, 0x81, 0x48};
	text.insert(text.end(), 200, 'x');
	const Bytes noteOn{0x00, 0x90, 0x3C, 0x64};
	const Bytes junk{'J', 'u', 'n', 'k', 0, 0, 0, 3, 0xF0, 0xFF, 0x2F};
	const Bytes file = concat({kHeader, junk, track(concat({text, sysexEvent(kFirst), kEndOfTrack})), junk,
	                           track(concat({sysexEvent(kFirst), noteOn, sysexEvent(kSecond), kEndOfTrack}))});
	const Read r = readMidi(file);
	EXPECT_TRUE(r.ok);
	EXPECT_EQ(r.out, concat({extracted(kFirst), extracted(kFirst), extracted(kSecond)}));

	const Read empty = readMidi(concat({kHeader, track(concat({{0x00, 0xF0, 0x00}, kEndOfTrack}))}));
	EXPECT_TRUE(empty.ok);
	EXPECT_EQ(empty.out, Bytes{0xF0});
}

TEST(MidiToSysex, FileEndingInsideATrackFails)
{
	const Texts failure{"Failed to read variable length variable"};
	const Bytes before = concat({kHeader, {'M', 'T', 'r', 'k', 0, 0, 1, 0}, sysexEvent(kFirst)});

	// Inside a delta time, where a status should be, inside a meta type or length, inside a
	// SysEx length.
	for (const Bytes& tail : {Bytes{}, Bytes{0x81}, Bytes{0x00}, Bytes{0x00, 0xFF}, Bytes{0x00, 0xFF, 0x01, 0x81},
	                          Bytes{0x00, 0xF0}, Bytes{0x00, 0xF0, 0x82}})
	{
		const Read r = readMidi(concat({before, tail}));
		EXPECT_FALSE(r.ok);
		EXPECT_EQ(r.out, extracted(kFirst));
		EXPECT_EQ(r.log, failure);
	}

	// Inside meta data.
	const Read meta = readMidi(concat({before, {0x00, 0xFF, 0x01, 0x05, 'a', 'b'}}));
	EXPECT_FALSE(meta.ok);
	EXPECT_EQ(meta.log, failure);

	// Inside SysEx data: what is there, then zeros up to the declared length.
	const Read cut = readMidi(concat({before, {0x00, 0xF0, 0x0A, 0x40, 0x00, 0x60}}));
	EXPECT_FALSE(cut.ok);
	EXPECT_EQ(cut.out, concat({extracted(kFirst), {0xF0, 0x40, 0x00, 0x60, 0, 0, 0, 0, 0, 0, 0}}));
	EXPECT_EQ(cut.log, failure);
}

TEST(MidiToSysex, CutDumpsArePaddedToTheirLengthWithinABound)
{
	const Bytes before = concat({kHeader, {'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xFF}});
	const Bytes data{0x01, 0x02, 0x03};

	// A one-single dump cut short in a file smaller than the dump itself still comes out whole.
	const Read dump = readMidi(concat({before, {0x00, 0xF0, 0x60}, data}));
	EXPECT_FALSE(dump.ok);
	ASSERT_EQ(dump.out.size(), 1u + 0x60);
	EXPECT_EQ(Bytes(dump.out.begin(), dump.out.begin() + 4), concat({{0xF0}, data}));
	EXPECT_EQ(Bytes(dump.out.begin() + 4, dump.out.end()), Bytes(0x60 - data.size(), 0));

	// A length no file of this size could hold is not padded out to hundreds of megabytes.
	const Bytes sysex = concat({before, {0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F}, data});
	const Read r = readMidi(sysex);
	EXPECT_FALSE(r.ok);
	ASSERT_EQ(r.out.size(), 1u + (1u << 20));
	EXPECT_EQ(Bytes(r.out.begin(), r.out.begin() + 4), concat({{0xF0}, data}));
	EXPECT_EQ(r.out.back(), 0);

	// A length run far past 64 bits neither wraps to a negative skip nor loops.
	Bytes longRun{0x00, 0xFF, 0x01};
	longRun.insert(longRun.end(), 40, 0xFF);
	longRun.push_back(0x7F);
	const Read meta = readMidi(concat({before, longRun, sysexEvent(kFirst), kEndOfTrack}));
	EXPECT_FALSE(meta.ok);
	EXPECT_TRUE(meta.out.empty());
}

TEST(MidiToSysex, VariableLengthQuantities)
{
	struct Case
	{
		Bytes bytes;
		int64_t value;
		int count;
	};
	const Case cases[] = {
	    {{0x00}, 0, 1},
	    {{0x7F, 0x55}, 0x7F, 1},
	    {{0x81, 0x48}, 200, 2},
	    {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4},
	    {{0x81, 0x80, 0x80, 0x80, 0x00}, int64_t(1) << 28, 5},
	    {{}, -1, 0},
	    {{0x81}, -1, 0},
	    {{0xFF, 0xFF}, -1, 0},
	};
	for (const Case& c : cases)
	{
		TempFile temp(c.bytes);
		std::FILE* f = std::fopen(temp.path(), "rb");
		ASSERT_NE(f, nullptr);
		int count = 99;
		EXPECT_EQ(MidiToSysex::readVarLen(f, &count), c.value);
		EXPECT_EQ(count, c.count);
		std::fclose(f);
	}
}

TEST(MidiToSysex, ChunkHelpers)
{
	TempFile temp({'M', 'T', 'r', 'k', 0x01, 0x02, 0x03, 0x04, 0, 0, 0, 2, 'a', 'b', 'c', 0, 0});
	std::FILE* f = std::fopen(temp.path(), "rb");
	ASSERT_NE(f, nullptr);
	EXPECT_TRUE(MidiToSysex::checkChunk(f, "MTrk"));
	EXPECT_EQ(MidiToSysex::getChunkLength(f), 0x01020304);
	EXPECT_TRUE(MidiToSysex::ignoreChunk(f)) << "skips 'ab', 'c' follows";
	EXPECT_FALSE(MidiToSysex::checkChunk(f, "cxyz"));
	EXPECT_EQ(MidiToSysex::getChunkLength(f), -1);
	EXPECT_FALSE(MidiToSysex::ignoreChunk(f));
	std::fclose(f);
}
