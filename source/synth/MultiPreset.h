#pragma once

#include <cstdint>

namespace zentlib
{
// A combination record. The codec collects multis but nothing plays them, so their values are
// carried as decoded, not interpreted.
struct MultiPreset
{
	static constexpr int SectionCount = 8;
	static constexpr int ValuesPerSection = 12;

	char name[11] = {};
	uint32_t common = 0;
	int32_t sections[SectionCount][ValuesPerSection] = {};

	bool operator==(const MultiPreset&) const = default;
};
}
