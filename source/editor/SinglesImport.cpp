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
constexpr uint8_t kSysexEnd = 0xF7;

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

// How many records a dump of this instrument announces (F0 40 channel function 00 03 ...): one for a
// single dump, a block of 32 singles or multis for a block dump; 0 for any other message.
size_t announcedRecords(const std::vector<uint8_t>& message)
{
	if (message.size() < 6 || message[1] != 0x40 || message[4] != 0x00 || message[5] != 0x03)
		return 0;
	return message[3] == 0x20 ? 1 : message[3] == 0x21 ? 32 : 0;
}

bool isMultiBlock(const std::vector<uint8_t>& message)
{
	return message.size() > 7 && message[3] == 0x21 && message[7] == 0x40;
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
	// Message by message, as the reader splits a buffer, so that each dump can be held to what it announces:
	// the reader keeps the records before a damaged one, and a dump cut short but closed by F7 reads as
	// fewer records without a word.
	std::vector<zentlib::SinglePreset> singles;
	bool understood = false;
	for (auto start = std::find(bytes.begin(), bytes.end(), kSysexStart); start != bytes.end();
	     start = std::find(start, bytes.end(), kSysexStart))
	{
		const auto end = std::find(start + 1, bytes.end(), kSysexEnd);
		if (end == bytes.end())
			break;
		const std::vector<uint8_t> message(start, end + 1);
		start = end + 1;
		zentlib::Sysex::SysexResult result;
		const bool read = zentlib::Sysex::readBuffer(result, message, kAnyChannel);
		const size_t announced = announcedRecords(message);
		const size_t records = isMultiBlock(message) ? result.multis.size() : result.singles.size();
		if (announced > 0 && (!read || records != announced))
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
