#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A kind of file the host reads, with the most bytes a real file of that kind holds. The caps keep a wrong
// path (a device such as /dev/zero, a pipe, a disk image) from being read until memory runs out.
struct InputKind
{
	const char* what; // as the messages name it
	size_t maxBytes;
	const char* why; // what a real one holds, for the message that refuses a larger one
};

// A saved state of all 768 singles is about 95 KB as a property list.
inline constexpr InputKind kStateFile = {"state file", size_t(1) << 20, "no saved state comes near 1 MiB"};
// The instrument's whole store is 68 KB of SysEx; a librarian's bank files for any instrument stay far below this.
inline constexpr InputKind kSysExFile = {"SysEx file", size_t(4) << 20, "no SysEx bank comes near 4 MiB"};
// A script of editor actions is a few lines a person wrote.
inline constexpr InputKind kScriptFile = {"script", size_t(1) << 20, "no script of actions comes near 1 MiB"};
// Long orchestral files with every controller recorded reach a few megabytes.
inline constexpr InputKind kMidiFile = {"MIDI file", size_t(8) << 20, "no song's MIDI file comes near 8 MiB"};

// The whole file, read in bounded steps; throws HostError when it cannot be read or is larger than its kind allows.
std::vector<uint8_t> readInputFile(const std::string& path, const InputKind& kind);
