#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/SinglePreset.h"

// The SysEx of a file: the SysEx events of a Standard MIDI File, or else the whole file when it starts a
// SysEx message. False when it holds neither; a file far larger than any collection of dumps is refused
// before it is read.
bool readFile(std::vector<uint8_t>& out, const std::string& path);

// The singles of every dump in the SysEx, whatever their channel and address, in their order. An import
// takes all of them or none: empty, with the message to show, when no message is understood, when any
// message is cut (by the next F0 or the end) or not well formed, when a message of this instrument is not
// whole or not read in full, or when there is no single. Other devices' whole messages are passed over.
std::vector<zentlib::SinglePreset> readDumpedSingles(const std::vector<uint8_t>& bytes, std::string& failure);
