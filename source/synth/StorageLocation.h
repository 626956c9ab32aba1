#pragma once

#include <cstdint>

namespace zentlib
{
// The four 32-single halves that SysEx messages address. Unscoped, so a location can be named as
// StorageLocation::ExternalHigh or just ExternalHigh and still travels as a plain 32-bit value.
enum StorageLocation : uint32_t
{
	InternalLow = 0,  // I: internal 0-31
	InternalHigh = 1, // i: internal 32-63
	ExternalLow = 2,  // E: external 0-31
	ExternalHigh = 3  // e: external 32-63
};
}
