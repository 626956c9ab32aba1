// The reading side of the browser's imports: a file is looked at before it is read, and its dumps give
// their singles whole or not at all.
#include "SinglesImport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "synth/MidiToSysex.h"
#include "synth/Sysex.h"

namespace
{
constexpr uint8_t kAnyChannel = 255;
constexpr uint8_t kSysexStart = 0xF0;

// All 768 singles of the instrument as dumps, with the multis, take about 100 KB, in a MIDI file a little
// more; a file many times that size was chosen by mistake and is not read at all.
constexpr std::uintmax_t kLargestImport = 16 * 1024 * 1024;

// A regular file of a sensible size whose first bytes start a SysEx message or a Standard MIDI File.
bool mayHoldDumps(const std::string& path)
{
	std::error_code error;
	if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kLargestImport ||
	    error)
		return false;
	std::FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
		return false;
	char start[4] = {};
	const size_t read = std::fread(start, 1, sizeof start, file);
	std::fclose(file);
	return (read >= 1 && static_cast<uint8_t>(start[0]) == kSysexStart) ||
	       (read == sizeof start && std::memcmp(start, "MThd", sizeof start) == 0);
}

// Whether a whole message may stand in a file that is imported. Any other device's message may, as long as it
// is well formed; one of this instrument's must have the exact length of its kind, and one the reader takes
// must have been read in full: a dump that lost records, or a header too short to tell what it is, may not.
bool mayStandInImport(const uint8_t* message, size_t length, bool read)
{
	if (length < 3 || std::any_of(message + 1, message + length - 1, [](uint8_t b) { return b >= 0x80; }))
		return false;
	if (message[1] != 0x40)
		return true;
	const uint8_t function = length > 3 ? message[3] : 0;
	if (function == 0x60)
		return length == zentlib::Sysex::messageLength(function, 0) && read;
	if (length < 7)
		return false;
	if (message[4] != 0x00 || message[5] != 0x03)
		return true; // another machine of the same maker
	const bool readerTakes = function == 0x00 || function == 0x10 || function == 0x20 || function == 0x21;
	return length == zentlib::Sysex::messageLength(function, length > 7 ? message[7] : 0) && (read || !readerTakes);
}
}

bool readFile(std::vector<uint8_t>& out, const std::string& path)
{
	out.clear();
	if (!mayHoldDumps(path))
		return false;
	zentlib::MidiToSysex::readFile(out, path.c_str());
	if (!out.empty())
		return true;
	if (!zentlib::Sysex::readFile(out, path) || out.empty())
		return false;
	return out.front() == kSysexStart;
}

std::vector<zentlib::SinglePreset> readDumpedSingles(const std::vector<uint8_t>& bytes, std::string& failure)
{
	// Message by message, so that each is held to what it is: the reader keeps the records before a damaged
	// one and reads a dump cut short but closed by F7 as fewer records, and a cut span holds nothing to read.
	using zentlib::Sysex;
	std::vector<zentlib::SinglePreset> singles;
	bool understood = false;
	for (Sysex::Span span = Sysex::findSpan(bytes, 0); span.length > 0;
	     span = Sysex::findSpan(bytes, span.start + span.length))
	{
		const uint8_t* message = bytes.data() + span.start;
		Sysex::SysexResult result;
		const bool read = span.whole && Sysex::readSysex(result, message, span.length, kAnyChannel);
		if (!span.whole || !mayStandInImport(message, span.length, read))
		{
			failure = "Failed to import Sysex data";
			return {};
		}
		understood = understood || read;
		singles.insert(singles.end(), result.singles.begin(), result.singles.end());
	}
	if (!understood)
		failure = "Failed to import Sysex data";
	else if (singles.empty())
		failure = "File didn't contain any singles";
	return understood ? singles : std::vector<zentlib::SinglePreset>{};
}
