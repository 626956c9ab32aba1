#include "HostCallQueue.h"

#include "IPluginListener.h"

namespace zentlib
{
HostCallQueue::Call& HostCallQueue::nextSlot()
{
	if (m_count == m_slots.size())
		m_slots.emplace_back();
	return m_slots[m_count++];
}

void HostCallQueue::addMidi(const SMidiEvent& event)
{
	Call& call = nextSlot();
	call.isMidi = true;
	// Copied into the slot's own vector, whose room is kept from earlier messages.
	call.midi.status = event.status;
	call.midi.data1 = event.data1;
	call.midi.data2 = event.data2;
	call.midi.sysex.assign(event.sysex.begin(), event.sysex.end());
	call.midi.sampleOffset = event.sampleOffset;
}

void HostCallQueue::addParameterChange(EParam parameter, float value)
{
	Call& call = nextSlot();
	call.isMidi = false;
	call.parameter = parameter;
	call.value = value;
}

void HostCallQueue::takeFrom(HostCallQueue& other)
{
	for (size_t i = 0; i < other.m_count; ++i)
	{
		const Call& call = other.m_slots[i];
		if (call.isMidi)
			addMidi(call.midi);
		else
			addParameterChange(call.parameter, call.value);
	}
	other.m_count = 0;
}

void HostCallQueue::deliver(IPluginListener& listener)
{
	// A call may reach the facade again and record calls of its own in another queue, never in this one.
	for (size_t i = 0; i < m_count; ++i)
	{
		const Call& call = m_slots[i];
		if (call.isMidi)
			listener.sendMidi(call.midi);
		else
			listener.onParameterChanged(call.parameter, call.value);
	}
	m_count = 0;
}
}
