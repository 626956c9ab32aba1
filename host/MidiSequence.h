#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Timed MIDI messages to play, from a Standard MIDI File or the built-in demo.
struct MidiSequence
{
	struct Event
	{
		double seconds;
		std::vector<uint8_t> bytes; // one whole message; SysEx from F0 to F7
	};
	std::vector<Event> events; // in time order
	double length = 0; // seconds up to the end of the last track (in a file) or the last event, whichever is later
	std::vector<std::string> warnings; // damage passed over while reading, one line each

	// Throws HostError when the file is missing, too large or not a readable Standard MIDI File.
	static MidiSequence fromFile(const std::string& path);
	// A short phrase on channel 1 in six sections, each on another of the instrument's sounds (bank select and
	// program change).
	static MidiSequence demo();
};

// Warns when the sequence selects programs of its own while a preset or parameters were chosen before playing: its
// first program change replaces them. `name` names the sequence.
void warnOfOwnPrograms(const MidiSequence& sequence, const std::string& name, bool presetChosen, bool parametersChosen);
// A time in a sequence, for messages ("1.5 s").
std::string timeText(double seconds);

struct SysExMessage
{
	size_t at; // where it begins in its file
	std::vector<uint8_t> bytes; // from F0 to F7
};
// The SysEx messages of a .syx file (bytes outside F0..F7 are skipped); a message without its F7 is left out with a
// line in warnings. Throws HostError when there are none.
std::vector<SysExMessage> readSysExFile(const std::string& path, std::vector<std::string>& warnings);
void writeSysExFile(const std::string& path, const std::vector<std::vector<uint8_t>>& messages);
