#pragma once

#include <cstddef>
#include <vector>

#include "CParam.h"
#include "SMidiEvent.h"

namespace zentlib
{
class IPluginListener;

// The listener calls that reach the host (MIDI output and parameter reports), in the order the engine made them.
// The facade records them while it holds the engine lock and makes them once it has let go of it. An emptied
// slot keeps the room its message took, so a queue that has held as many messages before records without
// allocating: the render thread records its replies here.
class HostCallQueue
{
public:
	explicit HostCallQueue(size_t slots = 0) { m_slots.reserve(slots); }

	void addMidi(const SMidiEvent& event);
	void addParameterChange(EParam parameter, float value);
	bool empty() const { return m_count == 0; }
	// Appends the calls of other, which is left empty with its room.
	void takeFrom(HostCallQueue& other);
	// Makes every call in order, then empties the queue.
	void deliver(IPluginListener& listener);

private:
	struct Call
	{
		bool isMidi = false;
		EParam parameter = EParam(0);
		float value = 0;
		SMidiEvent midi;
	};
	Call& nextSlot();

	std::vector<Call> m_slots;
	size_t m_count = 0;
};
}
