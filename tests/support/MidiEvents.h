#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "synth/SMidiEvent.h"

inline zentlib::SMidiEvent midiEvent(uint8_t status, uint8_t data1, uint8_t data2, uint32_t offset = 0)
{
	zentlib::SMidiEvent event;
	event.status = status;
	event.data1 = data1;
	event.data2 = data2;
	event.sampleOffset = offset;
	return event;
}

inline zentlib::SMidiEvent sysexEvent(std::vector<uint8_t> bytes, uint32_t offset = 0)
{
	zentlib::SMidiEvent event;
	event.sysex = std::move(bytes);
	event.sampleOffset = offset;
	return event;
}
