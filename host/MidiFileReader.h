#pragma once

#include "MidiSequence.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads a Standard MIDI File of format 0, 1 or 2 into the messages an instrument plays: channel messages and
// whole SysEx messages (split ones joined, escaped ones unpacked), timed by the file's tempo map. Format 2
// plays its patterns one after another. Damage that loses nothing audible is passed over; a track cut off
// plays up to the cut, with a warning. Anything that cannot be read throws HostError naming what and where;
// name is the file's name in those messages.
MidiSequence readStandardMidiFile(const std::vector<uint8_t>& bytes, const std::string& name);
