#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bank's multis. The instrument carries multis without playing them, so the generator lays
// them out itself as combinations of the bank's own singles: each of the eight sections is a
// part (receive channel, single number, key range, level, transpose, detune).
namespace banks
{
// The block dump of 32 multis for the singles named, in storage order (64 names).
std::vector<uint8_t> multiDump(const std::vector<std::string>& singleNames);
}
