#pragma once

#include <cstddef>
#include <cstdint>

#include "MultiPreset.h"
#include "SinglePreset.h"

// The hardware's fixed-size records inside dump messages: an 88-byte single and a 76-byte multi,
// each ending in a 7-bit checksum. The caller guarantees the record's bytes are there.
namespace zentlib
{
constexpr size_t SingleRecordSize = 88;
constexpr size_t MultiRecordSize = 76;
constexpr size_t NameLength = 10;

// (0xA5 + sum of the bytes) & 0x7F.
uint8_t getChecksum(const uint8_t* data, size_t length);

// Reads a blank-padded name field of len characters into dst (len + 1 characters), dropping
// trailing blanks. True when the name is not empty.
bool readName(char* dst, const uint8_t* src, size_t len);

// Writes src blank-padded into a field of len bytes. A longer src is cut to the field.
void writeName(uint8_t* dst, const char* src, size_t len);

bool readSingle(SinglePreset& out, const uint8_t* record);
bool readMulti(MultiPreset& out, const uint8_t* record);
bool writeSingle(uint8_t* record, const SinglePreset& in);
// Whether the record of in reads back as written: seven-bit bytes only, accepted by readSingle, and
// written again to the same bytes.
bool readsBack(const SinglePreset& in);
}
